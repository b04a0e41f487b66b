#include "grids/SpreadsheetDocument.h"

#include "archives/Win1252.h"
#include "grids/StringGridModel.h"

#include <QIODevice>

#include <charconv>
#include <cstring>
#include <vector>

namespace Spreadsheet {

namespace {

// The frame before the worksheet name, between it and the header row, and after the last row.
constexpr char Opening[] = "<html"
                           " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
                           " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
                           " xmlns=\"http://www.w3.org/TR/REC-html40\">"
                           "<head>"
                           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                           "<!--[if gte mso 9]><xml>"
                           "<x:ExcelWorkbook>"
                           "<x:ExcelWorksheets>"
                           "<x:ExcelWorksheet>"
                           "<x:Name>";
constexpr char AfterName[] = "</x:Name>"
                             "<x:WorksheetOptions>"
                             "<x:Selected/>"
                             "<x:Panes>"
                             "<x:Pane>"
                             "<x:Number>1</x:Number>"
                             "<x:ActiveRow>3</x:ActiveRow>"
                             "</x:Pane>"
                             "</x:Panes>"
                             "<x:ProtectContents>False</x:ProtectContents>"
                             "<x:ProtectObjects>False</x:ProtectObjects>"
                             "<x:ProtectScenarios>False</x:ProtectScenarios>"
                             "</x:WorksheetOptions>"
                             "</x:ExcelWorksheet>"
                             "</x:ExcelWorksheets>"
                             "</x:ExcelWorkbook>"
                             "</xml><![endif]-->"
                             "</head>"
                             "<body>"
                             "<table x:str>";
constexpr char Closing[] = "</table></body></html>";
constexpr char HeaderCellStart[] = "<td style=\"text-align: left; font-weight: bold;\" width=";
// Every data cell is text-formatted, so that a spreadsheet program shows its text as it is and never
// takes it for a formula, a link, a number or a date ("=1+1", "+1", "00012"): Excel reads the number
// format "@" of the style, LibreOffice the one of the sdnum attribute.
constexpr char DataCellStart[] = "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">";

// The most bytes that one character of a cell takes in the document ("&#1114111;"; a pair of
// surrogates takes at most as many).
constexpr qsizetype MostBytesPerCharacter = 10;

template <qsizetype N> char* put(char* p, const char (&text)[N])
{
    std::memcpy(p, text, N - 1);
    return p + N - 1;
}

char* putReference(char* p, char32_t codePoint)
{
    *p++ = '&';
    *p++ = '#';
    p = std::to_chars(p, p + 8, quint32(codePoint)).ptr;
    *p++ = ';';
    return p;
}

// The bytes of a cell text written at `p`, at most MostBytesPerCharacter for each character;
// returns the end.
char* putCell(char* p, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'<':
            p = put(p, "&lt;");
            continue;
        case u'>':
            p = put(p, "&gt;");
            continue;
        case u'&':
            p = put(p, "&amp;");
            continue;
        case u'"':
            p = put(p, "&quot;");
            continue;
        case u'\r':
        case u'\n':
            // The document holds no line break; the spreadsheet shows a blank either way.
            p = putReference(p, c.unicode());
            continue;
        default:
            break;
        }
        if (c.unicode() < 0x80) {
            *p++ = char(c.unicode());
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            p = putReference(p, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (!c.isSurrogate() && Win1252::representable(text.sliced(i, 1))) {
            *p++ = Win1252::encode(text.sliced(i, 1)).at(0);
        } else {
            // A lone surrogate is no character: the replacement character stands for it.
            p = putReference(p, c.isSurrogate() ? char32_t(0xFFFD) : char32_t(c.unicode()));
        }
    }
    return p;
}

// The most bytes that one byte of a field takes in the document ("&quot;").
constexpr qsizetype MostBytesPerByte = 6;

// The field bytes of a cell (Windows-1252) written at `p` as putCell writes their text: every
// byte of the code page stands for itself in the document, so only the markup characters and the
// line breaks change. Returns the end.
char* putFieldBytes(char* p, QByteArrayView bytes)
{
    for (const char b : bytes) {
        switch (b) {
        case '<':
            p = put(p, "&lt;");
            break;
        case '>':
            p = put(p, "&gt;");
            break;
        case '&':
            p = put(p, "&amp;");
            break;
        case '"':
            p = put(p, "&quot;");
            break;
        case '\r':
        case '\n':
            p = putReference(p, uchar(b));
            break;
        default:
            *p++ = b;
            break;
        }
    }
    return p;
}

// putCell at the end of `out`.
void appendCell(QByteArray& out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * MostBytesPerCharacter);
    out.resize(putCell(out.data() + start, text) - out.constData());
}

// One cell of a data row: the bytes of a field as read, or a text.
struct Cell
{
    bool isText = false;
    QByteArrayView bytes;
    QString text;
};

// Fills the file in blocks rather than one small write per fragment.
class BlockWriter
{
public:
    explicit BlockWriter(QIODevice& out) : m_out(out) { m_block.reserve(BlockSize + 4096); }

    QByteArray& block() { return m_block; }
    bool step()
    {
        if (m_block.size() >= BlockSize)
            return flush();
        return m_ok;
    }
    bool flush()
    {
        if (m_ok && !m_block.isEmpty())
            // Written from its bytes: handed over whole, the block would be shared with the
            // device's buffer and this one would lose its room.
            m_ok = m_out.write(m_block.constData(), m_block.size()) == m_block.size();
        m_block.resize(0); // keeps its room for the next block
        return m_ok;
    }

private:
    static constexpr qsizetype BlockSize = 64 * 1024;
    QIODevice& m_out;
    QByteArray m_block;
    bool m_ok = true;
};

} // namespace

QByteArray cellBytes(QStringView text)
{
    QByteArray out;
    appendCell(out, text);
    return out;
}

namespace {

// The document, the cells of its data rows given by `cellOf(row, cell, Cell&)`. A row is written
// in place at once, in room made for it at the most it can take.
template <typename CellOf>
bool writeTable(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                const CellOf& cellOf)
{
    BlockWriter w(out);
    QByteArray& b = w.block();
    const auto add = [&b](const auto& text) { b.append(text, qsizetype(sizeof(text)) - 1); };
    add(Opening);
    appendCell(b, sheetName);
    add(AfterName);
    add("<tr>");
    for (const auto& h : headers) {
        add(HeaderCellStart);
        b += QByteArray::number(h.width);
        b += '>';
        appendCell(b, h.label);
        add("</td>");
    }
    add("</tr>");
    std::vector<Cell> cells(size_t(headers.size()));
    for (qint64 row = 0; row < rowCount; ++row) {
        qsizetype room = qsizetype(sizeof("<tr></tr>"));
        for (size_t cell = 0; cell < cells.size(); ++cell) {
            Cell& c = cells[cell];
            cellOf(row, int(cell), c);
            room += qsizetype(sizeof(DataCellStart) + sizeof("</td>")) +
                    (c.isText ? c.text.size() * MostBytesPerCharacter : c.bytes.size() * MostBytesPerByte);
        }
        const qsizetype start = b.size();
        b.resize(start + room);
        char* p = b.data() + start;
        p = put(p, "<tr>");
        for (const Cell& c : cells) {
            p = put(p, DataCellStart);
            p = c.isText ? putCell(p, c.text) : putFieldBytes(p, c.bytes);
            p = put(p, "</td>");
        }
        p = put(p, "</tr>");
        b.resize(p - b.constData());
        if (!w.step())
            return false;
    }
    add(Closing);
    return w.flush();
}

} // namespace

bool writeDocument(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                   const std::function<QString(qint64, int)>& cellText)
{
    return writeTable(out, sheetName, headers, rowCount, [&](qint64 row, int cell, Cell& c) {
        c.isText = true;
        c.text = cellText(row, cell);
    });
}

bool writeGrid(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, const StringGridModel& grid,
               const QList<int>& columns)
{
    return writeTable(out, sheetName, headers, grid.rowCount(), [&](qint64 row, int cell, Cell& c) {
        const int column = columns[cell];
        const std::optional<QByteArrayView> bytes = grid.fieldBytes(int(row), column);
        c.isText = !bytes;
        if (bytes) {
            c.bytes = *bytes;
        } else {
            const QString text = grid.cell(int(row), column);
            c.text = Win1252::trimmed(text).toString();
        }
    });
}

} // namespace Spreadsheet
