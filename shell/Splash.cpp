#include "shell/Splash.h"

#include "shell/AppContext.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/Maker.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"
#include "shell/TMisc.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmSplash::TfrmSplash(AppContext& ctx, QWidget* parent)
    : ShellDialog(ctx, parent, u"frmSplash"_s, u"Ingressario - "_s + Maker::notice(), QSize(540, 420),
                  Placement::OverOpener)
{
    QWidget* sheet = CommonParts::newSheet(u"shpSfondo"_s, Maker::name(), this);
    imgLogo = ScreenKit::named(new SvgPicture(u"logo_produttore"_s, sheet), u"imgLogo"_s, Maker::name());

    imgWeb = ScreenKit::named(new PictureButton(u"web"_s, sheet), u"imgWeb"_s, u"Visita il sito "_s + Maker::webText());
    imgWeb->setPictureSize(QSize(34, 34));
    lnkWeb = CommonParts::newLink(u"lnkWeb"_s, Maker::webText(), sheet);
    joinLink(imgWeb, lnkWeb, [this] { lnkWebClick(); });

    auto* inner = new QVBoxLayout(sheet);
    inner->setContentsMargins(12, 12, 12, 16);
    inner->setSpacing(10);
    inner->addWidget(imgLogo, 1, Qt::AlignHCenter);
    inner->addLayout(centredRow(imgWeb, lnkWeb));

    btnChiudi = CommonParts::newCloseButton(this);

    layOutWithSheet(sheet)->addWidget(btnChiudi, 0, Qt::AlignRight);

    btnChiudi->setFocus();
}

void TfrmSplash::lnkWebClick()
{
    lnkWeb->setColour(Look::rgb(Look::Role::Link));
    TMisc::Open(m_ctx, Maker::webAddress());
}
