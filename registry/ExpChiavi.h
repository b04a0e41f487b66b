#pragma once

#include "shell/AppContext.h"

#include <QWidget>

class PictureButton;
class QTableView;
class StringGridModel;
class SvgPicture;
namespace ScreenKit {
class StatusLine;
}

// The card file export: every card of the card file in a grid, written on request as the
// spreadsheet file Schedario_Pass.xls in the ProgramFolder. The card editor opens a new one each
// time; the places and notes can be overwritten in the grid for the export only.
class TfrmExpChiavi : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmExpChiavi(AppContext& ctx, QWidget* parent = nullptr);

    // The grid's columns.
    enum Column
    {
        colNum,
        colCodice,
        colTipo,
        colUtilizzo,
        colStato,
        colDuplicati,
        colLuogo,
        colResponsabile,
        colRecapiti,
        colPersone,
        colNote
    };

    StringGridModel* grid() const { return m_grid; }
    ScreenKit::StatusLine* statusLine() const { return m_status; }

    // Fills the grid from the card file, one row per card in file order.
    void FormShow();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    QTableView* grdRecords;
    PictureButton* cmdEsporta;
    PictureButton* cmdGuida;
    PictureButton* cmdEsci;
    SvgPicture* imgLogo;
    SvgPicture* icoHand;
    QWidget* panContainer;
    QWidget* shpSfondo;
    QWidget* shpInfo;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_ctx;
    StringGridModel* m_grid;
    ScreenKit::StatusLine* m_status;
    bool m_placed = false;
};
