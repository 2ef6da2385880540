#pragma once

#include "app/LogCopyText.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string_view>

class QAction;

namespace app {

class EventLogModel;
class LogView;

// What LST_Message offers beyond the list itself, for a bug report: copying lines and
// following new ones. The actions sit in the list's context menu; Ctrl+C copies the selected
// lines while the list has the focus.
//
// A copy is written a slice at a time from the event loop, so that the window keeps answering
// while a million lines are copied; the clipboard gets the text once it is whole. A newer copy
// takes the place of one still being written, and clearing the list drops it.
class LogActions : public QObject
{
    Q_OBJECT

public:
    // Runs a piece of a copy through the window's handler wrapper, which reports its errors.
    using Runner = std::function<void(std::string_view handler, const std::function<void()> &)>;

    LogActions(LogView &view, const EventLogModel &model, Runner run);
    ~LogActions() override;

private:
    void start(std::string_view handler, std::vector<RowSpan> rows, WithTime time);
    void writeSlice();
    void updateEnabled();

    LogView &m_view;
    const EventLogModel &m_model;
    Runner m_run;
    QAction *m_copySelected;
    QAction *m_copyAll;
    QAction *m_copyAllWithTime;
    // Off at start: the list scrolls only when the user asks it to.
    QAction *m_followNewLines;

    std::unique_ptr<LogCopyJob> m_job;
    std::string_view m_jobHandler;
    QTimer m_nextSlice;
};

} // namespace app
