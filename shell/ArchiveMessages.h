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

} // namespace ArchiveMessages
