// The export procedure shared by the card and history exports: the questions, the file it writes
// or leaves alone, and the hand-over to the desktop.
#include "grids/SpreadsheetExport.h"
#include "tests/grids/SpreadsheetFixture.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

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

} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private slots:
    void noLeavesTheOldFileUntouched();
    void exportReplacesTheOldFileAndOpensIt();
    void noToOpeningKeepsTheFile();
    void unwritableTargetGivesTheFailureMessage();
};

void TestSpreadsheetExport::noLeavesTheOldFileUntouched()
{
    TestContext t;
    const QString target = t.ctx.file(u"Schedario_Pass.xls"_s);
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    auto grid = gridOf({{u"B-01"_s, u"nota"_s}});
    t.messages.answers.enqueue(false);
    Spreadsheet::run(nullptr, t.ctx,
                     {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}}, grid.get(), {1}});

    QCOMPARE(t.messages.texts(), QStringList{FirstQuestion});
    QCOMPARE(t.messages.calls.first().kind, MessageCall::Question);
    QCOMPARE(readAll(target), QByteArray("old content"));
    QVERIFY(t.shell.commands.isEmpty());
}

void TestSpreadsheetExport::exportReplacesTheOldFileAndOpensIt()
{
    TestContext t;
    const QString target = t.ctx.file(u"Schedario_Pass.xls"_s);
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x')); // longer than the new document: nothing of it may survive
    old.close();

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
    // The desktop gets the full path in double quotes, so that spaces in it do no harm.
    QCOMPARE(t.shell.commands, QStringList{u'"' + QDir::toNativeSeparators(target) + u'"'});
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

void TestSpreadsheetExport::unwritableTargetGivesTheFailureMessage()
{
    // Tests run as root, where permission bits stop no write: a folder standing where the file
    // should go cannot be replaced by a file, as a file held open by the spreadsheet program cannot.
    TestContext t;
    QVERIFY(QDir(t.ctx.programFolder).mkdir(u"Schedario_Pass.xls"_s));
    QFile inside(t.ctx.file(u"Schedario_Pass.xls/keep.txt"_s));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();

    auto grid = gridOf({{u"B-01"_s, u"nota"_s}});
    Spreadsheet::run(nullptr, t.ctx,
                     {u"Schedario_Pass.xls"_s, u"Schedario Pass"_s, {{u"Codice"_s, 250}}, grid.get(), {1}});

    QCOMPARE(t.messages.texts(), (QStringList{FirstQuestion, Failure}));
    QCOMPARE(t.messages.calls.last().kind, MessageCall::Plain);
    QVERIFY(t.shell.commands.isEmpty());
    QCOMPARE(readAll(t.ctx.file(u"Schedario_Pass.xls/keep.txt"_s)), QByteArray("kept"));
    // No half-written leftovers next to it.
    QCOMPARE(QDir(t.ctx.programFolder).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestSpreadsheetExport)
#include "tst_SpreadsheetExport.moc"
