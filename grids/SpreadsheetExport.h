#pragma once

#include "grids/SpreadsheetDocument.h"
#include "shell/AppContext.h"

#include <QList>
#include <QString>

class QWidget;
class StringGridModel;

namespace Spreadsheet {

// What an export writes: the file (in the ProgramFolder), the worksheet, the header cells and,
// for each of them in order, the grid column whose trimmed cells fill it.
struct Export
{
    QString fileName;
    QString sheetName;
    QList<HeaderCell> headers;
    const StringGridModel* grid = nullptr;
    QList<int> columns;
};

// The export procedure shared by the card and history exports: asks whether to go on, writes the
// file (replacing an existing one only once the new one is whole), asks whether to open it and
// hands it to the desktop. A failure shows its message; the window stays open in every case.
void run(QWidget* parent, AppContext& ctx, const Export& request);

} // namespace Spreadsheet
