// Two processes appending to the same card file and history file at once: every record must
// land in its own position. The test executable runs itself twice as the appending workers.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int PerWorker = 1000;
const char* const WorkerFlag = "--append-worker";

// Announces itself, waits for the go line on its input (so both start together), then appends
// one card and one history record per step, each in its own open-append-close like a screen.
int appendWorker(const QString& folder, const QString& marker, int steps)
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    for (int i = 0; i < steps; ++i) {
        const QString tag = marker + u'-' + QString::number(i);
        PassRecord card;
        card.Codice = tag;
        card.Stato = PassValues::Disponibile;
        if (!withCardFile(folder, [&](CardFile& f) { return f.append(card).has_value(); }))
            return 3;
        HistoryRecord record;
        record.Codice = tag;
        HistoryFile history(folder);
        if (!history.open() || !history.append(record))
            return 4;
    }
    return 0;
}

// Checks one file's records: each tag exactly once, each worker's tags in its own order.
struct Tally
{
    QHash<QString, int> seen;
    QHash<QString, int> lastStep;
    bool ordered = true;
    int switches = 0; // how often consecutive records come from different workers
    QString previousMarker;

    void add(const QString& tag)
    {
        ++seen[tag];
        const QString marker = tag.section(u'-', 0, 0);
        const int step = tag.section(u'-', 1).toInt();
        if (lastStep.contains(marker) && lastStep[marker] >= step)
            ordered = false;
        lastStep[marker] = step;
        if (!previousMarker.isEmpty() && previousMarker != marker)
            ++switches;
        previousMarker = marker;
    }

    bool complete() const
    {
        if (seen.size() != 2 * PerWorker)
            return false;
        for (const QString& marker : {u"A"_s, u"B"_s})
            for (int i = 0; i < PerWorker; ++i)
                if (seen.value(marker + u'-' + QString::number(i)) != 1)
                    return false;
        return true;
    }
};

} // namespace

class TestConcurrentAppend : public QObject
{
    Q_OBJECT

private slots:
    void twoProcessesAppendEveryRecord()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.path() + u'/';

        QProcess workers[2];
        const QString markers[2] = {u"A"_s, u"B"_s};
        for (int w = 0; w < 2; ++w) {
            workers[w].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            workers[w].start(QCoreApplication::applicationFilePath(),
                             {QLatin1StringView(WorkerFlag), folder, markers[w], QString::number(PerWorker)});
        }
        for (QProcess& p : workers) {
            QVERIFY(p.waitForStarted(10000));
            while (!p.canReadLine())
                QVERIFY(p.waitForReadyRead(10000));
        }
        for (QProcess& p : workers) {
            p.write("go\n");
            QVERIFY(p.waitForBytesWritten(10000));
        }
        for (QProcess& p : workers) {
            QVERIFY(p.waitForFinished(120000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
        }

        // Exactly 2 × PerWorker whole records in each file: nothing overwritten, nothing torn.
        QCOMPARE(QFileInfo(folder + QLatin1StringView(CardFile::FileName)).size(),
                 qint64(2 * PerWorker) * PassRecord::Size);
        QCOMPARE(QFileInfo(folder + QLatin1StringView(HistoryFile::FileName)).size(),
                 qint64(2 * PerWorker) * HistoryRecord::Size);

        Tally cards;
        bool numbered = true;
        QVERIFY(withCardFile(folder, [&](CardFile& f) {
            return f.readInOrder([&](qint64 position, const PassRecord& card) {
                cards.add(card.Codice);
                numbered = numbered && card.Scheda == PassValues::cardNumber(position);
                return true;
            });
        }));
        QVERIFY(cards.complete());
        QVERIFY(cards.ordered);
        QVERIFY(numbered);

        Tally history;
        HistoryFile historyFile(folder);
        QVERIFY(historyFile.open());
        QVERIFY(historyFile.readInOrder([&](qint64, const HistoryRecord& r) { return history.add(r.Codice), true; }));
        QVERIFY(history.complete());
        QVERIFY(history.ordered);

        // The two writers really overlapped: otherwise this test proved nothing.
        QVERIFY2(cards.switches > 1 || history.switches > 1, "the two workers ran one after the other");
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], WorkerFlag) == 0)
        return appendWorker(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), atoi(argv[4]));
    TestConcurrentAppend test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ConcurrentAppend.moc"
