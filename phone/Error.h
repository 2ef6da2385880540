#pragma once

#include <stdexcept>
#include <string>

namespace phone {

enum class ErrorKind {
    Range,     // a call-identifier index outside the table
    Overflow,  // a number outside the target integer's range
    Type,      // a value that cannot be read as a number or truth value
    Null,      // Null where a number or truth value is needed
    Component, // the control itself raised an error
    Stack,     // handlers nested inside one another beyond the bound (see maxHandlerDepth)
};

// The one error type of the bench. Handlers never catch it; the window's handler wrapper
// reports it. The description is UTF-8: for a component error it is the control's own text.
class Error : public std::runtime_error
{
public:
    Error(ErrorKind kind, const std::string &description);
    explicit Error(ErrorKind kind);

    ErrorKind kind() const { return m_kind; }
    std::string description() const { return what(); }

private:
    ErrorKind m_kind;
};

// The German text the platform shows for each kind that is not the control's own.
std::string standardDescription(ErrorKind kind);

} // namespace phone
