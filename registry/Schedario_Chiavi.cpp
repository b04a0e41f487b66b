#include "registry/Schedario_Chiavi.h"

#include "archives/CardFile.h"
#include "archives/Win1252.h"
#include "lists/RiepSmarrite.h"
#include "printing/FormDesigns.h"
#include "registry/AllegaCartella.h"
#include "registry/ExpChiavi.h"
#include "registry/StampaScheda_Chiave.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "shell/ArchiveMessages.h"
#include "shell/Guida.h"
#include "shell/Look.h"
#include "shell/Navigation.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString EmptyFile = u"L'archivio non contiene nessuna scheda."_s;
const QString Inserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString Saved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;
const QString UnsavedChanges = u"Salvare le modifiche alla scheda?"_s;
const QString DuplicateFirst =
    u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata inserita in archivio."_s;
const QString Duplicated = u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                           u"Al termine premere Salva per inserire la scheda in archivio."_s;
// A save that would put back a state that another workstation has changed since the card was shown.
QString undoQuestion(const QString& code)
{
    return u"Annullare il ritiro del pass "_s + code +
           u"? Il pass tornerà disponibile e l'operazione non sarà registrata nello storico."_s;
}

const QString UndoHint =
    u"Annulla il ritiro del pass: torna disponibile senza registrare l'operazione nello storico."_s;

const QString ChangedElsewhere = u"Attenzione: la scheda è stata modificata da un'altra postazione dopo essere stata "
                                 u"visualizzata.\n\r\n\rVisualizzare di nuovo la scheda e ripetere le modifiche."_s;

// The work area's background: blue at the top shading to white at the foot.
class ShadedPanel : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { Look::paintShade(this, Look::Shade::CardFile); }
};

// A flat frame in one colour, optionally with a line along its bottom edge.
class BandPanel : public QWidget
{
public:
    BandPanel(QColor fill, QColor bottomLine, QWidget* parent) : QWidget(parent), m_fill(fill), m_line(bottomLine) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), m_fill);
        if (m_line.isValid()) {
            p.setPen(QPen(m_line, 2));
            p.drawLine(0, height() - 1, width(), height() - 1);
        }
    }

private:
    QColor m_fill, m_line;
};

// The rounded white sheet behind the card fields.
class CardSheet : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(QPen(Look::color(Look::Role::CardSheetEdge), 1.5));
        p.setBrush(Look::color(Look::Role::CardSheetBack));
        p.drawRoundedRect(r, 10, 10);
    }
};

QString trimmedText(const QLineEdit* edit)
{
    return Win1252::trimmed(edit->text()).toString();
}

// The card fields of the attachment slots 1 to 3.
struct AttachmentField
{
    QString PassRecord::*file;
    QString PassRecord::*description;
};
constexpr AttachmentField AttachmentFields[] = {
    {&PassRecord::File01, &PassRecord::Desc01},
    {&PassRecord::File02, &PassRecord::Desc02},
    {&PassRecord::File03, &PassRecord::Desc03},
};

// A card as the file gives it back once written: texts trimmed, converted and cut.
PassRecord asStored(const PassRecord& card)
{
    return PassRecord::decode(card.encode().constData());
}

} // namespace

TfrmSchedario_Chiavi::TfrmSchedario_Chiavi(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(u"frmSchedario_Chiavi"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Schedario Pass"_s);
    setAccessibleName(u"Schedario Pass"_s);
    buildWindow();
    setWindowState(Qt::WindowMaximized);
    keepShownAsLoaded();
    Navigation::returnToLauncherOnClose(this, m_ctx, [this] { return mayLeaveShownCard(); });
}

TfrmSchedario_Chiavi::~TfrmSchedario_Chiavi() = default;

void TfrmSchedario_Chiavi::buildWindow()
{
    auto* outer = new QVBoxLayout(ScreenKit::fitToScreen(this));
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The panels only lay the card out: screen readers meet the controls they hold, not them.
    auto* panContainer = ScreenKit::named(new ShadedPanel(this), u"panContainer"_s);
    ScreenKit::hideFromScreenReaders(panContainer);
    outer->addWidget(panContainer);
    auto* column = new QVBoxLayout(panContainer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // ---- Toolbar band ------------------------------------------------------------------------
    auto* panToolbar = ScreenKit::named(
        new BandPanel(Look::color(Look::Role::Toolbar), Look::color(Look::Role::PanelEdge), panContainer),
        u"panToolbar"_s);
    ScreenKit::hideFromScreenReaders(panToolbar);
    auto* bar = new QHBoxLayout(panToolbar);
    bar->setContentsMargins(14, 8, 14, 10);
    bar->setSpacing(6);

    auto picture = [&](PictureButton*& button, const QString& name, const QString& accessible, const QString& file,
                       void (TfrmSchedario_Chiavi::*handler)()) {
        button = ScreenKit::named(new PictureButton(file, panToolbar), name, accessible);
        button->setTakesFocus(false);
        connect(button, &QAbstractButton::clicked, this, handler);
        bar->addWidget(button);
    };
    auto separator = [&] {
        bar->addSpacing(6);
        auto* line = new QFrame(panToolbar);
        line->setFixedSize(2, 38);
        Look::setKind(line, Look::Kind::ToolbarSeparator);
        bar->addWidget(line);
        bar->addSpacing(6);
    };

    picture(cmdNuovo, u"cmdNuovo"_s, u"Nuova scheda"_s, u"sch_nuovo"_s, &TfrmSchedario_Chiavi::cmdNuovoClick);
    picture(cmdDuplica, u"cmdDuplica"_s, u"Duplica scheda"_s, u"sch_duplica"_s, &TfrmSchedario_Chiavi::cmdDuplicaClick);
    picture(cmdSalva, u"cmdSalva"_s, u"Salva scheda"_s, u"sch_salva"_s, &TfrmSchedario_Chiavi::cmdSalvaClick);
    picture(cmdTrova, u"cmdTrova"_s, u"Trova scheda"_s, u"sch_trova"_s, &TfrmSchedario_Chiavi::cmdTrovaClick);
    separator();
    picture(cmdFile, u"cmdFile"_s, u"Allega file"_s, u"sch_allega"_s, &TfrmSchedario_Chiavi::cmdFileClick);
    picture(cmdStampa, u"cmdStampa"_s, u"Stampa"_s, u"sch_stampa"_s, &TfrmSchedario_Chiavi::cmdStampaClick);
    separator();
    picture(cmdPrimo, u"cmdPrimo"_s, u"Prima scheda"_s, u"sch_primo"_s, &TfrmSchedario_Chiavi::cmdPrimoClick);
    picture(cmdIndietro, u"cmdIndietro"_s, u"Scheda precedente"_s, u"sch_indietro"_s,
            &TfrmSchedario_Chiavi::cmdIndietroClick);

    lblPosizione = ScreenKit::named(new QLabel(panToolbar), u"lblPosizione"_s);
    ScreenKit::speakChangingText(lblPosizione, u"Posizione della scheda"_s);
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setMinimumWidth(78);
    lblPosizione->setFixedHeight(34);
    lblPosizione->setFont(Look::font(Look::FontRole::Position));
    bar->addWidget(lblPosizione);

    picture(cmdAvanti, u"cmdAvanti"_s, u"Scheda successiva"_s, u"sch_avanti"_s, &TfrmSchedario_Chiavi::cmdAvantiClick);
    picture(cmdUltimo, u"cmdUltimo"_s, u"Ultima scheda"_s, u"sch_ultimo"_s, &TfrmSchedario_Chiavi::cmdUltimoClick);
    separator();
    picture(cmdEsporta, u"cmdEsporta"_s, u"Esporta in Excel"_s, u"sch_esporta"_s,
            &TfrmSchedario_Chiavi::cmdEsportaClick);
    picture(cmdSmarrite, u"cmdSmarrite"_s, u"Pass smarriti"_s, u"sch_smarrite"_s,
            &TfrmSchedario_Chiavi::cmdSmarriteClick);
    picture(cmdAnnullaRitiro, u"cmdAnnullaRitiro"_s, u"Annulla ritiro"_s, u"sch_annulla_ritiro"_s,
            &TfrmSchedario_Chiavi::cmdAnnullaRitiroClick);
    cmdAnnullaRitiro->hide();
    bar->addStretch(1);
    picture(cmdGuida, u"cmdGuida"_s, u"Guida"_s, u"sch_guida"_s, &TfrmSchedario_Chiavi::cmdGuidaClick);
    picture(cmdEsci, u"cmdEsci"_s, u"Esci"_s, u"sch_esci"_s, &TfrmSchedario_Chiavi::cmdEsciClick);
    column->addWidget(panToolbar);

    // ---- Card fields ---------------------------------------------------------------------------
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(28, 18, 28, 14);
    middle->setSpacing(24);
    column->addLayout(middle, 1);

    auto* shpScheda = ScreenKit::named(new CardSheet(panContainer), u"shpScheda"_s);
    ScreenKit::hideFromScreenReaders(shpScheda);
    middle->addWidget(shpScheda, 1);
    auto* grid = new QGridLayout(shpScheda);
    grid->setContentsMargins(24, 20, 24, 18);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(13);
    grid->setColumnStretch(1, 1);

    const QFont fieldFont = Look::font(Look::FontRole::Field);
    const QFont captionFont = Look::font(Look::FontRole::CardCaption);
    QList<QWidget*> captions;

    // Each field takes no more characters than its card field holds.
    auto edit = [&](QLineEdit*& field, const QString& name, const QString& caption, QString PassRecord::*cardField) {
        field = ScreenKit::named(new QLineEdit(shpScheda), name, caption.chopped(1));
        field->setFont(fieldFont);
        field->setMaxLength(PassRecord::place(cardField).capacity);
        field->setMinimumHeight(35);
        return field;
    };
    auto row = [&](QLineEdit*& field, const QString& name, const QString& caption, const QString& captionName,
                   QString PassRecord::*cardField) {
        const int r = grid->rowCount();
        auto* label = ScreenKit::named(new QLabel(caption, shpScheda), captionName, caption);
        label->setFont(captionFont);
        Look::setKind(label, Look::Kind::CardCaption);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        captions << label;
        grid->addWidget(label, r, 0);
        grid->addWidget(edit(field, name, caption, cardField), r, 1);
        label->setBuddy(field);
    };
    row(txtCodice, u"txtCodice"_s, u"Numero identificativo:"_s, u"titCodice"_s, &PassRecord::Codice);
    row(txtTipo, u"txtTipo"_s, u"Tipo pass:"_s, u"titTipo"_s, &PassRecord::Tipo);
    row(txtUtilizzo, u"txtUtilizzo"_s, u"Utilizzo:"_s, u"titUtilizzo"_s, &PassRecord::Utilizzo);
    row(txtStato, u"txtStato"_s, u"Stato attuale:"_s, u"titStato"_s, &PassRecord::Stato);
    row(txtDuplicati, u"txtDuplicati"_s, u"Duplicati:"_s, u"titDuplicati"_s, &PassRecord::Duplicati);
    row(txtLuogo, u"txtLuogo"_s, u"Luogo conservazione:"_s, u"titLuogo"_s, &PassRecord::Luogo);
    row(txtResponsabile, u"txtResponsabile"_s, u"Responsabile:"_s, u"titResponsabile"_s, &PassRecord::Responsabile);
    row(txtRecapiti, u"txtRecapiti"_s, u"Recapiti:"_s, u"titRecapiti"_s, &PassRecord::Recapiti);
    row(txtPersone, u"txtPersone"_s, u"Persone autorizzate al ritiro:"_s, u"titPersone"_s, &PassRecord::Persone);
    txtStato->setReadOnly(true);
    txtStato->setText(PassValues::Disponibile);

    // The notes: a wider field below the others, its caption above-left beside a notepad.
    grid->addItem(new QSpacerItem(0, 8), grid->rowCount(), 0);
    auto* notesCaption = new QHBoxLayout;
    notesCaption->setSpacing(8);
    auto* imgNote = ScreenKit::named(new QLabel(shpScheda), u"imgNote"_s, u"Blocco note"_s);
    imgNote->setPixmap(QIcon(u":/pictures/sch_note.svg"_s).pixmap(QSize(28, 28)));
    ScreenKit::hideFromScreenReaders(imgNote); // decoration beside its caption
    auto* titNote = ScreenKit::named(new QLabel(u"Note:"_s, shpScheda), u"titNote"_s, u"Note:"_s);
    titNote->setFont(captionFont);
    Look::setKind(titNote, Look::Kind::CardCaption);
    notesCaption->addWidget(imgNote);
    notesCaption->addWidget(titNote);
    notesCaption->addStretch(1);
    grid->addLayout(notesCaption, grid->rowCount(), 0, 1, 2);
    grid->addWidget(edit(txtNote, u"txtNote"_s, u"Note:"_s, &PassRecord::Note), grid->rowCount(), 0, 1, 2);
    titNote->setBuddy(txtNote);

    auto* lostRow = new QHBoxLayout;
    lostRow->setSpacing(8);
    auto* imgSmarrita = ScreenKit::named(new QLabel(shpScheda), u"imgSmarrita"_s, u"Attenzione"_s);
    imgSmarrita->setPixmap(QIcon(u":/pictures/sch_smarrite.svg"_s).pixmap(QSize(26, 26)));
    chkSmarrita = ScreenKit::named(new QCheckBox(u"Pass smarrito"_s, shpScheda), u"chkSmarrita"_s, u"Pass smarrito"_s);
    chkSmarrita->setFont(Look::font(Look::FontRole::GroupTitle));
    lostRow->addWidget(imgSmarrita);
    lostRow->addWidget(chkSmarrita);
    lostRow->addStretch(1);
    grid->addItem(new QSpacerItem(0, 4), grid->rowCount(), 0);
    grid->addLayout(lostRow, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);

    // Two keys beside the card: decoration only.
    auto* keys = new QVBoxLayout;
    keys->setSpacing(18);
    keys->addStretch(1);
    for (const auto& [name, file] :
         {std::pair{u"imgChiave1"_s, u"sch_chiave1"_s}, {u"imgChiave2"_s, u"sch_chiave2"_s}}) {
        auto* key = ScreenKit::named(new QLabel(panContainer), name, u"Chiave"_s);
        key->setPixmap(QIcon(u":/pictures/"_s + file + u".svg"_s).pixmap(QSize(150, 150)));
        key->setAlignment(Qt::AlignCenter);
        ScreenKit::hideFromScreenReaders(key);
        keys->addWidget(key);
        captions << key;
    }
    keys->addStretch(1);
    middle->addLayout(keys);

    // ---- Status line ---------------------------------------------------------------------------
    auto* panStrip = ScreenKit::named(new QWidget(this), u"panStrip"_s);
    panStrip->setFixedHeight(34);
    ScreenKit::hideFromScreenReaders(panStrip); // the status line in it is read for itself
    outer->addWidget(panStrip);
    m_status = new ScreenKit::StatusLine(this, panStrip, u"Pronto per archiviare una nuova scheda..."_s,
                                         Look::color(Look::Role::CardStatusStrip));
    m_status->addHints({
        {cmdNuovo, u"Prepara la schermata per la registrazione di una nuova scheda."_s},
        {cmdDuplica, u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."_s},
        {cmdSalva, u"Salva la scheda corrente in archivio."_s},
        {cmdTrova, u"Trova una scheda in archivio."_s},
        {cmdFile, u"Allega file alla scheda corrente."_s},
        {cmdStampa, u"Stampa la scheda corrente."_s},
        {cmdPrimo, u"Visualizza la prima scheda in archivio."_s},
        {cmdIndietro, u"Visualizza la scheda precedente in archivio."_s},
        {cmdAvanti, u"Visualizza la scheda successiva in archivio."_s},
        {cmdUltimo, u"Visualizza l'ultima scheda in archivio."_s},
        {cmdEsporta, u"Esporta le schede in archivio in un file di Microsoft Excel."_s},
        {cmdSmarrite, u"Visualizza l'elenco dei pass smarriti."_s},
        {cmdAnnullaRitiro, UndoHint},
        {cmdGuida, u"Visualizza la guida in linea."_s},
        {cmdEsci, u"Esci da questa schermata."_s},
        {chkSmarrita, u"Spunta questa casella per indicare che il pass è stato smarrito."_s},
    });
    // Every toolbar command also answers a key, shown in its tooltip beside its hint.
    ScreenKit::addCommandKeys(m_status, {
                                            {cmdNuovo, QKeySequence(Qt::CTRL | Qt::Key_N)},
                                            {cmdDuplica, QKeySequence(Qt::CTRL | Qt::Key_D)},
                                            {cmdSalva, QKeySequence(Qt::CTRL | Qt::Key_S)},
                                            {cmdTrova, QKeySequence(Qt::CTRL | Qt::Key_F)},
                                            {cmdFile, QKeySequence(Qt::CTRL | Qt::Key_L)},
                                            {cmdStampa, QKeySequence(Qt::CTRL | Qt::Key_P)},
                                            {cmdPrimo, QKeySequence(Qt::CTRL | Qt::Key_Home)},
                                            {cmdIndietro, QKeySequence(Qt::Key_PageUp)},
                                            {cmdAvanti, QKeySequence(Qt::Key_PageDown)},
                                            {cmdUltimo, QKeySequence(Qt::CTRL | Qt::Key_End)},
                                            {cmdEsporta, QKeySequence(Qt::CTRL | Qt::Key_E)},
                                            {cmdSmarrite, QKeySequence(Qt::CTRL | Qt::Key_M)},
                                            {cmdGuida, QKeySequence(Qt::Key_F1)},
                                            {cmdEsci, QKeySequence(Qt::Key_Escape)},
                                        });
    // The undo has a key of its own, shown in its tooltip; it acts only while the command is offered.
    const QKeySequence undoKey(Qt::CTRL | Qt::SHIFT | Qt::Key_R);
    cmdAnnullaRitiro->setToolTip(u"Annulla ritiro ("_s + undoKey.toString(QKeySequence::NativeText) + u')');
    cmdAnnullaRitiro->setAccessibleDescription(UndoHint);
    auto* undoShortcut = new QShortcut(undoKey, this);
    undoShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undoShortcut, &QShortcut::activated, this, [this] {
        if (cmdAnnullaRitiro->isVisible())
            cmdAnnullaRitiroClick();
    });

    QList<QWidget*> clearing{this, panContainer, panToolbar, shpScheda, panStrip};
    clearing << captions;
    m_status->addClearingAreas(clearing);

    // ---- Focus behaviour -----------------------------------------------------------------------
    using enum Look::Role;
    new ScreenKit::FieldColours(this, {
                                          {txtCodice, FieldAtRest, FieldFocused},
                                          {txtTipo, FieldAtRest, FieldFocused},
                                          {txtUtilizzo, FieldAtRest, FieldFocused},
                                          {txtStato, CardStateField, CardStateField},
                                          {txtDuplicati, FieldAtRest, FieldFocused},
                                          {txtLuogo, FieldAtRest, FieldFocused},
                                          {txtResponsabile, FieldAtRest, FieldFocused},
                                          {txtRecapiti, FieldAtRest, FieldFocused},
                                          {txtPersone, FieldAtRest, FieldFocused},
                                          {txtNote, FieldAtRest, FieldFocused},
                                      });
    (new ScreenKit::EnterChain(this))
        ->cycle({txtCodice, txtTipo, txtUtilizzo, txtDuplicati, txtLuogo, txtResponsabile, txtRecapiti, txtPersone,
                 txtNote})
        .link(txtStato, txtDuplicati);

    const QList<QWidget*> tabOrder{txtCodice,       txtTipo,     txtUtilizzo, txtStato, txtDuplicati, txtLuogo,
                                   txtResponsabile, txtRecapiti, txtPersone,  txtNote,  chkSmarrita};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    using P = PassRecord;
    m_fields = {
        {&P::Codice, txtCodice},
        {&P::Tipo, txtTipo},
        {&P::Utilizzo, txtUtilizzo},
        {&P::Stato, txtStato},
        {&P::Duplicati, txtDuplicati},
        {&P::Luogo, txtLuogo},
        {&P::Responsabile, txtResponsabile},
        {&P::Recapiti, txtRecapiti},
        {&P::Persone, txtPersone},
        {&P::Note, txtNote},
        {&P::Smarrita, chkSmarrita, PassValues::Si, PassValues::No},
    };
}

// ---- Showing and reading the card ----------------------------------------------------------------

void TfrmSchedario_Chiavi::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each opening from the launcher starts a new card; a window restored by the desktop does not.
    if (event->spontaneous())
        return;
    clearForNewCard();
    ScreenKit::moveFocus(txtCodice);
}

void TfrmSchedario_Chiavi::clearForNewCard()
{
    // Every field empty but the state, the lost flag cleared, nothing of a card kept.
    PassRecord blank;
    blank.Stato = PassValues::Disponibile;
    blank.Smarrita = PassValues::No;
    m_fields.show(blank);
    m_card = PassRecord{};
    m_asRead = PassRecord{};
    setPosition(0);
    offerUndo();
    keepShownAsLoaded();
}

void TfrmSchedario_Chiavi::showCard(qint64 position, const PassRecord& card)
{
    m_fields.show(card, [](const QString& field) { return Win1252::trimmed(field).toString(); });
    m_card = card;
    m_asRead = card;
    setPosition(position);
    offerUndo();
    keepShownAsLoaded();
}

void TfrmSchedario_Chiavi::keepShownAsLoaded()
{
    m_shownAsLoaded = m_fields.texts();
}

bool TfrmSchedario_Chiavi::changedOnScreen() const
{
    return m_fields.texts() != m_shownAsLoaded;
}

bool TfrmSchedario_Chiavi::mayLeaveShownCard()
{
    if (!changedOnScreen())
        return true;
    switch (m_ctx.messages->questionWithCancel(this, UnsavedChanges)) {
    case Messages::Answer::Yes:
        return saveShownCard();
    case Messages::Answer::No:
        return true;
    case Messages::Answer::Cancel:
        break;
    }
    return false;
}

void TfrmSchedario_Chiavi::takeChosenCard(qint64 position, const PassRecord& card)
{
    if (mayLeaveShownCard())
        showCard(position, card);
}

void TfrmSchedario_Chiavi::offerUndo()
{
    cmdAnnullaRitiro->setVisible(position() > 0 && PassValues::isLent(m_asRead));
}

PassRecord TfrmSchedario_Chiavi::cardFromFields() const
{
    PassRecord card = m_card;
    m_fields.read(card);
    return card;
}

void TfrmSchedario_Chiavi::setPosition(qint64 position)
{
    m_position = qMax<qint64>(position, 0);
    lblPosizione->setText(m_position > 0 ? QString::number(m_position) : QString());
}

QString TfrmSchedario_Chiavi::attachmentFile(int slot) const
{
    if (slot < 1 || slot > int(std::size(AttachmentFields)))
        return QString();
    return Win1252::trimmed(m_card.*AttachmentFields[slot - 1].file).toString();
}

QString TfrmSchedario_Chiavi::attachmentDescription(int slot) const
{
    if (slot < 1 || slot > int(std::size(AttachmentFields)))
        return QString();
    return Win1252::trimmed(m_card.*AttachmentFields[slot - 1].description).toString();
}

// ---- Messages ------------------------------------------------------------------------------------

void TfrmSchedario_Chiavi::information(const QString& text)
{
    m_ctx.messages->notice(this, NoticeKind::Information, text);
}

void TfrmSchedario_Chiavi::warning(const QString& text)
{
    m_ctx.messages->notice(this, NoticeKind::Warning, text);
}

void TfrmSchedario_Chiavi::accessError()
{
    m_ctx.messages->notice(this, NoticeKind::Error, ArchiveMessages::CardFileAccess);
}

// ---- Navigation ----------------------------------------------------------------------------------

bool TfrmSchedario_Chiavi::showCardAt(const std::function<qint64(qint64 count)>& choosePosition)
{
    // The card is read inside the action and shown only once the file is closed, so that a failure
    // leaves every field as it was.
    qint64 count = 0;
    qint64 chosen = 0;
    std::optional<PassRecord> card;
    const bool ok = withCardFile(m_ctx.programFolder, [&](CardFile& file) {
        count = file.count();
        if (count < 0)
            return false;
        chosen = choosePosition(count);
        if (chosen < 1)
            return true;
        card = file.readAt(chosen);
        return card.has_value();
    });
    if (!ok) {
        accessError();
        return false;
    }
    if (!card)
        return true;
    // Changes on screen are asked about only when another card is really coming. A save in
    // between may have changed the file (the card shown, its position), so it is read again.
    if (changedOnScreen()) {
        if (!mayLeaveShownCard())
            return true;
        if (!changedOnScreen())
            return showCardAt(choosePosition);
    }
    showCard(chosen, *card);
    return true;
}

void TfrmSchedario_Chiavi::cmdPrimoClick()
{
    bool empty = false;
    if (showCardAt([&](qint64 count) {
            empty = count == 0;
            return empty ? 0 : 1;
        }) &&
        empty)
        information(EmptyFile);
}

void TfrmSchedario_Chiavi::cmdUltimoClick()
{
    bool empty = false;
    if (showCardAt([&](qint64 count) {
            empty = count == 0;
            return count;
        }) &&
        empty)
        information(EmptyFile);
}

void TfrmSchedario_Chiavi::cmdAvantiClick()
{
    const qint64 p = position();
    bool empty = false;
    if (!showCardAt([&](qint64 count) -> qint64 {
            empty = count == 0;
            if (empty)
                return 0;
            return p < count ? p + 1 : 0; // on the last card: nothing happens
        }))
        return;
    if (empty) {
        setPosition(0);
        information(EmptyFile);
    }
}

void TfrmSchedario_Chiavi::cmdIndietroClick()
{
    const qint64 p = position();
    bool empty = false;
    if (showCardAt([&](qint64 count) -> qint64 {
            if (p == 1)
                return 0; // on the first card: nothing happens, whatever the file holds
            empty = count == 0;
            if (empty)
                return 0;
            return p == 0 ? 1 : p - 1;
        }) &&
        empty)
        information(EmptyFile);
}

// ---- New, save, duplicate ------------------------------------------------------------------------

void TfrmSchedario_Chiavi::cmdNuovoClick()
{
    if (!mayLeaveShownCard())
        return;
    clearForNewCard();
    ScreenKit::moveFocus(txtCodice);
}

void TfrmSchedario_Chiavi::cmdSalvaClick()
{
    saveShownCard();
}

bool TfrmSchedario_Chiavi::rewriteShownCard(const PassRecord& card)
{
    std::optional<bool> written;
    const bool ok = withCardFile(m_ctx.programFolder, m_ctx.lockWait, [&](CardFile& file) {
        written = file.rewriteAtIfUnchanged(position(), m_asRead, card);
        return written.has_value();
    });
    if (!ok) {
        accessError();
        return false;
    }
    if (!*written) {
        warning(ChangedElsewhere);
        return false;
    }
    m_asRead = asStored(card);
    return true;
}

bool TfrmSchedario_Chiavi::saveShownCard()
{
    const std::pair<QLineEdit*, QString> required[] = {
        {txtCodice, u"Attenzione: per salvare la scheda è necessario indicare il numero identificativo del pass."_s},
        {txtTipo, u"Attenzione: per salvare la scheda è necessario indicare il tipo di pass."_s},
        {txtUtilizzo, u"Attenzione: per salvare la scheda è necessario indicare l'utilizzo del pass."_s},
        {txtLuogo, u"Attenzione: per salvare la scheda è necessario indicare il luogo di conservazione del pass."_s},
        {txtPersone,
         u"Attenzione: per salvare la scheda è necessario indicare chi è autorizzato al ritiro del pass."_s},
    };
    for (const auto& [field, message] : required) {
        if (trimmedText(field).isEmpty()) {
            warning(message);
            ScreenKit::moveFocus(field);
            return false;
        }
    }

    const PassRecord card = cardFromFields();
    const qint64 p = position();

    if (p > 0) {
        // The window writes back the whole card: its state, operations, lost flag, notes and
        // attachments as they were read. Another workstation may have changed any of them since
        // then, and writing them back would silently undo that, so the card is rewritten only
        // while the file still holds it as it was read.
        if (!rewriteShownCard(card))
            return false;
        offerUndo();
        keepShownAsLoaded();
        information(Saved);
        return true;
    }

    std::optional<qint64> appended;
    const bool ok = withCardFile(m_ctx.programFolder, m_ctx.lockWait, [&](CardFile& file) {
        appended = file.append(card);
        return appended.has_value();
    });
    if (!ok) {
        accessError();
        return false;
    }
    m_card.Scheda = PassValues::cardNumber(*appended);
    PassRecord numbered = card;
    numbered.Scheda = m_card.Scheda;
    m_asRead = asStored(numbered);
    setPosition(*appended);
    offerUndo();
    keepShownAsLoaded();
    information(Inserted);
    return true;
}

void TfrmSchedario_Chiavi::cmdDuplicaClick()
{
    if (position() == 0) {
        warning(DuplicateFirst);
        return;
    }
    // The descriptive fields stay; what belongs to the card in the file (its number, state,
    // operations, attachments, lost flag and position) starts afresh.
    chkSmarrita->setChecked(false);
    txtStato->setText(PassValues::Disponibile);
    m_card = PassRecord{};
    setPosition(0);

    if (!withCardFile(m_ctx.programFolder, [](CardFile&) { return true; })) {
        accessError();
        return;
    }
    ScreenKit::moveFocus(txtCodice);
    information(Duplicated);
}

// ---- Companions and closing ----------------------------------------------------------------------

void TfrmSchedario_Chiavi::cmdTrovaClick()
{
    // The search loads the card chosen there, read again at its position.
    Navigation::runModal<TfrmTrovaSchedario_Chiavi>(this, m_ctx, [this](TfrmTrovaSchedario_Chiavi& frm) {
        frm.setCallerTag(u"schedario_chiavi"_s);
        connect(&frm, &TfrmTrovaSchedario_Chiavi::cardChosen, this, &TfrmSchedario_Chiavi::takeChosenCard);
    });
}

void TfrmSchedario_Chiavi::cmdFileClick()
{
    // The attachment window gets the three slots, trimmed, and hands them back on "Applica e
    // chiudi"; they reach the card file with the next save.
    Navigation::runModal<TfrmAllegaCartella>(this, m_ctx, [this](TfrmAllegaCartella& frm) {
        frm.setCallerTag(u"schedario_chiavi"_s);
        for (int slot = 1; slot <= TfrmAllegaCartella::Slots; ++slot) {
            frm.setFileName(slot, attachmentFile(slot));
            frm.setDescription(slot, attachmentDescription(slot));
        }
        connect(&frm, &TfrmAllegaCartella::attachmentsApplied, this,
                [this](const QList<TfrmAllegaCartella::Attachment>& attachments) {
                    for (qsizetype i = 0; i < attachments.size() && i < qsizetype(std::size(AttachmentFields)); ++i) {
                        m_card.*AttachmentFields[i].file = attachments[i].fileName;
                        m_card.*AttachmentFields[i].description = attachments[i].description;
                    }
                });
    });
}

QMap<QString, QString> TfrmSchedario_Chiavi::shownValues() const
{
    QMap<QString, QString> values;
    for (const QString& box : FormDesigns::cardValueBoxes())
        if (const auto* field = findChild<const QLineEdit*>(box))
            values.insert(box, field->text());
    return values;
}

void TfrmSchedario_Chiavi::cmdStampaClick()
{
    // The print window gets the visible fields as they are, saved or not.
    Navigation::runModal<TfrmStampaScheda_Chiave>(
        this, m_ctx, [this](TfrmStampaScheda_Chiave& frm) { frm.setValues(shownValues()); });
}

void TfrmSchedario_Chiavi::cmdEsportaClick()
{
    Navigation::runModal<TfrmExpChiavi>(this, m_ctx);
}

void TfrmSchedario_Chiavi::cmdSmarriteClick()
{
    // The lost list loads the card chosen there, read again at its position.
    Navigation::runModal<TfrmRiepSmarrite>(this, m_ctx, [this](TfrmRiepSmarrite& frm) {
        connect(&frm, &TfrmRiepSmarrite::cardChosen, this, &TfrmSchedario_Chiavi::takeChosenCard);
    });
}

void TfrmSchedario_Chiavi::cmdAnnullaRitiroClick()
{
    if (position() < 1 || !PassValues::isLent(m_asRead))
        return;
    if (!m_ctx.messages->question(this, undoQuestion(Win1252::trimmed(m_asRead.Codice).toString()),
                                  Messages::Preselected::No))
        return;

    // The card as it was shown, with its withdrawal undone, and only while the file still holds it
    // so: another workstation may have taken the pass back or changed the card since.
    const PassRecord undone = PassValues::withdrawalUndone(m_asRead);
    const bool typed = changedOnScreen();
    if (!rewriteShownCard(undone))
        return;
    // What was typed into the other fields stays on screen, for the operator to save or leave.
    m_card = PassValues::withdrawalUndone(m_card);
    txtStato->setText(PassValues::Disponibile);
    offerUndo();
    if (!typed)
        keepShownAsLoaded();
}

void TfrmSchedario_Chiavi::cmdGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::CardFile);
}

void TfrmSchedario_Chiavi::cmdEsciClick()
{
    close();
}
