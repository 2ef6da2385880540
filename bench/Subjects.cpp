#include "bench/Subjects.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

namespace bench {

void NullDialogs::errorReport(const phone::Error &error)
{
    std::fprintf(stderr, "handler error: %s\n", error.what());
}

OurLog::OurLog()
    : m_form(control, m_dialogs)
{
    probe = std::make_unique<DisplayProbe>(
        static_cast<QLabel *>(m_form.widget(app::Control::LBL_Last)), &BenchControl::serialShownIn);
}

// The probe watches a label of the window: it goes first.
OurLog::~OurLog()
{
    probe.reset();
}

void OurLog::clearList()
{
    static_cast<QPushButton *>(m_form.widget(app::Control::BTN_Clear))->click();
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
    : m_window(control)
{
    probe = std::make_unique<DisplayProbe>(m_window.latestLabel(), &BenchControl::serialShownIn);
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

} // namespace bench
