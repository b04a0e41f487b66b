#include "archives/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>

#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The lock covers one byte far beyond any real end of file: on Windows, where byte-range locks
// are mandatory, readers of the records are therefore never blocked. Every workstation locks
// the same byte, so they exclude one another's writes.
constexpr qint64 LockOffset = qint64(1) << 62;

// How often a waiting write asks for the lock again. Record locks offer no wait with a time
// limit, so the wait is a series of attempts that never block.
constexpr std::chrono::milliseconds RetryInterval{25};

} // namespace

FileLock::FileLock(QFile& file, const LockWait& wait) : m_file(file)
{
    Attempt attempt = tryLock();
    if (attempt == Attempt::Busy) {
        // Another workstation is writing: wait for it, for a bounded time, and say so meanwhile.
        if (wait.waiting)
            wait.waiting(true);
        const QDeadlineTimer deadline(wait.limit);
        while (attempt == Attempt::Busy && !deadline.hasExpired()) {
            std::this_thread::sleep_for(
                std::min<std::chrono::nanoseconds>(RetryInterval, deadline.remainingTimeAsDuration()));
            attempt = tryLock();
        }
        if (wait.waiting)
            wait.waiting(false);
    }
    // The write will go ahead unlocked: the screens warn that other workstations may overwrite it.
    if (m_unsupported && wait.unlocked)
        wait.unlocked();
}

FileLock::Attempt FileLock::tryLock()
{
    const int fd = m_file.handle();
    if (fd < 0)
        return Attempt::Failed;
    if (unsupportedForTesting) {
        m_unsupported = true;
        return Attempt::Failed;
    }
#ifdef Q_OS_WIN
    HANDLE h = HANDLE(_get_osfhandle(fd));
    OVERLAPPED ov{};
    ov.Offset = DWORD(LockOffset & 0xFFFFFFFF);
    ov.OffsetHigh = DWORD(LockOffset >> 32);
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
        m_locked = true;
        return Attempt::Locked;
    }
    const DWORD err = GetLastError();
    if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING)
        return Attempt::Busy;
    m_unsupported = err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION;
    return Attempt::Failed;
#else
    struct flock fl
    {
    };
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(LockOffset);
    fl.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, F_SETLK, &fl);
    } while (rc == -1 && errno == EINTR);
    if (rc == 0) {
        m_locked = true;
        return Attempt::Locked;
    }
    if (errno == EACCES || errno == EAGAIN)
        return Attempt::Busy;
    m_unsupported = errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS;
    return Attempt::Failed;
#endif
}

FileLock::~FileLock()
{
    unlock();
}

void FileLock::unlock()
{
    if (!m_locked)
        return;
    m_locked = false;
    const int fd = m_file.handle();
    if (fd < 0)
        return;
#ifdef Q_OS_WIN
    HANDLE h = HANDLE(_get_osfhandle(fd));
    OVERLAPPED ov{};
    ov.Offset = DWORD(LockOffset & 0xFFFFFFFF);
    ov.OffsetHigh = DWORD(LockOffset >> 32);
    UnlockFileEx(h, 0, 1, 0, &ov);
#else
    struct flock fl
    {
    };
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(LockOffset);
    fl.l_len = 1;
    ::fcntl(fd, F_SETLK, &fl);
#endif
}
