#pragma once

#include <QLineEdit>

#include <limits>

namespace app {

// A single-line text field that also reports double clicks.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    TextField(const QString &text, QWidget *parent)
        : QLineEdit(text, parent)
    {
        // A text box has no length limit of its own; QLineEdit would cut a text set from the
        // control (a conversion's result) or typed in at 32767 characters without a word.
        setMaxLength(std::numeric_limits<int>::max());
    }

    // Replaces the whole text as one step the user can take back with Ctrl+Z (setText would
    // forget what was there before).
    void replaceText(const QString &text)
    {
        selectAll();
        insert(text);
    }

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
