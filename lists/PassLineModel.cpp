#include "lists/PassLineModel.h"

#include "lists/PassLine.h"

#include <QMutex>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// The texts of the lines are written into blocks of this many characters (2 MiB); a longer line
// takes a block of its own.
constexpr qsizetype BlockCharacters = qsizetype(1) << 20;
using Chars = std::unique_ptr<char16_t[]>;

// The blocks of lists freed, kept for the next list: a window that shows its list again (every
// withdrawal opens the list of available passes) writes into memory it already has instead of
// having the system hand it fresh pages one by one. At most the blocks of a list of about 100,000
// cards are kept.
class SpareBlocks
{
public:
    static constexpr size_t Most = 16;

    Chars take()
    {
        QMutexLocker lock(&m_mutex);
        if (m_blocks.empty())
            return nullptr;
        Chars b = std::move(m_blocks.back());
        m_blocks.pop_back();
        return b;
    }
    // Keeps `block` when it has the usual size and there is room; lets it go otherwise.
    void give(Chars block, qsizetype size)
    {
        QMutexLocker lock(&m_mutex);
        if (size == BlockCharacters && m_blocks.size() < Most)
            m_blocks.push_back(std::move(block));
    }

private:
    QMutex m_mutex;
    std::vector<Chars> m_blocks;
};

SpareBlocks& spareBlocks()
{
    // Never destroyed: lines freed while the program ends still find it.
    static SpareBlocks* spare = new SpareBlocks;
    return *spare;
}

char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
}

// The comparison of PassLine::orderKey(a) with PassLine::orderKey(b) (below 0, 0, above 0),
// without making the keys, knowing that their first `from` characters are equal.
int foldedCompare(QStringView a, QStringView b, qsizetype from)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = from; i < n; ++i) {
        const char16_t x = folded(a[i]), y = folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// The head of a line (Lines::Head): sixteen characters hold the beginning all lines share ("Cod. ")
// and most of the identifier.
constexpr qsizetype KeyCharacters = 16;
using Head = PassLineModel::Lines::Head;

Head headOf(QStringView line)
{
    Head head{};
    for (qsizetype i = 0; i < KeyCharacters; ++i) {
        quint64& n = head[size_t(i / 4)];
        n = (n << 16) | (i < line.size() ? folded(line[i]) : 0);
    }
    return head;
}

} // namespace

PassLineModel::Lines::Lines() = default;
PassLineModel::Lines::Lines(Lines&& other) noexcept
{
    *this = std::move(other);
}

PassLineModel::Lines::~Lines()
{
    release();
}

PassLineModel::Lines& PassLineModel::Lines::operator=(Lines&& other) noexcept
{
    if (this != &other) {
        release();
        m_blocks = std::move(other.m_blocks);
        m_free = std::exchange(other.m_free, nullptr);
        m_left = std::exchange(other.m_left, 0);
        m_lines = std::move(other.m_lines);
        other.m_blocks.clear(); // a moved-from vector is left valid but unspecified
        other.m_lines.clear();
    }
    return *this;
}

void PassLineModel::Lines::release()
{
    for (Block& block : m_blocks)
        spareBlocks().give(std::move(block.chars), block.size);
    m_blocks.clear();
    m_lines.clear();
    m_free = nullptr;
    m_left = 0;
}

void PassLineModel::Lines::reserve(qsizetype count)
{
    m_lines.reserve(size_t(qMax<qsizetype>(0, count)));
}

QChar* PassLineModel::Lines::room(qsizetype length)
{
    if (length > m_left) {
        const qsizetype size = qMax(length, BlockCharacters);
        Chars chars = size == BlockCharacters ? spareBlocks().take() : nullptr;
        // Left uninitialised: every character handed out is written before it is read.
        if (!chars)
            chars = std::make_unique_for_overwrite<char16_t[]>(size_t(size));
        m_free = reinterpret_cast<QChar*>(chars.get());
        m_blocks.push_back({std::move(chars), size});
        m_left = size;
    }
    QChar* at = m_free;
    m_free += length;
    m_left -= length;
    return at;
}

void PassLineModel::Lines::append(PassLine::Form form, const PassRecord& card, qint64 position)
{
    const qsizetype length = PassLine::length(form, card);
    QChar* text = room(length);
    PassLine::write(form, card, text);
    m_lines.push_back({text, int(length), int(m_lines.size()), position, headOf(QStringView(text, length))});
}

void PassLineModel::Lines::append(PassLine::Form form, const char* record, qint64 position)
{
    const PassLine::RecordLine line(form, record);
    QChar* text = room(line.length());
    line.write(text);
    m_lines.push_back(
        {text, int(line.length()), int(m_lines.size()), position, headOf(QStringView(text, line.length()))});
}

void PassLineModel::Lines::append(QStringView line, qint64 position)
{
    QChar* text = room(line.size());
    std::copy(line.begin(), line.end(), text);
    m_lines.push_back({text, int(line.size()), int(m_lines.size()), position, headOf(line)});
}

PassLineModel::PassLineModel(QObject* parent) : QAbstractListModel(parent) {}

PassLineModel::~PassLineModel() = default;

void PassLineModel::setEntries(const QList<Entry>& entries)
{
    Lines lines;
    lines.reserve(entries.size());
    for (const Entry& e : entries)
        lines.append(e.line, e.position);
    setLines(std::move(lines));
}

void PassLineModel::setLines(Lines lines)
{
    // Sort once, in the order of PassLine::orderKey, with no key made: the heads of the lines,
    // taken when they were written, settle most comparisons at once; lines of equal heads compare
    // character by character from there (a line that ends among those characters has them as 0,
    // so it comes before the longer ones, as it should).
    std::vector<Lines::Line>& all = lines.m_lines;
    using Line = Lines::Line;
    const auto text = [](const Line& line) { return QStringView(line.text, line.length); };
    std::sort(all.begin(), all.end(), [&](const Line& a, const Line& b) {
        for (size_t i = 0; i < a.head.size(); ++i) {
            if (a.head[i] != b.head[i])
                return a.head[i] < b.head[i];
        }
        const int order = foldedCompare(text(a), text(b), KeyCharacters);
        return order != 0 ? order < 0 : a.entry < b.entry; // equal lines keep their file order
    });
    qsizetype longest = 0;
    for (const Line& line : all)
        longest = std::max(longest, qsizetype(line.length));

    beginResetModel();
    m_lines = std::move(lines);
    m_longest = longest;
    endResetModel();
}

void PassLineModel::clear()
{
    beginResetModel();
    m_lines = Lines();
    m_longest = 0;
    endResetModel();
}

int PassLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant PassLineModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return lineAt(index.row());
    case PositionRole:
        return positionAt(index.row());
    default:
        return {};
    }
}

QStringList PassLineModel::lines() const
{
    QStringList out;
    out.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        out.append(lineAt(row));
    return out;
}

bool PassLineModel::lineContains(int row, const QString& lowered) const
{
    if (lowered.isEmpty())
        return false;
    return PassLine::containsLowered(lineView(row), lowered);
}

int PassLineModel::rowOfCode(const QString& typed) const
{
    const QString code = PassLine::asciiLower(typed.trimmed());
    if (code.isEmpty())
        return -1;
    int found = -1;
    for (int row = 0; row < rowCount(); ++row) {
        if (PassLine::asciiLower(PassLine::codeOf(lineAt(row))) != code)
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
