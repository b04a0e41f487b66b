#include "bench/ExportBench.h"

#include "bench/BenchHarness.h"

#include "archives/StagedFile.h"
#include "archives/WholeFileWriter.h"
#include "grids/SpreadsheetDocument.h"
#include "grids/SpreadsheetWorkbook.h"
#include "grids/StringGridModel.h"
#include "history/Riepilogo.h"
#include "registry/ExpChiavi.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace ExportBench {

namespace {

// The grid's own columns after the number, with their titles and widths: the files' header cells
// (the exports' labels and widths differ a little, which costs nothing measurable).
QList<Spreadsheet::HeaderCell> headersOf(const StringGridModel& grid, QList<int>& columns)
{
    QList<Spreadsheet::HeaderCell> headers;
    columns.clear();
    for (int c = 1; c < grid.columns().size(); ++c) {
        headers.append({grid.columns()[c].title, grid.columns()[c].width});
        columns << c;
    }
    return headers;
}

bool measure(QTextStream& out, const BenchHarness& harness, const QString& what, const StringGridModel& grid,
             const QString& into, const QString& fileName)
{
    QList<int> columns;
    const QList<Spreadsheet::HeaderCell> headers = headersOf(grid, columns);
    const QString sheet = QFileInfo(fileName).completeBaseName();
    const QString document = into + fileName + u".xls"_s;
    const QString workbook = into + fileName + u".xlsx"_s;
    bool ok = true;
    const auto [documentMs, workbookMs] = harness.medians(
        [&] {
            WholeFileWriter file(document, into);
            ok = ok && file.open() && Spreadsheet::writeGrid(file.device(), sheet, headers, grid, columns) &&
                 file.commit();
        },
        [&] {
            StagedFile file(workbook, into);
            ok = ok && file.open() &&
                 Spreadsheet::writeGridWorkbook(file.temporaryPath(), sheet, headers, grid, columns) && file.commit();
        });
    if (!ok) {
        out << Name << ": " << what << ": a write failed\n";
        return false;
    }
    const auto line = [&](const QString& name, double ms, const QString& path) {
        out << qSetFieldWidth(46) << Qt::left << name << qSetFieldWidth(0) << Qt::right
            << QString::number(ms, 'f', 1).rightJustified(10) << " ms, "
            << QString::number(double(QFileInfo(path).size()) / (1024 * 1024), 'f', 1) << " MB\n";
    };
    out << Name << ", " << what << ": " << grid.rowCount() << " rows\n";
    line(u"  .xls (HTML document)"_s, documentMs, document);
    line(u"  .xlsx (workbook)"_s, workbookMs, workbook);
    out << "  .xlsx / .xls: x" << QString::number(workbookMs / documentMs, 'f', 2) << "\n";
    out.flush();
    return true;
}

} // namespace

bool run(QTextStream& out, const BenchHarness& harness, const QString& folder)
{
    AppContext ctx;
    ctx.programFolder = folder;
    // Written beside the data files, on their disk, in a folder of their own.
    QTemporaryDir writes(folder + u"writes-XXXXXX"_s);
    const QString into = writes.path() + u'/';

    bool ok = true;
    {
        TfrmExpChiavi cards(ctx);
        cards.FormShow();
        ok = measure(out, harness, u"every card"_s, *cards.grid(), into, u"Schedario_Pass"_s);
    }
    {
        TfrmRiepilogo history(ctx);
        history.setInterval(u"01/01/2020"_s, u"31/12/2020"_s);
        history.FormShow();
        ok = measure(out, harness, u"history of 2020"_s, *history.grid(), into, u"Storico_Operazioni"_s) && ok;
    }
    return ok;
}

} // namespace ExportBench
