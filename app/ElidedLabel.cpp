#include "app/ElidedLabel.h"

#include "app/DisplayText.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace app {

namespace {

// The widest a label asks to be, and the narrowest it lets itself be made, in characters.
constexpr int widestCharacters = 60;
constexpr int narrowestCharacters = 12;

} // namespace

ElidedLabel::ElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidedLabel::setFullText(const QString &text)
{
    setText(text);
    setToolTip(shownPart(text));
}

QSize ElidedLabel::padding() const
{
    const QMargins margins = contentsMargins();
    return QSize(margins.left() + margins.right() + 2 * margin(),
                 margins.top() + margins.bottom() + 2 * margin());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int width = std::min(metrics.horizontalAdvance(shownPart(text())),
                               widestCharacters * metrics.averageCharWidth());
    return QSize(width, metrics.height()) + padding();
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(std::min(sizeHint().width() - padding().width(),
                          narrowestCharacters * metrics.averageCharWidth()),
                 metrics.height())
           + padding();
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(shownPart(text()), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

} // namespace app
