#include "history/HistoryQuery.h"

#include <QFileInfo>

#include <algorithm>

#include "archives/HistoryFile.h"
#include "archives/PackedFields.h"
#include "shell/Dates.h"

namespace HistoryQuery {

const PackedFields& gridFields()
{
    using H = HistoryRecord;
    static const PackedFields fields(
        H::places({&H::Codice, &H::Tipo, &H::Utilizzo, &H::Luogo, &H::Persone, &H::PersonaRit, &H::DataRit, &H::OraRit,
                   &H::PersonaRic, &H::DataRic, &H::OraRic}));
    return fields;
}

Result select(const QString& programFolder, const QDate& start, const QDate& end,
              const std::function<void(qint64, const char*)>& match)
{
    Result result;
    HistoryFile file(programFolder);
    if (!file.open()) {
        result.outcome = Result::NotOpened;
        return result;
    }
    const qint64 count = file.count();
    if (count <= 0) {
        result.outcome = count == 0 ? Result::NoRecords : Result::NotOpened;
        file.close();
        return result;
    }
    // The withdrawal date is read from the field's bytes, with no text made for a record outside
    // the period; as numbers yyyymmdd the dates compare as they do on the calendar.
    const bool period = start.isValid() && end.isValid();
    const qint64 first = period ? Dates::dateNumber(start) : 0;
    const qint64 last = period ? Dates::dateNumber(end) : 0;
    const FieldPlace withdrawal = HistoryRecord::place(&HistoryRecord::DataRit);
    const bool read = file.raw().readInOrder([&](qint64, const char* record) {
        // A damaged length byte never takes the read past the field.
        const QByteArrayView field = FieldCodec::textBytes(record, withdrawal);
        const int withdrawn = Dates::dateNumber(field.data(), field.size());
        if (withdrawn == 0) {
            ++result.skipped;
            return true;
        }
        if (period && first <= withdrawn && withdrawn <= last)
            match(++result.matches, record);
        return true;
    });
    file.close();
    result.outcome = read ? Result::Complete : Result::Interrupted;
    return result;
}

Result select(const QString& programFolder, const QString& start, const QString& end,
              const std::function<void(qint64, const char*)>& match)
{
    return select(programFolder, Dates::parseDate(start).value_or(QDate()), Dates::parseDate(end).value_or(QDate()),
                  match);
}

void Index::clear()
{
    m_path.clear();
    m_withdrawn.clear();
    m_withdrawn.shrink_to_fit();
    m_skipped = 0;
    m_last.clear();
    m_modified = QDateTime();
    m_samples.clear();
}

namespace {

// True when the records at the sampled positions still hold the bytes they held when read.
bool samplesHold(RecordFile& raw, const std::vector<std::pair<qint64, QByteArray>>& samples)
{
    QByteArray bytes(HistoryRecord::Size, Qt::Uninitialized);
    for (const auto& [position, kept] : samples) {
        if (!raw.readAt(position, bytes.data()) || bytes != kept)
            return false;
    }
    return true;
}

} // namespace

Result select(Index& index, const QString& programFolder, const QDate& start, const QDate& end,
              const std::function<void(qint64, const char*)>& match)
{
    Result result;
    HistoryFile file(programFolder);
    if (!file.open()) {
        result.outcome = Result::NotOpened;
        return result;
    }
    const qint64 count = file.count();
    if (count <= 0) {
        index.clear();
        result.outcome = count == 0 ? Result::NoRecords : Result::NotOpened;
        file.close();
        return result;
    }
    RecordFile& raw = file.raw();

    // What is known still holds when the file is no shorter, did not change without growing, and
    // its last known record and the spread ones hold the same bytes. The time is taken before the
    // read, so an append made during the read shows as a change at the next query.
    const QDateTime modified = QFileInfo(raw.path()).lastModified();
    qint64 known = index.records();
    if (index.m_path != raw.path() || known > count || (known == count && modified != index.m_modified))
        known = 0;
    if (known > 0) {
        QByteArray last(HistoryRecord::Size, Qt::Uninitialized);
        if (!raw.readAt(known, last.data()) || last != index.m_last || !samplesHold(raw, index.m_samples))
            known = 0;
    }
    if (known == 0)
        index.clear();
    index.m_path = raw.path();

    const bool period = start.isValid() && end.isValid();
    const qint64 first = period ? Dates::dateNumber(start) : 0;
    const qint64 lastDay = period ? Dates::dateNumber(end) : 0;
    const auto inPeriod = [&](int withdrawn) {
        return period && withdrawn != 0 && first <= withdrawn && withdrawn <= lastDay;
    };

    // The known records of the period, read in runs of neighbours.
    bool read = true;
    if (period) {
        qint64 position = 1;
        while (read && position <= known) {
            if (!inPeriod(index.m_withdrawn[size_t(position - 1)])) {
                ++position;
                continue;
            }
            qint64 runEnd = position;
            while (runEnd < known && inPeriod(index.m_withdrawn[size_t(runEnd)]))
                ++runEnd;
            read = raw.readRange(position, runEnd, [&](qint64, const char* record) {
                match(++result.matches, record);
                return true;
            });
            position = runEnd + 1;
        }
    }
    result.skipped = index.m_skipped;

    // The records the index does not know yet: the whole file the first time, the appended ones later.
    if (read) {
        const FieldPlace withdrawal = HistoryRecord::place(&HistoryRecord::DataRit);
        index.m_withdrawn.reserve(size_t(count));
        read = raw.readRange(known + 1, count, [&](qint64 position, const char* record) {
            // A damaged length byte never takes the read past the field.
            const QByteArrayView field = FieldCodec::textBytes(record, withdrawal);
            const int withdrawn = Dates::dateNumber(field.data(), field.size());
            index.m_withdrawn.push_back(withdrawn);
            if (withdrawn == 0) {
                ++index.m_skipped;
                ++result.skipped;
            } else if (inPeriod(withdrawn)) {
                match(++result.matches, record);
            }
            if (position == count)
                index.m_last = QByteArray(record, HistoryRecord::Size);
            if (known == 0 && (position - 1) % std::max<qint64>(1, count / Index::SpreadRecords) == 0 &&
                qint64(index.m_samples.size()) < Index::SpreadRecords)
                index.m_samples.emplace_back(position, QByteArray(record, HistoryRecord::Size));
            return true;
        });
        index.m_modified = modified;
    }
    file.close();
    // A read that failed half way leaves nothing learnt: the next query starts over.
    if (!read)
        index.clear();
    result.outcome = read ? Result::Complete : Result::Interrupted;
    return result;
}

Result select(Index& index, const QString& programFolder, const QString& start, const QString& end,
              const std::function<void(qint64, const char*)>& match)
{
    return select(index, programFolder, Dates::parseDate(start).value_or(QDate()),
                  Dates::parseDate(end).value_or(QDate()), match);
}

} // namespace HistoryQuery
