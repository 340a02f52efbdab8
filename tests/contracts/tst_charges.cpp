// The contract charge rules on a real contract row over an embedded database: the
// arithmetic, the late fee, the price bands, the free-vehicle rule, the change bindings and
// how a stored contract keeps its price.
#include "contracts/charges.h"
#include "framework/dialogs.h"
#include "testdb.h"
#include <QCoreApplication>
#include <QLocale>
#include <QtTest>
#include <memory>

using contracts::ContractCharges;
using contracts::LateFeeResult;
using db::Decimal;
using db::Value;
using testing_support::TempDatabase;

namespace {

Decimal dec(const char* text) { return *Decimal::parse(QString::fromLatin1(text)); }

QString sqlDate(const QDate& d) { return QLatin1Char('\'') + d.toString(Qt::ISODate) + QLatin1Char('\''); }

QString vehicle(int id, const QString& marka, const QString& tip, const char* aktivno = "DA")
{
    return QStringLiteral("insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) "
                          "values (%1, '%2', '%3', 255, '1.2', 'VIN%1', '%4')")
        .arg(id).arg(marka, tip, QLatin1String(aktivno));
}

QString reg(int id, const QString& plate, QDate from, QDate to)
{
    return QStringLiteral("insert into REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) "
                          "values ('%1', %2, %3, %4, 1000)")
        .arg(plate).arg(id).arg(sqlDate(from), sqlDate(to));
}

QString price(int idc, QDate date, int idv, int doDana, const char* cijena, const char* cdw)
{
    return QStringLiteral("insert into CJENIK (IDCJENIKA, DATUMCJENE, IDVOZILA, DO_DANA, CIJENA, CDW_POSTO) "
                          "values (%1, %2, %3, %4, %5, %6)")
        .arg(idc).arg(sqlDate(date)).arg(idv).arg(doDana).arg(QLatin1String(cijena), QLatin1String(cdw));
}

QString contract(int idu, int idv, QDate date, QDate returned)
{
    return QStringLiteral("insert into UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA, "
                          "DATUM_ZAVRSETKA) values (%1, '%1', %2, 1, %3, %4)")
        .arg(idu).arg(idv).arg(sqlDate(date), returned.isValid() ? sqlDate(returned) : QStringLiteral("null"));
}

const QString kCustomer = QStringLiteral(
    "insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) "
    "values (1, 'Ivana Kovačić', 'NE', 'Ilica 1')");

const QDate kContractDate(2024, 5, 10);

// A fresh database with the given rows, the data module on it and a contract row with its
// charges attached.
struct Fixture {
    TempDatabase file;
    db::TDataModule1 dm;
    db::Dataset row{&dm.DB, &dm.IBTransaction2};
    std::unique_ptr<ContractCharges> charges;

    explicit Fixture(const QStringList& rows)
    {
        file.exec(QStringList{kCustomer} + rows);
        file.connect(dm);
        contracts::prepareContractRow(row);
        charges = std::make_unique<ContractCharges>(row, dm);
        charges->attach();
    }
    ~Fixture() { charges.reset(); }

    void newContract(const QDate& date = kContractDate)
    {
        row.close();
        row.setParam(QStringLiteral("IDUGOVORA"), Value(-1));
        row.open();
        row.append();
        charges->newContractDefaults(date);
    }
    Decimal amount(const char* name) { return row.field(QLatin1String(name)).asDecimal(); }
    void set(const char* name, const Value& v) { row.field(QLatin1String(name)).setValue(v); }
};

// The relations that hold in every row after any change.
void checkConsistent(Fixture& f)
{
    const Decimal services = f.amount("REZERVACIJA_IZNOS") + f.amount("DOSTAVA_IZNOS") + f.amount("KASNJENJE") +
                             f.amount("GORIVO_IZNOS") + f.amount("PRANJE_IZNOS") + f.amount("OSTECENJA_IZNOS");
    QCOMPARE(f.amount("KASNJENJE"), f.amount("IZNOS_ZAKASNINE"));
    QCOMPARE(f.amount("OSTALE_USLUGE"), services);
    const int64_t days = f.row.field(QStringLiteral("KOL_DANA")).asInt();
    QCOMPARE(f.amount("UKUPNO1"), (f.amount("CIJENA") + f.amount("CDW")) * days);
    QCOMPARE(f.amount("RABAT_IZNOS"), Decimal::fromUnits(db::roundHalfEven(
                                          __int128(f.amount("UKUPNO1").units()) * f.amount("RABAT_POSTO").units(),
                                          __int128(Decimal::One) * 100)));
    QCOMPARE(f.amount("UKUPNO2"), f.amount("UKUPNO1") - f.amount("RABAT_IZNOS"));
    QCOMPARE(f.amount("UKUPNO3"), f.amount("UKUPNO2") + services);
    QCOMPARE(f.amount("PDV"), f.amount("UKUPNO3") * dec("0.22"));
    QCOMPARE(f.amount("SVEUKUPNO"), f.amount("UKUPNO3") + f.amount("PDV"));
    QCOMPARE(f.amount("UKUPNO_CDW"), f.amount("CDW") * days);
    QCOMPARE(services + f.amount("NAJAM_IZNOS") + f.amount("UKUPNO_CDW"), f.amount("SVEUKUPNO"));
}

QStringList standardFleet()
{
    return {vehicle(1, QStringLiteral("Opel"), QStringLiteral("Corsa")),
            vehicle(2, QStringLiteral("Škoda"), QStringLiteral("Fabia")),
            reg(1, QStringLiteral("ZG 1234-AB"), QDate(2024, 1, 1), QDate(2024, 12, 31)),
            reg(2, QStringLiteral("ŠI 222-BB"), QDate(2024, 1, 1), QDate(2024, 12, 31))};
}

} // namespace

class TstCharges : public QObject {
    Q_OBJECT
    fw::ScriptedDialogs dialogs_;

private slots:
    void init() { dialogs_.clear(); fw::installDialogs(&dialogs_); }
    void cleanup() { fw::installDialogs(nullptr); }

    void arithmetic_data();
    void arithmetic();
    void lateFee_data();
    void lateFee();
    void lateFeeMissingMoment_data();
    void lateFeeMissingMoment();
    void priceBands_data();
    void priceBands();
    void priceCheckRounding_data();
    void priceCheckRounding();
    void freeVehicles_data();
    void freeVehicles();
    void noVehicleWarning_data();
    void noVehicleWarning();
    void bindings_data();
    void bindings();
    void storedContractKeepsItsPrice_data();
    void storedContractKeepsItsPrice();
};

// ------------------------------------------------------------------ arithmetic

void TstCharges::arithmetic_data()
{
    QTest::addColumn<QString>("cijena");
    QTest::addColumn<QString>("cdwPosto");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("rabatPosto");
    QTest::addColumn<QStringList>("services");   // REZERVACIJA, DOSTAVA, PRANJE, GORIVO, OSTECENJA
    // CDW, UKUPNO1, RABAT_IZNOS, UKUPNO2, OSTALE_USLUGE, UKUPNO3, PDV, SVEUKUPNO, UKUPNO_CDW, NAJAM_IZNOS
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("delivery and discount") << "50.00" << "10.00" << 3 << "5.00" << QStringList{"0", "20", "0", "0", "0"}
        << QStringList{"5", "165", "8.25", "156.75", "20", "176.75", "38.885", "215.635", "15", "180.635"};
    QTest::newRow("discount half to even") << "45.50" << "12.50" << 7 << "10.00" << QStringList{"0", "0", "0", "0", "0"}
        << QStringList{"5.6875", "358.3125", "35.8312", "322.4813", "0", "322.4813", "70.9459", "393.4272", "39.8125", "353.6147"};
    QTest::newRow("no discount") << "50.00" << "10.00" << 3 << "0" << QStringList{"0", "0", "0", "0", "0"}
        << QStringList{"5", "165", "0", "165", "0", "165", "36.3", "201.3", "15", "186.3"};
    QTest::newRow("zero days") << "50.00" << "10.00" << 0 << "5.00" << QStringList{"0", "0", "0", "0", "0"}
        << QStringList{"5", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
    QTest::newRow("every service") << "50.00" << "10.00" << 2 << "0" << QStringList{"10", "5", "7.50", "30.25", "100"}
        << QStringList{"5", "110", "0", "110", "152.75", "262.75", "57.805", "320.555", "10", "157.805"};
    QTest::newRow("no CDW, odd cents") << "33.33" << "0" << 3 << "3.00" << QStringList{"0", "0", "0", "0", "0"}
        << QStringList{"0", "99.99", "2.9997", "96.9903", "0", "96.9903", "21.3379", "118.3282", "0", "118.3282"};
}

void TstCharges::arithmetic()
{
    QFETCH(QString, cijena);
    QFETCH(QString, cdwPosto);
    QFETCH(int, days);
    QFETCH(QString, rabatPosto);
    QFETCH(QStringList, services);
    QFETCH(QStringList, expected);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, cijena.toLatin1(), cdwPosto.toLatin1()));
    f.newContract();
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(days));
    f.set("RABAT_POSTO", Value(*Decimal::parse(rabatPosto)));
    const char* serviceColumns[] = {"REZERVACIJA_IZNOS", "DOSTAVA_IZNOS", "PRANJE_IZNOS", "GORIVO_IZNOS", "OSTECENJA_IZNOS"};
    for (int i = 0; i < 5; ++i) f.set(serviceColumns[i], Value(*Decimal::parse(services[i])));

    QCOMPARE(f.amount("CIJENA"), *Decimal::parse(cijena));
    QCOMPARE(f.row.field(QStringLiteral("IDCJENIKA")).asInt(), 101);
    const char* columns[] = {"CDW", "UKUPNO1", "RABAT_IZNOS", "UKUPNO2", "OSTALE_USLUGE", "UKUPNO3", "PDV",
                             "SVEUKUPNO", "UKUPNO_CDW", "NAJAM_IZNOS"};
    for (int i = 0; i < 10; ++i) {
        const QString got = f.amount(columns[i]).toString(4);
        const QString want = Decimal::parse(expected[i])->toString(4);
        QVERIFY2(got == want, qPrintable(QStringLiteral("%1: %2, expected %3").arg(QLatin1String(columns[i]), got, want)));
    }
    checkConsistent(f);
}

// ------------------------------------------------------------------ late fee

void TstCharges::lateFee_data()
{
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<int>("hours");
    QTest::addColumn<QString>("fee");
    const QDateTime start(QDate(2024, 5, 10), QTime(8, 0));
    QTest::newRow("24 h") << start << start.addDays(1) << 24 << "50";
    QTest::newRow("26 h 30 min") << start << QDateTime(QDate(2024, 5, 11), QTime(10, 30)) << 26 << "60";
    QTest::newRow("27 h") << start << QDateTime(QDate(2024, 5, 11), QTime(11, 0)) << 27 << "65";
    QTest::newRow("28 h") << start << QDateTime(QDate(2024, 5, 11), QTime(12, 0)) << 28 << "100";
    QTest::newRow("3 h 59 min") << start << QDateTime(QDate(2024, 5, 10), QTime(11, 59)) << 3 << "15";
    QTest::newRow("45 min") << start << QDateTime(QDate(2024, 5, 10), QTime(8, 45)) << 0 << "0";
    QTest::newRow("reversed") << QDateTime(QDate(2024, 5, 11), QTime(12, 0)) << start << 28 << "0";
    QTest::newRow("equal") << start << start << 0 << "0";
    QTest::newRow("two days and 2 h") << start << QDateTime(QDate(2024, 5, 12), QTime(10, 0)) << 50 << "110";
    // wall-clock hours: the night the clocks go forward changes nothing
    QTest::newRow("over the clock change") << QDateTime(QDate(2024, 3, 30), QTime(8, 0))
                                           << QDateTime(QDate(2024, 3, 31), QTime(8, 0)) << 24 << "50";
}

void TstCharges::lateFee()
{
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(int, hours);
    QFETCH(QString, fee);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, "50.00", "10.00"));
    f.newContract();
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(3));
    f.set("IZNOS_ZAKASNINE", Value(dec("7.77")));   // an earlier fee, replaced
    f.set("SATI_OD", Value(from));
    f.set("SATI_DO", Value(to));
    QCOMPARE(f.row.field(QStringLiteral("RAZLIKA_SATI")).asInt(), hours);   // shown as soon as both are set

    QCOMPARE(f.charges->ComputeLateFee(), LateFeeResult::Computed);
    QCOMPARE(f.row.field(QStringLiteral("RAZLIKA_SATI")).asInt(), hours);
    QCOMPARE(f.amount("IZNOS_ZAKASNINE"), *Decimal::parse(fee));
    QCOMPARE(f.amount("KASNJENJE"), *Decimal::parse(fee));
    QCOMPARE(f.amount("OSTALE_USLUGE"), *Decimal::parse(fee));
    QVERIFY(dialogs_.shown.empty());
    checkConsistent(f);
}

void TstCharges::lateFeeMissingMoment_data()
{
    QTest::addColumn<bool>("hasFrom");
    QTest::addColumn<bool>("hasTo");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("warning");
    QTest::newRow("no Sati od") << false << true << int(LateFeeResult::MissingFrom)
                                << "Niste unijeli polje \"Sati od\". Zakasnina se ne može obračunati!";
    QTest::newRow("no Sati do") << true << false << int(LateFeeResult::MissingTo)
                                << "Niste unijeli polje \"Sati do\". Zakasnina se ne može obračunati!";
    QTest::newRow("neither") << false << false << int(LateFeeResult::MissingFrom)
                             << "Niste unijeli polje \"Sati od\". Zakasnina se ne može obračunati!";
}

void TstCharges::lateFeeMissingMoment()
{
    QFETCH(bool, hasFrom);
    QFETCH(bool, hasTo);
    QFETCH(int, result);
    QFETCH(QString, warning);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, "50.00", "10.00"));
    f.newContract();
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(3));
    f.set("IZNOS_ZAKASNINE", Value(dec("12.34")));
    if (hasFrom) f.set("SATI_OD", Value(QDateTime(QDate(2024, 5, 10), QTime(8, 0))));
    if (hasTo) f.set("SATI_DO", Value(QDateTime(QDate(2024, 5, 12), QTime(8, 0))));
    const Decimal total = f.amount("SVEUKUPNO");

    QCOMPARE(int(f.charges->ComputeLateFee()), result);
    QCOMPARE(dialogs_.texts(QStringLiteral("warning")), QStringList{warning});
    QCOMPARE(f.amount("IZNOS_ZAKASNINE"), dec("12.34"));
    QCOMPARE(f.row.field(QStringLiteral("RAZLIKA_SATI")).asInt(), 0);
    QCOMPARE(f.amount("SVEUKUPNO"), total);
}

// ------------------------------------------------------------------ price bands

void TstCharges::priceBands_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("cijena");
    QTest::addColumn<int>("idcjenika");    // 0: none
    QTest::addColumn<QString>("problem");  // the save check's text, empty when accepted

    QTest::newRow("3 days, 3-day band") << kContractDate << 3 << "50" << 101 << "";
    QTest::newRow("4 days, 7-day band") << kContractDate << 4 << "45" << 102 << "";
    QTest::newRow("7 days, 7-day band") << kContractDate << 7 << "45" << 102 << "";
    QTest::newRow("0 days, smallest band") << kContractDate << 0 << "50" << 101 << "";
    QTest::newRow("8 days, no band") << kContractDate << 8 << "0" << 0
        << "Vozilo: 1     ZG 1234-AB Opel Corsa, za broj dana: 8 i datum: 10. 05. 2024. nema cijenu u cjeniku!";
    QTest::newRow("newer row on its own date") << QDate(2024, 6, 1) << 3 << "99" << 103 << "";
    QTest::newRow("newer date, band only in the older") << QDate(2024, 6, 1) << 4 << "45" << 102 << "";
    QTest::newRow("before every price date") << QDate(2023, 12, 31) << 3 << "0" << 0
        << "Vozilo: 1     ZG 1234-AB Opel Corsa, za broj dana: 3 i datum: 31. 12. 2023. nema cijenu u cjeniku!";
}

void TstCharges::priceBands()
{
    QFETCH(QDate, date);
    QFETCH(int, days);
    QFETCH(QString, cijena);
    QFETCH(int, idcjenika);
    QFETCH(QString, problem);
    Fixture f(standardFleet() << reg(1, QStringLiteral("ZG 1234-AB"), QDate(2023, 1, 1), QDate(2023, 12, 31))
                              << price(101, QDate(2024, 1, 1), 1, 3, "50.00", "10.00")
                              << price(102, QDate(2024, 1, 1), 1, 7, "45.00", "10.00")
                              << price(103, QDate(2024, 6, 1), 1, 3, "99.00", "10.00")   // after the contract date
                              << price(104, QDate(2024, 1, 1), 2, 3, "70.00", "10.00")); // another vehicle
    f.newContract(date);
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(days));

    QCOMPARE(f.amount("CIJENA"), *Decimal::parse(cijena));
    const db::Field& id = f.row.field(QStringLiteral("IDCJENIKA"));
    if (idcjenika) QCOMPARE(id.asInt(), idcjenika);
    else QVERIFY(id.isNull());
    QCOMPARE(f.charges->hasPriceRow(), idcjenika != 0);
    QCOMPARE(f.charges->priceProblem(), problem);
    QCOMPARE(f.charges->checkPrice(), problem.isEmpty());
    QCOMPARE(dialogs_.texts(QStringLiteral("warning")), problem.isEmpty() ? QStringList() : QStringList{problem});
    checkConsistent(f);
}

void TstCharges::priceCheckRounding_data()
{
    QTest::addColumn<QString>("cijena");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0.50 rounds to 0") << "0.50" << false;
    QTest::newRow("0.51 rounds to 1") << "0.51" << true;
    QTest::newRow("1.50 rounds to 2") << "1.50" << true;
}

void TstCharges::priceCheckRounding()
{
    QFETCH(QString, cijena);
    QFETCH(bool, accepted);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, cijena.toLatin1(), "0"));
    f.newContract();
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(2));
    QCOMPARE(f.row.field(QStringLiteral("IDCJENIKA")).asInt(), 101);
    QCOMPARE(f.charges->checkPrice(), accepted);
    QCOMPARE(f.row.state(), db::Dataset::State::Insert);   // the row is left as it was
}

// ------------------------------------------------------------------ free vehicles

void TstCharges::freeVehicles_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("editing");        // IDUGOVORA of the row
    QTest::addColumn<QStringList>("listed"); // REGOZNAKA texts, by vehicle

    const QString v1 = QStringLiteral("1     ZG 1111-AA Opel Corsa");
    const QString v2 = QStringLiteral("2     ŠI 222-BB  Škoda Fabia");
    const QString v4 = QStringLiteral("4     ST 444-DD  Renault Clio");
    const QString v5old = QStringLiteral("5     ZG 555-EE  Volkswagen Golf");
    const QString v5new = QStringLiteral("5     ZG 556-EF  Volkswagen Golf");
    QTest::newRow("day before the open contract") << QDate(2024, 3, 9) << 0 << QStringList{v1, v5old};
    QTest::newRow("open contract's first day") << QDate(2024, 3, 10) << 0 << QStringList{v5old};
    QTest::newRow("open contract months later") << QDate(2024, 11, 20) << 0 << QStringList{v2, v5new};
    QTest::newRow("return day still taken") << QDate(2024, 3, 15) << 0 << QStringList{v5old};
    QTest::newRow("free the day after return") << QDate(2024, 3, 16) << 0 << QStringList{v2, v5old};
    QTest::newRow("edited contract keeps its vehicle") << QDate(2024, 3, 20) << 1 << QStringList{v1, v2, v5old};
    QTest::newRow("last day of a registration") << QDate(2024, 2, 28) << 0 << QStringList{v1, v2, v4, v5old};
    QTest::newRow("registration run out") << QDate(2024, 2, 29) << 0 << QStringList{v1, v2, v5old};
    QTest::newRow("two registrations, the longest") << QDate(2024, 6, 15) << 0 << QStringList{v2, v5new};
}

void TstCharges::freeVehicles()
{
    QFETCH(QDate, date);
    QFETCH(int, editing);
    QFETCH(QStringList, listed);
    Fixture f({vehicle(1, QStringLiteral("Opel"), QStringLiteral("Corsa")),
               vehicle(2, QStringLiteral("Škoda"), QStringLiteral("Fabia")),
               vehicle(3, QStringLiteral("Fiat"), QStringLiteral("Punto"), "NE"),
               vehicle(4, QStringLiteral("Renault"), QStringLiteral("Clio")),
               vehicle(5, QStringLiteral("Volkswagen"), QStringLiteral("Golf")),
               reg(1, QStringLiteral("ZG 1111-AA"), QDate(2024, 1, 1), QDate(2024, 12, 31)),
               reg(2, QStringLiteral("ŠI 222-BB"), QDate(2024, 1, 1), QDate(2024, 12, 31)),
               reg(3, QStringLiteral("RI 333-CC"), QDate(2024, 1, 1), QDate(2024, 12, 31)),
               reg(4, QStringLiteral("ST 444-DD"), QDate(2023, 3, 1), QDate(2024, 2, 28)),
               reg(5, QStringLiteral("ZG 555-EE"), QDate(2023, 7, 1), QDate(2024, 6, 30)),
               reg(5, QStringLiteral("ZG 556-EF"), QDate(2024, 6, 1), QDate(2025, 5, 31)),
               contract(1, 1, QDate(2024, 3, 10), QDate()),
               contract(2, 2, QDate(2024, 3, 1), QDate(2024, 3, 15))});
    f.newContract(date);
    f.set("IDUGOVORA", Value(editing));

    db::Dataset& list = f.charges->vehicles();
    QStringList texts;
    for (int i = 0; i < list.recordCount(); ++i)
        texts << list.valueAt(i, list.field(QStringLiteral("REGOZNAKA"))).toString();
    texts.sort();
    QCOMPARE(texts, listed);
    // each listed row names its registration's last day
    for (int i = 0; i < list.recordCount(); ++i)
        QVERIFY(list.valueAt(i, list.field(QStringLiteral("VRIJEDI_DO"))).toDate() >= date);
}

void TstCharges::noVehicleWarning_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("window active") << true
        << QStringList{QStringLiteral("Pozor! Za datum dokumenta: 01. 07. 2025. nema slobodnih vozila!")};
    QTest::newRow("window not active") << false << QStringList();
}

void TstCharges::noVehicleWarning()
{
    QFETCH(bool, active);
    QFETCH(QStringList, warnings);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, "50.00", "10.00"));
    f.newContract();
    f.set("IDVOZILA", Value(1));
    f.set("KOL_DANA", Value(3));
    QVERIFY(f.charges->vehicles().recordCount() == 2);
    bool isActive = active;
    f.charges->setWindowActive([&isActive] { return isActive; });

    f.set("DATUM_UGOVORA", Value(QDate(2025, 7, 1)));   // no registration holds then
    QCOMPARE(f.charges->vehicles().recordCount(), 0);
    QCOMPARE(dialogs_.texts(QStringLiteral("warning")), warnings);
    // the price is still looked up
    QCOMPARE(f.amount("CIJENA"), dec("50"));
    checkConsistent(f);
}

// ------------------------------------------------------------------ bindings

void TstCharges::bindings_data()
{
    QTest::addColumn<QString>("column");   // empty: the new contract as it starts
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("cijena");   // the price afterwards

    QTest::newRow("new contract") << "" << QVariant() << "0";
    QTest::newRow("discount") << "RABAT_POSTO" << QVariant("7.50") << "50";
    QTest::newRow("discount to 0") << "RABAT_POSTO" << QVariant("0") << "50";
    QTest::newRow("reservation") << "REZERVACIJA_IZNOS" << QVariant("15") << "50";
    QTest::newRow("delivery") << "DOSTAVA_IZNOS" << QVariant("20") << "50";
    QTest::newRow("washing") << "PRANJE_IZNOS" << QVariant("8.33") << "50";
    QTest::newRow("fuel") << "GORIVO_IZNOS" << QVariant("45.10") << "50";
    QTest::newRow("damage") << "OSTECENJA_IZNOS" << QVariant("250") << "50";
    QTest::newRow("late fee typed") << "IZNOS_ZAKASNINE" << QVariant("60") << "50";
    QTest::newRow("days") << "KOL_DANA" << QVariant(5) << "50";
    QTest::newRow("days beyond the bands") << "KOL_DANA" << QVariant(1000) << "0";
    // a new price carries CDW, discount, tax and totals along at once
    QTest::newRow("other vehicle") << "IDVOZILA" << QVariant(2) << "80";
    QTest::newRow("date of newer prices") << "DATUM_UGOVORA" << QVariant(QDate(2024, 6, 1)) << "55";
}

void TstCharges::bindings()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, cijena);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, "50.00", "10.00")
                              << price(102, QDate(2024, 6, 1), 1, 999, "55.00", "12.00")
                              << price(103, QDate(2024, 1, 1), 2, 999, "80.00", "7.50"));
    f.newContract();
    if (!column.isEmpty()) {
        f.set("IDVOZILA", Value(1));
        f.set("KOL_DANA", Value(3));
        f.set("RABAT_POSTO", Value(dec("5")));
        f.set("DOSTAVA_IZNOS", Value(dec("12.50")));
        checkConsistent(f);
        Value v = value.typeId() == QMetaType::QString ? Value(*Decimal::parse(value.toString()))
                : value.typeId() == QMetaType::QDate ? Value(value.toDate()) : Value(value.toInt());
        f.row.field(column).setValue(v);
    } else {
        for (const char* n : {"CIJENA", "CDW", "RABAT_IZNOS", "PDV", "SVEUKUPNO", "UKUPNO_CDW", "NAJAM_IZNOS",
                              "KASNJENJE", "UKUPNO1", "UKUPNO2", "UKUPNO3", "OSTALE_USLUGE"})
            QVERIFY2(!f.row.field(QLatin1String(n)).isNull() && f.amount(n).isZero(), n);
        QCOMPARE(f.row.field(QStringLiteral("KOL_DANA")).asInt(), 0);
        QVERIFY(f.row.field(QStringLiteral("IDCJENIKA")).isNull());
        QCOMPARE(f.row.field(QStringLiteral("TROKUT_DN")).asString(), QStringLiteral("NE"));
    }
    QCOMPARE(f.amount("CIJENA"), *Decimal::parse(cijena));
    QCOMPARE(f.amount("CDW"), f.amount("CIJENA") * f.charges->cdwPosto() / 100);
    checkConsistent(f);
}

// ------------------------------------------------------------------ a stored contract

void TstCharges::storedContractKeepsItsPrice_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("cijena");
    QTest::addColumn<QString>("cdw");
    QTest::addColumn<QString>("sveukupno");
    QTest::addColumn<bool>("stored");

    // stored: CIJENA 50, CDW 5, 3 days, 5 %, delivery 20; the price row now says 60 and 10 %
    QTest::newRow("opened") << "open" << "50" << "5" << "215.64" << true;
    QTest::newRow("opened with the helper") << "openContract" << "50" << "5" << "215.64" << true;
    QTest::newRow("window active again") << "activate" << "50" << "5" << "215.64" << true;
    QTest::newRow("same date written again") << "sameDate" << "50" << "5" << "215.64" << true;
    QTest::newRow("discount changed") << "discount" << "50" << "5" << "205.57" << true;
    QTest::newRow("days changed") << "days" << "60" << "6" << "330.376" << false;
    QTest::newRow("vehicle changed") << "vehicle" << "80" << "6" << "323.422" << false;
    QTest::newRow("date changed") << "date" << "60" << "6" << "253.882" << false;
}

void TstCharges::storedContractKeepsItsPrice()
{
    QFETCH(QString, action);
    QFETCH(QString, cijena);
    QFETCH(QString, cdw);
    QFETCH(QString, sveukupno);
    QFETCH(bool, stored);
    Fixture f(standardFleet() << price(101, QDate(2024, 1, 1), 1, 999, "60.00", "10.00")
                              << price(103, QDate(2024, 1, 1), 2, 999, "80.00", "7.50")
                              << QStringLiteral(
                                     "insert into UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA, "
                                     "IDCJENIKA, CIJENA, CDW, KOL_DANA, RABAT_POSTO, RABAT_IZNOS, PDV, DOSTAVA_IZNOS, "
                                     "REZERVACIJA_IZNOS, PRANJE_IZNOS, GORIVO_IZNOS, OSTECENJA_IZNOS, IZNOS_ZAKASNINE, "
                                     "KASNJENJE, SVEUKUPNO, UKUPNO_CDW, NAJAM_IZNOS) values (7, '7/24', 1, 1, "
                                     "'2024-05-10', 101, 50, 5, 3, 5, 8.25, 38.88, 20, 0, 0, 0, 0, 0, 0, 215.64, 15, 180.64)"));
    if (action == QLatin1String("openContract")) {
        f.charges->openContract(7);
    } else {
        // the editor's own sequence: open, edit, refresh
        f.row.setParam(QStringLiteral("IDUGOVORA"), Value(7));
        f.row.open();
        f.row.edit();
        f.charges->RefreshVehiclesAndPrice();
    }
    QCOMPARE(f.amount("UKUPNO1"), dec("165"));
    QCOMPARE(f.amount("OSTALE_USLUGE"), dec("20"));
    QCOMPARE(f.charges->vehicles().recordCount(), 2);

    if (action == QLatin1String("activate")) f.charges->RefreshVehiclesAndPrice();
    else if (action == QLatin1String("sameDate")) f.set("DATUM_UGOVORA", Value(kContractDate));
    else if (action == QLatin1String("discount")) f.set("RABAT_POSTO", Value(dec("10")));
    else if (action == QLatin1String("days")) f.set("KOL_DANA", Value(4));
    else if (action == QLatin1String("vehicle")) f.set("IDVOZILA", Value(2));
    else if (action == QLatin1String("date")) f.set("DATUM_UGOVORA", Value(QDate(2024, 5, 11)));

    QCOMPARE(f.charges->storedPrice(), stored);
    QCOMPARE(f.amount("CIJENA"), *Decimal::parse(cijena));
    QCOMPARE(f.row.field(QStringLiteral("IDCJENIKA")).asInt(), action == QLatin1String("vehicle") ? 103 : 101);
    QCOMPARE(f.amount("CDW"), *Decimal::parse(cdw));
    QCOMPARE(f.amount("SVEUKUPNO"), *Decimal::parse(sveukupno));
    if (action != QLatin1String("open") && action != QLatin1String("openContract") &&
        action != QLatin1String("activate") && action != QLatin1String("sameDate"))
        checkConsistent(f);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    TstCharges t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_charges.moc"
