#include "app/EventLogModel.h"

#include "app/DisplayText.h"

namespace app {

int EventLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_ends.size());
}

QVariant EventLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return line(index.row());
    return {};
}

QString EventLogModel::line(int row) const
{
    const std::size_t begin = row == 0 ? 0 : m_ends[row - 1];
    const std::size_t end = m_ends[row];
    return QString::fromUtf8(m_text.data() + begin, static_cast<qsizetype>(end - begin));
}

void EventLogModel::append(const std::u16string &line)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_text += withLoneSurrogatesMarked(QString::fromStdU16String(line)).toStdString();
    m_ends.push_back(m_text.size());
    endInsertRows();
}

void EventLogModel::clear()
{
    beginResetModel();
    // Swapping with empty containers gives the memory back.
    std::string().swap(m_text);
    std::vector<std::size_t>().swap(m_ends);
    endResetModel();
}

} // namespace app
