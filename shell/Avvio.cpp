#include "shell/Avvio.h"

#include "shell/AppContext.h"
#include "shell/CommonParts.h"
#include "shell/Guida.h"
#include "shell/Info.h"
#include "shell/Look.h"
#include "shell/Maker.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/Splash.h"
#include "shell/SvgPicture.h"
#include "shell/TMisc.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The launcher is drawn for a window of this size and scaled from it.
constexpr double DesignWidth = 1366;
constexpr double DesignHeight = 740;

QSize scaled(QSize size, double factor)
{
    return QSize(qRound(size.width() * factor), qRound(size.height() * factor));
}

} // namespace

TfrmAvvio::TfrmAvvio(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmAvvio"_s, u"Ingressario"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario"_s);
    setMinimumSize(800, 480);
    setWindowState(Qt::WindowMaximized);

    panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Ingressario"_s);

    // Product name, icon and subtitle on their white panel.
    shpNomeApp = CommonParts::newSheet(u"shpNomeApp"_s, u"Ingressario"_s, panContainer);
    icoIcona = ScreenKit::named(new SvgPicture(u"icona"_s, shpNomeApp), u"icoIcona"_s, u"Icona di Ingressario"_s);
    icoTitoloApp = ScreenKit::named(new SvgPicture(u"titolo"_s, shpNomeApp), u"icoTitoloApp"_s, u"Ingressario"_s);
    imgSottotitolo = ScreenKit::named(
        new SvgPicture(u"sottotitolo"_s, shpNomeApp), u"imgSottotitolo"_s,
        u"Software per registrare il ritiro e la riconsegna dei pass di ingresso nella propria azienda e "
        u"visualizzare lo storico delle operazioni"_s);
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(14);
    nameRow->addStretch(1);
    nameRow->addWidget(icoIcona, 0, Qt::AlignVCenter);
    nameRow->addWidget(icoTitoloApp, 0, Qt::AlignVCenter);
    nameRow->addStretch(1);
    auto* nameColumn = new QVBoxLayout(shpNomeApp);
    nameColumn->setContentsMargins(28, 10, 28, 12);
    nameColumn->setSpacing(4);
    nameColumn->addLayout(nameRow);
    nameColumn->addWidget(imgSottotitolo, 0, Qt::AlignHCenter);

    auto icon = [this](const QString& picture, const QString& objectName, const QString& accessibleName) {
        auto* button = ScreenKit::named(new PictureButton(picture, panContainer), objectName, accessibleName);
        button->setToolTip(accessibleName);
        return button;
    };
    imgInfo = icon(u"info"_s, u"imgInfo"_s, u"Informazioni su Ingressario"_s);
    imgGuida = icon(u"guida"_s, u"imgGuida"_s, u"Guida: uno sguardo a Ingressario"_s);
    imgSplash = icon(u"splash"_s, u"imgSplash"_s, u"Il produttore: "_s + Maker::name());
    imgEsci = icon(u"esci"_s, u"imgEsci"_s, u"Esci da Ingressario"_s);
    imgSito = icon(u"sito"_s, u"imgSito"_s, u"Visita il sito "_s + Maker::webText());

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(imgInfo, 0, Qt::AlignTop | Qt::AlignLeft);
    top->addStretch(1);
    top->addWidget(shpNomeApp, 0, Qt::AlignTop);
    top->addStretch(1);
    top->addWidget(imgGuida, 0, Qt::AlignTop | Qt::AlignRight);

    // The three work areas, each a picture with its button under it on a white panel.
    auto workArea = [this](const QString& panelName, const QString& picture, const QString& pictureName,
                           const QString& buttonName, const QString& caption, const QString& what,
                           PictureButton*& image, QPushButton*& button) {
        auto* panel = ScreenKit::named(new QWidget(panContainer), panelName, what);
        panel->setAttribute(Qt::WA_StyledBackground);
        image = ScreenKit::named(new PictureButton(picture, panel), pictureName, u"Apri "_s + what);
        image->setTakesFocus(false); // the button under it is the keyboard's way in
        image->setToolTip(u"Apri "_s + what);
        button = ScreenKit::newButton(caption, buttonName, panel);
        button->setCursor(Qt::PointingHandCursor);
        Look::setKind(button, Look::Kind::LauncherButton);
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(18, 16, 18, 18);
        column->setSpacing(12);
        column->addWidget(image, 0, Qt::AlignHCenter);
        column->addWidget(button);
        return panel;
    };
    bkgApp06 = workArea(u"bkgApp06"_s, u"app01"_s, u"imgApp01"_s, u"btnApp01"_s, u"SCHEDARIO PASS"_s,
                        u"Schedario Pass"_s, imgApp01, btnApp01);
    bkgApp08 = workArea(u"bkgApp08"_s, u"app02"_s, u"imgApp02"_s, u"btnApp02"_s, u"RITIRI E RICONSEGNE"_s,
                        u"Ritiri e Riconsegne"_s, imgApp02, btnApp02);
    bkgApp10 = workArea(u"bkgApp10"_s, u"app03"_s, u"imgApp03"_s, u"btnApp03"_s, u"STORICO OPERAZIONI"_s,
                        u"Storico Operazioni"_s, imgApp03, btnApp03);

    auto* areas = new QHBoxLayout;
    areas->addStretch(2);
    areas->addWidget(bkgApp06);
    areas->addStretch(1);
    areas->addWidget(bkgApp08);
    areas->addStretch(1);
    areas->addWidget(bkgApp10);
    areas->addStretch(2);

    auto* body = new QVBoxLayout(panContainer);
    body->setContentsMargins(18, 16, 18, 0);
    body->setSpacing(0);
    body->addLayout(top);
    body->addStretch(1);
    body->addLayout(areas);
    body->addStretch(1);

    // The foot: the maker's picture, web strip and the way out.
    shpCalce = ScreenKit::named(new QWidget(this), u"shpCalce"_s, u"Piè di pagina"_s);
    shpCalce->setAttribute(Qt::WA_StyledBackground);
    imgSplash->setParent(shpCalce);
    imgSito->setParent(shpCalce);
    imgEsci->setParent(shpCalce);
    auto* foot = new QHBoxLayout(shpCalce);
    foot->setContentsMargins(18, 8, 18, 8);
    foot->addWidget(imgSplash, 0, Qt::AlignVCenter);
    foot->addStretch(1);
    foot->addWidget(imgSito, 0, Qt::AlignVCenter);
    foot->addStretch(1);
    foot->addWidget(imgEsci, 0, Qt::AlignVCenter);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(panContainer, 1);
    root->addWidget(shpCalce);

    // A click on a picture and on the button under it does the same.
    connect(imgApp01, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp01Click);
    connect(btnApp01, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp01Click);
    connect(imgApp02, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp02Click);
    connect(btnApp02, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp02Click);
    connect(imgApp03, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp03Click);
    connect(btnApp03, &QAbstractButton::clicked, this, &TfrmAvvio::imgApp03Click);
    connect(imgGuida, &QAbstractButton::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(imgInfo, &QAbstractButton::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgSplash, &QAbstractButton::clicked, this, &TfrmAvvio::imgSplashClick);
    connect(imgSito, &QAbstractButton::clicked, this, &TfrmAvvio::imgSitoClick);
    connect(imgEsci, &QAbstractButton::clicked, this, &TfrmAvvio::imgEsciClick);

    // The first work area has the keyboard when the launcher first shows, its focus style on it
    // (otherwise the first picture of the window would take it).
    btnApp01->setFocus(Qt::OtherFocusReason);
    setTabOrder(btnApp01, btnApp02);
    setTabOrder(btnApp02, btnApp03);
    setTabOrder(btnApp03, imgGuida);
    setTabOrder(imgGuida, imgInfo);
    setTabOrder(imgInfo, imgSplash);
    setTabOrder(imgSplash, imgSito);
    setTabOrder(imgSito, imgEsci);

    scaleTo(QSize(qRound(DesignWidth), qRound(DesignHeight)));
}

void TfrmAvvio::imgApp01Click()
{
    openWorkArea(WorkArea::CardFile);
}

void TfrmAvvio::imgApp02Click()
{
    openWorkArea(WorkArea::Operations);
}

void TfrmAvvio::imgApp03Click()
{
    openWorkArea(WorkArea::History);
}

void TfrmAvvio::openWorkArea(WorkArea area)
{
    QWidget* window = m_ctx.workAreas ? m_ctx.workAreas->window(area) : nullptr;
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
    hide();
}

void TfrmAvvio::imgGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::General);
}

void TfrmAvvio::imgInfoClick()
{
    Navigation::runModal<TfrmInfo>(this, m_ctx);
}

void TfrmAvvio::imgSplashClick()
{
    Navigation::runModal<TfrmSplash>(this, m_ctx);
}

void TfrmAvvio::imgSitoClick()
{
    TMisc::Open(m_ctx, Maker::webAddress());
}

void TfrmAvvio::imgEsciClick()
{
    // Ends the event loop at once: the hidden login window and every other window go with it,
    // nothing is asked or saved first.
    QCoreApplication::exit(0);
}

void TfrmAvvio::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::exit(0);
}

void TfrmAvvio::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}

void TfrmAvvio::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scaleTo(size());
}

void TfrmAvvio::scaleTo(const QSize& area)
{
    const double factor = std::clamp(std::min(area.width() / DesignWidth, area.height() / DesignHeight), 0.55, 3.0);
    if (std::abs(factor - m_scale) < 0.005)
        return;
    m_scale = factor;

    icoIcona->setPictureSize(scaled(QSize(76, 76), factor));
    icoTitoloApp->setPictureSize(scaled(QSize(500, 80), factor));
    imgSottotitolo->setPictureSize(scaled(QSize(680, 52), factor));
    for (PictureButton* small : {imgInfo, imgGuida, imgSplash, imgEsci})
        small->setPictureSize(scaled(QSize(48, 48), factor));
    imgSito->setPictureSize(scaled(QSize(620, 38), factor));

    QFont caption = Look::font(Look::FontRole::LauncherButton);
    caption.setPixelSize(qMax(10, qRound(17 * factor)));
    for (PictureButton* picture : {imgApp01, imgApp02, imgApp03})
        picture->setPictureSize(scaled(QSize(300, 220), factor));
    for (QPushButton* button : {btnApp01, btnApp02, btnApp03}) {
        button->setFont(caption);
        button->setFixedHeight(qRound(48 * factor));
    }
}
