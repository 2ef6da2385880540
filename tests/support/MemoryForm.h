#pragma once

#include "form/FormPort.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// The window in memory, for the handlers' own tests: it keeps what the handlers set and writes
// every operation as one line into a trace it shares with the stand-in control, so a test sees
// the handlers' window operations and control accesses in one order.
class MemoryForm : public form::FormPort
{
public:
    explicit MemoryForm(std::vector<std::string> &trace)
        : m_trace(trace)
    {}

    std::u16string text(form::Control textField) const override;
    void setText(form::Control textField, const std::u16string &text) override;
    void setCaption(form::Control label, const std::u16string &caption) override;
    void setEnabled(form::Control control, bool enabled) override;
    int value(form::Control checkBox) const override;
    void setValue(form::Control checkBox, int value) override;
    void addItem(const std::u16string &line) override;
    void clearList() override;
    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override;
    void unload() override;

    // What the user typed or ticked; set by tests, not traced.
    std::map<form::Control, std::u16string> texts;
    std::map<form::Control, int> values;
    // What the handlers did.
    std::map<form::Control, std::u16string> captions;
    std::map<form::Control, bool> enabled;
    std::vector<std::u16string> lines;
    bool unloaded = false;
    // Runs while a box is open, as the user's or the control's doing before it is closed.
    std::function<void()> whileBoxOpen;

private:
    std::vector<std::string> &m_trace;
};

} // namespace testsupport
