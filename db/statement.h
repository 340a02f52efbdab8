#pragma once
// A single SQL statement with :NAME parameters, executed and read row by row.
#include "db/connection.h"
#include "db/message.h"
#include "db/value.h"
#include <QStringList>
#include <memory>
#include <vector>

namespace Firebird { class IStatement; class IResultSet; class IMessageMetadata; }

namespace db {

// The text of a statement with its :NAME parameters translated to positional '?'.
// Quoted strings, quoted identifiers and comments are left alone.
struct ParsedSql {
    QString sql;                       // with '?' in place of each parameter
    QStringList names;                 // distinct names, in order of first occurrence
    std::vector<int> positions;        // for each '?', the index into names
};
ParsedSql parseParameters(const QString& text);

// Named parameter values; every occurrence of one name takes the one value.
class Params {
public:
    int count() const { return int(names_.size()); }
    const QString& name(int i) const { return names_[size_t(i)]; }
    int indexOf(const QString& name) const;          // case-insensitive, -1 when missing
    bool contains(const QString& name) const { return indexOf(name) >= 0; }
    const Value& value(int i) const { return values_[size_t(i)]; }
    const Value& value(const QString& name) const;   // throws when missing
    void set(int i, const Value& v);                 // throws when out of range
    void set(const QString& name, const Value& v);   // throws when missing
    void clearValues();
    // Adopt a new list of names, keeping the values of the names that remain.
    void reset(const QStringList& names);
private:
    QStringList names_;
    std::vector<Value> values_;
};

class Statement : public TransactionUser {
public:
    explicit Statement(Connection* connection = nullptr, Transaction* transaction = nullptr);
    ~Statement() override;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void setConnection(Connection* c);
    void setTransaction(Transaction* t);
    Connection* connection() const { return connection_; }
    Transaction* transaction() const { return transaction_; }

    // The text as lines; sent joined with line breaks.
    QStringList& sql() { return lines_; }
    const QStringList& sql() const { return lines_; }
    void setSql(const QString& text);          // replaces the whole text
    void addLine(const QString& line) { lines_ << line; }
    void clearSql() { lines_.clear(); }
    QString text() const;                      // lines joined, each ending with a line break
    // Off: the text is sent as it stands, ':' included (PSQL blocks use :variables).
    void setParamCheck(bool on) { paramCheck_ = on; parsedText_.clear(); }

    Params& params();
    int paramCount() { return params().count(); }
    QString paramName(int i) { return params().name(i); }
    void setParam(const QString& name, const Value& v) { params().set(name, v); }
    void setParam(int i, const Value& v) { params().set(i, v); }
    Value param(const QString& name) { return params().value(name); }
    Value param(int i) { return params().value(i); }

    void prepare();
    // Executes; a selection opens its cursor and reads the first row (eof() when none).
    void execQuery();
    bool next();                               // reads the next row; false at the end
    bool eof() const { return eof_; }
    bool isOpen() const { return cursor_ != nullptr; }
    void close();                              // closes the cursor, keeps the prepared text
    bool isSelect();
    int64_t rowsAffected() const { return rowsAffected_; }
    QString plan();

    int columnCount() const { return int(columns_.size()); }
    const std::vector<ColumnInfo>& columns() const { return columns_; }
    QString columnName(int i) const { return columns_[size_t(i)].name; }
    QStringList columnNames() const;
    int columnIndex(const QString& name) const;      // case-insensitive, -1 when missing
    Value column(int i);                              // of the current row; NULL at eof
    Value field(const QString& name);                 // throws when there is no such column

    // For datasets: the raw buffer of the current row and a reader of its blobs.
    const unsigned char* rowBuffer() const { return outBuffer_.data(); }
    BlobReader blobReader();
    bool fetchRaw();

    void transactionEnded() override { close(); }
    void connectionClosing() override;
    void transactionDestroyed() override { close(); transaction_ = nullptr; }
    void connectionDestroyed() override { connectionClosing(); connection_ = nullptr; }

private:
    void ensureParsed();
    void freeStatement();
    void bindInput(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& meta);
    Connection* connection_ = nullptr;
    Transaction* transaction_ = nullptr;
    QStringList lines_;
    QString parsedText_;
    ParsedSql parsed_;
    Params params_;
    QString preparedText_;
    Firebird::IStatement* stmt_ = nullptr;
    Firebird::IMessageMetadata* outMeta_ = nullptr;
    Firebird::IResultSet* cursor_ = nullptr;
    std::vector<ColumnInfo> columns_;
    std::vector<unsigned char> outBuffer_;
    bool paramCheck_ = true;
    bool eof_ = true;
    bool hasRow_ = false;
    int64_t rowsAffected_ = 0;
};

// Runs a statement that returns one value (a COUNT, a generator) in the given transaction:
// starts it when needed, executes, reads column 0, closes and commits.
Value queryValue(Connection* c, Transaction* t, const QString& sql, const std::vector<std::pair<QString, Value>>& params = {});

} // namespace db
