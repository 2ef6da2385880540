#pragma once

#include "app/Dialogs.h"
#include "app/SessionTaps.h"
#include "trace/TracedDialogs.h"
#include "trace/TranscriptWriter.h"

#include <memory>
#include <ostream>

namespace trace {

// The trace of a live session against any control: every transcript line, written and
// flushed the moment it happens, so that a crash or a hang leaves everything up to then.
class SessionTrace
{
public:
    // `shown` shows the boxes and reports that the trace writes down.
    SessionTrace(std::unique_ptr<std::ostream> out, app::Dialogs &shown);

    // What the window is to be given: the dialogs, and the taps on its control.
    app::Dialogs &dialogs() { return m_dialogs; }
    app::SessionTaps taps();

private:
    std::unique_ptr<std::ostream> m_out;
    TranscriptWriter m_writer;
    TracedDialogs m_dialogs;
};

} // namespace trace
