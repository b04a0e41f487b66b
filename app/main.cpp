#include "app/WindowSet.h"
#include "shell/QtSeams.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // Drawing never depends on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ingressario"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icona.svg")));

    // Standard buttons and dialogs speak Italian.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtMessages messages;
    QtShell shell;
    QtFileDialogs fileDialogs;
    QtPrinters printers(messages);
    SystemClock clock;

    AppContext ctx;
    ctx.programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
    ctx.messages = &messages;
    ctx.shell = &shell;
    ctx.fileDialogs = &fileDialogs;
    ctx.printers = &printers;
    ctx.clock = &clock;

    WindowSet windows(ctx);
    windows.mainWindow()->show();
    return app.exec();
}
