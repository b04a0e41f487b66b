#include "app/Startup.h"

#include "app/DailyBackup.h"
#include "app/DataFolder.h"
#include "shell/WaitCursor.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

void prepareApplication(QTranslator& translator)
{
    QApplication::setApplicationName(QStringLiteral("Ingressario"));
    QApplication::setApplicationVersion(QStringLiteral(INGRESSARIO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icona.svg")));

    // Standard buttons and dialogs speak Italian.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    for (const QString& folder :
         {QCoreApplication::applicationDirPath(), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QApplication::installTranslator(&translator);
            break;
        }
    }
}

void DesktopSeams::install(AppContext& ctx, const QString& programFolder)
{
    ctx.programFolder = programFolder;
    ctx.messages = &messages;
    ctx.shell = &shell;
    ctx.fileDialogs = &fileDialogs;
    ctx.printers = &printers;
    ctx.clock = &clock;
    ctx.historyIndex = &historyIndex;
    ctx.lockWait = programLockWait(messages);
}

bool openDataFolder(AppContext& ctx, const DataFolder::Placement& placement)
{
    const QString Paragraph = u"\n\r\n\r"_s;
    const DataFolder::Provision provision = DataFolder::provide(placement);
    if (!provision.usable) {
        ctx.messages->notice(nullptr, NoticeKind::Error,
                             u"Attenzione: non è possibile creare la cartella dei dati %1."_s.arg(
                                 QDir::toNativeSeparators(placement.dataFolder)) +
                                 Paragraph +
                                 u"Il programma termina. Controllare la cartella indicata (opzione --cartella o "
                                 u"file /etc/ingressario.conf) e i privilegi di scrittura."_s);
        return false;
    }
    if (!provision.failed.isEmpty())
        ctx.messages->notice(nullptr, NoticeKind::Warning,
                             u"Attenzione: non è stato possibile copiare nella cartella dei dati i file: %1."_s.arg(
                                 provision.failed.join(u", "_s)) +
                                 Paragraph +
                                 u"Accertarsi di possedere i privilegi di scrittura nella cartella dei dati."_s);

    const DailyBackup::Outcome backup = DailyBackup::run(placement.dataFolder, ctx.clock->now().date());
    if (!backup.failed.isEmpty())
        ctx.messages->notice(
            nullptr, NoticeKind::Warning,
            u"Attenzione: non è stato possibile fare la copia di sicurezza di oggi dei file: %1."_s.arg(
                backup.failed.join(u", "_s)) +
                Paragraph +
                u"Il programma continua. Accertarsi che nella cartella dei dati ci sia spazio libero e di possedere "
                u"i privilegi di scrittura nella sua cartella %2."_s.arg(QLatin1StringView(DailyBackup::FolderName)));
    return true;
}
