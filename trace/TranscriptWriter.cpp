#include "trace/TranscriptWriter.h"

#include "form/FormLayout.h"
#include "phone/scripted/Literal.h"

namespace trace {

using phone::scripted::textLiteral;

std::string_view controlName(form::Control control)
{
    return form::layoutOf(control).name;
}

std::string_view errorKindName(phone::ErrorKind kind)
{
    switch (kind) {
    case phone::ErrorKind::Range:
        return "range";
    case phone::ErrorKind::Overflow:
        return "overflow";
    case phone::ErrorKind::Type:
        return "type";
    case phone::ErrorKind::Null:
        return "null";
    case phone::ErrorKind::Stack:
        return "stack";
    case phone::ErrorKind::Component:
        break;
    }
    return "component";
}

TranscriptWriter::TranscriptWriter(std::ostream &out, Flush flush, WriteWatch *watch)
    : m_out(out)
    , m_flush(flush)
    , m_watch(watch)
{}

void TranscriptWriter::write(std::string_view line)
{
    m_out << line << '\n';
    if (m_flush == Flush::EachLine)
        m_out.flush();
    if (m_watch)
        m_watch->check(m_out);
}

void TranscriptWriter::comment(std::string_view line)
{
    write("# " + std::string(line));
}

void TranscriptWriter::access(const phone::scripted::Access &access)
{
    write(phone::scripted::accessLine(access));
}

void TranscriptWriter::box(const std::u16string &prompt, form::BoxStyle style,
                           const std::optional<std::u16string> &title)
{
    write("box " + std::to_string(static_cast<int>(style)) + ' '
          + (title ? textLiteral(*title) : "*") + ' ' + textLiteral(prompt));
}

void TranscriptWriter::error(const phone::Error &error)
{
    write("error " + std::string(errorKindName(error.kind())));
}

void TranscriptWriter::lineAdded(const std::u16string &line)
{
    write("line " + textLiteral(line));
}

void TranscriptWriter::listCleared()
{
    write("clear");
}

void TranscriptWriter::captionSet(form::Control label, const std::u16string &caption)
{
    write("caption " + std::string(controlName(label)) + ' ' + textLiteral(caption));
}

void TranscriptWriter::enabledSet(form::Control control, bool enabled)
{
    write("enabled " + std::string(controlName(control)) + (enabled ? " 1" : " 0"));
}

void TranscriptWriter::textSet(form::Control textField, const std::u16string &text)
{
    write("text " + std::string(controlName(textField)) + ' ' + textLiteral(text));
}

void TranscriptWriter::checkSet(form::Control checkBox, int value)
{
    write("check " + std::string(controlName(checkBox)) + ' ' + std::to_string(value));
}

void TranscriptWriter::unloaded()
{
    write("exit");
}

} // namespace trace
