#include "app/Startup.h"

#include "shell/WaitCursor.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void prepareApplication(QTranslator& translator)
{
    QApplication::setApplicationName(QStringLiteral("Ingressario"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icona.svg")));

    // Standard buttons and dialogs speak Italian.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    if (translator.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
}

void DesktopSeams::install(AppContext& ctx, const QString& programFolder)
{
    ctx.programFolder = programFolder;
    ctx.messages = &messages;
    ctx.shell = &shell;
    ctx.fileDialogs = &fileDialogs;
    ctx.printers = &printers;
    ctx.clock = &clock;
    ctx.lockWait = programLockWait(messages);
}
