#include "db/decimal.h"

namespace db {

int64_t roundHalfEven(__int128 value, __int128 divisor)
{
    __int128 q = value / divisor;
    __int128 r = value % divisor;
    if (r != 0) {
        __int128 twice = (r < 0 ? -r : r) * 2;
        bool away = twice > divisor || (twice == divisor && (q % 2 != 0));
        if (away)
            q += (value < 0) ? -1 : 1;
    }
    return int64_t(q);
}

static __int128 pow10(int n)
{
    __int128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

Decimal Decimal::fromScaled(int64_t raw, int scale)
{
    int shift = scale + Scale;   // digits to multiply by
    if (shift >= 0)
        return fromUnits(int64_t(__int128(raw) * pow10(shift)));
    return fromUnits(roundHalfEven(raw, pow10(-shift)));
}

int64_t Decimal::toScaled(int scale) const
{
    int shift = -scale - Scale;
    if (shift >= 0)
        return int64_t(__int128(units_) * pow10(shift));
    return roundHalfEven(units_, pow10(-shift));
}

Decimal Decimal::rounded(int decimals) const
{
    if (decimals >= Scale) return *this;
    __int128 step = pow10(Scale - decimals);
    return fromUnits(int64_t(roundHalfEven(units_, step) * step));
}

Decimal Decimal::operator*(Decimal o) const
{
    return fromUnits(roundHalfEven(__int128(units_) * o.units_, One));
}

Decimal Decimal::operator/(Decimal o) const
{
    if (o.units_ == 0) return Decimal();
    __int128 num = __int128(units_) * One;
    __int128 den = o.units_;
    if (den < 0) { num = -num; den = -den; }
    return fromUnits(roundHalfEven(num, den));
}

std::optional<Decimal> Decimal::parse(const QString& text, QChar point, QChar group)
{
    QString s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;
    bool neg = false;
    int i = 0;
    if (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+')) { neg = s[0] == QLatin1Char('-'); i = 1; }
    __int128 intPart = 0, frac = 0;
    int fracDigits = 0;
    bool seenPoint = false, seenDigit = false;
    int extraSign = 0;   // rounding of digits beyond the fourth
    QString rest;
    for (; i < s.size(); ++i) {
        QChar c = s[i];
        if (c.isDigit()) {
            seenDigit = true;
            int d = c.digitValue();
            if (!seenPoint) {
                intPart = intPart * 10 + d;
                if (intPart > __int128(INT64_MAX / One)) return std::nullopt;
            } else if (fracDigits < Scale) {
                frac = frac * 10 + d; ++fracDigits;
            } else {
                rest += c;
            }
        } else if (c == point && !seenPoint) {
            seenPoint = true;
        } else if (!group.isNull() && c == group && !seenPoint) {
            continue;
        } else if (c.isSpace() && !group.isNull() && group.isSpace()) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    while (fracDigits < Scale) { frac *= 10; ++fracDigits; }
    __int128 units = intPart * One + frac;
    if (!rest.isEmpty()) {
        // digits beyond the fourth: halves to even
        bool nonZeroAfter = false;
        for (int k = 1; k < rest.size(); ++k) if (rest[k] != QLatin1Char('0')) nonZeroAfter = true;
        int first = rest[0].digitValue();
        if (first > 5 || (first == 5 && (nonZeroAfter || units % 2 != 0))) extraSign = 1;
    }
    units += extraSign;
    return fromUnits(int64_t(neg ? -units : units));
}

std::optional<Decimal> Decimal::parseLocale(const QString& text, const QLocale& locale)
{
    QString s = text.trimmed();
    auto r = parse(s, locale.decimalPoint().at(0), locale.groupSeparator().at(0));
    if (!r && locale.decimalPoint() != QLatin1String("."))
        r = parse(s, QLatin1Char('.'));
    return r;
}

QString Decimal::toString(int decimals) const
{
    if (decimals > Scale) decimals = Scale;
    int64_t v = toScaled(-decimals);
    bool neg = v < 0;
    uint64_t a = neg ? uint64_t(-(v + 1)) + 1 : uint64_t(v);
    QString digits = QString::number(a);
    while (digits.size() <= decimals) digits.prepend(QLatin1Char('0'));
    QString out = decimals > 0 ? digits.left(digits.size() - decimals) + QLatin1Char('.') + digits.right(decimals)
                               : digits;
    return neg ? QLatin1Char('-') + out : out;
}

static QString groupDigits(const QString& digits, const QString& sep)
{
    QString out;
    int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += sep;
        out += digits[i];
    }
    return out;
}

QString Decimal::format(const QString& pattern, const QLocale& locale) const
{
    int dot = pattern.indexOf(QLatin1Char('.'));
    int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
    bool grouping = pattern.contains(QLatin1Char(','));
    QString plain = toString(decimals);
    bool neg = plain.startsWith(QLatin1Char('-'));
    if (neg) plain.remove(0, 1);
    QString intPart = decimals > 0 ? plain.left(plain.indexOf(QLatin1Char('.'))) : plain;
    QString fracPart = decimals > 0 ? plain.mid(plain.indexOf(QLatin1Char('.')) + 1) : QString();
    QString out = grouping ? groupDigits(intPart, locale.groupSeparator()) : intPart;
    if (decimals > 0) out += locale.decimalPoint() + fracPart;
    if (neg && (intPart != QLatin1String("0") || fracPart.count(QLatin1Char('0')) != fracPart.size()))
        out.prepend(QLatin1Char('-'));   // the plain minus, as the staff type it
    return out;
}

QString formatInteger(int64_t v, const QString& pattern, const QLocale& locale)
{
    return Decimal::fromInt(v).format(pattern.section(QLatin1Char('.'), 0, 0), locale);
}

} // namespace db
