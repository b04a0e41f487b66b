#include "operations/OperationScreen.h"

#include "archives/CardFile.h"
#include "archives/Win1252.h"
#include "operations/OperationKit.h"
#include "shell/ArchiveMessages.h"
#include "shell/CommonParts.h"
#include "shell/Dates.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

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

// The fields of one operation on the card.
struct OperationFields
{
    QString PassRecord::*giorno;
    QString PassRecord::*mese;
    QString PassRecord::*anno;
    QString PassRecord::*data;
    QString PassRecord::*ore;
    QString PassRecord::*minuti;
    QString PassRecord::*ora;
    QString PassRecord::*persona;

    void clear(PassRecord& card) const
    {
        for (QString PassRecord::*field : {giorno, mese, anno, data, ore, minuti, ora, persona})
            (card.*field).clear();
    }
};

using P = PassRecord;
constexpr OperationFields WithdrawalFields{&P::GiornoRit, &P::MeseRit,   &P::AnnoRit, &P::DataRit,
                                           &P::OreRit,    &P::MinutiRit, &P::OraRit,  &P::PersonaRit};
constexpr OperationFields ReturnFields{&P::GiornoRic, &P::MeseRic,   &P::AnnoRic, &P::DataRic,
                                       &P::OreRic,    &P::MinutiRic, &P::OraRic,  &P::PersonaRic};

const OperationFields& fieldsOf(Operation operation)
{
    return operation == Operation::Withdrawal ? WithdrawalFields : ReturnFields;
}

} // namespace

OperationScreen::OperationScreen(AppContext& ctx, const OperationVariant& variant, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_variant(variant)
{
    buildWindow();

    const OperationFields& fields = fieldsOf(m_variant.operation);
    m_fields = {
        {&P::Codice, txtCodice},
        {&P::Tipo, txtTipo},
        {&P::Utilizzo, txtUtilizzo},
        {&P::Luogo, txtLuogo},
        {&P::Responsabile, txtResponsabile},
        {&P::Recapiti, txtRecapiti},
        {&P::Persone, txtPersone},
        {fields.giorno, m_block->txtGiorno},
        {fields.mese, m_block->txtMese},
        {fields.anno, m_block->lblAnno},
        {fields.ore, m_block->txtOre},
        {fields.minuti, m_block->txtMinuti},
        {fields.persona, m_person},
    };

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
    // The two commands come after the fields: Tab reaches them, a click leaves the focus where it is.
    QWidget::setTabOrder(txtPersone, btnStampa);
    QWidget::setTabOrder(btnStampa, btnApplica);

    Navigation::returnToLauncherOnClose(this, m_ctx);
    setWindowState(Qt::WindowMaximized);
}

void OperationScreen::buildWindow()
{
    ScreenKit::name(this, m_variant.windowName, u"Ingressario - Ritiri e Riconsegne"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Ritiri e Riconsegne"_s);

    auto* outer = new QVBoxLayout(ScreenKit::fitToScreen(this));
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* title = ScreenKit::named(new SvgPicture(m_variant.titlePicture, this), u"imgTitolo"_s, m_variant.titleText);
    title->setPictureSize(QSize(760, 64));
    outer->addSpacing(16);
    outer->addWidget(title, 0, Qt::AlignHCenter);
    outer->addStretch(1);

    // The container and the strip only lay the screen out: screen readers meet what they hold.
    auto* panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s);
    ScreenKit::hideFromScreenReaders(panContainer);
    auto* area = new QGridLayout(panContainer);
    area->setContentsMargins(0, 0, 0, 0);
    auto* work = ScreenKit::named(new QWidget(panContainer), u"panLavoro"_s, u"Pass e operazione"_s);
    panLavoro = work;
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

    auto* panStrip = ScreenKit::named(new QWidget(this), u"panStrip"_s);
    ScreenKit::hideFromScreenReaders(panStrip);
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

    ScreenKit::addCommandKeys(m_status, {{cmdSeleziona, QKeySequence(Qt::CTRL | Qt::Key_F)},
                                         {own->impAdesso, QKeySequence(Qt::CTRL | Qt::Key_T)},
                                         {btnStampa, QKeySequence(Qt::CTRL | Qt::Key_P)},
                                         {btnApplica, QKeySequence(Qt::CTRL | Qt::Key_Return)}});
    // The large picture is the same command as cmdSeleziona: one key for both.
    btnSeleziona->setToolTip(cmdSeleziona->toolTip());
}

QWidget* OperationScreen::buildPassSheet(QWidget* parent)
{
    auto* sheet = CommonParts::newSheet(u"shpPass"_s, u"Dati del pass"_s, parent);
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
    ScreenKit::hideFromScreenReaders(pass); // decoration only
    row->addWidget(pass, 0, Qt::AlignVCenter);
    return sheet;
}

QWidget* OperationScreen::buildOperationSheet(QWidget* parent)
{
    auto* sheet = CommonParts::newSheet(u"shpOperazione"_s, u"Dati dell'operazione"_s, parent);
    auto* row = new QHBoxLayout(sheet);
    row->setContentsMargins(20, 12, 20, 12);
    row->setSpacing(18);

    const bool withdrawal = m_variant.operation == Operation::Withdrawal;
    m_block = new DateTimeBlock(sheet, m_ctx, m_variant.operation);
    row->addWidget(m_block->grpData);
    row->addWidget(m_block->grpOra);

    auto* person = ScreenKit::named(new QLineEdit(sheet), withdrawal ? u"txtPersonaRit"_s : u"txtPersonaRic"_s,
                                    accessibleOf(m_variant.personLabel));
    person->setMaxLength(PassRecord::place(withdrawal ? &PassRecord::PersonaRit : &PassRecord::PersonaRic).capacity);
    person->setFont(Look::font(Look::FontRole::Field));
    person->setMinimumWidth(300);
    m_person = person;
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
        // Reached by Tab only: a click must not take the focus from the field the operator is in.
        button->setFocusPolicy(Qt::TabFocus);
        row->addWidget(button, 0, Qt::AlignVCenter);
    }
    connect(btnStampa, &QAbstractButton::clicked, this, &OperationScreen::btnStampaClick);
    connect(btnApplica, &QAbstractButton::clicked, this, &OperationScreen::btnApplicaClick);
    return sheet;
}

QWidget* OperationScreen::buildStartPanel(QWidget* parent)
{
    panAvvio = CommonParts::newSheet(u"panAvvio"_s, u"Selezione del pass"_s, parent);
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
    coverWork(true);
}

void OperationScreen::coverWork(bool covered)
{
    // Hidden under the panel, the fields and commands are out of reach of the keyboard too: no
    // tab stop, no command key. The panel's own command then has the focus.
    panLavoro->setEnabled(!covered);
    panAvvio->setVisible(covered);
    if (covered) {
        panAvvio->raise();
        cmdSeleziona->setFocus();
    }
}

void OperationScreen::receivePass(qint64 position, const PassRecord& card)
{
    PassRecord held = card;
    if (m_variant.operation == Operation::Withdrawal) {
        // A new withdrawal: nothing of the last cycle stays on the screen or on the card.
        WithdrawalFields.clear(held);
        ReturnFields.clear(held);
    }
    // On the return screen the withdrawal that this return closes travels with the card.
    m_block->clear();
    m_fields.show(held);
    for (QLineEdit* edit : passFields())
        edit->setCursorPosition(0);
    m_block->lblAnno->setText(Dates::year(m_ctx.clock->now()));
    // Apply writes the lost flag as "Sì" or "No": as the card says, or for any other text as the
    // last pick left it.
    if (card.Smarrita != PassValues::Si && card.Smarrita != PassValues::No)
        held.Smarrita = m_card.Smarrita == PassValues::Si ? PassValues::Si : PassValues::No;

    m_card = held;
    m_position = position;
    m_picked = card;
    coverWork(false);
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
    const OperationFields& own = fieldsOf(m_variant.operation);
    PassRecord r = m_card;
    m_fields.read(r);
    r.*own.data = m_block->date();
    r.*own.ora = m_block->time();
    r.Stato = m_variant.operation == Operation::Withdrawal
                  ? PassValues::withdrawalState(r.PersonaRit, r.DataRit, r.OraRit)
                  : PassValues::Disponibile;
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

    m_block->resetSelections();
    if (!ownBlock()->check())
        return;
    if (Win1252::trimmed(ownPerson()->text()).isEmpty()) {
        m_ctx.messages->notice(this, NoticeKind::Warning, m_variant.personWarning);
        ScreenKit::moveFocus(ownPerson());
        return;
    }

    const qint64 position = m_position;
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
    m_picked = record;

    if (afterRewrite(record))
        m_ctx.messages->notice(this, NoticeKind::Information, m_variant.successMessage);
    close();
}
