#include "printing/PagePainter.h"

#include "printing/Units.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QFont fontOf(const TextStyle& style)
{
    QFont font(style.family);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    font.setKerning(false); // the same advance for a text wherever it is measured
    return font;
}

// How many characters of `line` start left of `width`: a line that does not fit is cut at the
// box's right edge, the last of them drawn in part.
qsizetype visibleLength(const QFontMetricsF& metrics, const QString& line, double width)
{
    qsizetype low = 0; // characters known to start inside
    qsizetype high = line.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(line.left(mid - 1)) < width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

void paintText(QPainter& painter, const PreparedItem& item, double scale)
{
    const QRectF box(item.rect.left() * scale, item.rect.top() * scale, item.rect.width() * scale,
                     item.rect.height() * scale);
    if (item.fill.isValid())
        painter.fillRect(box, item.fill);
    if (item.lines.isEmpty())
        return;

    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    const QFont font = fontOf(item.style);
    painter.setFont(font);
    painter.setPen(item.style.colour);
    const bool centred = item.style.alignment & Qt::AlignHCenter;

    if (item.style.wordWrap) {
        const Qt::Alignment horizontal = centred ? Qt::AlignHCenter : Qt::AlignLeft;
        const Qt::Alignment vertical = item.style.alignment & Qt::AlignVCenter ? Qt::AlignVCenter : Qt::AlignTop;
        painter.drawText(box, int(horizontal | vertical) | Qt::TextWordWrap, item.lines.join(u'\n'));
    } else {
        const QFontMetricsF metrics(font, painter.device());
        for (qsizetype i = 0; i < item.lines.size(); ++i) {
            QString line = item.lines.at(i);
            const double top = (item.firstLineTop + item.linePitch * double(i)) * scale;
            if (top >= box.bottom())
                break;
            double advance = metrics.horizontalAdvance(line);
            double x = box.left();
            if (advance > box.width()) {
                line.truncate(visibleLength(metrics, line, box.width())); // cut, never wrapped
            } else if (centred) {
                x += (box.width() - advance) / 2;
            }
            painter.drawText(QPointF(x, top + metrics.ascent()), line);
        }
    }
    painter.restore();
}

} // namespace

namespace PagePainter {

void paintPage(QPainter& painter, const PreparedPage& page)
{
    const double scale = painter.device()->logicalDpiX() / Units::PerInch;
    const QPen thin(Qt::black, scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (const PreparedItem& item : page.items) {
        const QRectF r(item.rect.left() * scale, item.rect.top() * scale, item.rect.width() * scale,
                       item.rect.height() * scale);
        switch (item.kind) {
        case PreparedItem::Kind::Text:
            paintText(painter, item, scale);
            break;
        case PreparedItem::Kind::Rectangle:
            if (item.fill.isValid())
                painter.fillRect(r, item.fill);
            painter.setPen(thin);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
            break;
        case PreparedItem::Kind::Line:
            painter.setPen(thin);
            painter.drawLine(r.topLeft(), item.orientation == Qt::Horizontal ? r.topRight() : r.bottomLeft());
            break;
        }
    }
}

QString paint(QPagedPaintDevice& device, const PreparedDocument& document, const QList<int>& sequence)
{
    const QMarginsF margins(Units::MarginMm, Units::MarginMm, Units::MarginMm, Units::MarginMm);
    const QPageLayout layout(QPageSize(QPageSize::A4), document.orientation, margins, QPageLayout::Millimeter);
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setDocName(document.name);
        printer->setPageLayout(layout);
    } else {
        if (auto* writer = dynamic_cast<QPdfWriter*>(&device))
            writer->setTitle(document.name);
        device.setPageLayout(layout);
    }

    QPainter painter;
    if (!painter.begin(&device))
        return u"Impossibile avviare la stampa del documento \u201c%1\u201d."_s.arg(document.name);

    // The pages are designed from the top-left of a printable area 10 mm inside the paper's edge;
    // a printer that cannot print that close to the edge has moved its origin further in.
    const QPageLayout actual = device.pageLayout();
    const int dpi = device.logicalDpiX();
    const QPointF designOrigin(Units::MarginMm / 25.4 * dpi, Units::MarginMm / 25.4 * dpi);
    const QPointF deviceOrigin =
        actual.mode() == QPageLayout::FullPageMode ? QPointF(0, 0) : QPointF(actual.paintRectPixels(dpi).topLeft());
    painter.translate(designOrigin - deviceOrigin);

    bool first = true;
    for (int index : sequence) {
        if (index < 0 || index >= document.pages.size())
            continue;
        if (!first && !device.newPage()) {
            painter.end();
            return u"Impossibile passare alla pagina successiva del documento \u201c%1\u201d."_s.arg(document.name);
        }
        first = false;
        painter.save();
        paintPage(painter, document.pages.at(index));
        painter.restore();
    }
    if (!painter.end())
        return u"La stampa del documento \u201c%1\u201d non è stata completata."_s.arg(document.name);
    if (auto* printer = dynamic_cast<QPrinter*>(&device); printer && printer->printerState() == QPrinter::Error)
        return u"La stampante ha segnalato un errore durante la stampa del documento \u201c%1\u201d."_s.arg(
            document.name);
    return QString();
}

QList<int> pageSequence(const QList<int>& chosenPages, int copies, bool collate, bool lastPageFirst)
{
    QList<int> pages;
    for (int number : chosenPages)
        pages << number - 1;
    if (lastPageFirst)
        std::reverse(pages.begin(), pages.end());
    copies = std::max(1, copies);

    QList<int> sequence;
    if (collate) {
        for (int c = 0; c < copies; ++c)
            sequence << pages;
    } else {
        for (int page : pages)
            for (int c = 0; c < copies; ++c)
                sequence << page;
    }
    return sequence;
}

} // namespace PagePainter
