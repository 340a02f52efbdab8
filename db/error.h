#pragma once
// The one error type of the data layer: the server's text, its SQL code, SQLSTATE and
// the status vector's error codes.
#include <QString>
#include <exception>
#include <string>
#include <vector>

namespace db {

class DbError : public std::exception {
public:
    explicit DbError(QString message, long sqlCode = 0, QString sqlState = {},
                     std::vector<long> codes = {})
        : message_(std::move(message)), sqlCode_(sqlCode), sqlState_(std::move(sqlState)),
          codes_(std::move(codes)), what_(message_.toStdString()) {}

    const QString& message() const { return message_; }
    long sqlCode() const { return sqlCode_; }
    const QString& sqlState() const { return sqlState_; }
    const std::vector<long>& codes() const { return codes_; }
    bool hasCode(long code) const;
    // An update that met another transaction's uncommitted change (no waiting).
    bool isLockConflict() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    QString message_;
    long sqlCode_;
    QString sqlState_;
    std::vector<long> codes_;
    std::string what_;
};

} // namespace db
