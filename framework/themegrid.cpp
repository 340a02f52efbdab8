#include "framework/themegrid.h"
#include <QApplication>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>

namespace fw {

// ------------------------------------------------------------------ cell drawing

namespace {

class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(TThemeDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!grid_->OnDrawColumnCell) return;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        QBrush background = selected ? option.palette.brush(group, QPalette::Highlight)
                                     : option.palette.brush(group, QPalette::Base);
        TThemeDBGrid::DrawCell cell{painter, option.rect, index.row(), index.column(),
                                    grid_->datasetModel()->fieldAt(index.column()), selected, background, &option};
        painter->save();
        grid_->OnDrawColumnCell(cell);
        painter->restore();
    }

private:
    TThemeDBGrid* grid_;
};

// Whether the style itself draws a header item differently when hot or pressed; when it does
// not (Fusion, for one), the grid adds its own shading so that the three looks stay distinct.
struct StyleLooks { bool hot = false, pressed = false; };

StyleLooks styleLooks(const QHeaderView* header)
{
    static QHash<QString, StyleLooks> cache;
    QStyle* style = header->style();
    const QString key = style->name() + QLatin1Char('|') + QString::fromLatin1(style->metaObject()->className());
    auto it = cache.find(key);
    if (it != cache.end()) return *it;
    auto render = [&](QStyle::State extra) {
        QImage img(60, 22, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        QStyleOptionHeader opt;
        opt.initFrom(header);
        opt.rect = img.rect();
        opt.orientation = Qt::Horizontal;
        opt.position = QStyleOptionHeader::Middle;
        opt.state |= QStyle::State_Enabled | QStyle::State_Horizontal | extra;
        style->drawControl(QStyle::CE_HeaderSection, &opt, &p, header);
        p.end();
        return img;
    };
    const QImage normal = render(QStyle::State_Raised);
    StyleLooks looks;
    looks.hot = render(QStyle::State_Raised | QStyle::State_MouseOver) != normal;
    looks.pressed = render(QStyle::State_Sunken) != normal;
    cache.insert(key, looks);
    return looks;
}

} // namespace

// ------------------------------------------------------------------ header

TThemeHeaderView::TThemeHeaderView(TThemeDBGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid)
{
    setObjectName(QStringLiteral("GridTitles"));
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void TThemeHeaderView::setTitleAlignment(int column, Qt::Alignment a)
{
    if (column < 0) return;
    if (int(alignments_.size()) <= column) alignments_.resize(size_t(column) + 1, Qt::AlignLeft);
    alignments_[size_t(column)] = a;
    viewport()->update();
}

Qt::Alignment TThemeHeaderView::titleAlignment(int column) const
{
    return column >= 0 && column < int(alignments_.size()) ? alignments_[size_t(column)] : Qt::Alignment(Qt::AlignLeft);
}

void TThemeHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!grid_->themed_) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    if (!rect.isValid()) return;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.section = logicalIndex;
    opt.text.clear();
    opt.icon = QIcon();
    opt.sortIndicator = QStyleOptionHeader::None;
    opt.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On | QStyle::State_HasFocus);
    opt.state |= QStyle::State_Enabled | QStyle::State_Horizontal;
    const int visual = visualIndex(logicalIndex);
    const int visibleCount = count() - hiddenSectionCount();
    if (visibleCount <= 1) opt.position = QStyleOptionHeader::OnlyOneSection;
    else if (visual == 0) opt.position = QStyleOptionHeader::Beginning;
    else if (visual == count() - 1) opt.position = QStyleOptionHeader::End;
    else opt.position = QStyleOptionHeader::Middle;

    const bool pressedHere = grid_->pressedColumn_ == logicalIndex;
    const bool hotHere = grid_->hotColumn_ == logicalIndex;
    QRect itemRect = rect;
    QRect captionRect = rect;
    bool sunken = false, hot = false;
    if (pressedHere) {
        if (grid_->allowTitleClick_) {
            sunken = true;
            captionRect = rect.adjusted(1, -1, -1, 1);
        } else {
            hot = hotHere;
        }
    } else {
        hot = hotHere;
        itemRect = rect.adjusted(0, 0, 1, 1);
    }
    opt.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    if (hot) opt.state |= QStyle::State_MouseOver;
    opt.rect = itemRect;

    painter->save();
    painter->setClipRect(itemRect);
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    const StyleLooks looks = styleLooks(this);
    if (sunken && !looks.pressed) {
        QColor shade = opt.palette.color(QPalette::Dark);
        shade.setAlpha(110);
        painter->fillRect(itemRect, shade);
        painter->setPen(opt.palette.color(QPalette::Shadow));
        painter->drawLine(itemRect.topLeft(), itemRect.topRight());
        painter->drawLine(itemRect.topLeft(), itemRect.bottomLeft());
    } else if (hot && !looks.hot) {
        QColor glow = opt.palette.color(QPalette::Highlight);
        glow.setAlpha(70);
        painter->fillRect(itemRect, glow);
        glow.setAlpha(255);
        painter->fillRect(QRect(rect.left() + 1, rect.bottom() - 2, rect.width() - 2, 2), glow);
    }

    // The caption: vertically centred in the caption rectangle, 2 pixels from the edge it is
    // aligned to, or centred.
    const QString caption = model() ? model()->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
    painter->setFont(font());
    painter->setPen(opt.palette.color(QPalette::ButtonText));
    const QFontMetrics fm(font());
    const int y = captionRect.top() + captionRect.height() / 2 - fm.height() / 2;
    const Qt::Alignment a = titleAlignment(logicalIndex);
    QRect textRect(captionRect.left() + 2, y, captionRect.width() - 4, fm.height());
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    if (a & Qt::AlignRight) flags |= Qt::AlignRight;
    else if (a & Qt::AlignHCenter) { flags |= Qt::AlignHCenter; textRect = QRect(captionRect.left(), y, captionRect.width(), fm.height()); }
    else flags |= Qt::AlignLeft;
    painter->drawText(textRect, flags, caption);
    painter->restore();
}

bool TThemeHeaderView::onSectionBorder(const QPoint& pos) const
{
    const int li = logicalIndexAt(pos);
    if (li < 0) return false;
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int start = sectionViewportPosition(li);
    const int end = start + sectionSize(li);
    if (pos.x() - start < grip && visualIndex(li) > 0) return true;
    return end - pos.x() <= grip && sectionResizeMode(li) == QHeaderView::Interactive;
}

void TThemeHeaderView::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    TThemeDBGrid* g = grid_;
    if ((e->buttons() & Qt::LeftButton) && !g->sizing_ && !g->dragging_ && sectionsMovable() &&
        (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance() && logicalIndexAt(pressPos_) >= 0)
        g->dragging_ = true;
    if (!g->sizing_ && !g->dragging_) {
        const int c = logicalIndexAt(pos);
        if (c != g->hotColumn_) {
            const int old = g->hotColumn_;
            g->hotColumn_ = c;
            g->repaintTitle(old);
            g->repaintTitle(c);
        }
        g->repaintTitle(g->lastMouseColumn_);
        g->lastMouseColumn_ = c;
    }
    QHeaderView::mouseMoveEvent(e);
}

void TThemeHeaderView::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    TThemeDBGrid* g = grid_;
    pressPos_ = pos;
    g->sizing_ = onSectionBorder(pos);
    if (!g->sizing_) {
        const int oldPressed = g->pressedColumn_, oldHot = g->hotColumn_;
        g->pressedColumn_ = -1;
        if (g->allowTitleClick_) g->hotColumn_ = -1;
        const int c = logicalIndexAt(pos);
        if (e->button() == Qt::LeftButton && g->allowTitleClick_ && c >= 0) g->pressedColumn_ = c;
        g->repaintTitle(oldPressed);
        g->repaintTitle(oldHot);
        g->repaintTitle(g->lastMouseColumn_);
        g->repaintTitle(c);
        g->lastMouseColumn_ = c;
    }
    QHeaderView::mousePressEvent(e);
}

void TThemeHeaderView::mouseReleaseEvent(QMouseEvent* e)
{
    TThemeDBGrid* g = grid_;
    g->sizing_ = false;
    g->dragging_ = false;
    g->pressedColumn_ = -1;
    viewport()->update();
    g->viewport()->update();
    QHeaderView::mouseReleaseEvent(e);
}

void TThemeHeaderView::leaveEvent(QEvent* e)
{
    TThemeDBGrid* g = grid_;
    g->repaintTitle(g->lastMouseColumn_);
    g->repaintTitle(g->hotColumn_);
    g->repaintTitle(g->pressedColumn_);
    g->lastMouseColumn_ = -1;
    g->hotColumn_ = -1;
    g->pressedColumn_ = -1;
    QHeaderView::leaveEvent(e);
}

// ------------------------------------------------------------------ grid

TThemeDBGrid::TThemeDBGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("Grid"));
    model_ = new db::DatasetModel(this);
    model_->setObjectName(QStringLiteral("DataSource1"));
    header_ = new TThemeHeaderView(this);
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(new GridCellDelegate(this));

    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QFont title(QStringLiteral("Arial"), 9);
    title.setBold(true);
    header_->setFont(title);
    header_->setMinimumHeight(QFontMetrics(title).height() + 6);
    header_->setDefaultSectionSize(64);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setFocusPolicy(Qt::ClickFocus);     // no tab stop
    setCornerButtonEnabled(false);
    // the selection shows also when the grid has no focus
    QPalette pal = palette();
    pal.setBrush(QPalette::Inactive, QPalette::Highlight, pal.brush(QPalette::Active, QPalette::Highlight));
    pal.setBrush(QPalette::Inactive, QPalette::HighlightedText, pal.brush(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);

    // The title click reaches the frame after the header has finished its own mouse handling,
    // so that whatever the click runs (a reopened list) happens outside the header's code.
    connect(header_, &QHeaderView::sectionClicked, this, [this](int section) {
        emit titleClicked(section);
        if (allowTitleClick_) {
            pressedColumn_ = -1;
            repaintTitle(lastMouseColumn_);
        }
    }, Qt::QueuedConnection);
    connect(header_, &QHeaderView::sectionMoved, this, [this] {
        dragging_ = false;
        viewport()->update();
        header_->viewport()->update();
    });
}

void TThemeDBGrid::setAllowTitleClick(bool on)
{
    allowTitleClick_ = on;
    header_->viewport()->update();
}

void TThemeDBGrid::setThemed(bool on)
{
    themed_ = on;
    if (!on) hotColumn_ = pressedColumn_ = -1;
    header_->viewport()->update();
}

void TThemeDBGrid::setHotColumn(int c)
{
    hotColumn_ = c;
    header_->viewport()->update();
}

void TThemeDBGrid::setPressedColumn(int c)
{
    pressedColumn_ = c;
    header_->viewport()->update();
}

void TThemeDBGrid::repaintTitle(int column)
{
    if (column < 0 || column >= header_->count()) return;
    const int x = header_->sectionViewportPosition(column);
    header_->viewport()->update(QRect(x - 1, 0, header_->sectionSize(column) + 2, header_->height()));
}

void TThemeDBGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) emit DblClick();
}

void TThemeDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.column() != previous.column() && hotColumn_ >= 0) {
        hotColumn_ = -1;
        repaintTitle(lastMouseColumn_);
        header_->viewport()->update();
    }
}

void TThemeDBGrid::drawFlatCheckBox(QPainter* painter, const QRect& rect, bool checked, const QWidget* widget)
{
    QStyle* style = widget ? widget->style() : QApplication::style();
    QStyleOptionButton opt;
    if (widget) opt.initFrom(widget);
    const int side = std::min({rect.width(), rect.height(), style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget)});
    opt.rect = QRect(0, 0, side, side);
    opt.rect.moveCenter(rect.center());
    opt.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    opt.features = QStyleOptionButton::Flat;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, painter, widget);
}

} // namespace fw
