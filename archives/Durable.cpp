#include "archives/Durable.h"

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

enum class What
{
    Data,
    Everything
};

bool syncHandle(int fd, What what)
{
    if (fd < 0)
        return false;
#ifdef Q_OS_WIN
    Q_UNUSED(what);
    return FlushFileBuffers(HANDLE(_get_osfhandle(fd))) != 0;
#else
    int rc;
    do {
#if defined(Q_OS_LINUX)
        rc = what == What::Data ? ::fdatasync(fd) : ::fsync(fd);
#else
        Q_UNUSED(what);
        rc = ::fsync(fd);
#endif
    } while (rc == -1 && errno == EINTR);
    // EINVAL: a file that cannot be synced at all (a device, some special file systems); its
    // writes are as durable as they will ever be.
    return rc == 0 || errno == EINVAL;
#endif
}

bool syncOpenFile(QFile& file, What what)
{
    if (Durable::Seams::synced)
        Durable::Seams::synced(file.fileName());
    if (Durable::Seams::skip)
        return true;
    // Anything still buffered in the QFile first.
    if (!file.flush())
        return false;
    return syncHandle(file.handle(), what);
}

} // namespace

bool Durable::syncData(QFile& file)
{
    return syncOpenFile(file, What::Data);
}

bool Durable::syncFile(QFile& file)
{
    return syncOpenFile(file, What::Everything);
}

bool Durable::syncFolder(const QString& folder)
{
    if (Seams::synced)
        Seams::synced(folder);
    if (Seams::skip)
        return true;
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return true;
#else
    const QByteArray path = QFile::encodeName(folder);
    int fd;
    do {
        fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd == -1 && errno == EINTR);
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc == -1 && errno == EINTR);
    // Some file systems (and some network shares) do not sync folders: that is no failure of
    // the write itself.
    const bool ok = rc == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP;
    ::close(fd);
    return ok;
#endif
}
