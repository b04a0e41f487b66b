// Benchmarks of the actions that read a whole data file, on page-cached files:
//     bench_ingressario <folder with Schedario_Pass.pro and Storico_Operazioni.pro> [runs]
// Each line gives the median time and its ratio to the raw read of the same file in the same run.
#include "bench/BenchCases.h"
#include "bench/BenchHarness.h"

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <vector>

namespace {

qint64 rawRead(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    std::vector<char> block(1 << 20);
    qint64 total = 0, n;
    while ((n = file.read(block.data(), qint64(block.size()))) > 0)
        total += n;
    return total;
}

} // namespace

int main(int argc, char* argv[])
{
    // The start-up case creates windows: offscreen unless a platform is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_ingressario <folder> [runs]\n";
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath() + u'/';
    const int runs = args.size() > 2 ? args[2].toInt() : 5;
    BenchHarness h(runs);
    const QString cards = folder + QLatin1StringView(CardFile::FileName);
    const QString history = folder + QLatin1StringView(HistoryFile::FileName);

    rawRead(cards); // into the page cache
    rawRead(history);
    const double rawCards = h.median([&] { rawRead(cards); });
    const double rawHistory = h.median([&] { rawRead(history); });
    out << "runs per case: " << runs << "\n";
    h.report(out, u"raw read, card file"_qs, rawCards, rawCards);
    h.report(out, u"raw read, history file"_qs, rawHistory, rawHistory);

    h.report(out, u"card file scan (decode every record)"_qs, h.median([&] {
        CardFile f(folder);
        f.open();
        qint64 n = 0;
        f.readInOrder([&](qint64, const PassRecord& r) {
            n += r.Codice.size();
            return true;
        });
    }),
             rawCards);
    h.report(out, u"history file scan (decode every record)"_qs, h.median([&] {
        HistoryFile f(folder);
        f.open();
        qint64 n = 0;
        f.readInOrder([&](qint64, const HistoryRecord& r) {
            n += r.Codice.size();
            return true;
        });
    }),
             rawHistory);

    for (const BenchCase& c : benchCases()) {
        const double base = c.file == BenchCase::Cards ? rawCards : c.file == BenchCase::History ? rawHistory : 0;
        h.report(out, c.name, h.median([&] { c.run(folder); }), base);
    }
    return 0;
}
