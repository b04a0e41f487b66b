#pragma once

#include "printing/PagePainter.h"
#include "printing/PreparedPages.h"

#include <QList>
#include <QString>

class QPrinter;

// Printing a prepared document on a printer configured by the print dialog.
namespace PrintJob {

// The 1-based page numbers the operator chose: all pages, a page range, or the current page
// (the first: there is no preview to have another one current).
QList<int> chosenPages(const QPrinter& printer, int pageCount);

// Paints the chosen pages with the copies, collation and page order of the dialog (copies are
// painted here only when the printer does not make them itself; duplex is the driver's), telling
// `progress` after each sheet; a job it stops leaves nothing on the printer (see
// PagePainter::paint). A range past the last page prints nothing and counts as painted.
PagePainter::PaintResult print(QPrinter& printer, const PreparedDocument& document,
                               const PagePainter::PaintProgress& progress = {});

} // namespace PrintJob
