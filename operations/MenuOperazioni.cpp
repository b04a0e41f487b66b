#include "operations/MenuOperazioni.h"

#include "operations/OperationKit.h"
#include "operations/Riconsegne.h"
#include "operations/Ritiri.h"
#include "shell/CommonParts.h"
#include "shell/Guida.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

void bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// The two choices wear the colours of the arrows in the picture: out in orange, back in green.
QPushButton* choiceButton(const QString& name, const QString& text, Look::Kind kind, QWidget* parent)
{
    auto* button = ScreenKit::newButton(text, name, parent);
    Look::setKind(button, kind);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(Look::font(Look::FontRole::Choice));
    button->setMinimumSize(320, 72);
    return button;
}

} // namespace

TfrmMenuOperazioni::TfrmMenuOperazioni(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmMenuOperazioni"_s, u"Ingressario - Ritiri e Riconsegne"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Ritiri e Riconsegne"_s);

    auto* outer = new QVBoxLayout(ScreenKit::fitToScreen(this));
    outer->setContentsMargins(24, 14, 24, 18);
    outer->setSpacing(16);

    // Top: the icon, the title and the guide.
    auto* top = new QHBoxLayout;
    icoIcona = ScreenKit::named(new SvgPicture(u"icona"_s, this), u"icoIcona"_s, u"Ingressario"_s);
    icoIcona->setPictureSize(QSize(56, 56));
    icoTitolo =
        ScreenKit::named(new SvgPicture(u"op_titolo_operazioni"_s, this), u"icoTitolo"_s, u"Ritiri e riconsegne"_s);
    icoTitolo->setPictureSize(QSize(640, 70));
    imgGuida = ScreenKit::named(new PictureButton(u"guida"_s, this), u"imgGuida"_s, u"Guida"_s);
    imgGuida->setText(u"Guida"_s);
    imgGuida->setPictureSize(QSize(44, 44));
    top->addWidget(icoIcona, 0, Qt::AlignTop);
    top->addStretch(1);
    top->addWidget(icoTitolo, 0, Qt::AlignVCenter);
    top->addStretch(1);
    top->addWidget(imgGuida, 0, Qt::AlignTop);
    outer->addLayout(top);

    icoIstruzioni = ScreenKit::named(new SvgPicture(u"op_istruzioni"_s, this), u"icoIstruzioni"_s,
                                     u"Premi il pulsante dell'operazione da eseguire"_s);
    icoIstruzioni->setPictureSize(QSize(760, 46));
    outer->addWidget(icoIstruzioni, 0, Qt::AlignHCenter);
    outer->addStretch(1);

    // The white panel: the picture and the two choices.
    QWidget* panel = CommonParts::newSheet(u"shpPannello"_s, u"Scelta dell'operazione"_s, this);
    auto* inside = new QHBoxLayout(panel);
    inside->setContentsMargins(36, 24, 48, 24);
    inside->setSpacing(48);
    icoEtichette =
        ScreenKit::named(new SvgPicture(u"app02"_s, panel), u"icoEtichette"_s, u"Consegna e riconsegna del pass"_s);
    icoEtichette->setPictureSize(QSize(390, 286));
    inside->addWidget(icoEtichette, 0, Qt::AlignVCenter);

    auto* choices = new QVBoxLayout;
    choices->setSpacing(26);
    btnOrizzontali = choiceButton(u"btnOrizzontali"_s, u"Ritiro pass"_s, Look::Kind::WithdrawalChoice, panel);
    btnVerticali = choiceButton(u"btnVerticali"_s, u"Riconsegna pass"_s, Look::Kind::ReturnChoice, panel);
    auto* caption = new QLabel(u"Quale operazione vuoi registrare?"_s, panel);
    caption->setFont(Look::font(Look::FontRole::Title));
    Look::setKind(caption, Look::Kind::Caption);
    choices->addStretch(1);
    choices->addWidget(caption, 0, Qt::AlignHCenter);
    choices->addWidget(btnOrizzontali);
    choices->addWidget(btnVerticali);
    choices->addStretch(1);
    inside->addLayout(choices);

    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(panel);
    centre->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(2);

    auto* bottom = new QHBoxLayout;
    imgEsci = ScreenKit::named(new PictureButton(u"esci"_s, this), u"imgEsci"_s, u"Esci"_s);
    imgEsci->setText(u"Esci"_s);
    imgEsci->setPictureSize(QSize(44, 44));
    bottom->addStretch(1);
    bottom->addWidget(imgEsci);
    outer->addLayout(bottom);

    QWidget::setTabOrder(btnOrizzontali, btnVerticali);
    ScreenKit::addCommandKeys(nullptr, {{imgGuida, QKeySequence(Qt::Key_F1)}, {imgEsci, QKeySequence(Qt::Key_Escape)}});
    connect(btnOrizzontali, &QPushButton::clicked, this, &TfrmMenuOperazioni::btnOrizzontaliClick);
    connect(btnVerticali, &QPushButton::clicked, this, &TfrmMenuOperazioni::btnVerticaliClick);
    connect(imgEsci, &QAbstractButton::clicked, this, &TfrmMenuOperazioni::imgEsciClick);
    connect(imgGuida, &QAbstractButton::clicked, this, &TfrmMenuOperazioni::imgGuidaClick);

    setWindowState(Qt::WindowMaximized);
}

void TfrmMenuOperazioni::setScreens(TfrmRitiri* withdrawals, TfrmRiconsegne* returns)
{
    m_withdrawals = withdrawals;
    m_returns = returns;
}

void TfrmMenuOperazioni::btnOrizzontaliClick()
{
    m_choice = Choice::Withdrawal;
    close();
}

void TfrmMenuOperazioni::btnVerticaliClick()
{
    m_choice = Choice::Return;
    close();
}

void TfrmMenuOperazioni::imgEsciClick()
{
    close();
}

void TfrmMenuOperazioni::imgGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::Operations);
}

void TfrmMenuOperazioni::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_choice = Choice::None;
}

void TfrmMenuOperazioni::closeEvent(QCloseEvent* event)
{
    // The next window is shown before this one hides, so that the application never finds itself
    // without a visible window.
    if (m_choice == Choice::Withdrawal && m_withdrawals)
        bringUp(m_withdrawals);
    else if (m_choice == Choice::Return && m_returns)
        bringUp(m_returns);
    else
        Navigation::showLauncher(m_ctx);
    event->accept();
}

void TfrmMenuOperazioni::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}
