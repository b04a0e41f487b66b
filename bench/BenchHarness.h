#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

// A plain timing harness: each case runs several times and reports its median, in milliseconds
// and as a ratio to the raw read of the file it works on, measured in the same run.
class BenchHarness
{
public:
    explicit BenchHarness(int runs) : m_runs(runs) {}

    double median(const std::function<void()>& work) const
    {
        std::vector<double> times;
        for (int i = 0; i < m_runs; ++i) {
            QElapsedTimer t;
            t.start();
            work();
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    void report(QTextStream& out, const QString& name, double ms, double baselineMs) const
    {
        out << qSetFieldWidth(46) << Qt::left << name << qSetFieldWidth(0) << Qt::right
            << QString::number(ms, 'f', 1).rightJustified(10) << " ms"
            << (baselineMs > 0 ? QString(u"   x%1"_qs.arg(ms / baselineMs, 0, 'f', 2)) : QString()) << "\n";
        out.flush();
    }

private:
    int m_runs;
};
