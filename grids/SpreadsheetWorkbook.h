#pragma once

#include "grids/SpreadsheetDocument.h"

#include <QList>
#include <QString>

#include <functional>

class StringGridModel;

// The exports' table as an Office Open XML workbook (.xlsx), beside the HTML document that keeps its
// .xls name: one worksheet of the same name, the header row in bold, one row per data row, the
// columns as wide as the header cells ask (in pixels). Every cell is a text cell with the text
// format, so "00012" keeps its zeros and "=1+1" stays a text. The rows go to the file one by one,
// so a million of them take no more memory than one.
namespace Spreadsheet {

// Writes the workbook as the file `path` (the library opens it by name, so the caller gives a
// temporary name and puts the file in place itself). False when anything failed; what is at
// `path` is then of no use.
bool writeWorkbook(const QString& path, const QString& sheetName, const QList<HeaderCell>& headers, qint64 rowCount,
                   const std::function<QString(qint64 row, int cell)>& cellText);

// writeWorkbook over columns of a grid: the cells hold the trimmed texts of the grid's cells, as
// the document written by writeGrid does.
bool writeGridWorkbook(const QString& path, const QString& sheetName, const QList<HeaderCell>& headers,
                       const StringGridModel& grid, const QList<int>& columns);

} // namespace Spreadsheet
