#pragma once

#include <QDate>
#include <QString>

#include <functional>

class PackedFields;

// The history query: which completed operations of the history file belong to a period, chosen
// by their withdrawal date alone.
namespace HistoryQuery {

// The fields of a history record in the order of the history grid's columns 1 to 11: Codice, Tipo,
// Utilizzo, Luogo, Persone, PersonaRit, DataRit, OraRit, PersonaRic, DataRic, OraRic.
const PackedFields& gridFields();

struct Result
{
    enum Outcome
    {
        NoRecords,   // the history holds no record (it exists afterwards, empty)
        Complete,    // every record was read
        Interrupted, // a read failed half way; the matches found before it were handed over
        NotOpened,   // the file could not be opened or measured
    } outcome = NoRecords;
    qint64 matches = 0;
    qint64 skipped = 0; // records whose withdrawal date is not a date
};

// Reads the history file of the ProgramFolder once, in file order, and hands every record
// withdrawn from `start` to `end` (both included, as calendar dates) to `match` with its sequence
// number in the result (1, 2, 3 ...). Only the withdrawal date is read for the records outside the
// period. A record whose withdrawal date is not a date belongs to no period: it is passed over and
// the reading goes on. The file is released before returning.
Result select(const QString& programFolder, const QDate& start, const QDate& end,
              const std::function<void(qint64 sequence, const char* record)>& match);

// The same with the period as the interval window builds it ("dd/mm/yyyy" texts); a text that is
// not a date selects nothing.
Result select(const QString& programFolder, const QString& start, const QString& end,
              const std::function<void(qint64 sequence, const char* record)>& match);

} // namespace HistoryQuery
