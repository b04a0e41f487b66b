// The workbook beside the spreadsheet document, as a spreadsheet program reads it: LibreOffice,
// headless with a profile of its own, turns the .xlsx of an export into CSV, which must hold exactly
// the cells of the .xls written by the same export, each a text as it is (no number, date or
// formula made of it).
#include "grids/SpreadsheetExport.h"
#include "tests/grids/SpreadsheetFixture.h"
#include "tests/support/ScriptedSeams.h"

#include "archives/Win1252.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;
using namespace SpreadsheetFixture;

namespace {

using Table = QList<QStringList>;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of a cell of the document: Windows-1252 bytes with character references.
QString documentText(QByteArrayView bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char b = bytes[i];
        if (b != '&') {
            text += uchar(b) < 0x80 ? QString(QChar(char16_t(b))) : Win1252::decode(&b, 1);
            continue;
        }
        const qsizetype end = bytes.indexOf(';', i);
        const QByteArrayView name = bytes.sliced(i + 1, end - i - 1);
        if (name == "lt")
            text += u'<';
        else if (name == "gt")
            text += u'>';
        else if (name == "amp")
            text += u'&';
        else if (name == "quot")
            text += u'"';
        else if (name.startsWith('#'))
            text += QString::fromUcs4(std::array{char32_t(name.sliced(1).toUInt())}.data(), 1);
        else
            text += u"<unknown entity>"_s;
        i = end;
    }
    return text;
}

// The rows of the document's table, header row first, each cell as the program put it there.
Table documentTable(const QByteArray& document)
{
    Table table;
    static const QRegularExpression row(u"<tr>(.*?)</tr>"_s);
    static const QRegularExpression cell(u"<td[^>]*>(.*?)</td>"_s);
    // Read as Latin-1 so that every byte is one character and goes back unchanged.
    const QString latin = QString::fromLatin1(document);
    for (const auto& r : row.globalMatch(latin)) {
        QStringList cells;
        for (const auto& c : cell.globalMatch(r.captured(1)))
            cells << documentText(c.captured(1).toLatin1());
        table << cells;
    }
    return table;
}

// The rows of a CSV text (comma, double quotes doubled inside quoted fields).
Table csvTable(const QString& csv)
{
    Table table;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            row << field;
            table << row;
            row.clear();
            field.clear();
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        table << (row << field);
    return table;
}

// The file LibreOffice makes of `file` with the filter `to`, in `into`; empty when it failed.
QString convert(const QString& soffice, const QString& file, const QString& to, const QString& into)
{
    QTemporaryDir profile;
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, {u"-env:UserInstallation="_s + QUrl::fromLocalFile(profile.path()).toString(),
                           u"--headless"_s, u"--norestore"_s, u"--convert-to"_s, to, u"--outdir"_s, into, file});
    if (!office.waitForFinished(180000)) {
        office.kill();
        office.waitForFinished();
        qWarning() << "soffice did not finish";
        return QString();
    }
    const QString made = into + u'/' + QFileInfo(file).completeBaseName() + u'.' + to.section(u':', 0, 0);
    if (!QFileInfo::exists(made))
        qWarning() << "soffice made nothing:" << office.readAll();
    return QFileInfo::exists(made) ? made : QString();
}

// What LibreOffice's flat document (.fods) says of the worksheet's frame.
struct Frame
{
    QStringList sheets;
    QList<double> columnInches; // of the columns given a style of their own, in order
    QList<QList<bool>> bold;    // per row and cell that holds a text
    QStringList notTextCells;   // "row,cell: type" of every cell with content that is no text cell
};

Frame frameOf(const QByteArray& fods)
{
    Frame f;
    QHash<QString, double> columnWidths;
    QSet<QString> boldStyles, textStyles, textFormats;
    QString style;
    QXmlStreamReader xml(fods);
    int row = -1, cell = 0;
    bool inTable = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.isEndElement() && xml.name() == u"table")
                inTable = false;
            continue;
        }
        const auto a = xml.attributes();
        const QStringView name = xml.name();
        if (name == u"style") {
            style = a.value(QLatin1StringView("style:name")).toString();
            if (textFormats.contains(a.value(QLatin1StringView("style:data-style-name")).toString()))
                textStyles.insert(style);
        } else if (name == u"text-style") {
            textFormats.insert(a.value(QLatin1StringView("style:name")).toString());
        } else if (name == u"table-column-properties") {
            const QStringView width = a.value(QLatin1StringView("style:column-width"));
            if (width.endsWith(u"in"))
                columnWidths.insert(style, width.chopped(2).toDouble());
        } else if (name == u"text-properties" && a.value(QLatin1StringView("fo:font-weight")) == u"bold") {
            boldStyles.insert(style);
        } else if (name == u"table") {
            f.sheets << a.value(QLatin1StringView("table:name")).toString();
            inTable = true;
            row = -1;
        } else if (inTable && name == u"table-column" &&
                   !a.hasAttribute(QLatin1StringView("table:number-columns-repeated"))) {
            f.columnInches << columnWidths.value(a.value(QLatin1StringView("table:style-name")).toString());
        } else if (inTable && name == u"table-row") {
            ++row;
            cell = 0;
            f.bold.append(QList<bool>());
        } else if (inTable && name == u"table-cell") {
            const QString cellStyle = a.value(QLatin1StringView("table:style-name")).toString();
            const QStringView type = a.value(QLatin1StringView("office:value-type"));
            if (!type.isEmpty()) {
                f.bold.last() << boldStyles.contains(cellStyle);
                if (type != u"string" || !textStyles.contains(cellStyle))
                    f.notTextCells << u"%1,%2: %3"_s.arg(row).arg(cell).arg(type);
            }
            ++cell;
        }
    }
    // The sheet's empty rows after the last one written.
    while (!f.bold.isEmpty() && f.bold.last().isEmpty())
        f.bold.removeLast();
    return f;
}

} // namespace

class TestSpreadsheetWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void spreadsheetProgramReadsTheDocumentsCells();
    void sheetNameWidthsAndTextCells();

private:
    QString m_soffice;
    std::unique_ptr<TestContext> m_export;
    QTemporaryDir m_converted;
};

// Texts a spreadsheet program would make something else of, were they not text cells, and the
// characters of markup, CSV and the code page; one export of them for every test.
const Table Cards = {
    {u"00012"_s, u"=1+1"_s},
    {u"+39 02 1234"_s, u"-5"_s},
    {u"=SOMMA(A1:A2)"_s, u"1e5"_s},
    {u"12/03/2025"_s, u"0,50"_s},
    {u"Badge <vip> & \"ospiti\""_s, u"l'archivio; a, b"_s},
    {u"€ 5 – Città più"_s, u"VERO"_s},
    {QString(), QString()},
};

void TestSpreadsheetWorkbook::initTestCase()
{
    m_soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (m_soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");

    auto grid = gridOf(Cards);
    // An edited cell, with characters outside the code page.
    QVERIFY(grid->setData(grid->index(6, 2), u"  Łódź 😀  "_s));
    m_export = std::make_unique<TestContext>();
    TestContext& t = *m_export;
    t.messages.answers << true << false;
    Spreadsheet::run(nullptr, t.ctx,
                     {u"Schedario_Pass.xls"_s,
                      u"Schedario Pass"_s,
                      {{u"Numero identificativo"_s, 250}, {u"Note"_s, 350}},
                      grid.get(),
                      {1, 2}});
    QCOMPARE(t.messages.calls.size(), 2);
}

void TestSpreadsheetWorkbook::spreadsheetProgramReadsTheDocumentsCells()
{
    Table expected = {{u"Numero identificativo"_s, u"Note"_s}};
    expected += Cards;
    expected.last() = {QString(), u"Łódź 😀"_s};
    const Table document = documentTable(readAll(m_export->ctx.file(u"Schedario_Pass.xls"_s)));
    QCOMPARE(document, expected);

    const QString csv = convert(m_soffice, m_export->ctx.file(u"Schedario_Pass.xlsx"_s),
                                u"csv:Text - txt - csv (StarCalc):44,34,76"_s, m_converted.path());
    QVERIFY(!csv.isEmpty());
    QCOMPARE(csvTable(QString::fromUtf8(readAll(csv))), document);
}

void TestSpreadsheetWorkbook::sheetNameWidthsAndTextCells()
{
    const QString fods =
        convert(m_soffice, m_export->ctx.file(u"Schedario_Pass.xlsx"_s), u"fods"_s, m_converted.path());
    QVERIFY(!fods.isEmpty());
    const Frame f = frameOf(readAll(fods));
    QCOMPARE(f.sheets, QStringList{u"Schedario Pass"_s});
    // The document's widths are pixels, which LibreOffice shows at 72 to the inch.
    QCOMPARE(f.columnInches.size(), 2);
    QCOMPARE(qRound(f.columnInches[0] * 72), 250);
    QCOMPARE(qRound(f.columnInches[1] * 72), 350);
    // The header row in bold, the data rows not; every cell a text with the text format.
    QCOMPARE(f.bold.size(), 8);
    QCOMPARE(f.bold[0], (QList<bool>{true, true}));
    QCOMPARE(f.bold[1], (QList<bool>{false, false}));
    QCOMPARE(f.bold[7], QList<bool>{false});
    QCOMPARE(f.notTextCells, QStringList());
}

QTEST_MAIN(TestSpreadsheetWorkbook)
#include "tst_SpreadsheetWorkbook.moc"
