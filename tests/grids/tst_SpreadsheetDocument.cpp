// The spreadsheet document: cell texts, the frame byte for byte, and a grid written from its field
// bytes as from its texts.
#include "archives/Win1252.h"
#include "grids/SpreadsheetDocument.h"
#include "tests/grids/SpreadsheetFixture.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SpreadsheetFixture;

class TestSpreadsheetDocument : public QObject
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
};

void TestSpreadsheetDocument::cellTexts_data()
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

void TestSpreadsheetDocument::cellTexts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Spreadsheet::cellBytes(text), bytes);
}

void TestSpreadsheetDocument::documentByteForByte()
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

void TestSpreadsheetDocument::formulaLikeTextsStayText_data()
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

void TestSpreadsheetDocument::formulaLikeTextsStayText()
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

void TestSpreadsheetDocument::headerRowAloneForNoRows()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(Spreadsheet::writeDocument(out, u"Storico Operazioni"_s, {{u"Tipo pass"_s, 250}}, 0,
                                       [](qint64, int) { return QString(); }));
    QCOMPARE(out.data(), frame("Storico Operazioni", "<tr>" + headerCell("Tipo pass", 250) + "</tr>"));
}

void TestSpreadsheetDocument::gridFromFieldBytesAsFromTexts()
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

QTEST_GUILESS_MAIN(TestSpreadsheetDocument)
#include "tst_SpreadsheetDocument.moc"
