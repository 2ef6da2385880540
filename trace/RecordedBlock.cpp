#include "trace/RecordedBlock.h"

#include "phone/Members.h"
#include "phone/scripted/Literal.h"
#include "phone/scripted/ScriptedControl.h"

#include <algorithm>

namespace trace {

namespace {

using Answer = ScriptedAnswers::Answer;
using phone::scripted::valueLiteral;

// Literals read back to the very value, so equal literals are equal answers.
bool sameValue(const phone::Value &a, const phone::Value &b)
{
    return valueLiteral(a) == valueLiteral(b);
}

// Whether the stand-in, told `answer`, ends the access as the control did.
bool endsAlike(const Outcome &outcome, const Answer &answer)
{
    switch (outcome.kind) {
    case Outcome::Kind::Answered:
        return !answer.failing && sameValue(answer.value, outcome.value);
    case Outcome::Kind::Done:
        return !answer.failing;
    case Outcome::Kind::Failed:
        break;
    }
    return answer.failing;
}

// What the stand-in is told by the step that makes it end the access that way.
Answer afterward(const Outcome &outcome, const Answer &answer)
{
    switch (outcome.kind) {
    case Outcome::Kind::Answered:
        return {false, outcome.value};
    case Outcome::Kind::Done:
        return {false, answer.value};
    case Outcome::Kind::Failed:
        break;
    }
    return {true, answer.value};
}

std::string answerStep(std::string_view member, const Outcome &outcome, const Answer &answer)
{
    const std::string name(member);
    switch (outcome.kind) {
    case Outcome::Kind::Answered:
        return "value " + name + ' ' + valueLiteral(outcome.value);
    case Outcome::Kind::Done:
        // Any value ends a failure; keeping the one told before changes no read.
        return "value " + name + ' ' + valueLiteral(answer.value);
    case Outcome::Kind::Failed:
        break;
    }
    return "fail " + name;
}

void holdAll(std::vector<std::string> &lines, const std::string &holder,
             const std::vector<std::string> &steps)
{
    lines.push_back(holder + steps.front());
    for (std::size_t i = 1; i < steps.size(); ++i)
        lines.push_back("and " + steps[i]);
}

} // namespace

ScriptedAnswers::Answer ScriptedAnswers::of(std::int32_t dispId) const
{
    const auto found = m_answers.find(dispId);
    return found != m_answers.end()
               ? found->second
               : Answer{false, phone::scripted::ScriptedControl::initialAnswer(dispId)};
}

std::vector<std::string> scriptOf(const RecordedBlock &block, ScriptedAnswers &answers)
{
    std::vector<std::int32_t> members; // in the order of their first access
    std::map<std::int32_t, std::vector<std::size_t>> accessesOf;
    for (std::size_t i = 0; i < block.accesses.size(); ++i) {
        auto &list = accessesOf[block.accesses[i].dispId];
        if (list.empty())
            members.push_back(block.accesses[i].dispId);
        list.push_back(i);
    }

    std::vector<std::string> told;
    std::vector<std::string> held;
    for (std::int32_t dispId : members) {
        const std::vector<std::size_t> &indices = accessesOf[dispId];
        const phone::Member *member = phone::findMember(dispId);
        const std::string_view name = member ? member->name : std::string_view("?");
        const auto outcome = [&](std::size_t i) -> const Outcome & {
            return block.accesses[i].outcome;
        };
        const bool nested = std::any_of(indices.begin(), indices.end(), [&](std::size_t i) {
            return !block.accesses[i].held.empty();
        });

        Answer answer = answers.of(dispId);
        if (!nested) {
            // Nothing ran inside these accesses, so they ended in the order they began. One
            // `value` before the step serves the first; a later change needs every access up
            // to it held, since each `while-call` waits for the very next access.
            std::vector<Answer> before;
            std::size_t lastChange = 0;
            for (std::size_t k = 0; k < indices.size(); ++k) {
                before.push_back(answer);
                if (k > 0 && !endsAlike(outcome(indices[k]), answer))
                    lastChange = k;
                answer = afterward(outcome(indices[k]), answer);
            }
            if (lastChange == 0) {
                if (!endsAlike(outcome(indices[0]), before[0]))
                    told.push_back(answerStep(name, outcome(indices[0]), before[0]));
            } else {
                for (std::size_t k = 0; k <= lastChange; ++k) {
                    held.push_back("while-call " + std::string(name) + ' '
                                   + answerStep(name, outcome(indices[k]), before[k]));
                }
            }
        } else {
            // Steps inside an access may access the same member again and change its answer
            // before the outer access answers: each access is told its answer last, in the
            // order the accesses ended.
            std::vector<std::size_t> byEnd = indices;
            std::sort(byEnd.begin(), byEnd.end(), [&](std::size_t a, std::size_t b) {
                return block.accesses[a].finished < block.accesses[b].finished;
            });
            std::map<std::size_t, std::string> answerOf;
            for (std::size_t i : byEnd) {
                answerOf[i] = answerStep(name, outcome(i), answer);
                answer = afterward(outcome(i), answer);
            }
            for (std::size_t i : indices) {
                std::vector<std::string> steps = block.accesses[i].held;
                steps.push_back(answerOf[i]);
                holdAll(held, "while-call " + std::string(name) + ' ', steps);
            }
        }
        answers.set(dispId, answer);
    }

    // Each `while-box` waits for the very next box: the boxes before the last one that held
    // something are held too, by a step that prints nothing the recording must match.
    const auto lastHolding = std::find_if(block.boxes.rbegin(), block.boxes.rend(),
                                          [](const RecordedBox &box) { return !box.held.empty(); });
    const std::size_t boxesHeld = static_cast<std::size_t>(block.boxes.rend() - lastHolding);
    for (std::size_t j = 0; j < boxesHeld; ++j) {
        const std::vector<std::string> &steps = block.boxes[j].held;
        holdAll(held, "while-box ", steps.empty() ? std::vector<std::string>{"dump"} : steps);
    }

    std::vector<std::string> lines = std::move(told);
    lines.insert(lines.end(), held.begin(), held.end());
    if (block.step)
        lines.push_back(*block.step);
    lines.insert(lines.end(), block.after.begin(), block.after.end());
    return lines;
}

} // namespace trace
