#pragma once

#include "phone/Dispatch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <set>

namespace scenario {

// A stand-in control whose answers the script sets. It prints every access the window makes
// before it answers, so a failing access shows in the transcript too.
class ScriptedControl : public phone::Dispatch
{
public:
    // What every by-reference argument receives, so a test sees that the window drops it.
    static constexpr std::int32_t writtenBack = 424242;

    explicit ScriptedControl(std::ostream &transcript);

    void setAnswer(std::int32_t dispId, const phone::Value &value);
    void setFailing(std::int32_t dispId);
    void raiseEvent(std::string_view name, const phone::EventArguments &arguments);

    // Accesses (reads, writes and calls) are numbered from 0 in the order the window makes
    // them. Tests use these to make one single access fail, or to act from inside one (the
    // control raising an event during a call), after it has been printed and before it answers.
    int accessCount() const { return m_accessCount; }
    void failAccess(int index) { m_failingAccess = index; }
    void duringAccess(int index, std::function<void()> action);

    phone::Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const phone::Value &value) override;
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override;
    void connectEvents(phone::EventSink *sink) override { m_sink = sink; }

private:
    // Counts the access, runs what a test placed inside it and raises its scripted failure.
    void answerAccess(std::int32_t dispId);

    std::ostream &m_transcript;
    std::map<std::int32_t, phone::Value> m_answers;
    std::set<std::int32_t> m_failing;
    phone::EventSink *m_sink = nullptr;
    int m_accessCount = 0;
    int m_failingAccess = -1;
    int m_actionAccess = -1;
    std::function<void()> m_action;
};

} // namespace scenario
