#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace app {

// The lines of LST_Message. A test run can leave hundreds of thousands of lines, so they are
// kept packed as UTF-8 in one buffer and turned into QString only when a row is shown.
class EventLogModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void append(const std::u16string &line);
    void clear();
    QString line(int row) const;

private:
    std::string m_text;              // every line's UTF-8 bytes, one after the other
    std::vector<std::size_t> m_ends; // end offset of each line in m_text
};

} // namespace app
