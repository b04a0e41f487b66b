#include "lists/PassListWindow.h"

#include "archives/CardFile.h"
#include "lists/ChosenCard.h"
#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "printing/ListDocument.h"
#include "shell/Look.h"
#include "shell/PrintDocument.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace PassListFilters {

namespace {
bool notLost(const char* record)
{
    static const PassRecord::FieldIs test(&PassRecord::Smarrita, PassValues::No);
    return test(record);
}
bool availableState(const char* record)
{
    static const PassRecord::FieldIs test(&PassRecord::Stato, PassValues::Disponibile);
    return test(record);
}
} // namespace

bool lost(const char* record)
{
    return !notLost(record);
}

bool available(const char* record)
{
    return notLost(record) && availableState(record);
}

bool out(const char* record)
{
    return notLost(record) && !availableState(record);
}

} // namespace PassListFilters

namespace PassLists {

void build(const QString& programFolder, const PassListVariant& variant, PassLineModel& model)
{
    // Nothing of a card is decoded: the filters above test its record bytes, and its line is kept
    // from them. One reading of the whole file, in parts at once; a failure ends the building
    // silently with the lines read before it.
    PassLineModel::Lines lines;
    const PassLine::Form form = variant.form;
    const auto listed = variant.listed;
    withCardFile(programFolder, [&](CardFile& file) {
        return lines.appendCards(file.raw(), form, [&](int, const char* record) { return listed(record); });
    });
    model.setLines(std::move(lines));
}

} // namespace PassLists

namespace {

// Enter in the find field tries the code first: a scanner types a pass code and one Enter.
class CodeEnter : public QObject
{
public:
    CodeEnter(QObject* parent, std::function<bool()> pick) : QObject(parent), m_pick(std::move(pick)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return (key == Qt::Key_Return || key == Qt::Key_Enter) && m_pick();
    }

private:
    std::function<bool()> m_pick;
};

} // namespace

PassListWindow::PassListWindow(AppContext& ctx, const PassListVariant& variant, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_ctx(ctx), m_variant(variant), m_model(new PassLineModel(this)),
      frxReport(ListDocument::create())
{
    buildWindow();
}

PassListWindow::~PassListWindow() = default;

void PassListWindow::buildWindow()
{
    setObjectName(m_variant.windowName);
    setWindowTitle(m_variant.caption);
    ScreenKit::name(this, m_variant.windowName, m_variant.caption.trimmed());
    Look::applyStyleSheet(this);
    // Drawn at this size (smaller only on a screen too small for it), the layout filling it.
    QWidget* content = ScreenKit::fitToScreen(this, QSize(1120, 620));
    ScreenKit::makeFixedDialogFrame(this);

    auto* imgTrova = ScreenKit::named(new SvgPicture(u"lente"_s, this), u"imgTrova"_s, u"Trova"_s);
    imgTrova->setPictureSize(QSize(30, 30));

    txtTrova = ScreenKit::named(new QLineEdit(this), u"txtTrova"_s, u"Testo da trovare"_s);
    txtTrova->setFont(Look::font(Look::FontRole::Field));
    txtTrova->setFixedWidth(380);

    btnTrova = ScreenKit::named(new QPushButton(u"Trova"_s, this), u"btnTrova"_s, u"Trova"_s);
    lstRecords = ScreenKit::named(new PassListBox(m_model, this), u"lstRecords"_s, m_variant.caption.trimmed());
    lblRigo03 = ScreenKit::named(new QLabel(u"Fare doppio clic sulla voce in elenco per richiamare la scheda"_s, this),
                                 u"lblRigo03"_s);
    lblRigo03->setFont(Look::font(Look::FontRole::Caption));
    lblRigo03->setAlignment(Qt::AlignCenter);
    Look::setKind(lblRigo03, Look::Kind::Emphasis);
    lblRigo03->setVisible(m_variant.showsInstruction);

    btnStampa = ScreenKit::named(new QPushButton(u"Stampa"_s, this), u"btnStampa"_s, u"Stampa"_s);
    btnChiudi = ScreenKit::named(new QPushButton(u"Chiudi"_s, this), u"btnChiudi"_s, u"Chiudi"_s);
    for (QPushButton* b : {btnTrova, btnStampa, btnChiudi}) {
        b->setAutoDefault(true); // Enter on a focused button presses it, as the space bar does
        b->setMinimumSize(110, 32);
    }

    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(10);
    findRow->addWidget(imgTrova);
    findRow->addWidget(txtTrova);
    findRow->addWidget(btnTrova);
    findRow->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnStampa);
    buttons->addStretch();
    buttons->addWidget(btnChiudi);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(findRow);
    layout->addWidget(lstRecords, 1);
    if (m_variant.showsInstruction)
        layout->addWidget(lblRigo03);
    layout->addLayout(buttons);

    setTabOrder(txtTrova, lstRecords);
    setTabOrder(lstRecords, btnStampa);
    setTabOrder(btnStampa, btnTrova);
    setTabOrder(btnTrova, btnChiudi);

    new ScreenKit::FocusMarks(this, {{txtTrova, u"effTrova"_s}});
    (new ScreenKit::EnterChain(this))->link(txtTrova, btnTrova);
    // Installed after the chain, so it sees Enter first.
    if (m_variant.picksByCode)
        txtTrova->installEventFilter(new CodeEnter(this, [this] { return pickByCode(); }));

    connect(btnTrova, &QPushButton::clicked, this, &PassListWindow::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &PassListWindow::btnStampaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &PassListWindow::btnChiudiClick);
    connect(lstRecords, &PassListBox::doubleClickedAnywhere, this, &PassListWindow::lstRecordsDblClick);
    connect(lstRecords, &PassListBox::enterOnLine, this, &PassListWindow::lstRecordsDblClick);
}

void PassListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_variant.rememberedFind->clear();
    txtTrova->clear();
    buildList();
    ScreenKit::centreOnScreen(this);
    ScreenKit::moveFocus(txtTrova);
}

void PassListWindow::buildList()
{
    PassLists::build(m_ctx.programFolder, m_variant, *m_model);
    lstRecords->selectRow(-1);
}

void PassListWindow::btnTrovaClick()
{
    if (m_model->rowCount() == 0) {
        m_ctx.messages->plain(this, u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
        return;
    }
    const int row = m_model->find(lstRecords->selectedRow(), txtTrova->text(), *m_variant.rememberedFind);
    lstRecords->selectRow(row);
}

bool PassListWindow::pickByCode()
{
    const int row = m_model->rowOfCode(txtTrova->text());
    if (row < 0)
        return false;
    lstRecords->selectRow(row);
    lstRecordsDblClick();
    return true;
}

void PassListWindow::btnStampaClick()
{
    // A failure of the document or the printer is told with its own text; the list stays as it is.
    const PrintOutcome outcome = printList(m_ctx, this, *frxReport, m_variant.printTitle, m_model->lines());
    if (outcome.failed())
        m_ctx.messages->notice(this, NoticeKind::Error, outcome.error);
}

void PassListWindow::btnChiudiClick()
{
    close();
}

void PassListWindow::lstRecordsDblClick()
{
    if (m_variant.doubleClick == PassListVariant::DoubleClick::Nothing)
        return;
    if (m_model->rowCount() == 0) {
        if (m_variant.whenEmpty == PassListVariant::WhenEmpty::WarnAndClose)
            m_ctx.messages->notice(this, NoticeKind::Warning,
                                   u"Operazione non applicabile: l'elenco non contiene nessun pass."_s);
        close();
        return;
    }

    const bool ok = ChosenCard::handOver(
        m_ctx.programFolder, *m_model, lstRecords->selectedRow(), m_variant.form,
        [listed = m_variant.listed](const PassRecord& card) { return listed(card.encode().constData()); },
        [this](qint64 position, const PassRecord& card) { emit cardChosen(position, card); });
    if (ok)
        emit handOverDone();
    close();
}

void PassListWindow::closeEvent(QCloseEvent* event)
{
    m_model->clear();
    QWidget::closeEvent(event);
}

void PassListWindow::paintEvent(QPaintEvent*)
{
    Look::paintShade(this, Look::Shade::Search);
}
