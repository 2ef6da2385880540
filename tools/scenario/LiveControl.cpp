#include "tools/scenario/LiveControl.h"

#include "app/QtScheduler.h"
#include "phone/remote/HostedControl.h"
#include "phone/sim/SimulatedControl.h"
#include "program/HostedStart.h"

#include <QObject>
#include <QTimer>

#include <stdexcept>

namespace scenario {

namespace {

class SimulatedSoftphone final : public LiveControl
{
public:
    SimulatedSoftphone(std::ostream &transcript, const std::u16string &caller)
        : LiveControl(transcript)
    {
        watch(m_control);
        if (!caller.empty()) {
            QTimer::singleShot(callerRingsAfter, &m_ringing,
                               [this, caller] { m_control.softphone().ring(caller); });
        }
    }

private:
    static constexpr std::chrono::seconds callerRingsAfter{1};

    phone::sim::SteadyClock m_clock;
    phone::sim::SimulatedControl m_control{m_clock, std::make_unique<app::QtScheduler>(m_clock)};
    QObject m_ringing; // the caller's timer goes with it
};

class HostedLiveControl final : public LiveControl
{
public:
    HostedLiveControl(std::unique_ptr<phone::remote::HostedControl> control,
                      std::ostream &transcript)
        : LiveControl(transcript)
        , m_control(std::move(control))
    {
        watch(*m_control);
    }

    std::optional<std::string> lost() const override { return m_control->remote().brokenBecause(); }
    std::optional<phone::contract::Finding> contract() const override
    {
        return m_control->remote().contract();
    }

private:
    std::unique_ptr<phone::remote::HostedControl> m_control;
};

} // namespace

LiveControl::LiveControl(std::ostream &transcript)
    : m_transcript(transcript)
{}

void LiveControl::watch(phone::Dispatch &control)
{
    m_traced.emplace(control, [this](const phone::scripted::Access &access) {
        m_transcript << phone::scripted::accessLine(access) << '\n' << std::flush;
        accessed(access.dispId);
    });
}

void LiveControl::setAnswer(std::int32_t, const phone::Value &)
{
    throw std::logic_error("a live control answers by itself");
}

void LiveControl::setFailing(std::int32_t)
{
    throw std::logic_error("a live control fails by itself");
}

void LiveControl::raiseEvent(std::string_view, const phone::EventArguments &)
{
    throw std::logic_error("a live control raises its events by itself");
}

std::unique_ptr<LiveControl> simulatedSoftphone(std::ostream &transcript,
                                                const std::u16string &caller)
{
    return std::make_unique<SimulatedSoftphone>(transcript, caller);
}

std::unique_ptr<LiveControl> hostedControl(const HostedControlOptions &options,
                                           const QString &programDirectory,
                                           std::ostream &transcript)
{
    program::StartOptions start;
    start.progId = options.progId;
    start.hostPath = options.hostPath;
    start.timeout = options.timeout;
    return std::make_unique<HostedLiveControl>(program::startHostedControl(start, programDirectory),
                                               transcript);
}

} // namespace scenario
