#pragma once
// Exact money: a fixed-point number with four fractional digits.
// Every operation that can produce more digits rounds to 0.0001, halves to even.
#include <QString>
#include <QLocale>
#include <compare>
#include <cstdint>
#include <optional>

namespace db {

class Decimal {
public:
    static constexpr int Scale = 4;          // fractional digits kept
    static constexpr int64_t One = 10000;    // 10^Scale

    constexpr Decimal() = default;
    constexpr Decimal(int v) : units_(int64_t(v) * One) {}
    static constexpr Decimal fromUnits(int64_t u) { Decimal d; d.units_ = u; return d; }
    // value = raw * 10^scale (Firebird's scaled integers have scale <= 0)
    static Decimal fromScaled(int64_t raw, int scale);
    static Decimal fromInt(int64_t v) { return fromUnits(v * One); }
    // Parses "1234", "-12.5", "1.234,56" (with the given separators); nullopt when not a number.
    static std::optional<Decimal> parse(const QString& text, QChar decimalPoint = QLatin1Char('.'),
                                        QChar groupSeparator = QChar());
    static std::optional<Decimal> parseLocale(const QString& text, const QLocale& locale = QLocale());

    int64_t units() const { return units_; }
    // The value as an integer scaled by 10^-scale (scale <= 0), halves to even.
    int64_t toScaled(int scale) const;
    Decimal rounded(int decimals) const;      // halves to even
    int64_t roundToInteger() const { return rounded(0).units_ / One; }
    bool isZero() const { return units_ == 0; }

    Decimal operator+(Decimal o) const { return fromUnits(units_ + o.units_); }
    Decimal operator-(Decimal o) const { return fromUnits(units_ - o.units_); }
    Decimal operator-() const { return fromUnits(-units_); }
    Decimal& operator+=(Decimal o) { units_ += o.units_; return *this; }
    Decimal& operator-=(Decimal o) { units_ -= o.units_; return *this; }
    Decimal operator*(Decimal o) const;       // rounded to 4 digits, halves to even
    Decimal operator*(int64_t n) const { return fromUnits(units_ * n); }
    Decimal operator/(Decimal o) const;       // rounded to 4 digits, halves to even
    Decimal operator/(int64_t n) const { return *this / fromInt(n); }
    auto operator<=>(const Decimal&) const = default;
    bool operator==(const Decimal&) const = default;

    // "123.4500" style, '.' as point, the given number of decimals (rounded half even).
    QString toString(int decimals = Scale) const;
    // Display with a pattern such as "###,###,##0.00" and the locale's separators.
    QString format(const QString& pattern, const QLocale& locale = QLocale()) const;
    double toDouble() const { return double(units_) / One; }  // for widgets only, never arithmetic

private:
    int64_t units_ = 0;
};

// Divides a 128-bit value by a positive divisor, rounding halves to even.
int64_t roundHalfEven(__int128 value, __int128 divisor);

// Formats an integer with a pattern like "###,###,##0" (grouping when the pattern has a comma).
QString formatInteger(int64_t v, const QString& pattern, const QLocale& locale = QLocale());

} // namespace db
