#pragma once
// TDecimalEdit: a one-line input for a decimal number with a fixed number of fractional
// digits (the discount: two), typed with the workstation's decimal separator (a point is
// taken as well). Its value goes to the database as a db::Decimal read from the text, never
// through floating point. An empty box reads as 0; a value being typed ("12,") reads as far
// as it goes (12).
#include "db/decimal.h"
#include <QLineEdit>
#include <QValidator>

namespace customers {

class DecimalValidator : public QValidator {
public:
    DecimalValidator(int integerDigits, int decimals, QObject* parent = nullptr)
        : QValidator(parent), integerDigits_(integerDigits), decimals_(decimals) {}
    State validate(QString& input, int& pos) const override;

private:
    int integerDigits_;
    int decimals_;
};

class TDecimalEdit : public QLineEdit {
    Q_OBJECT
public:
    // integerDigits: digits before the separator (the discount's scratch field is
    // DECIMAL(5,2): three); decimals: digits after it.
    explicit TDecimalEdit(QWidget* parent = nullptr, int integerDigits = 3, int decimals = 2);

    db::Decimal value() const;
    void setValue(const db::Decimal& v);   // shown with its decimals, e.g. "5,00"
    int decimals() const { return decimals_; }

    // The value the text stands for; nullopt only for a text no validator would let through.
    static std::optional<db::Decimal> parseText(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    void complete();   // a finished input shown again in its full form
    int decimals_;
};

} // namespace customers
