#pragma once

#include "grids/SpreadsheetDocument.h"
#include "shell/AppContext.h"

#include <QList>
#include <QString>

class QWidget;
class StringGridModel;

namespace Spreadsheet {

// What an export writes: the document's file (in the ProgramFolder; the workbook takes the same
// name with ".xlsx"), the worksheet, the header cells and,
// for each of them in order, the grid column whose trimmed cells fill it.
struct Export
{
    QString fileName;
    QString sheetName;
    QList<HeaderCell> headers;
    const StringGridModel* grid = nullptr;
    QList<int> columns;
};

// The workbook written beside the document `fileName`: its name with ".xlsx"
// ("Schedario_Pass.xls" gives "Schedario_Pass.xlsx").
QString workbookName(const QString& fileName);

// The export procedure shared by the card and history exports: asks whether to go on, writes the
// document and the workbook beside it (replacing an existing file only once the new one is whole),
// asks whether to open the workbook and hands it to the desktop. A failure of either file shows
// the failure message; the window stays open in every case.
void run(QWidget* parent, AppContext& ctx, const Export& request);

} // namespace Spreadsheet
