#pragma once

#include "form/Dialogs.h"
#include "phone/Error.h"

#include <cstdio>
#include <optional>
#include <string>

namespace bench {

// The window's boxes for a benchmark: a message box is answered at once, an error report is
// counted and printed to standard error, so that nothing waits for a person.
class QuietDialogs final : public form::Dialogs
{
public:
    explicit QuietDialogs(const char *program)
        : m_program(program)
    {}

    void messageBox(const std::u16string &, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {}
    void errorReport(const phone::Error &error) override
    {
        std::fprintf(stderr, "%s: error report: %s\n", m_program, error.description().c_str());
        ++errors;
    }

    int errors = 0;

private:
    const char *m_program;
};

} // namespace bench
