// Benchmarks of the actions that read a whole data file, on page-cached files:
//     bench_ingressario <folder with Schedario_Pass.pro and Storico_Operazioni.pro> [runs] [only]
// Each line gives the median time and its ratio to the median raw read of the same file, run by
// turns with it.
// With `only`, just the measurements whose name contains that text run (the raw reads always do).
#include "bench/BenchCases.h"
#include "bench/BenchHarness.h"
#include "bench/HistoryShareBench.h"
#include "bench/PrintBench.h"

#include "archives/CardFile.h"
#include "archives/Durable.h"
#include "archives/HistoryFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    if (argc > 1 && qstrcmp(argv[1], BenchChild::ExportMemoryFlag) == 0)
        return BenchChild::exportMemory(argc, argv);
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
    out << "runs per case: " << runs << "\n";
    h.report(out, u"raw read, card file"_qs, h.median([&] { rawRead(cards); }), 0);
    h.report(out, u"raw read, history file"_qs, h.median([&] { rawRead(history); }), 0);

    // Every record decoded, by turns with the raw read of the file.
    const auto scan = [&](const QString& name, const QString& file, const std::function<void()>& work) {
        if (!chosen(name))
            return;
        const auto [ms, base] = h.medians(work, [&] { rawRead(file); });
        h.report(out, name, ms, base);
    };
    scan(u"card file scan (decode every record)"_qs, cards, [&] {
        CardFile f(folder);
        f.open();
        qint64 n = 0;
        f.readInOrder([&](qint64, const PassRecord& r) {
            n += r.Codice.size();
            return true;
        });
    });
    scan(u"history file scan (decode every record)"_qs, history, [&] {
        HistoryFile f(folder);
        f.open();
        qint64 n = 0;
        f.readInOrder([&](qint64, const HistoryRecord& r) {
            n += r.Codice.size();
            return true;
        });
    });

    for (const BenchCase& c : benchCases()) {
        if (!chosen(c.name))
            continue;
        if (c.prepare)
            c.prepare(folder);
        // Each case by turns with the raw read of its file, which it is measured against.
        const QString& file = c.file == BenchCase::Cards ? cards : history;
        const auto [ms, base] = h.medians([&] { c.run(folder); }, [&] { rawRead(file); });
        h.report(out, c.name, ms, base);
    }

    if (chosen(QString::fromLatin1(PrintBench::Name)) && !PrintBench::run(out, h, folder))
        return 1;

    // One write as a screen makes it (open, write, close), on the disk of the data files: synced,
    // as the program writes, and with the syncs skipped, to show what making it durable costs. In
    // a folder of their own, so that the benchmark files stay as they are.
    const QString writeName = u"one write"_qs;
    if (chosen(writeName)) {
        QTemporaryDir writes(folder + u"writes-XXXXXX"_qs);
        const QString into = writes.path() + u'/';
        PassRecord card;
        card.Codice = u"B-0001"_qs;
        card.Stato = PassValues::Disponibile;
        card.Smarrita = PassValues::No;
        withCardFile(into, [&](CardFile& f) {
            for (int i = 0; i < 100; ++i)
                f.append(card);
            return true;
        });
        HistoryRecord record;
        record.Codice = card.Codice;
        // The syncs take the disk's time, not the processor's: more runs for a steady median, and
        // microseconds shown, for the writes without them.
        const BenchHarness w(std::max(runs, 31));
        const auto line = [&](const QString& name, double ms) {
            out << qSetFieldWidth(46) << Qt::left << name << qSetFieldWidth(0) << Qt::right
                << QString::number(ms, 'f', 3).rightJustified(10) << " ms (median of " << std::max(runs, 31) << ")\n";
            out.flush();
        };
        for (const bool synced : {true, false}) {
            Durable::Seams::skip = !synced;
            const QString how = synced ? u", synced"_qs : u", not synced"_qs;
            int n = 0;
            line(writeName + u": card rewrite"_qs + how, w.median([&] {
                card.Note = QString::number(++n);
                withCardFile(into, [&](CardFile& f) { return f.rewriteAt(50, card); });
            }));
            line(writeName + u": card append"_qs + how,
                 w.median([&] { withCardFile(into, [&](CardFile& f) { return f.append(card).has_value(); }); }));
            line(writeName + u": history append"_qs + how, w.median([&] {
                HistoryFile f(into);
                f.open() && f.append(record);
            }));
        }
        Durable::Seams::skip = false;
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

    // The history queries of a session over a share's bandwidth (BENCH_SHARE_MBS, 110 by default).
    const QString shareName = u"history on a share"_qs;
    if (chosen(shareName)) {
        const double mbs =
            qEnvironmentVariableIsSet("BENCH_SHARE_MBS") ? qEnvironmentVariable("BENCH_SHARE_MBS").toDouble() : 110.0;
        if (!historyOnShare(out, folder, mbs, 1000))
            return 1;
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

    // The memory of the export grid of every card, in a fresh process: what it keeps (resident
    // after, over before) and its peak while filling, over the same base.
    const QString exportName = u"export grid memory"_qs;
    if (chosen(exportName)) {
        const BenchChild::Memory m = BenchChild::exportMemory(self, folder);
        if (m.rows < 0) {
            out << "export memory: the child failed\n";
            return 1;
        }
        const double kept = double(m.afterKb - m.beforeKb) / 1024, peak = double(m.peakKb - m.beforeKb) / 1024;
        out << exportName << ", " << m.rows << " rows: kept " << QString::number(kept, 'f', 1) << " MB, peak "
            << QString::number(peak, 'f', 1) << " MB over the " << QString::number(double(m.beforeKb) / 1024, 'f', 1)
            << " MB before (x" << QString::number(kept > 0 ? peak / kept : 0, 'f', 2) << ")\n";
    }
    return 0;
}
