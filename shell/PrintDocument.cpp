#include "shell/PrintDocument.h"

#include "printing/Document.h"
#include "printing/ListDocument.h"
#include "printing/PrintJob.h"

#include <QPrinter>

#include <exception>

using namespace Qt::StringLiterals;

PrintOutcome printDocument(AppContext& ctx, QWidget* parent, Document& document)
{
    PrintOutcome outcome;
    try {
        const PreparedDocument& prepared = document.prepare(ctx.clock->now().date());
        std::unique_ptr<QPrinter> printer = ctx.printers->choosePrinter(parent, int(prepared.pageCount()));
        if (!printer)
            return outcome; // cancelled, or no printer: nothing more to say
        outcome.error = PrintJob::print(*printer, prepared);
    } catch (const std::exception& e) {
        outcome.error = QString::fromLocal8Bit(e.what());
        if (outcome.error.isEmpty())
            outcome.error = u"Errore durante la stampa."_s;
    }
    outcome.status = outcome.error.isEmpty() ? PrintOutcome::Status::Printed : PrintOutcome::Status::Failed;
    return outcome;
}

PrintOutcome printList(AppContext& ctx, QWidget* parent, Document& listDocument, const QString& title,
                       const QStringList& lines)
{
    if (!ListDocument::fill(listDocument, title, lines))
        return {PrintOutcome::Status::Failed, u"Il documento di stampa non ha la struttura di un elenco."_s};
    return printDocument(ctx, parent, listDocument);
}
