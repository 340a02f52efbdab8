// The schema: tables column by column, keys, references and lengths as the server enforces them.
#include "db/datamodule.h"
#include "testdb.h"
#include <QProcess>
#include <QTest>

using namespace db;
using testing_support::TempDatabase;

static void exec(TDataModule1& dm, const QString& sql)
{
    dm.IBSQL1.setSql(sql);
    dm.IBSQL1.execQuery();
    dm.IBTransaction1.commit();
}

static const char* kVehicle = "insert into VOZILA values (1, 'VW', 'Golf', 0, '1.4', 'WVW1', 'DA', null)";

class TstSchema : public QObject {
    Q_OBJECT
private slots:
    void tablesAndColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("VOZILA") << "VOZILA" << "IDVOZILA MARKA TIP BOJA MOTOR SASIJA AKTIVNO DETALJNO";
        QTest::newRow("BOJE") << "BOJE" << "BOJA NAZIV_BOJE";
        QTest::newRow("REGOZ") << "REGOZ" << "REGOZNAKA IDVOZILA VRIJEDI_OD VRIJEDI_DO STANJEKM DETALJNO";
        QTest::newRow("SERVISI") << "SERVISI" << "IDVOZILA DATUM OPIS TRAJANJE SERVISER TROSAK DATUM_SLJEDECEG SLJEDECIH_X_KM";
        QTest::newRow("OSIGURANJA") << "OSIGURANJA" << "IDOSIGURANJA IDVOZILA DATUM_OSIGURANJA VRIJEDI_DO OSIGURAVATELJ IZNOS NAPOMENA";
        QTest::newRow("CJENIK") << "CJENIK" << "IDCJENIKA DATUMCJENE IDVOZILA DO_DANA CIJENA CDW_POSTO NAPOMENA";
        QTest::newRow("KORISNICI") << "KORISNICI"
            << "IDKORISNIKA NAZIV_KORISNIKA MBR ZASTUPA_TVRTKU_DANE ADRESA ADRESA_PREBIVAL BR_0SOBNE OSOBNA_IZDANA_U "
               "BR_PUTOVNICE PUTOVNICA_IZDANA_U BR_VOZACKE VOZACKA_IZDANA_U E_MAIL TEL_FAX_MOB TVRTKA_ZAPOSLENJA "
               "ADRESA_TVRKE TEL_FAX_MOB_TVRTKE E_MAIL_TVRTKE WEB RABAT";
        QTest::newRow("UGOVORI") << "UGOVORI"
            << "IDUGOVORA BROJ_UGOVORA IDVOZILA IDKORISNIKA DATUM_UGOVORA IDCJENIKA CIJENA CDW KOL_DANA RABAT_POSTO "
               "RABAT_IZNOS PDV VALUTA NACIN_PLACANJA BR_AUT BR_CEKA NACIN_PL_ODOBRIO RABAT_ODOBRIO STARA_OSTECENJA "
               "NOVA_OSTECENJA OSTECENJA_IZNOS NAPLATIO_OSTECENJA NACIN_PLACANJA_OST VALUTA_OSTECENJA PRVA_POMOC_DN "
               "TROKUT_DN REZ_GUMA_DN ZARULJE_DN SLEP_UZE KM_POLAZAK KM_PLANIRANO KM_DOLAZAK IZNOS_ZAKASNINE RELACIJA "
               "SATI_OD SATI_DO IZNOS_POLOGA OBLIK_PLACANJA_POLOGA REZERVACIJA_IZNOS NAJAM_IZNOS UKUPNO_CDW "
               "DOSTAVA_IZNOS PRANJE_IZNOS KASNJENJE SVEUKUPNO DATUM_ZAVRSETKA GORIVO_IZNOS";
    }
    void tablesAndColumns()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        static TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        Statement s(&dm.DB, &dm.Read);
        s.setSql("select * from " + table);
        s.execQuery();
        QCOMPARE(s.columnNames().join(' '), columns);
        QCOMPARE(dm.DB.tableNames(), (QStringList{"BOJE", "CJENIK", "KORISNICI", "OSIGURANJA", "REGOZ", "SERVISI", "UGOVORI", "VOZILA"}));
    }

    void scriptRunsInIsql()
    {
        // the same script builds an empty database with the server's own tool
        TempDatabase holder;
        QString path = holder.dir() + "/isql.fdb";
        QProcess isql;
        isql.start("isql-fb", {"-q", "-u", "SYSDBA"});
        isql.write(QString("create database '%1' default character set WIN1250;\n").arg(path).toUtf8());
        isql.write(QString("input '%1';\n").arg(QStringLiteral(KAVOR_SOURCE_DIR "/db/schema.sql")).toUtf8());
        isql.write("show tables;\n");
        isql.closeWriteChannel();
        QVERIFY(isql.waitForFinished(60000));
        QString out = QString::fromUtf8(isql.readAllStandardOutput()) + QString::fromUtf8(isql.readAllStandardError());
        QVERIFY2(out.contains("UGOVORI") && out.contains("KORISNICI") && !out.contains("Statement failed"), qPrintable(out));
    }

    void registrationKeys()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        exec(dm, kVehicle);
        exec(dm, "insert into REGOZ values ('ZG1234AB', 1, '2025-01-01', '2025-12-31', 1000, null)");
        exec(dm, "insert into REGOZ values ('ZG1234AB', 1, '2026-01-01', '2026-12-31', 9000, null)");   // renewal
        QVERIFY_THROWS_EXCEPTION(DbError, exec(dm, "insert into REGOZ values ('ZG1234AB', 1, '2026-01-01', '2027-01-31', 1, null)"));
        dm.IBTransaction1.rollback();
        Statement s(&dm.DB, &dm.Read);
        s.setSql("select REGOZNAKA, char_length(REGOZNAKA) from REGOZ where REGOZNAKA = :R and VRIJEDI_OD = '2026-01-01'");
        s.setParam("R", "ZG1234AB");
        s.execQuery();
        QVERIFY(!s.eof());
        QCOMPARE(s.column(0).toString(), QString("ZG1234AB  "));
        QCOMPARE(s.column(1).toInt(), 10);
    }

    void servicesOfOneDay()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        exec(dm, kVehicle);
        exec(dm, "insert into SERVISI (IDVOZILA, DATUM, SERVISER, TROSAK) values (1, '2026-05-05', 'Auto Horvat', 100)");
        exec(dm, "insert into SERVISI (IDVOZILA, DATUM, SERVISER, TROSAK) values (1, '2026-05-05', 'Vulkanizer Ivo', 50)");
        QVERIFY_THROWS_EXCEPTION(DbError, exec(dm, "insert into SERVISI (IDVOZILA, DATUM, SERVISER, TROSAK) values (1, '2026-05-05', 'Auto Horvat', 1)"));
    }

    void referencedRowsCannotBeDeleted()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        exec(dm, kVehicle);
        exec(dm, "insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (1, 'Marko Marić', 'NE', 'Split')");
        exec(dm, "insert into UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA) values (1, '1/26', 1, 1, 'today')");
        try { exec(dm, "delete from VOZILA where IDVOZILA = 1"); QFAIL("deleted a rented vehicle"); }
        catch (const DbError& e) { QVERIFY2(e.message().contains("FK_UGOVORI_VOZILA"), qPrintable(e.message())); }
        dm.IBTransaction1.rollback();
        QVERIFY_THROWS_EXCEPTION(DbError, exec(dm, "delete from KORISNICI where IDKORISNIKA = 1"));
        dm.IBTransaction1.rollback();
        exec(dm, "delete from UGOVORI");
        exec(dm, "delete from VOZILA where IDVOZILA = 1");   // free now
    }

    void overlongTextIsRefusedNotCut()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        dm.IBSQL1.setSql("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (1, :N, 'NE', 'Zadar')");
        dm.IBSQL1.setParam("N", QString(71, QChar(0x0161)));   // 71 × 'š'
        try { dm.IBSQL1.execQuery(); QFAIL("a 71-character name was accepted"); }
        catch (const DbError& e) { QVERIFY2(e.message().contains("truncat", Qt::CaseInsensitive), qPrintable(e.message())); }
        dm.IBTransaction1.rollback();
        dm.IBSQL1.setParam("N", QString(70, QChar(0x0161)));
        dm.IBSQL1.execQuery();
        dm.IBTransaction1.commit();
        QCOMPARE(queryValue(&dm.DB, &dm.Read, "select char_length(NAZIV_KORISNIKA) from KORISNICI").toInt(), 70);
    }

    void idsFromTheSharedVehicleSequence()
    {
        // a vehicle, then a price row, then a vehicle: the vehicle ids differ by 2
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        auto draw = [&] { return queryValue(&dm.DB, &dm.Read, "SELECT GEN_ID(GEN_VOZILA_ID , 1) FROM RDB$DATABASE").toInt(); };
        int v1 = int(draw());
        draw();
        int v2 = int(draw());
        QCOMPARE(v2 - v1, 2);
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
