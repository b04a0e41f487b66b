#pragma once

#include "shell/AppContext.h"
#include "shell/QtSeams.h"

class QTranslator;

// The start-up of a run, shared by main and the start-up benchmark, so both create the program
// the same way.

// Application name and icon, the Italian locale and Qt's Italian translation (kept in `translator`).
void prepareApplication(QTranslator& translator);

// The desktop's seams, as the program uses them.
struct DesktopSeams
{
    QtMessages messages;
    QtShell shell;
    QtFileDialogs fileDialogs;
    QtPrinters printers{messages};
    SystemClock clock;

    // Fills the context with these seams and the given ProgramFolder.
    void install(AppContext& ctx, const QString& programFolder);
};
