#include "app/EventLogModel.h"

#include "app/DisplayText.h"
#include "app/LocalTimeText.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace app {

int EventLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_published;
}

QVariant EventLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_published)
        return {};
    // What is shown marks a code unit that is no character; line() keeps it as it came.
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return withLoneSurrogatesMarked(line(index.row()));
    if (role == Qt::ToolTipRole) {
        const QString tip = shownPart(withLoneSurrogatesMarked(line(index.row())));
        return tip + QStringLiteral("\nEmpfangen um ") + LocalTimeText()(receivedAt(index.row()));
    }
    return {};
}

QString EventLogModel::line(qsizetype row) const
{
    const auto at = static_cast<std::size_t>(row);
    QString text(static_cast<qsizetype>(m_lines.length(at)), Qt::Uninitialized);
    m_lines.copy(at, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

void EventLogModel::append(std::u16string_view line)
{
    const qint64 now = m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
    m_receivedAt.push_back(now);
    try {
        m_lines.append(line);
    } catch (...) {
        m_receivedAt.pop_back(); // a line and its time are stored together or not at all
        throw;
    }
}

void EventLogModel::publish()
{
    // Rows are ints to the views; lines beyond that stay stored but unlisted.
    const int stored =
        static_cast<int>(std::min<qsizetype>(lineCount(), std::numeric_limits<int>::max()));
    if (stored == m_published)
        return;
    beginInsertRows({}, m_published, stored - 1);
    m_published = stored;
    endInsertRows();
}

void EventLogModel::clear()
{
    beginResetModel();
    m_lines.clear();
    std::deque<qint64>().swap(m_receivedAt);
    m_published = 0;
    endResetModel();
#if defined(__GLIBC__)
    // The blocks are freed now, but glibc keeps freed heap pages for the process unless asked;
    // a cleared soak-test log can be hundreds of megabytes, so hand them back to the system.
    malloc_trim(0);
#endif
}

} // namespace app
