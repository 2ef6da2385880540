#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace app {

// LST_Message's view. It stays a QListView, so that mouse, keyboard and screen readers treat
// it as the list it is, but it places rows by arithmetic on one row height instead of QListView's
// layout: QListView lays out every row again whenever rows are inserted, so each new line costs
// time in proportion to the lines already listed. Here inserting rows, scrolling to any row,
// hit-testing and painting cost the same at a million rows as at ten.
//
// Every row is a line of text of the same height; no row is hidden, moved or wrapped. Lines are
// never shortened: the horizontal scroll bar reaches the end of the widest line that has been
// on screen (measuring every line as it arrives would cost more than storing it).
class LogView : public QListView
{
    Q_OBJECT

public:
    explicit LogView(QWidget *parent = nullptr);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void doItemsLayout() override;
    void reset() override;

    int rowHeight() const;

    // While on, every insertion scrolls the list to its last row.
    bool followsNewRows() const { return m_followsNewRows; }
    void setFollowsNewRows(bool follow);

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QSize viewportSizeHint() const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int rows() const;
    QModelIndex rowIndex(int row) const;
    int firstRow() const;
    // The row under a viewport y, which may lie outside the list.
    int rowAt(int y) const;
    int fullRows() const;
    int itemWidth() const;
    void widenToVisibleRows();
    void updateHorizontalRange();
    void forgetMeasures();

    mutable int m_rowHeight = 0;
    int m_contentWidth = 0; // widest line measured so far
    int m_measuredFirst = -1;
    int m_measuredLast = -1;
    QPersistentModelIndex m_hover;
    QPersistentModelIndex m_currentAside; // the current row while the focus is elsewhere
    bool m_followsNewRows = false;
};

} // namespace app
