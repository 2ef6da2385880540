#include "app/LogLineDelegate.h"

#include "app/DisplayText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTextDocument>
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
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else if (Qt::mightBeRichText(tip)) // a control's "<b>" is text, not markup
        QToolTip::showText(event->globalPos(),
                           QStringLiteral("<p style='white-space:pre'>%1</p>")
                               .arg(tip.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))),
                           view);
    else
        QToolTip::showText(event->globalPos(), tip, view);
    return true;
}

} // namespace app
