#pragma once

#include <QtGlobal>

class QFile;

// Advisory whole-file write lock held on an open data file (fcntl record lock on POSIX,
// LockFileEx on Windows). Blocks until granted. Released by unlock() or the destructor.
class FileLock
{
public:
    explicit FileLock(QFile& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_locked; }
    void unlock();

private:
    QFile& m_file;
    bool m_locked = false;
};
