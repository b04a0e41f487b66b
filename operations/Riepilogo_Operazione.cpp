#include "operations/Riepilogo_Operazione.h"

#include "archives/HistoryFile.h"
#include "operations/OperationKit.h"
#include "shell/ArchiveMessages.h"
#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// The field of the cycle that each box shows, in the order of the boxes.
constexpr QString HistoryRecord::*BoxFields[] = {
    &HistoryRecord::Codice,     &HistoryRecord::Tipo,       &HistoryRecord::Utilizzo, &HistoryRecord::Luogo,
    &HistoryRecord::Persone,    &HistoryRecord::PersonaRit, &HistoryRecord::DataRit,  &HistoryRecord::OraRit,
    &HistoryRecord::PersonaRic, &HistoryRecord::DataRic,    &HistoryRecord::OraRic,
};

const QString HistoryNotWritten = u"Attenzione: la riconsegna è registrata nella scheda del pass, ma il sistema non "
                                  u"permette di scriverla nello storico delle operazioni.\n\r\n\r"_s;
const QString LockReason =
    u"Un'altra postazione sta scrivendo lo storico delle operazioni: attendere qualche istante."_s;
const QString TryAgain = u"\n\r\n\rPremere OK nel riepilogo per riprovare, oppure \"Chiudi senza registrare\" per "
                         u"chiudere il riepilogo senza scrivere lo storico."_s;
const QString CloseWithoutHistory = u"Attenzione: questa riconsegna non sarà presente nello storico delle operazioni."
                                    u"\r\n\r\nSi vuole chiudere il riepilogo senza registrarla?"_s;

} // namespace

TfrmRiepilogo_Operazione::TfrmRiepilogo_Operazione(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmRiepilogo_Operazione"_s, u"Riepilogo ritiro e riconsegna pass"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Riepilogo ritiro e riconsegna pass"_s);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 18, 18, 14);
    outer->setSpacing(12);

    QWidget* panel = CommonParts::newSheet(u"shpPannello"_s, u"Riepilogo"_s, this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(22, 14, 22, 18);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(7);

    auto* title = ScreenKit::named(new SvgPicture(u"op_titolo_riepilogo"_s, panel), u"imgTitolo"_s,
                                   u"Riepilogo ritiro e riconsegna pass"_s);
    title->setPictureSize(QSize(520, 40));
    grid->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);
    grid->setRowMinimumHeight(1, 6);

    OperationKit::addFields(grid, 2, panel,
                            {
                                {&txtCodice, u"txtCodice"_s, u"Numero identificativo:"_s},
                                {&txtTipo, u"txtTipo"_s, u"Tipo pass:"_s},
                                {&txtUtilizzo, u"txtUtilizzo"_s, u"Utilizzo:"_s},
                                {&txtLuogo, u"txtLuogo"_s, u"Luogo conservazione:"_s},
                                {&txtPersone, u"txtPersone"_s, u"Persone autorizzate:"_s},
                                {&txtPersonaRit, u"txtPersonaRit"_s, u"Ritirato da:"_s},
                                {&txtDataRit, u"txtDataRit"_s, u"Data ritiro:"_s},
                                {&txtOraRit, u"txtOraRit"_s, u"Ora ritiro:"_s},
                                {&txtPersonaRic, u"txtPersonaRic"_s, u"Riconsegnato da:"_s},
                                {&txtDataRic, u"txtDataRic"_s, u"Data riconsegna:"_s},
                                {&txtOraRic, u"txtOraRic"_s, u"Ora riconsegna:"_s},
                            },
                            470);
    for (QLineEdit* box : boxes())
        box->setReadOnly(box != txtDataRic); // the return date alone may still be changed
    outer->addWidget(panel);

    btnOK = ScreenKit::newButton(u"OK"_s, u"btnOK"_s, this);
    btnChiudi = ScreenKit::newButton(u"Chiudi senza registrare"_s, u"btnChiudi"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    for (QPushButton* button : {btnOK, btnChiudi}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumSize(110, 34);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    btnChiudi->hide(); // until an append fails
    outer->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TfrmRiepilogo_Operazione::btnOKClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmRiepilogo_Operazione::btnChiudiClick);

    // In the summary's colour with the field border, whether focused or not.
    QList<ScreenKit::Colouring> colouring;
    for (QLineEdit* box : boxes())
        colouring.append({box, Look::Role::SummaryField, Look::Role::SummaryField});
    new ScreenKit::FieldColours(this, colouring);

    const QList<QLineEdit*> order = boxes();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    QWidget::setTabOrder(order.last(), btnOK);
    QWidget::setTabOrder(btnOK, btnChiudi);

    ScreenKit::makeFixedDialogFrame(this);
}

QList<QLineEdit*> TfrmRiepilogo_Operazione::boxes() const
{
    const QList<QLineEdit*> all = {txtCodice,  txtTipo,   txtUtilizzo,   txtLuogo,   txtPersone, txtPersonaRit,
                                   txtDataRit, txtOraRit, txtPersonaRic, txtDataRic, txtOraRic};
    Q_ASSERT(all.size() == qsizetype(std::size(BoxFields)));
    return all;
}

void TfrmRiepilogo_Operazione::showCycle(const HistoryRecord& cycle)
{
    const QList<QLineEdit*> all = boxes();
    for (qsizetype i = 0; i < all.size(); ++i) {
        all.at(i)->setText(OperationKit::trimmed(cycle.*BoxFields[i]));
        all.at(i)->setCursorPosition(0);
    }
}

HistoryRecord TfrmRiepilogo_Operazione::cycle() const
{
    HistoryRecord r;
    const QList<QLineEdit*> all = boxes();
    for (qsizetype i = 0; i < all.size(); ++i)
        r.*BoxFields[i] = OperationKit::trimmed(all.at(i)->text());
    return r;
}

void TfrmRiepilogo_Operazione::btnOKClick()
{
    // Recorded already: a second OK must not append the cycle again.
    if (m_historyPosition > 0)
        return;

    // The history is written after the card: the return stands whatever happens here. A failure is
    // told, and the summary stays open so that OK tries again.
    bool waitedForLock = false;
    LockWait wait = m_ctx.lockWait;
    wait.waiting = [&waitedForLock, told = m_ctx.lockWait.waiting](bool waiting) {
        waitedForLock = waitedForLock || waiting;
        if (told)
            told(waiting);
    };
    HistoryFile history(m_ctx.programFolder, wait);
    std::optional<qint64> position;
    if (history.open()) {
        position = history.append(cycle());
        history.close();
    }
    if (!position) {
        // After a wait for another workstation's lock, that workstation is the likely reason.
        m_ctx.messages->notice(this, NoticeKind::Warning,
                               HistoryNotWritten + (waitedForLock ? LockReason : ArchiveMessages::WriteAccessReason) +
                                   TryAgain);
        btnChiudi->show();
        return;
    }
    m_historyPosition = *position;
    m_leaving = true;
    close();
}

void TfrmRiepilogo_Operazione::btnChiudiClick()
{
    if (m_historyPosition > 0)
        return;
    if (!m_ctx.messages->question(this, CloseWithoutHistory))
        return;
    emit closedWithoutHistory();
    m_leaving = true;
    close();
}

void TfrmRiepilogo_Operazione::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        ScreenKit::centreOnScreen(this);
        btnOK->setFocus();
    }
}

void TfrmRiepilogo_Operazione::closeEvent(QCloseEvent* event)
{
    // No close box and no cancel: OK is the only way out.
    if (m_leaving)
        event->accept();
    else
        event->ignore();
}

void TfrmRiepilogo_Operazione::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}
