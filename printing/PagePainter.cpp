#include "printing/PagePainter.h"

#include "printing/LineCutter.h"
#include "printing/Units.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>

#include <algorithm>
#include <memory>
#include <vector>

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

// The line cutters of one job, one for each font: each learns the advances of the characters
// it meets once for all the pages.
class Cutters
{
public:
    explicit Cutters(const QPaintDevice* device) : m_device(device) {}

    const LineCutter& of(const QFont& font)
    {
        for (const auto& [known, cutter] : m_cutters)
            if (known == font)
                return *cutter;
        const auto way = PagePainter::Seams::measureEveryLine ? LineCutter::Way::Measuring : LineCutter::Way::Counting;
        m_cutters.emplace_back(font, std::make_unique<LineCutter>(font, m_device, way));
        return *m_cutters.back().second;
    }

private:
    const QPaintDevice* m_device;
    std::vector<std::pair<QFont, std::unique_ptr<LineCutter>>> m_cutters;
};

// Where the character of a counted line that comes `count` characters after its first starts:
// the painter places text at whole 64ths of a pixel, truncating, and a counted line's characters
// start at such positions from its own, so any piece of the line drawn from there is placed
// exactly where the whole line would have put it.
double countedX(QPointF at, qsizetype count, double pitch)
{
    return double(qint64(at.x() * 64) + count * qint64(pitch * 64)) / 64;
}

// Draws the first `length` characters of a counted line (see LineCutter::Fit) with its first
// character at `at`, leaving out the runs of two or more blanks (the padding of the list columns,
// about a third of a list's characters): each piece is drawn where the whole line would have put
// it, so the page looks the same, but a printer's PDF has that many fewer glyphs to write and
// compress.
void drawCounted(QPainter& painter, QPointF at, const QString& line, qsizetype length, double pitch)
{
    const QChar* text = line.constData();
    const auto blank = [&](qsizetype i) { return i < length && text[i] == u' '; };
    qsizetype start = 0;
    while (start < length) {
        if (blank(start) && blank(start + 1)) {
            while (blank(start))
                ++start;
            continue;
        }
        qsizetype end = start + 1;
        while (end < length && !(blank(end) && blank(end + 1)))
            ++end;
        painter.drawText(QPointF(countedX(at, start, pitch), at.y()), QString::fromRawData(text + start, end - start));
        start = end;
    }
}

// The glyphs of the counted lines of a box whose font draws each character as a glyph of its own
// (LineCutter::drawsGlyphs()), drawn together as one glyph run: the same glyphs at the same places
// as drawing each line's text, without laying every line out again, and with no glyph for the
// blanks, which draw nothing.
class CountedGlyphs
{
public:
    void add(QPointF at, const QString& line, qsizetype length, const LineCutter& cutter)
    {
        for (qsizetype i = 0; i < length; ++i) {
            const QChar c = line.at(i);
            if (c == u' ')
                continue;
            m_glyphs.push_back(cutter.glyphOf(c));
            m_positions.emplace_back(countedX(at, i, cutter.pitch()), at.y());
        }
    }

    // Draws what was added, in `font`, and starts again.
    void draw(QPainter& painter, const QRawFont& font)
    {
        if (m_glyphs.empty())
            return;
        QGlyphRun run;
        run.setRawFont(font);
        run.setRawData(m_glyphs.data(), m_positions.data(), int(m_glyphs.size()));
        painter.drawGlyphRun(QPointF(0, 0), run);
        m_glyphs.clear();
        m_positions.clear();
    }

private:
    std::vector<quint32> m_glyphs;
    std::vector<QPointF> m_positions;
};

void paintText(QPainter& painter, const PreparedItem& item, double scale, Cutters& cutters, CountedGlyphs& glyphs)
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
        const LineCutter& cutter = cutters.of(font);
        const QFontMetricsF& metrics = cutter.metrics();
        for (qsizetype i = 0; i < item.lines.size(); ++i) {
            const QString& line = item.lines.at(i);
            const double top = (item.firstLineTop + item.linePitch * double(i)) * scale;
            if (top >= box.bottom())
                break;
            const LineCutter::Fit fit = cutter.fit(line, box.width());
            double x = box.left();
            if (centred && fit.advance <= box.width())
                x += (box.width() - fit.advance) / 2;
            const QPointF at(x, top + metrics.ascent());
            if (fit.counted && cutter.drawsGlyphs()) {
                glyphs.add(at, line, fit.length, cutter);
                continue;
            }
            glyphs.draw(painter, cutter.rawFont()); // the lines in their order
            if (fit.counted)
                drawCounted(painter, at, line, fit.length, cutter.pitch());
            else if (fit.length < line.size())
                painter.drawText(at, line.left(fit.length)); // cut, never wrapped
            else
                painter.drawText(at, line);
        }
        glyphs.draw(painter, cutter.rawFont());
    }
    painter.restore();
}

} // namespace

namespace PagePainter {

namespace {

void paintPage(QPainter& painter, const PreparedPage& page, Cutters& cutters, CountedGlyphs& glyphs)
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
            paintText(painter, item, scale, cutters, glyphs);
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

PaintResult failed(const QString& error)
{
    return {PaintResult::Status::Failed, error};
}

// Qt's key for the CUPS options of a job (its print dialog's own); QtPrintSupport keeps it in a
// private header.
constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Ends a job the operator stopped, leaving nothing of it on the printer.
PaintResult stop(QPainter& painter, QPagedPaintDevice& device)
{
    auto* printer = dynamic_cast<QPrinter*>(&device);
    if (!printer || printer->abort()) { // withdrawn by the platform (Windows, macOS)
        painter.end();
        return {PaintResult::Status::Stopped, QString()};
    }
    // Qt's PDF engines cannot abort: ending the painting completes the file, or hands the spool
    // file to the CUPS queue. A file printed to is removed. For a queue, a copy count of 0 makes
    // the CUPS server refuse the job, which then never enters the queue; Qt removes the spool file.
    const QString file = printer->outputFileName();
    if (file.isEmpty() && printer->outputFormat() == QPrinter::NativeFormat) {
        QPrintEngine* engine = printer->printEngine();
        engine->setProperty(QPrintEngine::PPK_CopyCount, 1); // no copy count of Qt's own
        QStringList options = engine->property(CupsOptions).toStringList();
        options << u"copies"_s << u"0"_s;
        engine->setProperty(CupsOptions, options);
    }
    painter.end();
    if (!file.isEmpty())
        QFile::remove(file);
    return {PaintResult::Status::Stopped, QString()};
}

} // namespace

void paintPage(QPainter& painter, const PreparedPage& page)
{
    Cutters cutters(painter.device());
    CountedGlyphs glyphs;
    paintPage(painter, page, cutters, glyphs);
}

PaintResult paint(QPagedPaintDevice& device, const PreparedDocument& document, const QList<int>& sequence,
                  const PaintProgress& progress)
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

    QList<int> sheets;
    for (int index : sequence)
        if (index >= 0 && index < document.pages.size())
            sheets << index;

    QPainter painter;
    if (!painter.begin(&device))
        return failed(u"Impossibile avviare la stampa del documento \u201c%1\u201d."_s.arg(document.name));

    // The pages are designed from the top-left of a printable area 10 mm inside the paper's edge;
    // a printer that cannot print that close to the edge has moved its origin further in.
    const QPageLayout actual = device.pageLayout();
    const int dpi = device.logicalDpiX();
    const QPointF designOrigin(Units::MarginMm / 25.4 * dpi, Units::MarginMm / 25.4 * dpi);
    const QPointF deviceOrigin =
        actual.mode() == QPageLayout::FullPageMode ? QPointF(0, 0) : QPointF(actual.paintRectPixels(dpi).topLeft());
    painter.translate(designOrigin - deviceOrigin);

    Cutters cutters(&device);
    CountedGlyphs glyphs;
    const int total = int(sheets.size());
    if (progress && total > 0 && !progress(0, total))
        return stop(painter, device);
    for (int done = 0; done < total;) {
        if (done > 0 && !device.newPage()) {
            painter.end();
            return failed(
                u"Impossibile passare alla pagina successiva del documento \u201c%1\u201d."_s.arg(document.name));
        }
        painter.save();
        paintPage(painter, document.pages.at(sheets.at(done)), cutters, glyphs);
        painter.restore();
        ++done;
        if (progress && !progress(done, total))
            return stop(painter, device);
    }
    if (!painter.end())
        return failed(u"La stampa del documento \u201c%1\u201d non è stata completata."_s.arg(document.name));
    if (auto* printer = dynamic_cast<QPrinter*>(&device); printer && printer->printerState() == QPrinter::Error)
        return failed(u"La stampante ha segnalato un errore durante la stampa del documento \u201c%1\u201d."_s.arg(
            document.name));
    return {};
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
