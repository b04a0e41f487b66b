#pragma once

#include <QString>

// Writes a file of the ProgramFolder whole or not at all when the writer opens the file by its name
// (a library that takes a path, not a device): the writer fills a fresh temporary file beside the
// target, which replaces the target only once the writer reported success and every byte of it is on
// the disk. Any failure leaves the previous file byte for byte as it was, and no temporary file
// behind. Links are refused as WholeFileWriter refuses them.
class StagedFile
{
public:
    // `confinedTo`: the folder from which on no link is followed (see WholeFileWriter).
    explicit StagedFile(const QString& path, const QString& confinedTo = QString());
    ~StagedFile(); // removes the temporary file unless committed
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary file, empty, with the permissions the target would get (those of the
    // existing target, else the usual ones of a new file); false when the target is a link or the
    // file cannot be created.
    bool open();
    // Where the writer writes, once open() succeeded.
    QString temporaryPath() const { return m_temporary; }
    // Syncs the temporary file and renames it over the target, then syncs the folder; false when
    // anything failed, the target then unchanged and the temporary file removed.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void cancel();

    QString errorString() const { return m_error; }

private:
    bool fail(const QString& why);

    QString m_path;
    QString m_confinedTo;
    QString m_temporary;
    QString m_error;
};
