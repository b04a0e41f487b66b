// Files written by an independent implementation of the layouts: read to the values listed in
// contents.json, and written back the same way.

#include "HandLayouts.h"

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The records listed under `file` in contents.json; a field left out there is empty.
template <typename Record> QList<Record> expected(const char* file)
{
    const QJsonObject all =
        QJsonDocument::fromJson(readAll(QStringLiteral(INGRESSARIO_FIXTURES "/contents.json"))).object();
    QList<Record> records;
    for (const QJsonValue& v : all.value(QLatin1StringView(file)).toArray()) {
        Record r;
        for (const auto& f : fieldsOf<Record>())
            r.*f.member = v.toObject().value(QLatin1StringView(f.name)).toString();
        records.append(r);
    }
    return records;
}

} // namespace

class TestArchiveFixtures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u'/'; }
    QString cards() const { return folder() + QLatin1StringView(CardFile::FileName); }
    QString history() const { return folder() + QLatin1StringView(HistoryFile::FileName); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        for (const QString& path : {cards(), history()}) {
            QFile::remove(path);
            QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/") + QFileInfo(path).fileName(), path));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        }
        // The fixtures as described: whole records plus an incomplete tail.
        QCOMPARE(QFileInfo(cards()).size(), 4 * PassBytes + 100);
        QCOMPARE(QFileInfo(history()).size(), 3 * HistoryBytes + 40);
    }

    void readsTheCardFile()
    {
        const QList<PassRecord> want = expected<PassRecord>("Schedario_Pass.pro");
        QCOMPARE(want.size(), 4);
        CardFile file(folder());
        QVERIFY(file.open());
        QCOMPARE(file.count(), 4);
        for (int p = 1; p <= 4; ++p)
            QCOMPARE(file.readAt(p), std::optional<PassRecord>(want[p - 1]));
        QList<PassRecord> inOrder;
        QVERIFY(file.readInOrder([&](qint64 position, const PassRecord& card) {
            inOrder.append(card);
            return position == inOrder.size();
        }));
        QCOMPARE(inOrder, want);
        QVERIFY(!file.readAt(5).has_value()); // the tail is not a card
    }

    void readsTheHistoryFile()
    {
        const QList<HistoryRecord> want = expected<HistoryRecord>("Storico_Operazioni.pro");
        QCOMPARE(want.size(), 3);
        HistoryFile file(folder());
        QVERIFY(file.open());
        QCOMPARE(file.count(), 3);
        QList<HistoryRecord> inOrder;
        QVERIFY(file.readInOrder([&](qint64 position, const HistoryRecord& r) {
            inOrder.append(r);
            return position == inOrder.size();
        }));
        QCOMPARE(inOrder, want);
    }

    void lostFlagBytes()
    {
        const QByteArray bytes = readAll(cards());
        QCOMPARE(bytes.mid(0 * PassBytes + 1886, 3), QByteArray::fromHex("024E6F"));
        QCOMPARE(bytes.mid(2 * PassBytes + 1886, 3), QByteArray::fromHex("0253EC"));
        QCOMPARE(bytes.at(3 * PassBytes + 1886), '\0');
        CardFile file(folder());
        QVERIFY(file.open());
        QCOMPARE(file.readAt(1)->Smarrita, PassValues::No);
        QCOMPARE(file.readAt(3)->Smarrita, PassValues::Si);
        QCOMPARE(file.readAt(4)->Smarrita, QString());
    }

    void appendLandsOverTheTail_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::newRow("card file") << true;
        QTest::newRow("history file") << false;
    }

    void appendLandsOverTheTail()
    {
        QFETCH(bool, pass);
        const QString path = pass ? cards() : history();
        const int size = pass ? PassBytes : HistoryBytes;
        const int whole = pass ? 4 : 3;
        const QByteArray before = readAll(path);

        std::optional<qint64> position;
        if (pass) {
            CardFile file(folder());
            QVERIFY(file.open());
            PassRecord card;
            card.Codice = u"N-05"_s;
            position = file.append(card);
            QCOMPARE(file.readAt(whole + 1)->Scheda, u"00005"_s);
            QCOMPARE(file.readAt(whole + 1)->Codice, u"N-05"_s);
        } else {
            HistoryFile file(folder());
            QVERIFY(file.open());
            HistoryRecord r;
            r.Codice = u"N-05"_s;
            position = file.append(r);
        }
        QCOMPARE(position, std::optional<qint64>(whole + 1));
        const QByteArray after = readAll(path);
        QCOMPARE(after.size(), (whole + 1) * size);
        QCOMPARE(after.left(whole * size), before.left(whole * size));
    }

    void rewriteWithOwnValues_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("card 1, euro in the note") << 1;
        QTest::newRow("card 2, lent, attachments") << 2;
        QTest::newRow("card 3, lost") << 3;
        QTest::newRow("card 4, empty lost flag") << 4;
    }

    void rewriteWithOwnValues()
    {
        QFETCH(int, position);
        const QByteArray before = readAll(cards());
        {
            CardFile file(folder());
            QVERIFY(file.open());
            const std::optional<PassRecord> card = file.readAt(position);
            QVERIFY(card);
            QVERIFY(file.rewriteAt(position, *card));
            QCOMPARE(file.count(), 4);
            QCOMPARE(file.readAt(position),
                     std::optional<PassRecord>(expected<PassRecord>("Schedario_Pass.pro")[position - 1]));
        }
        const QByteArray after = readAll(cards());
        QCOMPARE(after.size(), before.size());
        const int start = (position - 1) * PassBytes;
        // Other cards and the tail: byte for byte.
        QCOMPARE(after.left(start), before.left(start));
        QCOMPARE(after.mid(start + PassBytes), before.mid(start + PassBytes));
        // The card itself: every length byte and text as it was; only leftovers may differ.
        for (const auto& f : PassFields) {
            const int at = start + f.offset;
            const int length = uchar(before[at]);
            QVERIFY2(after.mid(at, length + 1) == before.mid(at, length + 1), f.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestArchiveFixtures)
#include "tst_ArchiveFixtures.moc"
