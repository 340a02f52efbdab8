#pragma once
// TFLocate: the small non-modal find dialog of a list. It searches the rows the list's dataset
// already holds for a value in one field and moves the dataset (and the grid, centred) to the
// first or the next match. A grid frame creates it at its first "Pronađi" and keeps it:
//
//   auto* f = new fw::TFLocate(window(), &query, grid);   // owned by the window
//   f->PrepareFind();                                      // fills the field list, shows itself
//   ... later: f->show();
#include "db/dataset.h"
#include <QDialog>
#include <QPointer>
#include <stdexcept>

class QAbstractItemView;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fw {

// A search text that does not read as a number, in exact mode on a decimal field.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }
private:
    QString text_;
};

class TFLocate : public QDialog {
    Q_OBJECT
public:
    enum MatchMode { Exact = 0, AtStart = 1, Anywhere = 2 };

    TFLocate(QWidget* owner, db::Dataset* dataSet, QAbstractItemView* grid = nullptr);

    db::Dataset* dataSet() const { return dataSet_; }

    QGroupBox* FieldsGroup = nullptr;           // "&Polja"
    QComboBox* FieldNameComboBox = nullptr;
    QGroupBox* FieldValueGroup = nullptr;       // "&Vrijednost"
    QLineEdit* SearchValue = nullptr;
    QGroupBox* SearchTypeGroup = nullptr;       // "&Način pretraživanja"
    QCheckBox* CaseSensitiveCheckBox = nullptr; // "&Razlikuje velika/mala slova"
    QRadioButton* ExactMatchBtn = nullptr;      // "P&olje=uzorak"
    QRadioButton* PartialMatchStartBtn = nullptr; // "&Uzorak na početku polja"
    QRadioButton* PartialMatchAnyBtn = nullptr; // "Uzorak unu&tar polja"
    QPushButton* FirstButton = nullptr;         // "Pr&vi"
    QPushButton* NextButton = nullptr;          // "&Sljedeći", default

    // "DataSet nije otvoren" when the dataset is missing or closed; otherwise fills the field
    // list (visible, non-binary fields, by title) and shows the dialog.
    void PrepareFind();
    // From the first row or from the row after the current one; true when found.
    bool StartSearch(bool fromFirst);
    // The first field, in field order, whose title is `title`; empty when none.
    QString FieldForTitle(const QString& title) const;
    // Searches `dataSet`; leaves it on the match, or where it was. Throws ConversionError for
    // a non-numeric text in exact mode on a decimal field.
    bool LocateRecord(db::Dataset* dataSet, const QString& fieldName, const QString& text, bool fromFirst,
                      bool caseSensitive, MatchMode mode);
    // One value against the pattern (already upper-cased when the search ignores case).
    static bool MatchesPattern(const QString& value, const QString& pattern, MatchMode mode, bool caseSensitive);
    // The text of a field as the search compares it (no display format).
    static QString fieldText(const db::Field& field);

public slots:
    void FirstButtonClick();
    void NextButtonClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buttonSearch(bool fromFirst);
    void centreGrid();
    QPointer<db::Dataset> dataSet_;
    QPointer<QAbstractItemView> grid_;
    bool centrePending_ = false;
};

} // namespace fw
