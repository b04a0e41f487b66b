// The spreadsheet document and the export procedure shared by the card and history exports.
#include "archives/FieldCodec.h"
#include "archives/Win1252.h"
#include "registry/SpreadsheetExport.h"
#include "registry/StringGridModel.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString FirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                              u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
const QString OpenQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_s;
const QString Failure = u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                        u"Accertarsi che il file di Excel non sia già aperto."_s;

// The frame of the document, one fragment per entry, in order, as the file must hold it.
QByteArray frame(const QByteArray& sheetName, const QByteArray& tableRows)
{
    const QByteArrayList fragments = {
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
        "xmlns=\"http://www.w3.org/TR/REC-html40\">",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
        "<!--[if gte mso 9]><xml>",
        "<x:ExcelWorkbook>",
        "<x:ExcelWorksheets>",
        "<x:ExcelWorksheet>",
        "<x:Name>" + sheetName + "</x:Name>",
        "<x:WorksheetOptions>",
        "<x:Selected/>",
        "<x:Panes>",
        "<x:Pane>",
        "<x:Number>1</x:Number>",
        "<x:ActiveRow>3</x:ActiveRow>",
        "</x:Pane>",
        "</x:Panes>",
        "<x:ProtectContents>False</x:ProtectContents>",
        "<x:ProtectObjects>False</x:ProtectObjects>",
        "<x:ProtectScenarios>False</x:ProtectScenarios>",
        "</x:WorksheetOptions>",
        "</x:ExcelWorksheet>",
        "</x:ExcelWorksheets>",
        "</x:ExcelWorkbook>",
        "</xml><![endif]-->",
        "</head>",
        "<body>",
        "<table x:str>",
        tableRows,
        "</table>",
        "</body>",
        "</html>",
    };
    return fragments.join();
}

QByteArray headerCell(const QByteArray& label, int width)
{
    return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" + label +
           "</td>";
}

// A data cell: text-formatted for the spreadsheet programs (Excel reads the number format of the
// style, LibreOffice the sdnum attribute), so that its text is shown as it is and never taken for a
// number, a date or a formula.
QByteArray dataCell(const QByteArray& text)
{
    return "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + text + "</td>";
}

// A grid of two text columns after the number column, filled from the given rows.
std::unique_ptr<StringGridModel> gridOf(const QList<QStringList>& rows)
{
    auto grid = std::make_unique<StringGridModel>(
        QList<StringGridModel::Column>{{u"N."_s, 60}, {u"Codice"_s, 100}, {u"Note"_s, 100, true}});
    const StringGridModel::Field fields[] = {{0, 50}, {51, 50}};
    StringGridModel::Rows built(2);
    char record[102];
    for (int r = 0; r < rows.size(); ++r) {
        FieldCodec::write(record, 0, 50, rows[r][0]);
        FieldCodec::write(record, 51, 50, rows[r][1]);
        built.append(r + 1, record, fields);
    }
    grid->setRows(std::move(built));
    return grid;
}

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
    void cellTexts_data();
    void cellTexts();
    void documentByteForByte();
    void formulaLikeTextsStayText_data();
    void formulaLikeTextsStayText();
    void headerRowAloneForNoRows();
    void gridFromFieldBytesAsFromTexts();
    void noLeavesTheOldFileUntouched();
    void exportReplacesTheOldFileAndOpensIt();
    void noToOpeningKeepsTheFile();
    void unwritableTargetGivesTheFailureMessage();
};

void TestSpreadsheetExport::cellTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << u"Ingresso principale"_s << QByteArray("Ingresso principale");
    QTest::newRow("markup characters") << u"a < b & \"c\" > d"_s << QByteArray("a &lt; b &amp; &quot;c&quot; &gt; d");
    QTest::newRow("apostrophe stays") << u"l'archivio"_s << QByteArray("l'archivio");
    QTest::newRow("accented letters in the code page") << u"Città più così"_s << QByteArray("Citt\xe0 pi\xf9 cos\xec");
    QTest::newRow("euro sign and quotes of the code page") << u"€ 5 “ok”"_s << QByteArray("\x80 5 \x93ok\x94");
    QTest::newRow("letter outside the code page") << u"Łódź"_s
                                                  << QByteArray("&#321;\xf3"
                                                                "d&#378;");
    QTest::newRow("character beyond 16 bits") << u"ok 😀"_s << QByteArray("ok &#128512;");
    QTest::newRow("line break") << u"a\r\nb"_s << QByteArray("a&#13;&#10;b");
    QTest::newRow("an existing entity is text") << u"&amp;"_s << QByteArray("&amp;amp;");
    QTest::newRow("control characters, a code the page leaves unassigned, one it lacks")
        << QString(u"\t\x01|\u0081|\u0080|\u00a0"_s) << QByteArray("\t\x01|\x81|&#128;|\xa0");
    QTest::newRow("lone surrogates") << QString(u"a"_s + QChar(0xD800) + u"b"_s + QChar(0xDC00))
                                     << QByteArray("a&#65533;b&#65533;");
}

void TestSpreadsheetExport::cellTexts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Spreadsheet::cellBytes(text), bytes);
}

void TestSpreadsheetExport::documentByteForByte()
{
    const QList<Spreadsheet::HeaderCell> headers = {{u"Codice"_s, 250}, {u"Note"_s, 350}};
    const QList<QStringList> rows = {
        {u"B-01"_s, u"a < b & \"c\""_s},
        {u"Città"_s, u"€ Ł"_s},
        {QString(), QString()},
    };
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(Spreadsheet::writeDocument(out, u"Schedario Pass"_s, headers, rows.size(),
                                       [&](qint64 row, int cell) { return rows[row][cell]; }));

    const QByteArray expected =
        frame("Schedario Pass", "<tr>" + headerCell("Codice", 250) + headerCell("Note", 350) + "</tr>" + //
                                    "<tr>" + dataCell("B-01") + dataCell("a &lt; b &amp; &quot;c&quot;") + "</tr>" +
                                    "<tr>" + dataCell("Citt\xe0") + dataCell("\x80 &#321;") + "</tr>" + //
                                    "<tr>" + dataCell("") + dataCell("") + "</tr>");
    QCOMPARE(out.data(), expected);
    QVERIFY(!out.data().contains('\n'));
    QVERIFY(!out.data().contains('\r'));
    QVERIFY(!out.data().startsWith("\xef\xbb\xbf"));
}

void TestSpreadsheetExport::formulaLikeTextsStayText_data()
{
    // Texts that a spreadsheet program would otherwise take for a formula, a link, a number or a
    // reference. A cell starting with a tab or a line break is trimmed to the same texts.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("sum") << u"=1+1"_s << QByteArray("=1+1");
    QTest::newRow("link") << u"=HYPERLINK(\"http://x\";\"y\")"_s
                          << QByteArray("=HYPERLINK(&quot;http://x&quot;;&quot;y&quot;)");
    QTest::newRow("command") << u"=cmd|' /C calc'!A0"_s << QByteArray("=cmd|' /C calc'!A0");
    QTest::newRow("plus") << u"+1"_s << QByteArray("+1");
    QTest::newRow("minus") << u"-1"_s << QByteArray("-1");
    QTest::newRow("at") << u"@A1"_s << QByteArray("@A1");
    QTest::newRow("leading zeros") << u"00012"_s << QByteArray("00012");
    QTest::newRow("after a tab and a line break") << u"\t\r\n=1+1"_s << QByteArray("=1+1");
}

void TestSpreadsheetExport::formulaLikeTextsStayText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    // From the field's bytes and from the edited cell's text alike.
    auto grid = gridOf({{text, u"nota"_s}});
    QVERIFY(grid->setData(grid->index(0, 2), text));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(Spreadsheet::writeGrid(out, u"Schedario Pass"_s, {{u"Codice"_s, 250}, {u"Note"_s, 350}}, *grid, {1, 2}));
    QCOMPARE(out.data(), frame("Schedario Pass", "<tr>" + headerCell("Codice", 250) + headerCell("Note", 350) +
                                                     "</tr><tr>" + dataCell(bytes) + dataCell(bytes) + "</tr>"));
}

void TestSpreadsheetExport::headerRowAloneForNoRows()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(Spreadsheet::writeDocument(out, u"Storico Operazioni"_s, {{u"Tipo pass"_s, 250}}, 0,
                                       [](qint64, int) { return QString(); }));
    QCOMPARE(out.data(), frame("Storico Operazioni", "<tr>" + headerCell("Tipo pass", 250) + "</tr>"));
}

void TestSpreadsheetExport::gridFromFieldBytesAsFromTexts()
{
    // The grid's fields go into the document from their bytes: the same bytes as from the trimmed
    // texts of the cells, for every byte of the code page, markup and line breaks, edited cells and
    // rows with nothing in them.
    QString everyCharacter;
    for (int b = 1; b < 256; ++b)
        everyCharacter += Win1252::decode(QByteArray(1, char(b)).constData(), 1);
    auto grid = gridOf({{u"B-01"_s, u"a < b & \"c\" > d"_s},
                        {everyCharacter.left(50), everyCharacter.mid(50, 50)},
                        {everyCharacter.mid(100, 50), everyCharacter.mid(150, 50)},
                        {everyCharacter.mid(200, 50), everyCharacter.mid(250)},
                        {u"riga\r\ndue"_s, u"Città € “ok”"_s},
                        {u"T-07"_s, u"da scrivere"_s}});
    QVERIFY(grid->setData(grid->index(5, 2), u"  Łódź <a>\t"_s));
    const QList<int> columns = {2, 0, 1};
    const QList<Spreadsheet::HeaderCell> headers = {{u"Note"_s, 350}, {u"N."_s, 60}, {u"Codice"_s, 250}};
    const auto check = [&](const StringGridModel& g) {
        QBuffer fromBytes, fromTexts;
        fromBytes.open(QIODevice::WriteOnly);
        fromTexts.open(QIODevice::WriteOnly);
        QVERIFY(Spreadsheet::writeGrid(fromBytes, u"Schedario Pass"_s, headers, g, columns));
        QVERIFY(Spreadsheet::writeDocument(
            fromTexts, u"Schedario Pass"_s, headers, g.rowCount(),
            [&](qint64 row, int cell) { return Win1252::trimmed(g.cell(int(row), columns[cell])).toString(); }));
        QCOMPARE(fromBytes.data(), fromTexts.data());
    };
    check(*grid);
    StringGridModel empty({{u"N."_s, 60}, {u"Codice"_s, 100}, {u"Note"_s, 100, true}});
    StringGridModel::Rows nothing(2);
    nothing.appendEmpty(2);
    empty.setRows(std::move(nothing));
    check(empty);

    QVERIFY(grid->fieldBytes(5, 2) == std::nullopt);
    QCOMPARE(grid->fieldBytes(5, 1).value(), QByteArrayView("T-07"));
}

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
