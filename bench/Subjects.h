#pragma once

#include "app/Form1.h"
#include "bench/BaselineLog.h"
#include "bench/DisplayProbe.h"
#include "bench/EventFeed.h"
#include "form/Dialogs.h"

#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace logbench {

// Boxes and error reports go nowhere; an error is printed, since none should happen.
class NullDialogs : public form::Dialogs
{
public:
    void messageBox(const std::u16string &, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {}
    void errorReport(const phone::Error &error) override;
};

// One log under test: a window, the control that feeds it and a probe on its LBL_Last.
class Subject
{
public:
    virtual ~Subject() = default;
    virtual QWidget *window() = 0;
    virtual void clearList() = 0;
    virtual std::int64_t listedLines() const = 0;
    virtual QString lastListedLine() const = 0;

    EventFeed feed;
    std::unique_ptr<DisplayProbe> probe;
    std::int64_t lines = 0;    // lines the bench has added since the last clear
    std::int64_t failures = 0; // checks that found the window not showing what it should
};

// Our log: the real Form1.
class OurLog : public Subject
{
public:
    OurLog();
    ~OurLog() override;
    QWidget *window() override { return &m_form; }
    void clearList() override;
    std::int64_t listedLines() const override;
    QString lastListedLine() const override;

private:
    NullDialogs m_dialogs;
    app::Form1 m_form;
};

// The plain QListWidget log.
class PlainLog : public Subject
{
public:
    PlainLog();
    ~PlainLog() override;
    QWidget *window() override { return &m_window; }
    void clearList() override { m_window.clearList(); }
    std::int64_t listedLines() const override;
    QString lastListedLine() const override;

private:
    BaselineLog m_window;
};

} // namespace logbench
