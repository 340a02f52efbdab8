#include "db/message.h"
#include "db/cp1250.h"
#include "db/fb.h"
#include <cstring>

using namespace Firebird;

namespace db {

bool isDecimalType(FieldType t) { return t == FieldType::Numeric || t == FieldType::Float; }
bool isBinaryType(FieldType t) { return t == FieldType::Blob; }
bool isIntegerType(FieldType t) { return t == FieldType::Integer || t == FieldType::SmallInt || t == FieldType::BigInt; }
bool isTextType(FieldType t) { return t == FieldType::Text || t == FieldType::FixedText || t == FieldType::Memo; }

uint32_t encodeTime(const QTime& t)
{
    return uint32_t(t.msecsSinceStartOfDay()) * 10;   // units of 1/10000 s
}

QTime decodeTime(uint32_t v) { return QTime::fromMSecsSinceStartOfDay(int(v / 10)); }

static FieldType classify(unsigned type, int scale, int subType)
{
    switch (type) {
    case SQL_VARYING: return FieldType::Text;
    case SQL_TEXT: return FieldType::FixedText;
    case SQL_SHORT: return scale < 0 ? FieldType::Numeric : FieldType::SmallInt;
    case SQL_LONG: return scale < 0 ? FieldType::Numeric : FieldType::Integer;
    case SQL_INT64: return scale < 0 ? FieldType::Numeric : FieldType::BigInt;
    case SQL_FLOAT: case SQL_DOUBLE: case SQL_D_FLOAT: return FieldType::Float;
    case SQL_TYPE_DATE: return FieldType::Date;
    case SQL_TYPE_TIME: return FieldType::Time;
    case SQL_TIMESTAMP: return FieldType::DateTime;
    case SQL_BLOB: return subType == 1 ? FieldType::Memo : FieldType::Blob;
    case SQL_BOOLEAN: return FieldType::Boolean;
    default: return FieldType::Blob;
    }
}

std::vector<ColumnInfo> describe(IMessageMetadata* meta)
{
    fb::Status st;
    std::vector<ColumnInfo> cols;
    unsigned n = meta->getCount(&st);
    st.check();
    cols.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        ColumnInfo c;
        const char* alias = meta->getAlias(&st, i);
        const char* field = meta->getField(&st, i);
        c.name = QString::fromLatin1(alias && *alias ? alias : field);
        c.field = QString::fromLatin1(field);
        c.relation = QString::fromLatin1(meta->getRelation(&st, i));
        c.sqlType = meta->getType(&st, i) & ~1u;
        c.subType = meta->getSubType(&st, i);
        c.scale = meta->getScale(&st, i);
        c.length = meta->getLength(&st, i);
        c.offset = meta->getOffset(&st, i);
        c.nullOffset = meta->getNullOffset(&st, i);
        c.nullable = meta->isNullable(&st, i);
        st.check();
        c.type = classify(c.sqlType, c.scale, c.subType);
        switch (c.sqlType) {
        case SQL_VARYING: case SQL_TEXT: c.size = int(c.length); break;
        case SQL_SHORT: c.size = 4; break;
        case SQL_LONG: c.size = 9; break;
        case SQL_INT64: c.size = 18; break;
        default: c.size = 0;
        }
        cols.push_back(std::move(c));
    }
    return cols;
}

template <class T> static T load(const unsigned char* p) { T v; std::memcpy(&v, p, sizeof v); return v; }

// Decodes the bytes of one non-null column; `p` points at the column's data.
static Value decodeData(const ColumnInfo& c, const unsigned char* p, int textLength)
{
    switch (c.sqlType) {
    case SQL_VARYING: case SQL_TEXT:
        return Value(fromCp1250(reinterpret_cast<const char*>(p), textLength));
    case SQL_SHORT: {
        int64_t v = load<int16_t>(p);
        return c.scale < 0 ? Value(Decimal::fromScaled(v, c.scale)) : Value(v);
    }
    case SQL_LONG: {
        int64_t v = load<int32_t>(p);
        return c.scale < 0 ? Value(Decimal::fromScaled(v, c.scale)) : Value(v);
    }
    case SQL_INT64: {
        int64_t v = load<int64_t>(p);
        return c.scale < 0 ? Value(Decimal::fromScaled(v, c.scale)) : Value(v);
    }
    case SQL_FLOAT: {
        auto d = Decimal::parse(QString::number(double(load<float>(p)), 'f', 6));
        return Value(d.value_or(Decimal()));
    }
    case SQL_DOUBLE: case SQL_D_FLOAT: {
        auto d = Decimal::parse(QString::number(load<double>(p), 'f', 6));
        return Value(d.value_or(Decimal()));
    }
    case SQL_TYPE_DATE: return Value(decodeDate(load<int32_t>(p)));
    case SQL_TYPE_TIME: return Value(QDateTime(QDate(1858, 11, 17), decodeTime(load<uint32_t>(p))));
    case SQL_TIMESTAMP:
        return Value(QDateTime(decodeDate(load<int32_t>(p)), decodeTime(load<uint32_t>(p + 4))));
    case SQL_BOOLEAN: return Value(int64_t(*p ? 1 : 0));
    default: return Value();
    }
}

static unsigned fixedBytes(const ColumnInfo& c) { return c.length; }

Value decodeColumn(const ColumnInfo& c, const unsigned char* msg, const BlobReader& readBlob)
{
    if (load<int16_t>(msg + c.nullOffset)) return Value();
    const unsigned char* p = msg + c.offset;
    if (c.sqlType == SQL_VARYING) return decodeData(c, p + 2, load<uint16_t>(p));
    if (c.sqlType == SQL_TEXT) return decodeData(c, p, int(c.length));
    if (c.sqlType == SQL_BLOB) {
        QByteArray bytes = readBlob(p);
        if (c.subType == 1) return Value(fromCp1250(bytes));
        return Value(QString::fromLatin1(bytes));
    }
    return decodeData(c, p, 0);
}

void packRow(QByteArray& out, const std::vector<ColumnInfo>& cols, const unsigned char* msg,
             const BlobReader& readBlob)
{
    out.clear();
    for (const ColumnInfo& c : cols) {
        if (load<int16_t>(msg + c.nullOffset)) { out.append('\1'); continue; }
        out.append('\0');
        const unsigned char* p = msg + c.offset;
        if (c.sqlType == SQL_VARYING) {
            uint16_t len = load<uint16_t>(p);
            out.append(reinterpret_cast<const char*>(p), 2 + len);
        } else if (c.sqlType == SQL_TEXT) {
            uint16_t len = uint16_t(c.length);
            out.append(reinterpret_cast<const char*>(&len), 2);
            out.append(reinterpret_cast<const char*>(p), len);
        } else if (c.sqlType == SQL_BLOB) {
            QByteArray bytes = readBlob(p);
            uint32_t len = uint32_t(bytes.size());
            out.append(reinterpret_cast<const char*>(&len), 4);
            out.append(bytes);
        } else {
            out.append(reinterpret_cast<const char*>(p), int(fixedBytes(c)));
        }
    }
}

Value unpackColumn(const char* packed, const std::vector<ColumnInfo>& cols, int column)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(packed);
    for (int i = 0; i <= column; ++i) {
        const ColumnInfo& c = cols[size_t(i)];
        bool isNull = *p++ != 0;
        if (isNull) { if (i == column) return Value(); continue; }
        if (c.sqlType == SQL_VARYING || c.sqlType == SQL_TEXT) {
            uint16_t len = load<uint16_t>(p);
            if (i == column) return decodeData(c, p + 2, len);
            p += 2 + len;
        } else if (c.sqlType == SQL_BLOB) {
            uint32_t len = load<uint32_t>(p);
            if (i == column) {
                const char* b = reinterpret_cast<const char*>(p + 4);
                return c.subType == 1 ? Value(fromCp1250(b, int(len))) : Value(QString::fromLatin1(b, int(len)));
            }
            p += 4 + len;
        } else {
            if (i == column) return decodeData(c, p, 0);
            p += fixedBytes(c);
        }
    }
    return Value();
}

} // namespace db
