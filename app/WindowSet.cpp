#include "app/WindowSet.h"

#include "registry/Schedario_Chiavi.h"

WindowSet::WindowSet(AppContext& ctx)
{
    auto login = std::make_unique<QWidget>();
    login->setWindowTitle(QStringLiteral(" Ingressario - Accesso"));
    m_main = login.get();
    m_windows.push_back(std::move(login));

    // 18
    auto cardEditor = std::make_unique<TfrmSchedario_Chiavi>(ctx);
    ctx.frmSchedario_Chiavi = cardEditor.get();
    m_windows.push_back(std::move(cardEditor));
}

WindowSet::~WindowSet()
{
    while (!m_windows.empty())
        m_windows.pop_back();
}
