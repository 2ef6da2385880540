#pragma once

#include "form/Dialogs.h"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Message boxes and error reports as records: each returns at once, as if closed by the user.
class RecordingDialogs : public form::Dialogs
{
public:
    struct Box
    {
        std::u16string prompt;
        form::BoxStyle style;
        std::optional<std::u16string> title;
    };
    struct Report
    {
        phone::ErrorKind kind;
        std::string description;
        std::string handler;
        std::string access;
    };

    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override
    {
        boxes.push_back(Box{prompt, style, title});
    }

    void errorReport(const phone::Error &error) override
    {
        errors.push_back(
            Report{error.kind(), error.description(), error.handler(), error.access()});
    }

    std::vector<Box> boxes;
    std::vector<Report> errors;
};

} // namespace testsupport
