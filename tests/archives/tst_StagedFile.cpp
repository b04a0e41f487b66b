// The whole-file write for writers that open the file by its name: the target is replaced only by
// a committed, whole file, keeps its permissions, and never through a link; nothing is left behind.

#include "archives/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestStagedFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesOnlyOnCommit();
    void keepsThePermissionsOfTheTarget();
    void failureLeavesTheTarget_data();
    void failureLeavesTheTarget();
};

void TestStagedFile::replacesOnlyOnCommit()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"Schedario_Pass.xlsx"_s);
    QVERIFY(writeAll(target, QByteArray(100000, 'x')));

    // The writer's file, dropped without a commit: nothing changes, nothing is left behind.
    {
        StagedFile file(target, dir.path());
        QVERIFY(file.open());
        QCOMPARE(QFileInfo(file.temporaryPath()).absolutePath(), QFileInfo(target).absolutePath());
        QVERIFY(file.temporaryPath() != target);
        QVERIFY(writeAll(file.temporaryPath(), "abbandonato"));
    }
    QCOMPARE(readAll(target), QByteArray(100000, 'x'));
    QCOMPARE(entries(dir.path()), QStringList{u"Schedario_Pass.xlsx"_s});

    StagedFile file(target, dir.path());
    QVERIFY(file.open());
    QVERIFY(writeAll(file.temporaryPath(), "nuovo"));
    QCOMPARE(readAll(target), QByteArray(100000, 'x'));
    QVERIFY(file.commit());
    QCOMPARE(readAll(target), QByteArray("nuovo"));
    QCOMPARE(entries(dir.path()), QStringList{u"Schedario_Pass.xlsx"_s});
}

void TestStagedFile::keepsThePermissionsOfTheTarget()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"Storico_Operazioni.xlsx"_s);
    QVERIFY(writeAll(target, "vecchio"));
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                                      QFile::ReadOther | QFile::ReadUser | QFile::WriteUser;
    QVERIFY(QFile::setPermissions(target, shared));

    StagedFile file(target, dir.path());
    QVERIFY(file.open());
    QVERIFY(writeAll(file.temporaryPath(), "nuovo"));
    QVERIFY(file.commit());
    QCOMPARE(readAll(target), QByteArray("nuovo"));
    QCOMPARE(QFileInfo(target).permissions(), shared);
}

void TestStagedFile::failureLeavesTheTarget_data()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("the target is a folder") << u"folder"_s;
#ifdef Q_OS_UNIX
    QTest::newRow("the target is a link to a file outside") << u"link"_s;
    QTest::newRow("a link arrives while the writer writes") << u"late link"_s;
#endif
}

void TestStagedFile::failureLeavesTheTarget()
{
    QFETCH(QString, layout);
    QTemporaryDir dir, outside;
    const QString target = dir.filePath(u"Schedario_Pass.xlsx"_s);
    const QString outsideFile = outside.filePath(u"fuori.xlsx"_s);
    QVERIFY(writeAll(outsideFile, "fuori"));
    if (layout == u"folder"_s) {
        QVERIFY(QDir(dir.path()).mkdir(u"Schedario_Pass.xlsx"_s));
        QVERIFY(writeAll(target + u"/dentro.txt"_s, "dentro"));
    } else if (layout == u"link"_s) {
        QVERIFY(QFile::link(outsideFile, target));
    } else {
        QVERIFY(writeAll(target, "vecchio"));
    }

    StagedFile file(target, dir.path());
    const bool opened = file.open();
    QCOMPARE(opened, layout != u"link"_s);
    if (opened) {
        QVERIFY(writeAll(file.temporaryPath(), "nuovo"));
        if (layout == u"late link"_s) {
            QVERIFY(QFile::remove(target));
            QVERIFY(QFile::link(outsideFile, target));
        }
        QVERIFY(!file.commit());
        QVERIFY(!file.errorString().isEmpty());
    }

    QCOMPARE(readAll(outsideFile), QByteArray("fuori"));
    QCOMPARE(entries(outside.path()), QStringList{u"fuori.xlsx"_s});
    QCOMPARE(entries(dir.path()), QStringList{u"Schedario_Pass.xlsx"_s});
    if (layout == u"folder"_s)
        QCOMPARE(readAll(target + u"/dentro.txt"_s), QByteArray("dentro"));
    else
        QVERIFY(QFileInfo(target).isSymLink());
}

QTEST_GUILESS_MAIN(TestStagedFile)
#include "tst_StagedFile.moc"
