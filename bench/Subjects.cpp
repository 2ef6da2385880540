#include "bench/Subjects.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

namespace logbench {

void NullDialogs::errorReport(const phone::Error &error)
{
    std::fprintf(stderr, "handler error: %s\n", error.what());
}

OurLog::OurLog()
    : m_form(feed.control(), m_dialogs)
{
    probe = std::make_unique<DisplayProbe>(
        static_cast<QLabel *>(m_form.widget(form::Control::LBL_Last)), &EventFeed::serialShownIn);
}

// The probe watches a label of the window: it goes first.
OurLog::~OurLog()
{
    probe.reset();
}

void OurLog::clearList()
{
    static_cast<QPushButton *>(m_form.widget(form::Control::BTN_Clear))->click();
}

std::int64_t OurLog::listedLines() const
{
    return m_form.messages().rowCount();
}

QString OurLog::lastListedLine() const
{
    const int rows = m_form.messages().rowCount();
    return rows ? m_form.messages().line(rows - 1) : QString();
}

PlainLog::PlainLog()
    : m_window(feed.control())
{
    probe = std::make_unique<DisplayProbe>(m_window.latestLabel(), &EventFeed::serialShownIn);
}

PlainLog::~PlainLog()
{
    probe.reset();
}

std::int64_t PlainLog::listedLines() const
{
    return m_window.list()->count();
}

QString PlainLog::lastListedLine() const
{
    const int rows = m_window.list()->count();
    return rows ? m_window.list()->item(rows - 1)->text() : QString();
}

} // namespace logbench
