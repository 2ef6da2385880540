#pragma once

#include "app/EventLogModel.h"
#include "commands/CommandHandlers.h"
#include "events/CallEventHandlers.h"
#include "form/Dialogs.h"
#include "form/FormObserver.h"
#include "form/FormPort.h"
#include "form/UnloadGuard.h"
#include "form/WindowHandlers.h"
#include "phone/Dispatch.h"
#include "phone/TervaniFacade.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QPushButton;

namespace app {

class TextField;

using form::BoxStyle;
using form::Control;

// The bench's one window, on its widgets. The handlers behind it are widget-free; this class
// creates the controls, connects every click and every control event to its handler through
// one wrapper that reports an error and lets the program go on, and shows what the handlers
// change.
//
// Form1, Label1, Annehmen, strEvent and the axTervani1_ prefix of the event handlers are the
// names of the original form, kept on purpose so that both read alike.
class Form1 : public QWidget, public form::FormPort, private phone::EventSink
{
    Q_OBJECT

public:
    // The load step runs here, before the window is first shown.
    Form1(phone::Dispatch &control, form::Dialogs &dialogs, form::FormObserver *observer = nullptr,
          QWidget *parent = nullptr);
    ~Form1() override;

    QWidget *widget(Control control) const { return m_widgets[static_cast<std::size_t>(control)]; }
    Control controlOf(const QWidget *widget, bool *found) const;
    const events::CallIdTable &callIDs() const { return m_eventHandlers.CallIDs(); }
    const std::u16string &strEvent() const { return m_eventHandlers.strEvent(); }
    const EventLogModel &messages() const { return m_messages; }
    // The label's newest caption, also when the label does not show it yet.
    std::u16string caption(Control label) const;

    // Handlers run inside one another when the control raises events during its accesses or
    // while a box waits. The platform stopped such a chain with its out-of-stack error instead
    // of overflowing: a handler that is to start while this many run stops before its first step.
    static constexpr int maxHandlerDepth = 64;
    // How many handlers run inside one another now.
    int handlerDepth() const { return m_handlerDepth; }

    using QWidget::setEnabled;

    // FormPort
    std::u16string text(Control textField) const override;
    void setText(Control textField, const std::u16string &text) override;
    void setCaption(Control label, const std::u16string &caption) override;
    void setEnabled(Control control, bool enabled) override;
    int value(Control checkBox) const override;
    void setValue(Control checkBox, int value) override;
    void addItem(const std::u16string &line) override;
    void clearList() override;
    void messageBox(const std::u16string &prompt, BoxStyle style,
                    const std::optional<std::u16string> &title = std::nullopt) override;
    void unload() override;

signals:
    // The window has closed: by its close box, Beenden or the program's unload.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override;

    void createControls();
    void connectHandlers();
    template <typename Handler>
    void runHandler(std::string_view name, Handler &&handler) noexcept;
    // Handles the user's action, telling the observer before and after.
    template <typename Handler>
    void runUserAction(const form::UserAction &action, Handler &&handler) noexcept;
    // Names the handler on the error, then reports it.
    void reportError(const phone::Error &error, std::string_view handler) noexcept;
    void letGo();
    void throwIfUnloaded() const;

    TextField *textField(Control control) const;
    QPushButton *button(Control control) const;
    QCheckBox *checkBox(Control control) const;

    void scheduleRefresh();
    void refresh();

    phone::Dispatch &m_control;
    bool m_unloaded = false;
    int m_handlerDepth = 0;
    bool m_windowSetsText = false; // a text change now is the window's own, not the user's
    form::UnloadGuard m_guard;
    phone::TervaniFacade m_axTervani1;
    form::Dialogs &m_dialogs;
    form::FormObserver *m_observer;
    EventLogModel m_messages;
    form::WindowHandlers m_windowHandlers;
    events::CallEventHandlers m_eventHandlers;
    commands::CommandHandlers m_commandHandlers;
    std::array<QWidget *, form::controlCount> m_widgets{};

    // New lines and captions reach the screen at most once a frame (see refresh()).
    QTimer m_refreshTimer;
    QElapsedTimer m_sinceRefresh;
    std::array<std::optional<std::u16string>, form::controlCount> m_pendingCaptions;
};

} // namespace app
