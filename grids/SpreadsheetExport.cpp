#include "grids/SpreadsheetExport.h"

#include "archives/WholeFileWriter.h"
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

} // namespace

void run(QWidget* parent, AppContext& ctx, const Export& request)
{
    if (!ctx.messages->question(parent, FirstQuestion))
        return;

    const QString target = ctx.file(request.fileName);
    bool written = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The new file replaces the old one only once it is whole and on disk: when it cannot be
        // written (the folder is not writable, the disk is full, the spreadsheet program holds the
        // old one, a link stands in its place), the old one stays as it was.
        WholeFileWriter file(target, ctx.programFolder);
        // A file the operator made read-only is not replaced behind his back.
        const QFileInfo existing(target);
        const bool replaceable = !existing.exists() || (existing.isFile() && existing.isWritable());
        if (replaceable && file.open())
            written = writeGrid(file.device(), request.sheetName, request.headers, *request.grid, request.columns) &&
                      file.commit();
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
