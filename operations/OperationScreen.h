#pragma once

#include "archives/PassRecord.h"
#include "operations/DateTimeBlock.h"
#include "operations/SignatureForm.h"
#include "shell/AppContext.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class PictureButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class SvgPicture;
namespace ScreenKit {
class StatusLine;
}

// What the two operation screens say and show differently.
struct OperationVariant
{
    Operation operation;
    QString windowName;     // objectName of the window
    QString titlePicture;   // REGISTRAZIONE RITIRO PASS / REGISTRAZIONE RICONSEGNA PASS
    QString titleText;      // the same words, for screen readers
    QString personLabel;    // "Persona che ritira il pass:"
    QString selectHint;     // status text of the pick pictures
    QString printHint;      // status text of STAMPA MODULO
    QString personWarning;  // Apply with no person
    QString successMessage; // after the card is written
};

// The withdrawal and the return screen: one design, two variants. The screen waits behind its
// start panel until a pass is picked in the list window, shows the pass, takes the date and time
// (its visible date-time block) and the person, and on Apply rewrites the card at its position.
//
// The parts of the card that the screen does not show travel in hidden carriers, so that Apply
// writes the card back whole: on the withdrawal screen the return block and the returning person,
// on the return screen the withdrawal block and the withdrawing person.
class OperationScreen : public QWidget
{
    Q_OBJECT
public:
    OperationScreen(AppContext& ctx, const OperationVariant& variant, QWidget* parent = nullptr);

    const OperationVariant& variant() const { return m_variant; }

    // The pick: fills the screen with the card read at `position` and hides the start panel (the
    // list window calls it on a double-click; the current moment is filled in once the list has
    // handed the pass over).
    void receivePass(qint64 position, const PassRecord& card);
    // Whether a pass is loaded (the start panel is hidden).
    bool hasPass() const { return m_picked.has_value(); }

    // The commands.
    void btnSelezionaClick();
    void btnStampaClick();
    void btnApplicaClick();

    // The text that tells the operator that another workstation changed the pass after the pick.
    static QString changedElsewhereMessage();

    // Controls. The date-time blocks and persons of both operations: one is visible, the other is
    // a hidden carrier.
    DateTimeBlock* rit = nullptr;
    DateTimeBlock* ric = nullptr;
    QLineEdit* txtPersonaRit = nullptr;
    QLineEdit* txtPersonaRic = nullptr;

    QLineEdit* txtCodice = nullptr;
    QLineEdit* txtTipo = nullptr;
    QLineEdit* txtUtilizzo = nullptr;
    QLineEdit* txtLuogo = nullptr;
    QLineEdit* txtResponsabile = nullptr;
    QLineEdit* txtRecapiti = nullptr;
    QLineEdit* txtPersone = nullptr;
    // The seven read-only fields above, in screen order.
    QList<QLineEdit*> passFields() const
    {
        return {txtCodice, txtTipo, txtUtilizzo, txtLuogo, txtResponsabile, txtRecapiti, txtPersone};
    }

    PictureButton* btnStampa = nullptr;
    PictureButton* btnApplica = nullptr;

    QWidget* panAvvio = nullptr;
    PictureButton* btnSeleziona = nullptr;
    PictureButton* cmdSeleziona = nullptr;

    // Hidden carriers.
    QLabel* lblPosizione = nullptr;
    QLabel* txtScheda = nullptr;
    QLineEdit* txtStato = nullptr;
    QLineEdit* txtDuplicati = nullptr;
    QLineEdit* txtNote = nullptr;
    QCheckBox* chkSmarrita = nullptr;
    QLabel* lblFile01 = nullptr;
    QLabel* lblFile02 = nullptr;
    QLabel* lblFile03 = nullptr;
    QLabel* lblDesc01 = nullptr;
    QLabel* lblDesc02 = nullptr;
    QLabel* lblDesc03 = nullptr;

    ScreenKit::StatusLine* status() const { return m_status; }

    // The visible block and person of this screen's operation.
    DateTimeBlock* ownBlock() const { return m_variant.operation == Operation::Withdrawal ? rit : ric; }
    QLineEdit* ownPerson() const
    {
        return m_variant.operation == Operation::Withdrawal ? txtPersonaRit : txtPersonaRic;
    }

protected:
    // The list of passes this screen picks from, shown modally; it hands the chosen pass to
    // receivePass.
    virtual void openPassList() = 0;
    // The signature form of this operation, shown modally.
    virtual void openSignatureForm() = 0;
    // After the card has been written and before the success message (the return summary); false
    // when the operator has already been told how the operation ended, and no success message follows.
    virtual bool afterRewrite() { return true; }

    // The card as Apply writes it, from the screen's controls.
    PassRecord recordToWrite() const;
    // What the signature form prints, as the screen shows it now (no check).
    SignatureValues signatureValues() const;

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    AppContext& m_ctx;

private:
    void buildWindow();
    QWidget* buildPassSheet(QWidget* parent);
    QWidget* buildOperationSheet(QWidget* parent);
    QWidget* buildStartPanel(QWidget* parent);
    void buildCarriers();
    void waitForPass();

    const OperationVariant& m_variant;
    ScreenKit::StatusLine* m_status = nullptr;
    // The card as it was read at the pick: Apply writes only while the file still holds it.
    std::optional<PassRecord> m_picked;
};
