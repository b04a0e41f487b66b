#include "archives/StagedFile.h"

#include "archives/Durable.h"
#include "archives/WholeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

StagedFile::StagedFile(const QString& path, const QString& confinedTo) : m_path(path), m_confinedTo(confinedTo) {}

StagedFile::~StagedFile()
{
    cancel();
}

bool StagedFile::fail(const QString& why)
{
    m_error = why;
    cancel();
    return false;
}

bool StagedFile::open()
{
    cancel();
    m_error.clear();
    if (WholeFileWriter::passesThroughLink(m_confinedTo, m_path))
        return fail(u"The target is a symbolic link: %1"_s.arg(m_path));
    // A name nobody else holds: created here, never opened as a file that was already there (which
    // could be a link planted under the name).
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate =
            m_path + u'.' +
            QString::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 36).rightJustified(5, u'0');
        QFile file(candidate);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temporary = candidate;
            break;
        }
        if (QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink())
            continue;
        return fail(file.errorString());
    }
    if (m_temporary.isEmpty())
        return fail(u"No free temporary name beside %1"_s.arg(m_path));
    // The file replaces the target: it keeps the target's permissions, as the other whole-file
    // writes do.
    const QFileInfo existing(m_path);
    if (existing.isFile() && !QFile::setPermissions(m_temporary, existing.permissions()))
        return fail(u"The permissions of %1 cannot be set"_s.arg(m_temporary));
    return true;
}

bool StagedFile::commit()
{
    if (m_temporary.isEmpty())
        return false;
    if (WholeFileWriter::passesThroughLink(m_confinedTo, m_path) || WholeFileWriter::isLink(m_temporary))
        return fail(u"The target is a symbolic link: %1"_s.arg(m_path));
    {
        // The writer has closed the file; its bytes reach the disk before the rename makes them the
        // target, so that a power cut leaves the old file or the whole new one.
        QFile written(m_temporary);
        if (!written.open(QIODevice::ReadWrite))
            return fail(written.errorString());
        if (!Durable::syncFile(written))
            return fail(u"The file could not be synchronised to the disk: %1"_s.arg(m_temporary));
    }
    std::error_code error;
    std::filesystem::rename(QFileInfo(m_temporary).filesystemFilePath(), QFileInfo(m_path).filesystemFilePath(), error);
    if (error)
        return fail(QString::fromStdString(error.message()));
    m_temporary.clear();
    // The file is in place by now, whatever happens here: a folder that cannot be synced is not
    // reported.
    Durable::syncFolder(QFileInfo(m_path).absolutePath());
    return true;
}

void StagedFile::cancel()
{
    if (m_temporary.isEmpty())
        return;
    QFile::remove(m_temporary);
    m_temporary.clear();
}
