#pragma once

#include "FileLock.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFile;

// A flat file of fixed-size records with no header, shared with other workstations.
// One object per user action: open, work, close (the destructor closes too).
// Writes hold an advisory lock on the file (FileLock) from the count to the flush, so that two
// workstations appending at once each get their own position. A write waits for a lock held
// elsewhere as its LockWait says, and fails like any other write when the wait runs out.
class RecordFile
{
public:
    // `wait`: how a write waits for the lock while another workstation holds it.
    RecordFile(QString path, int recordSize, LockWait wait = {});
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens for reading and writing; creates the file empty only when it does not exist.
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

    // Replaces the record at position p (1 <= p <= count) under the lock.
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

private:
    QString m_path;
    int m_recordSize;
    LockWait m_wait;
    std::unique_ptr<QFile> m_file;
};
