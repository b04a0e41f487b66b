// A data folder on a share without file locks: the program goes on writing (one workstation on
// such a share is fine) and warns the operator once per run that several workstations may
// overwrite each other's operations. The share is simulated by FileLock's test seam.

#include "archives/CardFile.h"
#include "archives/HistoryFile.h"
#include "shell/WaitCursor.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedSeams.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Warning =
    u"Attenzione: la cartella dei dati non consente il blocco dei file durante la scrittura.\n\r\n\r"
    u"Se più postazioni usano la stessa cartella, le operazioni registrate da una postazione potrebbero "
    u"sovrascrivere quelle di un'altra."_s;

PassRecord card(const QString& codice)
{
    PassRecord c;
    c.Codice = codice;
    c.Stato = PassValues::Disponibile;
    c.Smarrita = PassValues::No;
    return c;
}

// The three kinds of write the screens make: a new card, a card rewritten, a history record.
bool writeEach(const AppContext& ctx)
{
    const bool cards = withCardFile(ctx.programFolder, ctx.lockWait, [](CardFile& f) {
        const auto position = f.append(card(u"B-01"_s));
        return position && f.rewriteAtIfUnchanged(*position, *f.readAt(*position), card(u"B-11"_s)).value_or(false);
    });
    HistoryFile history(ctx.programFolder, ctx.lockWait);
    return cards && history.open() && history.append(HistoryRecord{}).has_value();
}

} // namespace

class TestUnlockedWarning : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { FileLock::unsupportedForTesting = false; }

    void warnedOncePerRun()
    {
        TestContext t;
        t.ctx.lockWait = programLockWait(t.messages);
        FileLock::unsupportedForTesting = true;

        QVERIFY(writeEach(t.ctx));
        QCOMPARE(t.messages.texts(), QStringList{Warning});
        QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);

        // The screens hold copies of the program's way of writing: none of them says it again.
        const AppContext copy = t.ctx;
        QVERIFY(writeEach(copy));
        QVERIFY(writeEach(t.ctx));
        QCOMPARE(t.messages.calls.size(), 1);
        // Every write went ahead.
        QCOMPARE(DataFiles::cardCount(t.ctx), 3);
    }

    void notWarnedWhereLocksWork()
    {
        TestContext t;
        t.ctx.lockWait = programLockWait(t.messages);
        QVERIFY(writeEach(t.ctx));
        QVERIFY(writeEach(t.ctx));
        QCOMPARE(t.messages.texts(), QStringList());
    }
};

QTEST_MAIN(TestUnlockedWarning)
#include "tst_UnlockedWarning.moc"
