#pragma once

#include "history/HistoryQuery.h"
#include "shell/AppContext.h"
#include "shell/QtSeams.h"

class QTranslator;

namespace DataFolder {
struct Placement;
}

// The start-up of a run, shared by main and the start-up benchmark, so both create the program
// the same way.

// Application name, version and icon, the Italian locale and Qt's Italian translation (kept in
// `translator`): the copy beside the executable first, so that a copied program folder speaks
// Italian on a machine without Qt's translations, then Qt's own.
void prepareApplication(QTranslator& translator);

// The desktop's seams, as the program uses them.
struct DesktopSeams
{
    QtMessages messages;
    QtShell shell;
    QtFileDialogs fileDialogs;
    QtPrinters printers{messages};
    SystemClock clock;
    // What the history queries of the run learnt of the history file.
    HistoryQuery::Index historyIndex;

    // Fills the context with these seams and the given ProgramFolder.
    void install(AppContext& ctx, const QString& programFolder);
};

// Makes the data folder ready before any window exists and before anything is written to it: the
// folder itself, the program's files the screens open from it, and the day's backup of the data
// files. A failure to place a file or to copy one is told through ctx.messages as a warning and
// the start goes on; false, after an error message, when the data folder cannot be made.
bool openDataFolder(AppContext& ctx, const DataFolder::Placement& placement);
