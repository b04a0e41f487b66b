// Every write of a data file is on the disk before it is reported done: the file is synced after
// the write, and a rewrite's journal, with its entry in the folder, is synced before the card is
// touched. The syncs are seen through the Durable seam, with the card as it stood at each of them.

#include "archives/CardFile.h"
#include "archives/Durable.h"
#include "archives/HistoryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

PassRecord card(const QString& codice)
{
    PassRecord c;
    c.Codice = codice;
    c.Stato = PassValues::Disponibile;
    c.Smarrita = PassValues::No;
    return c;
}

} // namespace

class TestDurableWrites : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Durable::Seams::synced = nullptr; }

    void eachWriteIsSyncedBeforeSuccess_data();
    void eachWriteIsSyncedBeforeSuccess();
};

void TestDurableWrites::eachWriteIsSyncedBeforeSuccess_data()
{
    QTest::addColumn<QString>("kind");
    // What is synced, in order, and what card 2 holds at that moment ("-" for no card 2).
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("card append") << u"card append"_s << QStringList{u"card file: B-02"_s};
    QTest::newRow("first card of a new file") << u"first card"_s << QStringList{u"folder: -"_s, u"card file: -"_s};
    QTest::newRow("history append") << u"history append"_s << QStringList{u"history file: B-02"_s};
    // The journal and its folder entry first, while the card is still the old one.
    QTest::newRow("card rewrite") << u"card rewrite"_s
                                  << QStringList{u"journal: B-02"_s, u"folder: B-02"_s, u"card file: B-22"_s,
                                                 u"folder: B-22"_s};
}

void TestDurableWrites::eachWriteIsSyncedBeforeSuccess()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString cards = folder + QLatin1StringView(CardFile::FileName);
    const QString history = folder + QLatin1StringView(HistoryFile::FileName);
    if (kind != u"first card") {
        QVERIFY(
            withCardFile(folder, [](CardFile& f) { return f.append(card(u"B-01"_s)) && f.append(card(u"B-02"_s)); }));
        HistoryFile h(folder);
        QVERIFY(h.open());
        QVERIFY(h.append(HistoryRecord{}));
    }

    QStringList synced;
    Durable::Seams::synced = [&](const QString& path) {
        // Card 2 as the disk would read it now.
        QString held = u"-"_s;
        QFile f(cards);
        if (f.open(QIODevice::ReadOnly) && f.size() >= 2 * PassRecord::Size && f.seek(PassRecord::Size))
            held = PassRecord::decode(f.read(PassRecord::Size).constData()).Codice;
        const QString what = path == cards                                  ? u"card file"_s
                             : path == history                              ? u"history file"_s
                             : QFileInfo(path) == QFileInfo(dir.path())     ? u"folder"_s
                             : QFileInfo(path).absolutePath() == dir.path() ? u"journal"_s
                                                                            : path;
        synced << what + u": "_s + held;
    };

    bool ok = false;
    if (kind == u"history append") {
        HistoryFile h(folder);
        ok = h.open() && h.append(HistoryRecord{}).has_value();
    } else {
        ok = withCardFile(folder, [&](CardFile& f) {
            if (kind == u"card rewrite")
                return f.rewriteAt(2, card(u"B-22"_s));
            return f.append(card(u"B-03"_s)).has_value();
        });
    }
    Durable::Seams::synced = nullptr;
    QVERIFY(ok);
    QCOMPARE(synced, expected);
}

QTEST_GUILESS_MAIN(TestDurableWrites)
#include "tst_DurableWrites.moc"
