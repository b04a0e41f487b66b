// The daily copy of the data files: whole, byte for byte, once a day, the last seven days kept,
// and a failed copy that leaves nothing half-written. QtCore and QtTest only.
#include "app/DailyBackup.h"

#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2025, 3, 7);

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(QRandomGenerator::global()->generate());
    return bytes;
}

QString fixture(const QString& name)
{
    return QStringLiteral(INGRESSARIO_FIXTURES) + u'/' + name;
}

QStringList dayFolders(const QString& folder)
{
    return QDir(folder + u"Backup"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Every entry under `folder`, to show that nothing (a temporary file) was left behind.
QStringList everything(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_DailyBackup : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data; // the data folder, with a trailing separator

    QString dayPath(const QDate& day = Today) const { return m_data + DailyBackup::dayFolder(day) + u'/'; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_data = m_dir->path() + u'/';
    }

    void copiesAreByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("card");
        QTest::addColumn<QByteArray>("history");
        QTest::addColumn<QByteArray>("password");
        QTest::newRow("an installation's files")
            << contentOf(fixture(u"Schedario_Pass.pro"_s)) << contentOf(fixture(u"Storico_Operazioni.pro"_s))
            << contentOf(fixture(u"unins000.dll"_s));
        // Copied in blocks: several of them, the last one short.
        QTest::newRow("a history of several megabytes")
            << randomBytes(3581 * 7) << randomBytes(3 * 1024 * 1024 + 761) << contentOf(fixture(u"unins000.dll"_s));
        QTest::newRow("empty files") << QByteArray() << QByteArray() << QByteArray();
    }
    void copiesAreByteIdentical()
    {
        QFETCH(QByteArray, card);
        QFETCH(QByteArray, history);
        QFETCH(QByteArray, password);
        write(m_data + u"Schedario_Pass.pro"_s, card);
        write(m_data + u"Storico_Operazioni.pro"_s, history);
        write(m_data + u"unins000.dll"_s, password);
        // The attachments are left out.
        write(m_data + u"Documenti_Allegati/contratto.pdf"_s, "%PDF");

        const DailyBackup::Outcome outcome = DailyBackup::run(m_data, Today);

        QCOMPARE(outcome.failed, QStringList());
        QCOMPARE(outcome.copied,
                 (QStringList{u"Schedario_Pass.pro"_s, u"Storico_Operazioni.pro"_s, u"unins000.dll"_s}));
        QCOMPARE(dayFolders(m_data), QStringList{u"2025-03-07"_s});
        QCOMPARE(everything(dayPath()),
                 (QStringList{u"Schedario_Pass.pro"_s, u"Storico_Operazioni.pro"_s, u"unins000.dll"_s}));
        QVERIFY(contentOf(dayPath() + u"Schedario_Pass.pro"_s) == card);
        QVERIFY(contentOf(dayPath() + u"Storico_Operazioni.pro"_s) == history);
        QVERIFY(contentOf(dayPath() + u"unins000.dll"_s) == password);
        // The data files themselves are as they were.
        QVERIFY(contentOf(m_data + u"Storico_Operazioni.pro"_s) == history);
    }

    // The day keeps the state of its first start: a later start copies nothing, a missing file
    // is copied once it exists, and the next day gets a folder of its own.
    void onceADay()
    {
        write(m_data + u"Schedario_Pass.pro"_s, "cards of the morning");
        write(m_data + u"unins000.dll"_s, "password");
        QCOMPARE(DailyBackup::run(m_data, Today).copied, (QStringList{u"Schedario_Pass.pro"_s, u"unins000.dll"_s}));

        write(m_data + u"Schedario_Pass.pro"_s, "cards of the afternoon");
        const DailyBackup::Outcome second = DailyBackup::run(m_data, Today);
        QCOMPARE(second.copied, QStringList());
        QCOMPARE(second.failed, QStringList());
        QCOMPARE(contentOf(dayPath() + u"Schedario_Pass.pro"_s), "cards of the morning");

        write(m_data + u"Storico_Operazioni.pro"_s, "first return");
        QCOMPARE(DailyBackup::run(m_data, Today).copied, QStringList{u"Storico_Operazioni.pro"_s});

        QCOMPARE(DailyBackup::run(m_data, Today.addDays(1)).copied.size(), 3);
        QCOMPARE(contentOf(dayPath(Today.addDays(1)) + u"Schedario_Pass.pro"_s), "cards of the afternoon");
        QCOMPARE(dayFolders(m_data), (QStringList{u"2025-03-07"_s, u"2025-03-08"_s}));
    }

    void nothingToCopyMakesNoFolder()
    {
        const DailyBackup::Outcome outcome = DailyBackup::run(m_data, Today);
        QCOMPARE(outcome.copied, QStringList());
        QCOMPARE(outcome.failed, QStringList());
        QVERIFY(!QFileInfo::exists(m_data + u"Backup"_s));
    }

    // The newest seven days up to today are kept, whatever the gaps between them (weekends,
    // holidays); anything else in the Backup folder is not the program's and stays.
    void rotationKeepsTheLastSevenDays()
    {
        write(m_data + u"unins000.dll"_s, "password");
        const QStringList older{u"2024-12-24"_s, u"2025-02-27"_s, u"2025-02-28"_s, u"2025-03-03"_s,
                                u"2025-03-04"_s, u"2025-03-05"_s, u"2025-03-06"_s, u"2025-03-01"_s};
        for (const QString& day : older)
            write(m_data + u"Backup/"_s + day + u"/unins000.dll"_s, "older");
        const QStringList foreign{u"2025-03-31"_s, u"copia manuale"_s, u"2025-3-1"_s, u"2025-02-30"_s};
        for (const QString& name : foreign)
            write(m_data + u"Backup/"_s + name + u"/unins000.dll"_s, "not ours");
        write(m_data + u"Backup/LEGGIMI.txt"_s, "notes");

        const DailyBackup::Outcome outcome = DailyBackup::run(m_data, Today);

        QCOMPARE(outcome.copied, QStringList{u"unins000.dll"_s});
        QCOMPARE(outcome.removed, (QStringList{u"2025-02-27"_s, u"2024-12-24"_s}));
        QCOMPARE(dayFolders(m_data), (QStringList{u"2025-02-28"_s, u"2025-02-30"_s, u"2025-03-01"_s, u"2025-03-03"_s,
                                                  u"2025-03-04"_s, u"2025-03-05"_s, u"2025-03-06"_s, u"2025-03-07"_s,
                                                  u"2025-03-31"_s, u"2025-3-1"_s, u"copia manuale"_s}));
        QVERIFY(QFileInfo::exists(m_data + u"Backup/LEGGIMI.txt"_s));

        // A second start that day removes nothing more.
        QCOMPARE(DailyBackup::run(m_data, Today).removed, QStringList());
    }

    // A day folder that is a link is not the program's: removing it would empty the folder it
    // points to.
    void rotationLeavesLinksAlone()
    {
        QTemporaryDir elsewhere;
        write(elsewhere.filePath(u"precious.txt"_s), "keep me");
        write(m_data + u"unins000.dll"_s, "password");
        for (int i = 1; i <= 7; ++i)
            write(dayPath(Today.addDays(-i)) + u"unins000.dll"_s, "older");
        QVERIFY(QFile::link(elsewhere.path(), m_data + u"Backup/2025-01-01"_s));

        const DailyBackup::Outcome outcome = DailyBackup::run(m_data, Today);

        QCOMPARE(outcome.removed, QStringList{u"2025-02-28"_s});
        QCOMPARE(contentOf(elsewhere.filePath(u"precious.txt"_s)), "keep me");
    }

    // A copy that cannot be written whole (a full disk) leaves no file, not a cut one, and no
    // temporary file; the other files are still copied, the older days are all kept, and the
    // next start tries again.
    void failedCopyLeavesNothingHalfWritten()
    {
        const QByteArray card = randomBytes(64 * 1024);
        write(m_data + u"Schedario_Pass.pro"_s, card);
        write(m_data + u"unins000.dll"_s, "password");
        for (int i = 1; i <= 7; ++i)
            write(dayPath(Today.addDays(-i)) + u"unins000.dll"_s, "older");

        DailyBackup::Outcome outcome;
        {
            FileSizeLimit full(16 * 1024);
            QVERIFY(full.isActive());
            outcome = DailyBackup::run(m_data, Today);
        }
        QCOMPARE(outcome.failed, QStringList{u"Schedario_Pass.pro"_s});
        QCOMPARE(outcome.copied, QStringList{u"unins000.dll"_s});
        QCOMPARE(outcome.removed, QStringList());
        QCOMPARE(everything(dayPath()), QStringList{u"unins000.dll"_s});
        QCOMPARE(dayFolders(m_data).size(), 8);

        const DailyBackup::Outcome retry = DailyBackup::run(m_data, Today);
        QCOMPARE(retry.copied, QStringList{u"Schedario_Pass.pro"_s});
        QVERIFY(contentOf(dayPath() + u"Schedario_Pass.pro"_s) == card);
        QCOMPARE(retry.removed, QStringList{u"2025-02-28"_s});
    }

    // The day's folder cannot be made at all (a file named Backup is in the way): every copy
    // fails, and nothing else is touched.
    void noFolderForTheDay()
    {
        write(m_data + u"Schedario_Pass.pro"_s, "cards");
        write(m_data + u"unins000.dll"_s, "password");
        write(m_data + u"Backup"_s, "in the way");

        const DailyBackup::Outcome outcome = DailyBackup::run(m_data, Today);

        QCOMPARE(outcome.failed, (QStringList{u"Schedario_Pass.pro"_s, u"unins000.dll"_s}));
        QCOMPARE(outcome.copied, QStringList());
        QCOMPARE(contentOf(m_data + u"Backup"_s), "in the way");
        QCOMPARE(contentOf(m_data + u"Schedario_Pass.pro"_s), "cards");
    }
};

QTEST_GUILESS_MAIN(tst_DailyBackup)
#include "tst_DailyBackup.moc"
