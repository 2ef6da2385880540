#pragma once

#include <QStyledItemDelegate>

namespace app {

// Draws the rows of LST_Message. A row and its tooltip show the line's first characters
// (shownPart), however long the control made it; the model keeps the whole line, and the
// row's accessible text is the whole line.
class LogLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace app
