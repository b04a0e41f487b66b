#include "app/DataFolder.h"

#include "archives/IniText.h"
#include "archives/PasswordStore.h"
#include "archives/WholeFileWriter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString withSeparator(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

// `path` as given, with a leading "~" standing for the home folder and a relative path taken
// against `base`.
QString resolved(const QString& path, const QString& home, const QString& base)
{
    QString p = path.trimmed();
    if (p == u"~"_s || p.startsWith(u"~/"_s))
        p = home + p.mid(1);
    return withSeparator(QDir(base).absoluteFilePath(p));
}

// The data folder that the configuration file names; empty when it names none.
QString configured(const QString& configFile)
{
    QFile file(configFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The settings editor reads single-byte text; the path itself is UTF-8, as the system's are.
    const QString value = IniText::value(file.readAll(), QLatin1StringView(DataFolder::ConfigSection),
                                         QLatin1StringView(DataFolder::ConfigKey));
    return QString::fromUtf8(value.toLatin1()).trimmed();
}

QByteArray contentOf(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

} // namespace

namespace DataFolder {

StartOptions parseStartOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption folder(u"cartella"_s, QString(), u"cartella"_s);
    const QCommandLineOption version(u"version"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption check(u"verifica"_s);
    parser.addOptions({folder, version, help, check});

    StartOptions options;
    if (!parser.parse(arguments))
        options.error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        options.error = u"Argomento non previsto: %1"_s.arg(parser.positionalArguments().constFirst());
    options.folder = parser.value(folder);
    options.version = parser.isSet(version);
    options.help = parser.isSet(help);
    options.check = parser.isSet(check);
    return options;
}

QString helpText()
{
    return u"Uso: ingressario [--cartella CARTELLA] [--verifica] [--version] [--help]\n"
           "\n"
           "  --cartella CARTELLA  la cartella dei dati (schedario, storico, password, copie\n"
           "                       di sicurezza). Predefinita: la cartella del programma per\n"
           "                       la cartella portatile; per il programma installato dal\n"
           "                       pacchetto, la chiave \"cartella\" di /etc/ingressario.conf,\n"
           "                       altrimenti ~/Ingressario.\n"
           "  --verifica           avvia il programma fino alla finestra di accesso, scrive\n"
           "                       cosa ha mostrato e termina (per controllare un'installazione).\n"
           "  --version            scrive la versione e termina.\n"
           "  --help               scrive questo aiuto e termina.\n"_s;
}

Placement choose(const Where& where)
{
    Placement placement;
    placement.programFolder = withSeparator(where.programFolder);
    placement.installed = QFileInfo::exists(placement.programFolder + QLatin1StringView(MarkerName));
    if (!where.optionFolder.trimmed().isEmpty()) {
        placement.dataFolder = resolved(where.optionFolder, where.home, where.workingFolder);
    } else if (!placement.installed) {
        placement.dataFolder = placement.programFolder;
    } else {
        const QString fromConfig = configured(where.configFile);
        // The configuration file is IT's, not the operator's: a relative path there is taken
        // from the home folder, never from wherever the program happened to be started.
        placement.dataFolder =
            resolved(fromConfig.isEmpty() ? QLatin1StringView(DefaultName) : fromConfig, where.home, where.home);
    }
    return placement;
}

Provision provide(const Placement& placement)
{
    Provision provision;
    provision.usable = QDir().mkpath(placement.dataFolder);
    if (!provision.usable || QFileInfo(placement.dataFolder) == QFileInfo(placement.programFolder))
        return provision;

    const QString password = QLatin1StringView(PasswordStore::FileName);
    if (!QFileInfo::exists(placement.dataFolder + password) && QFileInfo::exists(placement.programFolder + password)) {
        bool read = false;
        const QByteArray content = contentOf(placement.programFolder + password, &read);
        if (!read || !writeWholeFile(placement.dataFolder + password, content, placement.dataFolder))
            provision.failed.append(password);
    }

    const QString guide = QLatin1StringView(GuideName);
    bool read = false;
    const QByteArray content = contentOf(placement.programFolder + guide, &read);
    if (read) {
        bool present = false;
        if (contentOf(placement.dataFolder + guide, &present) != content || !present) {
            if (!writeWholeFile(placement.dataFolder + guide, content, placement.dataFolder))
                provision.failed.append(guide);
        }
    }
    return provision;
}

} // namespace DataFolder
