#include "trace/SessionRecorder.h"

#include "phone/Error.h"
#include "phone/scripted/Literal.h"
#include "trace/TranscriptWriter.h"

#include <chrono>
#include <ctime>

namespace trace {

namespace {

using phone::scripted::textLiteral;
using phone::scripted::valueLiteral;

std::string timeOfDay()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count()
        % 1000;
    char text[32];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&seconds));
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s.%03d", text, static_cast<int>(millis));
    return withMillis;
}

std::string typeStep(form::Control field, const std::u16string &text)
{
    return "type " + std::string(controlName(field)) + ' ' + textLiteral(text);
}

bool toldBeforeTheWindow(const std::string &line)
{
    return line.starts_with("value ") || line.starts_with("fail ");
}

} // namespace

// The control as the window reaches it: every access, how it ended, and the window's sink.
class SessionRecorder::Control final : public phone::Dispatch
{
public:
    Control(SessionRecorder &recorder, phone::Dispatch &control)
        : m_recorder(recorder)
        , m_control(control)
    {}

    phone::Value getProperty(std::int32_t dispId) override
    {
        return answered(dispId, [&] { return m_control.getProperty(dispId); });
    }
    void putProperty(std::int32_t dispId, const phone::Value &value) override
    {
        m_recorder.accessBegins(dispId);
        try {
            m_control.putProperty(dispId, value);
        } catch (...) {
            m_recorder.accessEnds({Outcome::Kind::Failed, {}});
            throw;
        }
        m_recorder.accessEnds({Outcome::Kind::Done, {}});
    }
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override
    {
        return answered(dispId, [&] { return m_control.invoke(dispId, arguments); });
    }
    void connectEvents(phone::EventSink *sink) override;

private:
    template <typename Access>
    phone::Value answered(std::int32_t dispId, Access &&access)
    {
        m_recorder.accessBegins(dispId);
        phone::Value answer;
        try {
            answer = access();
        } catch (...) {
            m_recorder.accessEnds({Outcome::Kind::Failed, {}});
            throw;
        }
        m_recorder.accessEnds({Outcome::Kind::Answered, answer});
        return answer;
    }

    SessionRecorder &m_recorder;
    phone::Dispatch &m_control;
    std::unique_ptr<Events> m_events;
};

// Between the control and the window's sink: each event as a step.
class SessionRecorder::Events final : public phone::EventSink
{
public:
    Events(SessionRecorder &recorder, phone::EventSink &window)
        : m_recorder(recorder)
        , m_window(window)
    {}

    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override
    {
        m_recorder.stepBegins(
            "event " + std::string(name) + ' ' + valueLiteral(arguments.callingNumber) + ' '
            + valueLiteral(arguments.calledMSN) + ' ' + valueLiteral(arguments.callID));
        const struct Ended
        {
            SessionRecorder &recorder;
            ~Ended() { recorder.stepEnds(); }
        } ended{m_recorder};
        m_window.controlEvent(name, arguments);
    }

private:
    SessionRecorder &m_recorder;
    phone::EventSink &m_window;
};

void SessionRecorder::Control::connectEvents(phone::EventSink *sink)
{
    if (!sink) {
        m_control.connectEvents(nullptr);
        m_events.reset();
        return;
    }
    auto events = std::make_unique<Events>(m_recorder, *sink);
    m_control.connectEvents(events.get());
    m_events = std::move(events);
}

// The window's boxes and reports, as the times between which steps are held.
class SessionRecorder::Boxes final : public form::Dialogs
{
public:
    Boxes(SessionRecorder &recorder, form::Dialogs &shown)
        : m_recorder(recorder)
        , m_shown(shown)
    {}

    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override
    {
        m_recorder.boxOpens();
        const Closes closes{m_recorder, Context::Kind::Box};
        m_shown.messageBox(prompt, style, title);
    }
    void errorReport(const phone::Error &error) override
    {
        m_recorder.reportOpens();
        const Closes closes{m_recorder, Context::Kind::Report};
        m_shown.errorReport(error);
    }

private:
    struct Closes
    {
        SessionRecorder &recorder;
        Context::Kind kind;
        ~Closes() { recorder.closes(kind); }
    };

    SessionRecorder &m_recorder;
    form::Dialogs &m_shown;
};

SessionRecorder::SessionRecorder(std::unique_ptr<std::ostream> out, Clock clock,
                                 WriteWatch::Report report)
    : m_out(std::move(out))
    , m_watch("Die Aufzeichnung", std::move(report))
    , m_clock(clock ? std::move(clock) : Clock(timeOfDay))
{}

SessionRecorder::~SessionRecorder()
{
    // A session that ends inside a step still leaves that step, as far as it came.
    if (m_block) {
        m_contexts.clear();
        writeBlock();
    }
    if (!m_unloaded)
        writeTyped();
}

form::SessionTap SessionRecorder::tap()
{
    return {[this](phone::Dispatch &control) -> std::unique_ptr<phone::Dispatch> {
                return std::make_unique<Control>(*this, control);
            },
            [this](form::Dialogs &shown) -> std::unique_ptr<form::Dialogs> {
                return std::make_unique<Boxes>(*this, shown);
            },
            this};
}

void SessionRecorder::beginBlock(std::optional<std::string> step)
{
    m_block.emplace();
    m_block->step = std::move(step);
    m_blockTime = m_clock();
}

void SessionRecorder::stepBegins(std::string step)
{
    if (!m_block) {
        beginBlock(std::move(step));
        m_stepsRunning = 1;
        return;
    }
    ++m_stepsRunning;
    hold(std::move(step));
}

void SessionRecorder::stepEnds()
{
    --m_stepsRunning;
    writeBlockOnceEnded();
}

RecordedBlock &SessionRecorder::openBlock()
{
    // Accesses and boxes outside any step, such as the load's, are a block of their own.
    if (!m_block)
        beginBlock(std::nullopt);
    return *m_block;
}

void SessionRecorder::writeBlockOnceEnded()
{
    if (m_block && m_stepsRunning == 0 && m_contexts.empty())
        writeBlock();
}

// A step that came while another ran: inside the innermost access or box. An error report
// holds nothing: what comes while it is open runs after the handler it reports.
void SessionRecorder::hold(std::string step)
{
    for (auto context = m_contexts.rbegin(); context != m_contexts.rend(); ++context) {
        if (context->kind == Context::Kind::Access) {
            m_block->accesses[context->index].held.push_back(std::move(step));
            return;
        }
        if (context->kind == Context::Kind::Box) {
            m_block->boxes[context->index].held.push_back(std::move(step));
            return;
        }
    }
    m_block->after.push_back(std::move(step));
}

void SessionRecorder::accessBegins(std::int32_t dispId)
{
    RecordedBlock &block = openBlock();
    RecordedAccess access;
    access.dispId = dispId;
    block.accesses.push_back(std::move(access));
    m_contexts.push_back({Context::Kind::Access, block.accesses.size() - 1});
}

void SessionRecorder::accessEnds(Outcome outcome)
{
    if (!m_block || m_contexts.empty() || m_contexts.back().kind != Context::Kind::Access)
        return;
    RecordedAccess &access = m_block->accesses[m_contexts.back().index];
    m_contexts.pop_back();
    access.outcome = std::move(outcome);
    access.finished = ++m_accessesEnded;
    writeBlockOnceEnded();
}

void SessionRecorder::boxOpens()
{
    RecordedBlock &block = openBlock();
    block.boxes.emplace_back();
    m_contexts.push_back({Context::Kind::Box, block.boxes.size() - 1});
}

void SessionRecorder::reportOpens()
{
    openBlock();
    m_contexts.push_back({Context::Kind::Report, 0});
}

void SessionRecorder::closes(Context::Kind kind)
{
    if (m_contexts.empty() || m_contexts.back().kind != kind)
        return;
    m_contexts.pop_back();
    writeBlockOnceEnded();
}

void SessionRecorder::userActing(const form::UserAction &action)
{
    using Kind = form::UserAction::Kind;
    if (action.kind == Kind::Type) {
        m_actionsBegunAStep.push_back(false);
        if (m_block) {
            hold(typeStep(action.control, action.text));
            return;
        }
        for (auto &[field, text] : m_typed) {
            if (field == action.control) {
                text = action.text;
                return;
            }
        }
        m_typed.emplace_back(action.control, action.text);
        return;
    }
    m_actionsBegunAStep.push_back(true);
    stepBegins((action.kind == Kind::DoubleClick ? "dblclick " : "click ")
               + std::string(controlName(action.control)));
}

void SessionRecorder::userActed()
{
    if (m_actionsBegunAStep.empty())
        return;
    const bool begunAStep = m_actionsBegunAStep.back();
    m_actionsBegunAStep.pop_back();
    if (begunAStep)
        stepEnds();
}

void SessionRecorder::writeTyped()
{
    std::vector<std::string> lines;
    for (const auto &[field, text] : m_typed)
        lines.push_back(typeStep(field, text));
    m_typed.clear();
    if (!lines.empty())
        m_windowOpen = true;
    write(lines);
}

void SessionRecorder::writeBlock()
{
    RecordedBlock block = std::move(*m_block);
    m_block.reset();
    std::vector<std::string> lines = scriptOf(block, m_answers);
    if (lines.empty())
        return;
    write({"# " + m_blockTime});
    if (block.step) {
        writeTyped();
        // The window is created before the first other step: what the load read must not be
        // told anew before it.
        if (!m_windowOpen && toldBeforeTheWindow(lines.front()))
            lines.insert(lines.begin(), "dump");
        m_windowOpen = true;
    }
    write(lines);
}

void SessionRecorder::write(const std::vector<std::string> &lines)
{
    for (const std::string &line : lines)
        *m_out << line << '\n';
    m_out->flush();
    m_watch.check(*m_out);
}

} // namespace trace
