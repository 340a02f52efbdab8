#include "contracts/charges.h"
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include <QLocale>

using db::Decimal;
using db::Value;

namespace contracts {

namespace {

// Marks an operation as running for the time of one call; a nested call of the same
// operation finds it set and returns at once.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~Running() { if (entered_) flag_ = false; }
    explicit operator bool() const { return entered_; }
private:
    bool& flag_;
    bool entered_;
};

const char* const kServices[] = {"REZERVACIJA_IZNOS", "DOSTAVA_IZNOS", "KASNJENJE",
                                 "GORIVO_IZNOS", "PRANJE_IZNOS", "OSTECENJA_IZNOS"};

const QString kAmountFormat = QStringLiteral("###,###,##0.00");
const QString kKmFormat = QStringLiteral("###,###,##0");

QString shortDate(const QDate& d) { return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : QString(); }

} // namespace

// ------------------------------------------------------------------ statements

const QStringList& contractColumns()
{
    static const QStringList columns = {
        "IDUGOVORA", "BROJ_UGOVORA", "IDVOZILA", "IDKORISNIKA", "DATUM_UGOVORA", "IDCJENIKA",
        "CIJENA", "CDW", "KOL_DANA", "RABAT_POSTO", "RABAT_IZNOS", "PDV", "VALUTA",
        "NACIN_PLACANJA", "BR_AUT", "BR_CEKA", "NACIN_PL_ODOBRIO", "RABAT_ODOBRIO",
        "STARA_OSTECENJA", "NOVA_OSTECENJA", "OSTECENJA_IZNOS", "NAPLATIO_OSTECENJA",
        "NACIN_PLACANJA_OST", "VALUTA_OSTECENJA", "PRVA_POMOC_DN", "TROKUT_DN", "REZ_GUMA_DN",
        "ZARULJE_DN", "SLEP_UZE", "KM_POLAZAK", "KM_PLANIRANO", "KM_DOLAZAK", "IZNOS_ZAKASNINE",
        "RELACIJA", "SATI_OD", "SATI_DO", "IZNOS_POLOGA", "OBLIK_PLACANJA_POLOGA",
        "REZERVACIJA_IZNOS", "NAJAM_IZNOS", "UKUPNO_CDW", "DOSTAVA_IZNOS", "PRANJE_IZNOS",
        "KASNJENJE", "SVEUKUPNO", "DATUM_ZAVRSETKA", "GORIVO_IZNOS"};
    return columns;
}

QStringList contractRowSql()
{
    return {QStringLiteral("select * from UGOVORI"), QStringLiteral("where IDUGOVORA= :IDUGOVORA")};
}

QStringList freeVehiclesSql()
{
    return {
        QStringLiteral("select"),
        QStringLiteral("cast(regoz.idvozila as char(6)) ||  regoz.regoznaka || CAST('  ' as char(1)) || vozila.marka || CAST('  ' as char(1))  ||  vozila.tip as regoznaka,"),
        QStringLiteral("REGOZ.vrijedi_do,"),
        QStringLiteral("vozila.idvozila,"),
        QStringLiteral("vozila.marka,"),
        QStringLiteral("vozila.tip,"),
        QStringLiteral("vozila.boja,"),
        QStringLiteral("vozila.motor"),
        QStringLiteral("from vozila"),
        QStringLiteral("join regoz"),
        QStringLiteral("    on vozila.idvozila=regoz.idvozila"),
        QStringLiteral("where vozila.aktivno='DA'"),
        QStringLiteral("and vozila.idvozila not in"),
        QStringLiteral("    (select"),
        QStringLiteral("    ugovori.idvozila"),
        QStringLiteral("    from ugovori"),
        QStringLiteral("    where ugovori.datum_ugovora  <=:datum_ugovora"),
        QStringLiteral("    and (ugovori.datum_zavrsetka >=:datum_ugovora or (ugovori.datum_zavrsetka is null))"),
        QStringLiteral("    and ugovori.idugovora<>:idugovora"),
        QStringLiteral("    )"),
        QStringLiteral(" and regoz.vrijedi_do="),
        QStringLiteral("    (select"),
        QStringLiteral("    max(regoz.vrijedi_do)"),
        QStringLiteral("    from regoz"),
        QStringLiteral("    where :datum_ugovora between regoz.vrijedi_od and regoz.vrijedi_do"),
        QStringLiteral("       and vozila.idvozila=regoz.idvozila"),
        QStringLiteral("    group by"),
        QStringLiteral("     regoz.idvozila)"),
    };
}

QStringList priceLookupSql()
{
    return {
        QStringLiteral("select first 1"),
        QStringLiteral(" *"),
        QStringLiteral("from CJENIK"),
        QStringLiteral("where IDVOZILA=:IDVOZILA"),
        QStringLiteral("and DATUMCJENE<=:DATUM_UGOVORA"),
        QStringLiteral("and cjenik.do_dana>=:kol_dana"),
        // of rows with the same band, the newest price date (and of those the last entered)
        QStringLiteral("order by cjenik.do_dana, cjenik.datumcjene desc, cjenik.idcjenika desc"),
    };
}

void prepareContractRow(db::Dataset& row)
{
    if (row.isActive()) throw db::DbError(QStringLiteral("Ugovor se priprema dok je zatvoren."));
    row.sql() = contractRowSql();
    for (const char* name : {"CIJENA", "CDW", "RABAT_POSTO", "RABAT_IZNOS", "PDV", "OSTECENJA_IZNOS",
                             "IZNOS_ZAKASNINE", "IZNOS_POLOGA", "REZERVACIJA_IZNOS", "NAJAM_IZNOS",
                             "UKUPNO_CDW", "DOSTAVA_IZNOS", "PRANJE_IZNOS", "KASNJENJE", "SVEUKUPNO",
                             "GORIVO_IZNOS"})
        row.define(QLatin1String(name)).setDisplayFormat(kAmountFormat);
    for (const char* name : {"KM_POLAZAK", "KM_PLANIRANO", "KM_DOLAZAK"})
        row.define(QLatin1String(name)).setDisplayFormat(kKmFormat);
    for (const char* name : {"UKUPNO1", "UKUPNO2", "UKUPNO3", "OSTALE_USLUGE"})
        if (!row.findField(QLatin1String(name)))
            row.addCalculated(QLatin1String(name), db::FieldType::Numeric).setDisplayFormat(kAmountFormat);
    if (!row.findField(QStringLiteral("RAZLIKA_SATI")))
        row.addCalculated(QStringLiteral("RAZLIKA_SATI"), db::FieldType::Integer);
    if (!row.findField(QStringLiteral("NAZIV_KORISNIKA")))
        row.addCalculated(QStringLiteral("NAZIV_KORISNIKA"), db::FieldType::Text);
    if (!row.findField(QStringLiteral("JMBG")))
        row.addCalculated(QStringLiteral("JMBG"), db::FieldType::Text);
}

// ------------------------------------------------------------------ arithmetic

int64_t wholeHours(const QDateTime& from, const QDateTime& to)
{
    const int64_t ms = (to.date().toJulianDay() - from.date().toJulianDay()) * 86400000LL
                     + (to.time().msecsSinceStartOfDay() - from.time().msecsSinceStartOfDay());
    return (ms < 0 ? -ms : ms) / 3600000LL;
}

Decimal lateFee(Decimal dailyPrice, int64_t hours)
{
    if (hours <= 0) return Decimal();
    const int64_t days = hours / 24, rest = hours % 24;
    const int64_t tenths = rest == 0 ? 0 : rest <= 3 ? rest : 10;   // share of a day, in tenths
    // CIJENA × Days + CIJENA × Fraction, rounded once
    const __int128 units = __int128(dailyPrice.units()) * (days * 10 + tenths);
    return Decimal::fromUnits(db::roundHalfEven(units, 10));
}

Decimal percentOf(Decimal value, Decimal percent)
{
    return Decimal::fromUnits(db::roundHalfEven(__int128(value.units()) * percent.units(),
                                                __int128(Decimal::One) * 100));
}

DisplayTotals displayTotals(db::Dataset& row)
{
    auto amount = [&](const char* n) { return row.field(QLatin1String(n)).asDecimal(); };
    DisplayTotals t;
    t.ukupno1 = (amount("CIJENA") + amount("CDW")) * row.field(QStringLiteral("KOL_DANA")).asInt();
    t.ukupno2 = t.ukupno1 - amount("RABAT_IZNOS");
    for (const char* s : kServices) t.ostaleUsluge += amount(s);
    t.ukupno3 = t.ukupno2 + t.ostaleUsluge;
    const db::Field& od = row.field(QStringLiteral("SATI_OD"));
    const db::Field& dd = row.field(QStringLiteral("SATI_DO"));
    t.razlikaSati = (od.isNull() || dd.isNull()) ? 0 : wholeHours(od.asDateTime(), dd.asDateTime());
    return t;
}

// ------------------------------------------------------------------ ContractCharges

ContractCharges::ContractCharges(db::Dataset& row, db::Connection* connection, db::Transaction* read)
    : row_(&row), connection_(connection), read_(read), vehicles_(connection, read), price_(connection, read)
{
    vehicles_.setObjectName(QStringLiteral("IBQueryVozila"));
    vehicles_.sql() = freeVehiclesSql();
    price_.setObjectName(QStringLiteral("IBQueryCjenik"));
    price_.sql() = priceLookupSql();
}

ContractCharges::ContractCharges(db::Dataset& row, db::TDataModule1& dm)
    : ContractCharges(row, &dm.DB, &dm.Read)
{
}

ContractCharges::~ContractCharges()
{
    detach();
}

void ContractCharges::bindColumn(const QString& column)
{
    std::function<void()> own;
    if (column == QLatin1String("DATUM_UGOVORA") || column == QLatin1String("IDUGOVORA") ||
        column == QLatin1String("IDVOZILA")) {
        own = [this] { RefreshVehiclesAndPrice(); };
    } else if (column == QLatin1String("KOL_DANA")) {
        own = [this] { RefreshVehiclesAndPrice(); RecomputeCharges(); };
    } else if (column == QLatin1String("RABAT_POSTO")) {
        own = [this] { RecomputeCharges(); };
    } else if (column == QLatin1String("REZERVACIJA_IZNOS") || column == QLatin1String("DOSTAVA_IZNOS") ||
               column == QLatin1String("PRANJE_IZNOS") || column == QLatin1String("GORIVO_IZNOS") ||
               column == QLatin1String("OSTECENJA_IZNOS") || column == QLatin1String("IZNOS_ZAKASNINE")) {
        own = [this] { SumServices(); };
    } else if (column == QLatin1String("CIJENA") || column == QLatin1String("IDCJENIKA")) {
        // A new price always carries its charges along at once (LookUpPrice recomputes
        // once, after setting both columns).
        own = [this] { if (!inLookUp_) RecomputeCharges(); };
    }
    row_->define(column).setOnChange([this, own](db::Field&) {
        ComputeTotals();
        if (own) own();
    });
}

void ContractCharges::attach()
{
    if (attached_ || !row_) return;
    for (const QString& c : contractColumns()) bindColumn(c);
    wasActive_ = row_->isActive();
    resetConnection_ = QObject::connect(row_.data(), &db::Dataset::reset, row_.data(), [this] { rowReset(); });
    attached_ = true;
    if (row_->isActive() && !row_->isEmpty() && row_->state() == db::Dataset::State::Browse) {
        wasActive_ = false;
        rowReset();
    }
}

void ContractCharges::detach()
{
    if (!attached_) return;
    attached_ = false;
    QObject::disconnect(resetConnection_);
    if (!row_) return;
    for (const QString& c : contractColumns())
        if (db::Field* f = row_->findField(c)) f->setOnChange(nullptr);
}

// The row was opened, closed, appended to: a freshly read stored contract keeps its own
// price until its vehicle, date or days change; a new row has none.
void ContractCharges::rowReset()
{
    const bool active = row_->isActive();
    const bool opened = active && !wasActive_;
    wasActive_ = active;
    if (opened && !row_->isEmpty() && row_->state() == db::Dataset::State::Browse) {
        storedPrice_ = true;
        loadPending_ = true;
        storedKey_ = currentKey();
        storedRateRead_ = false;
        storedRate_.reset();
        price_.close();
    } else if (!active || row_->state() == db::Dataset::State::Insert) {
        storedPrice_ = false;
        loadPending_ = false;
    }
}

ContractCharges::PriceKey ContractCharges::currentKey()
{
    PriceKey k;
    const db::Field& v = row_->field(QStringLiteral("IDVOZILA"));
    const db::Field& d = row_->field(QStringLiteral("KOL_DANA"));
    k.hasVehicle = !v.isNull();
    k.vehicle = v.asInt();
    k.hasDays = !d.isNull();
    k.days = d.asInt();
    k.date = row_->field(QStringLiteral("DATUM_UGOVORA")).asDate();
    return k;
}

bool ContractCharges::writable() const
{
    if (!row_ || !row_->isActive()) return false;
    const auto s = row_->state();
    return s == db::Dataset::State::Edit || s == db::Dataset::State::Insert;
}

void ContractCharges::warn(const QString& text)
{
    fw::dialogs().warning(text, dialogParent_);
}

void ContractCharges::set(const char* name, const Value& v)
{
    row_->field(QLatin1String(name)).setValue(v);
}

Decimal ContractCharges::amount(const char* name)
{
    return row_->field(QLatin1String(name)).asDecimal();
}

int64_t ContractCharges::integer(const char* name)
{
    return row_->field(QLatin1String(name)).asInt();
}

Decimal ContractCharges::servicesSum()
{
    Decimal sum;
    for (const char* s : kServices) sum += amount(s);
    return sum;
}

Decimal ContractCharges::cdwPosto()
{
    if (storedPrice_) {
        // the stored contract's price row, as long as it still carries the stored price
        if (!storedRateRead_ && row_ && row_->isActive()) {
            storedRateRead_ = true;
            storedRate_.reset();
            const db::Field& id = row_->field(QStringLiteral("IDCJENIKA"));
            if (!id.isNull()) {
                db::Statement s(connection_, read_);
                s.sql() << QStringLiteral("select CIJENA, CDW_POSTO from CJENIK")
                        << QStringLiteral("where IDCJENIKA = :IDCJENIKA");
                s.setParam(QStringLiteral("IDCJENIKA"), id.value());
                s.execQuery();
                if (!s.eof() && s.field(QStringLiteral("CIJENA")).toDecimal() == amount("CIJENA"))
                    storedRate_ = s.field(QStringLiteral("CDW_POSTO")).toDecimal();
                s.close();
            }
        }
        return storedRate_.value_or(Decimal());
    }
    if (!hasPriceRow()) return Decimal();
    return price_.field(QStringLiteral("CDW_POSTO")).asDecimal();
}

// ------------------------------------------------------------------ operations

void ContractCharges::RefreshVehiclesAndPrice()
{
    Running running(inRefresh_);
    if (!running || !row_ || !row_->isActive() || row_->isEmpty()) return;
    const QDate date = row_->field(QStringLiteral("DATUM_UGOVORA")).asDate();
    vehicles_.close();
    vehicles_.setParam(QStringLiteral("datum_ugovora"), Value(date));
    vehicles_.setParam(QStringLiteral("idugovora"), Value(integer("IDUGOVORA")));
    vehicles_.open();
    if (vehicles_.isEmpty() && windowActive_ && windowActive_())
        warn(QStringLiteral("Pozor! Za datum dokumenta: ") + shortDate(date) + QStringLiteral(" nema slobodnih vozila!"));
    if (!writable()) return;
    if (storedPrice_) {
        if (currentKey() == storedKey_) {
            // a stored contract keeps the price it was saved with
            if (loadPending_) {
                loadPending_ = false;
                ComputeTotals();
            }
            return;
        }
        storedPrice_ = false;
        loadPending_ = false;
    }
    LookUpPrice();
}

void ContractCharges::LookUpPrice()
{
    Running running(inLookUp_);
    if (!running || !writable()) return;
    const db::Field& vehicle = row_->field(QStringLiteral("IDVOZILA"));
    const db::Field& days = row_->field(QStringLiteral("KOL_DANA"));
    price_.close();
    price_.setParam(QStringLiteral("IDVOZILA"), Value(vehicle.isNull() ? int64_t(0) : vehicle.asInt()));
    price_.setParam(QStringLiteral("DATUM_UGOVORA"), Value(row_->field(QStringLiteral("DATUM_UGOVORA")).asDate()));
    price_.setParam(QStringLiteral("kol_dana"), Value(days.isNull() ? int64_t(0) : days.asInt()));
    price_.open();
    storedPrice_ = false;
    loadPending_ = false;
    if (!price_.isEmpty()) {
        set("IDCJENIKA", price_.field(QStringLiteral("IDCJENIKA")).value());
        set("CIJENA", Value(price_.field(QStringLiteral("CIJENA")).asDecimal()));
    } else {
        set("IDCJENIKA", Value());
        set("CIJENA", Value(Decimal()));
    }
    RecomputeCharges();
}

void ContractCharges::RecomputeCharges()
{
    Running running(inRecompute_);
    if (!running || !writable()) return;
    const Decimal cijena = amount("CIJENA");
    // 1. CDW per day; a stored contract whose price row has changed since keeps its CDW
    const Decimal rate = cdwPosto();
    Decimal cdw;
    if (storedPrice_ && !storedRate_) {
        cdw = amount("CDW");
    } else {
        cdw = percentOf(cijena, rate);
        set("CDW", Value(cdw));
    }
    const int64_t days = integer("KOL_DANA");
    // 2. base, exact
    const Decimal base = (cijena + cdw) * days;
    // 3. discount
    const Decimal rabat = percentOf(base, amount("RABAT_POSTO"));
    set("RABAT_IZNOS", Value(rabat));
    // 4. with the services
    const Decimal ukupno3 = amount("OSTALE_USLUGE") + (base - rabat);
    set("UKUPNO3", Value(ukupno3));
    // 5. tax, 22 %
    const Decimal pdv = percentOf(ukupno3, Decimal(22));
    set("PDV", Value(pdv));
    // 6. grand total
    const Decimal sveukupno = ukupno3 + pdv;
    set("SVEUKUPNO", Value(sveukupno));
    // 7. CDW for all days
    const Decimal ukupnoCdw = cdw * days;
    set("UKUPNO_CDW", Value(ukupnoCdw));
    // 8. the rental's share
    set("NAJAM_IZNOS", Value(sveukupno - servicesSum() - ukupnoCdw));
}

void ContractCharges::SumServices()
{
    Running running(inSum_);
    if (!running || !writable()) return;
    set("KASNJENJE", Value(amount("IZNOS_ZAKASNINE")));
    set("OSTALE_USLUGE", Value(servicesSum()));
    RecomputeCharges();
}

void ContractCharges::ComputeTotals()
{
    Running running(inTotals_);
    if (!running || !writable()) return;
    const DisplayTotals t = displayTotals(*row_);
    set("UKUPNO1", Value(t.ukupno1));
    set("UKUPNO2", Value(t.ukupno2));
    set("OSTALE_USLUGE", Value(t.ostaleUsluge));
    set("UKUPNO3", Value(t.ukupno3));
    set("RAZLIKA_SATI", Value(t.razlikaSati));
}

LateFeeResult ContractCharges::ComputeLateFee()
{
    Running running(inLateFee_);
    if (!running || !writable()) return LateFeeResult::Computed;
    const db::Field& od = row_->field(QStringLiteral("SATI_OD"));
    const db::Field& dd = row_->field(QStringLiteral("SATI_DO"));
    if (od.isNull()) {
        warn(QStringLiteral("Niste unijeli polje \"Sati od\". Zakasnina se ne može obračunati!"));
        return LateFeeResult::MissingFrom;
    }
    if (dd.isNull()) {
        warn(QStringLiteral("Niste unijeli polje \"Sati do\". Zakasnina se ne može obračunati!"));
        return LateFeeResult::MissingTo;
    }
    const QDateTime from = od.asDateTime(), to = dd.asDateTime();
    const int64_t hours = wholeHours(from, to);
    set("RAZLIKA_SATI", Value(hours));
    // on or after, compared as written
    const bool notLater = from.date() > to.date() ||
                          (from.date() == to.date() && from.time() >= to.time());
    if (notLater) {
        set("IZNOS_ZAKASNINE", Value(Decimal()));
        return LateFeeResult::Computed;
    }
    set("IZNOS_ZAKASNINE", Value(lateFee(amount("CIJENA"), hours)));
    return LateFeeResult::Computed;
}

void ContractCharges::ResetAmounts()
{
    Running running(inReset_);
    if (!running || !writable()) return;
    const Value zero(Decimal{});
    for (const char* n : {"CIJENA", "CDW"}) set(n, zero);
    set("KOL_DANA", Value(int64_t(0)));
    for (const char* n : {"RABAT_POSTO", "RABAT_IZNOS", "PDV", "UKUPNO1", "UKUPNO2", "UKUPNO3", "SVEUKUPNO",
                          "DOSTAVA_IZNOS", "REZERVACIJA_IZNOS", "IZNOS_ZAKASNINE", "PRANJE_IZNOS",
                          "OSTECENJA_IZNOS", "GORIVO_IZNOS", "OSTALE_USLUGE"})
        set(n, zero);
}

// ------------------------------------------------------------------ editor helpers

void ContractCharges::openContract(int id)
{
    row_->close();
    row_->setParam(QStringLiteral("IDUGOVORA"), Value(id));
    row_->open();
    if (row_->isEmpty()) return;
    row_->edit();
    ComputeTotals();
    RefreshVehiclesAndPrice();
}

void ContractCharges::newContractDefaults(const QDate& date)
{
    set("DATUM_UGOVORA", Value(date));
    set("IDUGOVORA", Value(int64_t(0)));
    for (const char* n : {"PRVA_POMOC_DN", "TROKUT_DN", "REZ_GUMA_DN", "ZARULJE_DN", "SLEP_UZE"})
        set(n, Value(QStringLiteral("NE")));
    ResetAmounts();
}

QString ContractCharges::vehicleText()
{
    if (!row_ || !vehicles_.isActive()) return QString();
    const db::Field& v = row_->field(QStringLiteral("IDVOZILA"));
    if (v.isNull()) return QString();
    const db::Field& key = vehicles_.field(QStringLiteral("IDVOZILA"));
    const db::Field& text = vehicles_.field(QStringLiteral("REGOZNAKA"));
    for (int i = 0; i < vehicles_.recordCount(); ++i)
        if (vehicles_.valueAt(i, key).toInt() == v.asInt()) return vehicles_.valueAt(i, text).toString();
    return QString();
}

QString ContractCharges::priceProblem()
{
    const db::Field& id = row_->field(QStringLiteral("IDCJENIKA"));
    const bool valid = amount("CIJENA").roundToInteger() >= 1 && !id.isNull() && id.asInt() > 0;
    if (valid) return QString();
    return QStringLiteral("Vozilo: ") + vehicleText().trimmed() + QStringLiteral(", za broj dana: ") +
           QString::number(integer("KOL_DANA")) + QStringLiteral(" i datum: ") +
           shortDate(row_->field(QStringLiteral("DATUM_UGOVORA")).asDate()) +
           QStringLiteral(" nema cijenu u cjeniku!");
}

bool ContractCharges::checkPrice()
{
    const QString problem = priceProblem();
    if (problem.isEmpty()) return true;
    warn(problem);
    return false;
}

} // namespace contracts
