// The card file and the history file: creation, numbering, rewriting in place, streaming, failures.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

PassRecord card(const QString& codice)
{
    PassRecord c;
    c.Scheda = u"XXXXX"_s; // append must number the card itself
    c.Codice = codice;
    c.Stato = PassValues::Disponibile;
    c.Smarrita = PassValues::No;
    return c;
}

template <typename Record> QString fileName()
{
    return QLatin1StringView(std::is_same_v<Record, PassRecord> ? CardFile::FileName : HistoryFile::FileName);
}

template <typename Record> using FileOf = std::conditional_t<std::is_same_v<Record, PassRecord>, CardFile, HistoryFile>;

// A file of `n` records numbered in Codice, plus an incomplete tail, written here directly.
template <typename Record> void streamsEveryRecordOnce(const QString& folder, int n)
{
    QByteArray content;
    content.reserve(qsizetype(n + 1) * Record::Size);
    for (int i = 1; i <= n; ++i) {
        Record r;
        r.Codice = QString::number(i);
        content += r.encode();
    }
    content += QByteArray(Record::Size / 2, 'Z');
    QVERIFY(content.size() > 2 * (1 << 20)); // more than one read block
    {
        QFile f(folder + fileName<Record>());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }

    FileOf<Record> file(folder);
    QVERIFY(file.open());
    QCOMPARE(file.count(), n);
    qint64 visited = 0;
    bool inOrder = true;
    QVERIFY(file.readInOrder([&](qint64 position, const Record& r) {
        ++visited;
        inOrder = inOrder && position == visited && r.Codice == QString::number(visited);
        return true;
    }));
    QVERIFY(inOrder);
    QCOMPARE(visited, n);

    // A visitor that has seen enough stops the walk; that is not a failure.
    visited = 0;
    QVERIFY(file.readInOrder([&](qint64 position, const Record&) {
        ++visited;
        return position < n / 2;
    }));
    QCOMPARE(visited, n / 2);
}

} // namespace

class TestRecordFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + u'/'; }
    QString cards() const { return folder() + QLatin1StringView(CardFile::FileName); }
    QString history() const { return folder() + QLatin1StringView(HistoryFile::FileName); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void missingFileCreatedEmpty()
    {
        {
            CardFile file(folder());
            QVERIFY(file.open());
            QCOMPARE(file.count(), 0);
            int visits = 0;
            QVERIFY(file.readInOrder([&](qint64, const PassRecord&) { return ++visits, true; }));
            QCOMPARE(visits, 0);
            QVERIFY(!file.readAt(1).has_value());
        }
        QVERIFY(QFileInfo(cards()).isFile());
        QCOMPARE(QFileInfo(cards()).size(), 0);
        {
            HistoryFile file(folder());
            QVERIFY(file.open());
            QCOMPARE(file.count(), 0);
            HistoryRecord first;
            first.Codice = u"B-01"_s;
            QCOMPARE(file.append(first), std::optional<qint64>(1));
        }
        // The first append makes exactly one record.
        QCOMPARE(QFileInfo(history()).size(), HistoryRecord::Size);
    }

    void cardNumber_data()
    {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<QString>("number");
        QTest::newRow("1") << qint64(1) << u"00001"_s;
        QTest::newRow("7") << qint64(7) << u"00007"_s;
        QTest::newRow("42") << qint64(42) << u"00042"_s;
        QTest::newRow("99999") << qint64(99999) << u"99999"_s;
        QTest::newRow("100000") << qint64(100000) << u"00000"_s;
        QTest::newRow("123456") << qint64(123456) << u"23456"_s;
    }

    void cardNumber()
    {
        QFETCH(qint64, position);
        QFETCH(QString, number);
        QCOMPARE(PassValues::cardNumber(position), number);
    }

    void appendNumbersTheCards()
    {
        QVERIFY(withCardFile(folder(), [](CardFile& file) {
            for (int i = 1; i <= 7; ++i) {
                if (file.append(card(u"C-%1"_s.arg(i))) != std::optional<qint64>(i))
                    return false;
            }
            return true;
        }));
        QCOMPARE(QFileInfo(cards()).size(), 7 * PassRecord::Size);
        CardFile file(folder());
        QVERIFY(file.open());
        for (int p = 1; p <= 7; ++p) {
            const auto c = file.readAt(p);
            QVERIFY(c);
            QCOMPARE(c->Scheda, PassValues::cardNumber(p));
            QCOMPARE(c->Codice, u"C-%1"_s.arg(p));
        }
        QCOMPARE(file.readAt(7)->Scheda, u"00007"_s);
    }

    void rewriteLeavesTheOtherCards()
    {
        CardFile file(folder());
        QVERIFY(file.open());
        for (int i = 1; i <= 5; ++i)
            QVERIFY(file.append(card(u"C-%1"_s.arg(i))));
        const QByteArray before = readAll(cards());

        PassRecord third = *file.readAt(3);
        third.Stato = PassValues::withdrawalState(u"Anna Bianchi"_s, u"03/11/2026"_s, u"09:05"_s);
        QVERIFY(file.rewriteAt(3, third));
        QCOMPARE(file.count(), 5);
        QCOMPARE(file.readAt(3), std::optional<PassRecord>(third));

        const QByteArray after = readAll(cards());
        QCOMPARE(after.size(), before.size());
        const int s = PassRecord::Size;
        QCOMPARE(after.left(2 * s), before.left(2 * s));
        QCOMPARE(after.mid(3 * s), before.mid(3 * s));
        QVERIFY(after.mid(2 * s, s) != before.mid(2 * s, s));

        // Outside 1..count: refused, nothing written, the count unchanged.
        QVERIFY(!file.rewriteAt(0, third));
        QVERIFY(!file.rewriteAt(6, third));
        QVERIFY(!file.readAt(0).has_value());
        QVERIFY(!file.readAt(6).has_value());
        QCOMPARE(readAll(cards()), after);
    }

    void rewriteAtIfChecksTheCardFirst()
    {
        CardFile file(folder());
        QVERIFY(file.open());
        QVERIFY(file.append(card(u"C-1"_s)));
        PassRecord out = *file.readAt(1);
        out.Stato = u"Ritirato da X in data 01/01/2026 alle ore 10:00"_s;
        auto available = [](const PassRecord& current) { return current.Stato == PassValues::Disponibile; };

        QCOMPARE(file.rewriteAtIf(1, available, out), std::optional<bool>(true));
        const QByteArray written = readAll(cards());
        // The card is out now: a second withdrawal of it is refused and writes nothing.
        QCOMPARE(file.rewriteAtIf(1, available, out), std::optional<bool>(false));
        QCOMPARE(readAll(cards()), written);
        bool asked = false;
        QCOMPARE(file.rewriteAtIf(
                     2, [&](const PassRecord&) { return asked = true; }, out),
                 std::nullopt);
        QVERIFY(!asked);
    }

    void readInOrderSpansReadBlocks_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::newRow("700 cards") << true;
        QTest::newRow("3000 history records") << false;
    }

    void readInOrderSpansReadBlocks()
    {
        QFETCH(bool, pass);
        if (pass)
            streamsEveryRecordOnce<PassRecord>(folder(), 700);
        else
            streamsEveryRecordOnce<HistoryRecord>(folder(), 3000);
    }

    void readInParts_data()
    {
        QTest::addColumn<int>("parts");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("failedPart");
        // 700 cards, more than one read block in each part.
        QTest::newRow("two parts") << 2 << 1 << 700 << 2;
        QTest::newRow("three parts of a range") << 3 << 5 << 650 << 3;
        QTest::newRow("more parts than records: empty parts") << 4 << 698 << 699 << 4;
        QTest::newRow("the last part runs past the end") << 2 << 1 << 710 << 1;
        QTest::newRow("the middle part ends at the end") << 3 << 1 << 1200 << 1;
        QTest::newRow("every part past the end") << 2 << 701 << 720 << 0;
    }

    void readInParts()
    {
        // Every record of the range is visited once, by the part that holds it, parts being
        // consecutive runs in file order. A range past the end fails in the part that meets the
        // end, which is told; the records before the read block that met it are visited, as a
        // reading in one go visits them.
        QFETCH(int, parts);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, failedPart);
        constexpr int n = 700;
        QByteArray content;
        for (int i = 1; i <= n; ++i) {
            PassRecord r;
            r.Codice = QString::number(i);
            content += r.encode();
        }
        {
            QFile f(cards());
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(content), content.size());
        }
        CardFile file(folder());
        QVERIFY(file.open());
        std::vector<std::vector<std::pair<qint64, QByteArray>>> seen(static_cast<size_t>(parts)); // each part's own
        const int failed =
            file.raw().readRangeInParts(first, last, parts, [&](int part, qint64 position, const char* record) {
                if (part < 0 || part >= parts)
                    qFatal("part %d of %d", part, parts);
                seen[size_t(part)].push_back({position, QByteArray(record, 20)});
                return true;
            });
        QCOMPARE(failed, failedPart);
        QList<qint64> positions;
        for (const auto& partSeen : seen) {
            for (const auto& [position, bytes] : partSeen) {
                positions.append(position);
                QCOMPARE(PassRecord::decode(content.constData() + (position - 1) * PassRecord::Size).Codice,
                         QString::number(position));
                QCOMPARE(bytes, content.mid((position - 1) * PassRecord::Size, 20));
            }
        }
        // One run from the first: the whole range, or up to the read block that met the end.
        for (qsizetype i = 0; i < positions.size(); ++i)
            QCOMPARE(positions[i], first + i);
        if (failed == parts) {
            QCOMPARE(positions.size(), last - first + 1);
            for (const auto& partSeen : seen) // about as many records in each part
                QVERIFY(qAbs(qsizetype(partSeen.size()) - (last - first + 1) / parts) <= 1);
        } else {
            QVERIFY(positions.size() < qMin(last, n) - first + 1 || first > n);
            for (int part = failed + 1; part < parts; ++part)
                QVERIFY(seen[size_t(part)].empty());
        }
    }

    void scanHandsEveryCardWhole()
    {
        // Texts that grow, shrink and vanish from one card to the next: each card read in order is
        // exactly the card written, and a copy kept by the visitor stays as it was.
        QList<PassRecord> written;
        for (const QString& text : {u"Badge magnetico, ingresso nord"_s, u"B"_s, QString(), u"Tessera à più"_s}) {
            PassRecord c = card(text.left(20));
            c.Tipo = text;
            c.Note = text + text;
            c.Stato = text.isEmpty() ? u"Ritirato da Anna"_s : PassValues::Disponibile;
            c.Smarrita = text.isEmpty() ? QString() : PassValues::Si;
            written.append(c);
        }
        {
            CardFile file(folder());
            QVERIFY(file.open());
            for (const PassRecord& c : written)
                QVERIFY(file.append(c));
        }
        for (int i = 0; i < written.size(); ++i)
            written[i].Scheda = PassValues::cardNumber(i + 1);

        CardFile file(folder());
        QVERIFY(file.open());
        QList<PassRecord> kept;
        QVERIFY(file.readInOrder([&](qint64, const PassRecord& c) {
            kept.append(c);
            return true;
        }));
        QCOMPARE(kept, written);

        // Only the fields asked for are read; the others stay empty.
        QList<PassRecord> some;
        QVERIFY(file.readInOrder(PassRecord::fieldSet({&PassRecord::Note, &PassRecord::Smarrita}),
                                 [&](qint64, const PassRecord& c) {
                                     some.append(c);
                                     return true;
                                 }));
        QCOMPARE(some.size(), written.size());
        for (int i = 0; i < written.size(); ++i) {
            PassRecord expected;
            expected.Note = written[i].Note;
            expected.Smarrita = written[i].Smarrita;
            QCOMPARE(some[i], expected);
        }
    }

    void openFailure_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::addColumn<QString>("entry");
        for (bool pass : {true, false}) {
            const char* name = pass ? "card file" : "history file";
            QTest::addRow("%s is a folder", name) << pass << u"folder"_s;
            QTest::addRow("%s is a link to itself", name) << pass << u"loop"_s;
            QTest::addRow("%s in a missing folder", name) << pass << u"missing"_s;
        }
    }

    void openFailure()
    {
        QFETCH(bool, pass);
        QFETCH(QString, entry);
        QString programFolder = folder();
        const QString path = pass ? cards() : history();
        if (entry == u"folder")
            QVERIFY(QDir().mkdir(path));
        else if (entry == u"loop")
            QVERIFY(QFile::link(path, path));
        else
            programFolder += u"missing/"_s;

        if (pass) {
            QVERIFY(!CardFile(programFolder).open());
            bool worked = false;
            QVERIFY(!withCardFile(programFolder, [&](CardFile&) { return worked = true; }));
            QVERIFY(!worked);
        } else {
            HistoryFile file(programFolder);
            QVERIFY(!file.open());
            QCOMPARE(file.count(), -1);
            QVERIFY(!file.append(HistoryRecord{}).has_value());
            QVERIFY(!file.readInOrder([](qint64, const HistoryRecord&) { return true; }));
        }
        // What was there is still there, and nothing was created in its place.
        QCOMPARE(QFileInfo(path).isDir(), entry == u"folder");
        QCOMPARE(QFileInfo(path).isSymLink(), entry == u"loop");
        QVERIFY(!QFileInfo::exists(folder() + u"missing"_s));
    }

    void readOnlyFileIsNotReplaced()
    {
        if (::geteuid() == 0)
            QSKIP("permission bits do not stop the superuser");
        QVERIFY(withCardFile(folder(), [](CardFile& f) { return f.append(card(u"C-1"_s)).has_value(); }));
        const QByteArray before = readAll(cards());
        QVERIFY(QFile::setPermissions(cards(), QFile::ReadOwner));
        QVERIFY(!withCardFile(folder(), [](CardFile&) { return true; }));
        QCOMPARE(readAll(cards()), before);
    }

    void writeFailureReported()
    {
        if (!QFileInfo(u"/dev/full"_s).exists())
            QSKIP("no /dev/full here");
        // Both files on a device where every write fails for lack of space.
        QVERIFY(QFile::link(u"/dev/full"_s, cards()));
        QVERIFY(QFile::link(u"/dev/full"_s, history()));
        QVERIFY(!withCardFile(folder(), [](CardFile& file) { return file.append(card(u"C-1"_s)).has_value(); }));
        HistoryFile file(folder());
        QVERIFY(file.open());
        QVERIFY(!file.append(HistoryRecord{}).has_value());
    }
};

QTEST_GUILESS_MAIN(TestRecordFiles)
#include "tst_RecordFiles.moc"
