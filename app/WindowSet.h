#pragma once

#include "shell/AppContext.h"

#include <QWidget>

#include <memory>
#include <vector>

// The window set of a run: every window created once, in its fixed order, before any is shown.
class WindowSet
{
public:
    explicit WindowSet(AppContext& ctx);
    ~WindowSet();

    // The login window, the application's main window.
    QWidget* mainWindow() const { return m_main; }

private:
    std::vector<std::unique_ptr<QWidget>> m_windows; // destroyed in reverse order of creation
    QWidget* m_main = nullptr;
};
