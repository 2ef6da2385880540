#pragma once

#include "form/SessionTaps.h"
#include "trace/TranscriptWriter.h"

#include <memory>
#include <ostream>

namespace trace {

// The trace of a live session against any control: every transcript line, written and
// flushed the moment it happens, so that a crash or a hang leaves everything up to then.
class SessionTrace
{
public:
    explicit SessionTrace(std::unique_ptr<std::ostream> out, WriteWatch::Report report = {});

    // Around the window's control and dialogs, and on the window.
    form::SessionTap tap();

private:
    std::unique_ptr<std::ostream> m_out;
    WriteWatch m_watch;
    TranscriptWriter m_writer;
};

} // namespace trace
