#include "operations/Riconsegne.h"

#include "archives/HistoryRecord.h"
#include "lists/RiepChiaviRiconsegna.h"
#include "operations/OperationKit.h"
#include "operations/Riepilogo_Operazione.h"
#include "operations/StampaScheda_Riconsegna.h"
#include "shell/Navigation.h"
#include "shell/ScreenKit.h"

using namespace Qt::StringLiterals;

namespace {

// The fields of a completed cycle in the history, each from its field of the card.
const std::pair<QString HistoryRecord::*, QString PassRecord::*> CycleFields[] = {
    {&HistoryRecord::Codice, &PassRecord::Codice},         {&HistoryRecord::Tipo, &PassRecord::Tipo},
    {&HistoryRecord::Utilizzo, &PassRecord::Utilizzo},     {&HistoryRecord::Luogo, &PassRecord::Luogo},
    {&HistoryRecord::Persone, &PassRecord::Persone},       {&HistoryRecord::PersonaRit, &PassRecord::PersonaRit},
    {&HistoryRecord::DataRit, &PassRecord::DataRit},       {&HistoryRecord::OraRit, &PassRecord::OraRit},
    {&HistoryRecord::PersonaRic, &PassRecord::PersonaRic}, {&HistoryRecord::DataRic, &PassRecord::DataRic},
    {&HistoryRecord::OraRic, &PassRecord::OraRic},
};

} // namespace

const OperationVariant& TfrmRiconsegne::description()
{
    static const OperationVariant variant{
        Operation::Return,
        u"frmRiconsegne"_s,
        u"op_titolo_riconsegna"_s,
        u"Registrazione riconsegna pass"_s,
        u"Persona che riconsegna il pass:"_s,
        u"Seleziona il pass da riconsegnare."_s,
        u"Stampa il modulo da firmare per la riconsegna del pass."_s,
        u"Attenzione: per salvare la scheda è necessario indicare la persona che riconsegna il pass."_s,
        u"La riconsegna del pass è stata registrata con successo."_s,
    };
    return variant;
}

TfrmRiconsegne::TfrmRiconsegne(AppContext& ctx, QWidget* parent) : OperationScreen(ctx, description(), parent) {}

void TfrmRiconsegne::openPassList()
{
    Navigation::runModal<TfrmRiepChiaviRiconsegna>(this, m_ctx, [this](TfrmRiepChiaviRiconsegna& list) {
        connect(&list, &PassListWindow::cardChosen, this, &OperationScreen::receivePass);
        connect(&list, &PassListWindow::handOverDone, ownBlock(), &DateTimeBlock::nowAction);
    });
}

void TfrmRiconsegne::openSignatureForm()
{
    Navigation::runModal<TfrmStampaScheda_Riconsegna>(
        this, m_ctx, [this](TfrmStampaScheda_Riconsegna& form) { form.setValues(signatureValues()); });
}

bool TfrmRiconsegne::afterRewrite(const PassRecord& written)
{
    // The whole cycle, as the card now holds it.
    HistoryRecord cycle;
    for (const auto& [historyField, cardField] : CycleFields)
        cycle.*historyField = OperationKit::trimmed(written.*cardField);

    // Closed without the history, the summary has told the operator how the return ended.
    bool withoutHistory = false;
    Navigation::runModal<TfrmRiepilogo_Operazione>(this, m_ctx, [&](TfrmRiepilogo_Operazione& summary) {
        summary.showCycle(cycle);
        connect(&summary, &TfrmRiepilogo_Operazione::closedWithoutHistory, this, [&] { withoutHistory = true; });
    });
    return !withoutHistory;
}
