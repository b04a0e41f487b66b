#include "lists/PassLineModel.h"

#include "lists/PassLine.h"

#include "archives/RecordFile.h"

#include <QMutex>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

// What the lines keep is written into blocks of this many bytes (2 MiB); a longer line takes a
// block of its own.
constexpr qsizetype BlockBytes = qsizetype(1) << 21;
using Bytes = std::unique_ptr<char[]>;

// Memory of lists freed, kept for the next list: a window that shows its list again (every
// withdrawal opens the list of available passes) writes into memory it already has instead of
// having the system hand it fresh pages one by one, which costs more than filling them.
template <typename Memory> class Spare
{
public:
    explicit Spare(size_t most) : m_most(most) {}

    // The memory given last, or an empty one.
    Memory take()
    {
        return take([](const Memory&, const Memory&) { return false; });
    }
    // The memory that `better` puts first (given later on a tie), or an empty one.
    template <typename Better> Memory take(const Better& better)
    {
        QMutexLocker lock(&m_mutex);
        if (m_kept.empty())
            return {};
        auto chosen = std::min_element(m_kept.rbegin(), m_kept.rend(), better);
        Memory m = std::move(*chosen);
        m_kept.erase(std::next(chosen).base());
        return m;
    }
    // Kept when there is room; let go otherwise.
    void give(Memory memory)
    {
        QMutexLocker lock(&m_mutex);
        if (m_kept.size() < m_most)
            m_kept.push_back(std::move(memory));
    }

private:
    QMutex m_mutex;
    std::vector<Memory> m_kept;
    size_t m_most;
};

// Never destroyed: lines freed while the program ends still find them.
// At most the blocks of a list of about 200,000 cards (32 MiB).
Spare<Bytes>& spareBlocks()
{
    static auto* spare = new Spare<Bytes>(16);
    return *spare;
}

using Line = PassLineModel::Lines::Line;
using Kind = PassLineModel::Lines::Kind;

QStringView textOf(const Line& line)
{
    return QStringView(reinterpret_cast<const QChar*>(line.data), line.length);
}

PassLine::RecordLine recordOf(const Line& line)
{
    return PassLine::RecordLine::kept(line.kind == Kind::Long ? PassLine::Form::Long : PassLine::Form::Short,
                                      line.data);
}

// The characters of PassLine::orderKey(text of the line) from `from`, at most `count`, at `out`;
// how many were written.
qsizetype orderChars(const Line& line, qsizetype from, char16_t* out, qsizetype count)
{
    if (line.kind != Kind::Text)
        return recordOf(line).orderChars(from, out, count);
    const QStringView text = textOf(line);
    const qsizetype n = qBound<qsizetype>(0, text.size() - from, count);
    for (qsizetype i = 0; i < n; ++i)
        out[i] = PassLine::orderChar(text[from + i].unicode());
    return n;
}

// The comparison of the order keys of two lines (below 0, 0, above 0), knowing that their first
// `from` characters are equal.
int compareFrom(const Line& a, const Line& b, qsizetype from)
{
    constexpr qsizetype Chunk = 64;
    char16_t x[Chunk], y[Chunk];
    for (;; from += Chunk) {
        const qsizetype m = orderChars(a, from, x, Chunk), n = orderChars(b, from, y, Chunk);
        for (qsizetype i = 0; i < qMin(m, n); ++i) {
            if (x[i] != y[i])
                return x[i] < y[i] ? -1 : 1;
        }
        // A line that is the beginning of the other comes first (both may end before `from`).
        if (m < Chunk || n < Chunk)
            return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
    }
}

// What a line is sorted on first: the first characters of its order key from where the lines may
// start to differ, packed into two numbers that order as the lines do. The lines of cards give
// sixteen characters as their ranks (PassLine::RecordLine::orderRanks), other lines eight in
// full. A character past the end counts as 0: a line that ends there comes before the longer
// ones, as it should, or, when the character itself is 0, is told apart by compareFrom.
struct Sortable
{
    quint64 first, second;
    quint32 entry; // its place in the file order
};

struct Head
{
    qsizetype from; // the place of the first character taken
    bool ranks;     // ranks of the cards' lines, or characters
    qsizetype characters() const { return ranks ? 16 : 8; }

    Sortable of(const Line& line, quint32 entry) const
    {
        Sortable s{0, 0, entry};
        if (ranks) {
            std::array<quint8, 16> r{};
            recordOf(line).orderRanks(from, r.data(), 16);
            for (size_t i = 0; i < 16; ++i) {
                quint64& n = i < 8 ? s.first : s.second;
                n = (n << 8) | r[i];
            }
        } else {
            std::array<char16_t, 8> c{};
            orderChars(line, from, c.data(), 8);
            for (size_t i = 0; i < 8; ++i) {
                quint64& n = i < 4 ? s.first : s.second;
                n = (n << 16) | c[i];
            }
        }
        return s;
    }
};

// From this many lines on, a list sorts on two threads.
constexpr size_t ShareSortFrom = 4096;

// The arrays of the lines of a few lists, and the two their sort uses.
Spare<std::vector<Line>>& spareLines()
{
    static auto* spare = new Spare<std::vector<Line>>(8);
    return *spare;
}
Spare<std::vector<Sortable>>& spareSortables()
{
    static auto* spare = new Spare<std::vector<Sortable>>(2);
    return *spare;
}

// Sorts [begin, end) into the order of `before`, given that it orders first by the heads and that
// the heads of the cards' lines are rank bytes (Head::ranks): bucket by bucket on the heads'
// bytes from `byte` on, first to last (`scratch` has room for as many lines), and with `before`
// in the buckets of a few lines.
template <typename Before>
void sortByRanks(Sortable* begin, Sortable* end, int byte, Sortable* scratch, const Before& before)
{
    constexpr qsizetype FewLines = 48;
    for (; end - begin > FewLines && byte < 16; ++byte) {
        const auto digit = [byte](const Sortable& s) {
            return size_t(((byte < 8 ? s.first : s.second) >> (56 - 8 * (byte % 8))) & 0xff);
        };
        std::array<qsizetype, 257> start{};
        for (const Sortable* p = begin; p != end; ++p)
            ++start[digit(*p) + 1];
        if (start[digit(*begin) + 1] == end - begin)
            continue; // one byte for all: on to the next
        for (size_t d = 0; d < 256; ++d)
            start[d + 1] += start[d];
        std::array<qsizetype, 256> next;
        std::copy(start.begin(), start.end() - 1, next.begin());
        for (const Sortable* p = begin; p != end; ++p)
            scratch[next[digit(*p)]++] = *p;
        std::copy(scratch, scratch + (end - begin), begin);
        for (size_t d = 0; d < 256; ++d) {
            if (start[d + 1] - start[d] > 1)
                sortByRanks(begin + start[d], begin + start[d + 1], byte + 1, scratch + start[d], before);
        }
        return;
    }
    std::sort(begin, end, before);
}

// An array of `count` lines or more, from those kept when there is one: the smallest with room for
// them, which keeps its pages, else the largest, which grows the least into fresh ones.
template <typename Item> std::vector<Item> spareArray(Spare<std::vector<Item>>& spare, size_t count)
{
    std::vector<Item> items = spare.take([count](const std::vector<Item>& a, const std::vector<Item>& b) {
        const bool roomA = a.capacity() >= count, roomB = b.capacity() >= count;
        if (roomA != roomB)
            return roomA;
        return roomA ? a.capacity() < b.capacity() : a.capacity() > b.capacity();
    });
    items.clear();
    items.reserve(count);
    return items;
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
    // Given back last first, so that the next list takes them in the order this one filled them:
    // the last block, filled in part, is again the last and its unused pages stay untouched.
    for (auto block = m_blocks.rbegin(); block != m_blocks.rend(); ++block) {
        if (block->size == BlockBytes)
            spareBlocks().give(std::move(block->bytes));
    }
    m_blocks.clear();
    if (m_lines.capacity() > 0)
        spareLines().give(std::exchange(m_lines, {}));
    m_free = nullptr;
    m_left = 0;
}

void PassLineModel::Lines::reserve(qsizetype count)
{
    const size_t n = size_t(qMax<qsizetype>(0, count));
    if (m_lines.empty() && m_lines.capacity() < n)
        m_lines = spareArray(spareLines(), n);
    m_lines.reserve(n);
}

char* PassLineModel::Lines::room(qsizetype size)
{
    // Every piece handed out starts at an even place of its block, where characters may lie.
    size += size % 2;
    if (size > m_left) {
        const qsizetype blockSize = qMax(size, BlockBytes);
        Bytes bytes = blockSize == BlockBytes ? spareBlocks().take() : nullptr;
        // A new block is zeroed, which brings every page of it into memory at once: kept and taken
        // again, by whichever part of a list in whatever order, it fills without a page fault.
        if (!bytes)
            bytes = std::make_unique<char[]>(size_t(blockSize));
        m_free = bytes.get();
        m_blocks.push_back({std::move(bytes), blockSize});
        m_left = blockSize;
    }
    char* at = m_free;
    m_free += size;
    m_left -= size;
    return at;
}

void PassLineModel::Lines::append(PassLine::Form form, const char* record, qint64 position)
{
    const PassLine::RecordLine line(form, record);
    char* kept = room(line.keptSize());
    line.keep(kept);
    m_lines.push_back({kept, position, int(line.length()), form == PassLine::Form::Long ? Kind::Long : Kind::Short});
}

void PassLineModel::Lines::append(QStringView line, qint64 position)
{
    char* text = room(line.size() * qsizetype(sizeof(QChar)));
    std::copy(line.begin(), line.end(), reinterpret_cast<QChar*>(text));
    m_lines.push_back({text, position, int(line.size()), Kind::Text});
}

bool PassLineModel::Lines::appendCards(RecordFile& file, PassLine::Form form,
                                       const std::function<bool(int part, const char* record)>& listed)
{
    const qint64 count = file.count();
    if (count < 0)
        return false;
    const int parts = RecordFile::partsFor(count);
    // These take the first part and have room for every card; each later part gathers its own.
    reserve(size() + count);
    std::vector<Lines> later(size_t(parts - 1));
    for (Lines& lines : later)
        lines.reserve(count / parts + 1);
    const int failed = file.readRangeInParts(1, count, parts, [&](int part, qint64 position, const char* record) {
        if (listed(part, record))
            (part == 0 ? *this : later[size_t(part - 1)]).append(form, record, position);
        return true;
    });
    // The parts after a failed one are left out, as a reading in one go would have stopped there.
    for (int part = 1; part < parts && part <= failed; ++part)
        join(std::move(later[size_t(part - 1)]));
    return failed == parts;
}

void PassLineModel::Lines::join(Lines&& later)
{
    m_lines.insert(m_lines.end(), later.m_lines.begin(), later.m_lines.end());
    std::move(later.m_blocks.begin(), later.m_blocks.end(), std::back_inserter(m_blocks));
    later.m_blocks.clear();
    later.release();
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
    // Sorted once, in the order of PassLine::orderKey, with no key made: the heads of the lines
    // settle most comparisons at once, over a small array read in order; lines of equal heads
    // compare character by character from there. The cards' lines all begin alike, so their
    // heads are taken after that beginning.
    const std::vector<Line>& all = lines.m_lines;
    const bool cards = std::all_of(all.begin(), all.end(), [](const Line& l) { return l.kind != Kind::Text; });
    const Head head{cards ? PassLine::Start.size() : 0, cards};
    qsizetype longest = 0;
    for (const Line& line : all)
        longest = std::max(longest, qsizetype(line.length));
    std::vector<Sortable> order = spareArray(spareSortables(), all.size());
    order.resize(all.size());
    const qsizetype tail = head.from + head.characters();
    const auto before = [&](const Sortable& a, const Sortable& b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.second != b.second)
            return a.second < b.second;
        const int c = compareFrom(all[a.entry], all[b.entry], tail);
        return c != 0 ? c < 0 : a.entry < b.entry; // equal lines keep their file order
    };
    // No two lines are equal for `before`, so the halves sorted apart and merged give the one
    // order a whole sort gives. A long list takes the heads of its halves and sorts them on two
    // threads.
    const size_t half = order.size() / 2;
    const auto middle = order.begin() + qsizetype(half);
    std::vector<Sortable> scratch = head.ranks ? spareArray(spareSortables(), all.size()) : std::vector<Sortable>();
    scratch.resize(head.ranks ? all.size() : 0);
    const auto sortLines = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            order[i] = head.of(all[i], quint32(i));
        if (head.ranks)
            sortByRanks(order.data() + from, order.data() + to, 0, scratch.data() + from, before);
        else
            std::sort(order.begin() + qsizetype(from), order.begin() + qsizetype(to), before);
    };
    std::optional<std::thread> helper;
    if (order.size() >= ShareSortFrom) {
        try {
            helper.emplace(sortLines, 0, half);
        } catch (const std::system_error&) {
            // No thread to be had: this one sorts both halves.
        }
    }
    if (!helper)
        sortLines(0, half);
    sortLines(half, order.size());
    if (helper)
        helper->join();
    // As large as the array it replaces, which had room for every record of the file: kept after
    // this list, it serves the next list of that file without growing.
    std::vector<Line> sorted = spareArray(spareLines(), all.capacity());
    auto a = order.begin(), b = middle;
    while (a != middle || b != order.end()) {
        const bool fromFirst = b == order.end() || (a != middle && before(*a, *b));
        sorted.push_back(all[(fromFirst ? a++ : b++)->entry]);
    }
    spareLines().give(std::exchange(lines.m_lines, std::move(sorted)));
    spareSortables().give(std::move(order));
    if (head.ranks)
        spareSortables().give(std::move(scratch));

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

QString PassLineModel::lineAt(int row) const
{
    const Line& l = line(row);
    return l.kind == Kind::Text ? textOf(l).toString() : recordOf(l).text();
}

QStringList PassLineModel::lines() const
{
    QStringList out;
    out.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        out.append(lineAt(row));
    return out;
}

bool PassLineModel::lineContains(int row, const QString& lowered, QString& text) const
{
    if (lowered.isEmpty())
        return false;
    const Line& l = line(row);
    if (l.kind == Kind::Text)
        return PassLine::containsLowered(textOf(l), lowered);
    // Written into the same room line after line.
    const PassLine::RecordLine record = recordOf(l);
    text.resize(record.length());
    record.write(text.data());
    return PassLine::containsLowered(text, lowered);
}

int PassLineModel::rowOfCode(const QString& typed) const
{
    const QString code = PassLine::asciiLower(typed.trimmed());
    if (code.isEmpty())
        return -1;
    int found = -1;
    for (int row = 0; row < rowCount(); ++row) {
        const Line& l = line(row);
        const QString lineCode = l.kind == Kind::Text ? PassLine::codeOf(textOf(l).toString()) : recordOf(l).code();
        if (PassLine::asciiLower(lineCode) != code)
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

    QString text;
    int found = -1;
    int start = selected;
    if (t != remembered) {
        start = 0;
        if (lineContains(0, t, text))
            found = 0;
    }
    // From the line after the start round to the start itself.
    for (int step = 1; found < 0 && step <= count; ++step) {
        const int row = (start + step) % count;
        if (lineContains(row, t, text))
            found = row;
    }
    remembered = t;
    return found >= 0 ? found : selected;
}
