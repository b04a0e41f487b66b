#pragma once

#include "printing/PreparedPages.h"

#include <QList>
#include <QString>

class QPagedPaintDevice;
class QPainter;

// Paints prepared pages onto any paint device: a printer, a PDF writer or an image.
namespace PagePainter {

// Paints one page. The painter's origin is the top-left corner of the printable area; one unit
// is 1/96 inch of the painter's device, so the fonts keep their point sizes on any resolution.
void paintPage(QPainter& painter, const PreparedPage& page);

// Sets the device up for the document (A4, its orientation, margins of 10 mm, its name as the
// title where the device keeps one) and paints the pages of `sequence` (0-based indexes into
// the document's pages, a page may come more than once), one sheet each. Gives the error's text,
// or an empty text when every page went to the device.
QString paint(QPagedPaintDevice& device, const PreparedDocument& document, const QList<int>& sequence);

// The order in which to paint the chosen pages (1-based numbers, ascending) when the device does
// not make the copies itself: each copy whole one after the other (collated) or each page
// repeated, the last page first when asked. Gives 0-based indexes.
QList<int> pageSequence(const QList<int>& chosenPages, int copies, bool collate, bool lastPageFirst);

} // namespace PagePainter
