#include "registry/SpreadsheetExport.h"

#include "archives/Win1252.h"
#include "registry/StringGridModel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace Spreadsheet {

namespace {

const QString FirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                              u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
const QString OpenQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_s;
const QString FailureMessage = u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                               u"Accertarsi che il file di Excel non sia già aperto."_s;

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
constexpr char DataCellStart[] = "<td style=\"text-align: left;\">";

void appendReference(QByteArray& out, char32_t codePoint)
{
    out += "&#";
    out += QByteArray::number(quint32(codePoint));
    out += ';';
}

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
            m_ok = m_out.write(m_block) == m_block.size();
        m_block.clear();
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
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'<':
            out += "&lt;";
            continue;
        case u'&':
            out += "&amp;";
            continue;
        case u'"':
            out += "&quot;";
            continue;
        case u'\r':
        case u'\n':
            // The document holds no line break; the spreadsheet shows a blank either way.
            appendReference(out, c.unicode());
            continue;
        default:
            break;
        }
        if (c.unicode() < 0x80) {
            out += char(c.unicode());
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendReference(out, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (!c.isSurrogate() && Win1252::representable(text.sliced(i, 1))) {
            out += Win1252::encode(text.sliced(i, 1)).at(0);
        } else {
            // A lone surrogate is no character: the replacement character stands for it.
            appendReference(out, c.isSurrogate() ? char32_t(0xFFFD) : char32_t(c.unicode()));
        }
    }
    return out;
}

bool writeDocument(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                   const std::function<QString(qint64, int)>& cellText)
{
    BlockWriter w(out);
    QByteArray& b = w.block();
    b += Opening;
    b += cellBytes(sheetName);
    b += AfterName;
    b += "<tr>";
    for (const auto& h : headers) {
        b += HeaderCellStart;
        b += QByteArray::number(h.width);
        b += '>';
        b += cellBytes(h.label);
        b += "</td>";
    }
    b += "</tr>";
    for (qint64 row = 0; row < rowCount; ++row) {
        b += "<tr>";
        for (int cell = 0; cell < headers.size(); ++cell) {
            b += DataCellStart;
            b += cellBytes(cellText(row, cell));
            b += "</td>";
        }
        b += "</tr>";
        if (!w.step())
            return false;
    }
    b += Closing;
    return w.flush();
}

void run(QWidget* parent, AppContext& ctx, const Export& request)
{
    if (!ctx.messages->question(parent, FirstQuestion))
        return;

    const QString target = ctx.file(request.fileName);
    bool written = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The new file replaces the old one only once it is whole: when it cannot be written (the
        // folder is not writable, the spreadsheet program holds the old one), the old one stays.
        QSaveFile file(target);
        // A file the operator made read-only is not replaced behind his back.
        const QFileInfo existing(target);
        const bool replaceable = !existing.exists() || (existing.isFile() && existing.isWritable());
        if (replaceable && file.open(QIODevice::WriteOnly)) {
            const StringGridModel& grid = *request.grid;
            const bool complete =
                writeDocument(file, request.sheetName, request.headers, grid.rowCount(), [&](qint64 row, int cell) {
                    return Win1252::trimmed(grid.cell(int(row), request.columns[cell])).toString();
                });
            written = complete ? file.commit() : (file.cancelWriting(), false);
        }
        QApplication::restoreOverrideCursor();
    }
    if (!written) {
        ctx.messages->plain(parent, FailureMessage);
        return;
    }
    if (ctx.messages->question(parent, OpenQuestion))
        ctx.shell->open(u'"' + QDir::toNativeSeparators(target) + u'"');
}

} // namespace Spreadsheet
