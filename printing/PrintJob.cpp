#include "printing/PrintJob.h"

#include "printing/PagePainter.h"

#include <QPrinter>

namespace PrintJob {

QList<int> chosenPages(const QPrinter& printer, int pageCount)
{
    QList<int> pages;
    switch (printer.printRange()) {
    case QPrinter::CurrentPage:
        if (pageCount > 0)
            pages << 1;
        break;
    case QPrinter::PageRange: {
        const QPageRanges ranges = printer.pageRanges();
        for (int n = 1; n <= pageCount; ++n)
            if (ranges.isEmpty() ? n >= printer.fromPage() && (printer.toPage() == 0 || n <= printer.toPage())
                                 : ranges.contains(n))
                pages << n;
        break;
    }
    case QPrinter::AllPages:
    case QPrinter::Selection:
        for (int n = 1; n <= pageCount; ++n)
            pages << n;
        break;
    }
    return pages;
}

PagePainter::PaintResult print(QPrinter& printer, const PreparedDocument& document,
                               const PagePainter::PaintProgress& progress)
{
    const QList<int> pages = chosenPages(printer, int(document.pageCount()));
    if (pages.isEmpty())
        return {}; // a range past the last page: nothing to print
    const bool driverCopies = printer.supportsMultipleCopies();
    const QList<int> sequence =
        PagePainter::pageSequence(pages, driverCopies ? 1 : printer.copyCount(), printer.collateCopies(),
                                  printer.pageOrder() == QPrinter::LastPageFirst);
    return PagePainter::paint(printer, document, sequence, progress);
}

} // namespace PrintJob
