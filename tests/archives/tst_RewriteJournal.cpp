// A card rewrite lands whole or not at all. A rewrite cut short at any byte, as a process killed
// or a power cut would leave it, is found by the next open or the next write, which leaves the
// whole new card (when the journal of the rewrite was complete) or the whole old one, never a mix.
// The cut is made by RecordFile's test seam; the lock of another workstation by hold_lock.

#include "archives/CardFile.h"
#include "tests/support/LockHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int Size = PassRecord::Size;
// Card 2 starts at byte 3581 of the file: a page of 4096 bytes ends 515 bytes into it, where a
// kill in the middle of the write tears it.
constexpr int PageEnd = 4096 - Size;
// The journal: 20 bytes of header, the card as it was, the new card, a 4-byte checksum.
constexpr int JournalSize = 20 + 2 * Size + 4;

// A record of `tag` repeated: every byte tells which version it belongs to.
QByteArray record(const char* tag)
{
    QByteArray out;
    while (out.size() < Size)
        out += tag;
    out.truncate(Size);
    return out;
}

const QByteArray OldCard = record("old card 2 / ");
const QByteArray NewCard = record("NEW CARD 2 | ");

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes, qint64 offset = 0)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// Three cards in a fresh ProgramFolder; card 2 is the one rewritten.
struct Cards
{
    QTemporaryDir dir;
    QString path = dir.filePath(QLatin1StringView(CardFile::FileName));
    QByteArray before = record("card 1 . ") + OldCard + record("card 3 : ");
    QByteArray after = record("card 1 . ") + NewCard + record("card 3 : ");

    Cards() { writeBytes(path, before); }

    // The files of the folder other than the card file: a journal left behind.
    QStringList leftovers() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll(QLatin1StringView(CardFile::FileName));
        return names;
    }

    // Rewrites card 2 with the new card, cut short as `cut` says; the process then "dies": the
    // file is closed, which also lets go of its lock, and nothing else runs.
    bool cutRewrite(RecordFile::Stage stage, qint64 bytes)
    {
        RecordFile file(path, Size);
        if (!file.open())
            return false;
        RecordFile::cutForTesting = RecordFile::Cut{stage, bytes};
        const bool written = file.rewriteAt(2, NewCard.constData());
        RecordFile::cutForTesting.reset();
        return !written;
    }

    // The next program to open the file, as every user action does.
    bool reopen(LockWait wait = {})
    {
        RecordFile file(path, Size, std::move(wait));
        return file.open();
    }
};

} // namespace

class TestRewriteJournal : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RecordFile::cutForTesting.reset(); }

    void cutRewriteIsWholeAtTheNextOpen_data();
    void cutRewriteIsWholeAtTheNextOpen();
    void cutReplayIsReplayedAgain();
    void damagedOrStaleJournal_data();
    void damagedOrStaleJournal();
    void nextWriterReplaysBeforeItsCheck();
    void linkPlantedAsTheJournalIsNotFollowed_data();
    void linkPlantedAsTheJournalIsNotFollowed();
};

void TestRewriteJournal::cutRewriteIsWholeAtTheNextOpen_data()
{
    QTest::addColumn<bool>("inJournal");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("whole");

    // The journal: every field edge, then every 512 bytes. Only the complete journal means that
    // the in-place write may have begun: the new card; any shorter one, the old card.
    QList<int> journalCuts{0,
                           1,
                           7,
                           8,
                           11,
                           12,
                           19,
                           20,
                           21,
                           20 + Size - 1,
                           20 + Size,
                           20 + Size + 1,
                           20 + 2 * Size - 1,
                           20 + 2 * Size,
                           JournalSize - 1,
                           JournalSize};
    for (int n = 512; n < JournalSize; n += 512)
        journalCuts << n;
    for (int n : journalCuts)
        QTest::addRow("journal cut after %d bytes", n) << true << n << (n == JournalSize);

    // The card in place, after its journal: always the new card. PageEnd is where a kill tears it.
    QList<int> inPlaceCuts{0, 1, 2, PageEnd - 1, PageEnd, PageEnd + 1, Size - 1, Size};
    for (int n = 256; n < Size; n += 256)
        inPlaceCuts << n;
    for (int n : inPlaceCuts)
        QTest::addRow("in-place write cut after %d bytes", n) << false << n << true;
}

void TestRewriteJournal::cutRewriteIsWholeAtTheNextOpen()
{
    QFETCH(bool, inJournal);
    QFETCH(int, bytes);
    QFETCH(bool, whole);

    Cards cards;
    QVERIFY(cards.cutRewrite(inJournal ? RecordFile::Stage::Journal : RecordFile::Stage::InPlace, bytes));
    QVERIFY(cards.reopen());
    const QByteArray now = bytesOf(cards.path);
    QVERIFY2(now == cards.before || now == cards.after, "card 2 is torn, or another card was touched");
    QCOMPARE(now == cards.after, whole);
    QCOMPARE(cards.leftovers(), QStringList());
}

// The replay itself killed halfway: the journal stays, and the open after replays it again.
void TestRewriteJournal::cutReplayIsReplayedAgain()
{
    Cards cards;
    QVERIFY(cards.cutRewrite(RecordFile::Stage::InPlace, PageEnd));
    RecordFile::cutForTesting = RecordFile::Cut{RecordFile::Stage::InPlace, 100};
    QVERIFY(cards.reopen());
    QVERIFY(!RecordFile::cutForTesting); // the open did replay, and was cut
    QCOMPARE(cards.leftovers().size(), 1);
    QVERIFY(cards.reopen());
    QCOMPARE(bytesOf(cards.path), cards.after);
    QCOMPARE(cards.leftovers(), QStringList());
}

void TestRewriteJournal::damagedOrStaleJournal_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("expected"); // the card file afterwards: "old", "new" or "as left"

    // The journal as a kill right after it left it: the in-place write has not begun.
    QTest::newRow("journal whole") << QString() << u"new"_s;
    // Torn journals: the in-place write never began, so the old card stands.
    QTest::newRow("a byte of the new card changed") << u"flip"_s << u"old"_s;
    QTest::newRow("its end never written (zeros)") << u"zeros"_s << u"old"_s;
    QTest::newRow("empty journal") << u"empty"_s << u"old"_s;
    QTest::newRow("bytes after its end") << u"longer"_s << u"old"_s;
    // The card file shortened outside the program since: the card is no longer there.
    QTest::newRow("position beyond the file") << u"shortened"_s << u"as left"_s;
    // A workstation running an older copy, which knows nothing of journals, rewrote the card since:
    // its card stands.
    QTest::newRow("card rewritten since by an older copy") << u"rewritten"_s << u"as left"_s;
}

void TestRewriteJournal::damagedOrStaleJournal()
{
    QFETCH(QString, damage);
    QFETCH(QString, expected);

    Cards cards;
    QVERIFY(cards.cutRewrite(RecordFile::Stage::InPlace, 0));
    QCOMPARE(cards.leftovers().size(), 1);
    const QString journal = cards.dir.filePath(cards.leftovers().first());
    QCOMPARE(bytesOf(journal).size(), JournalSize);

    if (damage == u"flip") {
        QByteArray j = bytesOf(journal);
        j[20 + Size + 1000] = char(j[20 + Size + 1000] ^ 0x20);
        QVERIFY(writeBytes(journal, j));
    } else if (damage == u"zeros") {
        QVERIFY(writeBytes(journal, QByteArray(600, '\0'), JournalSize - 600));
    } else if (damage == u"empty") {
        QVERIFY(QFile::resize(journal, 0));
    } else if (damage == u"longer") {
        QVERIFY(writeBytes(journal, "!", JournalSize));
    } else if (damage == u"shortened") {
        QVERIFY(QFile::resize(cards.path, Size + 100));
    } else if (damage == u"rewritten") {
        QVERIFY(writeBytes(cards.path, record("third version of card 2 # "), Size));
    }
    const QByteArray left = bytesOf(cards.path);

    QVERIFY(cards.reopen());
    const QByteArray now = bytesOf(cards.path);
    if (expected == u"new")
        QCOMPARE(now, cards.after);
    else if (expected == u"old")
        QCOMPARE(now, cards.before);
    else
        QCOMPARE(now, left);
    QCOMPARE(cards.leftovers(), QStringList());
}

// A journal is touched only under the lock: while another workstation holds it, the journal may
// be that workstation's own write in progress, and the open leaves it. The next write, once it
// holds the lock, replays it before it checks the card it is asked to rewrite.
void TestRewriteJournal::nextWriterReplaysBeforeItsCheck()
{
    Cards cards;
    QVERIFY(cards.cutRewrite(RecordFile::Stage::InPlace, PageEnd));
    const QByteArray torn = bytesOf(cards.path);
    QVERIFY(torn != cards.before && torn != cards.after);

    RecordFile file(cards.path, Size, LockWait{100ms, {}, {}});
    {
        LockHolder other(cards.path);
        QVERIFY(other.holds());
        QVERIFY(file.open());
        QCOMPARE(bytesOf(cards.path), torn);
        QCOMPARE(cards.leftovers().size(), 1);
    }
    // Rewritten only if card 2 is still the old card: the replay makes it the new one first.
    const QByteArray third = record("third version of card 2 # ");
    const auto written = file.rewriteAtIf(
        2, [](const char* current) { return QByteArray(current, Size) == OldCard; }, third.constData());
    QCOMPARE(written, std::optional<bool>(false));
    QCOMPARE(bytesOf(cards.path), cards.after);
    QCOMPARE(cards.leftovers(), QStringList());
    // And the next rewrite goes ahead as usual.
    QVERIFY(file.rewriteAt(2, third.constData()));
    QCOMPARE(bytesOf(cards.path).mid(Size, Size), third);
}

void TestRewriteJournal::linkPlantedAsTheJournalIsNotFollowed_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("to a file outside the folder") << true;
    QTest::newRow("to a name outside the folder where no file is yet") << false;
}

// A symbolic link planted where the journal goes is never written through, nor read as a journal:
// it is removed, and the rewrite writes a journal of its own.
void TestRewriteJournal::linkPlantedAsTheJournalIsNotFollowed()
{
    QFETCH(bool, targetExists);
    Cards cards;
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(u"precious"_s);
    if (targetExists)
        QVERIFY(writeBytes(target, "not a journal"));
    RecordFile file(cards.path, Size);
    QVERIFY(QFile::link(target, file.journalPath()));

    QVERIFY(file.open());
    QVERIFY(file.rewriteAt(2, NewCard.constData()));
    QCOMPARE(bytesOf(cards.path), cards.after);
    QCOMPARE(cards.leftovers(), QStringList());
    QCOMPARE(QFileInfo::exists(target), targetExists);
    if (targetExists)
        QCOMPARE(bytesOf(target), QByteArray("not a journal"));
}

QTEST_GUILESS_MAIN(TestRewriteJournal)
#include "tst_RewriteJournal.moc"
