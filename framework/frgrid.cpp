#include "framework/frgrid.h"
#include "framework/dialogs.h"
#include "framework/locate.h"
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QVBoxLayout>

namespace fw {

namespace {
// Resumes a dataset's display updates when it goes out of scope.
struct ControlsDisabled {
    db::Dataset* ds;
    explicit ControlsDisabled(db::Dataset* d) : ds(d) { if (ds) ds->disableControls(); }
    ~ControlsDisabled() { if (ds) ds->enableControls(); }
};
} // namespace

TFrGrid::TFrGrid(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("FrGrid"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    auto* pl = new QVBoxLayout(Panel1);
    pl->setContentsMargins(4, 4, 4, 4);
    Grid = new TThemeDBGrid(Panel1);
    pl->addWidget(Grid);
    outer->addWidget(Panel1);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    OBnovaprikaza1 = PopupMenu->addAction(QStringLiteral("Obnova prikaza"));
    OBnovaprikaza1->setObjectName(QStringLiteral("OBnovaprikaza1"));
    Pronadji = PopupMenu->addAction(QStringLiteral("Pronađi"));
    Pronadji->setObjectName(QStringLiteral("Pronadji"));
    connect(OBnovaprikaza1, &QAction::triggered, this, [this] { OBnovaprikaza1Click(); });
    connect(Pronadji, &QAction::triggered, this, [this] { PronadjiClick(); });
    Grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu->popup(Grid->viewport()->mapToGlobal(pos)); });

    connect(Grid, &TThemeDBGrid::titleClicked, this, &TFrGrid::GridTitleClick);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { syncDatasetToGrid(current); });

    // Column widths and order survive the model's resets (every reopening of the list).
    db::DatasetModel* m = Grid->datasetModel();
    connect(m, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (changingColumns_ || widthsProvisional_ || Grid->titleHeader()->count() == 0) return;
        headerState_ = Grid->titleHeader()->saveState();
        savedCount_ = Grid->titleHeader()->count();
    });
    connect(m, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        db::Dataset* ds = dataSet();
        if (ds) syncGridToDataset(ds->recNo());
    });
}

TFrGrid::~TFrGrid() = default;

db::Dataset* TFrGrid::dataSet() const { return Grid->datasetModel()->dataset(); }

void TFrGrid::setDataSet(db::Dataset* dataset)
{
    if (db::Dataset* old = dataSet()) disconnect(old, nullptr, this, nullptr);
    headerState_.clear();
    Grid->datasetModel()->setDataset(dataset);
    if (dataset) {
        connect(dataset, &db::Dataset::currentChanged, this, &TFrGrid::syncGridToDataset);
        applyColumnSettings();
    }
}

void TFrGrid::setColumns(const std::vector<GridColumnDef>& columns)
{
    columns_ = columns;
    headerState_.clear();
    applyColumnSettings();
}

void TFrGrid::applyColumnSettings()
{
    db::Dataset* ds = dataSet();
    TThemeHeaderView* h = Grid->titleHeader();
    h->clearTitleAlignments();
    std::vector<db::GridColumn> cols;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const GridColumnDef& c = columns_[i];
        cols.push_back({c.fieldName, c.title, c.width});
        if (c.titleAlignment) h->setTitleAlignment(int(i), c.titleAlignment);
        if (!ds) continue;
        db::Field* f = ds->findField(c.fieldName);
        if (!f && !ds->isActive()) f = &ds->define(c.fieldName);
        if (!f) continue;
        if (!c.displayFormat.isEmpty()) f->setDisplayFormat(c.displayFormat);
        if (c.alignment & Qt::AlignRight) f->setAlignment(db::Field::Align::Right);
        else if (c.alignment & Qt::AlignHCenter) f->setAlignment(db::Field::Align::Center);
        else if (c.alignment & Qt::AlignLeft) f->setAlignment(db::Field::Align::Left);
    }
    changingColumns_ = true;
    headerState_.clear();
    Grid->datasetModel()->setColumns(cols);
    changingColumns_ = false;
}

void TFrGrid::applyWidths()
{
    TThemeHeaderView* h = Grid->titleHeader();
    const int n = h->count();
    if (!headerState_.isEmpty()) {
        const bool same = savedCount_ == n;
        const QByteArray state = headerState_;
        headerState_.clear();
        if (same && h->restoreState(state)) return;
    }
    db::DatasetModel* m = Grid->datasetModel();
    const QFontMetrics fm(Grid->font());
    const QFontMetrics tm(h->font());
    const int avg = fm.averageCharWidth();
    widthsProvisional_ = false;
    for (int i = 0; i < n; ++i) {
        int width = i < int(columns_.size()) ? columns_[size_t(i)].width : 0;
        if (width <= 0) {
            db::Field* f = m->fieldAt(i);
            int chars = 0;
            if (f) {
                chars = f->displayWidth();
                if (chars <= 0) {
                    if (db::isTextType(f->type())) chars = f->type() == db::FieldType::Memo ? 10 : std::max(1, f->size());
                    else if (db::isIntegerType(f->type())) chars = 10;
                    else chars = 12;
                }
            }
            if (chars > 0) {
                width = chars * avg - avg / 2 + 3;
                const QString title = m->headerData(i, Qt::Horizontal).toString();
                width = std::max(width, tm.horizontalAdvance(title) + 6);
            } else {
                width = h->defaultSectionSize();
                widthsProvisional_ = true;   // again once the fields are known
            }
        }
        h->resizeSection(i, width);
    }
}

// ------------------------------------------------------------------ current row, both ways

void TFrGrid::syncGridToDataset(int row)
{
    if (syncing_) return;
    syncing_ = true;
    QItemSelectionModel* sel = Grid->selectionModel();
    db::DatasetModel* m = Grid->datasetModel();
    if (row < 0 || row >= m->rowCount()) {
        sel->clear();
    } else {
        int column = std::max(0, Grid->currentIndex().column());
        if (column >= m->columnCount()) column = 0;
        const QModelIndex idx = m->index(row, column);
        if (idx.isValid()) {
            sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            Grid->scrollTo(idx, QAbstractItemView::EnsureVisible);
        }
    }
    syncing_ = false;
}

void TFrGrid::syncDatasetToGrid(const QModelIndex& current)
{
    if (syncing_ || !current.isValid()) return;
    db::Dataset* ds = dataSet();
    if (!ds || !ds->isActive() || ds->recNo() == current.row()) return;
    syncing_ = true;
    try {
        ds->setRecNo(current.row());
    } catch (const db::DbError& e) {
        syncing_ = false;
        dialogs().error(e.message(), this);
        syncGridToDataset(ds->recNo());
        return;
    }
    syncing_ = false;
}

// ------------------------------------------------------------------ sorting, refreshing

void TFrGrid::ReplaceOrderBy(db::Dataset& query, const QString& clause)
{
    if (clause.trimmed().isEmpty()) return;
    const QString text = query.text();
    const qsizetype at = text.indexOf(QLatin1String("ORDER BY"), 0, Qt::CaseInsensitive);
    const QString kept = at < 0 ? text : text.left(at);
    query.setSql(kept + QLatin1Char(' ') + clause);
}

void TFrGrid::RefreshList()
{
    db::Dataset* ds = dataSet();
    if (!ds) return;
    const int position = ds->recNo();
    ControlsDisabled off(ds);
    ds->close();
    ds->open();
    if (!ds->isEmpty() && position >= 0) {
        if (position >= ds->recordCount()) ds->last();
        else ds->setRecNo(position);
    }
}

void TFrGrid::GridTitleClick(int column)
{
    db::Dataset* ds = dataSet();
    if (!ds) return;
    db::Field* f = Grid->datasetModel()->fieldAt(column);
    if (!f) return;
    if (!f->isData()) {
        dialogs().message(QStringLiteral("Polje je izračunano. Ne može se sortirati po njemu."), MessageKind::Plain, this);
        return;
    }
    if (f->name() != SortFieldName) SortAscending = true;
    else SortAscending = !SortAscending;
    SortFieldName = f->name();
    OrderClause = QStringLiteral("ORDER BY ") + (f->origin().trimmed().isEmpty() ? f->name() : f->origin());
    OrderClause += SortAscending ? QStringLiteral(" ASC ") : QStringLiteral(" DESC ");
    ControlsDisabled off(ds);
    ReplaceOrderBy(*ds, OrderClause);
    RefreshList();
}

void TFrGrid::PronadjiClick()
{
    if (!findDialog_) {
        findDialog_ = new TFLocate(window(), dataSet(), Grid);
        findDialog_->PrepareFind();
    }
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

} // namespace fw
