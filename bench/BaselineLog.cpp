#include "bench/BaselineLog.h"

#include "app/FormLayout.h"
#include "phone/CallEvent.h"

#include <QLabel>
#include <QListWidget>

namespace bench {

namespace {

QRect pixels(app::Control control)
{
    const app::ControlLayout &entry = app::layoutOf(control);
    return QRect(entry.left / app::twipsPerPixel, entry.top / app::twipsPerPixel,
                 entry.width / app::twipsPerPixel, entry.height / app::twipsPerPixel);
}

QLabel *makeLabel(QWidget *parent, app::Control control)
{
    const app::ControlLayout &entry = app::layoutOf(control);
    auto *label = new QLabel(QString::fromStdU16String(std::u16string(entry.caption)), parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(pixels(control));
    return label;
}

} // namespace

BaselineLog::BaselineLog(phone::Dispatch &control)
    : m_dispatch(control)
    , m_control(control)
    , m_handlers(*this, m_control, m_callIDs, m_strEvent)
    , m_list(new QListWidget(this))
    , m_count(makeLabel(this, app::Control::LBL_Anzahl))
    , m_latest(makeLabel(this, app::Control::LBL_Last))
{
    setWindowTitle(QStringLiteral("QListWidget log"));
    setFixedSize(app::clientWidthTwips / app::twipsPerPixel,
                 app::clientHeightTwips / app::twipsPerPixel);
    m_list->setGeometry(pixels(app::Control::LST_Message));
    m_dispatch.connectEvents(this);
}

BaselineLog::~BaselineLog()
{
    m_dispatch.connectEvents(nullptr);
}

void BaselineLog::clearList()
{
    m_list->clear();
}

void BaselineLog::setCaption(app::Control label, const std::u16string &caption)
{
    (label == app::Control::LBL_Anzahl ? m_count : m_latest)
        ->setText(QString::fromStdU16String(caption));
}

void BaselineLog::addItem(const std::u16string &line)
{
    m_list->addItem(QString::fromStdU16String(line));
}

void BaselineLog::controlEvent(std::string_view name, const phone::EventArguments &arguments)
{
    if (events::CallEventHandlers::handles(name))
        m_handlers.handle(name, phone::toCallEvent(arguments));
}

} // namespace bench
