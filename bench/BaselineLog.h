#pragma once

#include "app/FormPort.h"
#include "events/CallEventHandlers.h"
#include "events/CallIdTable.h"
#include "phone/Dispatch.h"
#include "phone/Tervani.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace bench {

// The obvious design the benchmark compares against: the same event handlers and control
// boundary, writing into a plain QListWidget and two labels in a window of Form1's size.
// Every line becomes a list item and every caption is set on its label at once.
class BaselineLog : public QWidget, public app::FormPort, private phone::EventSink
{
public:
    explicit BaselineLog(phone::Dispatch &control);
    ~BaselineLog() override;

    QLabel *latestLabel() const { return m_latest; }
    QListWidget *list() const { return m_list; }
    void clearList();

    // FormPort: only the list and the labels matter here.
    std::u16string text(app::Control) const override { return {}; }
    void setText(app::Control, const std::u16string &) override {}
    void setCaption(app::Control label, const std::u16string &caption) override;
    void setEnabled(app::Control, bool) override {}
    void addItem(const std::u16string &line) override;
    void messageBox(const std::u16string &, app::BoxStyle,
                    const std::optional<std::u16string> &) override
    {}

private:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override;

    phone::Dispatch &m_dispatch;
    phone::Tervani m_control;
    events::CallIdTable m_callIDs;
    std::u16string m_strEvent;
    events::CallEventHandlers m_handlers;
    QListWidget *m_list;
    QLabel *m_count;
    QLabel *m_latest;
};

} // namespace bench
