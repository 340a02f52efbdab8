#pragma once
// TThemeDBGrid: the data grid of every list. A read-only QTableView over db::DatasetModel whose
// column titles are drawn as the platform style's header items (QStyle::CE_Header), normal,
// hot under the pointer and pressed while held down with the left button.
//
// The embedding window may
//  - draw over data cells after the standard drawing: set OnDrawColumnCell; the context gives
//    the painter, the cell rectangle, the row, the column, the field, whether the row is
//    selected and the background brush the grid used for the cell (selection colour on the
//    current row, else the ordinary background); drawFlatCheckBox() draws the check-box glyph;
//  - react to a double-click anywhere in the grid: connect to DblClick();
//  - switch the pressed title look off with setAllowTitleClick(false) (title clicks still
//    reach titleClicked()).
#include "db/datasetmodel.h"
#include <QBrush>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <functional>

class QStyleOptionViewItem;

namespace fw {

class TThemeDBGrid;

// The header of the grid: paints each title as the style's header item in the state the grid
// tracks, and places the caption itself.
class TThemeHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit TThemeHeaderView(TThemeDBGrid* grid);
    // Title alignment per logical column (Qt::AlignLeft, AlignRight or AlignHCenter).
    void setTitleAlignment(int column, Qt::Alignment a);
    Qt::Alignment titleAlignment(int column) const;
    void clearTitleAlignments() { alignments_.clear(); }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool onSectionBorder(const QPoint& pos) const;
    TThemeDBGrid* grid_;
    QPoint pressPos_;
    std::vector<Qt::Alignment> alignments_;
};

class TThemeDBGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(bool AllowTitleClick READ allowTitleClick WRITE setAllowTitleClick)
public:
    explicit TThemeDBGrid(QWidget* parent = nullptr);

    db::DatasetModel* datasetModel() const { return model_; }
    TThemeHeaderView* titleHeader() const { return header_; }

    bool allowTitleClick() const { return allowTitleClick_; }
    void setAllowTitleClick(bool on);
    // With the theme off, titles are drawn as a plain header without hot tracking.
    bool themed() const { return themed_; }
    void setThemed(bool on);

    // The tracked title state (grid columns = logical columns of the model).
    int hotColumn() const { return hotColumn_; }
    int pressedColumn() const { return pressedColumn_; }
    bool sizing() const { return sizing_; }
    bool dragging() const { return dragging_; }
    // For pictures and tests: put a title into a look without a mouse.
    void setHotColumn(int c);
    void setPressedColumn(int c);

    struct DrawCell {
        QPainter* painter;
        QRect rect;
        int row;
        int column;
        db::Field* field;     // nullptr when the column has no field
        bool selected;
        QBrush background;    // the brush the grid filled the cell with
        const QStyleOptionViewItem* option;
    };
    std::function<void(const DrawCell&)> OnDrawColumnCell;

    // The platform's flat check-box glyph, checked or not, in rect.
    static void drawFlatCheckBox(QPainter* painter, const QRect& rect, bool checked, const QWidget* widget);

signals:
    void DblClick();
    void titleClicked(int column);

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class TThemeHeaderView;
    void repaintTitle(int column);
    db::DatasetModel* model_;
    TThemeHeaderView* header_;
    bool allowTitleClick_ = true;
    bool themed_ = true;
    int hotColumn_ = -1;
    int pressedColumn_ = -1;
    int lastMouseColumn_ = -1;     // the title under the pointer at the last mouse event
    bool sizing_ = false;
    bool dragging_ = false;
};

} // namespace fw
