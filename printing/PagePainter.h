#pragma once

#include "printing/PreparedPages.h"

#include <QList>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

// Paints prepared pages onto any paint device: a printer, a PDF writer or an image.
namespace PagePainter {

// Told as a job starts (0 done) and after each sheet that went to the device: how many of the
// job's sheets are done, of how many. Answering false stops the job there.
using PaintProgress = std::function<bool(int done, int total)>;

struct PaintResult
{
    enum class Status
    {
        Painted, // every sheet went to the device
        Stopped, // the progress asked to stop: nothing of the job is left on a printer
        Failed,  // `error` says why
    };
    Status status = Status::Painted;
    QString error;

    bool painted() const { return status == Status::Painted; }
};

// Paints one page. The painter's origin is the top-left corner of the printable area; one unit
// is 1/96 inch of the painter's device, so the fonts keep their point sizes on any resolution.
void paintPage(QPainter& painter, const PreparedPage& page);

// Sets the device up for the document (A4, its orientation, margins of 10 mm, its name as the
// title where the device keeps one) and paints the pages of `sequence` (0-based indexes into
// the document's pages, a page may come more than once), one sheet each, telling `progress`
// after each sheet.
// A job stopped by `progress` leaves nothing behind on a printer: a platform that can withdraw
// a print job (QPrinter::abort()) is asked to; a job printed to a file removes the file; a job for
// a print queue that cannot be withdrawn (Qt's CUPS printing) is handed over with an option the
// queue refuses, so that it is never queued. Any other device (a PDF writer, an image) keeps the
// sheets painted so far.
PaintResult paint(QPagedPaintDevice& device, const PreparedDocument& document, const QList<int>& sequence,
                  const PaintProgress& progress = {});

// The order in which to paint the chosen pages (1-based numbers, ascending) when the device does
// not make the copies itself: each copy whole one after the other (collated) or each page
// repeated, the last page first when asked. Gives 0-based indexes.
QList<int> pageSequence(const QList<int>& chosenPages, int copies, bool collate, bool lastPageFirst);

// Test and measurement seams; the program never sets them.
struct Seams
{
    // Every line of a box with word wrap off measured to find where it is cut, as for a
    // proportional font, also where its characters could be counted.
    static inline bool measureEveryLine = false;
};

} // namespace PagePainter
