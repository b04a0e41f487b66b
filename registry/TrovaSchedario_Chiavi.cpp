#include "registry/TrovaSchedario_Chiavi.h"

#include "archives/CardFile.h"
#include "lists/ChosenCard.h"
#include "lists/PassLine.h"
#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "printing/ListDocument.h"
#include "shell/ArchiveMessages.h"
#include "shell/Look.h"
#include "shell/PrintDocument.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace {

const QString CallerTag = u"schedario_chiavi"_s;

// One filter of the search: its field, the label beside it, its focus mark and the card field it
// is compared with; in tab and Enter order.
struct FilterField
{
    QString name;
    QString label;
    QString mark;
    QString PassRecord::*field;
};

const std::array<FilterField, 10>& filterFields()
{
    static const std::array<FilterField, 10> filters{{
        {u"txtCodice"_s, u"Numero identificativo:"_s, u"effCampo01"_s, &PassRecord::Codice},
        {u"txtTipo"_s, u"Tipo pass:"_s, u"effCampo02"_s, &PassRecord::Tipo},
        {u"txtUtilizzo"_s, u"Utilizzo:"_s, u"effCampo03"_s, &PassRecord::Utilizzo},
        {u"txtStato"_s, u"Stato attuale:"_s, u"effCampo04"_s, &PassRecord::Stato},
        {u"txtDuplicati"_s, u"Duplicati:"_s, u"effCampo05"_s, &PassRecord::Duplicati},
        {u"txtLuogo"_s, u"Luogo conservazione:"_s, u"effCampo06"_s, &PassRecord::Luogo},
        {u"txtResponsabile"_s, u"Responsabile:"_s, u"effCampo07"_s, &PassRecord::Responsabile},
        {u"txtRecapiti"_s, u"Recapiti:"_s, u"effCampo08"_s, &PassRecord::Recapiti},
        {u"txtPersone"_s, u"Persone autorizzate al ritiro:"_s, u"effCampo09"_s, &PassRecord::Persone},
        {u"txtNote"_s, u"Note:"_s, u"effCampo10"_s, &PassRecord::Note},
    }};
    return filters;
}

// A filter is in use when its text is not blank; it is compared as typed, untrimmed.
bool isBlank(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 32)
            return false;
    }
    return true;
}

// The light rounded frame that the filters stand on.
class Backdrop : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Look::color(Look::Role::SearchBackdropEdge), 1));
        painter.setBrush(Look::color(Look::Role::SearchBackdrop));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
};

QPushButton* makeButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = ScreenKit::newButton(text, name, parent);
    button->setMinimumSize(110, 32);
    return button;
}

} // namespace

TfrmTrovaSchedario_Chiavi::TfrmTrovaSchedario_Chiavi(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_ctx(ctx), m_model(new PassLineModel(this)), frxReport(ListDocument::create())
{
    buildWindow();
}

TfrmTrovaSchedario_Chiavi::~TfrmTrovaSchedario_Chiavi() = default;

void TfrmTrovaSchedario_Chiavi::buildWindow()
{
    ScreenKit::name(this, u"frmTrovaSchedario_Chiavi"_s, u"Trova pass in schedario"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Trova pass in schedario"_s);
    // Drawn at this size (smaller only on a screen too small for it): both panels fill the same
    // place.
    QWidget* content = ScreenKit::fitToScreen(this, QSize(1120, 640));
    ScreenKit::makeFixedDialogFrame(this);

    panAvvio = buildFilterPanel();
    panContainer = buildResultPanel();
    panContainer->hide();

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panAvvio);
    layout->addWidget(panContainer);
}

QWidget* TfrmTrovaSchedario_Chiavi::buildFilterPanel()
{
    auto* panel = ScreenKit::named(new QWidget(this), u"panAvvio"_s, u"Filtri di ricerca"_s);

    const QFont labelFont = Look::font(Look::FontRole::Caption);
    const QFont fieldFont = Look::font(Look::FontRole::Text);

    auto* title = new QLabel(u"Cerca le schede che contengono il testo indicato nei campi compilati"_s, panel);
    title->setFont(Look::font(Look::FontRole::Title));
    Look::setKind(title, Look::Kind::TextOnDark);

    auto* shpCampi = new Backdrop(panel);
    shpCampi->setObjectName(u"shpCampi"_s);
    auto* grid = new QGridLayout(shpCampi);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    std::array<QLineEdit**, 10> targets{&txtCodice, &txtTipo,         &txtUtilizzo, &txtStato,   &txtDuplicati,
                                        &txtLuogo,  &txtResponsabile, &txtRecapiti, &txtPersone, &txtNote};
    QList<ScreenKit::Mark> marks;
    QList<QWidget*> chain;
    int row = 0;
    for (const FilterField& filter : filterFields()) {
        auto* label = new QLabel(filter.label, shpCampi);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* field = ScreenKit::named(new QLineEdit(shpCampi), filter.name, filter.label.chopped(1));
        field->setFont(fieldFont);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        *targets[size_t(row)] = field;
        marks.append({field, filter.mark});
        chain.append(field);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    btnCerca = makeButton(u"Cerca"_s, u"btnCerca"_s, panel);
    btnAnnulla = makeButton(u"Chiudi"_s, u"btnAnnulla"_s, panel);
    lblAttendere = ScreenKit::named(new QLabel(u"Ricerca schede in corso. Attendere..."_s, panel), u"lblAttendere"_s);
    lblAttendere->setFont(labelFont);
    Look::setKind(lblAttendere, Look::Kind::Emphasis);
    lblAttendere->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCerca);
    buttons->addSpacing(16);
    buttons->addWidget(lblAttendere);
    buttons->addStretch();
    buttons->addWidget(btnAnnulla);

    auto* imgLente = ScreenKit::named(new SvgPicture(u"lente"_s, panel), u"imgLente"_s, u"Trova"_s);
    imgLente->setPictureSize(QSize(40, 40));
    auto* head = new QHBoxLayout;
    head->addWidget(imgLente);
    head->addSpacing(8);
    head->addWidget(title);
    head->addStretch();

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addLayout(head);
    layout->addSpacing(14);
    layout->addWidget(shpCampi);
    layout->addStretch();
    layout->addLayout(buttons);

    for (int i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
    setTabOrder(chain.last(), btnCerca);
    setTabOrder(btnCerca, btnAnnulla);

    new ScreenKit::FocusMarks(this, marks);
    (new ScreenKit::EnterChain(this))->cycle(chain);
    ScreenKit::attachWaitingText(btnCerca, lblAttendere);

    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaSchedario_Chiavi::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QWidget::close);
    return panel;
}

QWidget* TfrmTrovaSchedario_Chiavi::buildResultPanel()
{
    auto* panel = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Schede trovate"_s);

    auto* imgTrova = ScreenKit::named(new SvgPicture(u"lente"_s, panel), u"imgTrova"_s, u"Trova"_s);
    imgTrova->setPictureSize(QSize(30, 30));
    txtTrova = ScreenKit::named(new QLineEdit(panel), u"txtTrova"_s, u"Testo da trovare"_s);
    txtTrova->setFont(Look::font(Look::FontRole::Field));
    txtTrova->setFixedWidth(380);
    btnTrova = makeButton(u"Trova"_s, u"btnTrova"_s, panel);

    lstRecords = ScreenKit::named(new PassListBox(m_model, panel), u"lstRecords"_s, u"Schede trovate"_s);

    const QFont labelFont = Look::font(Look::FontRole::Caption);
    lblTrovate = ScreenKit::named(new QLabel(panel), u"lblTrovate"_s);
    lblTrovate->setFont(labelFont);
    lblRigo03 = ScreenKit::named(
        new QLabel(u"Fare doppio clic su una voce in elenco per richiamare la scheda"_s, panel), u"lblRigo03"_s);
    lblRigo03->setFont(labelFont);
    Look::setKind(lblRigo03, Look::Kind::Emphasis);
    lblRigo03->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    btnStampa = makeButton(u"Stampa"_s, u"btnStampa"_s, panel);
    btnChiudi = makeButton(u"Chiudi"_s, u"btnChiudi"_s, panel);

    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(10);
    findRow->addWidget(imgTrova);
    findRow->addWidget(txtTrova);
    findRow->addWidget(btnTrova);
    findRow->addStretch();

    auto* info = new QHBoxLayout;
    info->addWidget(lblTrovate);
    info->addStretch();
    info->addWidget(lblRigo03);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnStampa);
    buttons->addStretch();
    buttons->addWidget(btnChiudi);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(findRow);
    layout->addWidget(lstRecords, 1);
    layout->addLayout(info);
    layout->addLayout(buttons);

    setTabOrder(txtTrova, btnTrova);
    setTabOrder(btnTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnChiudi);

    (new ScreenKit::EnterChain(this))->link(txtTrova, btnTrova);

    connect(btnTrova, &QPushButton::clicked, this, &TfrmTrovaSchedario_Chiavi::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrovaSchedario_Chiavi::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(lstRecords, &PassListBox::doubleClickedAnywhere, this, &TfrmTrovaSchedario_Chiavi::lstRecordsDblClick);
    connect(lstRecords, &PassListBox::enterOnLine, this, &TfrmTrovaSchedario_Chiavi::lstRecordsDblClick);
    return panel;
}

void TfrmTrovaSchedario_Chiavi::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_rememberedFind.clear();
    lstRecords->selectRow(0);
    txtTrova->clear();
    ScreenKit::centreOnScreen(this);
    ScreenKit::moveFocus(txtCodice);
}

void TfrmTrovaSchedario_Chiavi::btnCercaClick()
{
    struct InUse
    {
        QString lowered;
        QString PassRecord::*field;
    };
    const std::array<QLineEdit*, 10> fields{txtCodice, txtTipo,         txtUtilizzo, txtStato,   txtDuplicati,
                                            txtLuogo,  txtResponsabile, txtRecapiti, txtPersone, txtNote};
    QList<InUse> inUse;
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString typed = fields[i]->text();
        if (!isBlank(typed))
            inUse.append({PassLine::asciiLower(typed), filterFields()[i].field});
    }
    m_filtersInUse = int(inUse.size());

    m_model->clear();
    // Only the fields of the filters in use are decoded; the line is written straight from the
    // record bytes.
    PassRecord::FieldSet read = 0;
    for (const InUse& filter : inUse)
        read |= PassRecord::fieldSet({filter.field});
    PassLineModel::Lines lines;
    std::array<PassRecord, RecordFile::MostParts> cards; // one for each part of the file read at once
    const bool ok = withCardFile(m_ctx.programFolder, [&](CardFile& file) {
        return lines.appendCards(file.raw(), PassLine::Form::Long, [&](int part, const char* record) {
            PassRecord& card = cards[size_t(part)];
            if (read != 0)
                PassRecord::decodeInto(record, card, read);
            for (const InUse& filter : inUse) {
                if (!PassLine::containsLowered(card.*filter.field, filter.lowered))
                    return false;
            }
            return true;
        });
    });
    if (!ok) {
        // The filters stay for another try; the waiting text would otherwise stay on for good.
        ScreenKit::hideWaiting(lblAttendere);
        m_ctx.messages->plain(this, ArchiveMessages::CardFileAccess);
        return;
    }

    m_model->setLines(std::move(lines));
    lblTrovate->setText(u"Il presente riepilogo contiene "_s + QString::number(m_model->rowCount()) + u" schede."_s);
    lblTrovate->setAccessibleName(lblTrovate->text());
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    ScreenKit::moveFocus(txtTrova);
}

void TfrmTrovaSchedario_Chiavi::btnTrovaClick()
{
    if (m_model->rowCount() == 0) {
        m_ctx.messages->plain(this, u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
        return;
    }
    lstRecords->selectRow(m_model->find(lstRecords->selectedRow(), txtTrova->text(), m_rememberedFind));
}

void TfrmTrovaSchedario_Chiavi::btnStampaClick()
{
    // A failure of the document or the printer is told with its own text; the list stays as it is.
    const PrintOutcome outcome = printList(m_ctx, this, *frxReport, u"Schedario Pass"_s, m_model->lines());
    if (outcome.failed())
        m_ctx.messages->notice(this, NoticeKind::Error, outcome.error);
}

void TfrmTrovaSchedario_Chiavi::lstRecordsDblClick()
{
    // Any failure closes the window without a message.
    if (m_callerTag.trimmed() == CallerTag)
        ChosenCard::handOver(m_ctx.programFolder, *m_model, lstRecords->selectedRow(), PassLine::Form::Long, {},
                             [this](qint64 position, const PassRecord& card) { emit cardChosen(position, card); });
    close();
}

void TfrmTrovaSchedario_Chiavi::closeEvent(QCloseEvent* event)
{
    m_model->clear();
    ScreenKit::hideWaiting(lblAttendere);
    QWidget::closeEvent(event);
}

void TfrmTrovaSchedario_Chiavi::paintEvent(QPaintEvent*)
{
    Look::paintShade(this, Look::Shade::Search);
}
