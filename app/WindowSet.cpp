#include "app/WindowSet.h"

WindowSet::WindowSet(AppContext& ctx)
{
    Q_UNUSED(ctx);
    auto login = std::make_unique<QWidget>();
    login->setWindowTitle(QStringLiteral(" Ingressario - Accesso"));
    m_main = login.get();
    m_windows.push_back(std::move(login));
}

WindowSet::~WindowSet()
{
    while (!m_windows.empty())
        m_windows.pop_back();
}
