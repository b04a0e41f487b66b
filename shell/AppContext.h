#pragma once

#include "archives/FileLock.h"
#include "shell/Seams.h"

#include <QString>

class TfrmPassword;
class TfrmAllegaCartella;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmExpChiavi;
class TfrmGuida;
class TfrmInfo;
class TfrmMenuOperazioni;
class TfrmRiconsegne;
class TfrmRitiri;
class TfrmRiepChiaviRiconsegna;
class TfrmMenuRiepilogo;
class TfrmRiepChiaviRitiro;
class TfrmRiepDaRiconsegnare;
class TfrmRiepilogo;
class TfrmRiepilogo_Operazione;
class TfrmRiepSmarrite;
class TfrmSchedario_Chiavi;
class TfrmSplash;
class TfrmStampaScheda_Chiave;
class TfrmStampaScheda_Riconsegna;
class TfrmStampaScheda_Ritiro;
class TfrmTrovaSchedario_Chiavi;

// What every window is given: the ProgramFolder, the platform seams and the single-instance
// windows it may show. The windows are filled in by the start-up as it creates them; a test
// fills in only what it needs.
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

    // Single instances that live for the whole run.
    TfrmPassword* frmPassword = nullptr;
    TfrmAvvio* frmAvvio = nullptr;
    TfrmCambiaPassword* frmCambiaPassword = nullptr;
    TfrmSchedario_Chiavi* frmSchedario_Chiavi = nullptr;
    TfrmMenuOperazioni* frmMenuOperazioni = nullptr;
    TfrmRitiri* frmRitiri = nullptr;
    TfrmRiconsegne* frmRiconsegne = nullptr;
    TfrmMenuRiepilogo* frmMenuRiepilogo = nullptr;

    QString file(const QString& name) const { return programFolder + name; }
};
