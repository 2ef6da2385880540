#include "phone/Error.h"

namespace phone {

Error::Error(ErrorKind kind, const std::string &description, std::optional<std::int32_t> code)
    : std::runtime_error(description)
    , m_kind(kind)
    , m_code(code)
{}

Error::Error(ErrorKind kind)
    : Error(kind, standardDescription(kind))
{}

void Error::setAccess(const std::string &access)
{
    if (m_access.empty())
        m_access = access;
}

void Error::setHandler(const std::string &handler)
{
    if (m_handler.empty())
        m_handler = handler;
}

std::string standardDescription(ErrorKind kind)
{
    // The stack's report carries its number in its text, as the platform shows it.
    if (kind == ErrorKind::Stack)
        return "Laufzeitfehler '28': " + runtimeErrorText(kind);
    return runtimeErrorText(kind);
}

std::optional<std::int32_t> runtimeErrorNumber(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Range:
        return 9;
    case ErrorKind::Overflow:
        return 6;
    case ErrorKind::Type:
        return 13;
    case ErrorKind::Null:
        return 94;
    case ErrorKind::Stack:
        return 28;
    case ErrorKind::Component:
        break;
    }
    return std::nullopt;
}

std::string runtimeErrorText(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Range:
        return "Index außerhalb des gültigen Bereichs";
    case ErrorKind::Overflow:
        return "Überlauf";
    case ErrorKind::Type:
        return "Typen unverträglich";
    case ErrorKind::Null:
        return "Unzulässige Verwendung von Null";
    case ErrorKind::Stack:
        return "Nicht genügend Stapelspeicher";
    case ErrorKind::Component:
        break;
    }
    return "Fehler des Steuerelements";
}

} // namespace phone
