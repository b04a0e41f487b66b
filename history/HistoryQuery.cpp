#include "history/HistoryQuery.h"

#include "archives/HistoryFile.h"
#include "shell/Dates.h"

namespace HistoryQuery {

const std::array<StringGridModel::Field, 11> GridFields = {{
    {0, 20},    // Codice
    {21, 50},   // Tipo
    {72, 50},   // Utilizzo
    {123, 250}, // Luogo
    {374, 250}, // Persone
    {625, 50},  // PersonaRit
    {HistoryRecord::DataRitOffset, HistoryRecord::DataRitCapacity},
    {687, 5},  // OraRit
    {693, 50}, // PersonaRic
    {744, 10}, // DataRic
    {755, 5},  // OraRic
}};

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
    const bool read = file.raw().readInOrder([&](qint64, const char* record) {
        const char* field = record + HistoryRecord::DataRitOffset;
        // A damaged length byte never takes the read past the field.
        const int length = qMin(int(uchar(*field)), HistoryRecord::DataRitCapacity);
        const int withdrawn = Dates::dateNumber(field + 1, length);
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

} // namespace HistoryQuery
