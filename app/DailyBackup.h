#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The daily copy of the data files. At the first start of a day, before anything is written, the
// card file, the history file and the password file are copied into Backup/<yyyy-mm-dd>/ of the
// data folder, and the copies of the last days only are kept. The attachments folder is left out:
// it can be large, and its files are copies of documents kept elsewhere.
//
// QtCore only: the start-up gives it the day and tells the operator about failures.
namespace DailyBackup {

// How many days of copies are kept (the days on which the program started, newest first).
inline constexpr int KeptDays = 7;

// The folder of the data folder that holds the days' copies.
inline constexpr auto FolderName = "Backup";

// The files copied, by name, in the data folder.
QStringList fileNames();

// The folder of one day's copies, relative to the data folder: "Backup/2025-03-07".
QString dayFolder(const QDate& day);

struct Outcome
{
    QStringList copied;  // the files copied at this start
    QStringList failed;  // the files that could not be copied (nothing half-written is left)
    QStringList removed; // the day folders that the rotation removed
};

// Copies into today's folder each file that exists in `dataFolder` (with a trailing separator) and
// that today's folder does not hold yet, each through a temporary file renamed into place, so a
// copy is whole or absent; a copy already there is never replaced, so the day keeps the state of
// its first start. When every copy succeeded, removes the oldest day folders beyond `keptDays`
// (folders dated after `today` are left alone, and so is anything else in the Backup folder).
Outcome run(const QString& dataFolder, const QDate& today, int keptDays = KeptDays);

} // namespace DailyBackup
