#include "lists/PassLineModel.h"

#include "lists/PassLine.h"

#include <algorithm>
#include <numeric>
#include <vector>

PassLineModel::PassLineModel(QObject* parent) : QAbstractListModel(parent) {}

namespace {

char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
}

// PassLine::orderKey(a) < PassLine::orderKey(b), without making the keys, knowing that their first
// `from` characters are equal.
bool foldedLess(const QString& a, const QString& b, qsizetype from)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = from; i < n; ++i) {
        const char16_t x = folded(a[i]), y = folded(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

// The number of the four characters of `line` from `from` on (a to z in upper case, 0 for each
// past the end), which orders as their keys do: a smaller number is a smaller key.
quint64 prefixNumber(const QString& line, qsizetype from)
{
    quint64 number = 0;
    for (qsizetype i = from; i < from + 4; ++i)
        number = (number << 16) | (i < line.size() ? folded(line[i]) : 0);
    return number;
}

} // namespace

void PassLineModel::setEntries(QList<Entry> entries)
{
    // Sort once, in the order of PassLine::orderKey, with no key made: the lines of a list begin
    // alike ("Cod. "), so each gets the number of its four characters after the beginning they all
    // share, which settles most comparisons at once; lines of equal numbers compare character by
    // character.
    const QList<Entry>& all = entries;
    const qsizetype count = all.size();
    qsizetype shared = count > 0 ? all[0].line.size() : 0;
    for (const Entry& e : all) {
        const QString& first = all[0].line;
        qsizetype i = 0;
        const qsizetype n = qMin(shared, e.line.size());
        while (i < n && folded(e.line[i]) == folded(first[i]))
            ++i;
        shared = i;
    }
    std::vector<quint64> prefix(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        prefix[size_t(i)] = prefixNumber(all[i].line, shared);
    std::vector<qsizetype> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const quint64 pa = prefix[size_t(a)], pb = prefix[size_t(b)];
        if (pa != pb)
            return pa < pb;
        return foldedLess(all[a].line, all[b].line, shared);
    });

    QList<Entry> sorted;
    sorted.reserve(count);
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
