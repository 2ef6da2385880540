#include "app/LogLineDelegate.h"

#include "app/DisplayText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace app {

void LogLineDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = shownPart(option->text);
}

bool LogLineDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString line = index.data(Qt::ToolTipRole).toString();
    if (line.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), shownPart(line), view);
    return true;
}

} // namespace app
