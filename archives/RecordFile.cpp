#include "archives/RecordFile.h"

#include "archives/Durable.h"
#include "archives/FileLock.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QtEndian>

#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Sequential reads go in blocks of about one megabyte, whole records each.
constexpr qint64 BlockBytes = qint64(1) << 20;

// Reads the whole records from `first` to `last` from `file` and hands each to `visit`, in order;
// false when a read fails or the file ends before `last`.
bool readRecords(QFile& file, int recordSize, qint64 first, qint64 last,
                 const std::function<bool(qint64, const char*)>& visit)
{
    if (last < first)
        return true;
    if (!file.seek((first - 1) * recordSize))
        return false;
    // No larger than the range: a list of a few cards need not allocate a whole block. Left
    // uninitialised: the reads fill what is visited.
    const qint64 total = last - first + 1;
    const qint64 perBlock = qMax<qint64>(1, qMin(BlockBytes / recordSize, total));
    const auto block = std::make_unique_for_overwrite<char[]>(size_t(perBlock * recordSize));
    qint64 position = first;
    while (position <= last) {
        const qint64 records = qMin(perBlock, last - position + 1);
        const qint64 bytes = records * recordSize;
        qint64 got = 0;
        while (got < bytes) {
            const qint64 n = file.read(block.get() + got, bytes - got);
            if (n <= 0)
                return false;
            got += n;
        }
        if (RecordFile::readObserver) {
            // Told one read at a time, whichever thread it came from.
            static QBasicMutex observing;
            const QMutexLocker lock(&observing);
            RecordFile::readObserver(bytes);
        }
        for (qint64 i = 0; i < records; ++i, ++position) {
            if (!visit(position, block.get() + i * recordSize))
                return true;
        }
    }
    return true;
}

enum class Written
{
    Whole,
    Failed,
    Cut
};

// Writes all `size` bytes at the current position, unless the test seam cuts this write short.
Written writeAll(QFile& file, const char* data, qint64 size, RecordFile::Stage stage)
{
    auto& cut = RecordFile::cutForTesting;
    if (cut && cut->stage == stage) {
        const qint64 part = qBound<qint64>(0, cut->bytes, size);
        cut.reset();
        if (part > 0)
            file.write(data, part);
        return Written::Cut;
    }
    return file.write(data, size) == size ? Written::Whole : Written::Failed;
}

// The journal of a rewrite, little-endian:
//     0  8 bytes  "IngrJnl1"
//     8  4 bytes  record size
//    12  8 bytes  1-based position
//    20  the record as it was, then the new record
//   end  4 bytes  CRC-32 of everything before it
constexpr char JournalMagic[8] = {'I', 'n', 'g', 'r', 'J', 'n', 'l', '1'};
constexpr qsizetype JournalHeader = 20;

qsizetype journalSize(int recordSize)
{
    return JournalHeader + 2 * qsizetype(recordSize) + 4;
}

// CRC-32 (IEEE 802.3), bit by bit: a journal is a few kilobytes.
quint32 crc32(const char* data, qsizetype size)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray journalEntry(qint64 position, const char* old, const char* record, int recordSize)
{
    QByteArray out(journalSize(recordSize), '\0');
    char* p = out.data();
    std::memcpy(p, JournalMagic, sizeof JournalMagic);
    qToLittleEndian<quint32>(quint32(recordSize), p + 8);
    qToLittleEndian<qint64>(position, p + 12);
    std::memcpy(p + JournalHeader, old, size_t(recordSize));
    std::memcpy(p + JournalHeader + recordSize, record, size_t(recordSize));
    const qsizetype body = out.size() - 4;
    qToLittleEndian<quint32>(crc32(p, body), p + body);
    return out;
}

struct JournalEntry
{
    qint64 position;
    const char* old;
    const char* record;
};

// The entry of a whole journal; nothing for a torn or foreign one.
std::optional<JournalEntry> parseJournal(const QByteArray& bytes, int recordSize)
{
    if (bytes.size() != journalSize(recordSize))
        return std::nullopt;
    const char* p = bytes.constData();
    const qsizetype body = bytes.size() - 4;
    if (std::memcmp(p, JournalMagic, sizeof JournalMagic) != 0 ||
        qFromLittleEndian<quint32>(p + 8) != quint32(recordSize) ||
        qFromLittleEndian<quint32>(p + body) != crc32(p, body))
        return std::nullopt;
    return JournalEntry{qFromLittleEndian<qint64>(p + 12), p + JournalHeader, p + JournalHeader + recordSize};
}

// Every byte is the old record's or the new one's: the record as a rewrite from one to the other
// may leave it, at any moment and however the disk orders its writes.
bool isMixOf(const char* current, const char* old, const char* record, int size)
{
    for (int i = 0; i < size; ++i)
        if (current[i] != old[i] && current[i] != record[i])
            return false;
    return true;
}

} // namespace

RecordFile::RecordFile(QString path, int recordSize, LockWait wait)
    : m_path(std::move(path)), m_folder(QFileInfo(m_path).absolutePath()), m_recordSize(recordSize),
      m_wait(std::move(wait))
{
}

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open()
{
    close();
    const bool existed = QFileInfo::exists(m_path);
    auto file = std::make_unique<QFile>(m_path);
    // ReadWrite creates a missing file and never truncates an existing one.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    m_file = std::move(file);
    // A file just created stays in its folder after a power cut, with the records written to it.
    if (!existed)
        Durable::syncFolder(m_folder);
    // A rewrite left unfinished is carried out before this action reads. While another
    // workstation holds the lock, the journal may be its rewrite in progress: it is left alone,
    // and the next write here carries it out if it is still there.
    if (const QFileInfo journal(journalPath()); journal.exists() || journal.isSymLink()) {
        FileLock lock(*m_file, m_wait);
        if (lock.mayWrite())
            replayJournal();
    }
    return true;
}

void RecordFile::close()
{
    if (m_file) {
        m_file->close();
        m_file.reset();
    }
}

bool RecordFile::isOpen() const
{
    return m_file != nullptr;
}

qint64 RecordFile::count() const
{
    if (!m_file)
        return -1;
    const qint64 size = m_file->size();
    return size < 0 ? -1 : size / m_recordSize;
}

bool RecordFile::readAt(qint64 position, char* out)
{
    if (!m_file || position < 1 || position > count())
        return false;
    if (!m_file->seek((position - 1) * m_recordSize))
        return false;
    const bool read = m_file->read(out, m_recordSize) == m_recordSize;
    if (read && readObserver)
        readObserver(m_recordSize);
    return read;
}

bool RecordFile::readInOrder(const std::function<bool(qint64, const char*)>& visit)
{
    const qint64 total = count();
    if (total < 0)
        return false;
    return readRange(1, total, visit);
}

bool RecordFile::readRange(qint64 first, qint64 last, const std::function<bool(qint64, const char*)>& visit)
{
    if (!m_file || first < 1)
        return false;
    return readRecords(*m_file, m_recordSize, first, last, visit);
}

int RecordFile::partsFor(qint64 records)
{
    // Below this, a thread and a file handle cost more than the reading they would share.
    constexpr qint64 FewRecords = 4096;
    return records < FewRecords ? 1 : qBound(1, int(std::thread::hardware_concurrency()), MostParts);
}

qint64 RecordFile::firstOfPart(qint64 first, qint64 last, int parts, int part)
{
    return first + qMax<qint64>(0, last - first + 1) * part / parts;
}

int RecordFile::readRangeInParts(qint64 first, qint64 last, int parts,
                                 const std::function<bool(int part, qint64 position, const char* record)>& visit)
{
    if (!m_file || first < 1)
        return 0;
    parts = qMax(1, parts);
    const auto firstOf = [&](int part) { return firstOfPart(first, last, parts, part); };
    const auto readPart = [&](QFile& file, int part) {
        return readRecords(file, m_recordSize, firstOf(part), firstOf(part + 1) - 1,
                           [&](qint64 position, const char* record) { return visit(part, position, record); });
    };
    // Every part but the first on a thread of its own, through a read handle of its own (a file
    // position is not to be shared); a part whose handle or thread cannot be had waits for this
    // thread.
    struct Helper
    {
        QFile file;
        std::thread thread;
        bool read = false;
    };
    std::vector<std::unique_ptr<Helper>> helpers;
    for (int part = 1; part < parts; ++part) {
        auto& h = *helpers.emplace_back(std::make_unique<Helper>());
        h.file.setFileName(m_path);
        if (firstOf(part + 1) == firstOf(part) || !h.file.open(QIODevice::ReadOnly))
            continue;
        try {
            h.thread = std::thread([&h, &readPart, part] { h.read = readPart(h.file, part); });
        } catch (const std::system_error&) {
            h.file.close();
        }
    }
    int failed = readPart(*m_file, 0) ? parts : 0;
    for (int part = 1; part < parts; ++part) {
        Helper& h = *helpers[size_t(part - 1)];
        if (h.thread.joinable())
            h.thread.join();
        else
            h.read = readPart(*m_file, part);
        if (!h.read && failed == parts)
            failed = part;
    }
    return failed;
}

bool RecordFile::rewriteAt(qint64 position, const char* record)
{
    return rewriteAtIf(
               position, [](const char*) { return true; }, record)
        .value_or(false);
}

std::optional<bool> RecordFile::rewriteAtIf(qint64 position, const std::function<bool(const char*)>& stillValid,
                                            const char* record)
{
    if (!m_file)
        return std::nullopt;
    FileLock lock(*m_file, m_wait);
    if (!lock.mayWrite() || !replayJournal())
        return std::nullopt;
    std::vector<char> current(static_cast<size_t>(m_recordSize));
    if (!readAt(position, current.data()))
        return std::nullopt;
    if (!stillValid(current.data()))
        return false;

    // The journal, on the disk with its entry in the folder before the record is touched.
    {
        const QByteArray entry = journalEntry(position, current.data(), record, m_recordSize);
        // A new file, never an existing one nor through a link planted in its place (any journal
        // there was replayed and removed above).
        QFile journal(journalPath());
        if (!journal.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return std::nullopt;
        const Written written = writeAll(journal, entry.constData(), entry.size(), Stage::Journal);
        if (written == Written::Cut)
            return std::nullopt;
        const bool synced = written == Written::Whole && Durable::syncFile(journal);
        journal.close();
        if (!synced || !Durable::syncFolder(m_folder)) {
            // The record was not touched: a journal of it would only be dropped later.
            removeJournal();
            return std::nullopt;
        }
    }
    // The record in place. Should this fail halfway, the journal stays and the next write or open
    // writes the new record whole.
    if (!m_file->seek((position - 1) * m_recordSize) ||
        writeAll(*m_file, record, m_recordSize, Stage::InPlace) != Written::Whole || !Durable::syncData(*m_file))
        return std::nullopt;
    // Done: a journal left behind by a failed removal would only find the new record in place.
    removeJournal();
    return true;
}

std::optional<qint64> RecordFile::append(const std::function<void(qint64, char*)>& prepare)
{
    if (!m_file)
        return std::nullopt;
    FileLock lock(*m_file, m_wait);
    if (!lock.mayWrite() || !replayJournal())
        return std::nullopt;
    const qint64 n = count();
    if (n < 0)
        return std::nullopt;
    std::vector<char> record(static_cast<size_t>(m_recordSize));
    prepare(n + 1, record.data());
    // Over an incomplete tail, if any: it was never a record. An append killed halfway leaves
    // such a tail, which no reader counts: an append needs no journal.
    if (!m_file->seek(n * m_recordSize) || m_file->write(record.data(), m_recordSize) != m_recordSize ||
        !Durable::syncData(*m_file))
        return std::nullopt;
    return n + 1;
}

bool RecordFile::replayJournal()
{
    const QFileInfo found(journalPath());
    // A link in its place was never written by a rewrite: removed, never followed.
    if (found.isSymLink())
        return removeJournal();
    if (!found.exists())
        return true;
    QFile journal(journalPath());
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    // One byte more than a journal holds: a longer file is no journal of ours.
    const QByteArray bytes = journal.read(journalSize(m_recordSize) + 1);
    journal.close();
    const qint64 n = count();
    if (n < 0)
        return false;
    // A torn journal: its rewrite never began in place, the old record stands. A position beyond
    // the file: the file was replaced or cut since, and the record is no longer there.
    if (const auto entry = parseJournal(bytes, m_recordSize); entry && entry->position >= 1 && entry->position <= n) {
        std::vector<char> current(static_cast<size_t>(m_recordSize));
        if (!readAt(entry->position, current.data()))
            return false;
        // Anything else than the old record, the new one or a mix of the two was written since by
        // a workstation that knows nothing of journals: its record stands.
        if (std::memcmp(current.data(), entry->record, size_t(m_recordSize)) != 0 &&
            isMixOf(current.data(), entry->old, entry->record, m_recordSize)) {
            if (!m_file->seek((entry->position - 1) * m_recordSize) ||
                writeAll(*m_file, entry->record, m_recordSize, Stage::InPlace) != Written::Whole ||
                !Durable::syncData(*m_file))
                return false;
        }
    }
    return removeJournal();
}

bool RecordFile::removeJournal()
{
    if (!QFile::remove(journalPath())) {
        const QFileInfo left(journalPath());
        if (left.exists() || left.isSymLink())
            return false;
    }
    return Durable::syncFolder(m_folder);
}

QString RecordFile::errorString() const
{
    return m_file ? m_file->errorString() : QString();
}
