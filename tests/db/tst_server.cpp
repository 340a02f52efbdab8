// Several workstations on one database of a Firebird server: host:path names, logins,
// read-committed visibility and lock conflicts without waiting.
#include "db/datamodule.h"
#include "testdb.h"
#include <QProcess>
#include <QTest>
#include <QUuid>

using namespace db;
using namespace testing_support;

class TstServer : public QObject {
    Q_OBJECT
    ServerInfo server;
    QString path;   // as the server sees it

    ConnectionFields fields(const QString& password) const
    {
        return {server.host, path, false, false, server.user, password};
    }
    void connect(TDataModule1& dm) const
    {
        applyTarget(dm.DB, connectionTarget(fields(server.password)));
        dm.DB.open();
    }

private slots:
    void initTestCase()
    {
        server = testServer();
        // the server group must run wherever the test suite runs
        if (!server.available()) QFAIL("KAVOR_TEST_PASSWORD is not set: no Firebird server for the server group");
        path = serverScratchDir() + "/" + QUuid::createUuid().toString(QUuid::WithoutBraces) + ".fdb";
        QProcess tool;
        tool.start(QStringLiteral(KAVOR_BUILD_DIR "/kavor-db"),
                   {"create", server.host + ":" + path, server.user, server.password});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }

    void cleanupTestCase()
    {
        if (!path.isEmpty()) QFile::remove(path);
    }

    void wrongPasswordIsRefused()
    {
        Connection c;
        applyTarget(c, connectionTarget(fields("pogresna")));
        QVERIFY_THROWS_EXCEPTION(DbError, c.open());
        QVERIFY(!c.isOpen());
    }

    void anotherWorkstationsCommitIsSeenOnReopen()
    {
        TDataModule1 a, b;
        connect(a);
        connect(b);
        Dataset list(&b.DB, &b.Read);
        list.setSql("select * from BOJE where NAZIV_BOJE = 'Bež'");
        list.open();
        QCOMPARE(list.recordCount(), 0);
        a.IBSQL1.setSql("insert into BOJE values (111, 'Bež')");
        a.IBSQL1.execQuery();
        list.close();
        list.open();
        QCOMPARE(list.recordCount(), 0);   // not committed yet
        a.IBTransaction1.commit();
        list.close();
        list.open();
        QCOMPARE(list.recordCount(), 1);   // read committed: seen at the next opening
        QCOMPARE(list.value("NAZIV_BOJE").toString(), QString("Bež"));
    }

    void conflictingWriteFailsAtOnce()
    {
        TDataModule1 a, b;
        connect(a);
        connect(b);
        a.IBSQL1.setSql("insert into BOJE values (222, 'Siva')");
        a.IBSQL1.execQuery();
        a.IBTransaction1.commit();
        a.IBSQL1.setSql("update BOJE set NAZIV_BOJE = 'Svijetlosiva' where BOJA = 222");
        a.IBSQL1.execQuery();   // uncommitted
        QElapsedTimer timer;
        timer.start();
        b.IBSQL1.setSql("update BOJE set NAZIV_BOJE = 'Tamnosiva' where BOJA = 222");
        try { b.IBSQL1.execQuery(); QFAIL("the second writer was not refused"); }
        catch (const DbError& e) { QVERIFY2(e.isLockConflict(), qPrintable(e.message())); }
        QVERIFY(timer.elapsed() < 5000);   // no waiting
        QVERIFY(b.IBTransaction1.isActive());
        a.IBTransaction1.commit();
        b.IBTransaction1.commit();
        QCOMPARE(queryValue(&b.DB, &b.Read, "select NAZIV_BOJE from BOJE where BOJA = 222").toString(), QString("Svijetlosiva"));
    }

    void generatorsGiveDistinctIdsToEveryWorkstation()
    {
        TDataModule1 a, b;
        connect(a);
        connect(b);
        const QString sql = "SELECT GEN_ID(GEN_KORISNICI_ID , 1) FROM RDB$DATABASE";
        Transaction ta(&a.DB), tb(&b.DB);
        ta.start();   // an open transaction on the other side does not hold a draw back
        int first = int(queryValue(&a.DB, &ta, sql).toInt());
        int second = int(queryValue(&b.DB, &tb, sql).toInt());
        QCOMPARE(second, first + 1);
    }
};

QTEST_GUILESS_MAIN(TstServer)
#include "tst_server.moc"
