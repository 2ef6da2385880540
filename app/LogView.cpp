#include "app/LogView.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QHoverEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace app {

namespace {

// Rows far above or below the viewport get a rectangle far outside it; the clamp keeps the
// arithmetic inside int however many rows there are.
constexpr qint64 farAway = 1'000'000'000;

int clampedPixels(qint64 pixels)
{
    return static_cast<int>(std::clamp(pixels, -farAway, farAway));
}

} // namespace

LogView::LogView(QWidget *parent)
    : QListView(parent)
{
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
}

int LogView::rows() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex LogView::rowIndex(int row) const
{
    return model()->index(row, modelColumn(), rootIndex());
}

int LogView::firstRow() const
{
    // Scrolling is by whole rows: the vertical bar's value is the top row.
    return verticalScrollBar()->value();
}

int LogView::rowHeight() const
{
    if (m_rowHeight <= 0) {
        // The height the item delegate gives a one-line text, the same for every line.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("Ag");
        m_rowHeight = std::max(
            1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
    }
    return m_rowHeight;
}

int LogView::rowAt(int y) const
{
    const int height = rowHeight();
    const int rowsDown = y >= 0 ? y / height : -((height - 1 - y) / height);
    return static_cast<int>(std::clamp<qint64>(qint64(firstRow()) + rowsDown, -1, INT_MAX));
}

int LogView::fullRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

int LogView::itemWidth() const
{
    return std::max(viewport()->width(), m_contentWidth);
}

QRect LogView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn()
        || index.row() >= rows())
        return {};
    const int height = rowHeight();
    const int top = clampedPixels(qint64(index.row() - firstRow()) * height);
    return QRect(-horizontalOffset(), top, itemWidth(), height);
}

QModelIndex LogView::indexAt(const QPoint &point) const
{
    const int row = rowAt(point.y());
    if (row < 0 || row >= rows() || point.x() + horizontalOffset() >= itemWidth())
        return {};
    return rowIndex(row);
}

void LogView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
        return;
    executeDelayedItemsLayout(); // the bar's range must already count the row
    const int row = index.row();
    const int first = firstRow();
    const int page = fullRows();
    int top = first;
    switch (hint) {
    case EnsureVisible:
        if (row < first)
            top = row;
        else if (row >= first + page)
            top = row - page + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - page + 1;
        break;
    case PositionAtCenter:
        top = row - page / 2;
        break;
    }
    verticalScrollBar()->setValue(top); // the bar keeps it within its range
}

void LogView::doItemsLayout()
{
    // Nothing to lay out: a row's place follows from its number. QListView's own layout would
    // visit every row.
    QAbstractItemView::doItemsLayout();
}

void LogView::reset()
{
    forgetMeasures();
    m_hover = QPersistentModelIndex();
    QListView::reset();
}

void LogView::forgetMeasures()
{
    m_contentWidth = 0;
    m_measuredFirst = -1;
    m_measuredLast = -1;
}

void LogView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    // QListView would throw its layout away here and lay out all rows again.
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent != rootIndex())
        return;
    updateGeometries();
    if (m_followsNewRows)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    // Rows below the viewport show only in the scroll bar.
    if (start <= firstRow() + fullRows())
        viewport()->update();
}

void LogView::setFollowsNewRows(bool follow)
{
    m_followsNewRows = follow;
    if (follow)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogView::updateGeometries()
{
    const int page = fullRows();
    QScrollBar *vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(page);
    vertical->setRange(0, std::max(0, rows() - page));
    widenToVisibleRows();
    updateHorizontalRange();
    // QListView's version would consult its layout; the base class only places editors.
    QAbstractItemView::updateGeometries();
}

void LogView::updateHorizontalRange()
{
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setSingleStep(rowHeight());
    horizontal->setPageStep(viewport()->width());
    horizontal->setRange(0, std::max(0, m_contentWidth - viewport()->width()));
}

void LogView::widenToVisibleRows()
{
    const int count = rows();
    if (count == 0)
        return;
    const int first = std::clamp(firstRow(), 0, count - 1);
    const int last = std::min(count - 1, first + fullRows()); // the partly shown row too
    if (first == m_measuredFirst && last <= m_measuredLast)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        m_contentWidth =
            std::max(m_contentWidth, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    m_measuredFirst = first;
    m_measuredLast = last;
}

void LogView::scrollContentsBy(int dx, int dy)
{
    const qint64 pixels = qint64(dy) * rowHeight();
    if (std::abs(pixels) < viewport()->height())
        viewport()->scroll(dx, static_cast<int>(pixels));
    else
        viewport()->update();
    if (dy != 0) {
        widenToVisibleRows();
        updateHorizontalRange();
    }
}

int LogView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int LogView::verticalOffset() const
{
    return clampedPixels(qint64(firstRow()) * rowHeight());
}

void LogView::paintEvent(QPaintEvent *event)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());

    const QRect area = event->rect();
    const int first = std::max(0, rowAt(area.top()));
    const int last = std::min(rows() - 1, rowAt(area.bottom()));
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State viewState = option.state;
    // As QListView paints: an enabled view draws its rows in the normal colours.
    if (viewState & QStyle::State_Enabled)
        option.palette.setCurrentColorGroup(QPalette::Normal);

    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        option.rect = visualRect(index);
        option.state = viewState;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focus && index == current)
            option.state |= QStyle::State_HasFocus;
        option.state.setFlag(QStyle::State_MouseOver, index == m_hover);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

bool LogView::viewportEvent(QEvent *event)
{
    // QAbstractItemView keeps the hovered row to itself; the rows here are painted by this
    // class, so it follows the mouse too.
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hover = indexAt(static_cast<QHoverEvent *>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hover = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void LogView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        forgetMeasures();
        scheduleDelayedItemsLayout();
    }
    QListView::changeEvent(event);
}

QModelIndex LogView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int count = rows();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return rowIndex(0);
    const auto at = [&](qint64 row) {
        return rowIndex(int(std::clamp<qint64>(row, 0, count - 1)));
    };
    const int row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        return at(row - 1);
    case MoveDown:
    case MoveNext:
        return at(row + 1);
    case MovePageUp:
        return at(qint64(row) - fullRows());
    case MovePageDown:
        return at(qint64(row) + fullRows());
    case MoveHome:
        return at(0);
    case MoveEnd:
        return at(count - 1);
    case MoveLeft:
    case MoveRight:
        // Nothing lies beside a row; the arrows move along a long line instead.
        horizontalScrollBar()->triggerAction(cursorAction == MoveLeft
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        return current;
    }
    return current;
}

void LogView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const int top = std::max(0, rowAt(area.top()));
    const int bottom = std::min(rows() - 1, rowAt(area.bottom()));
    const bool acrossRows =
        area.right() + horizontalOffset() >= 0 && area.left() + horizontalOffset() < itemWidth();
    QItemSelection selection;
    // A click below the last row selects nothing, as in QListView.
    if (top <= bottom && acrossRows)
        selection.select(rowIndex(top), rowIndex(bottom));
    selectionModel()->select(selection, command);
}

QRegion LogView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect viewportRect = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid() || range.parent() != rootIndex() || range.left() > modelColumn()
            || range.right() < modelColumn())
            continue;
        const QRect top = visualRect(rowIndex(range.top()));
        const QRect bottom = visualRect(rowIndex(range.bottom()));
        region += QRect(top.topLeft(), bottom.bottomRight()).intersected(viewportRect);
    }
    return region;
}

bool LogView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

// QListView's versions of the next two tell screen readers the row's place in its layout,
// which this view does not keep; the place of a row here is its number.
void LogView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive()) {
        const QModelIndex added = selected.indexes().value(0);
        if (added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(added.row());
            QAccessible::updateAccessibility(&event);
        }
        const QModelIndex removed = deselected.indexes().value(0);
        if (removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(removed.row());
            QAccessible::updateAccessibility(&event);
        }
    }
#endif
    QAbstractItemView::selectionChanged(selected, deselected);
}

void LogView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
#endif
    QAbstractItemView::currentChanged(current, previous);
}

// A screen reader hears the view's current row as the focused one, whether or not the view
// has the focus; so the current row is put aside while the focus is in another widget, and
// comes back with it. A context menu of the list's own leaves it where it is.
void LogView::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && currentIndex().isValid() && selectionModel()) {
        m_currentAside = currentIndex();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    QListView::focusOutEvent(event);
}

void LogView::focusInEvent(QFocusEvent *event)
{
    if (m_currentAside.isValid() && !currentIndex().isValid() && selectionModel())
        selectionModel()->setCurrentIndex(m_currentAside, QItemSelectionModel::NoUpdate);
    m_currentAside = QPersistentModelIndex();
    QListView::focusInEvent(event);
}

QSize LogView::viewportSizeHint() const
{
    return QSize(m_contentWidth, clampedPixels(qint64(rows()) * rowHeight()));
}

} // namespace app
