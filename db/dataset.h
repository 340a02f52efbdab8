#pragma once
// A query's rows held in a buffer with a current row, fields with their display settings,
// edit states, change callbacks and held (cached) changes written by given statements.
#include "db/statement.h"
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace db {

class Dataset;

class Field {
public:
    enum class Kind { Data, Calculated, Lookup };
    enum class Align { Left, Right, Center };

    const QString& name() const { return name_; }
    QString title() const { return title_.isEmpty() ? name_ : title_; }
    Field& setTitle(const QString& t) { title_ = t; return *this; }
    FieldType type() const { return type_; }
    Field& setType(FieldType t) { type_ = t; return *this; }
    int size() const { return size_; }
    int scale() const { return scale_; }
    bool isVisible() const { return visible_; }
    Field& setVisible(bool v) { visible_ = v; return *this; }
    const QString& displayFormat() const { return displayFormat_; }
    Field& setDisplayFormat(const QString& f) { displayFormat_ = f; return *this; }
    const QString& editFormat() const { return editFormat_; }
    Field& setEditFormat(const QString& f) { editFormat_ = f; return *this; }
    int displayWidth() const { return displayWidth_; }
    Field& setDisplayWidth(int w) { displayWidth_ = w; return *this; }
    // The expression a list sorts by: "TABLE"."COLUMN" for a column read from a table.
    const QString& origin() const { return origin_; }
    Field& setOrigin(const QString& o) { origin_ = o; originSet_ = true; return *this; }
    Kind kind() const { return kind_; }
    bool isData() const { return kind_ == Kind::Data; }   // read from the query (sortable)
    bool isRequired() const { return required_; }
    Field& setRequired(bool r) { required_ = r; return *this; }
    Align alignment() const;
    Field& setAlignment(Align a) { align_ = a; alignSet_ = true; return *this; }
    // Runs synchronously inside every assignment to the field.
    Field& setOnChange(std::function<void(Field&)> f) { onChange_ = std::move(f); return *this; }
    bool hasOnChange() const { return bool(onChange_); }
    // Look-up: shows lookupResultField of the row of `dataset` whose lookupKeyField equals keyField.
    Field& setLookup(Dataset* dataset, const QString& keyField, const QString& lookupKeyField, const QString& resultField);

    Dataset* dataset() const { return dataset_; }
    int index() const { return index_; }      // position among the dataset's fields
    int column() const { return column_; }    // column in the query result, -1 when not read

    // The value in the current row.
    Value value() const;
    void setValue(const Value& v);
    bool isNull() const { return value().isNull(); }
    QString asString() const { return value().toString(); }
    int64_t asInt() const { return value().toInt(); }
    Decimal asDecimal() const { return value().toDecimal(); }
    QDate asDate() const { return value().toDate(); }
    QDateTime asDateTime() const { return value().toDateTime(); }
    QString displayText() const;
    QString formatValue(const Value& v) const;    // by the display format and the locale

private:
    friend class Dataset;
    Dataset* dataset_ = nullptr;
    QString name_, title_, displayFormat_, editFormat_, origin_;
    FieldType type_ = FieldType::Text;
    int size_ = 0, scale_ = 0, displayWidth_ = 0;
    bool visible_ = true, required_ = false, originSet_ = false, alignSet_ = false;
    Align align_ = Align::Left;
    Kind kind_ = Kind::Data;
    int index_ = -1, column_ = -1;
    std::function<void(Field&)> onChange_;
    Dataset* lookupDataset_ = nullptr;
    QString keyField_, lookupKeyField_, lookupResultField_;
};

class Dataset : public QObject, public TransactionUser {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert, CalcFields };
    enum class RowStatus { Unmodified, Modified, Inserted };

    explicit Dataset(Connection* connection = nullptr, Transaction* transaction = nullptr, QObject* parent = nullptr);
    ~Dataset() override;

    void setTransaction(Transaction* t);
    Transaction* transaction() const { return select_.transaction(); }
    Connection* connection() const { return select_.connection(); }

    QStringList& sql() { return select_.sql(); }
    void setSql(const QString& text) { select_.setSql(text); }
    QString text() const { return select_.text(); }
    Params& params() { return select_.params(); }
    void setParam(const QString& name, const Value& v) { select_.setParam(name, v); }

    // Fields: configure before or after opening; settings are kept across re-opening.
    Field& define(const QString& name);                        // a query field, configured ahead
    Field& addCalculated(const QString& name, FieldType type); // computed on the client
    Field& addLookup(const QString& name, FieldType type, Dataset* lookup, const QString& keyField,
                     const QString& lookupKeyField, const QString& resultField);
    int fieldCount() const { return int(fields_.size()); }
    Field& field(int i) { return *fields_[size_t(i)]; }
    Field& field(const QString& name);          // throws when there is no such field
    Field* findField(const QString& name);
    QStringList fieldNames() const;

    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEmpty() const { return rows_.empty(); }
    int recordCount() const { return int(rows_.size()); }

    // Navigation; moving while editing posts the row first.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    int recNo() const { return cur_; }          // row number from 0, -1 when empty
    void setRecNo(int row);                     // clamps to the rows there are

    Value value(const QString& name) { return field(name).value(); }
    void setValue(const QString& name, const Value& v) { field(name).setValue(v); }
    Value valueAt(int row, const Field& f) const;
    QString displayText(int row, const Field& f) const { return f.formatValue(valueAt(row, f)); }

    void append();       // a new row at the end, in insert state
    void edit();
    void post();         // required-field check, then held or written
    void cancel();
    void remove();       // deletes the current row (held or written)

    // Held changes: with cached updates a posted or deleted row waits for applyUpdates().
    void setCachedUpdates(bool on) { cachedUpdates_ = on; }
    bool cachedUpdates() const { return cachedUpdates_; }
    void setInsertSql(const QStringList& lines) { insertSql_ = lines; }
    void setModifySql(const QStringList& lines) { modifySql_ = lines; }
    void setDeleteSql(const QStringList& lines) { deleteSql_ = lines; }
    void setRefreshSql(const QStringList& lines) { refreshSql_ = lines; }
    bool updatesPending() const;
    void applyUpdates();     // runs the statements in the dataset's transaction; OLD_x = x as read
    void cancelUpdates();
    void refreshRecord();    // re-reads the current row with the refresh statement

    // Hooks
    std::function<void(Dataset&)> afterOpen, afterPost, afterScroll, onCalcFields, onNewRecord, afterClose;

    // Display updates of attached views
    void disableControls() { ++disabled_; }
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

    void transactionEnded() override { close(); }
    void connectionClosing() override { close(); }
    void transactionDestroyed() override { close(); }
    void connectionDestroyed() override { close(); }

signals:
    void reset();                 // opened, closed, rows added or removed
    void rowChanged(int row);     // values of a row changed
    void currentChanged(int row); // the current row moved

private:
    friend class Field;
    struct Row {
        const char* packed = nullptr;               // as read, compact, in the arena
        uint32_t packedSize = 0;
        std::unique_ptr<std::vector<Value>> values; // data columns, once changed
        std::unique_ptr<std::vector<Value>> calc;   // calculated fields
        std::unique_ptr<std::vector<Value>> original; // values as last written, for OLD_
        RowStatus status = RowStatus::Unmodified;
    };
    struct Deleted { std::vector<Value> original; RowStatus status; };
    Field* createDef(const QString& name);
    void rebuildFields();
    Value dataValue(const Row& r, int column) const;
    std::vector<Value> materialize(const Row& r) const;
    std::vector<Value> originalValues(const Row& r) const;
    void assign(Field& f, const Value& v);
    void computeCalc(int row);
    int activeRow() const { return state_ == State::CalcFields ? calcRow_ : cur_; }
    void checkBrowseMode();
    void scrolled();
    void changedRow(int row);
    void resetViews();
    void writeRow(int row, const QStringList& sql);
    void writeDeleted(const Deleted& d);
    void bindRowParams(Statement& s, const std::vector<Value>& current, const std::vector<Value>& original);
    Value lookupValue(const Field& f, int row) const;
    Row& currentRow();

    Statement select_;
    std::vector<ColumnInfo> columns_;
    std::vector<std::unique_ptr<Field>> defs_;
    std::vector<Field*> fields_;
    int calcCount_ = 0;
    std::vector<Row> rows_;
    // the packed rows as read live in a few large blocks, freed on closing
    std::vector<std::unique_ptr<char[]>> arena_;
    size_t arenaUsed_ = 0, arenaSize_ = 0;
    const char* store(const QByteArray& bytes);
    std::vector<Deleted> deleted_;
    State state_ = State::Inactive;
    int cur_ = -1, calcRow_ = -1;
    bool eof_ = true, bof_ = true;
    int disabled_ = 0;
    bool cachedUpdates_ = false;
    QStringList insertSql_, modifySql_, deleteSql_, refreshSql_;
    // edit backup
    std::vector<Value> backupValues_, backupCalc_;
    bool backupHadValues_ = false;
    int insertedAt_ = -1;
};

} // namespace db
