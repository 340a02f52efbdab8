#pragma once
// Column descriptions of a result or parameter message and the conversions between a
// message buffer, the data layer's values and the dataset's packed row form.
#include "db/value.h"
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace Firebird { class IMessageMetadata; }

namespace db {

enum class FieldType { Integer, SmallInt, BigInt, Numeric, Float, Text, FixedText, Date, Time, DateTime, Memo, Blob, Boolean };

bool isDecimalType(FieldType t);   // numeric with scale or floating point
bool isBinaryType(FieldType t);    // binary blob
bool isIntegerType(FieldType t);
bool isTextType(FieldType t);      // varchar, char and memo

struct ColumnInfo {
    QString name;          // alias in the result (SELECT * gives the column name)
    QString relation;      // table it is read from, empty for expressions
    QString field;         // column name in that table
    unsigned sqlType = 0;  // SQL_... without the nullable bit
    int subType = 0;
    int scale = 0;
    unsigned length = 0;   // bytes in the message
    unsigned offset = 0, nullOffset = 0;
    bool nullable = true;
    FieldType type = FieldType::Text;
    int size = 0;          // characters for text, digits otherwise
};

std::vector<ColumnInfo> describe(Firebird::IMessageMetadata* meta);

// Reads a text blob; given the blob id stored in the message.
using BlobReader = std::function<QByteArray(const unsigned char* blobId)>;

Value decodeColumn(const ColumnInfo& c, const unsigned char* msg, const BlobReader& readBlob);

// Packed rows: per column a null byte, then the column's bytes (texts and blobs with a length).
void packRow(QByteArray& out, const std::vector<ColumnInfo>& cols, const unsigned char* msg,
             const BlobReader& readBlob);
Value unpackColumn(const char* packed, const std::vector<ColumnInfo>& cols, int column);

inline int32_t encodeDate(const QDate& d) { return int32_t(d.toJulianDay() - 2400001); }
inline QDate decodeDate(int32_t v) { return QDate::fromJulianDay(int64_t(v) + 2400001); }
uint32_t encodeTime(const QTime& t);
QTime decodeTime(uint32_t v);

} // namespace db
