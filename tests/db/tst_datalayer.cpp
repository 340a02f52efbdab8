// The connection rules, statements with named parameters, the transactions of the data
// module and text in Windows-1250, on fresh embedded databases.
#include "db/datamodule.h"
#include "db/cp1250.h"
#include "testdb.h"
#include <QProcess>
#include <QTest>

using namespace db;
using testing_support::TempDatabase;

static int count(Connection& c, const QString& sql)
{
    Transaction t(&c);
    return int(queryValue(&c, &t, sql).toInt());
}

class TstDataLayer : public QObject {
    Q_OBJECT
private slots:
    void connectionRules_data()
    {
        QTest::addColumn<bool>("local");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("params");
        const QStringList withUser{"lc_ctype=NONE", "user_name=SYSDBA", "password=tajna"};
        QTest::newRow("local ignores the server") << true << "srv" << false << "/d/K.FDB" << withUser;
        QTest::newRow("server and path") << false << "srv" << false << "srv:/d/K.FDB" << withUser;
        QTest::newRow("empty server") << false << "" << false << ":/d/K.FDB" << withUser;
        QTest::newRow("prompt sends no login") << false << "10.0.0.5" << true << "10.0.0.5:/d/K.FDB"
                                               << QStringList{"lc_ctype=NONE"};
    }
    void connectionRules()
    {
        QFETCH(bool, local);
        QFETCH(QString, server);
        QFETCH(bool, prompt);
        QFETCH(QString, name);
        QFETCH(QStringList, params);
        ConnectionTarget t = connectionTarget({server, "/d/K.FDB", local, prompt, "SYSDBA", "tajna"});
        QCOMPARE(t.databaseName, name);
        QCOMPARE(t.params, params);
        QCOMPARE(t.loginPrompt, prompt);
        Connection c;
        c.params() << "stale=1";
        applyTarget(c, t);
        QCOMPARE(c.params(), params);   // the list is cleared first
    }

    void loginPromptCancelledIsAFailure()
    {
        TempDatabase d;
        Connection c;
        applyTarget(c, connectionTarget({"", d.path(), true, true, "", ""}));
        QString askedFor;
        c.setLoginHandler([&](const QString& dbName, QString&, QString&) { askedFor = dbName; return false; });
        QVERIFY_THROWS_EXCEPTION(DbError, c.open());
        QCOMPARE(askedFor, d.path());
        QVERIFY(!c.isOpen());
        c.setLoginHandler([](const QString&, QString& u, QString& p) { u = "SYSDBA"; p = "x"; return true; });
        c.open();
        QVERIFY(c.isOpen());
    }

    void missingDatabaseFails()
    {
        Connection c;
        applyTarget(c, connectionTarget({"", "/nonexistent/KAVOR.FDB", true, false, "SYSDBA", ""}));
        try { c.open(); QFAIL("opened a missing file"); }
        catch (const DbError& e) { QVERIFY(!e.message().isEmpty()); }
        QVERIFY(!c.isOpen());
    }

    void parameterParsing()
    {
        ParsedSql p = parseParameters("select ':X' , \":Y\" from T -- :Z\nwhere a=:A and b=:b and c=:a /* :W */");
        QCOMPARE(p.names, (QStringList{"A", "b"}));
        QCOMPARE(p.positions, (std::vector<int>{0, 1, 0}));
        QVERIFY(p.sql.contains("':X'"));
        QVERIFY(p.sql.contains("-- :Z"));
        QVERIFY(p.sql.contains("a=? and b=? and c=?"));
    }

    void repeatedNameTakesOneValueAndValuesStay()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        Statement& s = dm.IBSQL1;
        dm.IBTransaction1.start();
        s.sql() << "insert into BOJE (BOJA, NAZIV_BOJE)" << "values (:BOJA, :NAZIV)";
        s.setParam("BOJA", 255);
        s.setParam(1, "Crvena");
        s.execQuery();
        QCOMPARE(s.rowsAffected(), 1);
        s.clearSql();
        s.sql() << "update BOJE set BOJA= :BOJA, NAZIV_BOJE= :NAZIV" << "where BOJA=:BOJA";
        s.setParam("boja", 255);            // names are not case-sensitive
        s.setParam("NAZIV", "Tamnocrvena");
        s.execQuery();
        QCOMPARE(s.rowsAffected(), 1);       // the WHERE saw the same value as the SET
        s.close();
        dm.IBTransaction1.commit();
        QCOMPARE(s.paramCount(), 2);
        QCOMPARE(s.param("NAZIV").toString(), QString("Tamnocrvena"));   // readable after execution
        QCOMPARE(s.param(0).toInt(), 255);
        QCOMPARE(count(dm.DB, "select count(*) from BOJE where NAZIV_BOJE='Tamnocrvena'"), 1);
    }

    void columnNamesInResultOrder()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        Statement s(&dm.DB, &dm.Read);
        s.setSql("SELECT * FROM KORISNICI WHERE IDKORISNIKA=:ID");
        s.setParam(0, -1);
        s.execQuery();
        QVERIFY(s.eof());
        QStringList names = s.columnNames();
        QCOMPARE(names.size(), 20);
        QCOMPARE(names.first(), QString("IDKORISNIKA"));
        QCOMPARE(names[6], QString("BR_0SOBNE"));
        QCOMPARE(names.last(), QString("RABAT"));
        QVERIFY(s.field("NAZIV_KORISNIKA").isNull());   // no row: every column reads empty
        QVERIFY_THROWS_EXCEPTION(DbError, s.field("NEMA"));
    }

    void commitClosesRetainingKeeps()
    {
        TempDatabase d;
        d.exec({"insert into BOJE values (1, 'Bijela')", "insert into BOJE values (2, 'Crna')"});
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.setSql("select * from BOJE order by BOJA");
        q.open();
        QCOMPARE(q.recordCount(), 2);
        dm.Read.commitRetaining();
        QVERIFY(q.isActive());
        QVERIFY(dm.Read.isActive());
        dm.Read.commit();
        QVERIFY(!q.isActive());
        QVERIFY(!dm.Read.isActive());
    }

    void generatorDraws()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        auto draw = [&](const char* gen) {
            Statement s(&dm.DB, &dm.Read);
            s.setSql(QString("SELECT GEN_ID(%1 , 1) FROM RDB$DATABASE").arg(gen));
            s.execQuery();
            int v = s.column(0).toInt32();
            s.close();
            return v;
        };
        QCOMPARE(draw("GEN_KORISNICI_ID"), 1);
        QCOMPARE(draw("GEN_KORISNICI_ID"), 2);
        QCOMPARE(draw("GEN_VOZILA_ID"), 1);
        dm.Read.rollback();   // a generator is not transactional: the draws stay used
        QCOMPARE(draw("GEN_KORISNICI_ID"), 3);
    }

    void closingEndsTransactionsByTheirDefault()
    {
        TempDatabase d;
        {
            TDataModule1 dm;
            d.connect(dm);
            Dataset q(&dm.DB, &dm.IBTransaction3);
            q.setSql("select * from BOJE");
            q.open();
            dm.IBSQL1.setSql("insert into BOJE values (10, 'Kroz prvu')");
            dm.IBSQL1.execQuery();
            dm.IBSQL2.setSql("insert into BOJE values (20, 'Kroz drugu')");
            dm.IBSQL2.execQuery();
            Statement s3(&dm.DB, &dm.IBTransaction3);
            s3.setSql("insert into BOJE values (30, 'Kroz treću')");
            s3.execQuery();
            Statement s4(&dm.DB, &dm.Read);
            s4.setSql("insert into BOJE values (40, 'Kroz Read')");
            s4.execQuery();
            dm.DB.close();
            QVERIFY(!q.isActive());
            QVERIFY(!dm.IBTransaction1.isActive() && !dm.IBTransaction2.isActive());
        }
        Connection c;
        d.connect(c);
        QCOMPARE(count(c, "select count(*) from BOJE where BOJA in (10, 30, 40)"), 3);
        QCOMPARE(count(c, "select count(*) from BOJE where BOJA = 20"), 0);   // rolled back
    }

    void failedStatementLeavesTransactionActive()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        dm.IBSQL1.setSql("insert into BOJE values (1, 'Prva')");
        dm.IBSQL1.execQuery();
        dm.IBSQL1.setSql("insert into BOJE values (1, 'Dvojnik')");
        try { dm.IBSQL1.execQuery(); QFAIL("duplicate accepted"); }
        catch (const DbError& e) {
            QVERIFY2(e.message().contains("PK_BOJE") || e.message().contains("violation"), qPrintable(e.message()));
            QVERIFY(!e.sqlState().isEmpty());
            QVERIFY(!e.isLockConflict());
        }
        QVERIFY(dm.IBTransaction1.isActive());
        dm.IBSQL1.setSql("insert into BOJE values (2, 'Druga')");
        dm.IBSQL1.execQuery();
        dm.IBTransaction1.commit();
        Connection c;
        d.connect(c);
        QCOMPARE(count(c, "select count(*) from BOJE"), 2);   // the first and the last, in one commit
    }

    void windowsMayOutliveTheDataModule()
    {
        // windows are destroyed after the data module at the end of a run
        TempDatabase d;
        d.exec({"insert into BOJE values (1, 'Bijela')"});
        auto dm = std::make_unique<TDataModule1>();
        d.connect(*dm);
        Dataset list(&dm->DB, &dm->Read);
        Statement single(&dm->DB, &dm->IBTransaction1);
        list.setSql("select * from BOJE");
        list.open();
        single.setSql("select count(*) from BOJE");
        single.execQuery();
        dm.reset();
        QVERIFY(!list.isActive());
        QVERIFY(single.transaction() == nullptr && single.connection() == nullptr);
    }

    void statementOnClosedConnectionFails()
    {
        TDataModule1 dm;
        dm.IBSQL1.setSql("select count(*) from BOJE");
        QVERIFY_THROWS_EXCEPTION(DbError, dm.IBSQL1.execQuery());
    }

    void croatianLettersRoundTrip()
    {
        TempDatabase d;
        const QString letters = QString::fromUtf8("čćđšžČĆĐŠŽ");
        TDataModule1 dm;
        d.connect(dm);
        dm.IBSQL1.setSql("insert into BOJE values (:B, :N)");
        dm.IBSQL1.setParam("B", 7);
        dm.IBSQL1.setParam("N", letters);
        dm.IBSQL1.execQuery();
        dm.IBTransaction1.commit();
        // the bytes stored are Windows-1250
        Statement s(&dm.DB, &dm.Read);
        s.setSql("select NAZIV_BOJE, octet_length(NAZIV_BOJE) from BOJE where NAZIV_BOJE = :N");
        s.setParam("N", letters);
        s.execQuery();
        QVERIFY(!s.eof());
        QCOMPARE(s.column(0).toString(), letters);
        QCOMPARE(s.column(1).toInt(), 10);
        s.close();
        dm.DB.close();
        QCOMPARE(toCp1250(letters), QByteArray("\xE8\xE6\xF0\x9A\x9E\xC8\xC6\xD0\x8A\x8E"));
        // another tool reading as UTF-8 sees the same letters (the database says WIN1250)
        QProcess isql;
        isql.start("isql-fb", {"-q", "-ch", "UTF8", "-u", "SYSDBA", d.path()});
        isql.write("select NAZIV_BOJE from BOJE where BOJA = 7;\n");
        isql.closeWriteChannel();
        QVERIFY(isql.waitForFinished(30000));
        QVERIFY2(QString::fromUtf8(isql.readAllStandardOutput()).contains(letters), "isql-fb did not show the letters");
    }

    void exactDecimalsThroughTheServer()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        dm.IBSQL1.setSql("insert into CJENIK (IDCJENIKA, DATUMCJENE, IDVOZILA, DO_DANA, CIJENA, CDW_POSTO) "
                         "values (1, '2026-01-01', 1, 3, :C, :P)");
        dm.IBSQL1.setParam("C", *Decimal::parse("35.8350"));   // halves to even: 35.84
        dm.IBSQL1.setParam("P", *Decimal::parse("12.345"));    // 12.34
        // no vehicle 1 yet: the foreign key refuses it; add it and retry
        QVERIFY_THROWS_EXCEPTION(DbError, dm.IBSQL1.execQuery());
        dm.IBTransaction1.rollback();
        d.exec({"insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) "
                "values (1, 'Škoda', 'Fabia', 0, '1.0', 'TMB1', 'DA')"});
        dm.IBSQL1.execQuery();
        dm.IBTransaction1.commit();
        Statement s(&dm.DB, &dm.Read);
        s.setSql("select CIJENA, CDW_POSTO, CIJENA * 3 from CJENIK");
        s.execQuery();
        QCOMPARE(s.column(0).toDecimal().toString(), QString("35.8400"));
        QCOMPARE(s.column(1).toDecimal().toString(), QString("12.3400"));
        QCOMPARE(s.column(2).toDecimal().toString(), QString("107.5200"));
        QCOMPARE(s.column(0).kind(), Value::Kind::Decimal);
    }
};

QTEST_GUILESS_MAIN(TstDataLayer)
#include "tst_datalayer.moc"
