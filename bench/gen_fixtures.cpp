// Writes Schedario_Pass.pro and Storico_Operazioni.pro of realistic content into a folder:
//     gen_fixtures <folder> <cards> <history records> [seed]
#include "bench/FixtureGenerator.h"

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 4) {
        err << "usage: gen_fixtures <folder> <cards> <history records> [seed]\n";
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath() + u'/';
    const qint64 cards = args[2].toLongLong();
    const qint64 history = args[3].toLongLong();
    const quint32 seed = args.size() > 4 ? args[4].toUInt() : 20261209u;
    QDir().mkpath(folder);
    if (!FixtureGenerator::writeCardFile(folder + QLatin1StringView(CardFile::FileName), cards, seed) ||
        !FixtureGenerator::writeHistoryFile(folder + QLatin1StringView(HistoryFile::FileName), history, seed + 1)) {
        err << "cannot write the fixture files in " << folder << "\n";
        return 1;
    }
    return 0;
}
