#include "tests/fuzz/CheckedScenario.h"

#include "app/Form1.h"
#include "tools/scenario/Replay.h"

namespace fuzz {

IndentedTranscript::int_type IndentedTranscript::overflow(int_type character)
{
    if (!traits_type::eq_int_type(character, traits_type::eof()))
        put(traits_type::to_char_type(character));
    return traits_type::not_eof(character);
}

std::streamsize IndentedTranscript::xsputn(const char *characters, std::streamsize count)
{
    for (std::streamsize i = 0; i < count; ++i)
        put(characters[i]);
    return count;
}

void IndentedTranscript::put(char character)
{
    if (m_atLineStart) {
        const app::Form1 *form = m_runner ? m_runner->form() : nullptr;
        m_text.append(form ? 2 * static_cast<std::size_t>(form->handlerDepth()) : 0, ' ');
    }
    m_text += character;
    m_atLineStart = character == '\n';
}

CheckedScenario::CheckedScenario()
{
    m_transcript.follow(m_runner);
    m_runner.tap(m_recorder.tap());
}

std::string CheckedScenario::replayDiffers() const
{
    std::string again;
    try {
        again = scenario::replayedPart(scenario::replayed(m_recording.str()));
    } catch (const scenario::ScriptError &error) {
        return std::string("the recording does not run: ") + error.what() + "\n--- recording ---\n"
               + m_recording.str();
    }
    if (scenario::replayedPart(transcript()) == again)
        return {};
    return "the replay of the recording differs\n--- recording ---\n" + m_recording.str()
           + "--- replayed ---\n" + again;
}

std::string CheckedScenario::check()
{
    std::optional<WindowState> state;
    if (const app::Form1 *form = m_runner.form())
        state = stateOf(*form);
    const std::string broken =
        m_invariants.check(std::string_view(transcript()).substr(m_checked), state);
    m_checked = transcript().size();
    return broken;
}

} // namespace fuzz
