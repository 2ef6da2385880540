#include "tools/scenario/ScenarioRunner.h"

#include "app/Form1.h"
#include "form/FormLayout.h"
#include "tools/scenario/ValueLiteral.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace scenario {

namespace {

using trace::controlName;

std::string qtText(const QString &text)
{
    return textLiteral(text.toStdU16String());
}

} // namespace

ScenarioRunner::ScenarioRunner(std::ostream &transcript)
    : TranscriptWriter(transcript)
    , m_out(transcript)
{
    auto local = std::make_unique<LocalControl>(transcript);
    m_local = local.get();
    m_control = std::move(local);
    m_control->onAccess([this](std::int32_t dispId) { insideAccess(dispId); });
}

ScenarioRunner::ScenarioRunner(std::ostream &transcript,
                               std::unique_ptr<ControlUnderScript> control)
    // A live run's lines come as the control's events do: each is out as it happens.
    : TranscriptWriter(transcript, control->live() ? Flush::EachLine : Flush::AtEnd)
    , m_out(transcript)
    , m_control(std::move(control))
{
    m_control->onAccess([this](std::int32_t dispId) { insideAccess(dispId); });
}

phone::scripted::ScriptedControl &ScenarioRunner::control()
{
    if (!m_local)
        throw std::logic_error("this runner drives a control of its own");
    return m_local->control();
}

ScenarioRunner::~ScenarioRunner() = default;

void ScenarioRunner::runLine(std::string_view line, int lineNumber)
{
    if (const std::optional<Step> step = parseStep(line))
        runStep(*step, lineNumber);
}

void ScenarioRunner::runStep(const Step &step, int lineNumber)
{
    if (m_unloaded)
        throw ScriptError("the window has been unloaded");
    if (std::holds_alternative<And>(step.action) && !m_lastHeld)
        throw ScriptError("and must follow while-box, while-call or and");
    run(step, lineNumber);
}

void ScenarioRunner::finish()
{
    if (!m_unloaded)
        ensureWindow();
    m_out.flush();
}

void ScenarioRunner::run(const Step &step, int line)
{
    const bool scriptsControl =
        std::holds_alternative<SetValue>(step.action) || std::holds_alternative<Fail>(step.action);
    if (!scriptsControl)
        ensureWindow();
    write("> " + step.text);
    if (std::holds_alternative<WhileBox>(step.action)
        || std::holds_alternative<WhileCall>(step.action)
        || std::holds_alternative<And>(step.action)) {
        hold(step.action, line);
    } else {
        m_lastHeld.reset();
        perform(step.action, line);
    }
    // A control lost during the step (its host ended) ends the run as well.
    if (std::optional<std::string> reason = m_failure ? std::nullopt : m_control->lost())
        endWith({RunFailure::Kind::ControlLost, line, *reason});
    // A failed check ends the run here, outside any handler: the window is unloaded as its
    // user would close it.
    if (m_failure && !m_unloaded && m_form)
        m_form->close();
    m_out.flush();
}

void ScenarioRunner::hold(const Action &action, int line)
{
    if (auto also = std::get_if<And>(&action)) {
        m_lastHeld->push_back({also->held, line});
        return;
    }
    m_lastHeld = std::make_shared<HeldSteps>();
    if (auto whileBox = std::get_if<WhileBox>(&action)) {
        m_lastHeld->push_back({whileBox->held, line});
        m_heldByBoxes.push_back(m_lastHeld);
    } else if (auto whileCall = std::get_if<WhileCall>(&action)) {
        m_lastHeld->push_back({whileCall->held, line});
        m_heldByCalls[whileCall->member->dispId].push_back(m_lastHeld);
    }
}

void ScenarioRunner::runHeld(const HeldSteps &steps)
{
    for (const HeldStep &held : steps) {
        if (m_unloaded || m_failure)
            return;
        write("> " + held.step->text);
        perform(held.step->action, held.line);
        m_out.flush();
    }
}

void ScenarioRunner::insideAccess(std::int32_t dispId)
{
    const auto waiting = m_heldByCalls.find(dispId);
    if (waiting == m_heldByCalls.end() || waiting->second.empty())
        return;
    const std::shared_ptr<HeldSteps> held = waiting->second.front();
    waiting->second.pop_front();
    runHeld(*held);
}

void ScenarioRunner::ensureWindow()
{
    if (m_form)
        return;
    // The load step runs inside the constructor, so its accesses are traced from here on.
    m_session = std::make_unique<form::TappedSession>(
        m_control->dispatch(), static_cast<form::Dialogs &>(*this),
        static_cast<form::FormObserver *>(this), m_taps);
    m_form = std::make_unique<app::Form1>(m_session->control(), m_session->dialogs(),
                                          m_session->observer());
    m_form->show();
    m_form->activateWindow();
    QApplication::setActiveWindow(m_form.get());
    if (!QTest::qWaitForWindowActive(m_form.get()))
        std::cerr << "warning: the window did not become active; access keys may not reach it\n";
}

QWidget *ScenarioRunner::widget(form::Control control) const
{
    return m_form->widget(control);
}

void ScenarioRunner::perform(const Action &action, int line)
{
    if (auto set = std::get_if<SetValue>(&action)) {
        m_control->setAnswer(set->member->dispId, set->value);
    } else if (auto fail = std::get_if<Fail>(&action)) {
        m_control->setFailing(fail->member->dispId);
    } else if (auto event = std::get_if<RaiseEvent>(&action)) {
        m_control->raiseEvent(event->name, event->arguments);
    } else if (auto type = std::get_if<TypeText>(&action)) {
        // The user's typing: the field changes, the window reports nothing.
        static_cast<QLineEdit *>(widget(type->control))
            ->setText(QString::fromStdU16String(type->text));
    } else if (auto click = std::get_if<Click>(&action)) {
        QTest::mouseClick(widget(click->control), Qt::LeftButton);
    } else if (auto doubleClick = std::get_if<DoubleClick>(&action)) {
        // As a mouse delivers it: a click, then a press that is a double click, then the
        // release, so a button clicks twice and a text field sees its double click.
        QWidget *target = widget(doubleClick->control);
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::mousePress(target, Qt::LeftButton);
        QTest::mouseDClick(target, Qt::LeftButton);
        QTest::mouseRelease(target, Qt::LeftButton);
    } else if (auto keys = std::get_if<PressKeys>(&action)) {
        pressKeys(QKeySequence::fromString(QString::fromStdString(keys->sequence),
                                           QKeySequence::PortableText));
        waitForAnimatedClicks();
    } else if (std::holds_alternative<Dump>(action)) {
        dump();
    } else if (auto pause = std::get_if<Wait>(&action)) {
        wait(pause->duration, line);
    } else if (auto waitForLine = std::get_if<WaitLine>(&action)) {
        waitLine(*waitForLine, line);
    } else if (auto check = std::get_if<Expect>(&action)) {
        expect(*check, line);
    }
}

void ScenarioRunner::wait(std::chrono::milliseconds duration, int line)
{
    // Nothing real passes time in a scripted run.
    if (m_control->live())
        handleEvents(duration, line, [] { return false; });
}

void ScenarioRunner::waitLine(const WaitLine &step, int line)
{
    // The lines looked at are behind the mark either way: a match moves it past them, and a
    // timeout ends the run.
    bool found = false;
    const auto matched = [this, &step, &found] {
        while (!found && !m_unmatchedLines.empty()) {
            found = step.pattern.matches(m_unmatchedLines.front());
            m_unmatchedLines.pop_front();
        }
        return found;
    };
    QElapsedTimer elapsed;
    elapsed.start();
    if (m_control->live())
        handleEvents(step.timeout, line, matched);
    const std::chrono::milliseconds took(elapsed.elapsed());
    if (matched())
        return checkEnded(line, std::nullopt, took);
    if (m_failure)
        return;
    const std::string pattern = textLiteral(step.pattern.text());
    write("timeout " + pattern);
    checkEnded(line,
               "timeout " + pattern + ": no such line within "
                   + QString::number(double(step.timeout.count()) / 1000).toStdString() + " s",
               took);
}

void ScenarioRunner::expect(const Expect &step, int line)
{
    const std::u16string actual = shownValue(step.control);
    if (step.pattern.matches(actual))
        return checkEnded(line, std::nullopt);
    const std::string mismatch =
        "mismatch " + std::string(controlName(step.control)) + ' ' + textLiteral(actual);
    write(mismatch);
    checkEnded(line, mismatch + ", expected " + textLiteral(step.pattern.text()));
}

std::u16string ScenarioRunner::shownValue(form::Control control) const
{
    switch (form::layoutOf(control).kind) {
    case form::ControlKind::TextField:
        return m_form->text(control);
    case form::ControlKind::Label:
        return m_form->caption(control);
    case form::ControlKind::CheckBox:
        return m_form->value(control) ? u"1" : u"0";
    case form::ControlKind::Button:
    case form::ControlKind::List:
        break;
    }
    return widget(control)->isEnabled() ? u"1" : u"0";
}

void ScenarioRunner::handleEvents(std::chrono::milliseconds timeout, int line,
                                  const std::function<bool()> &done)
{
    QEventLoop loop;
    QEventLoop *const outer = std::exchange(m_waiting, &loop);
    QElapsedTimer elapsed;
    elapsed.start();
    const auto over = [&] {
        if (m_unloaded || m_failure)
            return true;
        if (std::optional<std::string> reason = m_control->lost()) {
            endWith({RunFailure::Kind::ControlLost, line, *reason});
            return true;
        }
        return done() || std::chrono::milliseconds(elapsed.elapsed()) >= timeout;
    };
    // A new line quits the loop at once; the watch catches the rest: the end of the time, a
    // lost control, and lines that came while an inner wait held the loop.
    QTimer watch;
    watch.setInterval(std::chrono::milliseconds(20));
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (over())
            loop.quit();
    });
    watch.start();
    while (!over())
        loop.exec();
    m_waiting = outer;
}

void ScenarioRunner::checkEnded(int line, std::optional<std::string> failure,
                                std::chrono::milliseconds took)
{
    if (m_onCheck)
        m_onCheck(line, failure, took);
    if (failure)
        endWith({RunFailure::Kind::Check, line, std::move(*failure)});
}

void ScenarioRunner::endWith(RunFailure failure)
{
    if (!m_failure)
        m_failure = std::move(failure);
}

void ScenarioRunner::pressKeys(const QKeySequence &keys)
{
    for (int i = 0; i < keys.count(); ++i) {
        const Qt::Key key = keys[i].key();
        const Qt::KeyboardModifiers modifiers = keys[i].keyboardModifiers();
        // The typed text is given here: QTest would derive it from an ASCII table and abort
        // on any other key (Alt+Ä, ß, €).
        QString text;
        if (key == Qt::Key_Tab)
            text = QStringLiteral("\t");
        else if (key == Qt::Key_Return || key == Qt::Key_Enter)
            text = QStringLiteral("\r");
        else if (key < Qt::Key_Escape) {
            text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&key), 1);
            if (!(modifiers & Qt::ShiftModifier))
                text = text.toLower();
        }
        QWidget *target = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Click, target ? target : m_form.get(), key, text, modifiers);
    }
}

void ScenarioRunner::waitForAnimatedClicks()
{
    // An access key presses its button visibly and clicks it a moment later, from a timer;
    // the step is over only once that click has run.
    const QList<QAbstractButton *> buttons = m_form->findChildren<QAbstractButton *>();
    const auto anyDown = [&buttons] {
        return std::any_of(buttons.begin(), buttons.end(),
                           [](const QAbstractButton *button) { return button->isDown(); });
    };
    for (int waited = 0; anyDown() && waited < 2000; waited += 5)
        QTest::qWait(5);
}

void ScenarioRunner::dump()
{
    using form::Control;
    for (Control field :
         {Control::TXT_Nummer, Control::TXT_SMS, Control::TXT_DTMF, Control::TXT_Konvert}) {
        m_out << "state " << controlName(field) << ' '
              << qtText(static_cast<QLineEdit *>(widget(field))->text()) << '\n';
    }
    // The window's own record: the screen catches up with it within a frame.
    for (Control label : {Control::LBL_Anzahl, Control::LBL_Last})
        m_out << "state " << controlName(label) << ' ' << textLiteral(m_form->caption(label))
              << '\n';
    m_out << "state Annehmen " << (widget(Control::Annehmen)->isEnabled() ? 1 : 0) << '\n';
    m_out << "state CHK_PopUp "
          << (static_cast<QCheckBox *>(widget(Control::CHK_PopUp))->isChecked() ? 1 : 0) << '\n';
    m_out << "state LST_Message " << m_form->messages().lineCount() << '\n';
    m_out << "state CallIDs";
    for (std::int32_t slot : m_form->callIDs().contents())
        m_out << ' ' << slot;
    m_out << '\n';
    m_out << "state strEvent " << textLiteral(m_form->strEvent()) << '\n';
    bool known = false;
    const Control focused = m_form->controlOf(QApplication::focusWidget(), &known);
    m_out << "state focus " << (known ? controlName(focused) : std::string_view("-")) << '\n';
}

void ScenarioRunner::messageBox(const std::u16string &prompt, form::BoxStyle style,
                                const std::optional<std::u16string> &title)
{
    box(prompt, style, title);
    if (m_heldByBoxes.empty())
        return;
    const std::shared_ptr<HeldSteps> held = m_heldByBoxes.front();
    m_heldByBoxes.pop_front();
    runHeld(*held);
}

void ScenarioRunner::errorReport(const phone::Error &error)
{
    TranscriptWriter::error(error);
}

void ScenarioRunner::lineAdded(const std::u16string &line)
{
    TranscriptWriter::lineAdded(line);
    m_unmatchedLines.push_back(line);
    if (m_waiting)
        m_waiting->quit();
}

void ScenarioRunner::unloaded()
{
    m_unloaded = true;
    TranscriptWriter::unloaded();
}

} // namespace scenario
