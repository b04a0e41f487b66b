#pragma once

#include <QDate>
#include <QString>

#include <QByteArray>
#include <QDateTime>

#include <functional>
#include <utility>
#include <vector>

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

// What the queries of a session learnt of the history file, shared by the history windows of the
// run: the withdrawal date of every record read (as yyyymmdd, 0 when it is not a date), how many
// records that is, the bytes of the last of them, the bytes of a few records spread over the file,
// and the file's modification time. The file only grows, so a later query reads only the records
// appended since and the records of its period. It reads the whole file again when the file was
// replaced or restored from a backup: when it is shorter, when it has the same length but another
// modification time (records are appended, never rewritten), or when the last known record or one
// of the spread ones no longer holds the same bytes.
class Index
{
public:
    // How many known records, spread evenly from the first, are read again at each later query to
    // tell a replaced file.
    static constexpr qint64 SpreadRecords = 16;

    qint64 records() const { return qint64(m_withdrawn.size()); }
    void clear();

private:
    friend Result select(Index& index, const QString& programFolder, const QDate& start, const QDate& end,
                         const std::function<void(qint64 sequence, const char* record)>& match);

    QString m_path;
    std::vector<int> m_withdrawn;
    qint64 m_skipped = 0;
    QByteArray m_last;
    QDateTime m_modified;
    std::vector<std::pair<qint64, QByteArray>> m_samples;
};

// The same as select() above, with the results exactly those of a whole read, reading only what
// `index` does not already know and the records of the period.
Result select(Index& index, const QString& programFolder, const QDate& start, const QDate& end,
              const std::function<void(qint64 sequence, const char* record)>& match);
Result select(Index& index, const QString& programFolder, const QString& start, const QString& end,
              const std::function<void(qint64 sequence, const char* record)>& match);

} // namespace HistoryQuery
