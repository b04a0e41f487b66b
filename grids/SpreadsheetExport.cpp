#include "grids/SpreadsheetExport.h"

#include "archives/StagedFile.h"
#include "archives/WholeFileWriter.h"
#include "grids/SpreadsheetWorkbook.h"
#include "grids/StringGridModel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Spreadsheet {

namespace {

const QString FirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                              u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
const QString OpenQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_s;
const QString FailureMessage = u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                               u"Accertarsi che il file di Excel non sia già aperto."_s;

// A file the operator made read-only is not replaced behind his back.
bool replaceable(const QString& path)
{
    const QFileInfo existing(path);
    return !existing.exists() || (existing.isFile() && existing.isWritable());
}

} // namespace

QString workbookName(const QString& fileName)
{
    return QFileInfo(fileName).completeBaseName() + u".xlsx"_s;
}

void run(QWidget* parent, AppContext& ctx, const Export& request)
{
    if (!ctx.messages->question(parent, FirstQuestion))
        return;

    const QString document = ctx.file(request.fileName);
    const QString workbook = ctx.file(workbookName(request.fileName));
    bool written = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Each new file replaces the old one only once it is whole and on disk: when it cannot be
        // written (the folder is not writable, the disk is full, the spreadsheet program holds the
        // old one, a link stands in its place), the old one stays as it was. Both are written and
        // synced before either is put in place: a failure of either then leaves both old files,
        // unless only the last rename fails.
        WholeFileWriter documentFile(document, ctx.programFolder);
        StagedFile workbookFile(workbook, ctx.programFolder);
        written =
            replaceable(document) && replaceable(workbook) && documentFile.open() &&
            writeGrid(documentFile.device(), request.sheetName, request.headers, *request.grid, request.columns) &&
            workbookFile.open() &&
            writeGridWorkbook(workbookFile.temporaryPath(), request.sheetName, request.headers, *request.grid,
                              request.columns) &&
            workbookFile.commit() && documentFile.commit();
        QApplication::restoreOverrideCursor();
    }
    if (!written) {
        ctx.messages->plain(parent, FailureMessage);
        return;
    }
    // The workbook is the file a spreadsheet program opens without a word about its format.
    if (ctx.messages->question(parent, OpenQuestion))
        ctx.shell->open(u'"' + QDir::toNativeSeparators(workbook) + u'"');
}

} // namespace Spreadsheet
