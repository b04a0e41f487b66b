#include "registry/StringGridModel.h"

#include "archives/Win1252.h"

#include <QCollator>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

// ---- Rows ---------------------------------------------------------------------------------------

namespace {

// The library's copy is quick for the short texts of the cells. Knowing that a length is below 256,
// the compiler puts a string move instruction in its place, which is slow to start; read back from
// a volatile, the length is just a number again and the library's copy is called.
void copyCell(char* to, const char* from, size_t length)
{
    const volatile size_t unknown = length;
    std::memcpy(to, from, unknown);
}

} // namespace

StringGridModel::Rows::Rows(int cells) : m_cells(cells) {}

void StringGridModel::Rows::append(qint64 number, const char* record, const Field* fields)
{
    const auto id = quint32(m_rows.size());
    m_rows.push_back({quint64(m_bytes.size()), quint32(number), id});
    // The trimmed text of a cell's field.
    const auto trimmed = [&](int c) -> std::pair<const char*, size_t> {
        const char* text = record + fields[c].offset + 1;
        // A damaged length byte never reaches past the field.
        int begin = 0, end = qMin(int(uchar(record[fields[c].offset])), fields[c].capacity);
        // Trimming on bytes is exact: only bytes up to 0x20 decode to characters of code <= 32.
        while (begin < end && uchar(text[begin]) <= 32)
            ++begin;
        while (end > begin && uchar(text[end - 1]) <= 32)
            --end;
        return {text + begin, size_t(end - begin)};
    };
    // The row's cells are measured first and copied into room made once.
    size_t total = 0;
    for (int c = 0; c < m_cells; ++c)
        total += 1 + trimmed(c).second;
    size_t at = m_bytes.size();
    m_bytes.resize(at + total);
    char* out = m_bytes.data();
    for (int c = 0; c < m_cells; ++c) {
        const auto [text, length] = trimmed(c);
        out[at++] = char(uchar(length));
        copyCell(out + at, text, length);
        at += length;
    }
}

void StringGridModel::Rows::appendEmpty(int count)
{
    for (int i = 0; i < count; ++i)
        m_rows.push_back({0, 0, quint32(m_rows.size())});
}

const char* StringGridModel::Rows::cellAt(const Row& row, int column) const
{
    if (row.number == 0 || column < 1 || column > m_cells)
        return nullptr;
    const char* p = m_bytes.data() + row.offset;
    for (int c = 1; c < column; ++c)
        p += 1 + uchar(*p);
    return p;
}

QString StringGridModel::Rows::text(qsizetype row, int column) const
{
    const char* cell = cellAt(m_rows[size_t(row)], column);
    return cell ? Win1252::decode(cell + 1, uchar(*cell)) : QString();
}

void StringGridModel::Rows::sortByColumn(int column, const QCollator& collator)
{
    // The keys are few (a pass type repeats over thousands of operations): rank the distinct texts
    // once with the collator, then place the rows by rank in one stable pass.
    std::unordered_map<std::string_view, int> keyIndex;
    std::vector<int> rowKey(m_rows.size());
    std::vector<QString> keys;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const char* cell = cellAt(m_rows[r], column);
        const std::string_view raw = cell ? std::string_view(cell + 1, uchar(*cell)) : std::string_view();
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
    beginResetModel();
    m_rows = std::move(rows);
    m_edits.clear();
    endResetModel();
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
    const char* cell = m_rows.cellAt(r, column);
    return cell ? QByteArrayView(cell + 1, uchar(*cell)) : QByteArrayView();
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

// ---- View ---------------------------------------------------------------------------------------

namespace StringGrid {

void setUpView(QTableView* view, StringGridModel* model, int rowHeight)
{
    view->setModel(model);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    // Fixed rows: the view never measures a million rows one by one.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(rowHeight);
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    auto* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    const auto& columns = model->columns();
    for (int c = 0; c < columns.size(); ++c)
        view->setColumnWidth(c, columns[c].width);
}

} // namespace StringGrid
