#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;

namespace logbench {

using Clock = std::chrono::steady_clock;

// Watches a window's LBL_Last as it is painted, to tell which event the window on screen has
// caught up with (the caption names it) and, while timing, how long each event waited for the
// first paint that showed it.
class DisplayProbe : public QObject
{
public:
    using SerialOf = std::function<std::optional<std::uint32_t>(const QString &caption)>;

    DisplayProbe(QLabel *label, SerialOf serialOf);
    ~DisplayProbe() override;

    // The event with this serial was just raised.
    void raised(std::uint32_t serial)
    {
        m_newest = serial;
        if (m_timing)
            m_raisedAt.push_back(Clock::now());
    }
    bool caughtUp() const { return m_shown == m_newest; }

    // Lags are recorded from the next event raised until stopTiming().
    void startTiming();
    void stopTiming() { m_timing = false; }
    // The longest an event waited for the paint that showed it, since startTiming().
    Clock::duration maxLag() const { return m_maxLag; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label;
    SerialOf m_serialOf;
    std::uint32_t m_newest = 0;
    std::uint32_t m_shown = 0;
    bool m_timing = false;
    std::uint32_t m_firstTimed = 0; // serial of m_raisedAt[0]
    std::vector<Clock::time_point> m_raisedAt;
    std::size_t m_firstUnshown = 0; // index into m_raisedAt
    Clock::duration m_maxLag{};
};

// Runs event-loop passes until the probe has seen the newest event painted; false when that
// takes longer than the timeout.
bool waitUntilShown(const DisplayProbe &probe, std::chrono::seconds timeout);

} // namespace logbench
