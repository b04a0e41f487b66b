#pragma once

#include <QString>

// Failure messages shared by every screen that works on the archives.
namespace ArchiveMessages {

// What the operator can check when a data file of the ProgramFolder cannot be written.
inline const QString WriteAccessReason =
    QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");

// The card file could not be opened, created, read or written. The screens that browse or
// change cards show it (the kind is each screen's: the card editor shows it as an error).
inline const QString CardFileAccess =
    QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r") + WriteAccessReason;

// The data folder offers no file locks (some network shares): the writes go ahead unlocked, which
// is safe for one workstation only. A warning, once per run.
inline const QString UnlockedFolder =
    QStringLiteral("Attenzione: la cartella dei dati non consente il blocco dei file durante la scrittura.\n\r\n\r"
                   "Se più postazioni usano la stessa cartella, le operazioni registrate da una postazione "
                   "potrebbero sovrascrivere quelle di un'altra.");

} // namespace ArchiveMessages
