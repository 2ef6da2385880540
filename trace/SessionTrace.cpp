#include "trace/SessionTrace.h"

#include "trace/TracedDialogs.h"
#include "trace/TracedDispatch.h"

namespace trace {

SessionTrace::SessionTrace(std::unique_ptr<std::ostream> out, WriteWatch::Report report)
    : m_out(std::move(out))
    , m_watch("Das Ablaufprotokoll", std::move(report))
    , m_writer(*m_out, TranscriptWriter::Flush::EachLine, &m_watch)
{}

void SessionTrace::noteContract(const phone::contract::Finding &finding)
{
    for (const phone::contract::Line &line : finding.lines)
        m_writer.comment("Vertrag: " + line.text);
}

form::SessionTap SessionTrace::tap()
{
    return {[this](phone::Dispatch &control) -> std::unique_ptr<phone::Dispatch> {
                return std::make_unique<TracedDispatch>(
                    control,
                    [this](const phone::scripted::Access &access) { m_writer.access(access); });
            },
            [this](form::Dialogs &shown) -> std::unique_ptr<form::Dialogs> {
                return std::make_unique<TracedDialogs>(shown, m_writer);
            },
            &m_writer};
}

} // namespace trace
