// A write while another workstation holds the lock of its file: it waits, and shows it, for a
// bounded time only; then it gives up with nothing written. Another process holds the lock.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"
#include "tests/support/LockHolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

PassRecord card(const QString& codice)
{
    PassRecord c;
    c.Codice = codice;
    c.Stato = PassValues::Disponibile;
    c.Smarrita = PassValues::No;
    return c;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A card file of two cards and a history file of one record in a fresh folder, and one write of
// the given kind on them, made with `wait`.
struct Files
{
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    QString cards = folder + QLatin1StringView(CardFile::FileName);
    QString history = folder + QLatin1StringView(HistoryFile::FileName);

    Files()
    {
        withCardFile(folder, [](CardFile& f) { return f.append(card(u"B-01"_s)) && f.append(card(u"B-02"_s)); });
        HistoryFile h(folder);
        if (h.open())
            h.append(HistoryRecord{});
    }

    QString pathOf(const QString& write) const { return write == u"history append"_s ? history : cards; }

    bool write(const QString& kind, const LockWait& wait) const
    {
        if (kind == u"history append"_s) {
            HistoryFile h(folder, wait);
            HistoryRecord r;
            r.Codice = u"B-03"_s;
            return h.open() && h.append(r).has_value();
        }
        return withCardFile(folder, wait, [&](CardFile& f) {
            if (kind == u"card append"_s)
                return f.append(card(u"B-03"_s)).has_value();
            if (kind == u"card rewrite"_s)
                return f.rewriteAt(2, card(u"B-22"_s));
            return f.rewriteAtIfUnchanged(2, *f.readAt(2), card(u"B-22"_s)).value_or(false);
        });
    }
};

} // namespace

class TestLockWait : public QObject
{
    Q_OBJECT

private slots:
    void writeGivesUpAfterTheBoundedWait_data();
    void writeGivesUpAfterTheBoundedWait();
    void writeGoesAheadOnceTheLockIsReleased_data() { writeGivesUpAfterTheBoundedWait_data(); }
    void writeGoesAheadOnceTheLockIsReleased();
    void freeLockIsTakenWithoutWaiting_data() { writeGivesUpAfterTheBoundedWait_data(); }
    void freeLockIsTakenWithoutWaiting();
    void writeGoesAheadUnlockedAndSaysSo_data() { writeGivesUpAfterTheBoundedWait_data(); }
    void writeGoesAheadUnlockedAndSaysSo();
    void cleanup() { FileLock::unsupportedForTesting = false; }
};

void TestLockWait::writeGivesUpAfterTheBoundedWait_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"card append", "card rewrite", "card rewrite if unchanged", "history append"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestLockWait::writeGivesUpAfterTheBoundedWait()
{
    QFETCH(QString, kind);
    Files files;
    const QByteArray before = bytesOf(files.pathOf(kind));
    LockHolder other(files.pathOf(kind));
    QVERIFY(other.holds());

    QList<bool> told;
    LockWait wait;
    wait.limit = 400ms;
    wait.waiting = [&](bool waiting) { told << waiting; };
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!files.write(kind, wait));
    const qint64 waited = clock.elapsed();

    QVERIFY2(waited >= 400, qPrintable(QString::number(waited)));
    QVERIFY2(waited < 4000, qPrintable(QString::number(waited)));
    QCOMPARE(told, (QList<bool>{true, false}));
    QCOMPARE(bytesOf(files.pathOf(kind)), before);
}

void TestLockWait::writeGoesAheadOnceTheLockIsReleased()
{
    QFETCH(QString, kind);
    Files files;
    const QByteArray before = bytesOf(files.pathOf(kind));
    LockHolder other(files.pathOf(kind), 300); // lets go by itself after 300 ms
    QVERIFY(other.holds());

    QList<bool> told;
    LockWait wait;
    wait.limit = 20s;
    wait.waiting = [&](bool waiting) { told << waiting; };
    QElapsedTimer clock;
    clock.start();
    QVERIFY(files.write(kind, wait));
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(told, (QList<bool>{true, false}));
    QVERIFY(bytesOf(files.pathOf(kind)) != before);
}

void TestLockWait::freeLockIsTakenWithoutWaiting()
{
    QFETCH(QString, kind);
    Files files;
    const QByteArray before = bytesOf(files.pathOf(kind));
    {
        // A lock held and let go before the write leaves nothing behind.
        LockHolder other(files.pathOf(kind));
        QVERIFY(other.holds());
    }
    QList<bool> told;
    LockWait wait;
    wait.waiting = [&](bool waiting) { told << waiting; };
    QVERIFY(files.write(kind, wait));
    QVERIFY(told.isEmpty());
    QVERIFY(bytesOf(files.pathOf(kind)) != before);
}

// A share that offers no locks at all: the write goes ahead rather than refusing all work, and
// the caller is told at each such write, so that the screens can warn the operator.
void TestLockWait::writeGoesAheadUnlockedAndSaysSo()
{
    QFETCH(QString, kind);
    Files files;
    const QByteArray before = bytesOf(files.pathOf(kind));
    FileLock::unsupportedForTesting = true;

    int unlocked = 0;
    QList<bool> told;
    LockWait wait;
    wait.waiting = [&](bool waiting) { told << waiting; };
    wait.unlocked = [&] { ++unlocked; };
    QVERIFY(files.write(kind, wait));
    QVERIFY(files.write(kind, wait));
    QCOMPARE(unlocked, 2);
    QVERIFY(told.isEmpty());
    QVERIFY(bytesOf(files.pathOf(kind)) != before);
}

QTEST_GUILESS_MAIN(TestLockWait)
#include "tst_LockWait.moc"
