#pragma once

#include "archives/PassRecord.h"
#include "operations/DateTimeBlock.h"
#include "operations/SignatureForm.h"
#include "shell/AppContext.h"
#include "shell/FieldTable.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class PictureButton;
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
// (its date-time block) and the person, and on Apply rewrites the card at its position.
//
// The screen keeps the card read at the pick and writes back the whole of it: the fields it shows
// come from their controls through one table, the others (the other operation, the state, the
// notes, the attachments) as they were read.
class OperationScreen : public QWidget
{
    Q_OBJECT
public:
    OperationScreen(AppContext& ctx, const OperationVariant& variant, QWidget* parent = nullptr);

    const OperationVariant& variant() const { return m_variant; }

    // The pick: shows the card read at `position` and hides the start panel (the list window hands
    // the card over on a double-click; the current moment is filled in once it has).
    void receivePass(qint64 position, const PassRecord& card);
    // Whether a pass is loaded (the start panel is hidden).
    bool hasPass() const { return m_picked.has_value(); }
    // The position of the picked card in the card file, 0 before a pick.
    qint64 position() const { return m_position; }
    // The card as the screen holds it for Apply: as read at the pick, with the last cycle emptied
    // on the withdrawal screen and the lost flag "Sì" or "No"; the fields of the table are as they
    // were when shown, not as typed.
    const PassRecord& heldCard() const { return m_card; }

    // The commands.
    void btnSelezionaClick();
    void btnStampaClick();
    void btnApplicaClick();

    // The text that tells the operator that another workstation changed the pass after the pick.
    static QString changedElsewhereMessage();

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

    // The pass and operation sheets, covered by the start panel until a pass is picked.
    QWidget* panLavoro = nullptr;
    QWidget* panAvvio = nullptr;
    PictureButton* btnSeleziona = nullptr;
    PictureButton* cmdSeleziona = nullptr;

    ScreenKit::StatusLine* status() const { return m_status; }

    // The date-time block and the person of this screen's operation (`txtPersonaRit` on the
    // withdrawal screen, `txtPersonaRic` on the return screen).
    DateTimeBlock* ownBlock() const { return m_block; }
    QLineEdit* ownPerson() const { return m_person; }

protected:
    // The list of passes this screen picks from, shown modally; its cardChosen goes to receivePass.
    virtual void openPassList() = 0;
    // The signature form of this operation, shown modally.
    virtual void openSignatureForm() = 0;
    // After `written` has been written and before the success message (the return summary); false
    // when the operator has already been told how the operation ended, and no success message follows.
    virtual bool afterRewrite(const PassRecord& written)
    {
        Q_UNUSED(written);
        return true;
    }

    // The card as Apply writes it: the card held, the fields of the table from their controls, the
    // composed date and time of the operation and the new state.
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
    void waitForPass();
    // Shows or hides the start panel; the controls it covers take neither the focus nor keys.
    void coverWork(bool covered);

    const OperationVariant& m_variant;
    ScreenKit::StatusLine* m_status = nullptr;
    DateTimeBlock* m_block = nullptr;
    QLineEdit* m_person = nullptr;
    // The fields the screen shows, each with its control: the pass and this operation's date,
    // time and person.
    FieldTable<PassRecord> m_fields;
    // The card as it was read at the pick, or as Apply last wrote it: Apply writes only while the
    // file still holds it.
    std::optional<PassRecord> m_picked;
    // The card that Apply writes back, the fields of the table aside.
    PassRecord m_card;
    qint64 m_position = 0;
};
