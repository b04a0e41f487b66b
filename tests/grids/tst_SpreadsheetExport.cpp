// The export procedure shared by the card and history exports: the questions, the file it writes
// or leaves alone, and the hand-over to the desktop.
#include "grids/SpreadsheetExport.h"
#include "tests/grids/SpreadsheetFixture.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace SpreadsheetFixture;

namespace {

const QString FirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                              u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
const QString OpenQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_s;
const QString Failure = u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                        u"Accertarsi che il file di Excel non sia già aperto."_s;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private slots:
    void noLeavesTheOldFileUntouched();
    void exportReplacesTheOldFileAndOpensIt();
    void noToOpeningKeepsTheFile();
    void failureOfEitherFileKeepsBoth_data();
    void failureOfEitherFileKeepsBoth();
};

void TestSpreadsheetExport::noLeavesTheOldFileUntouched()
{
    TestContext t;
    const QString target = t.ctx.file(u"Schedario_Pass.xls"_s);
    QVERIFY(writeAll(target, "old content"));
    QVERIFY(writeAll(t.ctx.file(u"Schedario_Pass.xlsx"_s), "old workbook"));

    auto grid = gridOf({{u"B-01"_s, u"nota"_s}});
    t.messages.answers.enqueue(false);
    Spreadsheet::run(nullptr, t.ctx,
                     {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}}, grid.get(), {1}});

    QCOMPARE(t.messages.texts(), QStringList{FirstQuestion});
    QCOMPARE(t.messages.calls.first().kind, MessageCall::Question);
    QCOMPARE(readAll(target), QByteArray("old content"));
    QCOMPARE(readAll(t.ctx.file(u"Schedario_Pass.xlsx"_s)), QByteArray("old workbook"));
    QVERIFY(t.shell.commands.isEmpty());
}

void TestSpreadsheetExport::exportReplacesTheOldFileAndOpensIt()
{
    TestContext t;
    const QString target = t.ctx.file(u"Schedario_Pass.xls"_s);
    // Longer than the new files: nothing of them may survive.
    QVERIFY(writeAll(target, QByteArray(100000, 'x')));
    QVERIFY(writeAll(t.ctx.file(u"Schedario_Pass.xlsx"_s), QByteArray(100000, 'x')));

    // Cells are written trimmed and in the order of the columns asked for.
    auto grid = gridOf({{u"B-01"_s, u"nota"_s}, {u"T-07"_s, u"Ufficio <A> & B"_s}});
    QVERIFY(grid->setData(grid->index(0, 2), u"  scritta a mano  "_s));
    t.messages.answers << true << true;
    Spreadsheet::run(
        nullptr, t.ctx,
        {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Note"_s, 350}, {u"Codice"_s, 250}}, grid.get(), {2, 1}});

    QCOMPARE(t.messages.texts(), (QStringList{FirstQuestion, OpenQuestion}));
    QCOMPARE(readAll(target),
             frame("Schedario Pass", "<tr>" + headerCell("Note", 350) + headerCell("Codice", 250) + "</tr><tr>" +
                                         dataCell("scritta a mano") + dataCell("B-01") + "</tr><tr>" +
                                         dataCell("Ufficio &lt;A&gt; &amp; B") + dataCell("T-07") + "</tr>"));
    // The workbook beside it replaces its old one too; the desktop opens the workbook, given by its
    // full path in double quotes, so that spaces in it do no harm.
    const QString workbook = t.ctx.file(u"Schedario_Pass.xlsx"_s);
    QVERIFY(readAll(workbook).startsWith("PK\x03\x04"));
    QCOMPARE(t.shell.commands, QStringList{u'"' + QDir::toNativeSeparators(workbook) + u'"'});
    QCOMPARE(QDir(t.ctx.programFolder).entryList(QDir::Files),
             (QStringList{u"Schedario_Pass.xls"_s, u"Schedario_Pass.xlsx"_s}));
}

void TestSpreadsheetExport::noToOpeningKeepsTheFile()
{
    TestContext t;
    auto grid = gridOf({{u"B-01"_s, u"nota"_s}});
    t.messages.answers << true << false;
    Spreadsheet::run(nullptr, t.ctx,
                     {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}}, grid.get(), {1}});
    QCOMPARE(t.messages.texts(), (QStringList{FirstQuestion, OpenQuestion}));
    QVERIFY(readAll(t.ctx.file(u"Schedario_Pass.xls"_s)).contains(dataCell("B-01")));
    QVERIFY(t.shell.commands.isEmpty());
}

void TestSpreadsheetExport::failureOfEitherFileKeepsBoth_data()
{
    QTest::addColumn<QString>("folderAt"); // the file a folder stands in place of, if any
    QTest::addColumn<qint64>("room");      // the bytes any file may grow to, or -1
    // Tests run as root, where permission bits stop no write: a folder standing where a file
    // should go cannot be replaced by a file, as a file held open by the spreadsheet program cannot.
    QTest::newRow("a folder in place of the document") << u"Schedario_Pass.xls"_s << qint64(-1);
    QTest::newRow("a folder in place of the workbook") << u"Schedario_Pass.xlsx"_s << qint64(-1);
#ifdef Q_OS_UNIX
    // Room for the document, not for the workbook: only the library's close of the workbook fails.
    QTest::newRow("a full disk while the workbook is written") << QString() << qint64(4000);
#endif
}

void TestSpreadsheetExport::failureOfEitherFileKeepsBoth()
{
    QFETCH(QString, folderAt);
    QFETCH(qint64, room);
    TestContext t;
    const QString document = t.ctx.file(u"Schedario_Pass.xls"_s);
    const QString workbook = t.ctx.file(u"Schedario_Pass.xlsx"_s);
    QStringList before;
    for (const QString& name : {u"Schedario_Pass.xls"_s, u"Schedario_Pass.xlsx"_s}) {
        if (name == folderAt) {
            QVERIFY(QDir(t.ctx.programFolder).mkdir(name));
            QVERIFY(writeAll(t.ctx.file(name + u"/keep.txt"_s), "kept"));
        } else {
            QVERIFY(writeAll(t.ctx.file(name), "previous " + name.toLatin1()));
            before << name;
        }
    }

    auto grid = gridOf({{u"B-01"_s, u"nota"_s}, {u"00012"_s, u"=1+1"_s}});
    {
        std::unique_ptr<FileSizeLimit> full;
        if (room >= 0) {
            full = std::make_unique<FileSizeLimit>(room);
            QVERIFY(full->isActive());
        }
        Spreadsheet::run(
            nullptr, t.ctx,
            {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}, {u"Note"_s, 350}}, grid.get(), {1, 2}});
    }

    QCOMPARE(t.messages.texts(), (QStringList{FirstQuestion, Failure}));
    QCOMPARE(t.messages.calls.last().kind, MessageCall::Plain);
    QVERIFY(t.shell.commands.isEmpty());
    if (!folderAt.isEmpty())
        QCOMPARE(readAll(t.ctx.file(folderAt + u"/keep.txt"_s)), QByteArray("kept"));
    for (const QString& name : std::as_const(before))
        QCOMPARE(readAll(t.ctx.file(name)), "previous " + name.toLatin1());
    // No half-written file left beside them.
    QCOMPARE(QDir(t.ctx.programFolder).entryList(QDir::Files, QDir::Name), before);

    // With the way clear the same export writes both.
    if (!folderAt.isEmpty())
        QVERIFY(QDir(t.ctx.file(folderAt)).removeRecursively());
    t.messages.answers << true << false;
    Spreadsheet::run(
        nullptr, t.ctx,
        {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}, {u"Note"_s, 350}}, grid.get(), {1, 2}});
    QCOMPARE(t.messages.texts().last(), OpenQuestion);
    QVERIFY(readAll(document).contains(dataCell("00012")));
    QVERIFY(readAll(workbook).startsWith("PK\x03\x04"));
}

QTEST_MAIN(TestSpreadsheetExport)
#include "tst_SpreadsheetExport.moc"
