#pragma once

#include "app/Dialogs.h"
#include "app/EventLogModel.h"
#include "app/FormObserver.h"
#include "app/FormPort.h"
#include "app/UnloadGate.h"
#include "commands/CommandHandlers.h"
#include "events/CallEventHandlers.h"
#include "events/CallIdTable.h"
#include "phone/Dispatch.h"
#include "phone/Tervani.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace app {

class TextField;

// The bench's one window. It owns the control's facade, the call-identifier table, the last
// event's name and its controls; every click and every control event runs through one
// wrapper that reports an error and lets the program go on.
class Form1 : public QWidget, public FormPort, private phone::EventSink
{
    Q_OBJECT

public:
    // The load step runs here, before the window is first shown.
    Form1(phone::Dispatch &axTervani1, Dialogs &dialogs, FormObserver *observer = nullptr,
          QWidget *parent = nullptr);
    ~Form1() override;

    void WriteMessage(const std::u16string &strText, const std::u16string &CallingNumber,
                      const std::u16string &CalledMSN, std::int32_t CallID);

    QWidget *widget(Control control) const { return m_widgets[static_cast<std::size_t>(control)]; }
    Control controlOf(const QWidget *widget, bool *found) const;
    const events::CallIdTable &callIDs() const { return m_CallIDs; }
    const std::u16string &strEvent() const { return m_strEvent; }
    const EventLogModel &messages() const { return m_messages; }
    // The label's newest caption, also when the label does not show it yet.
    std::u16string caption(Control label) const;

    using QWidget::setEnabled;

    // FormPort
    std::u16string text(Control textField) const override;
    void setText(Control textField, const std::u16string &text) override;
    void setCaption(Control label, const std::u16string &caption) override;
    void setEnabled(Control control, bool enabled) override;
    void addItem(const std::u16string &line) override;
    void messageBox(const std::u16string &prompt, BoxStyle style,
                    const std::optional<std::u16string> &title = std::nullopt) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override;

    void createControls();
    void connectHandlers();
    template <typename Handler>
    void runHandler(Handler &&handler) noexcept;
    void reportError(const phone::Error &error) noexcept;
    void unload();
    void throwIfUnloaded() const;

    void Form1_Load();
    void CHK_PopUp_clicked();
    void BTN_Clear_clicked();
    void BTN_Exit_clicked();

    TextField *textField(Control control) const;
    QPushButton *button(Control control) const;

    void scheduleRefresh();
    void refresh();

    phone::Dispatch &m_dispatch;
    bool m_unloaded = false;
    UnloadGate m_gate;
    phone::Tervani m_axTervani1;
    Dialogs &m_dialogs;
    FormObserver *m_observer;
    events::CallIdTable m_CallIDs;
    std::u16string m_strEvent;
    EventLogModel m_messages;
    events::CallEventHandlers m_eventHandlers;
    commands::CommandHandlers m_commandHandlers;
    static constexpr std::size_t controlCount = 17;
    std::array<QWidget *, controlCount> m_widgets{};

    // New lines and captions reach the screen at most once a frame (see refresh()).
    QTimer m_refreshTimer;
    QElapsedTimer m_sinceRefresh;
    std::array<std::optional<std::u16string>, controlCount> m_pendingCaptions;
};

} // namespace app
