#pragma once
// TFrGrid: the list frame every window embeds: a TThemeDBGrid over one query of the window,
// sorting by a clicked title (the query's ORDER BY is rewritten and the query reopened), the
// popup menu "Obnova prikaza" / "Pronađi", and the find dialog.
//
// An embedding window (for example the customer list):
//
//   TFrGrid1 = new fw::TFrGrid(this);
//   TFrGrid1->setDataSet(&IBQueryKorisnici);            // the query, on Read
//   TFrGrid1->setColumns({{"IDKORISNIKA", "##", 39},
//                         {"NAZIV_KORISNIKA", "Naziv korisnika"}, ...});
//   connect(TFrGrid1->Grid, &fw::TThemeDBGrid::DblClick, this, &X::TFrGrid1GridDblClick);
//   TFrGrid1->Grid->OnDrawColumnCell = [](const fw::TThemeDBGrid::DrawCell& c) { ... };
//   connect(BitBtn2, &QPushButton::clicked, TFrGrid1, &fw::TFrGrid::PronadjiClick);
//   ... after a record editor returns: TFrGrid1->RefreshList();
//
// A column sorts by its field's origin() (the dataset fills it with "TABLE"."COLUMN" for a
// column read from a table; a list may set another with Field::setOrigin) and by the field's
// name when that is blank. Calculated and look-up fields refuse sorting.
//
// The grid's current row and the dataset's recNo follow each other both ways.
#include "db/dataset.h"
#include "framework/themegrid.h"
#include <QFrame>
#include <QPointer>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace fw {

class TFLocate;

// One grid column: the field, its title (empty: the field's title), the width in pixels
// (0: the field's display width in characters, in the grid's font), the alignment of the data
// and of the title (empty: the field's own / left), the display format (empty: the field's own).
struct GridColumnDef {
    GridColumnDef(QString field, QString title_ = {}, int width_ = 0, Qt::Alignment alignment_ = {},
                  Qt::Alignment titleAlignment_ = {}, QString displayFormat_ = {})
        : fieldName(std::move(field)), title(std::move(title_)), width(width_), alignment(alignment_),
          titleAlignment(titleAlignment_), displayFormat(std::move(displayFormat_)) {}
    QString fieldName;
    QString title;
    int width = 0;
    Qt::Alignment alignment = {};
    Qt::Alignment titleAlignment = {};
    QString displayFormat;
};

class TFrGrid : public QFrame {
    Q_OBJECT
public:
    explicit TFrGrid(QWidget* parent = nullptr);
    ~TFrGrid() override;

    QFrame* Panel1 = nullptr;
    TThemeDBGrid* Grid = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* OBnovaprikaza1 = nullptr;   // "Obnova prikaza"
    QAction* Pronadji = nullptr;         // "Pronađi"

    // DataSource1: the dataset the grid shows.
    void setDataSet(db::Dataset* dataset);
    db::Dataset* dataSet() const;
    db::DatasetModel* DataSource1() const { return Grid->datasetModel(); }

    void setColumns(const std::vector<GridColumnDef>& columns);
    const std::vector<GridColumnDef>& columns() const { return columns_; }

    // Sort state
    QString SortFieldName;
    bool SortAscending = false;
    QString OrderClause;

    // The find dialog, created at the first "Pronađi" (nullptr before).
    TFLocate* FindDialog() const { return findDialog_; }

    // Reopen the list and go back to the same row number (or the last row when shorter).
    virtual void RefreshList();
    // Rewrite the query's order clause: everything from the first "ORDER BY" (one blank,
    // any case) is replaced by one blank and `clause`; without one, the clause is appended.
    virtual void ReplaceOrderBy(db::Dataset& query, const QString& clause);

public slots:
    void GridTitleClick(int column);
    void OBnovaprikaza1Click() { RefreshList(); }
    void PronadjiClick();

private:
    void applyColumnSettings();
    void applyWidths();
    void syncGridToDataset(int row);
    void syncDatasetToGrid(const QModelIndex& current);
    std::vector<GridColumnDef> columns_;
    QPointer<TFLocate> findDialog_;
    QByteArray headerState_;
    int savedCount_ = 0;
    bool changingColumns_ = false;
    bool widthsProvisional_ = false;
    bool syncing_ = false;
};

} // namespace fw
