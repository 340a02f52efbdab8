#include "customers/decimaledit.h"
#include <QFocusEvent>
#include <QLocale>

namespace customers {

static bool isSeparator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char('.'); }

QValidator::State DecimalValidator::validate(QString& input, int& pos) const
{
    (void)pos;
    int intDigits = 0, fracDigits = 0;
    bool separator = false;
    for (QChar c : input) {
        if (c.isDigit() && c.unicode() < 128) {
            if (separator) ++fracDigits;
            else ++intDigits;
        } else if (isSeparator(c) && !separator) {
            separator = true;
        } else {
            return Invalid;
        }
    }
    if (intDigits > integerDigits_ || fracDigits > decimals_) return Invalid;
    if (separator && decimals_ == 0) return Invalid;
    if (input.isEmpty()) return Acceptable;           // an empty box: no discount
    if (intDigits == 0 && fracDigits == 0) return Intermediate;   // only the separator
    return Acceptable;
}

TDecimalEdit::TDecimalEdit(QWidget* parent, int integerDigits, int decimals) : QLineEdit(parent), decimals_(decimals)
{
    setValidator(new DecimalValidator(integerDigits, decimals, this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::editingFinished, this, &TDecimalEdit::complete);
}

std::optional<db::Decimal> TDecimalEdit::parseText(const QString& text)
{
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    if (s.isEmpty() || s == QLatin1String(".")) return db::Decimal(0);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    if (s.startsWith(QLatin1Char('.'))) s.prepend(QLatin1Char('0'));
    return db::Decimal::parse(s, QLatin1Char('.'));
}

db::Decimal TDecimalEdit::value() const
{
    return parseText(text()).value_or(db::Decimal(0)).rounded(decimals_);
}

void TDecimalEdit::setValue(const db::Decimal& v)
{
    QString pattern = QStringLiteral("0");
    if (decimals_ > 0) pattern += QLatin1Char('.') + QString(decimals_, QLatin1Char('0'));
    setText(v.format(pattern, QLocale()));
}

void TDecimalEdit::complete()
{
    if (text().trimmed().isEmpty()) return;
    if (parseText(text())) setValue(value());
}

void TDecimalEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    complete();   // also when the text is unfinished ("12,"), which editingFinished skips
}

} // namespace customers
