#pragma once

#include "FileLock.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFile;

// A flat file of fixed-size records with no header, shared with other workstations.
// One object per user action: open, work, close (the destructor closes too).
// Writes hold an advisory lock on the file (FileLock) from the count to the sync, so that two
// workstations appending at once each get their own position. A write waits for a lock held
// elsewhere as its LockWait says, and fails like any other write when the wait runs out.
// Every write is on the disk (synced) before it reports success.
//
// A rewrite lands whole or not at all, even when the process is killed or the power fails in the
// middle of it: it first writes a journal beside the file (<file>.journal: the position, the
// record as it was, the new record and a checksum) and syncs it, then writes the record in place,
// syncs the file and removes the journal. A journal found later belongs to a rewrite that did not
// finish; under the lock, open and every write carry it out before anything else: the new record
// is written again when the record in the file is the old one, the new one or a mix of the two
// (a torn write). A journal that is itself torn (its rewrite never began in place), that points
// beyond the file, or whose record has since been rewritten by a workstation that knows nothing of
// journals is dropped. The file's format is the same as without journals: copies of the program
// that know nothing of them read and write it as before. A rewrite therefore needs the right to
// create a file in the folder and room for one of two records; without them it fails, untouched.
class RecordFile
{
public:
    // `wait`: how a write waits for the lock while another workstation holds it.
    RecordFile(QString path, int recordSize, LockWait wait = {});
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens for reading and writing; creates the file empty only when it does not exist. Carries
    // out a rewrite left unfinished, when the lock can be had as `wait` says (otherwise the next
    // write does).
    bool open();
    void close();
    bool isOpen() const;

    // Number of whole records (an incomplete tail is not a record); -1 on failure.
    qint64 count() const;

    // Reads the record at 1-based position p into `out` (recordSize bytes).
    bool readAt(qint64 position, char* out);

    // Streams every whole record in file order, in large blocks. The visitor gets the 1-based
    // position and the record bytes; returning false stops the walk (not a failure).
    bool readInOrder(const std::function<bool(qint64 position, const char* record)>& visit);
    // The same for the whole records from position `first` to `last` (1-based, both included).
    bool readRange(qint64 first, qint64 last, const std::function<bool(qint64 position, const char* record)>& visit);
    // The same split into `parts` consecutive parts of about as many records, read at once: the
    // first on this thread, each other on a thread of its own with a read handle of its own (or
    // after the first, here, when those cannot be had). `visit` gets the part's number (0 and up)
    // and runs on the part's thread, in file order within the part; returning false stops that
    // part. Returns the number of the first part that could not be read to its end, or `parts`
    // when every part was: the records visited up to that failure are those a readRange would
    // have visited, and the visits of later parts are to be dropped.
    int readRangeInParts(qint64 first, qint64 last, int parts,
                         const std::function<bool(int part, qint64 position, const char* record)>& visit);
    // The first position of part `part` of `parts` of the range [first, last] (one past the range
    // for part == parts).
    static qint64 firstOfPart(qint64 first, qint64 last, int parts, int part);
    // How many parts a reading of `records` records is worth: one for a few, else one for each
    // processor, up to MostParts.
    static int partsFor(qint64 records);
    static constexpr int MostParts = 4;

    // Replaces the record at position p (1 <= p <= count) under the lock, whole or not at all.
    bool rewriteAt(qint64 position, const char* record);

    // Under the lock: re-reads the record at p, asks `stillValid`, and rewrites only when it
    // agrees. Returns true/false for written/refused, std::nullopt on a file failure.
    std::optional<bool> rewriteAtIf(qint64 position, const std::function<bool(const char* current)>& stillValid,
                                    const char* record);

    // Under the lock: takes the count, lets `prepare` fill the record for position count + 1,
    // writes it there (over an incomplete tail) and returns that position; nullopt on failure.
    std::optional<qint64> append(const std::function<void(qint64 position, char* record)>& prepare);

    QString errorString() const;
    const QString& path() const { return m_path; }
    // The journal of an unfinished rewrite, beside the file.
    QString journalPath() const { return m_path + QLatin1StringView(".journal"); }

    // Test seam: a process killed in the middle of a rewrite. The next write of `stage` stops after
    // `bytes` bytes and the rewrite ends there, as if the process had died at that moment: nothing
    // after it runs and the rewrite reports a failure. Used up by the write it cuts; the program
    // never sets it.
    enum class Stage
    {
        Journal,
        InPlace
    };
    struct Cut
    {
        Stage stage;
        qint64 bytes;
    };
    static inline std::optional<Cut> cutForTesting;

    // Benchmark seam: told the size of every read of record bytes once it is done (to count them or
    // to slow the reads to a network share's speed). The program never sets it.
    static inline std::function<void(qint64 bytes)> readObserver;

private:
    // Under the lock: carries out or drops a journal left by an unfinished rewrite. False when it
    // could not (the journal stays for a later write).
    bool replayJournal();
    bool removeJournal();

    QString m_path;
    QString m_folder;
    int m_recordSize;
    LockWait m_wait;
    std::unique_ptr<QFile> m_file;
};
