// `kavor-db demo` builds a database a new user can try at once: a fleet with registrations
// and prices, customers, and contracts that follow the free-vehicle rule and add up.
#include "db/datamodule.h"
#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TstDemo : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    db::TDataModule1 dm_;

    db::Value one(const QString& sql)
    {
        return db::queryValue(&dm_.DB, &dm_.IBTransaction1, sql);
    }

private slots:
    void initTestCase()
    {
        const QString path = dir_.filePath(QStringLiteral("DEMO.FDB"));
        QProcess tool;
        tool.start(QStringLiteral(KAVOR_BUILD_DIR "/kavor-db"), {QStringLiteral("demo"), path});
        QVERIFY(tool.waitForFinished(120000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        db::applyTarget(dm_.DB, db::connectionTarget({QString(), path, true, false, QStringLiteral("SYSDBA"), QString()}));
        dm_.DB.open();
    }

    void counts_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("least");
        QTest::addColumn<int>("most");
        QTest::newRow("vehicles") << "select count(*) from VOZILA" << 15 << 20;
        QTest::newRow("named colours of the vehicles")
            << "select count(*) from VOZILA v where not exists (select 1 from BOJE b where b.BOJA = v.BOJA)" << 0 << 0;
        QTest::newRow("customers") << "select count(*) from KORISNICI" << 40 << 40;
        QTest::newRow("company representatives") << "select count(*) from KORISNICI where ZASTUPA_TVRTKU_DANE = 'DA'" << 1 << 20;
        QTest::newRow("standing discounts") << "select count(*) from KORISNICI where RABAT > 0" << 1 << 20;
        QTest::newRow("contracts") << "select count(*) from UGOVORI" << 170 << 230;
        QTest::newRow("open contracts") << "select count(*) from UGOVORI where DATUM_ZAVRSETKA is null" << 3 << 18;
        QTest::newRow("late fees") << "select count(*) from UGOVORI where IZNOS_ZAKASNINE > 0" << 5 << 60;
        QTest::newRow("damage") << "select count(*) from UGOVORI where OSTECENJA_IZNOS > 0" << 3 << 40;
        QTest::newRow("contracts of the last six months")
            << "select count(*) from UGOVORI where DATUM_UGOVORA < current_date - 190" << 0 << 0;
        QTest::newRow("price bands of every vehicle")
            << "select count(*) from VOZILA v where (select count(distinct DO_DANA) from CJENIK c "
               "where c.IDVOZILA = v.IDVOZILA and c.DO_DANA in (2, 6, 13, 20, 29, 999)) <> 6" << 0 << 0;
        QTest::newRow("registered today")
            << "select count(*) from VOZILA v where exists (select 1 from REGOZ r where r.IDVOZILA = v.IDVOZILA "
               "and current_date between r.VRIJEDI_OD and r.VRIJEDI_DO)" << 14 << 19;
        QTest::newRow("registration expiring within a month")
            << "select count(*) from VOZILA v where (select max(VRIJEDI_DO) from REGOZ r where r.IDVOZILA = v.IDVOZILA) "
               "between current_date and current_date + 31" << 1 << 5;
        QTest::newRow("registration expired")
            << "select count(*) from VOZILA v where (select max(VRIJEDI_DO) from REGOZ r where r.IDVOZILA = v.IDVOZILA) "
               "< current_date" << 1 << 1;
        QTest::newRow("services") << "select count(*) from SERVISI" << 15 << 100;
        QTest::newRow("insurances") << "select count(*) from OSIGURANJA" << 15 << 100;
        // the free-vehicle rule: no two contracts of a vehicle overlap, an open one is its last
        QTest::newRow("overlapping rentals")
            << "select count(*) from UGOVORI a join UGOVORI b on a.IDVOZILA = b.IDVOZILA and a.IDUGOVORA < b.IDUGOVORA "
               "where a.DATUM_UGOVORA <= coalesce(b.DATUM_ZAVRSETKA, date '3000-01-01') "
               "and b.DATUM_UGOVORA <= coalesce(a.DATUM_ZAVRSETKA, date '3000-01-01')" << 0 << 0;
        QTest::newRow("rental without a registration")
            << "select count(*) from UGOVORI u where not exists (select 1 from REGOZ r where r.IDVOZILA = u.IDVOZILA "
               "and u.DATUM_UGOVORA between r.VRIJEDI_OD and r.VRIJEDI_DO)" << 0 << 0;
        // priced: the stored two-digit amounts add up to the cent
        QTest::newRow("totals that do not add up")
            << "select count(*) from UGOVORI where abs(SVEUKUPNO - (NAJAM_IZNOS + UKUPNO_CDW + REZERVACIJA_IZNOS + "
               "DOSTAVA_IZNOS + KASNJENJE + GORIVO_IZNOS + PRANJE_IZNOS + OSTECENJA_IZNOS)) > 0.02" << 0 << 0;
        QTest::newRow("contracts without a price")
            << "select count(*) from UGOVORI where IDCJENIKA is null or CIJENA < 1" << 0 << 0;
        QTest::newRow("price not of the vehicle's price list")
            << "select count(*) from UGOVORI u join CJENIK c on c.IDCJENIKA = u.IDCJENIKA "
               "where c.IDVOZILA <> u.IDVOZILA or c.CIJENA <> u.CIJENA or c.DO_DANA < u.KOL_DANA "
               "or c.DATUMCJENE > u.DATUM_UGOVORA" << 0 << 0;
    }

    void counts()
    {
        QFETCH(QString, sql);
        QFETCH(int, least);
        QFETCH(int, most);
        const int n = one(sql).toInt32();
        QVERIFY2(n >= least && n <= most, qPrintable(QStringLiteral("%1 not in %2..%3").arg(n).arg(least).arg(most)));
    }

    void croatianText()
    {
        QCOMPARE(one(QStringLiteral("select count(*) from KORISNICI where NAZIV_KORISNIKA = 'Ana Kovačević'")).toInt(), 1);
        QCOMPARE(one(QStringLiteral("select NAZIV_BOJE from BOJE where BOJA = 250 + 256 * 210")).toString(), QStringLiteral("Žuta"));
        // stored as Windows-1250 bytes: č is 0xE8
        QCOMPARE(one(QStringLiteral("select ascii_val(substring(NAZIV_KORISNIKA from 9 for 1)) from KORISNICI "
                                    "where NAZIV_KORISNIKA starting with 'Ana Kova'")).toInt(), 0xE8);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    TstDemo t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_demo.moc"
