#pragma once

#include "shell/AppContext.h"

#include <QString>
#include <QStringList>

class Document;
class QWidget;

// How a print ended, for the screen that asked for it.
struct PrintOutcome
{
    enum class Status
    {
        Printed,   // the chosen pages went to the printer
        Cancelled, // the operator cancelled the print dialog or stopped the job with "Annulla" in its
                   // progress window (nothing of it is left on the printer), or there is no printer
                   // (already told)
        Failed,    // the document or the printer failed; `error` says how
    };
    Status status = Status::Cancelled;
    QString error;

    bool printed() const { return status == Status::Printed; }
    bool failed() const { return status == Status::Failed; }
};

// The print action of every document: prepares it anew for today's date (nothing survives from an
// earlier print), asks the Printers seam for a printer with the page count, and prints what the
// operator chose there (page range, copies and collation, page order). Cancelling prints nothing
// and shows nothing. A job that lasts longer than a moment shows a progress window, "Stampa in
// corso: pagina n di m.", whose "Annulla" stops the job: nothing of it is left on the printer, and
// the window closes with nothing more said, as when the print dialog is cancelled.
PrintOutcome printDocument(AppContext& ctx, QWidget* parent, Document& document);

// Test seams; the program never sets them.
struct PrintSeams
{
    // The progress window shows once the job has lasted this long, or sooner when its pace says
    // it will last longer than this.
    static inline int progressAfterMs = 500;
};

// Prints a list document (see printing/ListDocument.h) with this title and these lines, each
// printed as it is.
PrintOutcome printList(AppContext& ctx, QWidget* parent, Document& listDocument, const QString& title,
                       const QStringList& lines);
