#pragma once

#include <QStyledItemDelegate>

namespace app {

// Draws the rows of LST_Message. A row shows the line's first characters (shownPart), however
// long the control made it, and its tooltip the same with the time the line arrived; the model
// keeps the whole line, and the row's accessible text is the whole line.
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
