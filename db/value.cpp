#include "db/value.h"

namespace db {

int64_t Value::toInt() const
{
    switch (kind()) {
    case Kind::Integer: return std::get<int64_t>(v_);
    case Kind::Decimal: return std::get<Decimal>(v_).roundToInteger();
    case Kind::Text: {
        auto d = Decimal::parse(std::get<QString>(v_));
        return d ? d->roundToInteger() : 0;
    }
    default: return 0;
    }
}

Decimal Value::toDecimal() const
{
    switch (kind()) {
    case Kind::Integer: return Decimal::fromInt(std::get<int64_t>(v_));
    case Kind::Decimal: return std::get<Decimal>(v_);
    case Kind::Text: return Decimal::parse(std::get<QString>(v_)).value_or(Decimal());
    default: return Decimal();
    }
}

QString Value::toString() const
{
    switch (kind()) {
    case Kind::Null: return QString();
    case Kind::Integer: return QString::number(std::get<int64_t>(v_));
    case Kind::Decimal: {
        // shortest exact form, at least two decimals
        const Decimal d = std::get<Decimal>(v_);
        return d.rounded(2) == d ? d.toString(2) : d.toString(4);
    }
    case Kind::Text: return std::get<QString>(v_);
    case Kind::Date: return std::get<QDate>(v_).toString(Qt::ISODate);
    case Kind::DateTime: return std::get<QDateTime>(v_).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return QString();
}

QDate Value::toDate() const
{
    switch (kind()) {
    case Kind::Date: return std::get<QDate>(v_);
    case Kind::DateTime: return std::get<QDateTime>(v_).date();
    case Kind::Text: return QDate::fromString(std::get<QString>(v_), Qt::ISODate);
    default: return QDate();
    }
}

QDateTime Value::toDateTime() const
{
    switch (kind()) {
    case Kind::DateTime: return std::get<QDateTime>(v_);
    case Kind::Date: return std::get<QDate>(v_).startOfDay();
    case Kind::Text: return QDateTime::fromString(std::get<QString>(v_), Qt::ISODate);
    default: return QDateTime();
    }
}

QVariant Value::toVariant() const
{
    switch (kind()) {
    case Kind::Null: return QVariant();
    case Kind::Integer: return QVariant(qlonglong(std::get<int64_t>(v_)));
    case Kind::Decimal: return QVariant(std::get<Decimal>(v_).toString(4));
    case Kind::Text: return QVariant(std::get<QString>(v_));
    case Kind::Date: return QVariant(std::get<QDate>(v_));
    case Kind::DateTime: return QVariant(std::get<QDateTime>(v_));
    }
    return QVariant();
}

Value Value::fromVariant(const QVariant& v)
{
    if (!v.isValid() || v.isNull()) return Value();
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::Bool:
        return Value(int64_t(v.toLongLong()));
    case QMetaType::QDate: return Value(v.toDate());
    case QMetaType::QDateTime: return Value(v.toDateTime());
    default: return Value(v.toString());
    }
}

} // namespace db
