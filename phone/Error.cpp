#include "phone/Error.h"

namespace phone {

Error::Error(ErrorKind kind, const std::string &description)
    : std::runtime_error(description)
    , m_kind(kind)
{}

Error::Error(ErrorKind kind)
    : Error(kind, standardDescription(kind))
{}

std::string standardDescription(ErrorKind kind)
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
        // The platform's own report, with its run-time error number.
        return "Laufzeitfehler '28': Nicht genügend Stapelspeicher";
    case ErrorKind::Component:
        break;
    }
    return "Fehler des Steuerelements";
}

} // namespace phone
