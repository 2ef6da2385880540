#include "bench/EventFeed.h"

#include "events/EventLog.h"
#include "form/FormLayout.h"
#include "phone/Members.h"

namespace logbench {

namespace {

std::int32_t callIdOf(std::uint32_t serial)
{
    // Seven digits, so that every line has the same typical length.
    return static_cast<std::int32_t>(1000000 + serial % 9000000);
}

constexpr std::u16string_view latestPrefix = u"Verbunden mit 0301234567, Ereignis ";
constexpr std::size_t serialDigits = 10;

} // namespace

EventFeed::EventFeed()
    : m_latestText(std::u16string(latestPrefix) + std::u16string(serialDigits, u'0'))
{
    m_arguments.callingNumber = std::u16string(u"0301234567");
    m_arguments.calledMSN = std::u16string(u"4711");
}

void EventFeed::raise()
{
    ++m_serial;
    m_arguments.callID = callIdOf(m_serial);
    // The serial's digits, in place.
    std::uint32_t rest = m_serial;
    for (std::size_t i = m_latestText.size(); i-- > latestPrefix.size(); rest /= 10)
        m_latestText[i] = static_cast<char16_t>(u'0' + rest % 10);
    m_control.setAnswer(phone::dispid::ConnectionCount, static_cast<std::int32_t>(m_serial % 4));
    m_control.setAnswer(phone::dispid::LatestText, m_latestText);
    m_control.raiseEvent(phone::event::OnConnected, m_arguments);
}

std::optional<std::uint32_t> EventFeed::serialShownIn(const QString &caption)
{
    const QString digits = caption.right(serialDigits);
    bool ok = false;
    const std::uint32_t serial = digits.toUInt(&ok);
    if (!ok
        || caption.size()
               != qsizetype(form::latestCaption.size() + latestPrefix.size() + serialDigits))
        return std::nullopt;
    return serial;
}

std::u16string EventFeed::expectedLine() const
{
    return events::formatEventLine(
        u"OnConnected", std::get<std::u16string>(m_arguments.callingNumber),
        std::get<std::u16string>(m_arguments.calledMSN), callIdOf(m_serial));
}

} // namespace logbench
