#pragma once

#include <QString>

#include <limits>

namespace app {

// Writes a moment, given in milliseconds since the epoch, as the local wall-clock time
// "HH:MM:SS.mmm". Asking the time zone for the local offset is the costly part of that, so a
// writer keeps the offset of the quarter hour it wrote last: the times of a log come in order,
// and zones change their offset only on a quarter hour.
class LocalTimeText
{
public:
    static constexpr qsizetype length = 12;
    // Writes the length characters to out and returns the place after them.
    char16_t *write(char16_t *out, qint64 msSinceEpoch);
    QString operator()(qint64 msSinceEpoch);

private:
    static constexpr qint64 quarterHourMs = 15 * 60 * 1000;
    qint64 m_quarterHour = std::numeric_limits<qint64>::min();
    qint64 m_offsetMs = 0;
};

} // namespace app
