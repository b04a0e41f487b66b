#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

class QIODevice;
class StringGridModel;

// The spreadsheet files of the exports: an HTML table with the workbook header of the Office HTML
// format, which spreadsheet programs open as a worksheet with one row per line of the table. The
// document alone, written to any device; the export procedure around it is SpreadsheetExport.
namespace Spreadsheet {

struct HeaderCell
{
    QString label;
    int width;
};

// A cell text as the document holds it: Windows-1252 bytes, with "&", "<", ">" and the double
// quote written as character references and every character the code page lacks (and a line break) as
// a numeric character reference, so that the spreadsheet shows exactly the text of the grid.
QByteArray cellBytes(QStringView text);

// Streams the document to `out`: the frame, the header row and `rowCount` data rows, each with
// one cell per header cell, whose texts `cellText(row, cell)` gives. No line break anywhere.
// False when a write fails.
bool writeDocument(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                   const std::function<QString(qint64 row, int cell)>& cellText);

// writeDocument over columns of a grid, with the same bytes as for the trimmed texts of its cells: a
// cell that shows its field as read goes from the field's bytes straight into the document, whose
// code page they are; a number or an edited cell goes as its trimmed text.
bool writeGrid(QIODevice& out, const QString& sheetName, const QList<HeaderCell>& headers, const StringGridModel& grid,
               const QList<int>& columns);

} // namespace Spreadsheet
