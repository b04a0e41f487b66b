#pragma once

#include <QtGlobal>

class QFile;

// Advisory whole-file write lock held on an open data file (fcntl record lock on POSIX,
// LockFileEx on Windows). Blocks until granted. Released by unlock() or the destructor.
// Some network shares do not support locks at all: the caller may then write unlocked, as
// every workstation did before locks existed, rather than refuse all work.
class FileLock
{
public:
    explicit FileLock(QFile& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_locked; }
    // The file system does not offer locks on this file (not a failure of this attempt).
    bool isUnsupported() const { return m_unsupported; }
    // Locked, or locking is not offered here: either way the write may go ahead.
    bool mayWrite() const { return m_locked || m_unsupported; }
    void unlock();

private:
    QFile& m_file;
    bool m_locked = false;
    bool m_unsupported = false;
};
