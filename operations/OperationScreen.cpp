#include "operations/OperationScreen.h"

#include "archives/CardFile.h"
#include "archives/Win1252.h"
#include "operations/OperationKit.h"
#include "shell/ArchiveMessages.h"
#include "shell/Dates.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/ShellLook.h"
#include "shell/SvgPicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString accessibleOf(const QString& caption)
{
    QString text = caption.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

// A read-only field whose text is longer than the field shows its beginning, where the words that
// tell one pass from another are: when it is filled and whenever the operator has left it (taking
// the focus by Tab selects the whole text and moves to its end).
class ShownFromTheStart : public QObject
{
public:
    explicit ShownFromTheStart(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                static_cast<QLineEdit*>(watched)->setCursorPosition(0);
        }
        return false;
    }
};

} // namespace

OperationScreen::OperationScreen(AppContext& ctx, const OperationVariant& variant, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_variant(variant)
{
    buildWindow();
    buildCarriers();

    new ScreenKit::FieldColours(this, {{ownPerson(), Look::Role::FieldAtRest, Look::Role::FieldFocused}});

    DateTimeBlock* own = ownBlock();
    auto* chain = new ScreenKit::EnterChain(this);
    chain->cycle({ownPerson(), own->txtGiorno, own->txtMese, own->txtOre, own->txtMinuti});

    // Tab order: the date group, the time group, the person, then the pass fields.
    const QList<QWidget*> tabOrder = {own->txtGiorno, own->txtMese,    own->txtOre, own->txtMinuti,
                                      ownPerson(),    txtCodice,       txtTipo,     txtUtilizzo,
                                      txtLuogo,       txtResponsabile, txtRecapiti, txtPersone};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    ScreenKit::returnToLauncherOnClose(this, m_ctx);
    setWindowState(Qt::WindowMaximized);
}

void OperationScreen::buildWindow()
{
    ScreenKit::name(this, m_variant.windowName, u"Ingressario - Ritiri e Riconsegne"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Ritiri e Riconsegne"_s);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* title = ScreenKit::named(new SvgPicture(m_variant.titlePicture, this), u"imgTitolo"_s, m_variant.titleText);
    title->setPictureSize(QSize(760, 64));
    outer->addSpacing(16);
    outer->addWidget(title, 0, Qt::AlignHCenter);
    outer->addStretch(1);

    auto* panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Area di lavoro"_s);
    auto* area = new QGridLayout(panContainer);
    area->setContentsMargins(0, 0, 0, 0);
    auto* work = ScreenKit::named(new QWidget(panContainer), u"panLavoro"_s, u"Pass e operazione"_s);
    auto* workLayout = new QVBoxLayout(work);
    workLayout->setContentsMargins(0, 0, 0, 0);
    workLayout->setSpacing(14);
    workLayout->addWidget(buildPassSheet(work));
    workLayout->addWidget(buildOperationSheet(work));
    area->addWidget(work, 0, 0);
    area->addWidget(buildStartPanel(panContainer), 0, 0);
    panAvvio->raise();

    auto* centre = new QHBoxLayout;
    centre->setContentsMargins(24, 0, 24, 0);
    centre->addStretch(1);
    centre->addWidget(panContainer);
    centre->addStretch(1);
    outer->addLayout(centre);
    outer->addStretch(2);

    auto* panStrip = ScreenKit::named(new QWidget(this), u"panStrip"_s, u"Barra di stato"_s);
    panStrip->setFixedHeight(30);
    outer->addWidget(panStrip);
    m_status = new ScreenKit::StatusLine(this, panStrip, u"Pronto per archiviare una nuova scheda..."_s,
                                         Look::color(Look::Role::StatusStrip));

    DateTimeBlock* own = ownBlock();
    m_status->addHints({{btnSeleziona, m_variant.selectHint},
                        {cmdSeleziona, m_variant.selectHint},
                        {own->impAdesso, u"Inserisci la data e l'ora corrente."_s},
                        {btnStampa, m_variant.printHint},
                        {btnApplica, u"Salva la scheda e chiudi questa finestra di lavoro."_s}});
    m_status->addClearingAreas({this, panContainer, work, panStrip, findChild<QWidget*>(u"shpPass"_s),
                                findChild<QWidget*>(u"shpOperazione"_s), own->grpData, own->grpOra, title,
                                findChild<QWidget*>(u"imgOperazione"_s), panAvvio});
}

QWidget* OperationScreen::buildPassSheet(QWidget* parent)
{
    auto* sheet = ShellLook::newSheet(u"shpPass"_s, u"Dati del pass"_s, parent);
    auto* row = new QHBoxLayout(sheet);
    row->setContentsMargins(20, 16, 20, 16);
    row->setSpacing(20);

    auto* illustration =
        ScreenKit::named(new SvgPicture(u"op_operazione"_s, sheet), u"imgOperazione"_s, u"Consegna del pass"_s);
    illustration->setPictureSize(QSize(170, 230));
    row->addWidget(illustration, 0, Qt::AlignVCenter);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    OperationKit::addFields(grid, 0, sheet,
                            {
                                {&txtCodice, u"txtCodice"_s, u"Numero identificativo:"_s},
                                {&txtTipo, u"txtTipo"_s, u"Tipo pass:"_s},
                                {&txtUtilizzo, u"txtUtilizzo"_s, u"Utilizzo:"_s},
                                {&txtLuogo, u"txtLuogo"_s, u"Luogo conservazione:"_s},
                                {&txtResponsabile, u"txtResponsabile"_s, u"Responsabile:"_s},
                                {&txtRecapiti, u"txtRecapiti"_s, u"Recapiti:"_s},
                                {&txtPersone, u"txtPersone"_s, u"Persone autorizzate al ritiro:"_s},
                            },
                            560);
    auto* fromTheStart = new ShownFromTheStart(this);
    for (QLineEdit* edit : passFields()) {
        edit->setReadOnly(true);
        edit->installEventFilter(fromTheStart);
        Look::setKind(edit, Look::Kind::PassField);
    }
    row->addLayout(grid, 1);

    auto* pass = ScreenKit::named(new SvgPicture(u"op_pass"_s, sheet), u"imgPass"_s, u"Pass"_s);
    pass->setPictureSize(QSize(110, 160));
    row->addWidget(pass, 0, Qt::AlignVCenter);
    return sheet;
}

QWidget* OperationScreen::buildOperationSheet(QWidget* parent)
{
    auto* sheet = ShellLook::newSheet(u"shpOperazione"_s, u"Dati dell'operazione"_s, parent);
    auto* row = new QHBoxLayout(sheet);
    row->setContentsMargins(20, 12, 20, 12);
    row->setSpacing(18);

    const bool withdrawal = m_variant.operation == Operation::Withdrawal;
    auto* own = new DateTimeBlock(sheet, m_ctx, m_variant.operation, DateTimeBlock::Role::Visible);
    (withdrawal ? rit : ric) = own;
    row->addWidget(own->grpData);
    row->addWidget(own->grpOra);

    auto* person = ScreenKit::named(new QLineEdit(sheet), withdrawal ? u"txtPersonaRit"_s : u"txtPersonaRic"_s,
                                    accessibleOf(m_variant.personLabel));
    person->setMaxLength(50);
    person->setFont(Look::font(Look::FontRole::Field));
    person->setMinimumWidth(300);
    (withdrawal ? txtPersonaRit : txtPersonaRic) = person;
    auto* personColumn = new QVBoxLayout;
    personColumn->setSpacing(6);
    QLabel* label = OperationKit::caption(m_variant.personLabel, sheet);
    label->setBuddy(person);
    personColumn->addStretch(1);
    personColumn->addWidget(label);
    personColumn->addWidget(person);
    personColumn->addStretch(1);
    row->addLayout(personColumn, 1);

    btnStampa = ScreenKit::named(new PictureButton(u"op_stampa_modulo"_s, sheet), u"btnStampa"_s, u"Stampa modulo"_s);
    btnApplica = ScreenKit::named(new PictureButton(u"op_applica"_s, sheet), u"btnApplica"_s, u"Applica e chiudi"_s);
    for (PictureButton* button : {btnStampa, btnApplica}) {
        button->setPictureSize(QSize(150, 64));
        button->setTakesFocus(false);
        row->addWidget(button, 0, Qt::AlignVCenter);
    }
    connect(btnStampa, &QAbstractButton::clicked, this, &OperationScreen::btnStampaClick);
    connect(btnApplica, &QAbstractButton::clicked, this, &OperationScreen::btnApplicaClick);
    return sheet;
}

QWidget* OperationScreen::buildStartPanel(QWidget* parent)
{
    panAvvio = ShellLook::newSheet(u"panAvvio"_s, u"Selezione del pass"_s, parent);
    auto* column = new QVBoxLayout(panAvvio);
    column->setSpacing(14);

    btnSeleziona = ScreenKit::named(new PictureButton(u"op_seleziona_grande"_s, panAvvio), u"btnSeleziona"_s,
                                    m_variant.selectHint);
    btnSeleziona->setPictureSize(QSize(260, 190));
    btnSeleziona->setTakesFocus(false);
    cmdSeleziona =
        ScreenKit::named(new PictureButton(u"op_seleziona"_s, panAvvio), u"cmdSeleziona"_s, u"Seleziona pass"_s);
    cmdSeleziona->setPictureSize(QSize(230, 52));

    auto* invite = OperationKit::caption(m_variant.selectHint, panAvvio);
    invite->setAlignment(Qt::AlignCenter);

    column->addStretch(1);
    column->addWidget(btnSeleziona, 0, Qt::AlignHCenter);
    column->addWidget(invite, 0, Qt::AlignHCenter);
    column->addWidget(cmdSeleziona, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(btnSeleziona, &QAbstractButton::clicked, this, &OperationScreen::btnSelezionaClick);
    connect(cmdSeleziona, &QAbstractButton::clicked, this, &OperationScreen::btnSelezionaClick);
    return panAvvio;
}

void OperationScreen::buildCarriers()
{
    const bool withdrawal = m_variant.operation == Operation::Withdrawal;
    auto* other = new DateTimeBlock(this, m_ctx, withdrawal ? Operation::Return : Operation::Withdrawal,
                                    DateTimeBlock::Role::Carriers);
    (withdrawal ? ric : rit) = other;
    auto* otherPerson =
        ScreenKit::named(new QLineEdit(this), withdrawal ? u"txtPersonaRic"_s : u"txtPersonaRit"_s,
                         withdrawal ? u"Persona che riconsegna il pass"_s : u"Persona che ritira il pass"_s);
    (withdrawal ? txtPersonaRic : txtPersonaRit) = otherPerson;

    lblPosizione = ScreenKit::named(new QLabel(u"0"_s, this), u"lblPosizione"_s, u"Posizione"_s);
    txtScheda = ScreenKit::named(new QLabel(u"00000"_s, this), u"txtScheda"_s, u"Scheda"_s);
    txtStato = ScreenKit::named(new QLineEdit(this), u"txtStato"_s, u"Stato"_s);
    txtDuplicati = ScreenKit::named(new QLineEdit(this), u"txtDuplicati"_s, u"Duplicati"_s);
    txtNote = ScreenKit::named(new QLineEdit(this), u"txtNote"_s, u"Note"_s);
    chkSmarrita = ScreenKit::named(new QCheckBox(this), u"chkSmarrita"_s, u"Smarrita"_s);
    QLabel** files[] = {&lblFile01, &lblFile02, &lblFile03, &lblDesc01, &lblDesc02, &lblDesc03};
    const QString fileNames[] = {u"lblFile01"_s, u"lblFile02"_s, u"lblFile03"_s,
                                 u"lblDesc01"_s, u"lblDesc02"_s, u"lblDesc03"_s};
    for (int i = 0; i < 6; ++i)
        *files[i] = ScreenKit::named(new QLabel(this), fileNames[i], fileNames[i].mid(3));

    for (QWidget* carrier :
         QList<QWidget*>{otherPerson, lblPosizione, txtScheda, txtStato, txtDuplicati, txtNote, chkSmarrita, lblFile01,
                         lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03}) {
        carrier->hide();
        carrier->setFocusPolicy(Qt::NoFocus);
    }
}

void OperationScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each showing starts without a pass; restoring a minimised window is not a new showing.
    if (!event->spontaneous())
        waitForPass();
}

void OperationScreen::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}

void OperationScreen::waitForPass()
{
    m_picked.reset();
    panAvvio->show();
    panAvvio->raise();
    ownPerson()->setFocus();
}

void OperationScreen::receivePass(qint64 position, const PassRecord& card)
{
    txtScheda->setText(card.Scheda);
    txtCodice->setText(card.Codice);
    txtTipo->setText(card.Tipo);
    txtUtilizzo->setText(card.Utilizzo);
    txtStato->setText(card.Stato);
    txtDuplicati->setText(card.Duplicati);
    txtLuogo->setText(card.Luogo);
    txtResponsabile->setText(card.Responsabile);
    txtRecapiti->setText(card.Recapiti);
    txtPersone->setText(card.Persone);
    for (QLineEdit* edit : passFields())
        edit->setCursorPosition(0);
    txtNote->setText(card.Note);
    if (card.Smarrita == PassValues::Si)
        chkSmarrita->setChecked(true);
    else if (card.Smarrita == PassValues::No)
        chkSmarrita->setChecked(false);

    const QString year = Dates::year(m_ctx.clock->now());
    if (m_variant.operation == Operation::Withdrawal) {
        // A new withdrawal: nothing of the last cycle stays on the screen.
        txtPersonaRit->clear();
        txtPersonaRic->clear();
        rit->clear();
        rit->lblAnno->setText(year);
        ric->clear();
        ric->lblAnno->clear();
    } else {
        // The withdrawal that this return closes travels with the card.
        txtPersonaRit->setText(card.PersonaRit);
        txtPersonaRic->setText(card.PersonaRic);
        rit->txtGiorno->setCurrentText(card.GiornoRit);
        rit->txtMese->setCurrentText(card.MeseRit);
        rit->lblAnno->setText(card.AnnoRit);
        rit->lblData->setText(card.DataRit);
        rit->txtOre->setCurrentText(card.OreRit);
        rit->txtMinuti->setCurrentText(card.MinutiRit);
        rit->lblOra->setText(card.OraRit);
        ric->txtGiorno->setCurrentText(card.GiornoRic);
        ric->txtMese->setCurrentText(card.MeseRic);
        ric->lblData->setText(card.DataRic);
        ric->txtOre->setCurrentText(card.OreRic);
        ric->txtMinuti->setCurrentText(card.MinutiRic);
        ric->lblOra->setText(card.OraRic);
        ric->lblAnno->setText(year);
    }

    lblFile01->setText(card.File01);
    lblFile02->setText(card.File02);
    lblFile03->setText(card.File03);
    lblDesc01->setText(card.Desc01);
    lblDesc02->setText(card.Desc02);
    lblDesc03->setText(card.Desc03);
    lblPosizione->setText(QString::number(position));

    m_picked = card;
    panAvvio->hide();
    // The operator's next step is the name of the person.
    ownPerson()->setFocus();
}

void OperationScreen::btnSelezionaClick()
{
    openPassList();
}

void OperationScreen::btnStampaClick()
{
    openSignatureForm();
}

QString OperationScreen::changedElsewhereMessage()
{
    return u"Attenzione: dopo la selezione il pass è stato modificato da un'altra postazione e la scheda non è "
           u"stata salvata.\n\r\n\r"
           u"Selezionare di nuovo il pass dall'elenco e ripetere l'operazione."_s;
}

PassRecord OperationScreen::recordToWrite() const
{
    PassRecord r;
    r.Scheda = txtScheda->text();
    r.Codice = txtCodice->text();
    r.Tipo = txtTipo->text();
    r.Utilizzo = txtUtilizzo->text();
    r.Stato = m_variant.operation == Operation::Withdrawal
                  ? PassValues::withdrawalState(txtPersonaRit->text(), rit->lblData->text(), rit->lblOra->text())
                  : PassValues::Disponibile;
    r.Duplicati = txtDuplicati->text();
    r.Luogo = txtLuogo->text();
    r.Responsabile = txtResponsabile->text();
    r.Recapiti = txtRecapiti->text();
    r.Persone = txtPersone->text();
    r.Note = txtNote->text();
    r.Smarrita = chkSmarrita->isChecked() ? PassValues::Si : PassValues::No;

    r.GiornoRit = rit->txtGiorno->currentText();
    r.MeseRit = rit->txtMese->currentText();
    r.AnnoRit = rit->lblAnno->text();
    r.DataRit = rit->lblData->text();
    r.OreRit = rit->txtOre->currentText();
    r.MinutiRit = rit->txtMinuti->currentText();
    r.OraRit = rit->lblOra->text();

    r.GiornoRic = ric->txtGiorno->currentText();
    r.MeseRic = ric->txtMese->currentText();
    r.AnnoRic = ric->lblAnno->text();
    r.DataRic = ric->lblData->text();
    r.OreRic = ric->txtOre->currentText();
    r.MinutiRic = ric->txtMinuti->currentText();
    r.OraRic = ric->lblOra->text();

    r.PersonaRit = txtPersonaRit->text();
    r.PersonaRic = txtPersonaRic->text();
    r.File01 = lblFile01->text();
    r.File02 = lblFile02->text();
    r.File03 = lblFile03->text();
    r.Desc01 = lblDesc01->text();
    r.Desc02 = lblDesc02->text();
    r.Desc03 = lblDesc03->text();
    return r;
}

SignatureValues OperationScreen::signatureValues() const
{
    const DateTimeBlock* own = ownBlock();
    SignatureValues v;
    v.persona = ownPerson()->text();
    v.giorno = own->txtGiorno->currentText();
    v.mese = own->txtMese->currentText();
    v.anno = own->lblAnno->text();
    v.ore = own->txtOre->currentText();
    v.minuti = own->txtMinuti->currentText();
    v.codice = txtCodice->text();
    v.tipo = txtTipo->text();
    v.utilizzo = txtUtilizzo->text();
    return v;
}

void OperationScreen::btnApplicaClick()
{
    // The picture lies under the start panel until a pass is picked.
    if (!m_picked)
        return;

    rit->resetSelections();
    ric->resetSelections();
    if (!ownBlock()->check())
        return;
    if (Win1252::trimmed(ownPerson()->text()).isEmpty()) {
        m_ctx.messages->notice(this, NoticeKind::Warning, m_variant.personWarning);
        ScreenKit::moveFocus(ownPerson());
        return;
    }

    const qint64 position = lblPosizione->text().trimmed().toLongLong();
    const PassRecord record = recordToWrite();
    const PassRecord picked = *m_picked;
    // Under the card file's lock the card is read again: another workstation may have handed out,
    // taken back or edited this pass since the pick, and its operation must not be overwritten.
    std::optional<bool> written;
    withCardFile(m_ctx.programFolder, m_ctx.lockWait, [&](CardFile& file) {
        written = file.rewriteAtIfUnchanged(position, picked, record);
        return written.has_value();
    });
    if (!written) {
        m_ctx.messages->notice(this, NoticeKind::Error, ArchiveMessages::CardFileAccess);
        return;
    }
    if (!*written) {
        m_ctx.messages->notice(this, NoticeKind::Warning, changedElsewhereMessage());
        waitForPass();
        return;
    }
    lblPosizione->setText(QString::number(position));
    m_picked = record;

    if (afterRewrite())
        m_ctx.messages->notice(this, NoticeKind::Information, m_variant.successMessage);
    close();
}
