#include "history/HistoryQuery.h"

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

} // namespace HistoryQuery
