#include "grids/SpreadsheetWorkbook.h"

#include "archives/Win1252.h"
#include "grids/StringGridModel.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <array>
#include <string>
#include <vector>

namespace Spreadsheet {

namespace {

// The most characters a cell of a worksheet holds; a longer text (only an edited cell can be one)
// is cut there rather than failing the whole export.
constexpr qsizetype MostCharactersPerCell = 32767;

// The UTF-8 bytes of each Windows-1252 byte.
struct Utf8Of
{
    std::array<char, 3> bytes;
    quint8 size;
};

std::array<Utf8Of, 256> makeUtf8Table()
{
    std::array<Utf8Of, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QByteArray utf8 = Win1252::decode(&byte, 1).toUtf8();
        // decode() trims, so the blanks and control codes come back empty: they are ASCII and
        // stand for themselves.
        const QByteArray bytes = b < 0x80 ? QByteArray(1, byte) : utf8;
        table[size_t(b)].size = quint8(bytes.size());
        std::copy(bytes.begin(), bytes.end(), table[size_t(b)].bytes.begin());
    }
    return table;
}

// A cell's text as the library takes it: UTF-8 ending in a NUL. A NUL inside the text (which no
// worksheet can hold) is left out rather than cutting the text there.
void putFieldBytes(std::string& out, QByteArrayView bytes)
{
    static const std::array<Utf8Of, 256> table = makeUtf8Table();
    out.clear();
    for (const char b : bytes) {
        if (uchar(b) < 0x80) {
            if (b != '\0')
                out += b;
        } else {
            const Utf8Of& u = table[uchar(b)];
            out.append(u.bytes.data(), u.size);
        }
    }
}

void putText(std::string& out, QStringView text)
{
    if (text.size() > MostCharactersPerCell) {
        qsizetype cut = MostCharactersPerCell;
        if (text[cut - 1].isHighSurrogate())
            --cut;
        text = text.first(cut);
    }
    const QByteArray utf8 = text.toUtf8();
    out.clear();
    for (const char b : utf8) {
        if (b != '\0')
            out += b;
    }
}

// One cell of a data row: the bytes of a field as read, or a text.
struct Cell
{
    bool isText = false;
    QByteArrayView bytes;
    QString text;
};

// Closes (and so frees) the workbook in every case; only a close that wrote the file counts.
class Workbook
{
public:
    Workbook(const QString& path)
    {
        m_tmpdir = QFile::encodeName(QDir::tempPath());
        lxw_workbook_options options = {};
        // Each row goes to the library's temporary file as soon as the next one starts, and every
        // text is written in its cell rather than in a table of all the workbook's texts.
        options.constant_memory = LXW_TRUE;
        // The library's own temporary files go where the system's temporary folder is (TMPDIR).
        options.tmpdir = m_tmpdir.data();
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return m_book; }
    bool close()
    {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        return book && workbook_close(book) == LXW_NO_ERROR;
    }

private:
    QByteArray m_tmpdir;
    lxw_workbook* m_book = nullptr;
};

template <typename CellOf>
bool writeSheet(const QString& path, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                const CellOf& cellOf)
{
    // The header row and every data row must fit in the worksheet.
    if (rowCount >= qint64(LXW_ROW_MAX) || headers.size() > LXW_COL_MAX)
        return false;
    Workbook book(path);
    if (!book.get())
        return false;
    const QByteArray name = sheetName.toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), name.constData());
    lxw_format* text = workbook_add_format(book.get());
    lxw_format* header = workbook_add_format(book.get());
    if (!sheet || !text || !header)
        return false;
    // "@": the text format, so that what the operator types into a cell later stays a text too.
    format_set_num_format(text, "@");
    format_set_num_format(header, "@");
    format_set_bold(header);

    std::string utf8;
    for (int column = 0; column < headers.size(); ++column) {
        const lxw_col_t col = lxw_col_t(column);
        putText(utf8, headers[column].label);
        if (worksheet_set_column_pixels(sheet, col, col, quint32(headers[column].width), nullptr) != LXW_NO_ERROR ||
            worksheet_write_string(sheet, 0, col, utf8.c_str(), header) != LXW_NO_ERROR)
            return false;
    }
    Cell cell;
    for (qint64 row = 0; row < rowCount; ++row) {
        const lxw_row_t r = lxw_row_t(row + 1);
        for (int column = 0; column < headers.size(); ++column) {
            cellOf(row, column, cell);
            if (cell.isText)
                putText(utf8, cell.text);
            else
                putFieldBytes(utf8, cell.bytes);
            if (worksheet_write_string(sheet, r, lxw_col_t(column), utf8.c_str(), text) != LXW_NO_ERROR)
                return false;
        }
    }
    return book.close();
}

} // namespace

bool writeWorkbook(const QString& path, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                   const std::function<QString(qint64, int)>& cellText)
{
    return writeSheet(path, sheetName, headers, rowCount, [&](qint64 row, int cell, Cell& c) {
        c.isText = true;
        c.text = cellText(row, cell);
    });
}

bool writeGridWorkbook(const QString& path, const QString& sheetName, const QList<HeaderCell>& headers,
                       const StringGridModel& grid, const QList<int>& columns)
{
    return writeSheet(path, sheetName, headers, grid.rowCount(), [&](qint64 row, int cell, Cell& c) {
        const int column = columns[cell];
        const std::optional<QByteArrayView> bytes = grid.fieldBytes(int(row), column);
        c.isText = !bytes;
        if (bytes)
            c.bytes = *bytes;
        else
            c.text = Win1252::trimmed(grid.cell(int(row), column)).toString();
    });
}

} // namespace Spreadsheet
