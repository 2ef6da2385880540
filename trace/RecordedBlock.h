#pragma once

#include "phone/Value.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trace {

// How one access of the window ended.
struct Outcome
{
    enum class Kind { Answered, Done, Failed };
    Kind kind;
    phone::Value value; // what a read or a call answered
};

// One access of the window to its control, and the steps that ran inside it.
struct RecordedAccess
{
    std::int32_t dispId = 0;
    Outcome outcome{Outcome::Kind::Done, {}};
    std::vector<std::string> held;
    std::uint64_t finished = 0; // its place among the accesses by the time they ended
};

// One box the window showed, and the steps that ran while it was open.
struct RecordedBox
{
    std::vector<std::string> held;
};

// What one step of the session brought about: the accesses it led to, in the order they
// began, and the boxes it opened, nested ones included.
struct RecordedBlock
{
    // The step itself ("click BTN_Dial", "event ..."); none for accesses outside any step,
    // such as the window's load.
    std::optional<std::string> step;
    std::vector<RecordedAccess> accesses;
    std::vector<RecordedBox> boxes;
    // Steps that came while an error report was open at the top, run right after the step.
    std::vector<std::string> after;
};

// What the script has told the stand-in control so far, member by member.
class ScriptedAnswers
{
public:
    struct Answer
    {
        bool failing = false;
        phone::Value value;
    };

    Answer of(std::int32_t dispId) const;
    void set(std::int32_t dispId, const Answer &answer) { m_answers[dispId] = answer; }

private:
    std::map<std::int32_t, Answer> m_answers;
};

// The script lines that make the stand-in control answer the block's accesses as the control
// did, hold its steps where they came, and run the step: top-level `value` and `fail`, then
// `while-call` and `while-box` with their `and`s, then the step and what comes after it.
// `answers` is what the script has set before; it is brought up to date.
std::vector<std::string> scriptOf(const RecordedBlock &block, ScriptedAnswers &answers);

} // namespace trace
