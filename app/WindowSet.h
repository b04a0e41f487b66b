#pragma once

#include "shell/AppContext.h"
#include "shell/WorkAreas.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

// The window set of a run: every window created once, in its fixed order, before any is shown. It
// wires the windows to one another: the launcher reaches the work areas through it (WorkAreas), the
// operations chooser gets the screens it closes onto.
class WindowSet final : public WorkAreas
{
public:
    explicit WindowSet(AppContext& ctx);
    ~WindowSet();

    // The login window, the application's main window.
    QWidget* mainWindow() const { return m_main; }

    QWidget* window(WorkArea area) const override;

    // Every window of the set, in the order of creation.
    QList<QWidget*> windows() const;

private:
    AppContext& m_ctx;
    std::vector<std::unique_ptr<QWidget>> m_windows; // destroyed in reverse order of creation
    QWidget* m_main = nullptr;
    QWidget* m_cardEditor = nullptr;
    QWidget* m_operationsChooser = nullptr;
    QWidget* m_historyInterval = nullptr;
};
