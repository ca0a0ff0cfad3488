#include "ui/main/ScheduleListModel.h"

#include "common/QtColours.h"
#include "schedule/ScheduleTable.h"
#include "schedule/Settings.h"
#include "ui/main/ListPictures.h"

#include <QBrush>
#include <QFont>

namespace quorx {

ScheduleListModel::ScheduleListModel(ScheduleTable& table, const Settings& settings, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_settings(settings)
{
}

void ScheduleListModel::Rebuild(DateTime now, int nextIndex)
{
    beginResetModel();
    m_now = now;
    m_next = nextIndex;
    m_rows.clear();
    for (int i = 1; i <= m_table.Count(); ++i) {
        TEmission& e = m_table[i];
        if (ListRules::IsShown(e, StateOf(i), m_settings, now)) {
            m_rows.push_back(i);
            e.GridRow = static_cast<std::int16_t>(m_rows.size());
        } else {
            e.GridRow = -1;
            e.Selected = false;
        }
    }
    endResetModel();
}

int ScheduleListModel::RecordAt(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)] : -1;
}

int ScheduleListModel::RowOf(int index) const
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r] == index)
            return static_cast<int>(r);
    }
    return -1;
}

int ScheduleListModel::TotalMinutes() const
{
    int total = 0;
    for (int i : m_rows) {
        if (m_table.IsValidIndex(i) && ListRules::CountsInTotal(m_table[i]))
            total += ListRules::OccurrenceMinutes(m_table[i], m_settings);
    }
    return total;
}

int ScheduleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ScheduleListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ListRules::ColumnCount;
}

ListRules::RowState ScheduleListModel::StateOf(int index) const
{
    ListRules::RowState state;
    state.isNext = index == m_next;
    state.isRecording = m_table[index].Etat == 1;
    return state;
}

QIcon ScheduleListModel::PictureOf(const TEmission& e) const
{
    const ListRules::RowPictures p = ListRules::PicturesOf(e);
    return ListPictures::RowIcon(p.skip, p.inactive, p.priority, p.guide);
}

QVariant ScheduleListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int record = RecordAt(index.row());
    if (!m_table.IsValidIndex(record))
        return {};
    const TEmission& e = m_table[record];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return ListRules::CellText(e, column, m_settings, m_now);
    case Qt::DecorationRole: {
        if (column != ListRules::ColumnName)
            return {};
        const QIcon icon = PictureOf(e);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole: {
        const ListRules::CellStyle style =
            ListRules::StyleOf(e, column, StateOf(record), ListRules::ModeOf(m_settings), m_now);
        if (role == Qt::ForegroundRole)
            return QBrush(ToQColor(style.text));
        if (role == Qt::BackgroundRole)
            return QBrush(ToQColor(style.background));
        QFont font(m_settings.TailleFonte > 7 ? QStringLiteral("Arial") : QStringLiteral("Small Fonts"));
        font.setPointSize(qMax(1, m_settings.TailleFonte));
        font.setBold(style.bold);
        font.setUnderline(style.underline);
        font.setStrikeOut(style.strikeOut);
        return font;
    }
    default:
        return {};
    }
}

QVariant ScheduleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return ListRules::ColumnTitle(section);
}

} // namespace quorx
