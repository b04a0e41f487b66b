#include "shell/CambiaPassword.h"

#include "archives/Crypt.h"
#include "archives/PasswordStore.h"
#include "archives/Win1252.h"
#include "shell/AppContext.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/Password.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString OldWrong = u"Attenzione: vecchia password errata."_s;
const QString NotConfirmed = u"Attenzione: la nuova password non è stata confermata correttamente. "
                             u"E' necessario reinserire entrambi i valori."_s;
const QString Done = u"Modifica della password completata con successo."_s;
const QString ChangeFailure = u"Attenzione: si è verificato un errore durante la procedura di modifica della "
                              u"password. Si consiglia di reinstallare il software."_s;

} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmCambiaPassword"_s, u"Cambia password"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Cambia password"_s);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    imgLogo = ScreenKit::named(
        new SvgPicture(u"lucchetto_cambio"_s), u"imgLogo"_s,
        u"Cambia password. Per cambiare la password immetti i dati nei campi sottostanti e premi OK."_s);
    shpTitolo = CommonParts::newTitleBand(this, imgLogo, QMargins(18, 12, 18, 10));
    column->addWidget(shpTitolo);

    // The body lets the window's shade show through.
    shpSfondo = ScreenKit::named(new QWidget(this), u"shpSfondo"_s, u"Sfondo"_s);
    auto* body = new QVBoxLayout(shpSfondo);
    body->setContentsMargins(30, 22, 30, 18);
    body->setSpacing(14);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    auto addRow = [&](int row, QLabel*& label, const QString& labelName, const QString& caption, QLineEdit*& edit,
                      const QString& editName, const QString& spoken) {
        label = ScreenKit::named(new QLabel(caption, shpSfondo), labelName);
        label->setFont(Look::font(Look::FontRole::Caption));
        edit = ScreenKit::named(new QLineEdit(shpSfondo), editName, spoken);
        edit->setEchoMode(QLineEdit::Password);
        edit->setFont(Look::font(Look::FontRole::Entry));
        edit->setMinimumSize(240, 30);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(edit, row, 1);
    };
    addRow(0, lblRigo05, u"lblRigo05"_s, u"Vecchia password:"_s, txtPasswordOld, u"txtPasswordOld"_s,
           u"Vecchia password"_s);
    addRow(1, lblRigo06, u"lblRigo06"_s, u"Nuova password:"_s, txtPasswordNew, u"txtPasswordNew"_s,
           u"Nuova password"_s);
    addRow(2, lblRigo07, u"lblRigo07"_s, u"Conferma nuova password:"_s, txtConferma, u"txtConferma"_s,
           u"Conferma nuova password"_s);
    body->addLayout(grid);

    cmdEsci = ScreenKit::newButton(u"Chiudi"_s, u"cmdEsci"_s, shpSfondo);
    cmdOK = ScreenKit::newButton(u"OK"_s, u"cmdOK"_s, shpSfondo);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    for (QPushButton* b : {cmdOK, cmdEsci})
        b->setMinimumSize(96, 30);
    body->addSpacing(4);
    body->addLayout(buttons);
    column->addWidget(shpSfondo);

    cmdOK->setEnabled(false);
    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);
    new ScreenKit::FocusMarks(this, {{txtPasswordOld, u"effPasswordOld"_s},
                                     {txtPasswordNew, u"effPasswordNew"_s},
                                     {txtConferma, u"effConferma"_s}});
    (new ScreenKit::EnterChain(this))->cycle({txtPasswordOld, txtPasswordNew, txtConferma});

    for (QLineEdit* edit : {txtPasswordOld, txtPasswordNew, txtConferma})
        connect(edit, &QLineEdit::textChanged, this, &TfrmCambiaPassword::fieldsChange);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &QWidget::close);

    ScreenKit::makeFixedDialogFrame(this);
}

void TfrmCambiaPassword::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    for (QLineEdit* edit : {txtPasswordOld, txtPasswordNew, txtConferma})
        edit->clear();
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        ScreenKit::centreOnScreen(this);
    }
    activateWindow();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}

void TfrmCambiaPassword::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}

void TfrmCambiaPassword::fieldsChange()
{
    bool allTyped = true;
    for (QLineEdit* edit : {txtPasswordOld, txtPasswordNew, txtConferma})
        allTyped = allTyped && !Win1252::trimmed(edit->text()).isEmpty();
    cmdOK->setEnabled(allTyped);
}

QString TfrmCambiaPassword::refusal(const QString& newPassword)
{
    if (newPassword.size() > MaxLength)
        return u"Attenzione: la nuova password non può superare i %1 caratteri.\n\r\n\r"
               u"E' necessario reinserire entrambi i valori."_s.arg(MaxLength);
    for (qsizetype i = 0; i < newPassword.size(); ++i) {
        if (newPassword.at(i).unicode() <= 255)
            continue;
        // A character beyond the Latin-1 range would be stored by its low 8 bits only, and the
        // password could never be typed again.
        const qsizetype width = newPassword.at(i).isHighSurrogate() && i + 1 < newPassword.size() ? 2 : 1;
        return u"Attenzione: il carattere \"%1\" non può essere usato in una password.\n\r\n\r"
               u"E' necessario reinserire entrambi i valori."_s.arg(newPassword.mid(i, width));
    }
    return QString();
}

void TfrmCambiaPassword::cmdOKClick()
{
    PasswordStore store(m_ctx.programFolder);
    const std::optional<QString> stored = store.readStoredText();
    const std::optional<QString> current = stored ? Crypt::decode(*stored) : std::nullopt;
    if (!current) {
        m_ctx.messages->plain(this, ChangeFailure);
        return;
    }
    if (TfrmPassword::typedForm(txtPasswordOld->text()) != Win1252::trimmed(*current)) {
        m_ctx.messages->plain(this, OldWrong);
        txtPasswordOld->clear();
        ScreenKit::moveFocus(txtPasswordOld);
        return;
    }
    // Confirmed exactly, letter case included, although both would be stored alike.
    if (Win1252::trimmed(txtPasswordNew->text()) != Win1252::trimmed(txtConferma->text())) {
        m_ctx.messages->plain(this, NotConfirmed);
        txtPasswordNew->clear();
        txtConferma->clear();
        ScreenKit::moveFocus(txtPasswordNew);
        return;
    }
    const QString newPassword = TfrmPassword::typedForm(txtPasswordNew->text());
    if (const QString why = refusal(newPassword); !why.isEmpty()) {
        m_ctx.messages->plain(this, why);
        txtPasswordNew->clear();
        txtConferma->clear();
        ScreenKit::moveFocus(txtPasswordNew);
        return;
    }
    if (!store.writeStoredText(Win1252::trimmed(Crypt::encode(newPassword)).toString())) {
        m_ctx.messages->plain(this, ChangeFailure);
        return;
    }
    m_ctx.messages->plain(this, Done);
    close();
}
