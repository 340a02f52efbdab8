// The database tool: creates an empty database of the application, or a demo database
// filled with a fleet, customers and half a year of contracts priced by the charge rules.
#include "contracts/charges.h"
#include "db/datamodule.h"
#include "db/schema.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>
#include <random>

using db::Decimal;
using db::Value;

static int usage()
{
    std::fprintf(stderr,
                 "Uporaba:\n"
                 "  kavor-db create PUTANJA [KORISNIK [LOZINKA]]   nova prazna baza (datoteka ili poslužitelj:/putanja)\n"
                 "  kavor-db demo PUTANJA [KORISNIK [LOZINKA]]     nova baza s primjerom voznog parka, korisnika i ugovora\n");
    return 2;
}

namespace {

// ------------------------------------------------------------------ demo data

struct Demo {
    Demo(db::TDataModule1& module, const QDate& day) : dm(module), today(day) {}
    db::TDataModule1& dm;
    QDate today;
    std::mt19937 rng{20240510};

    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    template <class T, size_t N> const T& oneOf(const T (&items)[N]) { return items[size_t(pick(0, int(N) - 1))]; }

    int nextId(const char* generator)
    {
        db::Statement s(&dm.DB, &dm.IBTransaction1);
        s.setSql(QStringLiteral("SELECT GEN_ID(%1 , 1) FROM RDB$DATABASE").arg(QLatin1String(generator)));
        s.execQuery();
        const int id = s.column(0).toInt32();
        s.close();
        return id;
    }

    void insert(const QString& table, const std::vector<std::pair<const char*, Value>>& values)
    {
        QStringList names, params;
        for (const auto& [name, v] : values) { names << QLatin1String(name); params << QLatin1Char(':') + QLatin1String(name); }
        db::Statement s(&dm.DB, &dm.IBTransaction1);
        s.setSql(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(QStringLiteral(", ")),
                                                                         params.join(QStringLiteral(", "))));
        for (const auto& [name, v] : values) s.setParam(QLatin1String(name), v);
        s.execQuery();
    }

    struct Vehicle { int id; int odometer; };
    std::vector<Vehicle> vehicles;
    struct Customer { int id; Decimal rabat; };
    std::vector<Customer> customers;
    int contracts = 0, open = 0, late = 0, damaged = 0;

    void colours();
    void fleet();
    void people();
    void rentals();
};

struct Colour { const char* name; int r, g, b; };
const Colour kColours[] = {
    {"Bijela", 255, 255, 255}, {"Crna", 0, 0, 0}, {"Srebrna", 192, 192, 192}, {"Siva", 128, 128, 128},
    {"Crvena", 200, 16, 46}, {"Plava", 0, 70, 160}, {"Tamnoplava", 20, 30, 80}, {"Zelena", 0, 120, 60},
    {"Bordo", 110, 20, 40}, {"Bež", 220, 200, 160}, {"Žuta", 250, 210, 0}, {"Narančasta", 240, 120, 20}};

int colourValue(const Colour& c) { return c.r + 256 * c.g + 65536 * c.b; }

void Demo::colours()
{
    for (const Colour& c : kColours)
        insert(QStringLiteral("BOJE"), {{"BOJA", colourValue(c)}, {"NAZIV_BOJE", QString::fromUtf8(c.name)}});
}

struct Model { const char* marka; const char* tip; const char* motor; int price; };   // price: 1-2 days
const Model kModels[] = {
    {"Volkswagen", "Polo", "1.0 TSI", 45},       {"Volkswagen", "Golf", "1.5 TSI", 60},
    {"Opel", "Corsa", "1.2 benzin", 42},         {"Opel", "Astra", "1.6 CDTI", 58},
    {"Renault", "Clio", "1.0 TCe", 44},          {"Renault", "Mégane", "1.5 dCi", 57},
    {"Škoda", "Fabia", "1.0 MPI", 43},           {"Škoda", "Octavia", "2.0 TDI", 68},
    {"Peugeot", "208", "1.2 PureTech", 46},      {"Peugeot", "308", "1.5 BlueHDi", 59},
    {"Fiat", "Panda", "1.2 benzin", 38},         {"Fiat", "Tipo", "1.4 benzin", 48},
    {"Ford", "Fiesta", "1.0 EcoBoost", 44},      {"Ford", "Focus", "1.5 TDCi", 58},
    {"Toyota", "Yaris", "1.5 hibrid", 52},       {"Hyundai", "i20", "1.2 MPi", 45},
    {"Kia", "Ceed", "1.6 CRDi", 57},             {"Dacia", "Sandero", "1.0 SCe", 36}};

const char* const kPlateCities[] = {"ZG", "ZG", "ZG", "ST", "RI", "OS", "ZD", "PU", "VŽ", "ŠI", "DU", "KA"};

QString plate(std::mt19937& rng, int n)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPRSTUVZ";
    std::uniform_int_distribution<int> l(0, 21);
    QString city = QString::fromUtf8(kPlateCities[size_t(n) % std::size(kPlateCities)]);
    int digits = city == QLatin1String("ZG") ? 1000 + int(rng() % 9000) : 100 + int(rng() % 900);
    return QStringLiteral("%1 %2-%3%4").arg(city).arg(digits).arg(QLatin1Char(letters[l(rng)])).arg(QLatin1Char(letters[l(rng)]));
}

void Demo::fleet()
{
    const int count = int(std::size(kModels));
    // which vehicle has its registration expiring soon, and the one whose registration ran out
    const int expired = 11;
    for (int n = 0; n < count; ++n) {
        const Model& m = kModels[n];
        const int id = nextId("GEN_VOZILA_ID");
        const Colour& colour = kColours[size_t(pick(0, int(std::size(kColours)) - 1))];
        QString vin;
        static const char vinChars[] = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789";
        for (int i = 0; i < 17; ++i) vin += QLatin1Char(vinChars[pick(0, 32)]);
        insert(QStringLiteral("VOZILA"),
               {{"IDVOZILA", id}, {"MARKA", QString::fromUtf8(m.marka)}, {"TIP", QString::fromUtf8(m.tip)},
                {"BOJA", colourValue(colour)}, {"MOTOR", QString::fromUtf8(m.motor)}, {"SASIJA", vin},
                {"AKTIVNO", "DA"},
                {"DETALJNO", QStringLiteral("%1 %2, %3, boja: %4.\r\nKlima uređaj, radio, ABS, zračni jastuci.")
                                 .arg(QString::fromUtf8(m.marka), QString::fromUtf8(m.tip), QString::fromUtf8(m.motor),
                                      QString::fromUtf8(colour.name))}});
        vehicles.push_back({id, pick(8000, 90000)});

        // registrations: last year's and this year's of the same plate
        const QString p = plate(rng, n);
        int age = n == expired ? 370 : (n % 6 == 2 ? pick(336, 360) : pick(10, 320));   // days since renewal
        const QDate renewed = today.addDays(-age);
        const QDate previous = renewed.addYears(-1);
        insert(QStringLiteral("REGOZ"), {{"REGOZNAKA", p}, {"IDVOZILA", id}, {"VRIJEDI_OD", previous},
                                         {"VRIJEDI_DO", renewed.addDays(-1)},
                                         {"STANJEKM", Decimal(vehicles.back().odometer / 2)},
                                         {"DETALJNO", QStringLiteral("Tehnički pregled obavljen u STP Lučko.")}});
        insert(QStringLiteral("REGOZ"), {{"REGOZNAKA", p}, {"IDVOZILA", id}, {"VRIJEDI_OD", renewed},
                                         {"VRIJEDI_DO", renewed.addYears(1).addDays(-1)},
                                         {"STANJEKM", Decimal(vehicles.back().odometer)}});

        // services and insurances of the past year
        const char* const services[] = {"Redovni servis, zamjena ulja i filtara", "Zamjena zimskih guma ljetnima",
                                        "Zamjena kočionih pločica i diskova", "Servis klima uređaja",
                                        "Zamjena akumulatora", "Zamjena remena razvoda"};
        const char* const servicers[] = {"Auto centar Lučko", "Servis Kovačević d.o.o.", "Autokuća Šimić",
                                         "Ovlašteni servis Zagreb"};
        for (int s = 0, k = pick(1, 3); s < k; ++s) {
            const QDate d = today.addDays(-pick(5, 360));
            insert(QStringLiteral("SERVISI"),
                   {{"IDVOZILA", id}, {"DATUM", d}, {"OPIS", QString::fromUtf8(oneOf(services))},
                    {"TRAJANJE", pick(1, 6)}, {"SERVISER", QString::fromUtf8(servicers[s % 4])},
                    {"TROSAK", Decimal(pick(30, 250) * 5)}, {"DATUM_SLJEDECEG", d.addYears(1)},
                    {"SLJEDECIH_X_KM", Decimal(15000)}});
        }
        const char* const insurers[] = {"Croatia osiguranje d.d.", "Allianz Hrvatska d.d.", "Generali osiguranje d.d.",
                                        "Uniqa osiguranje d.d.", "Wiener osiguranje d.d."};
        const QDate insured = renewed;
        insert(QStringLiteral("OSIGURANJA"),
               {{"IDOSIGURANJA", nextId("GEN_OSIGURANJA_ID")}, {"IDVOZILA", id}, {"DATUM_OSIGURANJA", insured},
                {"VRIJEDI_DO", insured.addYears(1).addDays(-1)}, {"OSIGURAVATELJ", QString::fromUtf8(oneOf(insurers))},
                {"IZNOS", Decimal::fromUnits(int64_t(pick(2500, 6000)) * 10000)},
                {"NAPOMENA", chance(50) ? QStringLiteral("Obvezno osiguranje i kasko") : QStringLiteral("Obvezno osiguranje")}});
    }
    // price list: bands of 2, 6, 13, 20, 29 and 999 days a year ago, and new prices two months ago
    const int bands[] = {2, 6, 13, 20, 29, 999};
    const int percent[] = {100, 92, 85, 78, 72, 65};
    for (const QDate& from : {today.addDays(-400), today.addDays(-60)}) {
        const bool raised = from > today.addDays(-100);
        for (int n = 0; n < count; ++n) {
            for (int b = 0; b < 6; ++b) {
                // the daily price of the band, in cents
                const int64_t cents = int64_t(kModels[n].price) * percent[b] * (raised ? 106 : 100) / 100;
                insert(QStringLiteral("CJENIK"),
                       {{"IDCJENIKA", nextId("GEN_VOZILA_ID")}, {"DATUMCJENE", from}, {"IDVOZILA", vehicles[size_t(n)].id},
                        {"DO_DANA", bands[b]}, {"CIJENA", Decimal::fromUnits(cents * 100)},
                        {"CDW_POSTO", Decimal(kModels[n].price >= 55 ? 10 : 5)},
                        {"NAPOMENA", raised ? QStringLiteral("Cjenik sezone") : QString()}});
            }
        }
    }
    dm.IBTransaction1.commit();
}

struct Person { const char* name; const char* city; const char* street; };
const Person kPeople[] = {
    {"Ivan Horvat", "10000 Zagreb", "Ilica 45"},              {"Ana Kovačević", "21000 Split", "Put Firula 12"},
    {"Marko Babić", "51000 Rijeka", "Korzo 8"},              {"Petra Marić", "31000 Osijek", "Europska avenija 3"},
    {"Luka Jurić", "23000 Zadar", "Put Bokanjca 21"},        {"Maja Novak", "10000 Zagreb", "Savska cesta 101"},
    {"Tomislav Knežević", "42000 Varaždin", "Kapucinski trg 5"}, {"Ivana Vuković", "52100 Pula", "Flanatička 17"},
    {"Josip Marković", "10000 Zagreb", "Vukovarska 220"},    {"Marija Petrović", "20000 Dubrovnik", "Ulica Vlaha Paljetka 2"},
    {"Stjepan Matić", "47000 Karlovac", "Radićeva 14"},      {"Katarina Tomić", "22000 Šibenik", "Ulica kralja Zvonimira 9"},
    {"Nikola Pavlović", "35000 Slavonski Brod", "Ulica Ivana Gorana Kovačića 4"}, {"Lucija Božić", "40000 Čakovec", "Zrinsko-Frankopanska 11"},
    {"Ante Grgić", "21000 Split", "Domovinskog rata 56"},    {"Martina Blažević", "10000 Zagreb", "Trg bana Jelačića 1"},
    {"Dario Šarić", "31400 Đakovo", "Ulica bana Jelačića 33"}, {"Tea Perić", "51000 Rijeka", "Ulica Franje Račkoga 6"},
    {"Filip Radić", "10000 Zagreb", "Maksimirska 88"},       {"Sara Lovrić", "23000 Zadar", "Obala kneza Branimira 2"},
    {"Domagoj Jukić", "34000 Požega", "Trg Svetog Trojstva 7"}, {"Iva Pranjić", "10000 Zagreb", "Ulica grada Vukovara 37"},
    {"Krešimir Šimunović", "21000 Split", "Poljička cesta 35"}, {"Mateja Galić", "42000 Varaždin", "Zagrebačka 72"},
    {"Hrvoje Kralj", "10410 Velika Gorica", "Zagrebačka 19"}, {"Nina Barišić", "52100 Pula", "Istarska 30"},
    {"Goran Pavić", "31000 Osijek", "Vukovarska 150"},       {"Željka Mandić", "10000 Zagreb", "Heinzelova 62"},
    {"Vedran Čolić", "20000 Dubrovnik", "Put Republike 20"}, {"Snježana Bošnjak", "47000 Karlovac", "Vranicanijeva 3"},
    {"Mislav Vidović", "10000 Zagreb", "Selska cesta 12"},   {"Antonija Đurić", "35000 Slavonski Brod", "Trg pobjede 1"},
    {"Zvonimir Ćorić", "21000 Split", "Ulica Matice hrvatske 5"}, {"Dora Lučić", "51000 Rijeka", "Zvonimirova 44"},
    {"Bruno Živković", "10000 Zagreb", "Ulica Grge Tuškana 9"}, {"Lana Herceg", "23000 Zadar", "Ulica Ivana Mažuranića 15"}};
struct Company { const char* rep; const char* company; const char* city; const char* street; int rabat; };
const Company kCompanies[] = {
    {"Dubravko Ilić", "Jadran tours d.o.o.", "21000 Split", "Obala Lazareta 3", 10},
    {"Mirela Šimić", "Građevinar Zagreb d.d.", "10000 Zagreb", "Radnička cesta 52", 5},
    {"Robert Kos", "Kvarner plus d.o.o.", "51000 Rijeka", "Riva 10", 8},
    {"Jelena Vrdoljak", "Slavonska banka usluge d.o.o.", "31000 Osijek", "Kapucinska 29", 12}};

QString ascii(QString s)
{
    const QString from = QStringLiteral("čćđšžČĆĐŠŽé");
    const QString to = QStringLiteral("ccdszCCDSZe");
    for (int i = 0; i < from.size(); ++i) s.replace(from[i], to[i]);
    return s.toLower().replace(QLatin1Char(' '), QLatin1Char('.'));
}

void Demo::people()
{
    auto digits = [this](int n) { QString s; for (int i = 0; i < n; ++i) s += QChar(u'0' + pick(i == 0 ? 1 : 0, 9)); return s; };
    auto add = [&](const QString& name, const QString& street, const QString& city, bool company,
                   const QString& firm, const QString& firmStreet, Decimal rabat) {
        const int id = nextId("GEN_KORISNICI_ID");
        const QString town = city.section(QLatin1Char(' '), 1);
        std::vector<std::pair<const char*, Value>> v = {
            {"IDKORISNIKA", id}, {"NAZIV_KORISNIKA", name}, {"MBR", digits(13)},
            {"ZASTUPA_TVRTKU_DANE", company ? "DA" : "NE"}, {"ADRESA", street + QStringLiteral("\r\n") + city},
            {"BR_0SOBNE", digits(9)}, {"OSOBNA_IZDANA_U", QStringLiteral("PU ") + town.left(17)},
            {"BR_VOZACKE", digits(8)}, {"VOZACKA_IZDANA_U", QStringLiteral("PU ") + town.left(17)},
            {"E_MAIL", ascii(name) + QStringLiteral("@email.hr")},
            {"TEL_FAX_MOB", QStringLiteral("09%1 %2 %3").arg(pick(1, 9)).arg(digits(3), digits(4))},
            {"RABAT", rabat}};
        if (chance(40)) {
            v.push_back({"BR_PUTOVNICE", digits(9)});
            v.push_back({"PUTOVNICA_IZDANA_U", QStringLiteral("PU ") + town.left(17)});
        }
        if (chance(25)) v.push_back({"ADRESA_PREBIVAL", street + QStringLiteral("\r\n") + city});
        if (!firm.isEmpty()) {
            v.push_back({"TVRTKA_ZAPOSLENJA", firm});
            v.push_back({"ADRESA_TVRKE", firmStreet + QStringLiteral("\r\n") + city});
            v.push_back({"TEL_FAX_MOB_TVRTKE", QStringLiteral("Tel. 0%1 %2 %3\r\nFax 0%1 %2 %4")
                                                   .arg(pick(1, 5)).arg(digits(3), digits(3), digits(3))});
            v.push_back({"E_MAIL_TVRTKE", QStringLiteral("info@") + ascii(firm.section(QLatin1Char(' '), 0, 0)) + QStringLiteral(".hr")});
            v.push_back({"WEB", QStringLiteral("www.") + ascii(firm.section(QLatin1Char(' '), 0, 0)) + QStringLiteral(".hr")});
        }
        insert(QStringLiteral("KORISNICI"), v);
        customers.push_back({id, rabat});
    };
    int n = 0;
    for (const Person& p : kPeople) {
        const Decimal rabat = (n % 9 == 4) ? Decimal(5) : (n % 13 == 7 ? Decimal(3) : Decimal());
        add(QString::fromUtf8(p.name), QString::fromUtf8(p.street), QString::fromUtf8(p.city), false,
            n % 5 == 1 ? QStringLiteral("Hrvatska pošta d.d.") : QString(), QStringLiteral("Jurišićeva 13"), rabat);
        ++n;
    }
    for (const Company& c : kCompanies)
        add(QString::fromUtf8(c.rep), QString::fromUtf8(c.street), QString::fromUtf8(c.city), true,
            QString::fromUtf8(c.company), QString::fromUtf8(c.street), Decimal(c.rabat));
    dm.IBTransaction1.commit();
}

// Half a year of contracts, day by day, each written as the contract editor writes it: a
// new row, a free vehicle of that day from the list, days, discount and services, priced
// by the charge rules, then closed (some late, some with damage) or left open.
void Demo::rentals()
{
    db::Dataset row(&dm.DB, &dm.IBTransaction2);
    contracts::prepareContractRow(row);
    QStringList insert{QStringLiteral("insert into UGOVORI")};
    const QStringList order = {
        "BR_AUT", "BR_CEKA", "BROJ_UGOVORA", "CDW", "CIJENA", "DATUM_UGOVORA", "DATUM_ZAVRSETKA", "DOSTAVA_IZNOS",
        "IDCJENIKA", "IDKORISNIKA", "IDUGOVORA", "IDVOZILA", "IZNOS_POLOGA", "IZNOS_ZAKASNINE", "KASNJENJE",
        "KM_DOLAZAK", "KM_PLANIRANO", "KM_POLAZAK", "KOL_DANA", "NACIN_PL_ODOBRIO", "NACIN_PLACANJA",
        "NACIN_PLACANJA_OST", "NAJAM_IZNOS", "NAPLATIO_OSTECENJA", "NOVA_OSTECENJA", "OBLIK_PLACANJA_POLOGA",
        "OSTECENJA_IZNOS", "PDV", "PRANJE_IZNOS", "PRVA_POMOC_DN", "RABAT_IZNOS", "RABAT_ODOBRIO", "RABAT_POSTO",
        "RELACIJA", "REZ_GUMA_DN", "REZERVACIJA_IZNOS", "SATI_DO", "SATI_OD", "SLEP_UZE", "STARA_OSTECENJA",
        "SVEUKUPNO", "TROKUT_DN", "UKUPNO_CDW", "VALUTA", "VALUTA_OSTECENJA", "ZARULJE_DN", "GORIVO_IZNOS"};
    insert << QStringLiteral("(") + order.join(QStringLiteral(", ")) + QStringLiteral(")")
           << QStringLiteral("values")
           << QStringLiteral("(:") + order.join(QStringLiteral(", :")) + QStringLiteral(")");
    row.setInsertSql(insert);
    contracts::ContractCharges charges(row, dm);
    charges.attach();

    const char* const payments[] = {"Gotovina", "Prijenos", "Ček", "Kreditna kartica", "Kreditna kartica"};
    const char* const routes[] = {"Zagreb - Split - Zagreb", "Zagreb - Rijeka - Zagreb", "Zagreb i okolica",
                                  "Split - Dubrovnik - Split", "Zagreb - Osijek", "Istra", "Zadar - Plitvice - Zadar",
                                  "Rijeka - Krk - Rijeka"};
    const char* const oldDamage[] = {"Ogrebotina na stražnjem braniku.", "Manje udubljenje na lijevim vratima.",
                                     "Napuknuće vjetrobranskog stakla u donjem desnom kutu.", ""};
    const char* const newDamage[] = {"Oštećen prednji branik, udarac pri parkiranju.",
                                     "Razbijen desni retrovizor.", "Ogrebotine na desnom boku vozila.",
                                     "Probušena guma, oštećen naplatak."};
    const char* const staff[] = {"Marija Horvat", "Davor Perković", "Sanja Jelić"};
    const int dayCounts[] = {1, 2, 2, 3, 3, 4, 5, 5, 7, 7, 10, 14};
    int number = 0, year = 0;

    for (QDate date = today.addDays(-182); date <= today; date = date.addDays(1)) {
        for (int k = 0, todays = (pick(0, 100) < 27 && date < today.addDays(-7)) ? 0 : pick(1, 2); k < todays; ++k) {
            row.close();
            row.setParam(QStringLiteral("IDUGOVORA"), Value(-1));
            row.open();
            row.append();
            charges.newContractDefaults(date);
            db::Dataset& free = charges.vehicles();
            if (free.isEmpty()) { row.cancel(); break; }
            const int listed = free.recordCount();
            const int vehicle = free.valueAt(pick(0, listed - 1), free.field(QStringLiteral("IDVOZILA"))).toInt32();
            const Customer& customer = customers[size_t(pick(0, int(customers.size()) - 1))];
            const int days = oneOf(dayCounts);
            Vehicle* v = nullptr;
            for (Vehicle& x : vehicles) if (x.id == vehicle) v = &x;

            if (date.year() != year) { year = date.year(); number = 0; }
            row.field(QStringLiteral("BROJ_UGOVORA")).setValue(QStringLiteral("%1/%2").arg(++number, 3, 10, QLatin1Char('0')).arg(year));
            row.field(QStringLiteral("IDKORISNIKA")).setValue(customer.id);
            row.field(QStringLiteral("IDVOZILA")).setValue(vehicle);
            row.field(QStringLiteral("KOL_DANA")).setValue(days);
            if (customer.rabat > Decimal()) {
                row.field(QStringLiteral("RABAT_POSTO")).setValue(customer.rabat);
                row.field(QStringLiteral("RABAT_ODOBRIO")).setValue(QString::fromUtf8(oneOf(staff)));
            }
            for (const char* flag : {"PRVA_POMOC_DN", "TROKUT_DN", "REZ_GUMA_DN", "ZARULJE_DN", "SLEP_UZE"})
                row.field(QLatin1String(flag)).setValue(chance(90) ? "DA" : "NE");
            if (chance(30)) row.field(QStringLiteral("REZERVACIJA_IZNOS")).setValue(Decimal(10));
            if (chance(20)) row.field(QStringLiteral("DOSTAVA_IZNOS")).setValue(Decimal(pick(2, 8) * 5));
            const QString payment = QString::fromUtf8(oneOf(payments));
            row.field(QStringLiteral("NACIN_PLACANJA")).setValue(payment);
            if (payment == QLatin1String("Kreditna kartica"))
                row.field(QStringLiteral("BR_AUT")).setValue(QString::number(pick(100000, 999999)));
            if (payment == QStringLiteral("Ček"))
                row.field(QStringLiteral("BR_CEKA")).setValue(QString::number(pick(1000000, 9999999)));
            row.field(QStringLiteral("NACIN_PL_ODOBRIO")).setValue(QString::fromUtf8(oneOf(staff)));
            row.field(QStringLiteral("VALUTA")).setValue(date.addDays(14));
            row.field(QStringLiteral("IZNOS_POLOGA")).setValue(Decimal(chance(50) ? 500 : 1000));
            row.field(QStringLiteral("OBLIK_PLACANJA_POLOGA")).setValue(chance(70) ? QStringLiteral("Kreditna kartica") : QStringLiteral("Gotovina"));
            row.field(QStringLiteral("RELACIJA")).setValue(QString::fromUtf8(oneOf(routes)));
            row.field(QStringLiteral("KM_POLAZAK")).setValue(v->odometer);
            row.field(QStringLiteral("KM_PLANIRANO")).setValue(days * pick(60, 200));
            const QString before = QString::fromUtf8(oneOf(oldDamage));
            if (!before.isEmpty()) row.field(QStringLiteral("STARA_OSTECENJA")).setValue(before);

            // back on time, late, or still out
            const QDate due = date.addDays(days);
            const bool isLate = chance(12);
            const int lateHours = isLate ? pick(1, 30) : 0;
            const QDateTime dueAt(due, QTime(9, 0));
            const QDateTime backAt = dueAt.addSecs(qint64(lateHours) * 3600 + pick(0, 50) * 60);
            const bool stillOut = backAt.date() > today || (due >= today.addDays(-4) && chance(50));
            if (!stillOut) {
                row.field(QStringLiteral("DATUM_ZAVRSETKA")).setValue(backAt.date());
                const int driven = days * pick(40, 220);
                v->odometer += driven;
                row.field(QStringLiteral("KM_DOLAZAK")).setValue(v->odometer);
                if (chance(25)) row.field(QStringLiteral("PRANJE_IZNOS")).setValue(Decimal(15));
                if (chance(30)) row.field(QStringLiteral("GORIVO_IZNOS")).setValue(Decimal::fromUnits(int64_t(pick(2000, 8000)) * 100));
                if (isLate) {
                    row.field(QStringLiteral("SATI_OD")).setValue(dueAt);
                    row.field(QStringLiteral("SATI_DO")).setValue(backAt);
                    charges.ComputeLateFee();
                    ++late;
                }
                if (chance(8)) {
                    row.field(QStringLiteral("NOVA_OSTECENJA")).setValue(QString::fromUtf8(oneOf(newDamage)));
                    row.field(QStringLiteral("OSTECENJA_IZNOS")).setValue(Decimal(pick(4, 40) * 25));
                    row.field(QStringLiteral("NAPLATIO_OSTECENJA")).setValue(QString::fromUtf8(oneOf(staff)));
                    row.field(QStringLiteral("NACIN_PLACANJA_OST")).setValue(QString::fromUtf8(oneOf(payments)));
                    row.field(QStringLiteral("VALUTA_OSTECENJA")).setValue(backAt.date().addDays(8));
                    ++damaged;
                }
            } else {
                ++open;
            }
            if (!charges.priceProblem().isEmpty()) { row.cancel(); continue; }
            row.field(QStringLiteral("IDUGOVORA")).setValue(nextId("GEN_UGOVORI_ID"));
            dm.IBTransaction1.commit();
            row.post();
            dm.IBTransaction2.commit();
            ++contracts;
        }
    }
    row.close();
    // one vehicle retired from the fleet, with its history kept
    for (const Vehicle& v : vehicles) {
        db::Statement s(&dm.DB, &dm.IBTransaction1);
        s.setSql(QStringLiteral("update VOZILA set AKTIVNO = 'NE' where IDVOZILA = :ID and not exists "
                                "(select 1 from UGOVORI where IDVOZILA = :ID and DATUM_ZAVRSETKA is null)"));
        s.setParam(QStringLiteral("ID"), v.id);
        s.execQuery();
        if (s.rowsAffected() > 0) break;
    }
    dm.IBTransaction1.commit();
}

int demo(const QString& path, const QString& user, const QString& password)
{
    db::TDataModule1 dm;
    db::createDatabase(dm.DB, path, user, password);
    Demo d{dm, QDate::currentDate()};
    d.colours();
    d.fleet();
    d.people();
    d.rentals();
    dm.DB.close();
    std::printf("Baza %s je stvorena: %d vozila, %d korisnika, %d ugovora (%d otvorenih, %d sa zakašnjenjem, %d sa štetom).\n",
                qPrintable(path), int(d.vehicles.size()), int(d.customers.size()), d.contracts, d.open, d.late, d.damaged);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return usage();
    const QString command = args[0];
    const QString path = args[1];
    const QString user = args.value(2, QStringLiteral("SYSDBA"));
    const QString password = args.value(3);
    try {
        if (command == QLatin1String("create") || command == QLatin1String("demo")) {
            bool local = !path.contains(QLatin1Char(':')) || (QDir::isAbsolutePath(path) && path.indexOf(QLatin1Char(':')) < 0);
            if (local) QDir().mkpath(QFileInfo(path).absolutePath());
            if (command == QLatin1String("demo")) return demo(path, user, password);
            db::Connection c;
            db::createDatabase(c, path, user, password);
            c.close();
            std::printf("Baza %s je stvorena.\n", qPrintable(path));
            return 0;
        }
        return usage();
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "Greška: %s\n", qPrintable(e.message()));
        return 1;
    }
}
