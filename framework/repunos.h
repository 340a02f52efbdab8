#pragma once
// TFRepUnos: the base of the modal dialogs that insert, change or delete one row of one table.
//
// The base knows no table's columns. From TableName, KeyFields ("A;B;C") and KeyValue it reads
// the row with SELECT *, learns ColumnNames from the result, builds the INSERT or UPDATE over all
// columns and the DELETE over the key columns, and runs each through IBSQL1 on IBTransaction1,
// committing at once. New keys come from generators through IBSQL_ID (on Read).
//
// A derived editor (for example the customer editor):
//
//   class TFKorisnikUnos : public fw::TFRepUnos {
//   public:
//       explicit TFKorisnikUnos(QWidget* parent = nullptr) : TFRepUnos(parent) {
//           setWindowTitle("Korisnik");
//           // its controls go on TabSheet1 (or on pages it adds to PageControl1);
//           // the first focusable control of the current page is "the first control"
//       }
//   protected:
//       void PrepareNewRecord() override;   // focusFirstControl(), then the new-row defaults
//       void PuniFormu() override;          // controls <- IBSQL1.field("NAZIV_KORISNIKA") ...
//                                           // (after LoadRecord; a new row reads as all NULL)
//       bool ValidateInput() override;      // warnings through fw::dialogs(); false = refuse
//       bool PuniSlog() override;           // IBSQL1.setParam("IDKORISNIKA", Tag == -1
//                                           //   ? NextGeneratorValue("GEN_KORISNICI_ID")
//                                           //   : KeyValue.at(0)); ... return true;
//       void FormShow() override { TFRepUnos::FormShow(); PageControl1->setCurrentIndex(0); }
//   };
//
// Callers set TableName, KeyFields, KeyValue and Tag before each modal showing (or use the
// four-argument constructor for a dialog that lives for one showing):
//
//   dlg->TableName = "KORISNICI"; dlg->KeyFields = "IDKORISNIKA";
//   dlg->KeyValue = {id};   // braces: an array; a bare value is a single value
//   dlg->Tag = id;          // -1 for a new row
//   if (dlg->exec() == QDialog::Accepted) { dlg->IBSQL1.param("IDKORISNIKA") ... }
//
// The values just written stay readable from IBSQL1's parameters after an OK result.
//
// Database errors are not caught: they propagate out of BSnimiClick / BBrisanjeClick (and so
// out of the button's click) to the application's standard error box; the dialog stays open
// with its contents and Tag unchanged. Before the error leaves, the write transaction is rolled
// back, so nothing of a half-done save stays pending on the shared IBTransaction1. The show
// sequence runs inside showEvent, where an escaping exception would break the modal showing,
// so a failure there is shown in the standard error box (fw::dialogs().error) directly.
//
// The UPDATE finds its row by the key the dialog was opened with: its WHERE clause uses the
// parameters OLD_<key column>, which SaveRecord sets from KeyValue (a key column beyond the
// elements of KeyValue takes the value PuniSlog gave it). So a changed key column is saved.
// An UPDATE or DELETE that touches no row (deleted meanwhile elsewhere) is reported with a
// warning and the dialog stays open.
#include "db/statement.h"
#include <QDialog>
#include <QStringList>
#include <concepts>
#include <initializer_list>
#include <vector>

class QCheckBox;
class QFrame;
class QPushButton;
class QTabWidget;
class QWidget;

namespace fw {

// The key of the row a dialog was opened with: an array of values in KeyFields order, or a
// single value. `key = {5}` (braces) is an array of one element; `key = 5` a single value.
class RecordKey {
public:
    RecordKey() = default;                                  // a single empty value
    RecordKey(std::initializer_list<db::Value> values) : values_(values), array_(true) {}
    template <class T>
        requires(std::constructible_from<db::Value, T> && !std::same_as<std::remove_cvref_t<T>, RecordKey>)
    RecordKey(T&& single) : values_{db::Value(std::forward<T>(single))}, array_(false) {}
    static RecordKey array(std::vector<db::Value> values)
    {
        RecordKey k;
        k.values_ = std::move(values);
        k.array_ = true;
        return k;
    }

    bool isArray() const { return array_; }
    int count() const { return int(values_.size()); }
    // Element i of the array; for a single value, element 0 is the value. NULL beyond the end.
    db::Value at(int i) const { return i >= 0 && i < count() ? values_[size_t(i)] : db::Value(); }
    const std::vector<db::Value>& values() const { return values_; }
    bool operator==(const RecordKey&) const = default;

private:
    std::vector<db::Value> values_{db::Value()};
    bool array_ = false;
};

class TFRepUnos : public QDialog {
    Q_OBJECT
public:
    explicit TFRepUnos(QWidget* parent = nullptr);
    TFRepUnos(QWidget* owner, const QString& tableName, const QString& keyFields, const RecordKey& keyValue);
    ~TFRepUnos() override;

    // The editor's state (see the header comment).
    QString TableName;
    QString KeyFields;
    RecordKey KeyValue;
    QStringList ColumnNames;        // the table's columns as SELECT * returns them (LoadRecord)
    bool TraceStatements = false;   // LoadRecord shows its statement first
    int Tag = 0;                    // -1 new row; otherwise edit; 0 after a successful save

    // The statements: every generated statement runs through IBSQL1 (on IBTransaction1);
    // generator values are drawn through IBSQL_ID (on Read unless a derived editor rebinds it
    // with IBSQL_ID.setTransaction(...)).
    db::Statement IBSQL1;
    db::Statement IBSQL_ID;

    // Controls (objectName = member name).
    QFrame* Ptipke = nullptr;
    QPushButton* BSnimi = nullptr;     // "Snimi promjene", default button
    QPushButton* BIzlaz = nullptr;     // "Otkaži", cancel button
    QPushButton* BBrisanje = nullptr;  // "Briši zapis"
    QFrame* Panel2 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QCheckBox* KontUnos = nullptr;     // "Kontinuirani unos"

    // "A;B" -> A, B; a trailing ";" adds nothing; "A;;B" -> A, "", B; names trimmed.
    static QStringList SplitKeyFields(const QString& keyFields);

    // The texts of the warnings for a row that vanished under the dialog.
    static QString rowMissingOnUpdateText();
    static QString rowMissingOnDeleteText();

    // The eleven operations, in slot order.
    virtual int SaveRecord();                       // 0 saved, -1 refused
    virtual void PrepareNewRecord();
    virtual void PuniFormu();
    virtual void LoadRecord();
    virtual void OpenRecord(int tag);
    virtual int NextGeneratorValue(const QString& generator);
    virtual bool ValidateInput();
    virtual void BuildInsertSql();
    virtual void BuildUpdateSql();
    virtual void ShowStatement(db::Statement& statement);
    virtual bool PuniSlog();                        // false: abandon the save, nothing executed

public slots:
    // The three handlers; a derived editor replaces one by overriding it.
    virtual void FormShow();
    virtual void BSnimiClick();
    virtual void BBrisanjeClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Moves the focus to the first focusable control of the current page (else of the dialog).
    void focusFirstControl();
    // The write transaction of IBSQL1 (IBTransaction1 unless rebound).
    db::Transaction* writeTransaction() const { return IBSQL1.transaction(); }

private:
    void buildUi();
    void placeKontUnos();
    void bindToDataModule();
    void addKeyLines(const QStringList& keys);
    void bindKeyByPosition();
    void rollbackQuietly();
};

} // namespace fw
