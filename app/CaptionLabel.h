#pragma once

#include <QLabel>

namespace app {

// A label for captions that carry the control's texts. It keeps the whole caption as its
// text but draws only its first characters (shownPart), so a caption of a megabyte does not
// stall every repaint. What fits in the label looks as a plain label draws it.
class CaptionLabel : public QLabel
{
    Q_OBJECT

public:
    CaptionLabel(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace app
