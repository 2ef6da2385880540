#include "app/LoadGenerator.h"

#include "phone/Error.h"
#include "phone/sim/Softphone.h"

#include <QString>

namespace app {

LoadGenerator::LoadGenerator(phone::sim::Softphone &softphone, QObject *parent)
    : QObject(parent)
    , m_softphone(softphone)
{
    connect(&m_timer, &QTimer::timeout, this, &LoadGenerator::next);
}

std::u16string LoadGenerator::callerNumber(int n)
{
    return u"0171 " + QStringLiteral("%1").arg(n, 7, 10, QLatin1Char('0')).toStdU16String();
}

void LoadGenerator::start(int calls, int paceMs)
{
    stop();
    m_total = calls;
    m_made = 0;
    m_timer.start(paceMs);
    next(); // the first caller at once
}

void LoadGenerator::stop()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    hangUpOpenCall();
    emit finished();
}

void LoadGenerator::hangUpOpenCall()
{
    if (!m_openCall)
        return;
    const std::int32_t id = *m_openCall;
    m_openCall.reset();
    try {
        m_softphone.farEndHangUp(id);
    } catch (const phone::Error &) {
        // The call has ended already: the bench hung it up, or its caller gave up.
    }
}

void LoadGenerator::next()
{
    hangUpOpenCall();
    if (m_made == m_total) {
        stop();
        return;
    }
    ++m_made;
    m_openCall = m_softphone.ring(callerNumber(m_made));
    emit progressed();
}

} // namespace app
