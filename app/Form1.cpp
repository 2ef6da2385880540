#include "app/Form1.h"

#include "app/AppIcon.h"
#include "app/CaptionLabel.h"
#include "app/DisplayText.h"
#include "app/LogActions.h"
#include "app/LogLineDelegate.h"
#include "app/LogView.h"
#include "app/QtText.h"
#include "app/TextField.h"
#include "form/FormLayout.h"
#include "phone/CallEvent.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace app {

namespace {

// A flood of events must not repaint the window once per event: that would cost far more than
// the events themselves. The window shows what changed at most about 60 times a second.
constexpr int refreshIntervalMs = 16;

using form::ControlKind;
using form::ControlLayout;
using form::formLayout;
using form::twipsPerPixel;

QRect pixels(const ControlLayout &entry)
{
    return QRect(entry.left / twipsPerPixel, entry.top / twipsPerPixel, entry.width / twipsPerPixel,
                 entry.height / twipsPerPixel);
}

// The names of the controls that show no caption of their own.
std::u16string_view spokenName(form::Control control)
{
    switch (control) {
    case form::Control::TXT_Nummer:
        return u"Rufnummer";
    case form::Control::TXT_SMS:
        return u"Kurzmitteilung";
    case form::Control::TXT_DTMF:
        return u"DTMF-Zeichen";
    case form::Control::TXT_Konvert:
        return u"Zu konvertierende Rufnummer";
    case form::Control::LST_Message:
        return form::layoutOf(form::Control::Label1).caption;
    default:
        return {};
    }
}

} // namespace

Form1::Form1(phone::Dispatch &control, form::Dialogs &dialogs, form::FormObserver *observer,
             QWidget *parent)
    : QWidget(parent)
    , m_control(control)
    , m_guard(control, m_unloaded)
    , m_axTervani1(m_guard)
    , m_dialogs(dialogs)
    , m_observer(observer)
    , m_windowHandlers(*this, m_axTervani1)
    , m_eventHandlers(*this, m_axTervani1)
    , m_commandHandlers(*this, m_axTervani1, m_eventHandlers.CallIDs())
{
    setWindowTitle(qt(form::windowCaption));
    setWindowIcon(appIcon());
    setFixedSize(form::clientWidthTwips / twipsPerPixel, form::clientHeightTwips / twipsPerPixel);
    move(4050 / twipsPerPixel, 3225 / twipsPerPixel);
    // The layout was designed for an 8-point dialog font of Arial's widths; wider fonts cut
    // the captions.
    QFont dialogFont = font();
    dialogFont.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                            QStringLiteral("Nimbus Sans"), dialogFont.family()});
    dialogFont.setPointSizeF(8);
    setFont(dialogFont);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_refreshTimer, &QTimer::timeout, this, &Form1::refresh);

    createControls();
    connectHandlers();
    widget(Control::TXT_Nummer)->setFocus();

    m_control.connectEvents(this);
    runHandler("Form1_Load", [this] { m_windowHandlers.Form1_Load(); });
}

Form1::~Form1()
{
    if (!m_unloaded)
        m_control.connectEvents(nullptr);
}

void Form1::createControls()
{
    for (const ControlLayout &entry : formLayout) {
        QWidget *created = nullptr;
        switch (entry.kind) {
        case ControlKind::TextField: {
            auto *field = new TextField(qt(entry.caption), this);
            created = field;
            break;
        }
        case ControlKind::Button: {
            auto *button = new QPushButton(qt(entry.caption), this);
            button->setAutoDefault(false);
            button->setDefault(false);
            created = button;
            break;
        }
        case ControlKind::Label: {
            auto *label = new CaptionLabel(qt(entry.caption), this);
            label->setFocusPolicy(Qt::NoFocus);
            created = label;
            break;
        }
        case ControlKind::List: {
            auto *list = new LogView(this);
            list->setModel(&m_messages);
            list->setItemDelegate(new LogLineDelegate(list));
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            // Copying the log is the bench's own help for bug reports, not a handler of the form.
            new LogActions(*list, m_messages,
                           [this](std::string_view name, const std::function<void()> &work) {
                               runHandler(name, work);
                           });
            created = list;
            break;
        }
        case ControlKind::CheckBox:
            created = new QCheckBox(qt(entry.caption), this);
            break;
        }
        created->setObjectName(
            QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        created->setGeometry(pixels(entry));
        if (!entry.toolTip.empty())
            created->setToolTip(qt(entry.toolTip));
        // A screen reader says what a person sees: buttons and the check box their caption,
        // labels their current caption (both Qt's own names); fields and the list get names.
        if (const std::u16string_view name = spokenName(entry.control); !name.empty()) {
            created->setAccessibleName(qt(std::u16string(name)));
            created->setAccessibleDescription(qt(entry.toolTip));
        }
        m_widgets[static_cast<std::size_t>(entry.control)] = created;
    }
    widget(Control::Annehmen)->setEnabled(false);

    // Keyboard order follows the designed tab places; labels never take the focus.
    std::vector<const ControlLayout *> order;
    for (const ControlLayout &entry : formLayout) {
        if (entry.kind != ControlKind::Label)
            order.push_back(&entry);
    }
    std::sort(order.begin(), order.end(),
              [](const auto *a, const auto *b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(widget(order[i - 1]->control), widget(order[i]->control));
}

void Form1::connectHandlers()
{
    using commands::CommandHandlers;
    using form::WindowHandlers;
    auto onClick = [this](Control control, auto &handlers, auto handler) {
        connect(button(control), &QPushButton::clicked, this, [this, control, &handlers, handler] {
            runUserAction({form::UserAction::Kind::Click, control, {}},
                          [this, control, &handlers, handler] {
                              runHandler(form::layoutOf(control).name,
                                         [&handlers, handler] { (handlers.*handler)(); });
                          });
        });
    };
    onClick(Control::BTN_Dial, m_commandHandlers, &CommandHandlers::BTN_Dial_clicked);
    onClick(Control::Annehmen, m_commandHandlers, &CommandHandlers::Annehmen_clicked);
    onClick(Control::BTN_Disconnect, m_commandHandlers, &CommandHandlers::BTN_Disconnect_clicked);
    onClick(Control::BTN_DTMF, m_commandHandlers, &CommandHandlers::BTN_DTMF_clicked);
    onClick(Control::BTN_SMS, m_commandHandlers, &CommandHandlers::BTN_SMS_clicked);
    onClick(Control::BTN_Konvert, m_commandHandlers, &CommandHandlers::BTN_Konvert_clicked);
    onClick(Control::BTN_Clear, m_windowHandlers, &WindowHandlers::BTN_Clear_clicked);
    onClick(Control::BTN_Exit, m_windowHandlers, &WindowHandlers::BTN_Exit_clicked);
    connect(textField(Control::TXT_Konvert), &TextField::doubleClicked, this, [this] {
        runUserAction({form::UserAction::Kind::DoubleClick, Control::TXT_Konvert, {}}, [this] {
            runHandler("TXT_Konvert (Doppelklick)",
                       [this] { m_commandHandlers.TXT_Konvert_doubleClicked(); });
        });
    });
    // clicked, not toggled: only the user's click writes the flag, never the load step.
    connect(checkBox(Control::CHK_PopUp), &QCheckBox::clicked, this, [this] {
        runUserAction({form::UserAction::Kind::Click, Control::CHK_PopUp, {}}, [this] {
            runHandler("CHK_PopUp", [this] { m_windowHandlers.CHK_PopUp_clicked(); });
        });
    });
    for (Control field :
         {Control::TXT_Nummer, Control::TXT_SMS, Control::TXT_DTMF, Control::TXT_Konvert}) {
        connect(textField(field), &QLineEdit::textChanged, this,
                [this, field](const QString &text) {
                    if (!m_windowSetsText)
                        runUserAction({form::UserAction::Kind::Type, field, text.toStdU16String()},
                                      [] {});
                });
    }
}

template <typename Handler>
void Form1::runUserAction(const form::UserAction &action, Handler &&handler) noexcept
{
    // An action that reaches the window after it has gone does nothing, and is no action.
    if (m_unloaded)
        return;
    if (m_observer)
        m_observer->userActing(action);
    handler();
    if (m_observer)
        m_observer->userActed();
}

template <typename Handler>
void Form1::runHandler(std::string_view name, Handler &&handler) noexcept
{
    // A click still pending from an access key's animation may arrive after the window has gone.
    if (m_unloaded)
        return;
    if (m_handlerDepth >= maxHandlerDepth) {
        reportError(phone::Error(phone::ErrorKind::Stack), name);
        return;
    }
    ++m_handlerDepth;
    const struct Leave
    {
        int &depth;
        ~Leave() { --depth; }
    } leave{m_handlerDepth};
    try {
        handler();
    } catch (const form::WindowUnloaded &) {
        // The window went away under the handler; there is nothing left to update or report to.
    } catch (const phone::Error &error) {
        reportError(error, name);
    } catch (const std::exception &error) {
        reportError(phone::Error(phone::ErrorKind::Component, error.what()), name);
    } catch (...) {
        reportError(phone::Error(phone::ErrorKind::Component), name);
    }
}

void Form1::reportError(const phone::Error &error, std::string_view handler) noexcept
{
    // A call that fails after the user has left (the control ran the event loop meanwhile)
    // has no window left to report to.
    if (m_unloaded)
        return;
    try {
        phone::Error named = error;
        named.setHandler(std::string(handler));
        m_dialogs.errorReport(named);
    } catch (...) {
        // The report itself failed (out of memory): the handler has stopped either way.
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    runUserAction({form::UserAction::Kind::Close, Control::BTN_Exit, {}}, [this] { letGo(); });
    event->accept();
    emit closed();
}

void Form1::letGo()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The control's events stop here, not when the object is destroyed later.
    m_control.connectEvents(nullptr);
    if (m_observer)
        m_observer->unloaded();
}

void Form1::throwIfUnloaded() const
{
    if (m_unloaded)
        throw form::WindowUnloaded{};
}

void Form1::controlEvent(std::string_view name, const phone::EventArguments &arguments)
{
    // Events the window does not handle change nothing, whatever their arguments hold.
    const auto handler = events::CallEventHandlers::handlerFor(name);
    if (!handler)
        return;
    runHandler(name, [&] { (m_eventHandlers.*handler)(phone::toCallEvent(arguments)); });
}

Control Form1::controlOf(const QWidget *widget, bool *found) const
{
    const auto it = std::find(m_widgets.begin(), m_widgets.end(), widget);
    *found = it != m_widgets.end();
    return *found ? static_cast<Control>(it - m_widgets.begin()) : Control::TXT_Nummer;
}

TextField *Form1::textField(Control control) const
{
    return static_cast<TextField *>(widget(control));
}

QPushButton *Form1::button(Control control) const
{
    return static_cast<QPushButton *>(widget(control));
}

QCheckBox *Form1::checkBox(Control control) const
{
    return static_cast<QCheckBox *>(widget(control));
}

std::u16string Form1::text(Control textField) const
{
    throwIfUnloaded();
    return this->textField(textField)->text().toStdU16String();
}

void Form1::setText(Control textField, const std::u16string &text)
{
    throwIfUnloaded();
    m_windowSetsText = true;
    this->textField(textField)->replaceText(qt(text));
    m_windowSetsText = false;
    if (m_observer)
        m_observer->textSet(textField, text);
}

void Form1::setCaption(Control label, const std::u16string &caption)
{
    throwIfUnloaded();
    // Kept for the next refresh; assigning reuses the string's storage within a frame.
    m_pendingCaptions[static_cast<std::size_t>(label)] = caption;
    scheduleRefresh();
    if (m_observer)
        m_observer->captionSet(label, caption);
}

std::u16string Form1::caption(Control label) const
{
    if (const auto &pending = m_pendingCaptions[static_cast<std::size_t>(label)])
        return *pending;
    return static_cast<QLabel *>(widget(label))->text().toStdU16String();
}

void Form1::setEnabled(Control control, bool enabled)
{
    throwIfUnloaded();
    widget(control)->setEnabled(enabled);
    if (m_observer)
        m_observer->enabledSet(control, enabled);
}

int Form1::value(Control checkBox) const
{
    throwIfUnloaded();
    return this->checkBox(checkBox)->isChecked() ? 1 : 0;
}

void Form1::setValue(Control checkBox, int value)
{
    throwIfUnloaded();
    this->checkBox(checkBox)->setChecked(value != 0);
    if (m_observer)
        m_observer->checkSet(checkBox, value);
}

void Form1::addItem(const std::u16string &line)
{
    throwIfUnloaded();
    m_messages.append(line);
    scheduleRefresh();
    if (m_observer)
        m_observer->lineAdded(line);
}

void Form1::clearList()
{
    throwIfUnloaded();
    m_messages.clear();
    if (m_observer)
        m_observer->listCleared();
}

void Form1::unload()
{
    throwIfUnloaded();
    letGo();
    close();
}

void Form1::scheduleRefresh()
{
    if (m_refreshTimer.isActive())
        return;
    // After a quiet spell the next pass of the event loop shows the change; under a flood the
    // refreshes come one frame apart.
    const qint64 since = m_sinceRefresh.isValid() ? m_sinceRefresh.elapsed() : refreshIntervalMs;
    m_refreshTimer.start(static_cast<int>(std::max<qint64>(0, refreshIntervalMs - since)));
}

// Shows the lines and captions that arrived since the last refresh: one row insertion for the
// list, one caption per label, so the labels show the values read after the newest line.
void Form1::refresh()
{
    m_sinceRefresh.start();
    m_messages.publish();
    for (std::size_t i = 0; i < m_pendingCaptions.size(); ++i) {
        if (auto &pending = m_pendingCaptions[i]) {
            auto *label = static_cast<QLabel *>(m_widgets[i]);
            label->setText(qt(*pending));
            // The label's width cuts a long caption without a sign; its tooltip shows it whole.
            label->setToolTip(shownPart(label->text()));
            pending.reset();
        }
    }
}

void Form1::messageBox(const std::u16string &prompt, BoxStyle style,
                       const std::optional<std::u16string> &title)
{
    throwIfUnloaded();
    m_dialogs.messageBox(prompt, style, title);
    // The user may have closed the window while the box was open.
    throwIfUnloaded();
}

} // namespace app
