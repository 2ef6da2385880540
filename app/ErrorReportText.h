#pragma once

#include "phone/Error.h"

#include <cstddef>
#include <string>

namespace app {

// What the error report says: the first error as the runtime reports it, where it came from,
// and every further error that came while the report was open, so that none is lost.
// UTF-8 throughout.
class ErrorReportText
{
public:
    // `time` is when the error reached the window, as "HH:MM:SS.mmm".
    explicit ErrorReportText(const phone::Error &first, const std::string &time);

    void add(const phone::Error &further, const std::string &time);

    std::size_t count() const { return m_count; }
    // "Laufzeitfehler '13':\n\nTypen unverträglich".
    const std::string &text() const { return m_text; }
    // Where the first error came from, and how many followed it.
    std::string informativeText() const;
    // Every error, the first included, one line each with its time, handler and access.
    const std::string &details() const { return m_details; }

private:
    void list(const phone::Error &error, const std::string &time);

    std::string m_text;
    std::string m_where;
    std::string m_details;
    std::size_t m_count = 0;
};

// "Laufzeitfehler '13'", "Laufzeitfehler '-2147352567 (80020009)'" for a control's HRESULT,
// or "Fehler des Steuerelements" for a control's error without a number.
std::string errorHeading(const phone::Error &error);
// The runtime's own text for its kinds; the control's description for its errors.
std::string errorBody(const phone::Error &error);

} // namespace app
