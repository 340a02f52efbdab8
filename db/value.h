#pragma once
// One column or parameter value as the data layer carries it.
#include "db/decimal.h"
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <variant>

namespace db {

class Value {
public:
    enum class Kind { Null, Integer, Decimal, Text, Date, DateTime };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(int64_t(v)) {}
    Value(int64_t v) : v_(v) {}
    Value(Decimal v) : v_(v) {}
    Value(const QString& v) : v_(v) {}
    Value(const char* v) : v_(QString::fromUtf8(v)) {}
    Value(const QDate& v) { if (v.isValid()) v_ = v; }
    Value(const QDateTime& v) { if (v.isValid()) v_ = v; }

    Kind kind() const { return Kind(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Conversions; an empty (NULL) value reads as 0, "" or an invalid date.
    int64_t toInt() const;          // decimals are rounded half to even; text is parsed
    int toInt32() const { return int(toInt()); }
    Decimal toDecimal() const;
    QString toString() const;       // plain text: decimals with '.', dates ISO
    QDate toDate() const;
    QDateTime toDateTime() const;

    QVariant toVariant() const;
    static Value fromVariant(const QVariant& v);

    bool operator==(const Value& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, int64_t, Decimal, QString, QDate, QDateTime> v_;
};

} // namespace db
