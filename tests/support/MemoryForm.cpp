#include "tests/support/MemoryForm.h"

#include "form/FormLayout.h"
#include "phone/scripted/Literal.h"

#include <utility>

namespace testsupport {

namespace {

std::string nameOf(form::Control control)
{
    return std::string(form::layoutOf(control).name);
}

std::string quoted(std::u16string_view text)
{
    return phone::scripted::textLiteral(text);
}

} // namespace

std::u16string MemoryForm::text(form::Control textField) const
{
    m_trace.push_back("text " + nameOf(textField));
    const auto found = texts.find(textField);
    return found == texts.end() ? std::u16string() : found->second;
}

void MemoryForm::setText(form::Control textField, const std::u16string &text)
{
    m_trace.push_back("setText " + nameOf(textField) + ' ' + quoted(text));
    texts[textField] = text;
}

void MemoryForm::setCaption(form::Control label, const std::u16string &caption)
{
    m_trace.push_back("caption " + nameOf(label) + ' ' + quoted(caption));
    captions[label] = caption;
}

void MemoryForm::setEnabled(form::Control control, bool enabled)
{
    m_trace.push_back("enabled " + nameOf(control) + (enabled ? " 1" : " 0"));
    this->enabled[control] = enabled;
}

int MemoryForm::value(form::Control checkBox) const
{
    m_trace.push_back("value " + nameOf(checkBox));
    const auto found = values.find(checkBox);
    return found == values.end() ? 0 : found->second;
}

void MemoryForm::setValue(form::Control checkBox, int value)
{
    m_trace.push_back("setValue " + nameOf(checkBox) + ' ' + std::to_string(value));
    values[checkBox] = value;
}

void MemoryForm::addItem(const std::u16string &line)
{
    m_trace.push_back("addItem " + quoted(line));
    lines.push_back(line);
}

void MemoryForm::clearList()
{
    m_trace.push_back("clearList");
    lines.clear();
}

void MemoryForm::messageBox(const std::u16string &prompt, form::BoxStyle style,
                            const std::optional<std::u16string> &title)
{
    m_trace.push_back("box " + std::to_string(static_cast<int>(style)) + ' '
                      + (title ? quoted(*title) : "*") + ' ' + quoted(prompt));
    if (whileBoxOpen)
        std::exchange(whileBoxOpen, nullptr)();
}

void MemoryForm::unload()
{
    m_trace.push_back("unload");
    unloaded = true;
}

} // namespace testsupport
