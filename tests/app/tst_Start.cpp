// The start of a run: the data folder made ready and the day's backup taken before any window
// exists, the failures told as warnings without stopping the start, and the real program started
// on a folder of the test's own (--verifica, --cartella, --version).
#include "app/DataFolder.h"
#include "app/Startup.h"
#include "shell/Info.h"
#include "tests/support/ScriptedSeams.h"

#include <QDirIterator>
#include <QLabel>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
}

QString fixture(const QString& name)
{
    return QStringLiteral(INGRESSARIO_FIXTURES) + u'/' + name;
}

// Every file under `folder` with its size and modification time: two starts that change nothing
// give the same list.
QStringList tree(const QString& folder)
{
    QStringList lines;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        lines << QDir(folder).relativeFilePath(info.filePath()) + u' ' + QString::number(info.size()) + u' ' +
                     QString::number(info.lastModified().toMSecsSinceEpoch());
    }
    lines.sort();
    return lines;
}

struct Run
{
    int exitCode = -1;
    QString out, err;
};

// The built program, with the test's environment (offscreen) unless `environment` is given.
Run runProgram(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

const QString Program = QStringLiteral(INGRESSARIO_PROGRAM);
// The first-access password file beside the built program.
const QString PasswordFile = QFileInfo(Program).absolutePath() + u"/unins000.dll"_s;
const QString Shown = u"finestra di accesso \"Ingressario - Accesso\" mostrata"_s;

} // namespace

class tst_Start : public QObject
{
    Q_OBJECT

private slots:
    // A start on a day with no backup makes one before anything else; a second start that day
    // makes none, and says nothing either time.
    void backupOnceADay()
    {
        TestContext t;
        const QString data = t.ctx.programFolder;
        QVERIFY(QFile::copy(fixture(u"Schedario_Pass.pro"_s), data + u"Schedario_Pass.pro"_s));
        QVERIFY(QFile::copy(fixture(u"unins000.dll"_s), data + u"unins000.dll"_s));
        const DataFolder::Placement placement{data, data, false};

        QVERIFY(openDataFolder(t.ctx, placement));
        QCOMPARE(t.messages.texts(), QStringList());
        const QString today = data + u"Backup/2025-03-07/"_s;
        QCOMPARE(QDir(today).entryList(QDir::Files), (QStringList{u"Schedario_Pass.pro"_s, u"unins000.dll"_s}));
        QVERIFY(contentOf(today + u"Schedario_Pass.pro"_s) == contentOf(fixture(u"Schedario_Pass.pro"_s)));

        write(data + u"Schedario_Pass.pro"_s, "changed after the first start");
        const QStringList before = tree(data + u"Backup"_s);
        t.clock.moment = t.clock.moment.addSecs(8 * 3600);
        QVERIFY(openDataFolder(t.ctx, placement));
        QCOMPARE(tree(data + u"Backup"_s), before);
        QCOMPARE(t.messages.texts(), QStringList());

        t.clock.moment = t.clock.moment.addDays(1);
        QVERIFY(openDataFolder(t.ctx, placement));
        QCOMPARE(contentOf(data + u"Backup/2025-03-08/Schedario_Pass.pro"_s), "changed after the first start");
    }

    // A copy that fails is told once, as a warning naming the files, and the start goes on.
    void failedBackupWarnsAndGoesOn()
    {
        TestContext t;
        const QString data = t.ctx.programFolder;
        write(data + u"Schedario_Pass.pro"_s, "cards");
        write(data + u"Storico_Operazioni.pro"_s, "history");
        write(data + u"Backup"_s, "a file in the way");

        QVERIFY(openDataFolder(t.ctx, {data, data, false}));
        QCOMPARE(t.messages.calls.size(), 1);
        QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(t.messages.calls[0].text,
                 u"Attenzione: non è stato possibile fare la copia di sicurezza di oggi dei file: "
                 u"Schedario_Pass.pro, Storico_Operazioni.pro.\n\r\n\r"
                 u"Il programma continua. Accertarsi che nella cartella dei dati ci sia spazio libero e di "
                 u"possedere i privilegi di scrittura nella sua cartella Backup."_s);
        QCOMPARE(contentOf(data + u"Schedario_Pass.pro"_s), "cards");
    }

    // A data folder that cannot be made ends the start, with an error that names it.
    void unusableDataFolderEndsTheStart()
    {
        TestContext t;
        write(t.ctx.programFolder + u"srv"_s, "a file, not a folder");
        const QString data = t.ctx.programFolder + u"srv/ingressario/"_s;

        QVERIFY(!openDataFolder(t.ctx, {t.ctx.programFolder, data, true}));
        QCOMPARE(t.messages.calls.size(), 1);
        QCOMPARE(t.messages.calls[0].kind, MessageCall::Error);
        QVERIFY(t.messages.calls[0].text.startsWith(u"Attenzione: non è possibile creare la cartella dei dati "_s +
                                                    QDir::toNativeSeparators(data) + u".\n\r\n\r"_s));
    }

    void versionInTheInformationWindow()
    {
        TestContext t;
        TfrmInfo info(t.ctx);
        info.show();
        auto* label = info.findChild<QLabel*>(u"lblVersione"_s);
        QVERIFY(label);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), u"Versione " INGRESSARIO_VERSION ""_s);
        QVERIFY(QString::fromLatin1(INGRESSARIO_VERSION).contains(QRegularExpression(u"^\\d+\\.\\d+\\.\\d+$"_s)));
    }

    // The version and the help need no display: no platform is there to start.
    void versionWithoutADisplay()
    {
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        bare.remove(u"QT_QPA_PLATFORM"_s);
        bare.remove(u"DISPLAY"_s);
        bare.remove(u"WAYLAND_DISPLAY"_s);
        const Run version = runProgram(Program, {u"--version"_s}, bare);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, u"Ingressario " INGRESSARIO_VERSION "\n"_s);
        const Run help = runProgram(Program, {u"--help"_s}, bare);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(u"Uso: ingressario [--cartella CARTELLA]"_s));

        const Run wrong = runProgram(Program, {u"--cartela"_s, u"/tmp"_s});
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY(wrong.err.contains(u"cartela"_s));
        QVERIFY(wrong.err.contains(u"Uso: ingressario"_s));
    }

    // The real program on a data folder of its own: the folder is made, the first-access password
    // file and the guide placed, the day's backup taken, the login window shown; a second start
    // changes nothing in it.
    void startOnAFolderOfItsOwn()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"dati"_s);
        const QDate before = QDate::currentDate();
        const Run first = runProgram(Program, {u"--verifica"_s, u"--cartella"_s, data});
        const QDate after = QDate::currentDate();
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.out.contains(Shown), qPrintable(first.out + first.err));
        QVERIFY(first.out.contains(u"cartella dei dati: "_s + data + u'/'));

        QVERIFY(contentOf(data + u"/unins000.dll"_s) == contentOf(PasswordFile));
        QVERIFY(contentOf(data + u"/Guida.pdf"_s).startsWith("%PDF"));
        const QStringList days = QDir(data + u"/Backup"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(days.size(), 1);
        const QDate day = QDate::fromString(days[0], u"yyyy-MM-dd"_s);
        QVERIFY(day == before || day == after);
        QVERIFY(contentOf(data + u"/Backup/"_s + days[0] + u"/unins000.dll"_s) == contentOf(data + u"/unins000.dll"_s));

        const QStringList files = tree(data);
        const Run second = runProgram(Program, {u"--verifica"_s, u"--cartella"_s, data});
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.contains(Shown));
        if (QDate::currentDate() == day)
            QCOMPARE(tree(data), files);
    }

    // A backup that fails does not stop the real program: the warning, then the login window.
    void startGoesOnAfterAFailedBackup()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"dati/"_s);
        write(data + u"Schedario_Pass.pro"_s, "cards");
        write(data + u"Backup"_s, "a file in the way");
        const Run run = runProgram(Program, {u"--verifica"_s, u"--cartella"_s, data});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(Shown));
        QVERIFY2(run.err.contains(u"copia di sicurezza di oggi dei file: Schedario_Pass.pro, unins000.dll"_s),
                 qPrintable(run.err));
    }

    // A copied program folder keeps its data beside the executable and speaks Italian through the
    // translation beside it, before Qt's own.
    void portableFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"chiavetta/Ingressario/"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(Program, folder + u"ingressario"_s));
        QVERIFY(QFile::copy(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_it.qm"_s,
                            folder + u"qtbase_it.qm"_s));
        QVERIFY(QFile::copy(PasswordFile, folder + u"unins000.dll"_s));

        const Run run = runProgram(folder + u"ingressario"_s, {u"--verifica"_s});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(Shown));
        QVERIFY(run.out.contains(u"cartella dei dati: "_s + folder + u'\n'));
        QVERIFY2(run.out.contains(u"traduzione: "_s + folder + u"qtbase_it.qm\n"_s), qPrintable(run.out));
        QCOMPARE(QDir(folder + u"Backup"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    }
};

QTEST_MAIN(tst_Start)
#include "tst_Start.moc"
