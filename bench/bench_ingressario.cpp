// Benchmarks of the actions that read a whole data file, on page-cached files:
//     bench_ingressario <folder with Schedario_Pass.pro and Storico_Operazioni.pro> [runs] [only]
// Each line gives the median time and its ratio to the raw read of the same file in the same run.
// With `only`, just the measurements whose name contains that text run (the raw reads always do).
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
    // The cases create windows: offscreen unless a platform is chosen (the children inherit it).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    if (argc > 1 && qstrcmp(argv[1], BenchChild::StartupFlag) == 0)
        return BenchChild::startup(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], BenchChild::HistoryMemoryFlag) == 0)
        return BenchChild::historyMemory(argc, argv);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_ingressario <folder> [runs] [only]\n";
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath() + u'/';
    const int runs = args.size() > 2 ? args[2].toInt() : 5;
    const QString only = args.value(3);
    const auto chosen = [&](const QString& name) { return name.contains(only); };
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

    if (chosen(u"card file scan"_qs))
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
    if (chosen(u"history file scan"_qs))
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
        if (!chosen(c.name))
            continue;
        const double base = c.file == BenchCase::Cards ? rawCards : c.file == BenchCase::History ? rawHistory : 0;
        if (c.prepare)
            c.prepare(folder);
        h.report(out, c.name, h.median([&] { c.run(folder); }), base);
    }

    // A fresh process for each start-up: the program's own start, from the request to run it to
    // its login window painted.
    const QString self = QCoreApplication::applicationFilePath();
    const QString startName = u"start-up to the login window painted"_qs;
    if (chosen(startName)) {
        std::vector<double> starts;
        for (int i = 0; i < runs; ++i)
            starts.push_back(BenchChild::startupMs(self, folder));
        std::sort(starts.begin(), starts.end());
        if (starts.front() < 0) {
            out << "start-up: the child failed\n";
            return 1;
        }
        h.report(out, startName, starts[starts.size() / 2], 0);
    }

    // The memory of the history view of one year (a tenth of the benchmark's history), in a fresh
    // process: the peak resident size while it reads, sorts, fills and paints, over the size before.
    const QString memoryName = u"history view memory"_qs;
    if (chosen(memoryName)) {
        const BenchChild::Memory m = BenchChild::historyMemory(self, folder, u"01/01/2020"_qs, u"31/12/2020"_qs);
        if (m.rows < 0) {
            out << "history memory: the child failed\n";
            return 1;
        }
        out << memoryName << ", " << m.rows << " rows: peak " << QString::number(double(m.peakKb) / 1024, 'f', 1)
            << " MB, " << QString::number(double(m.peakKb - m.beforeKb) / 1024, 'f', 1) << " MB over the "
            << QString::number(double(m.beforeKb) / 1024, 'f', 1) << " MB before\n";
    }
    return 0;
}
