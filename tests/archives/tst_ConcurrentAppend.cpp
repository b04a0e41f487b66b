// Four processes working on the same card file and history file at once, as four workstations
// would: appended records each land in their own position, and cards rewritten by all of them,
// each rewrite re-checked under the lock, lose no change. The test executable runs itself as the
// workers.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Workers = 4;
constexpr int PerWorker = 200;
// Cards 1 to SharedCards, written by every worker; the appended cards follow them.
constexpr int SharedCards = 3;
const char* const WorkerFlag = "--worker";
const QString Markers[Workers] = {u"A"_s, u"B"_s, u"C"_s, u"D"_s};

// Adds one to the counter (Note) of a shared card as a screen changes a card it has shown: reads
// it, then rewrites it only while it is still the card read; when another worker changed it
// meanwhile, reads it again. Returns the refusals, or -1 on a failure of the file.
int increment(const QString& folder, int position, const QString& marker)
{
    for (int refused = 0;; ++refused) {
        std::optional<bool> written;
        if (!withCardFile(folder, [&](CardFile& f) {
                const std::optional<PassRecord> read = f.readAt(position);
                if (!read)
                    return false;
                PassRecord next = *read;
                next.Note = QString::number(read->Note.toInt() + 1);
                next.PersonaRit = marker;
                written = f.rewriteAtIfUnchanged(position, *read, next);
                return written.has_value();
            }))
            return -1;
        if (*written)
            return refused;
    }
}

// Announces itself, waits for the go line on its input (so that all start together), then per step
// appends one card and one history record and increments one shared card, each in its own
// open-write-close like a screen. At the end prints how often its rewrites were refused.
int worker(const QString& folder, const QString& marker, int steps)
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    int refusals = 0;
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
        const int refused = increment(folder, 1 + i % SharedCards, marker);
        if (refused < 0)
            return 5;
        refusals += refused;
    }
    std::printf("refusals %d\n", refusals);
    return 0;
}

// Checks one file's appended records: each tag exactly once, each worker's tags in its own order.
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
        if (seen.size() != Workers * PerWorker)
            return false;
        for (const QString& marker : Markers)
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
    void fourProcessesAppendAndRewrite();
};

void TestConcurrentAppend::fourProcessesAppendAndRewrite()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u'/';

    PassRecord shared;
    shared.Stato = PassValues::Disponibile;
    shared.Note = u"0"_s;
    QVERIFY(withCardFile(folder, [&](CardFile& f) {
        for (int k = 1; k <= SharedCards; ++k) {
            shared.Codice = u"S-"_s + QString::number(k);
            if (!f.append(shared))
                return false;
        }
        return true;
    }));

    QProcess workers[Workers];
    for (int w = 0; w < Workers; ++w) {
        workers[w].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        workers[w].start(QCoreApplication::applicationFilePath(),
                         {QLatin1StringView(WorkerFlag), folder, Markers[w], QString::number(PerWorker)});
    }
    for (QProcess& p : workers) {
        QVERIFY(p.waitForStarted(10000));
        while (!p.canReadLine())
            QVERIFY(p.waitForReadyRead(10000));
        QCOMPARE(p.readLine(), "ready\n");
    }
    for (QProcess& p : workers) {
        p.write("go\n");
        QVERIFY(p.waitForBytesWritten(10000));
    }
    int refusals = 0;
    for (QProcess& p : workers) {
        QVERIFY(p.waitForFinished(240000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        const QByteArray last = p.readAllStandardOutput().trimmed();
        QVERIFY(last.startsWith("refusals "));
        refusals += last.mid(9).toInt();
    }

    // Exactly the shared cards and Workers × PerWorker appended ones, and as many history records:
    // nothing overwritten, nothing torn.
    QCOMPARE(QFileInfo(folder + QLatin1StringView(CardFile::FileName)).size(),
             qint64(SharedCards + Workers * PerWorker) * PassRecord::Size);
    QCOMPARE(QFileInfo(folder + QLatin1StringView(HistoryFile::FileName)).size(),
             qint64(Workers * PerWorker) * HistoryRecord::Size);

    Tally cards;
    bool numbered = true;
    int counted = 0;
    bool sharedWhole = true;
    QVERIFY(withCardFile(folder, [&](CardFile& f) {
        return f.readInOrder([&](qint64 position, const PassRecord& card) {
            numbered = numbered && card.Scheda == PassValues::cardNumber(position);
            if (position <= SharedCards) {
                // Every increment of every worker is in the counters: no rewrite wrote over
                // another's change, and no card came out torn.
                counted += card.Note.toInt();
                sharedWhole = sharedWhole && card.Codice == u"S-"_s + QString::number(position) &&
                              card.Stato == PassValues::Disponibile &&
                              std::find(std::begin(Markers), std::end(Markers), card.PersonaRit) != std::end(Markers);
            } else {
                cards.add(card.Codice);
            }
            return true;
        });
    }));
    QCOMPARE(counted, Workers * PerWorker);
    QVERIFY(sharedWhole);
    QVERIFY(cards.complete());
    QVERIFY(cards.ordered);
    QVERIFY(numbered);

    Tally history;
    HistoryFile historyFile(folder);
    QVERIFY(historyFile.open());
    QVERIFY(historyFile.readInOrder([&](qint64, const HistoryRecord& r) { return history.add(r.Codice), true; }));
    QVERIFY(history.complete());
    QVERIFY(history.ordered);

    // The writers really overlapped: otherwise this test proved nothing.
    QVERIFY2(cards.switches > 1 || history.switches > 1, "the workers ran one after the other");
    qInfo("%d appended cards, %d history records, %d increments; %d rewrites refused because another worker "
          "had changed the card since it was read",
          Workers * PerWorker, Workers * PerWorker, counted, refusals);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], WorkerFlag) == 0)
        return worker(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), atoi(argv[4]));
    TestConcurrentAppend test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ConcurrentAppend.moc"
