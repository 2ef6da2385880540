#include "app/LocalTimeText.h"

#include <QDateTime>

namespace app {

namespace {

qint64 floorDivide(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    return (value % divisor < 0) ? quotient - 1 : quotient;
}

char16_t *writeDigits(char16_t *out, qint64 value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    }
    return out + digits;
}

} // namespace

char16_t *LocalTimeText::write(char16_t *out, qint64 msSinceEpoch)
{
    const qint64 quarterHour = floorDivide(msSinceEpoch, quarterHourMs);
    if (quarterHour != m_quarterHour) {
        m_quarterHour = quarterHour;
        m_offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(msSinceEpoch).offsetFromUtc()) * 1000;
    }
    constexpr qint64 dayMs = 24 * 60 * 60 * 1000;
    const qint64 local = msSinceEpoch + m_offsetMs;
    const qint64 ofDay = local - floorDivide(local, dayMs) * dayMs;
    out = writeDigits(out, ofDay / 3'600'000, 2);
    *out++ = u':';
    out = writeDigits(out, ofDay / 60'000 % 60, 2);
    *out++ = u':';
    out = writeDigits(out, ofDay / 1000 % 60, 2);
    *out++ = u'.';
    return writeDigits(out, ofDay % 1000, 3);
}

QString LocalTimeText::operator()(qint64 msSinceEpoch)
{
    QString text(length, Qt::Uninitialized);
    write(reinterpret_cast<char16_t *>(text.data()), msSinceEpoch);
    return text;
}

} // namespace app
