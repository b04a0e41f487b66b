// Processes killed at random moments while they rewrite cards, as a power switch or the task
// manager would: after the kills, the next program to open the card file finds every card whole,
// and every rewrite that a process reported done is there. Two workers rewrite at once, so that
// the journal of one killed in the middle of a rewrite is often replayed by the other, under the
// lock, before that one's own rewrite. The test executable runs itself as the workers.

#include "archives/CardFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int Size = PassRecord::Size;
constexpr int Cards = 5;
constexpr int Kills = 300;
constexpr int KillsBetweenChecks = 20;
const char* const WorkerFlag = "--rewrite-worker";

// Version v of card k: its header repeated over the whole record, so that a card made of two
// versions, however it is cut, is seen.
QByteArray version(int card, qint64 v)
{
    const QByteArray header = "card " + QByteArray::number(card) + " version " + QByteArray::number(v) + "; ";
    QByteArray out;
    while (out.size() < Size)
        out += header;
    out.truncate(Size);
    return out;
}

// The version a record says it is, or -1 when it is not whole.
qint64 versionOf(int card, const QByteArray& record)
{
    const QByteArray prefix = "card " + QByteArray::number(card) + " version ";
    if (!record.startsWith(prefix))
        return -1;
    bool ok = false;
    const qint64 v = record.mid(prefix.size(), record.indexOf(';') - prefix.size()).toLongLong(&ok);
    return ok && record == version(card, v) ? v : -1;
}

// Forever: picks a card, reads it, and rewrites it as its next version only if it is still the
// version read (re-checked under the lock, as the screens do), in its own open-rewrite-close like
// a screen. Reports a rewrite ("<card> <version>") only once it returned success.
int rewriteWorker(const QString& path, quint32 seed)
{
    QRandomGenerator random(seed);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        const int k = 1 + int(random.bounded(Cards));
        RecordFile file(path, Size);
        if (!file.open())
            return 3;
        QByteArray read(Size, '\0');
        if (!file.readAt(k, read.data()))
            return 4;
        // A card read while the other worker writes it may be half written: asked again.
        const qint64 v = versionOf(k, read);
        if (v < 0)
            continue;
        const QByteArray next = version(k, v + 1);
        const auto written = file.rewriteAtIf(
            k, [&](const char* current) { return std::memcmp(current, read.constData(), Size) == 0; },
            next.constData());
        if (!written)
            return 5;
        if (*written) {
            std::printf("%d %lld\n", k, v + 1);
            std::fflush(stdout);
        }
    }
}

struct Worker
{
    QProcess process;

    bool start(const QString& path)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(),
                      {QLatin1StringView(WorkerFlag), path, QString::number(QRandomGenerator::global()->generate())});
        if (!process.waitForStarted(10000))
            return false;
        while (!process.canReadLine())
            if (!process.waitForReadyRead(10000))
                return false;
        return process.readLine() == "ready\n";
    }

    // Kills it (SIGKILL: nothing of it runs any more) and hands over the rewrites it reported.
    // False when it had ended of its own accord, which a worker never does.
    bool kill(QList<std::pair<int, qint64>>& reported)
    {
        const bool running = process.state() == QProcess::Running;
        process.kill();
        process.waitForFinished(10000);
        const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 2)
                reported.append({parts[0].toInt(), parts[1].toLongLong()});
        }
        return running && process.exitStatus() == QProcess::CrashExit;
    }
};

} // namespace

class TestKillTorture : public QObject
{
    Q_OBJECT

private slots:
    void killedRewritesLeaveWholeCards();
};

void TestKillTorture::killedRewritesLeaveWholeCards()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QLatin1StringView(CardFile::FileName));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int k = 1; k <= Cards; ++k)
            QCOMPARE(f.write(version(k, 0)), Size);
    }

    QHash<int, qint64> highestReported;
    QSet<std::pair<int, qint64>> seen;
    int reportedCount = 0, duplicates = 0, torn = 0, lost = 0, journalsLeft = 0, checks = 0;
    QList<std::pair<int, qint64>> reported;
    const auto collect = [&] {
        for (const auto& r : std::as_const(reported)) {
            ++reportedCount;
            if (seen.contains(r))
                ++duplicates; // two rewrites from the same version: one was lost
            seen.insert(r);
            highestReported[r.first] = std::max(highestReported.value(r.first), r.second);
        }
        reported.clear();
    };
    // With every worker dead: the next program opens the file, and every card must be whole and
    // at least at the highest version reported for it.
    const auto check = [&] {
        ++checks;
        if (QDir(dir.path()).entryList(QDir::Files).size() > 1)
            ++journalsLeft;
        RecordFile file(path, Size);
        if (!file.open() || file.count() != Cards)
            return false;
        for (int k = 1; k <= Cards; ++k) {
            QByteArray record(Size, '\0');
            if (!file.readAt(k, record.data()))
                return false;
            const qint64 v = versionOf(k, record);
            if (v < 0) {
                // Counted once: made whole again, as a version no worker reported, so that the
                // workers go on with it.
                ++torn;
                const QByteArray whole = version(k, highestReported.value(k) + 1);
                if (!file.rewriteAt(k, whole.constData()))
                    return false;
            } else if (v < highestReported.value(k)) {
                ++lost;
            }
        }
        return QDir(dir.path()).entryList(QDir::Files) == QStringList{QLatin1StringView(CardFile::FileName)};
    };

    Worker workers[2];
    for (Worker& w : workers)
        QVERIFY(w.start(path));
    auto* random = QRandomGenerator::global();
    for (int kill = 1; kill <= Kills; ++kill) {
        std::this_thread::sleep_for(std::chrono::microseconds(random->bounded(500, 15000)));
        Worker& victim = workers[random->bounded(2)];
        QVERIFY2(victim.kill(reported), "a worker ended by itself: a rewrite failed");
        collect();
        if (kill % KillsBetweenChecks == 0) {
            for (Worker& w : workers)
                if (w.process.state() == QProcess::Running)
                    QVERIFY2(w.kill(reported), "a worker ended by itself: a rewrite failed");
            collect();
            QVERIFY(check());
            for (Worker& w : workers)
                if (w.process.state() != QProcess::Running)
                    QVERIFY(w.start(path));
        } else {
            QVERIFY(victim.start(path));
        }
    }
    for (Worker& w : workers)
        if (w.process.state() == QProcess::Running)
            w.kill(reported);
    collect();
    QVERIFY(check());

    qInfo("%d kills, %d rewrites reported, %d checks (%d found a journal left by a kill): %d torn cards, "
          "%d lost reported rewrites, %d rewrites made twice",
          Kills, reportedCount, checks, journalsLeft, torn, lost, duplicates);
    QCOMPARE(torn, 0);
    QCOMPARE(lost, 0);
    QCOMPARE(duplicates, 0);
    // The workers did work between the kills: otherwise this test proved nothing.
    QVERIFY(reportedCount > Kills);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], WorkerFlag) == 0)
        return rewriteWorker(QString::fromLocal8Bit(argv[2]), quint32(std::strtoul(argv[3], nullptr, 10)));
    TestKillTorture test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_KillTorture.moc"
