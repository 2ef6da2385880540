#pragma once

#include "events/CallEventHandlers.h"
#include "form/FormPort.h"
#include "phone/Dispatch.h"
#include "phone/TervaniFacade.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace logbench {

// The obvious design the benchmark compares against: the same event handlers and control
// boundary, writing into a plain QListWidget and two labels in a window of Form1's size.
// Every line becomes a list item and every caption is set on its label at once.
class BaselineLog : public QWidget, public form::FormPort, private phone::EventSink
{
public:
    explicit BaselineLog(phone::Dispatch &control);
    ~BaselineLog() override;

    QLabel *latestLabel() const { return m_latest; }
    QListWidget *list() const { return m_list; }

    // FormPort: only the list and the labels matter here.
    std::u16string text(form::Control) const override { return {}; }
    void setText(form::Control, const std::u16string &) override {}
    void setCaption(form::Control label, const std::u16string &caption) override;
    void setEnabled(form::Control, bool) override {}
    int value(form::Control) const override { return 0; }
    void setValue(form::Control, int) override {}
    void addItem(const std::u16string &line) override;
    void clearList() override;
    void messageBox(const std::u16string &, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {}
    void unload() override {}

private:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override;

    phone::Dispatch &m_dispatch;
    phone::TervaniFacade m_control;
    events::CallEventHandlers m_handlers;
    QListWidget *m_list;
    QLabel *m_count;
    QLabel *m_latest;
};

} // namespace logbench
