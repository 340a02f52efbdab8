#include "framework/locate.h"
#include "framework/dialogs.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace fw {

namespace {
struct ControlsDisabled {
    db::Dataset* ds;
    explicit ControlsDisabled(db::Dataset* d) : ds(d) { ds->disableControls(); }
    ~ControlsDisabled() { ds->enableControls(); }
};
struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TFLocate::TFLocate(QWidget* owner, db::Dataset* dataSet, QAbstractItemView* grid)
    : QDialog(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dataSet_(dataSet), grid_(grid)
{
    setObjectName(QStringLiteral("FLocate"));
    setWindowTitle(QStringLiteral("Pronađi"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setModal(false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(2);

    FieldsGroup = new QGroupBox(QStringLiteral("&Polja"), this);
    FieldsGroup->setObjectName(QStringLiteral("FieldsGroup"));
    auto* fl = new QVBoxLayout(FieldsGroup);
    fl->setContentsMargins(6, 2, 6, 4);
    FieldNameComboBox = new QComboBox(FieldsGroup);
    FieldNameComboBox->setObjectName(QStringLiteral("FieldNameComboBox"));
    FieldNameComboBox->setEditable(false);
    fl->addWidget(FieldNameComboBox);
    outer->addWidget(FieldsGroup);

    FieldValueGroup = new QGroupBox(QStringLiteral("&Vrijednost"), this);
    FieldValueGroup->setObjectName(QStringLiteral("FieldValueGroup"));
    auto* vl = new QVBoxLayout(FieldValueGroup);
    vl->setContentsMargins(6, 2, 6, 4);
    SearchValue = new QLineEdit(FieldValueGroup);
    SearchValue->setObjectName(QStringLiteral("SearchValue"));
    vl->addWidget(SearchValue);
    outer->addWidget(FieldValueGroup);

    SearchTypeGroup = new QGroupBox(QStringLiteral("&Način pretraživanja"), this);
    SearchTypeGroup->setObjectName(QStringLiteral("SearchTypeGroup"));
    auto* sl = new QVBoxLayout(SearchTypeGroup);
    sl->setContentsMargins(6, 2, 6, 4);
    sl->setSpacing(0);
    CaseSensitiveCheckBox = new QCheckBox(QStringLiteral("&Razlikuje velika/mala slova"), SearchTypeGroup);
    CaseSensitiveCheckBox->setObjectName(QStringLiteral("CaseSensitiveCheckBox"));
    sl->addWidget(CaseSensitiveCheckBox);
    auto* line = new QFrame(SearchTypeGroup);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    sl->addWidget(line);
    ExactMatchBtn = new QRadioButton(QStringLiteral("P&olje=uzorak"), SearchTypeGroup);
    ExactMatchBtn->setObjectName(QStringLiteral("ExactMatchBtn"));
    PartialMatchStartBtn = new QRadioButton(QStringLiteral("&Uzorak na početku polja"), SearchTypeGroup);
    PartialMatchStartBtn->setObjectName(QStringLiteral("PartialMatchStartBtn"));
    PartialMatchAnyBtn = new QRadioButton(QStringLiteral("Uzorak unu&tar polja"), SearchTypeGroup);
    PartialMatchAnyBtn->setObjectName(QStringLiteral("PartialMatchAnyBtn"));
    PartialMatchStartBtn->setChecked(true);
    sl->addWidget(ExactMatchBtn);
    sl->addWidget(PartialMatchStartBtn);
    sl->addWidget(PartialMatchAnyBtn);
    outer->addWidget(SearchTypeGroup);

    auto* bl = new QHBoxLayout;
    bl->setSpacing(6);
    FirstButton = new QPushButton(QStringLiteral("Pr&vi"), this);
    FirstButton->setObjectName(QStringLiteral("FirstButton"));
    FirstButton->setAutoDefault(false);
    NextButton = new QPushButton(QStringLiteral("&Sljedeći"), this);
    NextButton->setObjectName(QStringLiteral("NextButton"));
    NextButton->setDefault(true);
    bl->addWidget(FirstButton);
    bl->addWidget(NextButton);
    outer->addLayout(bl);
    outer->addStretch(1);

    connect(FirstButton, &QPushButton::clicked, this, &TFLocate::FirstButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TFLocate::NextButtonClick);

    resize(218, 247);
}

void TFLocate::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    static const char* placed = "kavorPlaced";
    if (e->spontaneous() || property(placed).toBool()) return;
    setProperty(placed, true);
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) move(s->availableGeometry().topLeft());
}

void TFLocate::PrepareFind()
{
    if (!dataSet_ || !dataSet_->isActive()) {
        dialogs().message(QStringLiteral("DataSet nije otvoren"), MessageKind::Error, this);
        return;
    }
    FieldNameComboBox->clear();
    for (int i = 0; i < dataSet_->fieldCount(); ++i) {
        const db::Field& f = dataSet_->field(i);
        if (f.isVisible() && !db::isBinaryType(f.type())) FieldNameComboBox->addItem(f.title());
    }
    show();
}

QString TFLocate::FieldForTitle(const QString& title) const
{
    if (!dataSet_) return QString();
    for (int i = 0; i < dataSet_->fieldCount(); ++i)
        if (dataSet_->field(i).title() == title) return dataSet_->field(i).name();
    return QString();
}

void TFLocate::FirstButtonClick() { buttonSearch(true); }
void TFLocate::NextButtonClick() { buttonSearch(false); }

void TFLocate::buttonSearch(bool fromFirst)
{
    try {
        if (!StartSearch(fromFirst)) dialogs().information(QStringLiteral("Ništa nije nađeno."), this);
    } catch (const ConversionError& e) {
        dialogs().error(e.text(), this);
    }
}

bool TFLocate::StartSearch(bool fromFirst)
{
    MatchMode mode = ExactMatchBtn->isChecked() ? Exact : PartialMatchStartBtn->isChecked() ? AtStart : Anywhere;
    if (FieldNameComboBox->currentIndex() < 0) return false;
    const QString name = FieldForTitle(FieldNameComboBox->currentText());
    if (name.isEmpty() || !dataSet_ || !dataSet_->isActive()) return false;
    bool found = false;
    centrePending_ = false;
    {
        ControlsDisabled off(dataSet_);
        found = LocateRecord(dataSet_, name, SearchValue->text(), fromFirst, CaseSensitiveCheckBox->isChecked(), mode);
    }
    if (found && centrePending_) centreGrid();
    centrePending_ = false;
    return found;
}

QString TFLocate::fieldText(const db::Field& field)
{
    const db::Value v = field.value();
    if (v.isNull()) return QString();
    const QLocale loc;
    switch (field.type()) {
    case db::FieldType::Integer: case db::FieldType::SmallInt: case db::FieldType::BigInt:
        return QString::number(v.toInt());
    case db::FieldType::Numeric: case db::FieldType::Float: {
        QString s = v.toDecimal().toString(db::Decimal::Scale);
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0'))) s.chop(1);
            if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        }
        return s.replace(QLatin1Char('.'), loc.decimalPoint());
    }
    case db::FieldType::Date: return loc.toString(v.toDate(), QLocale::ShortFormat);
    case db::FieldType::DateTime: return loc.toString(v.toDateTime(), QLocale::ShortFormat);
    case db::FieldType::Time: return loc.toString(v.toDateTime().time(), QLocale::ShortFormat);
    default: return v.toString();
    }
}

bool TFLocate::MatchesPattern(const QString& value, const QString& pattern, MatchMode mode, bool caseSensitive)
{
    const QString v = caseSensitive ? value : value.toUpper();
    switch (mode) {
    case Exact: return v.size() == pattern.size() && (v.isEmpty() || v.startsWith(pattern, Qt::CaseSensitive));
    case AtStart: return !pattern.isEmpty() && v.startsWith(pattern, Qt::CaseSensitive);
    case Anywhere: return !pattern.isEmpty() && v.contains(pattern, Qt::CaseSensitive);
    }
    return false;
}

bool TFLocate::LocateRecord(db::Dataset* ds, const QString& fieldName, const QString& text, bool fromFirst,
                            bool caseSensitive, MatchMode mode)
{
    if (!ds || !ds->isActive()) return false;
    if (ds->state() == db::Dataset::State::Edit || ds->state() == db::Dataset::State::Insert) ds->post();
    db::Field* f = ds->findField(fieldName);
    if (!f) {
        dialogs().warning(QStringLiteral(" Polje ") + fieldName + QStringLiteral(" nije nađeno."), this);
        return false;
    }
    const QString pattern = caseSensitive ? text : text.toUpper();
    // Exact mode on a decimal field compares numbers: 1000 finds 1000,00.
    const bool numeric = mode == Exact && db::isDecimalType(f->type()) && !pattern.isEmpty();
    db::Decimal number;
    if (numeric) {
        auto n = db::Decimal::parseLocale(pattern);
        if (!n) throw ConversionError(QStringLiteral("'%1' nije ispravna brojčana vrijednost.").arg(text));
        number = *n;
    }
    auto matches = [&]() {
        if (numeric) return !f->isNull() && f->asDecimal() == number;
        return MatchesPattern(fieldText(*f), pattern, mode, caseSensitive);
    };

    const int start = ds->recNo();
    bool found = false;
    {
        BusyPointer busy;
        if (fromFirst) {
            ds->first();
            found = !ds->isEmpty() && matches();
        }
        while (!found) {
            ds->next();
            if (ds->eof()) break;       // past the last row: the last row is not tested again
            found = matches();
        }
        if (!found && start >= 0) ds->setRecNo(start);
    }
    if (found) {
        if (ds->controlsDisabled()) centrePending_ = true;
        else centreGrid();
    }
    return found;
}

void TFLocate::centreGrid()
{
    if (!grid_ || !dataSet_ || !grid_->model()) return;
    QAbstractItemModel* m = grid_->model();
    const int row = dataSet_->recNo();
    if (row < 0 || row >= m->rowCount()) return;
    const int column = std::max(0, grid_->currentIndex().column());
    const QModelIndex idx = m->index(row, std::min(column, m->columnCount() - 1));
    if (grid_->currentIndex().row() != row) grid_->setCurrentIndex(idx);
    grid_->scrollTo(idx, QAbstractItemView::PositionAtCenter);
}

} // namespace fw
