#include "archives/FileLock.h"

#include <QFile>

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

} // namespace

FileLock::FileLock(QFile& file) : m_file(file)
{
    const int fd = file.handle();
    if (fd < 0)
        return;
#ifdef Q_OS_WIN
    HANDLE h = HANDLE(_get_osfhandle(fd));
    OVERLAPPED ov{};
    ov.Offset = DWORD(LockOffset & 0xFFFFFFFF);
    ov.OffsetHigh = DWORD(LockOffset >> 32);
    m_locked = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov);
    if (!m_locked) {
        const DWORD err = GetLastError();
        m_unsupported = err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION;
    }
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
        rc = ::fcntl(fd, F_SETLKW, &fl);
    } while (rc == -1 && errno == EINTR);
    m_locked = rc == 0;
    m_unsupported = rc == -1 && (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS);
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
