#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <sys/resource.h>

// A plain timing harness: each case runs several times and reports its median, in milliseconds
// and as a ratio to the median raw read of the file it works on, run by turns with the case.
class BenchHarness
{
public:
    explicit BenchHarness(int runs) : m_runs(runs) {}

    double median(const std::function<void()>& work) const
    {
        std::vector<double> times;
        for (int i = 0; i < m_runs; ++i)
            times.push_back(time(work));
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    // The medians of two works run by turns, so that both see the same state of the machine: a
    // case and the raw read it is measured against.
    std::pair<double, double> medians(const std::function<void()>& first, const std::function<void()>& second) const
    {
        std::vector<double> a, b;
        // BENCH_EACH=1 shows every run of the case, with its page faults, and of the work it is
        // measured against (the raw read, or the former way).
        const bool each = qEnvironmentVariableIsSet("BENCH_EACH");
        for (int i = 0; i < m_runs; ++i) {
            const long faults = minorFaults();
            a.push_back(time(first));
            const long caseFaults = minorFaults() - faults;
            b.push_back(time(second));
            if (each)
                std::fprintf(stderr, "  run %d: %.1f ms (%ld page faults), against %.1f ms\n", i + 1, a.back(),
                             caseFaults, b.back());
        }
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        return {a[a.size() / 2], b[b.size() / 2]};
    }

    void report(QTextStream& out, const QString& name, double ms, double baselineMs) const
    {
        out << qSetFieldWidth(46) << Qt::left << name << qSetFieldWidth(0) << Qt::right
            << QString::number(ms, 'f', 1).rightJustified(10) << " ms"
            << (baselineMs > 0 ? QString(u"   x%1 of the raw read's %2 ms"_qs.arg(ms / baselineMs, 0, 'f', 2)
                                             .arg(baselineMs, 0, 'f', 1))
                               : QString())
            << "\n";
        out.flush();
    }

private:
    static long minorFaults()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    }

    static double time(const std::function<void()>& work)
    {
        QElapsedTimer t;
        t.start();
        work();
        return double(t.nsecsElapsed()) / 1e6;
    }

    int m_runs;
};
