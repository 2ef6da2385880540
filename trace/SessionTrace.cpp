#include "trace/SessionTrace.h"

#include "trace/TracedDispatch.h"

namespace trace {

SessionTrace::SessionTrace(std::unique_ptr<std::ostream> out, app::Dialogs &shown)
    : m_out(std::move(out))
    , m_writer(*m_out, TranscriptWriter::Flush::EachLine)
    , m_dialogs(shown, m_writer)
{}

app::SessionTaps SessionTrace::taps()
{
    return {[this](phone::Dispatch &control) -> std::unique_ptr<phone::Dispatch> {
                return std::make_unique<TracedDispatch>(
                    control,
                    [this](const phone::scripted::Access &access) { m_writer.access(access); });
            },
            &m_writer};
}

} // namespace trace
