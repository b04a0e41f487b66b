#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

class QFile;

// How a write waits while another workstation holds the lock of its file.
struct LockWait
{
    // The longest wait: then the write gives up as on any failure of the file.
    std::chrono::milliseconds limit{5000};
    // Told true when a wait begins and false when it ends, so that the screens can show it; not
    // told anything when the lock is free at once.
    std::function<void(bool waiting)> waiting;
    // Told when the file system offers no locks on the file and the write goes ahead unlocked, so
    // that the screens can warn that other workstations may overwrite it; told at every such
    // write (the screens decide how often to say it).
    std::function<void()> unlocked;
};

// Advisory whole-file write lock held on an open data file (fcntl record lock on POSIX,
// LockFileEx on Windows). While another process holds it, waits as `wait` says and no longer:
// then the lock is not held (and not unsupported), so the write does not go ahead. Released by
// unlock() or the destructor.
// Some network shares do not support locks at all: the caller may then write unlocked rather than
// refuse all work, since a reception on such a share must still register its passes; the screens
// warn the operator that writes are not protected there.
class FileLock
{
public:
    explicit FileLock(QFile& file, const LockWait& wait = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_locked; }
    // The file system does not offer locks on this file (not a failure of this attempt).
    bool isUnsupported() const { return m_unsupported; }
    // Locked, or locking is not offered here: either way the write may go ahead.
    bool mayWrite() const { return m_locked || m_unsupported; }
    void unlock();

    // Test seam: every lock attempt answers as on a network share without locks (the program
    // never sets it).
    static inline bool unsupportedForTesting = false;

private:
    enum class Attempt
    {
        Locked,
        Busy,
        Failed
    };
    // One attempt that never blocks.
    Attempt tryLock();

    QFile& m_file;
    bool m_locked = false;
    bool m_unsupported = false;
};
