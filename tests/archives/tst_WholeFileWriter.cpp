// The one writer of whole files: the previous file stays byte for byte whatever fails on the way,
// whether the failure shows in a write or only in the last flush of the device's buffer, and no
// write goes through a link in the data folder.

#include "archives/WholeFileWriter.h"
#include "tests/support/FileSizeLimit.h"

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

class TestWholeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesAndReplaces();
    void previousFileKeptOnAFullDisk_data();
    void previousFileKeptOnAFullDisk();
    void refusesLinks_data();
    void refusesLinks();
};

void TestWholeFileWriter::writesAndReplaces()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"Schedario_Pass.xls"_s);
    QVERIFY(writeAll(target, QByteArray(100000, 'x')));
    QString error = u"unchanged"_s;
    QVERIFY(writeWholeFile(target, "nuovo", dir.path(), &error));
    QCOMPARE(readAll(target), QByteArray("nuovo"));
    QCOMPARE(error, u"unchanged"_s);
    QCOMPARE(entries(dir.path()), QStringList{u"Schedario_Pass.xls"_s});

    // Dropped without a commit: nothing changes, nothing is left behind.
    {
        WholeFileWriter writer(target);
        QVERIFY(writer.open());
        QVERIFY(writer.write("abbandonato"));
    }
    QCOMPARE(readAll(target), QByteArray("nuovo"));
    QCOMPARE(entries(dir.path()), QStringList{u"Schedario_Pass.xls"_s});
}

void TestWholeFileWriter::previousFileKeptOnAFullDisk_data()
{
    QTest::addColumn<qint64>("size");  // of the new content
    QTest::addColumn<qint64>("chunk"); // written in pieces of this size
    QTest::addColumn<qint64>("room");  // bytes any file may grow to
    // Small writes stay in the device's buffer until the last flush; large ones go straight out.
    QTest::newRow("small, no room") << qint64(300) << qint64(300) << qint64(0);
    QTest::newRow("small, room for a part") << qint64(300) << qint64(300) << qint64(100);
    QTest::newRow("large, no room") << qint64(200000) << qint64(200000) << qint64(0);
    QTest::newRow("large, room for a part") << qint64(200000) << qint64(200000) << qint64(100000);
    QTest::newRow("in chunks, a last piece in the buffer")
        << qint64(70 * 1024) << qint64(64 * 1024) << qint64(64 * 1024);
    QTest::newRow("in chunks, room for one byte less") << qint64(70 * 1024) << qint64(1000) << qint64(70 * 1024 - 1);
}

void TestWholeFileWriter::previousFileKeptOnAFullDisk()
{
#ifndef Q_OS_UNIX
    QSKIP("the file size limit is a Unix resource limit");
#else
    QFETCH(qint64, size);
    QFETCH(qint64, chunk);
    QFETCH(qint64, room);
    QTemporaryDir dir;
    const QString target = dir.filePath(u"allegato.pdf"_s);
    const QByteArray previous(75 * 1024, 'o');
    QVERIFY(writeAll(target, previous));
    const QByteArray content(size, 'n');

    bool written = true;
    QString error;
    {
        WholeFileWriter writer(target, dir.path());
        FileSizeLimit full(room);
        QVERIFY(full.isActive());
        QVERIFY(writer.open());
        for (qint64 at = 0; written && at < size; at += chunk)
            written = writer.write(QByteArrayView(content).sliced(at, qMin(chunk, size - at)));
        written = written && writer.commit();
        error = writer.errorString();
    }
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(target), previous);
    QCOMPARE(entries(dir.path()), QStringList{u"allegato.pdf"_s});

    // With room again the same write goes through.
    QVERIFY(writeWholeFile(target, content, dir.path()));
    QCOMPARE(readAll(target), content);
#endif
}

void TestWholeFileWriter::refusesLinks_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("written");
#ifdef Q_OS_UNIX
    QTest::newRow("plain file") << u"plain"_s << true;
    QTest::newRow("link to a file outside") << u"file link"_s << false;
    QTest::newRow("link to nothing") << u"dangling link"_s << false;
    QTest::newRow("folder on the way is a link") << u"folder link"_s << false;
    // The data folder itself may be reached through a link: only what lies inside it is checked.
    QTest::newRow("data folder reached through a link") << u"reached through link"_s << true;
#endif
}

void TestWholeFileWriter::refusesLinks()
{
    QFETCH(QString, layout);
    QFETCH(bool, written);
    QTemporaryDir dir, outside;
    QString data = dir.filePath(u"dati"_s);
    QVERIFY(QDir().mkpath(data + u"/Documenti_Allegati"_s));
    QVERIFY(writeAll(outside.filePath(u"fuori.pdf"_s), "fuori"));
    QString target = data + u"/Documenti_Allegati/verbale.pdf"_s;
    if (layout == u"file link"_s) {
        QVERIFY(QFile::link(outside.filePath(u"fuori.pdf"_s), target));
    } else if (layout == u"dangling link"_s) {
        QVERIFY(QFile::link(outside.filePath(u"nuovo.pdf"_s), target));
    } else if (layout == u"folder link"_s) {
        QVERIFY(QDir(data + u"/Documenti_Allegati"_s).removeRecursively());
        QVERIFY(QFile::link(outside.path(), data + u"/Documenti_Allegati"_s));
        target = data + u"/Documenti_Allegati/fuori.pdf"_s;
    } else if (layout == u"reached through link"_s) {
        QVERIFY(QFile::link(data, dir.filePath(u"collegamento"_s)));
        data = dir.filePath(u"collegamento"_s);
        target = data + u"/Documenti_Allegati/verbale.pdf"_s;
    }
    const QStringList outsideBefore = entries(outside.path());

    QCOMPARE(writeWholeFile(target, "nuovo", data), written);
    QCOMPARE(readAll(outside.filePath(u"fuori.pdf"_s)), QByteArray("fuori"));
    QCOMPARE(entries(outside.path()), outsideBefore);
    if (written)
        QCOMPARE(readAll(target), QByteArray("nuovo"));
    else
        QVERIFY(QFileInfo(target).isSymLink() || QFileInfo(data + u"/Documenti_Allegati"_s).isSymLink());
    QCOMPARE(WholeFileWriter::passesThroughLink(data, target), !written);
}

QTEST_GUILESS_MAIN(TestWholeFileWriter)
#include "tst_WholeFileWriter.moc"
