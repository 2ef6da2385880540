#pragma once

#include <cstdint>
#include <optional>
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
    Error(ErrorKind kind, const std::string &description,
          std::optional<std::int32_t> code = std::nullopt);
    explicit Error(ErrorKind kind);

    ErrorKind kind() const { return m_kind; }
    std::string description() const { return what(); }
    // The control's own error number (its HRESULT or exception code), where it gave one.
    std::optional<std::int32_t> code() const { return m_code; }

    // Where the error arose, told on its way out so that a report can name it: the access
    // ("LatestText lesen") by the code that made it, the handler ("OnRing") by the window.
    // The first one told stays, since it is the innermost.
    const std::string &access() const { return m_access; }
    const std::string &handler() const { return m_handler; }
    void setAccess(const std::string &access);
    void setHandler(const std::string &handler);

private:
    ErrorKind m_kind;
    std::optional<std::int32_t> m_code;
    std::string m_access;
    std::string m_handler;
};

// The German text the platform shows for each kind that is not the control's own.
std::string standardDescription(ErrorKind kind);

// The runtime's error number for a kind of its own (13 for Type ...); none for the control's.
std::optional<std::int32_t> runtimeErrorNumber(ErrorKind kind);
// The runtime's text for a kind of its own, without its number.
std::string runtimeErrorText(ErrorKind kind);

} // namespace phone
