#include "shell/Splash.h"

#include "shell/AppContext.h"
#include "shell/Maker.h"
#include "shell/OpenURL.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/ShellLook.h"
#include "shell/SvgPicture.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmSplash::TfrmSplash(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Dialog), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmSplash"_s, u"Ingressario - "_s + Maker::notice());
    setWindowTitle(u" Ingressario - "_s + Maker::notice());
    setFixedSize(540, 420);
    ScreenKit::makeFixedDialogFrame(this);

    QWidget* sheet = ShellLook::newSheet(u"shpSfondo"_s, Maker::name(), this);
    imgLogo = ScreenKit::named(new SvgPicture(u"logo_produttore"_s, sheet), u"imgLogo"_s, Maker::name());

    imgWeb = ScreenKit::named(new PictureButton(u"web"_s, sheet), u"imgWeb"_s, u"Visita il sito "_s + Maker::webText());
    imgWeb->setPictureSize(QSize(34, 34));
    imgWeb->setTakesFocus(false);
    lnkWeb = ShellLook::newLink(u"lnkWeb"_s, Maker::webText(), sheet);
    ScreenKit::drivePressedLook(imgWeb, lnkWeb);
    connect(lnkWeb, &QAbstractButton::clicked, this, &TfrmSplash::lnkWebClick);
    connect(imgWeb, &QAbstractButton::clicked, this, &TfrmSplash::lnkWebClick);

    auto* web = new QHBoxLayout;
    web->setSpacing(10);
    web->addStretch(1);
    web->addWidget(imgWeb);
    web->addWidget(lnkWeb);
    web->addStretch(1);

    auto* inner = new QVBoxLayout(sheet);
    inner->setContentsMargins(12, 12, 12, 16);
    inner->setSpacing(10);
    inner->addWidget(imgLogo, 1, Qt::AlignHCenter);
    inner->addLayout(web);

    btnChiudi = ShellLook::newCloseButton(this);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 14, 14, 12);
    root->setSpacing(12);
    root->addWidget(sheet, 1);
    root->addWidget(btnChiudi, 0, Qt::AlignRight);

    btnChiudi->setFocus();
}

void TfrmSplash::lnkWebClick()
{
    lnkWeb->setColour(ScreenKit::DarkBlue);
    TMisc::Open(m_ctx, Maker::webAddress());
}

void TfrmSplash::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        ShellLook::centreOver(this, parentWidget());
    }
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    ShellLook::paintShade(this);
}
