#include "bench/HistoryShareBench.h"

#include "archives/HistoryFile.h"
#include "history/HistoryQuery.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace {

// Slows every read of record bytes to the share's speed and counts the bytes.
class Throttle
{
public:
    explicit Throttle(double megabytesPerSecond) : m_bytesPerMs(megabytesPerSecond * 1e6 / 1e3)
    {
        RecordFile::readObserver = [this](qint64 bytes) {
            m_bytes += bytes;
            const qint64 due = qint64(double(m_bytes) / m_bytesPerMs);
            const qint64 ahead = due - m_clock.elapsed();
            if (ahead > 0)
                QThread::msleep(ulong(ahead));
        };
    }
    ~Throttle() { RecordFile::readObserver = nullptr; }

    void restart()
    {
        m_bytes = 0;
        m_clock.start();
    }
    qint64 bytes() const { return m_bytes; }

private:
    double m_bytesPerMs;
    qint64 m_bytes = 0;
    QElapsedTimer m_clock;
};

struct Run
{
    HistoryQuery::Result result;
    QByteArray digest; // of the matched records, in their order
    double ms = 0;
    qint64 bytes = 0;
};

template <typename Query> Run measure(Throttle* throttle, Query query)
{
    Run run;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QElapsedTimer clock;
    clock.start();
    if (throttle)
        throttle->restart();
    run.result = query([&](qint64, const char* record) { hash.addData(QByteArrayView(record, HistoryRecord::Size)); });
    run.ms = double(clock.nsecsElapsed()) / 1e6;
    if (throttle)
        run.bytes = throttle->bytes();
    run.digest = hash.result();
    return run;
}

} // namespace

bool historyOnShare(QTextStream& out, const QString& folder, double megabytesPerSecond, int appended)
{
    QTemporaryDir copy(folder + u"share-XXXXXX"_qs);
    const QString share = copy.path() + u'/';
    if (!copy.isValid() || !QFile::copy(folder + QLatin1StringView(HistoryFile::FileName),
                                        share + QLatin1StringView(HistoryFile::FileName))) {
        out << "history on a share: the copy of the history file failed\n";
        return false;
    }
    const QString start = u"01/01/2020"_qs, end = u"31/12/2020"_qs;
    const auto whole = [&](const auto& match) { return HistoryQuery::select(share, start, end, match); };
    HistoryQuery::Index index;
    const auto session = [&](const auto& match) { return HistoryQuery::select(index, share, start, end, match); };

    // The same two reads from the page cache, for what the index costs the first query itself.
    {
        HistoryQuery::Index fresh;
        const Run plain = measure(nullptr, whole);
        const Run indexed =
            measure(nullptr, [&](const auto& match) { return HistoryQuery::select(fresh, share, start, end, match); });
        out << "history from the page cache, one year: whole read " << QString::number(plain.ms, 'f', 1)
            << " ms, first query of a session " << QString::number(indexed.ms, 'f', 1) << " ms\n";
    }
    Throttle throttle(megabytesPerSecond);
    const Run before = measure(&throttle, whole);
    const Run first = measure(&throttle, session);

    // New operations of the same year, as the reception adds them during the session.
    {
        QFile file(share + QLatin1StringView(HistoryFile::FileName));
        if (!file.open(QIODevice::Append)) {
            out << "history on a share: the append failed\n";
            return false;
        }
        for (int i = 0; i < appended; ++i) {
            HistoryRecord r;
            r.Codice = u"N%1"_qs.arg(i);
            r.Tipo = u"Badge"_qs;
            r.DataRit = u"%1/06/2020"_qs.arg(1 + i % 28, 2, 10, QLatin1Char('0'));
            r.OraRit = u"09:00"_qs;
            r.DataRic = r.DataRit;
            r.OraRic = u"17:00"_qs;
            file.write(r.encode());
        }
    }
    const Run second = measure(&throttle, session);
    const Run check = measure(nullptr, whole);

    const qint64 record = HistoryRecord::Size;
    const qint64 appendedBytes = qint64(appended) * record;
    // The last known record and the spread ones are read again to check them; then the matches and
    // the appended records.
    const qint64 allowed =
        (1 + HistoryQuery::Index::SpreadRecords) * record + (second.result.matches - appended) * record + appendedBytes;
    const auto line = [&](const QString& name, const Run& r) {
        out << qSetFieldWidth(46) << Qt::left << name << qSetFieldWidth(0) << Qt::right
            << QString::number(r.ms, 'f', 1).rightJustified(10) << " ms, " << r.result.matches << " matches, "
            << QString::number(double(r.bytes) / 1e6, 'f', 1) << " MB read\n";
    };
    out << "history on a share at " << megabytesPerSecond << " MB/s, one year, "
        << QString::number(double(before.bytes) / 1e6, 'f', 1) << " MB file:\n";
    line(u"  whole read (every query before)"_qs, before);
    line(u"  first query of the session"_qs, first);
    line(u"  second, after %1 appended"_qs.arg(appended), second);
    out << "  second/first " << QString::number(second.ms / first.ms, 'f', 3) << ", first/whole "
        << QString::number(first.ms / before.ms, 'f', 3) << ", second read " << second.bytes << " bytes of at most "
        << allowed << " (matches + appended + the checked records)\n";
    const bool same = first.digest == before.digest && second.digest == check.digest &&
                      second.result.matches == check.result.matches && second.result.skipped == check.result.skipped &&
                      second.result.outcome == HistoryQuery::Result::Complete;
    out << "  results " << (same ? "identical to a whole read" : "DIFFER from a whole read") << "\n";
    out.flush();
    return same;
}
