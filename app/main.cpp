#include "app/Startup.h"
#include "app/WindowSet.h"

#include <QApplication>
#include <QDir>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // Drawing never depends on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);

    DesktopSeams seams;
    AppContext ctx;
    seams.install(ctx, QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/');

    WindowSet windows(ctx);
    windows.mainWindow()->show();
    return app.exec();
}
