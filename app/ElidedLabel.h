#pragma once

#include <QLabel>

namespace app {

// A one-line label for texts that come from calls and the control. However long its text,
// it asks for no more room than a line of moderate length, draws what fits with "…" at the
// end, and shows the text whole in its tooltip (its first characters, as shownPart cuts
// them), so that no text can push its window beyond the screen.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // The text and its tooltip.
    void setFullText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize padding() const;
};

} // namespace app
