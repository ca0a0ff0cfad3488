#pragma once

#include "common/DateTime.h"
#include "engine/ListRules.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

namespace quorx {

class ScheduleTable;
struct Settings;

// The rows of the list: the records that pass the display filter, in table order. Row r of the
// model is grid row r + 1 (row 0 is the title row), which is what the records keep in GridRow.
class ScheduleListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    ScheduleListModel(ScheduleTable& table, const Settings& settings, QObject* parent = nullptr);

    // Decides the shown rows again and writes GridRow (and clears Selected of hidden records).
    // nextIndex: the next recording to start, or -1.
    void Rebuild(DateTime now, int nextIndex);

    // The table index shown in a model row, or -1.
    int RecordAt(int row) const;
    int RowOf(int index) const;
    int NextIndex() const { return m_next; }
    // Minutes of the shown recordings that are active and not skipped, margins included.
    int TotalMinutes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ListRules::RowState StateOf(int index) const;
    QIcon PictureOf(const TEmission& e) const;

    ScheduleTable& m_table;
    const Settings& m_settings;
    std::vector<int> m_rows;
    DateTime m_now;
    int m_next = -1;
};

} // namespace quorx
