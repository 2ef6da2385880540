#include "tests/reliability/Session.h"

namespace reliability {

void Session::run(std::initializer_list<std::string_view> lines)
{
    for (std::string_view line : lines)
        run(line);
}

QStringList Session::take()
{
    const std::string text = m_transcript.str().substr(m_taken);
    m_taken += text.size();
    QStringList lines = QString::fromStdString(text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList Session::state()
{
    // The dump's lines are cut out of the transcript again, so it reads as if it never ran.
    const std::size_t before = m_transcript.str().size();
    try {
        run("dump");
    } catch (const scenario::ScriptError &) {
        return {}; // the window has been unloaded
    }
    const std::string all = m_transcript.str();
    m_transcript.str(all.substr(0, before));
    m_transcript.seekp(0, std::ios::end);
    QStringList lines = QString::fromStdString(all.substr(before)).split(u'\n');
    lines.removeFirst(); // "> dump"
    lines.removeLast();  // after the last line break
    return lines;
}

QStringList changedLines(const QStringList &before, const QStringList &after)
{
    QStringList changed;
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (i >= before.size() || before[i] != after[i])
            changed << after[i];
    }
    return changed;
}

} // namespace reliability
