// Where a run keeps its data: the start options, the choice between the portable folder and the
// installed program's data folder, and what is placed in a data folder of its own.
#include "app/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

} // namespace

class tst_DataFolder : public QObject
{
    Q_OBJECT

private slots:
    void startOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("version");
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("error");
        QTest::newRow("none") << QStringList() << QString() << false << false << false;
        QTest::newRow("folder") << QStringList{u"--cartella"_s, u"/srv/dati ingressi"_s} << u"/srv/dati ingressi"_s
                                << false << false << false;
        QTest::newRow("folder with =") << QStringList{u"--cartella=/srv/d"_s} << u"/srv/d"_s << false << false << false;
        QTest::newRow("version") << QStringList{u"--version"_s} << QString() << true << false << false;
        QTest::newRow("check on a folder")
            << QStringList{u"--verifica"_s, u"--cartella"_s, u"d"_s} << u"d"_s << false << true << false;
        QTest::newRow("folder without its value")
            << QStringList{u"--cartella"_s} << QString() << false << false << true;
        QTest::newRow("unknown option") << QStringList{u"--cartela"_s, u"d"_s} << QString() << false << false << true;
        QTest::newRow("a stray word") << QStringList{u"dati"_s} << QString() << false << false << true;
        // The version is answered even when something else on the line is not understood.
        QTest::newRow("version among unknown options")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--version"_s} << QString() << true << false << true;
    }
    void startOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folder);
        QFETCH(bool, version);
        QFETCH(bool, check);
        QFETCH(bool, error);
        const DataFolder::StartOptions options =
            DataFolder::parseStartOptions(QStringList{u"ingressario"_s} + arguments);
        QCOMPARE(options.folder, folder);
        QCOMPARE(options.version, version);
        QCOMPARE(options.check, check);
        QCOMPARE(!options.error.isEmpty(), error);
        QVERIFY(!options.help);
    }

    // "program" and "home" stand for the test's own folders; "config" is the configuration file's
    // text (none when null).
    void choice_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable: beside the executable") << false << QString() << QString() << u"program/"_s;
        QTest::newRow("portable ignores the configuration")
            << false << QString() << u"[Ingressario]\ncartella = /srv/ingressario\n"_s << u"program/"_s;
        QTest::newRow("portable, moved by the option") << false << u"/srv/altrove"_s << QString() << u"/srv/altrove/"_s;
        QTest::newRow("installed, nothing configured") << true << QString() << QString() << u"home/Ingressario/"_s;
        QTest::newRow("installed, the key commented out")
            << true << QString() << u"# cartella = /x\n[Ingressario]\n# cartella = /srv/x\n"_s
            << u"home/Ingressario/"_s;
        QTest::newRow("installed, configured")
            << true << QString() << u"# IT's note\r\n[Ingressario]\r\ncartella = /srv/ingressario \r\n"_s
            << u"/srv/ingressario/"_s;
        QTest::newRow("installed, configured in the home")
            << true << QString() << u"[ingressario]\nCartella=~/Dati/Pass\n"_s << u"home/Dati/Pass/"_s;
        QTest::newRow("installed, a relative path is taken from the home")
            << true << QString() << u"[Ingressario]\ncartella=Pass\n"_s << u"home/Pass/"_s;
        QTest::newRow("installed, non-ASCII path")
            << true << QString() << u"[Ingressario]\ncartella=/srv/Società\n"_s << u"/srv/Società/"_s;
        QTest::newRow("installed, another section's key")
            << true << QString() << u"[Altro]\ncartella=/srv/x\n"_s << u"home/Ingressario/"_s;
        QTest::newRow("installed, the option wins")
            << true << u"/media/chiavetta/dati"_s << u"[Ingressario]\ncartella=/srv/x\n"_s
            << u"/media/chiavetta/dati/"_s;
        QTest::newRow("a relative option is taken from the working folder")
            << true << u"dati"_s << QString() << u"work/dati/"_s;
        QTest::newRow("the option with a home") << false << u"~/dati"_s << QString() << u"home/dati/"_s;
    }
    void choice()
    {
        QFETCH(bool, installed);
        QFETCH(QString, option);
        QFETCH(QString, config);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        QDir().mkpath(root + u"program"_s);
        if (installed)
            write(root + u"program/ingressario.installato"_s, "installed");
        if (!config.isNull())
            write(root + u"ingressario.conf"_s, config.toUtf8());

        DataFolder::Where where;
        where.programFolder = root + u"program"_s;
        where.optionFolder = option;
        where.configFile = root + u"ingressario.conf"_s;
        where.home = root + u"home"_s;
        where.workingFolder = root + u"work"_s;
        const DataFolder::Placement placement = DataFolder::choose(where);

        QCOMPARE(placement.installed, installed);
        QCOMPARE(placement.programFolder, root + u"program/"_s);
        QCOMPARE(placement.dataFolder, expected.startsWith(u'/') ? expected : root + expected);
    }

    // A data folder of its own gets the first-access password file only while it has none, and
    // the guide whenever its copy differs; the program folder itself is left as it is.
    void provision()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"opt/ingressario/"_s);
        const QString data = dir.filePath(u"home/Ingressario/"_s);
        write(program + u"unins000.dll"_s, "[Accesso]\r\nPassword=first\r\n");
        write(program + u"Guida.pdf"_s, "%PDF guide 1.0");
        const DataFolder::Placement placement{program, data, true};

        DataFolder::Provision provision = DataFolder::provide(placement);
        QVERIFY(provision.usable);
        QCOMPARE(provision.failed, QStringList());
        QCOMPARE(contentOf(data + u"unins000.dll"_s), "[Accesso]\r\nPassword=first\r\n");
        QCOMPARE(contentOf(data + u"Guida.pdf"_s), "%PDF guide 1.0");

        // The operator changes the password; the program is updated.
        write(data + u"unins000.dll"_s, "[Accesso]\r\nPassword=changed\r\n");
        write(program + u"Guida.pdf"_s, "%PDF guide 1.1");
        provision = DataFolder::provide(placement);
        QCOMPARE(provision.failed, QStringList());
        QCOMPARE(contentOf(data + u"unins000.dll"_s), "[Accesso]\r\nPassword=changed\r\n");
        QCOMPARE(contentOf(data + u"Guida.pdf"_s), "%PDF guide 1.1");
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{u"Guida.pdf"_s, u"unins000.dll"_s}));
    }

    void provisionOfThePortableFolder()
    {
        QTemporaryDir dir;
        const QString program = dir.path() + u'/';
        write(program + u"Guida.pdf"_s, "%PDF");
        const DataFolder::Provision provision = DataFolder::provide({program, program, false});
        QVERIFY(provision.usable);
        QCOMPARE(QDir(program).entryList(QDir::Files | QDir::Hidden), QStringList{u"Guida.pdf"_s});
    }

    // A data folder that cannot be made (a file is in its way) is not usable.
    void unusableFolder()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"srv"_s), "a file, not a folder");
        const DataFolder::Provision provision =
            DataFolder::provide({dir.path() + u'/', dir.filePath(u"srv/ingressario/"_s), true});
        QVERIFY(!provision.usable);
    }
};

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_DataFolder.moc"
