#include "archives/HistoryFile.h"

#include <cstring>

HistoryFile::HistoryFile(const QString& programFolder, LockWait wait)
    : m_file(programFolder + QLatin1StringView(FileName), HistoryRecord::Size, std::move(wait))
{
}

bool HistoryFile::readInOrder(const std::function<bool(qint64, const HistoryRecord&)>& visit)
{
    HistoryRecord record;
    return m_file.readInOrder([&](qint64 position, const char* bytes) {
        HistoryRecord::decodeInto(bytes, record);
        return visit(position, record);
    });
}

std::optional<qint64> HistoryFile::append(const HistoryRecord& record)
{
    const QByteArray bytes = record.encode();
    return m_file.append([&](qint64, char* out) { std::memcpy(out, bytes.constData(), HistoryRecord::Size); });
}
