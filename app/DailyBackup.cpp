#include "app/DailyBackup.h"

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"
#include "archives/PasswordStore.h"
#include "archives/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString DayFormat = u"yyyy-MM-dd"_s;

// Copies `from` to `to` block by block (a history file can be hundreds of megabytes): the copy
// becomes `to` only once every byte is on the disk.
bool copyWhole(const QString& from, const QString& to, const QString& confinedTo)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    WholeFileWriter writer(to, confinedTo);
    if (!writer.open())
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source.read(block.data(), block.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (!writer.write(QByteArrayView(block.constData(), n)))
            return false;
    }
    return writer.commit();
}

// The day a folder of the Backup folder stands for; invalid for any other name.
QDate dayOf(const QString& name)
{
    const QDate day = QDate::fromString(name, DayFormat);
    return day.isValid() && day.toString(DayFormat) == name ? day : QDate();
}

// Removes the day folders beyond the newest `keptDays` up to `today`.
QStringList rotate(const QString& backupFolder, const QDate& today, int keptDays)
{
    QList<QDate> days;
    const QFileInfoList entries = QDir(backupFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        // A link is not a folder of ours: removing "its" files would reach wherever it points.
        if (WholeFileWriter::isLink(entry.filePath()))
            continue;
        const QDate day = dayOf(entry.fileName());
        if (day.isValid() && day <= today)
            days.append(day);
    }
    std::sort(days.begin(), days.end(), std::greater<>());
    QStringList removed;
    for (qsizetype i = keptDays; i < days.size(); ++i) {
        const QString name = days[i].toString(DayFormat);
        if (QDir(backupFolder + name).removeRecursively())
            removed.append(name);
    }
    return removed;
}

} // namespace

namespace DailyBackup {

QStringList fileNames()
{
    return {QLatin1StringView(CardFile::FileName), QLatin1StringView(HistoryFile::FileName),
            QLatin1StringView(PasswordStore::FileName)};
}

QString dayFolder(const QDate& day)
{
    return QLatin1StringView(FolderName) + u'/' + day.toString(DayFormat);
}

Outcome run(const QString& dataFolder, const QDate& today, int keptDays)
{
    Outcome outcome;
    const QString dayPath = dataFolder + dayFolder(today) + u'/';
    bool folderReady = QFileInfo(dayPath).isDir();
    for (const QString& name : fileNames()) {
        const QFileInfo source(dataFolder + name);
        if (!source.exists() || QFileInfo(dayPath + name).isFile())
            continue;
        if (!folderReady)
            folderReady = QDir().mkpath(dayPath);
        // Every step stays inside the data folder: a link planted in Backup/ fails the copy.
        if (folderReady && copyWhole(source.filePath(), dayPath + name, dataFolder))
            outcome.copied.append(name);
        else
            outcome.failed.append(name);
    }
    // A day whose copies failed keeps the older days: they may be the only good copies left.
    if (outcome.failed.isEmpty())
        outcome.removed = rotate(dataFolder + QLatin1StringView(FolderName) + u'/', today, keptDays);
    return outcome;
}

} // namespace DailyBackup
