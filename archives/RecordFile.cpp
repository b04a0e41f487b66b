#include "archives/RecordFile.h"

#include "archives/FileLock.h"

#include <QFile>

#include <vector>

namespace {

// Sequential reads go in blocks of about one megabyte, whole records each.
constexpr qint64 BlockBytes = qint64(1) << 20;

} // namespace

RecordFile::RecordFile(QString path, int recordSize, LockWait wait)
    : m_path(std::move(path)), m_recordSize(recordSize), m_wait(std::move(wait))
{
}

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open()
{
    close();
    auto file = std::make_unique<QFile>(m_path);
    // ReadWrite creates a missing file and never truncates an existing one.
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    m_file = std::move(file);
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
    return m_file->read(out, m_recordSize) == m_recordSize;
}

bool RecordFile::readInOrder(const std::function<bool(qint64, const char*)>& visit)
{
    const qint64 total = count();
    if (total < 0 || !m_file->seek(0))
        return false;
    // No larger than the file: a list of a few cards need not allocate a whole block.
    const qint64 perBlock = qMax<qint64>(1, qMin(BlockBytes / m_recordSize, total));
    std::vector<char> block(size_t(perBlock * m_recordSize));
    qint64 position = 1;
    while (position <= total) {
        const qint64 records = qMin(perBlock, total - position + 1);
        const qint64 bytes = records * m_recordSize;
        qint64 got = 0;
        while (got < bytes) {
            const qint64 n = m_file->read(block.data() + got, bytes - got);
            if (n <= 0)
                return false;
            got += n;
        }
        for (qint64 i = 0; i < records; ++i, ++position) {
            if (!visit(position, block.data() + i * m_recordSize))
                return true;
        }
    }
    return true;
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
    if (!lock.mayWrite())
        return std::nullopt;
    std::vector<char> current(static_cast<size_t>(m_recordSize));
    if (!readAt(position, current.data()))
        return std::nullopt;
    if (!stillValid(current.data()))
        return false;
    if (!m_file->seek((position - 1) * m_recordSize) || m_file->write(record, m_recordSize) != m_recordSize ||
        !m_file->flush())
        return std::nullopt;
    return true;
}

std::optional<qint64> RecordFile::append(const std::function<void(qint64, char*)>& prepare)
{
    if (!m_file)
        return std::nullopt;
    FileLock lock(*m_file, m_wait);
    if (!lock.mayWrite())
        return std::nullopt;
    const qint64 n = count();
    if (n < 0)
        return std::nullopt;
    std::vector<char> record(static_cast<size_t>(m_recordSize));
    prepare(n + 1, record.data());
    // Over an incomplete tail, if any: it was never a record.
    if (!m_file->seek(n * m_recordSize) || m_file->write(record.data(), m_recordSize) != m_recordSize ||
        !m_file->flush())
        return std::nullopt;
    return n + 1;
}

QString RecordFile::errorString() const
{
    return m_file ? m_file->errorString() : QString();
}
