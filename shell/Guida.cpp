#include "shell/Guida.h"

#include "shell/AppContext.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"
#include "shell/TMisc.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmGuida::TfrmGuida(AppContext& ctx, QWidget* parent)
    : ShellDialog(ctx, parent, u"frmGuida"_s, u"Guida all'utilizzo del software"_s, QSize(670, 572),
                  Placement::OnScreen)
{
    // The white sheet that holds the title and the page.
    shpSfondo = CommonParts::newSheet(u"shpSfondo"_s, u"Pagina della guida"_s, this);
    imgLogo = ScreenKit::named(new SvgPicture(u"icona"_s, shpSfondo), u"imgLogo"_s, u"Ingressario"_s);
    imgLogo->setPictureSize(QSize(44, 44));

    lblTitolo = ScreenKit::named(new QLabel(u"Argomento della guida."_s, shpSfondo), u"lblTitolo"_s);
    lblTitolo->setFont(Look::font(Look::FontRole::GuideTitle));
    Look::setKind(lblTitolo, Look::Kind::Emphasis);
    lblTitolo->setWordWrap(true);

    auto* rule = new QFrame(shpSfondo);
    rule->setFixedHeight(2);
    Look::setKind(rule, Look::Kind::Rule);

    txtGuida = ScreenKit::named(new QPlainTextEdit(shpSfondo), u"txtGuida"_s, u"Testo della guida"_s);
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setFont(Look::font(Look::FontRole::GuidePage));
    txtGuida->setFrameShape(QFrame::NoFrame);
    txtGuida->document()->setDocumentMargin(8); // keeps the text off the scroll bar

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->addWidget(imgLogo, 0, Qt::AlignVCenter);
    header->addWidget(lblTitolo, 1, Qt::AlignVCenter);

    auto* sheet = new QVBoxLayout(shpSfondo);
    sheet->setContentsMargins(10, 12, 6, 8);
    sheet->setSpacing(8);
    sheet->addLayout(header);
    sheet->addWidget(rule);
    sheet->addWidget(txtGuida, 1);

    // The full guide, as a link and as its icon.
    imgPDF = ScreenKit::named(new PictureButton(u"pdf"_s, this), u"imgPDF"_s, u"Visualizza guida in formato PDF"_s);
    imgPDF->setPictureSize(QSize(32, 32));
    lnkWeb = CommonParts::newLink(u"lnkWeb"_s, u"Visualizza guida in formato PDF"_s, this);
    joinLink(imgPDF, lnkWeb, [this] { lnkWebClick(); });

    btnChiudi = CommonParts::newCloseButton(this);

    auto* foot = new QHBoxLayout;
    foot->setSpacing(8);
    foot->addWidget(imgPDF);
    foot->addWidget(lnkWeb);
    foot->addStretch(1);
    foot->addWidget(btnChiudi);

    layOutWithSheet(shpSfondo)->addLayout(foot);

    setTabOrder(txtGuida, lnkWeb);
    setTabOrder(lnkWeb, btnChiudi);
    btnChiudi->setFocus();
}

void TfrmGuida::openPage(QWidget* opener, AppContext& ctx, GuideTopic topic)
{
    Navigation::runModal<TfrmGuida>(opener, ctx,
                                    [topic](TfrmGuida& guide) { guide.showPage(GuidePages::page(topic)); });
}

void TfrmGuida::showPage(const GuidePage& page)
{
    lblTitolo->setText(page.title);
    lblTitolo->setAccessibleName(page.title);
    txtGuida->setPlainText(page.text());
    txtGuida->moveCursor(QTextCursor::Start);
}

void TfrmGuida::lnkWebClick()
{
    lnkWeb->setColour(Look::rgb(Look::Role::Link));
    TMisc::Open(m_ctx, TMisc::quoted(m_ctx.file(u"Guida.pdf"_s)));
}
