#pragma once

#include "app/LineStore.h"

#include <QAbstractListModel>

#include <deque>
#include <functional>
#include <string_view>

namespace app {

// The lines of LST_Message. A test run can leave hundreds of thousands of lines and a faulty
// control can fire thousands a second, so a line is stored at once, compactly, but the views
// hear of new lines only when publish() is called, once for all lines since the last call:
// telling a view of each line on its own costs more than storing it.
class EventLogModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // The published lines.
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Stores the line with the time it arrived; it becomes a row at the next publish().
    void append(std::u16string_view line);
    // Inserts the lines stored since the last call as rows, in one insertion.
    void publish();
    // Removes every line, published or not, and gives the memory back.
    void clear();

    // Every stored line, published or not.
    qsizetype lineCount() const { return static_cast<qsizetype>(m_lines.size()); }
    QString line(qsizetype row) const;
    // When the line arrived, in milliseconds since the epoch.
    qint64 receivedAt(qsizetype row) const { return m_receivedAt[static_cast<std::size_t>(row)]; }
    const LineStore &store() const { return m_lines; }

    // The clock that stamps each line as it arrives; the wall clock unless a test sets one.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

private:
    LineStore m_lines;
    std::deque<qint64> m_receivedAt;
    std::function<qint64()> m_clock;
    int m_published = 0;
};

} // namespace app
