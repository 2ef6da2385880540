#pragma once

#include "form/SessionTaps.h"
#include "phone/Contract.h"
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

    // The host's check of the control against the contract, before the session: one comment
    // ("# Vertrag: ...") for each of its lines.
    void noteContract(const phone::contract::Finding &finding);

private:
    std::unique_ptr<std::ostream> m_out;
    WriteWatch m_watch;
    TranscriptWriter m_writer;
};

} // namespace trace
