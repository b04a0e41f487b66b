#include "operations/Ritiri.h"

#include "lists/RiepChiaviRitiro.h"
#include "operations/StampaScheda_Ritiro.h"
#include "shell/Navigation.h"
#include "shell/ScreenKit.h"

using namespace Qt::StringLiterals;

const OperationVariant& TfrmRitiri::description()
{
    static const OperationVariant variant{
        Operation::Withdrawal,
        u"frmRitiri"_s,
        u"op_titolo_ritiro"_s,
        u"Registrazione ritiro pass"_s,
        u"Persona che ritira il pass:"_s,
        u"Seleziona il pass da ritirare."_s,
        u"Stampa il modulo da firmare per il ritiro del pass."_s,
        u"Attenzione: per salvare la scheda è necessario indicare la persona che ritira il pass."_s,
        u"Il ritiro del pass è stato registrato con successo."_s,
    };
    return variant;
}

TfrmRitiri::TfrmRitiri(AppContext& ctx, QWidget* parent) : OperationScreen(ctx, description(), parent) {}

void TfrmRitiri::openPassList()
{
    Navigation::runModal<TfrmRiepChiaviRitiro>(this, m_ctx, [this](TfrmRiepChiaviRitiro& list) {
        connect(&list, &PassListWindow::cardChosen, this, &OperationScreen::receivePass);
        connect(&list, &PassListWindow::handOverDone, ownBlock(), &DateTimeBlock::nowAction);
    });
}

void TfrmRitiri::openSignatureForm()
{
    Navigation::runModal<TfrmStampaScheda_Ritiro>(
        this, m_ctx, [this](TfrmStampaScheda_Ritiro& form) { form.setValues(signatureValues()); });
}
