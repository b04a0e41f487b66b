// The document model, its preparation into pages and the painting of a page, checked on the
// prepared pages themselves and on an image of a painted page.

#include "printing/Document.h"
#include "printing/FormDesigns.h"
#include "printing/FormDocument.h"
#include "printing/LineCutter.h"
#include "printing/ListDocument.h"
#include "printing/PagePainter.h"
#include "printing/Units.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate PrintDate(2025, 3, 7);

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"Cod. %1  Tipo: Badge"_s.arg(i, 5, 10, QChar(u'0'));
    return lines;
}

QList<const PreparedItem*> itemsNamed(const PreparedPage& page, const QString& name)
{
    QList<const PreparedItem*> found;
    for (const PreparedItem& item : page.items)
        if (item.name == name)
            found << &item;
    return found;
}

const PreparedItem* itemNamed(const PreparedPage& page, const QString& name)
{
    const auto found = itemsNamed(page, name);
    return found.size() == 1 ? found.first() : nullptr;
}

// The page painted at `dpi` on white, with the origin at the top-left of the printable area.
QImage painted(const PreparedPage& page, QPageLayout::Orientation orientation, int dpi)
{
    const double width = orientation == QPageLayout::Portrait ? Units::PrintableShort : Units::PrintableLong;
    const double height = orientation == QPageLayout::Portrait ? Units::PrintableLong : Units::PrintableShort;
    const double scale = dpi / Units::PerInch;
    QImage image(qCeil(width * scale), qCeil(height * scale), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter::paintPage(painter, page);
    return image;
}

// Columns [x0, x1) of the image, rows [y0, y1), that hold a dark (text or outline) pixel.
int darkColumnsIn(const QImage& image, int x0, int x1, int y0, int y1)
{
    int dark = 0;
    for (int x = x0; x < x1; ++x)
        for (int y = y0; y < y1; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                ++dark;
                break;
            }
    return dark;
}

// Lines as a list prints them and then some: blank-padded columns, accented letters, "€" and other
// signs of the Western code page, tabs, non-breaking and soft hyphen, combining accents, letters
// of other alphabets, ideographs and emoji that the font may lack, and lines longer than the page
// is wide. The same lines every run.
QStringList mixedLines(int count)
{
    static const QStringList pieces = {
        u"Cod. "_s,
        u"P-462485"_s,
        u"            "_s,
        u"  Tipo: "_s,
        u"Tessera RFID"_s,
        u"  Uso: "_s,
        u"Magazzino nord"_s,
        u"  Note: "_s,
        u"città più già perché"_s,
        u"ÀÉÈÌÒÙ çÇ ñÑ ß äöü"_s,
        u"€ 12,50"_s,
        u"£ ° ± « » – — ‘’ “”"_s,
        u"\t"_s,
        u"a\tb"_s,
        u"\u00a0"_s,
        u"\u00ad"_s,
        u"e\u0301"_s,
        u"αβγ"_s,
        u"жзи"_s,
        u"漢字"_s,
        u"\U0001F600"_s,
        u"ԦԨ"_s, // not in the list's font
        u"مرحبا"_s,
        u"[DATE]"_s,
        u" "_s,
        u"x"_s,
        u"Si raccomanda la massima cura nella custodia del pass; in caso di smarrimento avvisare subito"_s};
    QRandomGenerator random(20260117);
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        QString line;
        const int parts = int(random.bounded(1, 14));
        // Most lines are made of what a list holds; some bring the rarer characters in.
        const int choices = i % 3 == 0 ? int(pieces.size()) : 12;
        for (int p = 0; p < parts; ++p)
            line += pieces.at(int(random.bounded(choices)));
        lines << line;
    }
    return lines;
}

} // namespace

class tst_Document : public QObject
{
    Q_OBJECT

private slots:
    void findsObjectsByNameAndKind_data();
    void findsObjectsByNameAndKind();
    void textBoxLinesAndHeights();
    void listBodyIsSizedToItsLines();
    void listContinuesOverPages_data();
    void listContinuesOverPages();
    void onlyTheFooterExpandsTheDate();
    void preparingAgainStartsFromScratch();
    void cardPlacesTenRowsAsDesigned();
    void cardValueLongerThanItsBoxIsCutAtTheRightEdge();
    void countedCutIsTheMeasuredCut_data();
    void countedCutIsTheMeasuredCut();
    void countedPagesLookAsMeasuredOnes();
};

void tst_Document::findsObjectsByNameAndKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // -1: no such object

    QTest::newRow("title box") << u"txtTitolo"_s << int(ReportObject::Kind::TextBox);
    QTest::newRow("body box") << u"txtRiepilogo"_s << int(ReportObject::Kind::TextBox);
    QTest::newRow("footer box") << u"txtPagina"_s << int(ReportObject::Kind::TextBox);
    QTest::newRow("title band") << u"ReportTitle"_s << int(ReportObject::Kind::Band);
    QTest::newRow("master band") << u"MasterData"_s << int(ReportObject::Kind::Band);
    QTest::newRow("footer band") << u"Footer"_s << int(ReportObject::Kind::Band);
    QTest::newRow("unknown") << u"txtNessuno"_s << -1;
    QTest::newRow("case matters") << u"TXTTITOLO"_s << -1;
    QTest::newRow("empty name") << QString() << -1;
}

void tst_Document::findsObjectsByNameAndKind()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    const auto document = ListDocument::create();

    ReportObject* object = document->findObject(name);
    QCOMPARE(object ? int(object->kind()) : -1, kind);
    if (object)
        QCOMPARE(object->name(), name);
    // The typed look-ups give null for an object of the other kind.
    QCOMPARE(document->findTextBox(name) != nullptr, kind == int(ReportObject::Kind::TextBox));
    QCOMPARE(document->findBand(name) != nullptr, kind == int(ReportObject::Kind::Band));
}

void tst_Document::textBoxLinesAndHeights()
{
    auto document = ListDocument::create();
    QCOMPARE(document->name(), u"Riepilogo dati"_s);
    QVERIFY(document->page(1));
    QVERIFY(!document->page(2));
    QCOMPARE(document->page(1)->orientation(), QPageLayout::Landscape);
    document->page(1)->setOrientation(QPageLayout::Portrait);
    QCOMPARE(document->prepare(PrintDate).orientation, QPageLayout::Portrait);

    TextBox* box = document->findTextBox(u"txtTitolo"_s);
    QCOMPARE(box->lines(), QStringList{u"Riepilogo"_s}); // the design text
    box->setText(u"prima\r\nseconda\nterza"_s);
    QCOMPARE(box->lineCount(), 3);
    box->setText(u"sola"_s); // replaces every line
    QCOMPARE(box->lines(), QStringList{u"sola"_s});
    box->clearLines();
    QCOMPARE(box->lineCount(), 0);
    box->addLine(u"a"_s);
    box->addLine(QString());
    box->addLine(u"  c  "_s); // kept as it is
    QCOMPARE(box->lines(), (QStringList{u"a"_s, QString(), u"  c  "_s}));

    box->setHeight(42.5);
    QCOMPARE(box->height(), 42.5);
    box->setHeight(-3);
    QCOMPARE(box->height(), 0.0);
    Band* band = document->findBand(u"Footer"_s);
    band->setHeight(12);
    QCOMPARE(band->height(), 12.0);
}

void tst_Document::listBodyIsSizedToItsLines()
{
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Elenco pass smarriti"_s, numberedLines(300)));
    QCOMPARE(document->findTextBox(u"txtTitolo"_s)->lines(), QStringList{u"Elenco pass smarriti"_s});
    QCOMPARE(document->findTextBox(u"txtRiepilogo"_s)->lineCount(), 300);
    QCOMPARE(document->findTextBox(u"txtRiepilogo"_s)->height(), 300 * 12.822);
    QCOMPARE(document->findBand(u"MasterData"_s)->height(), 300 * 12.822 + 10);

    // Filling again replaces the earlier lines; an empty list leaves a body of height 0.
    QVERIFY(ListDocument::fill(*document, u"Schedario Pass"_s, {}));
    QCOMPARE(document->findTextBox(u"txtRiepilogo"_s)->lineCount(), 0);
    QCOMPARE(document->findTextBox(u"txtRiepilogo"_s)->height(), 0.0);
    QCOMPARE(document->findBand(u"MasterData"_s)->height(), 10.0);

    Document other(u"Scheda Pass"_s, QPageLayout::Portrait);
    QVERIFY(!ListDocument::fill(other, u"x"_s, {u"y"_s}));
}

void tst_Document::listContinuesOverPages_data()
{
    // The landscape printable height is 718.11 units. Page 1 gives the body what the title band
    // (30.2362) leaves: 687.87, room for 53 lines of 12.822; later pages hold 56 lines. The footer
    // (30.2362) follows the body's 10 spare units, so it shares page 1 with at most 50 lines.
    QTest::addColumn<int>("lines");
    QTest::addColumn<QList<int>>("linesPerPage");

    QTest::newRow("empty list") << 0 << QList<int>{0};
    QTest::newRow("one line") << 1 << QList<int>{1};
    QTest::newRow("footer just fits") << 50 << QList<int>{50};
    QTest::newRow("footer moves on") << 51 << QList<int>{51, 0};
    QTest::newRow("page 1 full") << 53 << QList<int>{53, 0};
    QTest::newRow("one line over") << 54 << QList<int>{53, 1};
    QTest::newRow("300 lines") << 300 << QList<int>{53, 56, 56, 56, 56, 23};
}

void tst_Document::listContinuesOverPages()
{
    QFETCH(int, lines);
    QFETCH(QList<int>, linesPerPage);
    auto document = ListDocument::create();
    const QStringList input = numberedLines(lines);
    QVERIFY(ListDocument::fill(*document, u"Elenco pass disponibili per ritiro"_s, input));

    const PreparedDocument& prepared = document->prepare(PrintDate);
    QCOMPARE(prepared.pageCount(), linesPerPage.size());

    QStringList printed;
    for (qsizetype p = 0; p < prepared.pageCount(); ++p) {
        const PreparedPage& page = prepared.pages.at(p);
        const bool first = p == 0;
        const bool last = p == prepared.pageCount() - 1;
        QCOMPARE(itemsNamed(page, u"txtTitolo"_s).size(), first ? 1 : 0);
        QCOMPARE(itemsNamed(page, u"txtPagina"_s).size(), last ? 1 : 0);

        const PreparedItem* body = itemNamed(page, u"txtRiepilogo"_s);
        const qsizetype onPage = body ? body->lines.size() : 0;
        QCOMPARE(int(onPage), linesPerPage.at(p));
        if (body && onPage > 0) {
            const double lastLineBottom = body->firstLineTop + body->linePitch * double(onPage);
            QVERIFY(lastLineBottom <= Units::PrintableShort + 1e-6); // no line runs off the page
            if (first)                                               // the body starts right under the title band
                QCOMPARE(body->firstLineTop, 30.2362);
            else
                QCOMPARE(body->firstLineTop, 0.0);
            if (last) // the footer comes after the last line
                QVERIFY(itemNamed(page, u"txtPagina"_s)->rect.top() >= lastLineBottom);
            printed << body->lines;
        }
    }
    QCOMPARE(printed, input); // every line once, in order
}

void tst_Document::onlyTheFooterExpandsTheDate()
{
    auto document = ListDocument::create();
    const QStringList lines{u"Note: [DATE]"_s, u"[Codice] [date] ["_s, u"a]b[c"_s};
    QVERIFY(ListDocument::fill(*document, u"Titolo [DATE]"_s, lines));
    const PreparedPage& page = document->prepare(PrintDate).pages.first();

    QCOMPARE(itemNamed(page, u"txtPagina"_s)->lines, QStringList{u"Stampa eseguita in data 07/03/2025"_s});
    QCOMPARE(itemNamed(page, u"txtRiepilogo"_s)->lines, lines);
    QCOMPARE(itemNamed(page, u"txtTitolo"_s)->lines, QStringList{u"Titolo [DATE]"_s});
    // The design keeps its expression for the next print.
    QCOMPARE(document->findTextBox(u"txtPagina"_s)->text(), u"Stampa eseguita in data [DATE]"_s);

    // Form boxes print their values literally too.
    auto card = FormDocument::create(FormDesigns::card());
    QVERIFY(FormDocument::fill(*card, {{u"txtNote"_s, u"[DATE]"_s}}, QDateTime(PrintDate, QTime(9, 5))));
    QCOMPARE(itemNamed(card->prepare(PrintDate).pages.first(), u"txtNote"_s)->lines, QStringList{u"[DATE]"_s});
}

void tst_Document::preparingAgainStartsFromScratch()
{
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Elenco"_s, numberedLines(300)));
    QCOMPARE(document->prepare(PrintDate).pageCount(), 6);
    QVERIFY(ListDocument::fill(*document, u"Elenco"_s, numberedLines(2)));
    const PreparedDocument& again = document->prepare(QDate(2026, 1, 31));
    QCOMPARE(again.pageCount(), 1);
    QCOMPARE(itemNamed(again.pages.first(), u"txtRiepilogo"_s)->lines, numberedLines(2));
    QCOMPARE(itemNamed(again.pages.first(), u"txtPagina"_s)->lines,
             QStringList{u"Stampa eseguita in data 31/01/2026"_s});
}

void tst_Document::cardPlacesTenRowsAsDesigned()
{
    auto card = FormDocument::create(FormDesigns::card());
    QCOMPARE(card->name(), u"Scheda Pass"_s);
    const QStringList boxes = FormDesigns::cardValueBoxes();
    QCOMPARE(boxes,
             (QStringList{u"txtCodice"_s, u"txtTipo"_s, u"txtUtilizzo"_s, u"txtStato"_s, u"txtDuplicati"_s,
                          u"txtLuogo"_s, u"txtResponsabile"_s, u"txtRecapiti"_s, u"txtPersone"_s, u"txtNote"_s}));
    QList<std::pair<QString, QString>> values;
    for (const QString& box : boxes)
        values.append({box, u"valore di "_s + box});
    QVERIFY(FormDocument::fill(*card, values, QDateTime(PrintDate, QTime(14, 3, 9))));
    const PreparedDocument& prepared = card->prepare(PrintDate);
    QCOMPARE(prepared.pageCount(), 1);
    QCOMPARE(prepared.orientation, QPageLayout::Portrait);
    const PreparedPage& page = prepared.pages.first();

    const QStringList labels{u"Numero identificativo:"_s,
                             u"Tipo pass:"_s,
                             u"Utilizzo:"_s,
                             u"Stato attuale:"_s,
                             u"Duplicati:"_s,
                             u"Luogo conservazione:"_s,
                             u"Responsabile:"_s,
                             u"Recapiti:"_s,
                             u"Persone autorizzate al ritiro:"_s,
                             u"Note:"_s};
    QList<QRectF> frames;
    for (const PreparedItem& item : page.items)
        if (item.kind == PreparedItem::Kind::Rectangle && !item.fill.isValid())
            frames << item.rect;
    QCOMPARE(frames.size(), 10);

    for (int row = 0; row < 10; ++row) {
        const double top = 28.3464 + 18.8976 * row;
        const PreparedItem* value = itemNamed(page, boxes.at(row));
        QVERIFY(value);
        QCOMPARE(value->rect, QRectF(166.299, top, 544.252, 13.2283));
        QCOMPARE(value->lines, QStringList{u"valore di "_s + boxes.at(row)});
        QCOMPARE(value->style.family, u"Arial"_s);
        QCOMPARE(value->style.pointSize, 7.0);
        QVERIFY(!value->style.wordWrap);
        QVERIFY(!value->style.expressions);

        // The label sits in the same row, left of the divider, inside the row's frame.
        const auto label = std::find_if(page.items.cbegin(), page.items.cend(), [&](const PreparedItem& item) {
            return item.kind == PreparedItem::Kind::Text && item.lines == QStringList{labels.at(row)};
        });
        QVERIFY2(label != page.items.cend(), qPrintable(labels.at(row)));
        QCOMPARE(label->rect, QRectF(7.55906, top, 142.866, 13.2283));
        QCOMPARE(frames.at(row), QRectF(3.77953, 26.4566 + 18.8976 * row, 710.551, 17.3858));
        QVERIFY(frames.at(row).contains(label->rect) && frames.at(row).contains(value->rect));
    }

    const PreparedItem* title = itemNamed(page, u"titArcataSup"_s);
    QCOMPARE(title->lines, QStringList{u"SCHEDA PASS"_s});
    QVERIFY(title->style.alignment & Qt::AlignHCenter);
    const PreparedItem* calce = itemNamed(page, u"txtCalce"_s);
    QCOMPARE(calce->lines, QStringList{u"Stampa eseguita in data 07/03/2025 alle ore 14:03:09"_s});
    QCOMPARE(calce->rect, QRectF(7.55906, 222.992, 702.236, 15.874));

    const auto divider = std::find_if(page.items.cbegin(), page.items.cend(),
                                      [](const PreparedItem& item) { return item.kind == PreparedItem::Kind::Line; });
    QVERIFY(divider != page.items.cend());
    QCOMPARE(divider->orientation, Qt::Vertical);
    QCOMPARE(divider->rect, QRectF(158.74, 26.4567, 0, 187.464));

    QList<QColor> strips;
    for (const PreparedItem& item : page.items)
        if (item.kind == PreparedItem::Kind::Rectangle && item.fill.isValid())
            strips << item.fill;
    QCOMPARE(strips, (QList<QColor>{QColor(0xB0, 0xC4, 0xDE), QColor(0xFF, 0xD7, 0x00)}));
}

void tst_Document::cardValueLongerThanItsBoxIsCutAtTheRightEdge()
{
    auto card = FormDocument::create(FormDesigns::card());
    QVERIFY(FormDocument::fill(*card, {{u"txtNote"_s, QString(400, u'W')}, {u"txtCodice"_s, u"W"_s}},
                               QDateTime(PrintDate, QTime(9, 5))));
    const PreparedPage& page = card->prepare(PrintDate).pages.first();
    QCOMPARE(itemNamed(page, u"txtNote"_s)->lines.size(), 1); // one line, never wrapped

    constexpr int Dpi = 192;
    const double scale = Dpi / Units::PerInch;
    const QImage image = painted(page, QPageLayout::Portrait, Dpi);

    const QRectF noteBox = itemNamed(page, u"txtNote"_s)->rect;
    const QRectF noteFrame(3.77953, 26.4566 + 18.8976 * 9, 710.551, 17.3858);
    const int rowTop = qCeil(noteFrame.top() * scale) + 3;
    const int rowBottom = qFloor(noteFrame.bottom() * scale) - 3;
    const int boxRight = qFloor(noteBox.right() * scale);
    // The text reaches the box's right edge...
    QVERIFY(darkColumnsIn(image, boxRight - 8, boxRight, rowTop, rowBottom) > 0);
    // ...and nothing of it lies between the box and the frame's right side.
    QCOMPARE(darkColumnsIn(image, boxRight + 1, qFloor(noteFrame.right() * scale) - 2, rowTop, rowBottom), 0);
    // Nothing spills onto the next row's place either (the footer strip is below the last row).
    QCOMPARE(darkColumnsIn(image, qCeil(noteBox.left() * scale), boxRight, qCeil(noteFrame.bottom() * scale) + 3,
                           qFloor(219.213 * scale) - 2),
             0);
    // A short value in the same kind of box keeps well inside it.
    const QRectF codeBox = itemNamed(page, u"txtCodice"_s)->rect;
    QCOMPARE(darkColumnsIn(image, qCeil((codeBox.left() + 40) * scale), boxRight, qCeil(codeBox.top() * scale) + 1,
                           qFloor(codeBox.bottom() * scale) - 1),
             0);
}

void tst_Document::countedCutIsTheMeasuredCut_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("dpi"); // 0: a PDF printer
    QTest::addColumn<bool>("fixedPitch");
    QTest::addColumn<bool>("glyphs"); // counted lines drawn glyph by glyph, without shaping

    QTest::newRow("list body, PDF printer") << u"Courier New"_s << false << 0 << true << true;
    QTest::newRow("list body, screen") << u"Courier New"_s << false << 96 << true << true;
    QTest::newRow("bold, 300 dpi") << u"Courier New"_s << true << 300 << true << true;
    // It has ligatures: its counted lines are still laid out as texts.
    QTest::newRow("another fixed-pitch font") << u"DejaVu Sans Mono"_s << false << 0 << true << false;
    QTest::newRow("proportional: measured") << u"Arial"_s << false << 0 << false << false;
}

void tst_Document::countedCutIsTheMeasuredCut()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(int, dpi);
    QFETCH(bool, fixedPitch);
    QFETCH(bool, glyphs);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QImage image(8, 8, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    const QPaintDevice* device = dpi == 0 ? static_cast<QPaintDevice*>(&printer) : &image;

    QFont font(family);
    font.setPointSizeF(8);
    font.setBold(bold);
    font.setKerning(false);
    const LineCutter counting(font, device, LineCutter::Way::Counting);
    const LineCutter measuring(font, device, LineCutter::Way::Measuring);
    QCOMPARE(counting.counts(), fixedPitch);
    QCOMPARE(counting.drawsGlyphs(), glyphs);
    QVERIFY(!measuring.counts());

    // The list body's width on this device, and widths that end on a character's edge, inside
    // one, before the first and past the last.
    const double scale = device->logicalDpiX() / Units::PerInch;
    const double pitch = fixedPitch ? counting.pitch() : measuring.metrics().horizontalAdvance(u'0');
    const QList<double> widths = {1031.81 * scale, 40 * pitch, 40 * pitch + pitch / 3, pitch / 2, 0, 500 * pitch};

    qsizetype counted = 0, cut = 0;
    for (const QString& line : mixedLines(3000)) {
        for (double width : widths) {
            const LineCutter::Fit fast = counting.fit(line, width);
            const LineCutter::Fit exact = measuring.fit(line, width);
            if (fast.length != exact.length || fast.advance != exact.advance)
                QFAIL(qPrintable(u"\"%1\" in %2 px: %3 characters, %4 px counted; %5, %6 measured"_s.arg(line)
                                     .arg(width)
                                     .arg(fast.length)
                                     .arg(fast.advance)
                                     .arg(exact.length)
                                     .arg(exact.advance)));
            counted += fast.counted;
            cut += fast.length < line.size();
        }
    }
    if (fixedPitch) {
        QVERIFY2(counted > 3000, "too few lines were counted to compare the two ways");
        QVERIFY(cut > 1000);
        // What a fixed-pitch font draws at its one advance is counted, anything else measured.
        QVERIFY(counting.fit(u"Cod. P-462485   Tipo: città € 12,50 «»"_s, widths.first()).counted);
        for (const QString& other : {u"a\tb"_s, u"e\u0301"_s, u"漢字"_s, u"\U0001F600"_s, u"a\u00adb"_s})
            QVERIFY2(!counting.fit(other, widths.first()).counted, qPrintable(other));
    } else {
        QCOMPARE(counted, 0);
    }
}

void tst_Document::countedPagesLookAsMeasuredOnes()
{
    // Long lines of every kind, cut at the page's edge; the blank-padded columns are drawn in
    // pieces when counted, whole when measured.
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Schedario Pass"_s, mixedLines(150)));
    const PreparedDocument& prepared = document->prepare(PrintDate);
    QCOMPARE(prepared.pageCount(), 3);

    for (int dpi : {96, 300}) {
        for (int page = 0; page < prepared.pageCount(); ++page) {
            PagePainter::Seams::measureEveryLine = true;
            const QImage measured = painted(prepared.pages.at(page), QPageLayout::Landscape, dpi);
            PagePainter::Seams::measureEveryLine = false;
            const QImage counted = painted(prepared.pages.at(page), QPageLayout::Landscape, dpi);
            QVERIFY2(counted == measured, qPrintable(u"page %1 at %2 dpi"_s.arg(page + 1).arg(dpi)));
        }
    }
    // The pages hold text at all, and differ from one another.
    QVERIFY(painted(prepared.pages.at(0), QPageLayout::Landscape, 96) !=
            painted(prepared.pages.at(1), QPageLayout::Landscape, 96));
}

QTEST_MAIN(tst_Document)
#include "tst_Document.moc"
