#pragma once

#include "form/FormObserver.h"
#include "form/FormPort.h"
#include "phone/Error.h"
#include "phone/scripted/ScriptedControl.h"
#include "trace/OutputFile.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace trace {

// Writes the transcript's lines: the window's accesses to its control, what it shows and
// changes, the boxes it opens and the errors it reports, each as the moment it happens.
class TranscriptWriter : public form::FormObserver
{
public:
    enum class Flush { AtEnd, EachLine };

    // watch: told after each flushed line, where a failed write must not go unnoticed.
    explicit TranscriptWriter(std::ostream &out, Flush flush = Flush::AtEnd,
                              WriteWatch *watch = nullptr);

    void access(const phone::scripted::Access &access);
    void box(const std::u16string &prompt, form::BoxStyle style,
             const std::optional<std::u16string> &title);
    void error(const phone::Error &error);
    // "# " and the line.
    void comment(std::string_view line);

    // FormObserver
    void lineAdded(const std::u16string &line) override;
    void listCleared() override;
    void captionSet(form::Control label, const std::u16string &caption) override;
    void enabledSet(form::Control control, bool enabled) override;
    void textSet(form::Control textField, const std::u16string &text) override;
    void checkSet(form::Control checkBox, int value) override;
    void unloaded() override;

protected:
    // One whole line, without its line end.
    void write(std::string_view line);

private:
    std::ostream &m_out;
    Flush m_flush;
    WriteWatch *m_watch;
};

// The name a transcript gives a control of the window.
std::string_view controlName(form::Control control);

// The transcript's word for an error: range, overflow, type, null, stack or component.
std::string_view errorKindName(phone::ErrorKind kind);

} // namespace trace
