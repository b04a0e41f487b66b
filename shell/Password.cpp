#include "shell/Password.h"

#include "archives/Crypt.h"
#include "archives/PasswordStore.h"
#include "archives/Win1252.h"
#include "shell/AppContext.h"
#include "shell/CambiaPassword.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString WrongPassword = u"Attenzione: password errata."_s;
const QString ReadFailure = u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                            u"Si consiglia di reinstallare il software."_s;

} // namespace

QString TfrmPassword::typedForm(const QString& typed)
{
    QString out = Win1252::trimmed(typed).toString();
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return out;
}

TfrmPassword::TfrmPassword(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmPassword"_s, u"Ingressario - Accesso"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Accesso"_s);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Accesso"_s);
    root->addWidget(panContainer);
    auto* column = new QVBoxLayout(panContainer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The title band with the padlock picture.
    imgLogo = ScreenKit::named(new SvgPicture(u"lucchetto_accesso"_s), u"imgLogo"_s,
                               u"Password. Proteggi l'accesso all'app con una password di tua scelta. "
                               u"Per il primo accesso usa la password velocipedarium."_s);
    shpTitolo = CommonParts::newTitleBand(panContainer, imgLogo, QMargins(18, 14, 18, 12));
    column->addWidget(shpTitolo);

    // The body with the field and the buttons.
    shpSfondo = ScreenKit::named(new QWidget(panContainer), u"shpSfondo"_s, u"Sfondo"_s);
    shpSfondo->setAttribute(Qt::WA_StyledBackground);
    auto* body = new QVBoxLayout(shpSfondo);
    body->setContentsMargins(28, 20, 28, 18);
    body->setSpacing(10);

    lblRigo05 = ScreenKit::named(new QLabel(u"Immetti la password e premi OK."_s, shpSfondo), u"lblRigo05"_s);
    lblRigo05->setFont(Look::font(Look::FontRole::Prompt));
    body->addWidget(lblRigo05);

    txtPassword = ScreenKit::named(new QLineEdit(shpSfondo), u"txtPassword"_s, u"Password"_s);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setFont(Look::font(Look::FontRole::Entry));
    txtPassword->setMinimumHeight(30);
    lblRigo05->setBuddy(txtPassword);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setContentsMargins(4, 2, 4, 6); // room for the focus mark around the field
    fieldRow->addWidget(txtPassword);
    body->addLayout(fieldRow);

    btnCambiaPassword = ScreenKit::newButton(u"Cambia password"_s, u"btnCambiaPassword"_s, shpSfondo);
    cmdOK = ScreenKit::newButton(u"OK"_s, u"cmdOK"_s, shpSfondo);
    cmdEsci = ScreenKit::newButton(u"Esci"_s, u"cmdEsci"_s, shpSfondo);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(btnCambiaPassword);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    for (QPushButton* b : {btnCambiaPassword, cmdOK, cmdEsci})
        b->setMinimumSize(96, 30);
    body->addSpacing(6);
    body->addLayout(buttons);
    column->addWidget(shpSfondo);

    cmdOK->setEnabled(false);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);
    new ScreenKit::FocusMarks(this, {{txtPassword, u"effPassword"_s}});

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    // Enter with a password runs OK; with blanks only it does nothing.
    connect(txtPassword, &QLineEdit::returnPressed, this, [this] {
        if (cmdOK->isEnabled())
            cmdOKClick();
    });
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);

    ScreenKit::makeFixedDialogFrame(this);
}

void TfrmPassword::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        ScreenKit::centreOnScreen(this);
    }
    activateWindow();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!Win1252::trimmed(txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick()
{
    const std::optional<QString> stored = PasswordStore(m_ctx.programFolder).readStoredText();
    const std::optional<QString> current = stored ? Crypt::decode(*stored) : std::nullopt;
    if (!current) {
        m_ctx.messages->plain(this, ReadFailure);
        return;
    }
    // The stored password is always in capitals; an empty one can never match, since OK needs a
    // typed password.
    if (typedForm(txtPassword->text()) == Win1252::trimmed(*current)) {
        Navigation::showLauncher(m_ctx);
        hide();
        emit loggedIn();
        return;
    }
    m_ctx.messages->plain(this, WrongPassword);
    txtPassword->clear();
    ScreenKit::moveFocus(txtPassword);
}

void TfrmPassword::cmdEsciClick()
{
    close();
    QCoreApplication::quit();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    // The change-password window comes first, so that the application always has a visible window.
    if (TfrmCambiaPassword* change = m_ctx.frmCambiaPassword) {
        connect(change, &TfrmCambiaPassword::closing, this, &TfrmPassword::comeBack, Qt::UniqueConnection);
        change->show();
        hide();
    }
}

void TfrmPassword::comeBack()
{
    txtPassword->clear();
    show();
    activateWindow();
    txtPassword->setFocus(Qt::OtherFocusReason);
}
