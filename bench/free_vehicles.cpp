// The free-vehicle list and the price lookup of one contract on a large database: the
// charge rules' RefreshVehiclesAndPrice against the same two statements run bare over
// fbclient, in one run on one generated database.
//   bench_free_vehicles [CONTRACTS]      (default 200,000; 500 vehicles, 20,000 customers)
#include "contracts/charges.h"
#include "db/datamodule.h"
#include "db/schema.h"
#include <firebird/Interface.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

using namespace Firebird;
using db::Decimal;
using db::Value;

namespace {

const int kVehicles = 500;
const int kCustomers = 20000;
const int kRuns = 30;

void build(db::TDataModule1& dm, const QDate& today, int contracts)
{
    std::mt19937 rng(7);
    auto pick = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    db::Transaction& t = dm.IBTransaction1;

    db::Statement v(&dm.DB, &t);
    v.setSql(QStringLiteral("insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) "
                            "values (:ID, :MARKA, :TIP, 0, '1.6', :SASIJA, :AKTIVNO)"));
    db::Statement r(&dm.DB, &t);
    r.setSql(QStringLiteral("insert into REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) "
                            "values (:P, :ID, :OD, :DO, 0)"));
    db::Statement c(&dm.DB, &t);
    c.setSql(QStringLiteral("insert into CJENIK (IDCJENIKA, DATUMCJENE, IDVOZILA, DO_DANA, CIJENA, CDW_POSTO) "
                            "values (:IDC, :D, :ID, :DANA, :CIJENA, 5)"));
    const char* makes[] = {"Volkswagen", "Opel", "Renault", "Škoda", "Peugeot", "Fiat", "Ford", "Toyota"};
    int priceId = 100000;
    for (int id = 1; id <= kVehicles; ++id) {
        v.setParam(QStringLiteral("ID"), id);
        v.setParam(QStringLiteral("MARKA"), QString::fromUtf8(makes[id % 8]));
        v.setParam(QStringLiteral("TIP"), QStringLiteral("Model %1").arg(id % 17));
        v.setParam(QStringLiteral("SASIJA"), QStringLiteral("VIN%1").arg(id, 8, 10, QLatin1Char('0')));
        v.setParam(QStringLiteral("AKTIVNO"), id % 50 == 0 ? "NE" : "DA");
        v.execQuery();
        const QDate renewed = today.addDays(-pick(0, 360));
        for (int k = 0; k < 2; ++k) {
            r.setParam(QStringLiteral("P"), QStringLiteral("ZG %1-AB").arg(1000 + id));
            r.setParam(QStringLiteral("ID"), id);
            r.setParam(QStringLiteral("OD"), k == 0 ? renewed.addYears(-1) : renewed);
            r.setParam(QStringLiteral("DO"), k == 0 ? renewed.addDays(-1) : renewed.addYears(1).addDays(-1));
            r.execQuery();
        }
        for (const QDate& from : {today.addYears(-10), today.addYears(-1)})
            for (int band : {2, 6, 13, 20, 29, 999}) {
                c.setParam(QStringLiteral("IDC"), ++priceId);
                c.setParam(QStringLiteral("D"), from);
                c.setParam(QStringLiteral("ID"), id);
                c.setParam(QStringLiteral("DANA"), band);
                c.setParam(QStringLiteral("CIJENA"), Decimal(40 + id % 30 + (band < 10 ? 10 : 0)));
                c.execQuery();
            }
    }
    db::Statement k(&dm.DB, &t);
    k.setSql(QStringLiteral("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, RABAT) "
                            "values (:ID, :N, 'NE', 'Ilica 1', 0)"));
    for (int id = 1; id <= kCustomers; ++id) {
        k.setParam(QStringLiteral("ID"), id);
        k.setParam(QStringLiteral("N"), QStringLiteral("Korisnik %1 Čačić").arg(id));
        k.execQuery();
    }
    t.commit();

    // per vehicle a run of rentals over ten years, each returned before the next; the last
    // one of some vehicles still out
    db::Statement u(&dm.DB, &t);
    u.setSql(QStringLiteral("insert into UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA, "
                            "IDCJENIKA, CIJENA, KOL_DANA, SVEUKUPNO, DATUM_ZAVRSETKA) "
                            "values (:ID, :BROJ, :V, :K, :D, :IDC, 50, :DANA, 305, :Z)"));
    const int perVehicle = contracts / kVehicles;
    const QDate start = today.addYears(-10);
    const int span = int(start.daysTo(today));
    int id = 0;
    for (int vehicle = 1; vehicle <= kVehicles; ++vehicle) {
        const int step = span / perVehicle;
        for (int n = 0; n < perVehicle; ++n) {
            const QDate d = start.addDays(n * step + pick(0, step / 3));
            const int days = pick(1, std::max(1, step / 2));
            const bool last = n == perVehicle - 1;
            const bool out = last && vehicle % 3 == 0;
            u.setParam(QStringLiteral("ID"), ++id);
            u.setParam(QStringLiteral("BROJ"), QString::number(id));
            u.setParam(QStringLiteral("V"), vehicle);
            u.setParam(QStringLiteral("K"), pick(1, kCustomers));
            u.setParam(QStringLiteral("D"), d);
            u.setParam(QStringLiteral("IDC"), 100001);
            u.setParam(QStringLiteral("DANA"), days);
            u.setParam(QStringLiteral("Z"), out ? Value() : Value(std::min(today, d.addDays(days))));
            u.execQuery();
            if (id % 20000 == 0) t.commit();
        }
    }
    t.commit();
    if (qEnvironmentVariableIsSet("KAVOR_BENCH_STATISTICS")) {
        for (const char* index : {"IX_UGOVORI_DATUM", "IX_UGOVORI_VOZILO_POVRATAK", "IX_UGOVORI_VOZILO_DATUM", "FK_UGOVORI_VOZILA", "FK_UGOVORI_KORISNICI",
                                  "IX_REGOZ_VOZILO_VRIJEDI", "IX_CJENIK_VOZILO_DANA", "IX_CJENIK_VOZILO_DATUM", "PK_UGOVORI"}) {
            db::Statement s(&dm.DB, &t);
            s.setSql(QStringLiteral("SET STATISTICS INDEX %1").arg(QLatin1String(index)));
            s.execQuery();
        }
        t.commit();
    }
}

// ------------------------------------------------------------------ the bare side

struct Bare {
    IStatement* stmt = nullptr;
    IMessageMetadata* in = nullptr;
    IMessageMetadata* out = nullptr;
    std::vector<unsigned char> inBuf, outBuf;

    Bare(ThrowStatusWrapper& st, IAttachment* att, ITransaction* tra, const QString& text)
    {
        const QByteArray sql = db::parseParameters(text).sql.toLatin1();
        stmt = att->prepare(&st, tra, 0, sql.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
        in = stmt->getInputMetadata(&st);
        out = stmt->getOutputMetadata(&st);
        inBuf.assign(in->getMessageLength(&st), 0);
        outBuf.assign(out->getMessageLength(&st), 0);
    }
    ~Bare()
    {
        in->release();
        out->release();
    }
    // parameters: a date for each DATE, the integers in order for the rest
    void bind(ThrowStatusWrapper& st, const QDate& date, std::vector<int> ints)
    {
        size_t next = 0;
        for (unsigned i = 0; i < in->getCount(&st); ++i) {
            unsigned char* p = inBuf.data() + in->getOffset(&st, i);
            std::memset(inBuf.data() + in->getNullOffset(&st, i), 0, 2);
            const unsigned type = in->getType(&st, i) & ~1u;
            if (type == SQL_TYPE_DATE) {
                const ISC_DATE d = ISC_DATE(date.toJulianDay() - 2400001);
                std::memcpy(p, &d, sizeof d);
            } else if (type == SQL_LONG) {
                const int32_t x = ints[next++];
                std::memcpy(p, &x, 4);
            } else {
                const int64_t x = ints[next++];
                std::memcpy(p, &x, 8);
            }
        }
    }
    int run(ThrowStatusWrapper& st, ITransaction* tra, bool all)
    {
        IResultSet* rs = stmt->openCursor(&st, tra, in, inBuf.data(), out, 0);
        int rows = 0;
        while (rs->fetchNext(&st, outBuf.data()) == IStatus::RESULT_OK) {
            ++rows;
            if (!all) break;
        }
        rs->close(&st);
        return rows;
    }
    void free(ThrowStatusWrapper& st) { stmt->free(&st); stmt = nullptr; }
};

QString joined(const QStringList& lines) { return lines.join(QLatin1Char('\n')) + QLatin1Char('\n'); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    const int contracts = argc > 1 ? std::max(kVehicles, atoi(argv[1])) : 200000;
    QTemporaryDir dir;
    const QDate today = QDate::currentDate();
    try {
        db::TDataModule1 dm;
        QElapsedTimer timer;
        timer.start();
        const QString path = qEnvironmentVariable("KAVOR_BENCH_DATABASE", dir.filePath(QStringLiteral("bench.fdb")));
        db::createDatabase(dm.DB, path);
        build(dm, today, contracts);
        std::printf("database: %d vehicles, %d customers, %d contracts, built in %.1f s\n", kVehicles, kCustomers,
                    contracts / kVehicles * kVehicles, double(timer.elapsed()) / 1000);

        // a new contract of a date in the last month, for a vehicle and five days
        const QDate date = today.addDays(-12);
        db::Dataset row(&dm.DB, &dm.IBTransaction2);
        contracts::prepareContractRow(row);
        contracts::ContractCharges charges(row, dm);
        charges.attach();
        row.setParam(QStringLiteral("IDUGOVORA"), Value(-1));
        row.open();
        row.append();
        charges.newContractDefaults(date);
        const int vehicle = charges.vehicles().isEmpty() ? 1 : charges.vehicles().field(QStringLiteral("IDVOZILA")).value().toInt32();
        row.field(QStringLiteral("IDVOZILA")).setValue(vehicle);
        row.field(QStringLiteral("KOL_DANA")).setValue(5);

        for (const QStringList& sql : {contracts::freeVehiclesSql(), contracts::priceLookupSql()}) {
            db::Statement s(&dm.DB, &dm.Read);
            s.sql() = sql;
            std::printf("plan: %s\n", qPrintable(s.plan().simplified()));
        }

        IAttachment* att = dm.DB.attachment();
        ThrowStatusWrapper st(fb_get_master_interface()->getStatus());
        const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
        ITransaction* tra = att->startTransaction(&st, sizeof tpb, tpb);
        Bare freeList(st, att, tra, joined(contracts::freeVehiclesSql()));
        Bare lookup(st, att, tra, joined(contracts::priceLookupSql()));

        // warm both sides, then alternate them
        int listed = 0, bareListed = 0;
        for (int i = 0; i < 3; ++i) {
            charges.RefreshVehiclesAndPrice();
            freeList.bind(st, date, {0});
            freeList.run(st, tra, true);
        }
        std::vector<double> layer, bare;
        for (int i = 0; i < kRuns; ++i) {
            timer.restart();
            charges.RefreshVehiclesAndPrice();
            layer.push_back(double(timer.nsecsElapsed()) / 1e6);
            listed = charges.vehicles().recordCount();

            timer.restart();
            freeList.bind(st, date, {0});
            bareListed = freeList.run(st, tra, true);
            lookup.bind(st, date, {vehicle, 5});
            lookup.run(st, tra, false);
            bare.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        freeList.free(st);
        lookup.free(st);
        tra->commit(&st);

        std::sort(layer.begin(), layer.end());
        std::sort(bare.begin(), bare.end());
        const double x = layer[layer.size() / 2], y = bare[bare.size() / 2];
        std::printf("free vehicles on %s: %d (bare %d); price %s; median of %d runs\n",
                    qPrintable(date.toString(Qt::ISODate)), listed, bareListed,
                    qPrintable(row.field(QStringLiteral("CIJENA")).asDecimal().toString(2)), kRuns);
        std::printf("bench free-vehicles: refresh %.2f ms, bare %.2f ms, ratio %.2f\n", x, y, x / y);
        row.close();
        dm.DB.close();
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "Greška: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const FbException& e) {
        char text[512];
        fb_get_master_interface()->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
        std::fprintf(stderr, "Greška: %s\n", text);
        return 1;
    }
    return 0;
}
