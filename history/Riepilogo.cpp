#include "history/Riepilogo.h"

#include "archives/PackedFields.h"
#include "archives/Win1252.h"
#include "grids/SpreadsheetExport.h"
#include "grids/StringGridModel.h"
#include "grids/StringGridView.h"
#include "shell/Guida.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QList<StringGridModel::Column> gridColumns()
{
    return {
        {u"N."_s, 60},
        {u"Numero identificativo"_s, 200},
        {u"Tipo pass"_s, 200},
        {u"Utilizzo"_s, 200, true},
        {u"Luogo conservazione"_s, 250},
        {u"Persone autorizzate al ritiro"_s, 300},
        {u"Ritirato da"_s, 250},
        {u"Data ritiro"_s, 160},
        {u"Ora ritiro"_s, 150},
        {u"Riconsegnato da"_s, 250},
        {u"Data riconsegna"_s, 160, true},
        {u"Ora riconsegna"_s, 150},
    };
}

const QList<Spreadsheet::HeaderCell> ExportHeaders = {
    {u"Numero identificativo"_s, 250},
    {u"Tipo pass"_s, 250},
    {u"Utilizzo"_s, 300},
    {u"Luogo conservazione"_s, 350},
    {u"Persone autorizzate al ritiro"_s, 350},
    {u"Ritirato da"_s, 300},
    {u"Data ritiro"_s, 200},
    {u"Ora ritiro"_s, 180},
    {u"Riconsegnato da"_s, 300},
    {u"Data riconsegna"_s, 200},
    {u"Ora riconsegna"_s, 180},
};

constexpr int DesignRows = 10;
constexpr int RowHeight = 21;

} // namespace

TfrmRiepilogo::TfrmRiepilogo(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmRiepilogo"_s, u"Ingressario - Storico Operazioni"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Ingressario - Storico Operazioni"_s);

    panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Storico operazioni"_s);
    panContainer->setAutoFillBackground(true);

    // The title of the period on its navy frame.
    shpTitolo = ScreenKit::named(new QWidget(panContainer), u"shpTitolo"_s, u"Titolo"_s);
    shpTitolo->setAttribute(Qt::WA_StyledBackground);
    lblIntervallo = ScreenKit::named(new QLabel(u"Storico operazioni"_s, shpTitolo), u"lblIntervallo"_s);
    ScreenKit::speakChangingText(lblIntervallo, u"Periodo"_s);
    lblIntervallo->setFont(Look::font(Look::FontRole::PeriodTitle));
    Look::setKind(lblIntervallo, Look::Kind::TextOnDark);
    lblIntervallo->setAlignment(Qt::AlignCenter);
    lblIntervallo->setTextFormat(Qt::PlainText);
    auto* title = new QHBoxLayout(shpTitolo);
    title->setContentsMargins(12, 10, 12, 10);
    title->addWidget(lblIntervallo);

    m_grid = new StringGridModel(gridColumns(), this);
    StringGridModel::Rows design(HistoryQuery::gridFields().count());
    design.appendEmpty(DesignRows);
    m_grid->setRows(std::move(design));
    grdRecords = ScreenKit::named(new QTableView(panContainer), u"grdRecords"_s, u"Operazioni del periodo"_s);
    StringGrid::setUpView(grdRecords, m_grid, RowHeight);
    grdRecords->setMinimumSize(1060, 440);

    // The commands under the grid.
    icoHand = ScreenKit::named(new SvgPicture(u"mano"_s, panContainer), u"icoHand"_s, u"Mano"_s);
    icoHand->setPictureSize(QSize(48, 34));
    ScreenKit::hideFromScreenReaders(icoHand); // decoration only
    cmdEsporta = ScreenKit::named(new PictureButton(u"foglio_excel"_s, panContainer), u"cmdEsporta"_s,
                                  u"Esporta in Microsoft Excel"_s);
    cmdEsporta->setPictureSize(QSize(52, 52));
    cmdGuida = ScreenKit::named(new PictureButton(u"guida"_s, panContainer), u"cmdGuida"_s, u"Guida"_s);
    cmdGuida->setPictureSize(QSize(44, 44));
    cmdEsci = ScreenKit::named(new PictureButton(u"esci"_s, panContainer), u"cmdEsci"_s, u"Esci"_s);
    cmdEsci->setPictureSize(QSize(44, 44));
    auto* commands = new QHBoxLayout;
    commands->setSpacing(10);
    commands->addWidget(icoHand);
    commands->addWidget(cmdEsporta);
    commands->addStretch(1);
    commands->addWidget(cmdGuida);
    commands->addWidget(cmdEsci);

    shpInfo = ScreenKit::named(new QWidget(panContainer), u"shpInfo"_s, u"Barra informativa"_s);
    shpInfo->setFixedHeight(30);
    m_status = new ScreenKit::StatusLine(this, shpInfo, u"Esportazione archivio in Microsoft Excel."_s,
                                         Look::color(Look::Role::HistoryStatusStrip));
    m_status->addHints({
        {cmdEsporta, u"Esporta l'archivio in formato Microsoft Excel."_s},
        {cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_s},
        {cmdEsci, u"Esci da questo ambiente di lavoro."_s},
    });
    m_status->addClearingAreas({this, panContainer, grdRecords, shpTitolo, shpInfo});
    ScreenKit::addCommandKeys(m_status, {{cmdEsporta, QKeySequence(Qt::CTRL | Qt::Key_E)},
                                         {cmdGuida, QKeySequence(Qt::Key_F1)},
                                         {cmdEsci, QKeySequence(Qt::Key_Escape)}});

    auto* content = new QVBoxLayout(panContainer);
    content->setContentsMargins(10, 10, 10, 0);
    content->setSpacing(8);
    content->addWidget(shpTitolo);
    content->addWidget(grdRecords, 1);
    content->addLayout(commands);
    content->addWidget(shpInfo);
    auto* root = new QVBoxLayout(ScreenKit::fitToScreen(this));
    root->setContentsMargins(0, 0, 0, 0);
    root->addWidget(panContainer);
    ScreenKit::makeSizableDialogFrame(this);

    connect(cmdEsporta, &QAbstractButton::clicked, this, &TfrmRiepilogo::cmdEsportaClick);
    connect(cmdGuida, &QAbstractButton::clicked, this, &TfrmRiepilogo::cmdGuidaClick);
    connect(cmdEsci, &QAbstractButton::clicked, this, &TfrmRiepilogo::cmdEsciClick);
}

void TfrmRiepilogo::setInterval(const QString& start, const QString& end)
{
    m_start = start;
    m_end = end;
}

void TfrmRiepilogo::FormShow()
{
    m_loaded = true;
    lblIntervallo->setText(u"Storico operazioni dal "_s + Win1252::trimmed(m_start).toString() + u" al "_s +
                           Win1252::trimmed(m_end).toString());

    const PackedFields& fields = HistoryQuery::gridFields();
    StringGridModel::Rows rows(fields.count());
    const auto add = [&](qint64 sequence, const char* record) { rows.append(sequence, record, fields); };
    m_result = m_ctx.historyIndex ? HistoryQuery::select(*m_ctx.historyIndex, m_ctx.programFolder, m_start, m_end, add)
                                  : HistoryQuery::select(m_ctx.programFolder, m_start, m_end, add);
    switch (m_result.outcome) {
    case HistoryQuery::Result::NotOpened:
        // Nothing was read: the grid stays as it was created.
        return;
    case HistoryQuery::Result::Interrupted:
        // The operations read before the failure, in file order.
        break;
    case HistoryQuery::Result::NoRecords:
    case HistoryQuery::Result::Complete: {
        QCollator byType;
        byType.setCaseSensitivity(Qt::CaseInsensitive);
        rows.sortByColumn(colTipo, byType);
        break;
    }
    }
    m_grid->setRows(std::move(rows));
}

void TfrmRiepilogo::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_placed) {
        ScreenKit::centreOnScreen(this);
        m_placed = true;
    }
    if (!m_loaded)
        FormShow();
}

void TfrmRiepilogo::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}

void TfrmRiepilogo::cmdEsportaClick()
{
    QList<int> columns;
    for (int c = colCodice; c <= colOraRic; ++c)
        columns << c;
    Spreadsheet::run(this, m_ctx,
                     {u"Storico_Operazioni.xls"_s, u"Storico Operazioni"_s, ExportHeaders, m_grid, columns});
}

void TfrmRiepilogo::cmdGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::History);
}

void TfrmRiepilogo::cmdEsciClick()
{
    close();
}
