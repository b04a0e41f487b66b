#include "printing/ListDocument.h"

#include <QColor>

using namespace Qt::StringLiterals;

namespace ListDocument {

namespace {

constexpr double BandHeight = 30.2362;
constexpr double BodyExtra = 10; // space kept under the last line
const QColor SlateGrey(0x70, 0x80, 0x90);

TextStyle strip(double pointSize)
{
    TextStyle style;
    style.family = u"Verdana"_s;
    style.pointSize = pointSize;
    style.bold = true;
    style.colour = Qt::white;
    style.fill = SlateGrey;
    style.alignment = Qt::AlignHCenter | Qt::AlignTop;
    return style;
}

} // namespace

std::unique_ptr<Document> create()
{
    auto document = std::make_unique<Document>(u"Riepilogo dati"_s, QPageLayout::Landscape);
    Page& page = *document->page(1);

    auto* title =
        page.addBand(std::make_unique<Band>(u"ReportTitle"_s, Band::BandKind::ReportTitle, BandHeight, false));
    title->add(std::make_unique<TextBox>(u"txtTitolo"_s, QRectF(7.55906, 3.77953, 1031.81, 18.8976), strip(9),
                                         u"Riepilogo"_s));

    TextStyle body;
    body.family = u"Courier New"_s;
    body.pointSize = 8;
    auto* master = page.addBand(std::make_unique<Band>(u"MasterData"_s, Band::BandKind::MasterData, BodyExtra, true));
    auto* lines = master->add(std::make_unique<TextBox>(u"txtRiepilogo"_s, QRectF(11.3386, 0, 1031.81, 0), body));
    lines->setLinePitch(LineHeight);

    TextStyle footerStyle = strip(8);
    footerStyle.expressions = true;
    auto* footer = page.addBand(std::make_unique<Band>(u"Footer"_s, Band::BandKind::Footer, BandHeight, false));
    footer->add(std::make_unique<TextBox>(u"txtPagina"_s, QRectF(11.3386, 7.55906, 1028.03, 18.8976), footerStyle,
                                          u"Stampa eseguita in data [DATE]"_s));
    return document;
}

bool fill(Document& document, const QString& title, const QStringList& lines)
{
    TextBox* titleBox = document.findTextBox(u"txtTitolo"_s);
    TextBox* body = document.findTextBox(u"txtRiepilogo"_s);
    Band* master = document.findBand(u"MasterData"_s);
    if (!titleBox || !body || !master)
        return false;
    titleBox->setText(title);
    body->clearLines();
    for (const QString& line : lines)
        body->addLine(line);
    body->setHeight(double(body->lineCount()) * LineHeight);
    master->setHeight(body->height() + BodyExtra);
    return true;
}

} // namespace ListDocument
