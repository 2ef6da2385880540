#include "app/LogCopyText.h"

#include "app/DisplayText.h"
#include "app/EventLogModel.h"
#include "app/LocalTimeText.h"

#include <algorithm>

namespace app {

std::vector<RowSpan> selectedRows(const QItemSelection &selection)
{
    std::vector<RowSpan> spans;
    spans.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange &range : selection) {
        if (range.isValid())
            spans.push_back({range.top(), range.bottom()});
    }
    std::sort(spans.begin(), spans.end(),
              [](const RowSpan &a, const RowSpan &b) { return a.first < b.first; });
    std::vector<RowSpan> merged;
    for (const RowSpan &span : spans) {
        if (!merged.empty() && span.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, span.last);
        else
            merged.push_back(span);
    }
    return merged;
}

LogCopyJob::LogCopyJob(const EventLogModel &model, std::vector<RowSpan> rows, WithTime time)
    : m_model(model)
    , m_rows(std::move(rows))
    , m_time(time)
{
    const LineStore &lines = m_model.store();
    const qsizetype timeColumn = time == WithTime::Yes ? LocalTimeText::length + 1 : 0;
    qsizetype size = 0;
    for (const RowSpan &span : m_rows) {
        for (int row = span.first; row <= span.last; ++row)
            size += static_cast<qsizetype>(lines.length(static_cast<std::size_t>(row))) + 1
                    + timeColumn;
    }
    // No line feed after the last line.
    m_text = QString(std::max<qsizetype>(0, size - 1), Qt::Uninitialized);
}

bool LogCopyJob::writeFor(std::chrono::steady_clock::duration budget)
{
    const auto until = std::chrono::steady_clock::now() + budget;
    const LineStore &lines = m_model.store();
    auto *const begin = reinterpret_cast<char16_t *>(m_text.data());
    char16_t *out = begin + m_written;
    constexpr int linesBetweenClockReads = 4096;
    int sinceClockRead = 0;
    while (m_span < m_rows.size()) {
        const int row = m_rows[m_span].first + m_row;
        if (m_started)
            *out++ = u'\n';
        m_started = true;
        if (m_time == WithTime::Yes) {
            out = m_clock.write(out, m_model.receivedAt(row));
            *out++ = u'\t';
        }
        const auto line = static_cast<std::size_t>(row);
        lines.copy(line, out);
        out += lines.length(line);

        if (row == m_rows[m_span].last) {
            ++m_span;
            m_row = 0;
        } else {
            ++m_row;
        }
        if (++sinceClockRead == linesBetweenClockReads) {
            sinceClockRead = 0;
            if (std::chrono::steady_clock::now() >= until)
                break;
        }
    }
    markLoneSurrogates(reinterpret_cast<QChar *>(begin + m_written),
                       reinterpret_cast<QChar *>(out));
    m_written = static_cast<std::size_t>(out - begin);
    return m_span == m_rows.size();
}

} // namespace app
