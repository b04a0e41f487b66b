#pragma once

#include "archives/PassRecord.h"
#include "shell/AppContext.h"

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
// duplicated. It holds no copy of the card file: what it shows is the content of its fields, and
// which card of the file that is, is told by the position label (empty for a card not yet saved).
// Every command opens the card file, does its work and closes it before returning.
class TfrmSchedario_Chiavi : public QWidget
{
    Q_OBJECT
public:
    // The parts of the shown card that the editor does not display. They hold what was read with
    // the card (or what the attachment window put there), so that a save writes the card back whole.
    struct Carriers
    {
        QString txtScheda; // card number
        QString txtPersonaRit, txtPersonaRic;
        QString txtGiornoRit, txtGiornoRic;
        QString txtMeseRit, txtMeseRic;
        QString txtOreRit, txtOreRic;
        QString txtMinutiRit, txtMinutiRic;
        QString lblAnnoRit, lblAnnoRic;
        QString lblDataRit, lblDataRic;
        QString lblOraRit, lblOraRic;
        QString lblFile01, lblFile02, lblFile03;
        QString lblDesc01, lblDesc02, lblDesc03;

        bool operator==(const Carriers&) const = default;
    };

    explicit TfrmSchedario_Chiavi(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmSchedario_Chiavi() override;

    // Loads a card read at `position` into every field and carrier and shows the position. The lost
    // flag "Sì" ticks the check box, "No" unticks it, any other text leaves it as it is. The status
    // line and the focus stay as they are. Used by the navigation and by the search and list windows.
    void showCard(qint64 position, const PassRecord& card);

    // The position of the shown card in the card file; 0 when the fields belong to no saved card.
    qint64 position() const;

    // The visible fields as they are now, saved or not (the card print reads them).
    QString codice() const;
    QString tipo() const;
    QString utilizzo() const;
    QString stato() const;
    QString duplicati() const;
    QString luogo() const;
    QString responsabile() const;
    QString recapiti() const;
    QString persone() const;
    QString note() const;
    bool smarrita() const;

    const Carriers& carriers() const { return m_carriers; }

    // The attachment carriers lblFile01..03 and lblDesc01..03, slot 1 to 3. What the attachment
    // window writes here reaches the card file with the next save.
    QString attachmentFile(int slot) const;
    QString attachmentDescription(int slot) const;
    void setAttachmentFile(int slot, const QString& fileName);
    void setAttachmentDescription(int slot, const QString& description);

    // The card as the window holds it, fields and carriers (texts as typed; the record layer trims,
    // converts and cuts them when it is written).
    PassRecord cardFromFields() const;

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
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void clearForNewCard();
    void setPosition(qint64 position);
    // Opens the card file, reads the card at `position` and shows it; false after a failure
    // (already reported).
    bool showCardAt(const std::function<qint64(qint64 count)>& choosePosition);
    QString* attachmentFileSlot(int slot);
    QString* attachmentDescriptionSlot(int slot);
    void information(const QString& text);
    void warning(const QString& text);
    void accessError();

    AppContext& m_ctx;
    Carriers m_carriers;
    // The card as the file held it when it was shown here, or as this window last wrote it; set
    // whenever the position is. A save rewrites the card only while the file still holds it.
    PassRecord m_asRead;

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
