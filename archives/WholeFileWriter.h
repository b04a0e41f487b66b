#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// Writes a file of the ProgramFolder whole or not at all: the new content goes to a temporary file
// beside the target, which replaces the target only once every byte of it is written and on disk.
// Any failure (a full disk, a size limit, a folder that cannot be written) leaves the previous file
// byte for byte as it was. Every file the program writes whole goes through here: the exports, the
// attachment copies and the password file.
//
// The target, and every folder between `confinedTo` and the target, must not be a symbolic link
// (or a junction on Windows): a link planted in the data folder would send the write to a file
// outside it.
class WholeFileWriter
{
public:
    // `confinedTo`: the folder (with or without a trailing separator) from which on no link is
    // followed; empty: only the target itself is checked.
    explicit WholeFileWriter(const QString& path, const QString& confinedTo = QString());
    ~WholeFileWriter(); // drops the temporary file unless committed
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Opens the temporary file; false when the target is a link or the file cannot be created.
    bool open();
    // Appends bytes; false when they were not all taken. After a failure every later call fails.
    bool write(QByteArrayView bytes);
    // The device for writers that stream into a QIODevice. They must check their own writes; a
    // failure they report, or one the device kept to itself, stops commit() all the same.
    QIODevice& device() { return m_file; }
    // Flushes, syncs the temporary file and puts it in place of the target; false when anything
    // failed, the target then unchanged.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    // Why the last step failed, for diagnostics.
    QString errorString() const { return m_error; }

    // Whether `path` is a symbolic link (or a junction on Windows), dangling or not.
    static bool isLink(const QString& path);
    // Whether `path` or a folder between `folder` and it is a link; false for a path outside `folder`.
    static bool passesThroughLink(const QString& folder, const QString& path);

private:
    bool fail(const QString& why);

    QString m_path;
    QString m_confinedTo;
    QSaveFile m_file;
    QString m_error;
    bool m_failed = false;
};

// Writes `content` as the whole file `path` through a WholeFileWriter; false (the previous file
// untouched) on any failure, with its reason in `error` when given.
bool writeWholeFile(const QString& path, QByteArrayView content, const QString& confinedTo = QString(),
                    QString* error = nullptr);
