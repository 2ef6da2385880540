#pragma once

#include "form/Dialogs.h"
#include "trace/TranscriptWriter.h"

namespace trace {

// Writes each box as it opens and each error report, then shows it as `shown` does.
class TracedDialogs final : public form::Dialogs
{
public:
    TracedDialogs(form::Dialogs &shown, TranscriptWriter &transcript)
        : m_shown(shown)
        , m_transcript(transcript)
    {}

    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override
    {
        m_transcript.box(prompt, style, title);
        m_shown.messageBox(prompt, style, title);
    }
    void errorReport(const phone::Error &error) override
    {
        m_transcript.error(error);
        m_shown.errorReport(error);
    }

private:
    form::Dialogs &m_shown;
    TranscriptWriter &m_transcript;
};

} // namespace trace
