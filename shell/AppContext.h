#pragma once

#include "archives/FileLock.h"
#include "shell/Seams.h"

#include <QString>

class TfrmPassword;
class TfrmAvvio;
class TfrmCambiaPassword;
class WorkAreas;
namespace HistoryQuery {
class Index;
}

// What every window is given: the ProgramFolder, the platform seams, the single-instance windows of
// the shell and the work areas. The windows are filled in by the start-up as it creates them; a
// test fills in only what it needs.
struct AppContext
{
    QString programFolder; // with a trailing separator
    Messages* messages = nullptr;
    Shell* shell = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Printers* printers = nullptr;
    Clock* clock = nullptr;
    // How the writes of the data files wait while another workstation holds a file's lock.
    LockWait lockWait;
    // What the history queries of the run learnt of the history file, shared by the history
    // windows; without it every query reads the whole file.
    HistoryQuery::Index* historyIndex = nullptr;

    // Single instances that live for the whole run.
    TfrmPassword* frmPassword = nullptr;
    TfrmAvvio* frmAvvio = nullptr;
    TfrmCambiaPassword* frmCambiaPassword = nullptr;
    // The windows of the work areas, which the launcher opens (the window set of the run).
    WorkAreas* workAreas = nullptr;

    QString file(const QString& name) const { return programFolder + name; }
};
