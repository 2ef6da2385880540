#include "app/ErrorReportText.h"

#include <cstdint>
#include <cstdio>

namespace app {

namespace {

std::string quoted(const std::string &text)
{
    return "„" + text + "“";
}

// One line of the details: a description's own line breaks and tabs become blanks.
std::string oneLine(std::string text)
{
    for (char &c : text) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    }
    return text;
}

} // namespace

std::string errorHeading(const phone::Error &error)
{
    if (const auto number = phone::runtimeErrorNumber(error.kind()))
        return "Laufzeitfehler '" + std::to_string(*number) + "'";
    const auto code = error.code();
    if (!code)
        return "Fehler des Steuerelements";
    if (*code >= 0)
        return "Laufzeitfehler '" + std::to_string(*code) + "'";
    // The runtime's own facility (FACILITY_CONTROL), which controls raise as CTL_E_...: the
    // runtime shows the error number in its low 16 bits.
    const auto bits = static_cast<std::uint32_t>(*code);
    if ((bits & 0xFFFF0000u) == 0x800A0000u)
        return "Laufzeitfehler '" + std::to_string(bits & 0xFFFFu) + "'";
    // A failing HRESULT, shown the way the runtime shows one: decimal, then its bits in hex.
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(*code)));
    return "Laufzeitfehler '" + std::to_string(*code) + " (" + hex + ")'";
}

std::string errorBody(const phone::Error &error)
{
    if (phone::runtimeErrorNumber(error.kind()))
        return phone::runtimeErrorText(error.kind());
    return error.description();
}

ErrorReportText::ErrorReportText(const phone::Error &first, const std::string &time)
    : m_text(errorHeading(first) + ":\n\n" + errorBody(first))
{
    if (!first.handler().empty()) {
        m_where = "Aufgetreten in " + quoted(first.handler());
        if (!first.access().empty())
            m_where += " bei " + quoted(first.access());
        m_where += '.';
    }
    list(first, time);
}

void ErrorReportText::add(const phone::Error &further, const std::string &time)
{
    list(further, time);
}

void ErrorReportText::list(const phone::Error &error, const std::string &time)
{
    if (m_count != 0)
        m_details += '\n';
    m_details += time;
    if (!error.handler().empty())
        m_details += "  " + error.handler();
    if (!error.access().empty())
        m_details += "  " + error.access();
    m_details += "  " + errorHeading(error) + ": " + oneLine(errorBody(error));
    ++m_count;
}

std::string ErrorReportText::informativeText() const
{
    std::string text = m_where;
    const std::size_t further = m_count - 1;
    if (further != 0) {
        if (!text.empty())
            text += "\n\n";
        text += "… und " + std::to_string(further)
                + (further == 1 ? " weiterer Fehler" : " weitere Fehler")
                + " während dieser Meldung (alle in den Details).";
    }
    return text;
}

} // namespace app
