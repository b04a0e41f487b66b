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
        Cancelled, // the operator cancelled the dialog, or there is no printer (already told)
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
// and shows nothing.
PrintOutcome printDocument(AppContext& ctx, QWidget* parent, Document& document);

// Prints a list document (see printing/ListDocument.h) with this title and these lines, each
// printed as it is.
PrintOutcome printList(AppContext& ctx, QWidget* parent, Document& listDocument, const QString& title,
                       const QStringList& lines);
