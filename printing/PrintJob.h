#pragma once

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
// painted here only when the printer does not make them itself; duplex is the driver's). Gives
// the error's text, or an empty text when the job was handed to the printer.
QString print(QPrinter& printer, const PreparedDocument& document);

} // namespace PrintJob
