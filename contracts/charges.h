#pragma once
// The charge rules of a rental contract: the free-vehicle list and the price lookup, CDW,
// discount, tax and totals, the sum of the services and the late fee. They work on one
// contract row (a dataset in insert or edit state) and the data module; no window code.
//
// Use from the contract editor:
//
//     prepareContractRow(IBQuery1);                 // once, before the first opening
//     ContractCharges charges(IBQuery1, *db::DataModule1());
//     charges.attach();                             // the change bindings
//     charges.setWindowActive([this] { return isActiveWindow(); });
//     ...
//     charges.openContract(tag);                    // an existing contract
//     IBQuery1.append(); charges.newContractDefaults(date);   // a new one
//
// Each assignment to a stored column runs ComputeTotals and then the column's own
// operation, synchronously inside the assignment.
#include "db/dataset.h"
#include <QDate>
#include <QDateTime>
#include <QMetaObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;
namespace db { class TDataModule1; }

namespace contracts {

// The stored columns of UGOVORI, in table order.
const QStringList& contractColumns();
// The contract row's statement: the row by IDUGOVORA.
QStringList contractRowSql();
// The free-vehicle query and the price lookup, line by line.
QStringList freeVehiclesSql();
QStringList priceLookupSql();

// Sets up the dataset of the contract row: its statement, the display-only values
// UKUPNO1, UKUPNO2, UKUPNO3, OSTALE_USLUGE (amounts), RAZLIKA_SATI (integer), the customer's
// NAZIV_KORISNIKA and JMBG (texts), and the display formats of amounts and kilometres.
// Call once, while the dataset is closed.
void prepareContractRow(db::Dataset& row);

// Whole hours between two moments: the absolute difference, rounded down. Counted on the
// moments as written (wall-clock time), so a change of daylight-saving time adds or
// removes no hour.
int64_t wholeHours(const QDateTime& from, const QDateTime& to);
// The late fee for the given whole hours at the daily price: one price per 24 hours, and
// for the hours left over 10, 20 or 30 % of it for 1 to 3 hours, a full price from 4 hours.
db::Decimal lateFee(db::Decimal dailyPrice, int64_t hours);
// value × percent / 100, rounded once to four digits, halves to even.
db::Decimal percentOf(db::Decimal value, db::Decimal percent);

// The display totals of a row as read (ComputeTotals' rules), for any state of the dataset.
struct DisplayTotals {
    db::Decimal ukupno1, ukupno2, ostaleUsluge, ukupno3;
    int64_t razlikaSati = 0;
};
DisplayTotals displayTotals(db::Dataset& row);

enum class LateFeeResult {
    Computed,       // RAZLIKA_SATI and IZNOS_ZAKASNINE set
    MissingFrom,    // "Sati od" empty: warned, nothing changed; focus its date picker
    MissingTo       // "Sati do" empty: likewise for "Sati do"
};

class ContractCharges {
public:
    // `read`: the read-only transaction the free-vehicle list and the price lookup read through.
    ContractCharges(db::Dataset& row, db::Connection* connection, db::Transaction* read);
    ContractCharges(db::Dataset& row, db::TDataModule1& dm);
    ~ContractCharges();
    ContractCharges(const ContractCharges&) = delete;
    ContractCharges& operator=(const ContractCharges&) = delete;

    // Attaches the operations to the change events of the row's stored columns (replacing
    // any change callback they had) and starts watching the row's openings. Call once.
    void attach();
    void detach();

    // Whether the editor window is the active window: the no-vehicle warning is shown only then.
    void setWindowActive(std::function<bool()> isActive) { windowActive_ = std::move(isActive); }
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

    db::Dataset& row() { return *row_; }
    // The free-vehicle list (IBQueryVozila) and the price lookup (IBQueryCjenik), on `read`.
    db::Dataset& vehicles() { return vehicles_; }
    db::Dataset& price() { return price_; }
    // The current price-list row: the row the last LookUpPrice found.
    bool hasPriceRow() { return price_.isActive() && !price_.isEmpty(); }
    // The CDW percentage RecomputeCharges uses now (see storedPrice()).
    db::Decimal cdwPosto();
    // True while the row holds a stored contract's own price: from its opening until its
    // vehicle, date or number of days changes. Meanwhile no refresh looks the price up again.
    bool storedPrice() const { return storedPrice_; }

    // The operations.
    void RefreshVehiclesAndPrice();
    void LookUpPrice();
    void RecomputeCharges();
    void SumServices();
    void ComputeTotals();
    LateFeeResult ComputeLateFee();
    void ResetAmounts();

    // Opens the stored contract `id` in edit state, with its totals and the free-vehicle list
    // of its date; its price and amounts stay as stored.
    void openContract(int id);
    // The defaults of a row just appended: DATUM_UGOVORA, IDUGOVORA 0, the five equipment
    // flags "NE", then ResetAmounts.
    void newContractDefaults(const QDate& date);

    // The save check of the price: empty when the row has a valid price, else the warning text.
    QString priceProblem();
    // The same check, showing the warning; false when the save is to be refused.
    bool checkPrice();
    // The display text of the row's vehicle in the free-vehicle list, empty when not listed.
    QString vehicleText();

private:
    struct PriceKey {
        bool operator==(const PriceKey&) const = default;
        int64_t vehicle = 0, days = 0;
        bool hasVehicle = false, hasDays = false;
        QDate date;
    };
    PriceKey currentKey();
    bool writable() const;
    void rowReset();
    void warn(const QString& text);
    void set(const char* name, const db::Value& v);
    db::Decimal amount(const char* name);
    int64_t integer(const char* name);
    db::Decimal servicesSum();
    void bindColumn(const QString& column);

    QPointer<db::Dataset> row_;
    db::Connection* connection_;
    db::Transaction* read_;
    db::Dataset vehicles_;
    db::Dataset price_;
    std::function<bool()> windowActive_;
    QWidget* dialogParent_ = nullptr;
    QMetaObject::Connection resetConnection_;
    bool attached_ = false;
    bool wasActive_ = false;

    // a stored contract's own price
    bool storedPrice_ = false;
    bool loadPending_ = false;     // its first refresh has yet to run
    PriceKey storedKey_;
    bool storedRateRead_ = false;
    std::optional<db::Decimal> storedRate_;   // none: its CDW stays as stored

    // operations now running (none runs inside itself)
    bool inRefresh_ = false, inLookUp_ = false, inRecompute_ = false, inSum_ = false,
         inTotals_ = false, inLateFee_ = false, inReset_ = false;
};

} // namespace contracts
