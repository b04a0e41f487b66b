#include "app/WindowSet.h"

#include "history/MenuRiepilogo.h"
#include "history/Riepilogo.h"
#include "lists/RiepChiaviRiconsegna.h"
#include "lists/RiepChiaviRitiro.h"
#include "lists/RiepDaRiconsegnare.h"
#include "lists/RiepSmarrite.h"
#include "operations/MenuOperazioni.h"
#include "operations/Riconsegne.h"
#include "operations/Riepilogo_Operazione.h"
#include "operations/Ritiri.h"
#include "operations/StampaScheda_Riconsegna.h"
#include "operations/StampaScheda_Ritiro.h"
#include "registry/AllegaCartella.h"
#include "registry/ExpChiavi.h"
#include "registry/Schedario_Chiavi.h"
#include "registry/StampaScheda_Chiave.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "shell/Avvio.h"
#include "shell/CambiaPassword.h"
#include "shell/Guida.h"
#include "shell/Info.h"
#include "shell/Password.h"
#include "shell/Splash.h"

// Every window of the system is created here once, in this order, before any is shown:
//   1 TfrmPassword (main window)     9 TfrmRiconsegne             17 TfrmRiepSmarrite
//   2 TfrmAllegaCartella            10 TfrmRitiri                 18 TfrmSchedario_Chiavi
//   3 TfrmAvvio                     11 TfrmRiepChiaviRiconsegna   19 TfrmSplash
//   4 TfrmCambiaPassword            12 TfrmMenuRiepilogo          20 TfrmStampaScheda_Chiave
//   5 TfrmExpChiavi                 13 TfrmRiepChiaviRitiro       21 TfrmStampaScheda_Riconsegna
//   6 TfrmGuida                     14 TfrmRiepDaRiconsegnare     22 TfrmStampaScheda_Ritiro
//   7 TfrmInfo                      15 TfrmRiepilogo              23 TfrmTrovaSchedario_Chiavi
//   8 TfrmMenuOperazioni            16 TfrmRiepilogo_Operazione
WindowSet::WindowSet(AppContext& ctx) : m_ctx(ctx)
{
    ctx.workAreas = this;

    // 1
    auto login = std::make_unique<TfrmPassword>(ctx);
    ctx.frmPassword = login.get();
    m_main = login.get();
    m_windows.push_back(std::move(login));

    // 2: the attachment window, opened anew by the card editor for every use.
    m_windows.push_back(std::make_unique<TfrmAllegaCartella>(ctx));

    // 3
    auto launcher = std::make_unique<TfrmAvvio>(ctx);
    ctx.frmAvvio = launcher.get();
    m_windows.push_back(std::move(launcher));

    // 4
    auto changePassword = std::make_unique<TfrmCambiaPassword>(ctx);
    ctx.frmCambiaPassword = changePassword.get();
    m_windows.push_back(std::move(changePassword));

    // 5: the card export, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmExpChiavi>(ctx));

    // 6, 7: the guide and information windows are opened as new instances by the screens that
    // need them; these exist, as every window of the set does, and are never shown.
    m_windows.push_back(std::make_unique<TfrmGuida>(ctx));
    m_windows.push_back(std::make_unique<TfrmInfo>(ctx));

    // 8, 9, 10: the operations chooser and the withdrawal and return screens.
    auto chooser = std::make_unique<TfrmMenuOperazioni>(ctx);
    m_operationsChooser = chooser.get();
    auto returns = std::make_unique<TfrmRiconsegne>(ctx);
    auto withdrawals = std::make_unique<TfrmRitiri>(ctx);
    chooser->setScreens(withdrawals.get(), returns.get());
    m_windows.push_back(std::move(chooser));
    m_windows.push_back(std::move(returns));
    m_windows.push_back(std::move(withdrawals));

    // 11: the list of passes to return, opened anew by the return screen.
    m_windows.push_back(std::make_unique<TfrmRiepChiaviRiconsegna>(ctx));

    // 12: the history interval window, the work area "Storico Operazioni".
    auto historyInterval = std::make_unique<TfrmMenuRiepilogo>(ctx);
    m_historyInterval = historyInterval.get();
    m_windows.push_back(std::move(historyInterval));

    // 13, 14: the lists of passes available for withdrawal and not yet returned, opened anew by the
    // withdrawal screen and the history interval window.
    m_windows.push_back(std::make_unique<TfrmRiepChiaviRitiro>(ctx));
    m_windows.push_back(std::make_unique<TfrmRiepDaRiconsegnare>(ctx));

    // 15: the history view, opened anew by the history interval window.
    m_windows.push_back(std::make_unique<TfrmRiepilogo>(ctx));

    // 16: the return summary, opened anew by the return screen for every return.
    m_windows.push_back(std::make_unique<TfrmRiepilogo_Operazione>(ctx));

    // 17: the list of lost passes, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmRiepSmarrite>(ctx));

    // 18
    auto cardEditor = std::make_unique<TfrmSchedario_Chiavi>(ctx);
    m_cardEditor = cardEditor.get();
    m_windows.push_back(std::move(cardEditor));

    // 19: the splash window, likewise opened anew from the launcher.
    m_windows.push_back(std::make_unique<TfrmSplash>(ctx));

    // 20: the card print, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Chiave>(ctx));

    // 21, 22: the signature forms, opened anew by the operation screens.
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Riconsegna>(ctx));
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Ritiro>(ctx));

    // 23: the card search, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmTrovaSchedario_Chiavi>(ctx));
}

WindowSet::~WindowSet()
{
    while (!m_windows.empty())
        m_windows.pop_back();
    if (m_ctx.workAreas == this)
        m_ctx.workAreas = nullptr;
}

QWidget* WindowSet::window(WorkArea area) const
{
    switch (area) {
    case WorkArea::CardFile:
        return m_cardEditor;
    case WorkArea::Operations:
        return m_operationsChooser;
    case WorkArea::History:
        return m_historyInterval;
    }
    return nullptr;
}
