#include "lists/PassLineModel.h"

#include "lists/PassLine.h"

#include <algorithm>
#include <numeric>
#include <vector>

PassLineModel::PassLineModel(QObject* parent) : QAbstractListModel(parent) {}

void PassLineModel::setEntries(QList<Entry> entries)
{
    // Sort once, on keys computed once per line.
    std::vector<QString> keys;
    keys.reserve(size_t(entries.size()));
    for (const Entry& e : entries)
        keys.push_back(PassLine::orderKey(e.line));
    std::vector<qsizetype> order(size_t(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return keys[size_t(a)] < keys[size_t(b)]; });

    QList<Entry> sorted;
    sorted.reserve(entries.size());
    qsizetype longest = 0;
    for (qsizetype i : order) {
        longest = std::max(longest, entries[i].line.size());
        sorted.append(std::move(entries[i]));
    }

    beginResetModel();
    m_entries = std::move(sorted);
    m_longest = longest;
    endResetModel();
}

void PassLineModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_longest = 0;
    endResetModel();
}

int PassLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant PassLineModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry& e = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return e.line;
    case PositionRole:
        return e.position;
    default:
        return {};
    }
}

QStringList PassLineModel::lines() const
{
    QStringList out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        out.append(e.line);
    return out;
}

bool PassLineModel::lineContains(int row, const QString& lowered) const
{
    if (lowered.isEmpty())
        return false;
    return PassLine::asciiLower(m_entries.at(row).line).contains(lowered, Qt::CaseSensitive);
}

int PassLineModel::find(int selectedRow, const QString& typed, QString& remembered) const
{
    const int count = rowCount();
    if (count == 0)
        return -1;
    const int selected = (selectedRow >= 0 && selectedRow < count) ? selectedRow : 0;
    const QString t = PassLine::asciiLower(typed);

    int found = -1;
    int start = selected;
    if (t != remembered) {
        start = 0;
        if (lineContains(0, t))
            found = 0;
    }
    // From the line after the start round to the start itself.
    for (int step = 1; found < 0 && step <= count; ++step) {
        const int row = (start + step) % count;
        if (lineContains(row, t))
            found = row;
    }
    remembered = t;
    return found >= 0 ? found : selected;
}
