#pragma once

#include "app/LineStore.h"

#include <QAbstractListModel>

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

    // Stores the line; it becomes a row at the next publish().
    void append(std::u16string_view line);
    // Inserts the lines stored since the last call as rows, in one insertion.
    void publish();
    // Removes every line, published or not, and gives the memory back.
    void clear();

    // Every stored line, published or not.
    qsizetype lineCount() const { return static_cast<qsizetype>(m_lines.size()); }
    QString line(qsizetype row) const;
    const LineStore &store() const { return m_lines; }

private:
    LineStore m_lines;
    int m_published = 0;
};

} // namespace app
