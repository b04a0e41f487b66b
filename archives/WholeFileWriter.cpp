#include "archives/WholeFileWriter.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Puts what was written to `fd` on the disk; false when the device reports a failure.
bool syncToDisk(int fd)
{
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc == -1 && errno == EINTR);
    // EINVAL: a file system that offers no sync at all; there is nothing more to wait for.
    return rc == 0 || errno == EINVAL;
#endif
}

// Puts the folder entry of a renamed file on the disk. The file is in place by then, whatever
// happens here, so a failure is not reported.
void syncFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    syncToDisk(fd);
    ::close(fd);
#endif
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString& path, const QString& confinedTo)
    : m_path(path), m_confinedTo(confinedTo), m_file(path)
{
}

WholeFileWriter::~WholeFileWriter()
{
    cancel();
}

bool WholeFileWriter::isLink(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymbolicLink() || info.isJunction();
}

bool WholeFileWriter::passesThroughLink(const QString& folder, const QString& path)
{
    QString current = QDir::cleanPath(path);
    const QString base = folder.isEmpty() ? QString() : QDir::cleanPath(folder) + u'/';
    for (;;) {
        if (isLink(current))
            return true;
        if (base.isEmpty())
            return false;
        const qsizetype slash = current.lastIndexOf(u'/');
        if (slash < 0)
            return false;
        current.truncate(slash);
        // Up to the folder itself, which is not checked.
        if (current.size() + 1 <= base.size() || !QString(current + u'/').startsWith(base))
            return false;
    }
}

bool WholeFileWriter::fail(const QString& why)
{
    m_failed = true;
    m_error = why;
    m_file.cancelWriting();
    return false;
}

bool WholeFileWriter::open()
{
    m_failed = false;
    m_error.clear();
    // QSaveFile writes to the file a link points to, wherever that is: a link is refused before
    // the temporary file is made and checked again once it is, in case it arrived meanwhile.
    if (passesThroughLink(m_confinedTo, m_path)) {
        m_failed = true;
        m_error = u"The target is a symbolic link: %1"_s.arg(m_path);
        return false;
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    if (passesThroughLink(m_confinedTo, m_path))
        return fail(u"The target is a symbolic link: %1"_s.arg(m_path));
    return true;
}

bool WholeFileWriter::write(QByteArrayView bytes)
{
    if (m_failed || !m_file.isOpen())
        return false;
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
        return fail(m_file.errorString());
    return true;
}

bool WholeFileWriter::commit()
{
    if (m_failed || !m_file.isOpen())
        return false;
    // Qt 6.4's QSaveFile::commit() renames the temporary file even when the last flush of its
    // buffer failed (a full disk, a size limit), which would put a cut or empty file in place of
    // the old one: the flush is made and checked here, and so is any error the device kept from
    // an earlier write. Then the bytes go to the disk before the rename makes them the file.
    if (m_file.error() != QFileDevice::NoError)
        return fail(m_file.errorString());
    if (!m_file.flush())
        return fail(m_file.errorString());
    if (!syncToDisk(m_file.handle()))
        return fail(u"The file could not be synchronised to the disk: %1"_s.arg(m_path));
    if (!m_file.commit()) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    syncFolder(QFileInfo(m_path).absolutePath());
    return true;
}

void WholeFileWriter::cancel()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
    // A cancelled writing is dropped when the device closes.
    if (m_file.isOpen())
        m_file.commit();
}

bool writeWholeFile(const QString& path, QByteArrayView content, const QString& confinedTo, QString* error)
{
    WholeFileWriter writer(path, confinedTo);
    const bool written = writer.open() && writer.write(content) && writer.commit();
    if (!written && error)
        *error = writer.errorString();
    return written;
}
