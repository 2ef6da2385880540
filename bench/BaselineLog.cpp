#include "bench/BaselineLog.h"

#include "form/FormLayout.h"
#include "phone/CallEvent.h"

#include <QLabel>
#include <QListWidget>

namespace logbench {

namespace {

QRect pixels(form::Control control)
{
    const form::ControlLayout &entry = form::layoutOf(control);
    return QRect(entry.left / form::twipsPerPixel, entry.top / form::twipsPerPixel,
                 entry.width / form::twipsPerPixel, entry.height / form::twipsPerPixel);
}

QLabel *makeLabel(QWidget *parent, form::Control control)
{
    const form::ControlLayout &entry = form::layoutOf(control);
    auto *label = new QLabel(QString::fromStdU16String(std::u16string(entry.caption)), parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(pixels(control));
    return label;
}

} // namespace

BaselineLog::BaselineLog(phone::Dispatch &control)
    : m_dispatch(control)
    , m_control(control)
    , m_handlers(*this, m_control)
    , m_list(new QListWidget(this))
    , m_count(makeLabel(this, form::Control::LBL_Anzahl))
    , m_latest(makeLabel(this, form::Control::LBL_Last))
{
    setWindowTitle(QStringLiteral("QListWidget log"));
    setFixedSize(form::clientWidthTwips / form::twipsPerPixel,
                 form::clientHeightTwips / form::twipsPerPixel);
    m_list->setGeometry(pixels(form::Control::LST_Message));
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

void BaselineLog::setCaption(form::Control label, const std::u16string &caption)
{
    (label == form::Control::LBL_Anzahl ? m_count : m_latest)
        ->setText(QString::fromStdU16String(caption));
}

void BaselineLog::addItem(const std::u16string &line)
{
    m_list->addItem(QString::fromStdU16String(line));
}

void BaselineLog::controlEvent(std::string_view name, const phone::EventArguments &arguments)
{
    if (const auto handler = events::CallEventHandlers::handlerFor(name))
        (m_handlers.*handler)(phone::toCallEvent(arguments));
}

} // namespace logbench
