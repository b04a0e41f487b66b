#include "lists/PassLineModel.h"

#include "lists/PassLine.h"

#include <algorithm>
#include <array>
#include <vector>

PassLineModel::PassLineModel(QObject* parent) : QAbstractListModel(parent) {}

namespace {

char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
}

// The comparison of PassLine::orderKey(a) with PassLine::orderKey(b) (below 0, 0, above 0),
// without making the keys, knowing that their first `from` characters are equal.
int foldedCompare(const QString& a, const QString& b, qsizetype from)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = from; i < n; ++i) {
        const char16_t x = folded(a[i]), y = folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// What a line is sorted on first: its first sixteen characters (a to z in upper case, 0 for each
// past the end) as four numbers, which order as the keys do, and its place in the file order.
// Sixteen characters hold the beginning all lines share ("Cod. ") and most of the identifier.
constexpr qsizetype KeyCharacters = 16;
struct SortKey
{
    std::array<quint64, KeyCharacters / 4> numbers;
    qsizetype entry;
};

SortKey sortKey(const QString& line, qsizetype entry)
{
    SortKey key{{}, entry};
    for (qsizetype i = 0; i < KeyCharacters; ++i) {
        quint64& n = key.numbers[size_t(i / 4)];
        n = (n << 16) | (i < line.size() ? folded(line[i]) : 0);
    }
    return key;
}

} // namespace

void PassLineModel::setEntries(QList<Entry> entries)
{
    // Sort once, in the order of PassLine::orderKey, with no key made: the numbers of the first
    // characters of each line settle most comparisons at once, and each line is read once for
    // them; lines of equal numbers compare character by character from there (a line that ends
    // among those characters has them as 0, so it comes before the longer ones, as it should).
    const QList<Entry>& all = entries;
    const qsizetype count = all.size();
    std::vector<SortKey> keys;
    keys.reserve(size_t(count));
    for (qsizetype i = 0; i < count; ++i)
        keys.push_back(sortKey(all[i].line, i));
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        for (size_t i = 0; i < a.numbers.size(); ++i) {
            if (a.numbers[i] != b.numbers[i])
                return a.numbers[i] < b.numbers[i];
        }
        const int order = foldedCompare(all[a.entry].line, all[b.entry].line, KeyCharacters);
        return order != 0 ? order < 0 : a.entry < b.entry; // equal lines keep their file order
    });

    QList<Entry> sorted;
    sorted.reserve(count);
    qsizetype longest = 0;
    for (const SortKey& k : keys) {
        longest = std::max(longest, entries[k.entry].line.size());
        sorted.append(std::move(entries[k.entry]));
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

int PassLineModel::rowOfCode(const QString& typed) const
{
    const QString code = PassLine::asciiLower(typed.trimmed());
    if (code.isEmpty())
        return -1;
    int found = -1;
    for (int row = 0; row < rowCount(); ++row) {
        if (PassLine::asciiLower(PassLine::codeOf(m_entries.at(row).line)) != code)
            continue;
        if (found >= 0)
            return -1;
        found = row;
    }
    return found;
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
