#include "registry/ExpChiavi.h"

#include "archives/CardFile.h"
#include "archives/PackedFields.h"
#include "grids/SpreadsheetExport.h"
#include "grids/StringGridModel.h"
#include "grids/StringGridView.h"
#include "shell/Guida.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/SvgPicture.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The card fields of grid columns 1 to 10.
const PackedFields& cardFields()
{
    using P = PassRecord;
    static const PackedFields fields(P::places({&P::Codice, &P::Tipo, &P::Utilizzo, &P::Stato, &P::Duplicati, &P::Luogo,
                                                &P::Responsabile, &P::Recapiti, &P::Persone, &P::Note}));
    return fields;
}

QList<StringGridModel::Column> gridColumns()
{
    return {
        {u"N."_s, 60},
        {u"Numero identificativo"_s, 170},
        {u"Tipo pass"_s, 150},
        {u"Utilizzo"_s, 170},
        {u"Stato attuale"_s, 300},
        {u"Duplicati"_s, 200},
        {u"Luogo conservazione"_s, 220, true},
        {u"Responsabile"_s, 200},
        {u"Recapiti"_s, 200},
        {u"Persone autorizzate al ritiro"_s, 240},
        {u"Note"_s, 260, true},
    };
}

const QList<Spreadsheet::HeaderCell> ExportHeaders = {
    {u"Numero identificativo"_s, 250},
    {u"Tipo pass"_s, 250},
    {u"Utilizzo"_s, 300},
    {u"Stato attuale"_s, 400},
    {u"Duplicati"_s, 350},
    {u"Luogo conservazione"_s, 350},
    {u"Responsabile"_s, 350},
    {u"Recapiti"_s, 350},
    {u"Persone autorizzate al ritiro"_s, 350},
    {u"Note"_s, 350},
};

// The grid as the window is created: ten rows with nothing in them.
constexpr int DesignRows = 10;

} // namespace

TfrmExpChiavi::TfrmExpChiavi(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx)
{
    ScreenKit::name(this, u"frmExpChiavi"_s, u"Esporta schedario pass in Microsoft Excel"_s);
    Look::applyStyleSheet(this);
    setWindowTitle(u" Esporta schedario pass in Microsoft Excel"_s);

    panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s, u"Esportazione"_s);
    panContainer->setAutoFillBackground(true);

    // The band at the top: the picture of the export and its commands.
    shpSfondo = ScreenKit::named(new QWidget(panContainer), u"shpSfondo"_s, u"Comandi"_s);
    shpSfondo->setAttribute(Qt::WA_StyledBackground);
    imgLogo = ScreenKit::named(new SvgPicture(u"esporta_schedario"_s, shpSfondo), u"imgLogo"_s,
                               u"Esportazione schedario pass"_s);
    imgLogo->setPictureSize(QSize(176, 77));
    icoHand = ScreenKit::named(new SvgPicture(u"mano"_s, shpSfondo), u"icoHand"_s, u"Mano"_s);
    icoHand->setPictureSize(QSize(48, 34));
    ScreenKit::hideFromScreenReaders(icoHand); // decoration only
    cmdEsporta = ScreenKit::named(new PictureButton(u"foglio_excel"_s, shpSfondo), u"cmdEsporta"_s,
                                  u"Esporta in Microsoft Excel"_s);
    cmdEsporta->setPictureSize(QSize(56, 56));
    cmdGuida = ScreenKit::named(new PictureButton(u"guida"_s, shpSfondo), u"cmdGuida"_s, u"Guida"_s);
    cmdGuida->setPictureSize(QSize(44, 44));
    cmdEsci = ScreenKit::named(new PictureButton(u"esci"_s, shpSfondo), u"cmdEsci"_s, u"Esci"_s);
    cmdEsci->setPictureSize(QSize(44, 44));

    auto* band = new QHBoxLayout(shpSfondo);
    band->setContentsMargins(14, 8, 14, 8);
    band->setSpacing(10);
    band->addWidget(imgLogo);
    band->addStretch(1);
    band->addWidget(icoHand);
    band->addWidget(cmdEsporta);
    band->addSpacing(24);
    band->addWidget(cmdGuida);
    band->addWidget(cmdEsci);

    m_grid = new StringGridModel(gridColumns(), this);
    StringGridModel::Rows design(cardFields().count());
    design.appendEmpty(DesignRows);
    m_grid->setRows(std::move(design));
    grdRecords = ScreenKit::named(new QTableView(panContainer), u"grdRecords"_s, u"Schede in archivio"_s);
    StringGrid::setUpView(grdRecords, m_grid, 21);
    grdRecords->setMinimumSize(1040, 470);

    // The strip at the foot with the status line.
    shpInfo = ScreenKit::named(new QWidget(panContainer), u"shpInfo"_s, u"Barra informativa"_s);
    shpInfo->setFixedHeight(30);
    m_status = new ScreenKit::StatusLine(this, shpInfo, u"Esportazione archivio in Microsoft Excel."_s,
                                         Look::color(Look::Role::StatusStrip));
    m_status->addHints({
        {cmdEsporta, u"Esporta l'archivio in formato Microsoft Excel."_s},
        {cmdGuida, u"Visualizza la pagina della guida sensibile al contesto."_s},
        {cmdEsci, u"Esci da questo ambiente di lavoro."_s},
    });
    m_status->addClearingAreas({this, panContainer, grdRecords, shpSfondo, shpInfo});

    auto* content = new QVBoxLayout(panContainer);
    content->setContentsMargins(10, 10, 10, 0);
    content->setSpacing(8);
    content->addWidget(shpSfondo);
    content->addWidget(grdRecords, 1);
    content->addSpacing(2);
    content->addWidget(shpInfo);
    content->setStretch(1, 1);
    auto* root = new QVBoxLayout(ScreenKit::fitToScreen(this));
    root->setContentsMargins(0, 0, 0, 0);
    root->addWidget(panContainer);
    ScreenKit::makeSizableDialogFrame(this);

    connect(cmdEsporta, &QAbstractButton::clicked, this, &TfrmExpChiavi::cmdEsportaClick);
    connect(cmdGuida, &QAbstractButton::clicked, this, &TfrmExpChiavi::cmdGuidaClick);
    connect(cmdEsci, &QAbstractButton::clicked, this, &TfrmExpChiavi::cmdEsciClick);
}

void TfrmExpChiavi::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_placed) {
        ScreenKit::centreOnScreen(this);
        m_placed = true;
    }
    FormShow();
}

void TfrmExpChiavi::FormShow()
{
    // An empty card file gives an empty grid; a file that cannot be opened leaves the grid as it
    // is, and one that fails half way shows the cards read before the failure.
    const PackedFields& fields = cardFields();
    CardFile file(m_ctx.programFolder);
    if (!file.open())
        return;
    // The rows shown so far go first and their room takes the new ones: filled again, the grid
    // needs no more memory than once, and none fresh from the system.
    StringGridModel::Rows rows = m_grid->takeRows();
    rows.clear();
    rows.appendRecords(file.raw(), fields);
    file.close();
    m_grid->setRows(std::move(rows));
}

void TfrmExpChiavi::cmdEsportaClick()
{
    Spreadsheet::run(this, m_ctx,
                     {u"Schedario_Pass.xls"_s,
                      u"Schedario Pass"_s,
                      ExportHeaders,
                      m_grid,
                      {colCodice, colTipo, colUtilizzo, colStato, colDuplicati, colLuogo, colResponsabile, colRecapiti,
                       colPersone, colNote}});
}

void TfrmExpChiavi::cmdGuidaClick()
{
    TfrmGuida::openPage(this, m_ctx, GuideTopic::Export);
}

void TfrmExpChiavi::cmdEsciClick()
{
    close();
}
