#pragma once

#include "history/HistoryQuery.h"
#include "shell/AppContext.h"

#include <QWidget>

class PictureButton;
class QLabel;
class QTableView;
class StringGridModel;
class SvgPicture;
namespace ScreenKit {
class StatusLine;
}

// The history view: the completed operations withdrawn in the period that the history interval
// window chose, sorted by pass type, with their export to Storico_Operazioni.xls. The interval
// window creates one for each request; it reads the history file once and never writes it.
class TfrmRiepilogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRiepilogo(AppContext& ctx, QWidget* parent = nullptr);

    enum Column
    {
        colNum,
        colCodice,
        colTipo,
        colUtilizzo,
        colLuogo,
        colPersone,
        colPersonaRit,
        colDataRit,
        colOraRit,
        colPersonaRic,
        colDataRic,
        colOraRic
    };

    // The period as the interval window built it ("dd/mm/yyyy").
    void setInterval(const QString& start, const QString& end);

    // Sets the title, runs the query and fills and sorts the grid (done once, at the latest when
    // the view is first shown).
    void FormShow();
    const HistoryQuery::Result& queryResult() const { return m_result; }

    StringGridModel* grid() const { return m_grid; }
    ScreenKit::StatusLine* statusLine() const { return m_status; }

    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    QLabel* lblIntervallo;
    QWidget* shpTitolo;
    QTableView* grdRecords;
    PictureButton* cmdEsporta;
    SvgPicture* icoHand;
    PictureButton* cmdGuida;
    PictureButton* cmdEsci;
    QWidget* panContainer;
    QWidget* shpInfo;

signals:
    // The view has closed; the interval window hides its waiting text.
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    AppContext& m_ctx;
    QString m_start, m_end;
    StringGridModel* m_grid;
    ScreenKit::StatusLine* m_status;
    HistoryQuery::Result m_result;
    bool m_loaded = false;
    bool m_placed = false;
};
