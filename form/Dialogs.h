#pragma once

#include "form/FormPort.h"
#include "phone/Error.h"

#include <optional>
#include <string>

namespace form {

// The seam for everything modal: the window's message boxes and the top-level error report.
// The program shows real boxes; tests and the scenario tool record them instead.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Returns once the user has closed the box. No title means the application title.
    virtual void messageBox(const std::u16string &prompt, BoxStyle style,
                            const std::optional<std::u16string> &title) = 0;
    // A handler stopped on this error; the program goes on afterwards.
    virtual void errorReport(const phone::Error &error) = 0;
};

} // namespace form
