#pragma once

#include "app/LocalTimeText.h"

#include <QItemSelection>
#include <QString>

#include <chrono>
#include <cstddef>
#include <vector>

namespace app {

class EventLogModel;

// A run of neighbouring rows, first to last.
struct RowSpan
{
    int first;
    int last;
    bool operator==(const RowSpan &) const = default;
};

// The rows a selection holds, in list order and each once, however it was put together.
std::vector<RowSpan> selectedRows(const QItemSelection &selection);

enum class WithTime { No, Yes };

// Writes the text a copy of the rows puts on the clipboard: each line whole, not cut as the row
// shows it, one to a line of text in list order, with "HH:MM:SS.mmm<TAB>" of its arrival in
// front when asked. A code unit that is no character is copied as U+FFFD, as the row shows it.
//
// It writes a slice at a time, so that a copy of a million lines can leave the window answering
// between slices. The rows must stay in the model until the text is whole.
class LogCopyJob
{
public:
    LogCopyJob(const EventLogModel &model, std::vector<RowSpan> rows, WithTime time);

    // Writes lines for about the given time, at least one; true once the text is whole.
    bool writeFor(std::chrono::steady_clock::duration budget);
    QString takeText() { return std::move(m_text); }

private:
    const EventLogModel &m_model;
    std::vector<RowSpan> m_rows;
    WithTime m_time;
    LocalTimeText m_clock;
    QString m_text; // made at its full size at once, and written in place
    std::size_t m_written = 0;
    std::size_t m_span = 0; // the next line to write: m_rows[m_span].first + m_row
    int m_row = 0;
    bool m_started = false; // a line is written, so the next one needs a line feed before it
};

} // namespace app
