#include "app/WindowSet.h"

#include "registry/Schedario_Chiavi.h"
#include "shell/Avvio.h"
#include "shell/Guida.h"
#include "shell/Info.h"
#include "shell/Splash.h"

WindowSet::WindowSet(AppContext& ctx)
{
    auto login = std::make_unique<QWidget>();
    login->setWindowTitle(QStringLiteral(" Ingressario - Accesso"));
    m_main = login.get();
    m_windows.push_back(std::move(login));

    // 3
    auto launcher = std::make_unique<TfrmAvvio>(ctx);
    ctx.frmAvvio = launcher.get();
    m_windows.push_back(std::move(launcher));

    // 6, 7: the guide and information windows are opened as new instances by the screens that
    // need them; these exist, as every window of the set does, and are never shown.
    m_windows.push_back(std::make_unique<TfrmGuida>(ctx));
    m_windows.push_back(std::make_unique<TfrmInfo>(ctx));

    // 18
    auto cardEditor = std::make_unique<TfrmSchedario_Chiavi>(ctx);
    ctx.frmSchedario_Chiavi = cardEditor.get();
    m_windows.push_back(std::move(cardEditor));

    // 19: the splash window, likewise opened anew from the launcher.
    m_windows.push_back(std::make_unique<TfrmSplash>(ctx));
}

WindowSet::~WindowSet()
{
    while (!m_windows.empty())
        m_windows.pop_back();
}
