#pragma once

#include "tools/scenario/ScenarioRunner.h"

#include <QStringList>

#include <initializer_list>
#include <sstream>
#include <string_view>

namespace app {
class Form1;
}

namespace reliability {

// A scenario run on the real window whose transcript a test reads piece by piece.
class Session
{
public:
    void run(std::string_view line) { m_runner.runLine(line); }
    void run(std::initializer_list<std::string_view> lines);
    // Creates the window if no step has yet.
    void finish() { m_runner.finish(); }

    // The transcript lines printed since the last take.
    QStringList take();
    // The window's state as dump prints it (nothing once it has been unloaded); the dump leaves
    // no trace in the transcript.
    QStringList state();

    phone::scripted::ScriptedControl &control() { return m_runner.control(); }
    app::Form1 &form() { return *m_runner.form(); }

private:
    std::ostringstream m_transcript;
    scenario::ScenarioRunner m_runner{m_transcript};
    std::size_t m_taken = 0;
};

// The lines of after that differ from before at the same place (dump lines keep their order).
QStringList changedLines(const QStringList &before, const QStringList &after);

} // namespace reliability
