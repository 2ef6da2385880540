#pragma once

#include <QLineEdit>

namespace app {

// A single-line text field that also reports double clicks.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QLineEdit::mouseDoubleClickEvent(event);
        emit doubleClicked();
    }
};

} // namespace app
