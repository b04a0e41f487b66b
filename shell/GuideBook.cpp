#include "shell/GuideBook.h"

#include "shell/GuidePages.h"
#include "shell/Maker.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QColor SteelBlue(0x46, 0x82, 0xb4);
const QColor DeepBlue(0x1e, 0x3f, 0x66);
const QColor Crimson(0xdc, 0x14, 0x3c);
const QColor Ink(0x22, 0x2b, 0x36);
const QColor Rule(0x87, 0xce, 0xeb);

constexpr int Dpi = 300;

int mm(double millimetres)
{
    return qRound(millimetres * Dpi / 25.4);
}

// Fonts are given in points and drawn on a 300 dpi page. A hair of letter spacing keeps the shaper
// from joining "fi", "fl", "ffi" into ligatures, so that the guide's words can be searched and
// copied out of the PDF as they are written.
QFont font(const QString& family, double points, bool bold = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return f;
}

struct Section
{
    GuideTopic topic;
    std::unique_ptr<QTextDocument> body;
    int firstPage = 0; // 1-based page of the whole guide
};

std::unique_ptr<QTextDocument> layOut(const GuidePage& page, QPaintDevice* device, const QSizeF& area)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);
    doc->setPageSize(area);
    doc->setDefaultFont(font(u"Verdana"_s, 11));

    QTextCursor cursor(doc.get());
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignJustify);
    // The text layout measures margins in screen units (96 per inch) and scales them to the page.
    block.setBottomMargin(3.2 * 96 / 25.4);
    block.setLineHeight(130, QTextBlockFormat::ProportionalHeight);
    QTextCharFormat text;
    text.setFont(font(u"Verdana"_s, 11));
    text.setForeground(Ink);
    bool first = true;
    for (const QString& paragraph : page.paragraphs) {
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        cursor.insertText(paragraph, text);
        first = false;
    }
    return doc;
}

// The badge of the product, drawn as the program's icon shows it.
void drawBadge(QPainter& p, const QRectF& box)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 64.0, box.height() / 64.0);
    QLinearGradient body(0, 4, 0, 60);
    body.setColorAt(0, SteelBlue);
    body.setColorAt(1, DeepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(14, 4, 36, 56), 6, 6);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(26, 8, 12, 4), 2, 2);
    p.setBrush(QColor(0xf5, 0xf5, 0xdc));
    p.drawEllipse(QPointF(32, 26), 8, 8);
    QPainterPath shoulders;
    shoulders.moveTo(20, 46);
    shoulders.quadTo(32, 32, 44, 46);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(0xff, 0xd7, 0x00));
    p.drawRoundedRect(QRectF(20, 50, 24, 4), 2, 2);
    p.restore();
}

void drawTitlePage(QPainter& p, const QRect& page, const std::vector<Section>& sections)
{
    const QRect band(page.left(), page.top(), page.width(), page.height() * 38 / 100);
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, DeepBlue);
    shade.setColorAt(1, SteelBlue);
    p.fillRect(band, shade);
    p.fillRect(QRect(band.left(), band.bottom() - mm(2), band.width(), mm(2)), QColor(0xff, 0xd3, 0x6b));

    const int badge = mm(38);
    const QRectF badgeBox(page.left() + mm(22), band.top() + mm(30), badge, badge);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(badgeBox.adjusted(mm(2), 0, -mm(2), 0), mm(4), mm(4));
    drawBadge(p, badgeBox.adjusted(mm(4), mm(3), -mm(4), -mm(3)));

    const int textLeft = page.left() + mm(22) + badge + mm(8);
    p.setPen(Qt::white);
    p.setFont(font(u"Verdana"_s, 40, true));
    p.drawText(QRect(textLeft, band.top() + mm(30), page.right() - textLeft, mm(20)), Qt::AlignLeft | Qt::AlignVCenter,
               u"Ingressario"_s);
    p.setFont(font(u"Verdana"_s, 17));
    p.drawText(QRect(textLeft, band.top() + mm(52), page.right() - textLeft, mm(12)), Qt::AlignLeft | Qt::AlignVCenter,
               u"Guida all'utilizzo del software"_s);

    const QRect intro(page.left() + mm(22), band.bottom() + mm(16), page.width() - mm(44), mm(24));
    p.setPen(DeepBlue);
    p.setFont(font(u"Verdana"_s, 12));
    p.drawText(intro, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               u"Software per registrare il ritiro e la riconsegna dei pass di ingresso nella propria azienda e "
               u"visualizzare lo storico delle operazioni."_s);

    // Contents.
    int y = intro.bottom() + mm(12);
    p.setPen(Crimson);
    p.setFont(font(u"Arial"_s, 16, true));
    p.drawText(QRect(intro.left(), y, intro.width(), mm(10)), Qt::AlignLeft | Qt::AlignVCenter, u"Indice"_s);
    y += mm(12);
    p.fillRect(QRect(intro.left(), y, intro.width(), mm(0.6)), Rule);
    y += mm(5);
    p.setFont(font(u"Verdana"_s, 12));
    for (const Section& section : sections) {
        const QRect line(intro.left(), y, intro.width(), mm(9));
        p.setPen(Ink);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, GuidePages::page(section.topic).title);
        p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QString::number(section.firstPage));
        y += mm(11);
    }

    p.setPen(QColor(0x4a, 0x5a, 0x6a));
    p.setFont(font(u"Tahoma"_s, 10));
    p.drawText(QRect(intro.left(), page.bottom() - mm(24), intro.width(), mm(8)), Qt::AlignCenter,
               u"Ingressario è "_s + Maker::notice() + u"  ·  "_s + Maker::webText());
}

void drawSectionPage(QPainter& p, const QRect& page, const Section& section, int sectionPage, int guidePage,
                     const QRect& textArea)
{
    const GuidePage& guide = GuidePages::page(section.topic);
    // Running head: a thin steel-blue band with the guide's name, the section title in crimson on
    // the section's first page.
    p.fillRect(QRect(page.left(), page.top(), page.width(), mm(9)), SteelBlue);
    p.setPen(Qt::white);
    p.setFont(font(u"Tahoma"_s, 9));
    p.drawText(QRect(textArea.left(), page.top(), textArea.width(), mm(9)), Qt::AlignLeft | Qt::AlignVCenter,
               u"Ingressario  ·  Guida all'utilizzo del software"_s);
    if (sectionPage == 0) {
        p.setPen(Crimson);
        p.setFont(font(u"Arial"_s, 20, true));
        p.drawText(QRect(textArea.left(), textArea.top() - mm(24), textArea.width(), mm(14)),
                   Qt::AlignLeft | Qt::AlignVCenter, guide.title);
        p.fillRect(QRect(textArea.left(), textArea.top() - mm(8), textArea.width(), mm(0.7)), Rule);
    } else {
        p.setPen(QColor(0x6a, 0x7a, 0x8a));
        p.setFont(font(u"Tahoma"_s, 9));
        p.drawText(QRect(textArea.left(), textArea.top() - mm(12), textArea.width(), mm(8)),
                   Qt::AlignRight | Qt::AlignVCenter, guide.title);
    }

    // The slice of the section's text that falls on this page.
    const QSizeF slice = section.body->pageSize();
    p.save();
    p.translate(textArea.left(), textArea.top() - sectionPage * slice.height());
    const QRectF clip(0, sectionPage * slice.height(), slice.width(), slice.height());
    section.body->drawContents(&p, clip);
    p.restore();

    p.fillRect(QRect(textArea.left(), page.bottom() - mm(16), textArea.width(), mm(0.3)), QColor(0xb0, 0xc4, 0xde));
    p.setPen(QColor(0x6a, 0x7a, 0x8a));
    p.setFont(font(u"Tahoma"_s, 9));
    p.drawText(QRect(textArea.left(), page.bottom() - mm(15), textArea.width(), mm(8)),
               Qt::AlignRight | Qt::AlignVCenter, u"Pagina "_s + QString::number(guidePage));
}

} // namespace

bool GuideBook::write(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;

    QPdfWriter writer(&file);
    writer.setResolution(Dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(u"Ingressario - Guida all'utilizzo del software"_s);
    writer.setCreator(Maker::name());

    const QRect page(QPoint(0, 0), writer.pageLayout().fullRectPixels(Dpi).size());
    // Section pages leave room for the running head and the section title above, the folio below.
    const QRect textArea(mm(22), mm(42), page.width() - mm(44), page.height() - mm(42) - mm(24));

    // Every section starts on a new page; its pages are numbered before the title page lists them.
    std::vector<Section> sections;
    int nextPage = 2; // the title page is page 1
    for (GuideTopic topic : GuidePages::printedOrder()) {
        Section section{topic, layOut(GuidePages::page(topic), &writer, textArea.size()), nextPage};
        nextPage += section.body->pageCount();
        sections.push_back(std::move(section));
    }

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawTitlePage(painter, page, sections);

    int guidePage = 1;
    for (const Section& section : sections) {
        for (int i = 0; i < section.body->pageCount(); ++i) {
            writer.newPage();
            ++guidePage;
            drawSectionPage(painter, page, section, i, guidePage, textArea);
        }
    }
    const bool ok = painter.end();
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}
