#include "app/CaptionLabel.h"

#include "app/DisplayText.h"

#include <QPainter>
#include <QStyle>

namespace app {

CaptionLabel::CaptionLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    // Captions carry the control's texts: never interpret them as markup.
    setTextFormat(Qt::PlainText);
}

void CaptionLabel::paintEvent(QPaintEvent *event)
{
    if (text().size() <= shownCharacters) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shownPart(text()), foregroundRole());
}

} // namespace app
