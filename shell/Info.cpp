#include "shell/Info.h"

#include "shell/AppContext.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/Maker.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"
#include "shell/TMisc.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmInfo::TfrmInfo(AppContext& ctx, QWidget* parent)
    : ShellDialog(ctx, parent, u"frmInfo"_s, u"Informazioni su Ingressario"_s, QSize(560, 400), Placement::OnScreen)
{
    QWidget* sheet = CommonParts::newSheet(u"shpSfondo"_s, u"Informazioni su Ingressario"_s, this);
    imgLogo = ScreenKit::named(new SvgPicture(u"logo_ingressario"_s, sheet), u"imgLogo"_s,
                               u"Ingressario, gestione dei pass di ingresso"_s);

    auto* lblDescrizione = ScreenKit::named(
        new QLabel(u"Software per registrare il ritiro e la riconsegna dei pass di ingresso nella propria azienda "
                   u"e visualizzare lo storico delle operazioni."_s,
                   sheet),
        u"lblDescrizione"_s);
    lblDescrizione->setWordWrap(true);
    lblDescrizione->setAlignment(Qt::AlignCenter);
    lblDescrizione->setFont(Look::font(Look::FontRole::Text));
    Look::setKind(lblDescrizione, Look::Kind::Caption);

    const QString version = u"Versione "_s + QStringLiteral(INGRESSARIO_VERSION);
    auto* lblVersione = ScreenKit::named(new QLabel(version, sheet), u"lblVersione"_s, version);
    lblVersione->setAlignment(Qt::AlignCenter);
    lblVersione->setFont(Look::font(Look::FontRole::Notice));

    auto* rule = new QFrame(sheet);
    rule->setFixedHeight(2);
    Look::setKind(rule, Look::Kind::Rule);

    auto* lblContatti =
        ScreenKit::named(new QLabel(u"Per informazioni e assistenza scrivi a:"_s, sheet), u"lblContatti"_s);
    lblContatti->setFont(Look::font(Look::FontRole::Contact));
    lblContatti->setAlignment(Qt::AlignCenter);

    imgEmail =
        ScreenKit::named(new PictureButton(u"email"_s, sheet), u"imgEmail"_s, u"Scrivi a "_s + Maker::emailAddress());
    imgEmail->setPictureSize(QSize(36, 36));
    lnkWeb = CommonParts::newLink(u"lnkWeb"_s, Maker::emailAddress(), sheet);
    joinLink(imgEmail, lnkWeb, [this] { lnkWebClick(); });

    auto* inner = new QVBoxLayout(sheet);
    inner->setContentsMargins(24, 18, 24, 18);
    inner->setSpacing(10);
    inner->addWidget(imgLogo, 0, Qt::AlignHCenter);
    inner->addWidget(lblDescrizione);
    inner->addWidget(lblVersione);
    inner->addSpacing(4);
    inner->addWidget(rule);
    inner->addSpacing(4);
    inner->addWidget(lblContatti);
    inner->addLayout(centredRow(imgEmail, lnkWeb));
    inner->addStretch(1);

    auto* lblProduttore =
        ScreenKit::named(new QLabel(u"Ingressario è "_s + Maker::notice() + u"."_s, this), u"lblProduttore"_s);
    lblProduttore->setFont(Look::font(Look::FontRole::Notice));

    btnChiudi = CommonParts::newCloseButton(this);

    auto* foot = new QHBoxLayout;
    foot->addWidget(lblProduttore, 1, Qt::AlignVCenter);
    foot->addWidget(btnChiudi);

    layOutWithSheet(sheet)->addLayout(foot);

    btnChiudi->setFocus();
}

void TfrmInfo::lnkWebClick()
{
    lnkWeb->setColour(Look::rgb(Look::Role::Link));
    TMisc::Open(m_ctx, TMisc::quoted(u"mailto:"_s + Maker::emailAddress()));
}
