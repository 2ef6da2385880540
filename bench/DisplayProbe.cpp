#include "bench/DisplayProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>

namespace logbench {

DisplayProbe::DisplayProbe(QLabel *label, SerialOf serialOf)
    : m_label(label)
    , m_serialOf(std::move(serialOf))
{
    m_label->installEventFilter(this);
}

DisplayProbe::~DisplayProbe()
{
    m_label->removeEventFilter(this);
}

void DisplayProbe::startTiming()
{
    m_timing = true;
    m_firstTimed = m_newest + 1;
    m_raisedAt.clear();
    m_firstUnshown = 0;
    m_maxLag = {};
}

bool DisplayProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_label || event->type() != QEvent::Paint)
        return false;
    // The caption being painted names the newest event the window has taken in.
    const std::optional<std::uint32_t> shown = m_serialOf(m_label->text());
    if (!shown || *shown <= m_shown)
        return false;
    m_shown = *shown;
    const std::size_t shownUpTo = m_shown >= m_firstTimed ? m_shown - m_firstTimed + 1 : 0;
    if (m_firstUnshown < shownUpTo && m_firstUnshown < m_raisedAt.size()) {
        // The oldest of the events this paint shows for the first time waited longest.
        m_maxLag = std::max(m_maxLag, Clock::now() - m_raisedAt[m_firstUnshown]);
        m_firstUnshown = std::min(shownUpTo, m_raisedAt.size());
    }
    return false;
}

bool waitUntilShown(const DisplayProbe &probe, std::chrono::seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!probe.caughtUp()) {
        if (Clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

} // namespace logbench
