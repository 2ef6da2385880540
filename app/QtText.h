#pragma once

#include <QString>

#include <string_view>

namespace app {

// The bench's UTF-16 texts as Qt's, code unit for code unit.
inline QString qt(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

} // namespace app
