#pragma once

#include <QString>

#include <functional>

class QFile;

// Writes reach the disk before the program says they are done: a save that is acknowledged and
// then lost in a power cut is worse than one that fails.
namespace Durable {

// The written data of an open file, and the metadata needed to read it back (its size): fdatasync
// on POSIX, FlushFileBuffers on Windows.
bool syncData(QFile& file);
// The data and all the metadata of an open file (fsync): for a file just created.
bool syncFile(QFile& file);
// The entries of a folder, so that a file created or removed there stays so after a power cut
// (fsync of the folder on POSIX; on Windows the file system keeps its own metadata journal and
// nothing is needed).
bool syncFolder(const QString& folder);

// Test and measurement seams; the program never sets them.
struct Seams
{
    // Told the path of every file or folder synced, in order.
    static inline std::function<void(const QString& path)> synced;
    // Measurements only: no sync reaches the disk (the writes are then not durable).
    static inline bool skip = false;
};

} // namespace Durable
