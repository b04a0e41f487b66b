#pragma once

#include "archives/PassRecord.h"
#include "shell/AppContext.h"
#include "shell/FieldTable.h"

#include <QMap>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class PictureButton;
namespace ScreenKit {
class StatusLine;
}

// The work area "Schedario Pass": one pass card at a time, browsed, created, changed and
// duplicated. It holds no copy of the card file, only the card shown and its position (0 for a card
// not yet saved, shown as an empty position label). Every command opens the card file, does its work
// and closes it before returning.
class TfrmSchedario_Chiavi : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmSchedario_Chiavi(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmSchedario_Chiavi() override;

    // Shows a card read at `position`: the fields of the table in their controls, the whole card
    // kept for the save, and the position. The lost flag "Sì" ticks the check box, "No" unticks it,
    // any other text leaves it as it is. The status line and the focus stay as they are. Used by the
    // navigation and, through their cardChosen signal, by the search and list windows.
    void showCard(qint64 position, const PassRecord& card);

    // The position of the shown card in the card file; 0 when the fields belong to no saved card.
    qint64 position() const { return m_position; }

    // The card as the window holds it: as it was read (or as the attachment window handed its slots
    // back), the fields of the table as they are now in their controls, saved or not. Texts are as
    // typed; the record layer trims, converts and cuts them when it is written.
    PassRecord cardFromFields() const;
    // The card as it was read, with what the attachment window handed back; the fields shown in
    // controls are there as they were read, not as typed since. Empty for a new card.
    const PassRecord& heldCard() const { return m_card; }
    // The texts of the ten fields that the card print shows, by the name of their box, as they are
    // on screen now, saved or not.
    QMap<QString, QString> shownValues() const;

    // The attachment slots 1 to 3 as the window holds them, trimmed. What the attachment window
    // hands back reaches the card file with the next save.
    QString attachmentFile(int slot) const;
    QString attachmentDescription(int slot) const;

    // The commands of the toolbar.
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdStampaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsportaClick();
    void cmdSmarriteClick();
    // Puts a pass handed out by mistake back as available, without a cycle in the history.
    void cmdAnnullaRitiroClick();
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void clearForNewCard();
    void setPosition(qint64 position);
    // "Annulla ritiro" is offered only while the card shown is stored as lent.
    void offerUndo();
    // The fields on screen as they were when a card was last shown, cleared or saved.
    void keepShownAsLoaded();
    bool changedOnScreen() const;
    // Before the shown card gives way to another (or the window closes): true when it may. With
    // changes on screen it asks whether to save them: Yes saves (and stays if the save refuses),
    // No lets them go, Cancel stays.
    bool mayLeaveShownCard();
    // Writes `card` at the shown position under the lock, only while the file still holds the card
    // as it was shown; false after a refusal or a failure (already reported).
    bool rewriteShownCard(const PassRecord& card);
    // The save of the toolbar; false when it refused or failed (already reported).
    bool saveShownCard();
    // A card handed over by the search or the lost list, shown unless the operator stays.
    void takeChosenCard(qint64 position, const PassRecord& card);
    // Opens the card file, reads the card at `position` and shows it; false after a failure
    // (already reported).
    bool showCardAt(const std::function<qint64(qint64 count)>& choosePosition);
    void information(const QString& text);
    void warning(const QString& text);
    void accessError();

    AppContext& m_ctx;
    // The card shown: as read, or empty for a new card; what the controls show of it is in them.
    PassRecord m_card;
    // The card as the file held it when it was shown here, or as this window last wrote it; set
    // whenever the position is. A save rewrites the card only while the file still holds it.
    PassRecord m_asRead;
    qint64 m_position = 0;
    // The card fields the window shows, each with its control.
    FieldTable<PassRecord> m_fields;
    QStringList m_shownAsLoaded;

    PictureButton* cmdNuovo = nullptr;
    PictureButton* cmdDuplica = nullptr;
    PictureButton* cmdSalva = nullptr;
    PictureButton* cmdTrova = nullptr;
    PictureButton* cmdFile = nullptr;
    PictureButton* cmdStampa = nullptr;
    PictureButton* cmdPrimo = nullptr;
    PictureButton* cmdIndietro = nullptr;
    QLabel* lblPosizione = nullptr;
    PictureButton* cmdAvanti = nullptr;
    PictureButton* cmdUltimo = nullptr;
    PictureButton* cmdEsporta = nullptr;
    PictureButton* cmdSmarrite = nullptr;
    PictureButton* cmdAnnullaRitiro = nullptr;
    PictureButton* cmdGuida = nullptr;
    PictureButton* cmdEsci = nullptr;

    QLineEdit* txtCodice = nullptr;
    QLineEdit* txtTipo = nullptr;
    QLineEdit* txtUtilizzo = nullptr;
    QLineEdit* txtStato = nullptr;
    QLineEdit* txtDuplicati = nullptr;
    QLineEdit* txtLuogo = nullptr;
    QLineEdit* txtResponsabile = nullptr;
    QLineEdit* txtRecapiti = nullptr;
    QLineEdit* txtPersone = nullptr;
    QLineEdit* txtNote = nullptr;
    QCheckBox* chkSmarrita = nullptr;

    ScreenKit::StatusLine* m_status = nullptr;
};
