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

// Every window of the system is created here once, before any is shown, with the login first: it is
// the application's main window. The companion windows that a screen opens anew for each use have
// one instance here as well, so that a window that cannot be built fails at start-up rather than in
// the middle of a withdrawal, and so that the start-up benchmark counts every window.
WindowSet::WindowSet(AppContext& ctx) : m_ctx(ctx)
{
    ctx.workAreas = this;

    // The login window, the main window.
    auto login = std::make_unique<TfrmPassword>(ctx);
    ctx.frmPassword = login.get();
    m_main = login.get();
    m_windows.push_back(std::move(login));

    // The attachment window, opened anew by the card editor for every use.
    m_windows.push_back(std::make_unique<TfrmAllegaCartella>(ctx));

    // The launcher and the change-password window.
    auto launcher = std::make_unique<TfrmAvvio>(ctx);
    ctx.frmAvvio = launcher.get();
    m_windows.push_back(std::move(launcher));

    auto changePassword = std::make_unique<TfrmCambiaPassword>(ctx);
    ctx.frmCambiaPassword = changePassword.get();
    m_windows.push_back(std::move(changePassword));

    // The card export, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmExpChiavi>(ctx));

    // The guide and information windows, opened anew by the screens that need them.
    m_windows.push_back(std::make_unique<TfrmGuida>(ctx));
    m_windows.push_back(std::make_unique<TfrmInfo>(ctx));

    // The operations chooser and the withdrawal and return screens.
    auto chooser = std::make_unique<TfrmMenuOperazioni>(ctx);
    m_operationsChooser = chooser.get();
    auto returns = std::make_unique<TfrmRiconsegne>(ctx);
    auto withdrawals = std::make_unique<TfrmRitiri>(ctx);
    chooser->setScreens(withdrawals.get(), returns.get());
    m_windows.push_back(std::move(chooser));
    m_windows.push_back(std::move(returns));
    m_windows.push_back(std::move(withdrawals));

    // The list of passes to return, opened anew by the return screen.
    m_windows.push_back(std::make_unique<TfrmRiepChiaviRiconsegna>(ctx));

    // The history interval window, the work area "Storico Operazioni".
    auto historyInterval = std::make_unique<TfrmMenuRiepilogo>(ctx);
    m_historyInterval = historyInterval.get();
    m_windows.push_back(std::move(historyInterval));

    // The lists of passes available for withdrawal and not yet returned, opened anew by the
    // withdrawal screen and the history interval window.
    m_windows.push_back(std::make_unique<TfrmRiepChiaviRitiro>(ctx));
    m_windows.push_back(std::make_unique<TfrmRiepDaRiconsegnare>(ctx));

    // The history view, opened anew by the history interval window.
    m_windows.push_back(std::make_unique<TfrmRiepilogo>(ctx));

    // The return summary, opened anew by the return screen for every return.
    m_windows.push_back(std::make_unique<TfrmRiepilogo_Operazione>(ctx));

    // The list of lost passes, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmRiepSmarrite>(ctx));

    // The card editor, the work area "Schedario".
    auto cardEditor = std::make_unique<TfrmSchedario_Chiavi>(ctx);
    m_cardEditor = cardEditor.get();
    m_windows.push_back(std::move(cardEditor));

    // The splash window, opened anew from the launcher.
    m_windows.push_back(std::make_unique<TfrmSplash>(ctx));

    // The card print, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Chiave>(ctx));

    // The signature forms, opened anew by the operation screens.
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Riconsegna>(ctx));
    m_windows.push_back(std::make_unique<TfrmStampaScheda_Ritiro>(ctx));

    // The card search, opened anew by the card editor.
    m_windows.push_back(std::make_unique<TfrmTrovaSchedario_Chiavi>(ctx));
}

WindowSet::~WindowSet()
{
    while (!m_windows.empty())
        m_windows.pop_back();
    if (m_ctx.workAreas == this)
        m_ctx.workAreas = nullptr;
}

QList<QWidget*> WindowSet::windows() const
{
    QList<QWidget*> all;
    for (const auto& w : m_windows)
        all << w.get();
    return all;
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
