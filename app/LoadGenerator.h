#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace phone::sim {
class Softphone;
}

namespace app {

// Makes the simulated softphone busy, to watch the bench under load: a chosen number of
// callers, one after another at a chosen pace. Each caller rings and, when the next one comes
// (or the run ends), hangs up, so the log fills with the whole event sequence of each call
// while at most one generated call is open.
class LoadGenerator : public QObject
{
    Q_OBJECT

public:
    explicit LoadGenerator(phone::sim::Softphone &softphone, QObject *parent = nullptr);

    void start(int calls, int paceMs);
    void stop();
    bool running() const { return m_timer.isActive(); }
    int made() const { return m_made; }
    int total() const { return m_total; }

    // The number the n-th generated caller rings from.
    static std::u16string callerNumber(int n);

signals:
    void progressed();
    void finished();

private:
    void next();
    void hangUpOpenCall();

    phone::sim::Softphone &m_softphone;
    QTimer m_timer;
    int m_total = 0;
    int m_made = 0;
    std::optional<std::int32_t> m_openCall;
};

} // namespace app
