#include "grids/StringGridModel.h"

#include "archives/PackedFields.h"
#include "archives/RecordFile.h"
#include "archives/Win1252.h"

#include <QCollator>

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <utility>

// ---- Rows ---------------------------------------------------------------------------------------

StringGridModel::Rows::Rows(int cells) : m_cells(cells) {}

void StringGridModel::Rows::append(qint64 number, const char* record, const PackedFields& fields)
{
    m_rows.push_back({place(record, fields), quint32(number), quint32(m_rows.size())});
}

quint64 StringGridModel::Rows::place(const char* record, const PackedFields& fields)
{
    Q_ASSERT(fields.count() == m_cells);
    // A block takes rows while the longest row still fits in its room.
    constexpr size_t BlockBytes = size_t(1) << 20;
    const size_t most = fields.maxRowBytes();
    // The next block kept from before a clear(), or a new one.
    while (m_current < m_blocks.size() && m_blocks[m_current].room - m_blocks[m_current].used < most)
        ++m_current;
    if (m_current == m_blocks.size()) {
        const size_t room = qMax(BlockBytes, most);
        // Zeroed, which brings every page of it into memory at once: kept for the next filling,
        // it fills without a page fault whichever part of the file it goes to.
        m_blocks.push_back({std::make_unique<char[]>(room), room, 0});
    }
    Block& block = m_blocks[m_current];
    const quint64 offset = (quint64(m_current) << 32) | quint64(block.used);
    block.used += fields.writeRow(record, block.bytes.get() + block.used);
    return offset;
}

bool StringGridModel::Rows::appendRecords(RecordFile& file, const PackedFields& fields)
{
    const qint64 count = file.count();
    if (count < 0)
        return false;
    const int parts = RecordFile::partsFor(count);
    // Each row goes to its place in the array at once; each part writes its cells into blocks of
    // its own: the first into these, every later one into a share of the blocks kept here still
    // empty, or new ones. The blocks come back here after, the later parts' rows renumbered.
    const size_t start = m_rows.size();
    m_rows.resize(start + size_t(count));
    const size_t firstEmpty = m_blocks.empty() ? 0 : m_current + (m_blocks[m_current].used > 0 ? 1 : 0);
    const size_t empty = m_blocks.size() - firstEmpty;
    std::vector<Rows> later;
    for (int part = 1; part < parts; ++part)
        later.emplace_back(m_cells);
    for (int part = parts - 1; part >= 1; --part) {
        const size_t share = empty * size_t(part + 1) / size_t(parts) - empty * size_t(part) / size_t(parts);
        std::vector<Block>& into = later[size_t(part - 1)].m_blocks;
        for (size_t i = 0; i < share; ++i)
            into.push_back(std::move(m_blocks[m_blocks.size() - share + i]));
        m_blocks.resize(m_blocks.size() - share);
    }
    std::array<qint64, RecordFile::MostParts> visited{};
    const int failed = file.readRangeInParts(1, count, parts, [&](int part, qint64 position, const char* record) {
        Rows& cells = part == 0 ? *this : later[size_t(part - 1)];
        const size_t at = start + size_t(position - 1);
        m_rows[at] = {cells.place(record, fields), quint32(position), quint32(at)};
        ++visited[size_t(part)];
        return true;
    });
    size_t rows = start;
    for (int part = 0; part < parts && part <= failed; ++part)
        rows += size_t(visited[size_t(part)]);
    for (int part = 1; part < parts; ++part) {
        Rows& from = later[size_t(part - 1)];
        const quint64 base = quint64(m_blocks.size()) << 32;
        if (part <= failed) {
            const size_t first = start + size_t(RecordFile::firstOfPart(1, count, parts, part) - 1);
            for (size_t at = first; at < first + size_t(visited[size_t(part)]); ++at)
                m_rows[at].offset += base;
        } else {
            for (Block& block : from.m_blocks)
                block.used = 0; // rows left out: the room stays for the next
        }
        std::move(from.m_blocks.begin(), from.m_blocks.end(), std::back_inserter(m_blocks));
    }
    m_rows.resize(rows);
    return failed == parts;
}

void StringGridModel::Rows::appendEmpty(int count)
{
    for (int i = 0; i < count; ++i)
        m_rows.push_back({0, 0, quint32(m_rows.size())});
}

void StringGridModel::Rows::clear()
{
    m_rows.clear();
    for (Block& block : m_blocks)
        block.used = 0;
    m_current = 0;
}

QByteArrayView StringGridModel::Rows::cellAt(const Row& row, int column) const
{
    if (row.number == 0 || column < 1 || column > m_cells)
        return {};
    const char* block = m_blocks[size_t(row.offset >> 32)].bytes.get();
    return PackedFields::field(block + (row.offset & 0xffffffffu), column - 1);
}

QString StringGridModel::Rows::text(qsizetype row, int column) const
{
    const QByteArrayView cell = cellAt(m_rows[size_t(row)], column);
    return cell.isNull() ? QString() : Win1252::decode(cell.data(), int(cell.size()));
}

void StringGridModel::Rows::sortByColumn(int column, const QCollator& collator)
{
    // The keys are few (a pass type repeats over thousands of operations): rank the distinct texts
    // once with the collator, then place the rows by rank in one stable pass.
    std::unordered_map<std::string_view, int> keyIndex;
    std::vector<int> rowKey(m_rows.size());
    std::vector<QString> keys;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const QByteArrayView cell = cellAt(m_rows[r], column);
        const std::string_view raw(cell.data(), size_t(cell.size()));
        auto [it, added] = keyIndex.try_emplace(raw, int(keys.size()));
        if (added)
            keys.push_back(Win1252::decode(raw.data(), int(raw.size())));
        rowKey[r] = it->second;
    }

    std::vector<int> byText(keys.size());
    for (size_t k = 0; k < keys.size(); ++k)
        byText[k] = int(k);
    std::stable_sort(byText.begin(), byText.end(),
                     [&](int a, int b) { return collator.compare(keys[size_t(a)], keys[size_t(b)]) < 0; });
    // Texts the collator holds equal ("badge", "Badge") share one rank.
    std::vector<int> rank(keys.size());
    int next = -1;
    for (size_t i = 0; i < byText.size(); ++i) {
        if (i == 0 || collator.compare(keys[size_t(byText[i - 1])], keys[size_t(byText[i])]) != 0)
            ++next;
        rank[size_t(byText[i])] = next;
    }

    std::vector<size_t> start(size_t(next + 2), 0);
    for (int k : rowKey)
        ++start[size_t(rank[size_t(k)]) + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<Row> sorted(m_rows.size());
    for (size_t r = 0; r < m_rows.size(); ++r)
        sorted[start[size_t(rank[size_t(rowKey[r])])]++] = m_rows[r];
    m_rows = std::move(sorted);
}

// ---- Model --------------------------------------------------------------------------------------

StringGridModel::StringGridModel(QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)), m_rows(int(m_columns.size()) - 1)
{
}

void StringGridModel::setRows(Rows rows)
{
    Q_ASSERT(rows.m_cells == m_columns.size() - 1);
    // Blocks kept from before a clear() that no row took are let go.
    while (!rows.m_blocks.empty() && rows.m_blocks.back().used == 0)
        rows.m_blocks.pop_back();
    beginResetModel();
    m_rows = std::move(rows);
    m_edits.clear();
    endResetModel();
}

StringGridModel::Rows StringGridModel::takeRows()
{
    beginResetModel();
    Rows rows = std::exchange(m_rows, Rows(m_rows.m_cells));
    m_edits.clear();
    endResetModel();
    return rows;
}

QString StringGridModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns.size())
        return QString();
    const auto& r = m_rows.m_rows[size_t(row)];
    if (column == 0)
        return r.number ? QString::number(r.number) : QString();
    if (m_columns[column].editable) {
        const auto edited = m_edits.constFind(editKey(r.id, column));
        if (edited != m_edits.cend())
            return *edited;
    }
    return m_rows.text(row, column);
}

std::optional<QByteArrayView> StringGridModel::fieldBytes(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 1 || column >= m_columns.size())
        return std::nullopt;
    const auto& r = m_rows.m_rows[size_t(row)];
    if (m_columns[column].editable && m_edits.contains(editKey(r.id, column)))
        return std::nullopt;
    return m_rows.cellAt(r, column);
}

bool StringGridModel::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rowCount() &&
           index.column() < columnCount();
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!isCell(index))
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cell(index.row(), index.column());
    return QVariant();
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !isCell(index))
        return false;
    if (!m_columns[index.column()].editable)
        return false;
    m_edits.insert(editKey(m_rows.m_rows[size_t(index.row())].id, index.column()), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_columns[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}
