#include "app/DataFolder.h"
#include "app/Startup.h"
#include "app/WindowSet.h"
#include "shell/WaitCursor.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// The messages of a check run go to standard error: nobody is there to close a box.
class ReportedMessages : public Messages
{
public:
    void plain(QWidget*, const QString& text) override { report(text); }
    void notice(QWidget*, NoticeKind, const QString& text) override { report(text); }
    using Messages::question;
    bool question(QWidget*, const QString& text, Preselected) override
    {
        report(text);
        return false;
    }
    Answer questionWithCancel(QWidget*, const QString& text) override
    {
        report(text);
        return Answer::Cancel;
    }

private:
    static void report(const QString& text)
    {
        QString line = text;
        print(stderr, line.replace(u"\n\r\n\r"_s, u" "_s) + u'\n');
    }
};

// Ends a check run once the login window has been painted, telling what was shown where.
class CheckRun : public QObject
{
public:
    CheckRun(QWidget* window, const AppContext& ctx, const QTranslator& translator)
        : m_ctx(ctx), m_translator(translator)
    {
        window->installEventFilter(this);
        // A window that never paints is a start that failed.
        QTimer::singleShot(60000, this, [] {
            print(stderr, u"La finestra di accesso non è stata mostrata.\n"_s);
            QCoreApplication::exit(1);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            const auto* window = static_cast<QWidget*>(watched);
            print(stdout,
                  u"Ingressario %1: finestra di accesso \"%2\" mostrata\ncartella dei dati: %3\n"
                  u"traduzione: %4\n"_s.arg(QCoreApplication::applicationVersion(), window->windowTitle().trimmed(),
                                            QDir::toNativeSeparators(m_ctx.programFolder),
                                            QDir::toNativeSeparators(m_translator.filePath())));
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    const AppContext& m_ctx;
    const QTranslator& m_translator;
    bool m_done = false;
};

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // The version and the help need no display: answered before the application exists.
    const DataFolder::StartOptions early = DataFolder::parseStartOptions(argumentsOf(argc, argv));
    if (early.version) {
        print(stdout, u"Ingressario " INGRESSARIO_VERSION "\n"_s);
        return 0;
    }
    if (early.help) {
        print(stdout, DataFolder::helpText());
        return 0;
    }

    // Drawing never depends on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    // Qt's own options (-platform and the like) are no longer among the arguments.
    const DataFolder::StartOptions options = DataFolder::parseStartOptions(QCoreApplication::arguments());
    if (!options.error.isEmpty()) {
        print(stderr, options.error + u"\n\n"_s + DataFolder::helpText());
        return 2;
    }
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);

    DataFolder::Where where;
    where.programFolder = QCoreApplication::applicationDirPath();
    where.optionFolder = options.folder;
    where.home = QDir::homePath();
    where.workingFolder = QDir::currentPath();
    const DataFolder::Placement placement = DataFolder::choose(where);

    DesktopSeams seams;
    AppContext ctx;
    seams.install(ctx, placement.dataFolder);
    ReportedMessages reported;
    if (options.check) {
        ctx.messages = &reported;
        ctx.lockWait = programLockWait(reported);
    }
    if (!openDataFolder(ctx, placement))
        return 1;

    WindowSet windows(ctx);
    std::unique_ptr<CheckRun> check;
    if (options.check)
        check = std::make_unique<CheckRun>(windows.mainWindow(), ctx, qtTranslator);
    windows.mainWindow()->show();
    return app.exec();
}
