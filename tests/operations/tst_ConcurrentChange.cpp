// Two workstations on one card file: a pass picked on one screen and then withdrawn, returned or
// edited from another is not written over; the operator is told to pick it again.

#include "operations/Riconsegne.h"
#include "operations/Riepilogo_Operazione.h"
#include "operations/Ritiri.h"
#include "shell/ArchiveMessages.h"
#include "shell/PictureButton.h"
#include "tests/operations/OperationFixture.h"
#include "tests/support/LockHolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

class TestConcurrentChange : public QObject
{
    Q_OBJECT

private slots:
    void secondWithdrawalIsRefused();
    void secondReturnIsRefused();
    void returnOfAnEarlierWithdrawalIsRefused();
    void cardEditedElsewhereIsNotOverwritten();
    void unchangedCardIsWritten();
    void applyGivesUpWhileTheLockIsHeldElsewhere();
    void summaryWarnsWhileTheHistoryIsHeldElsewhere();
};

namespace {

const QString CardFileName = u"Schedario_Pass.pro"_s;
const QString HistoryFileName = u"Storico_Operazioni.pro"_s;

// Writes wait a short while for a lock held elsewhere, and count their waits.
void shortLockWait(AppContext& ctx, int& waits)
{
    ctx.lockWait.limit = std::chrono::milliseconds(300);
    ctx.lockWait.waiting = [&waits](bool waiting) { waits += waiting ? 1 : 0; };
}

// A second workstation: its own seams, the same ProgramFolder.
struct Workstation
{
    ScriptedMessages messages;
    FixedClock clock;
    AppContext ctx;

    explicit Workstation(const AppContext& shared)
    {
        ctx = shared;
        ctx.messages = &messages;
        ctx.clock = &clock;
    }
};

bool confirmSummary(TfrmRiconsegne& screen)
{
    return whileShown<TfrmRiepilogo_Operazione>([](TfrmRiepilogo_Operazione& s) { s.btnOK->click(); },
                                                [&] { screen.btnApplicaClick(); });
}

void expectRefusal(const ScriptedMessages& messages, OperationScreen& screen)
{
    QCOMPARE(messages.texts(), QStringList{OperationScreen::changedElsewhereMessage()});
    QCOMPARE(messages.calls[0].kind, MessageCall::Warning);
    // The stale pass is dropped: the screen waits for a new pick and stays open.
    QVERIFY(screen.isVisible());
    QVERIFY(screen.panAvvio->isVisible());
    QVERIFY(!screen.hasPass());
}

} // namespace

void TestConcurrentChange::secondWithdrawalIsRefused()
{
    TestContext t;
    Workstation other(t.ctx);
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), availableCard(u"B-02"_s)}));

    TfrmRitiri here(t.ctx);
    TfrmRitiri there(other.ctx);
    here.show();
    there.show();
    pick(here, t.ctx, 2);
    pick(there, other.ctx, 2);

    there.ownPerson()->setText(u"Anna Bianchi"_s);
    there.btnApplicaClick();
    QCOMPARE(other.messages.texts(), QStringList{u"Il ritiro del pass è stato registrato con successo."_s});
    const QByteArray afterThere = fileBytes(t.ctx.file(CardFileName));

    here.ownPerson()->setText(u"Mario Rossi"_s);
    here.btnApplicaClick();
    expectRefusal(t.messages, here);
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), afterThere);
    QCOMPARE(readCard(t.ctx, 2).PersonaRit, u"Anna Bianchi"_s);

    // Picked again, the pass is no longer available here; the other card still is.
    pick(here, t.ctx, 1);
    here.ownPerson()->setText(u"Mario Rossi"_s);
    here.btnApplicaClick();
    QCOMPARE(readCard(t.ctx, 1).PersonaRit, u"Mario Rossi"_s);
}

void TestConcurrentChange::secondReturnIsRefused()
{
    TestContext t;
    Workstation other(t.ctx);
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));

    TfrmRiconsegne here(t.ctx);
    TfrmRiconsegne there(other.ctx);
    here.show();
    there.show();
    pick(here, t.ctx, 1);
    pick(there, other.ctx, 1);

    there.ownPerson()->setText(u"Anna Bianchi"_s);
    QVERIFY(confirmSummary(there));
    const QByteArray afterThere = fileBytes(t.ctx.file(CardFileName));

    here.ownPerson()->setText(u"Luca Verdi"_s);
    QVERIFY(!confirmSummary(here)); // no summary: nothing reaches the history
    expectRefusal(t.messages, here);
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), afterThere);
    QCOMPARE(historyRecords(t.ctx).size(), 1);
    QCOMPARE(historyRecords(t.ctx)[0].PersonaRic, u"Anna Bianchi"_s);
}

void TestConcurrentChange::returnOfAnEarlierWithdrawalIsRefused()
{
    // Picked for return here; meanwhile the other workstation takes it back and lends it again.
    // The card is out again, but it is another withdrawal: closing it with this one's data would
    // lose Carla Neri's withdrawal.
    TestContext t;
    Workstation other(t.ctx);
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));

    TfrmRiconsegne here(t.ctx);
    here.show();
    pick(here, t.ctx, 1);

    TfrmRiconsegne returns(other.ctx);
    returns.show();
    pick(returns, other.ctx, 1);
    returns.ownPerson()->setText(u"Anna Bianchi"_s);
    QVERIFY(confirmSummary(returns));
    TfrmRitiri withdrawals(other.ctx);
    withdrawals.show();
    pick(withdrawals, other.ctx, 1);
    withdrawals.ownPerson()->setText(u"Carla Neri"_s);
    withdrawals.btnApplicaClick();
    QVERIFY(readCard(t.ctx, 1).Stato.startsWith(u"Ritirato da Carla Neri"_s));

    here.ownPerson()->setText(u"Luca Verdi"_s);
    QVERIFY(!confirmSummary(here));
    expectRefusal(t.messages, here);
    QCOMPARE(readCard(t.ctx, 1).PersonaRit, u"Carla Neri"_s);
    QCOMPARE(historyRecords(t.ctx).size(), 1);
}

void TestConcurrentChange::cardEditedElsewhereIsNotOverwritten()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRitiri here(t.ctx);
    here.show();
    pick(here, t.ctx, 1);

    // The card editor of another workstation saves a new telephone number meanwhile.
    PassRecord edited = readCard(t.ctx, 1);
    edited.Recapiti = u"int. 45"_s;
    QVERIFY(withCardFile(t.ctx.programFolder, [&](CardFile& f) { return f.rewriteAt(1, edited); }));

    here.ownPerson()->setText(u"Mario Rossi"_s);
    here.btnApplicaClick();
    expectRefusal(t.messages, here);
    QCOMPARE(readCard(t.ctx, 1), edited);
}

void TestConcurrentChange::unchangedCardIsWritten()
{
    // The other workstation works on another pass of the same file: nothing stands in the way.
    TestContext t;
    Workstation other(t.ctx);
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), availableCard(u"B-02"_s)}));
    TfrmRitiri here(t.ctx);
    TfrmRitiri there(other.ctx);
    here.show();
    there.show();
    pick(here, t.ctx, 1);
    pick(there, other.ctx, 2);
    there.ownPerson()->setText(u"Anna Bianchi"_s);
    there.btnApplicaClick();
    here.ownPerson()->setText(u"Mario Rossi"_s);
    here.btnApplicaClick();
    QCOMPARE(t.messages.texts(), QStringList{u"Il ritiro del pass è stato registrato con successo."_s});
    QCOMPARE(readCard(t.ctx, 1).PersonaRit, u"Mario Rossi"_s);
    QCOMPARE(readCard(t.ctx, 2).PersonaRit, u"Anna Bianchi"_s);
}

void TestConcurrentChange::applyGivesUpWhileTheLockIsHeldElsewhere()
{
    // Another workstation is writing the card file for longer than the program waits: Apply gives
    // up with the access message, nothing written and the pass still on the screen to try again.
    TestContext t;
    int waits = 0;
    shortLockWait(t.ctx, waits);
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    QTest::keyClicks(screen.ownPerson(), u"Mario Rossi"_s);
    const QByteArray before = fileBytes(t.ctx.file(CardFileName));

    auto other = std::make_unique<LockHolder>(t.ctx.file(CardFileName));
    QVERIFY(other->holds());
    QTest::mouseClick(screen.btnApplica, Qt::LeftButton);
    QCOMPARE(waits, 1);
    QCOMPARE(t.messages.texts(), QStringList{ArchiveMessages::CardFileAccess});
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Error);
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), before);
    QVERIFY(screen.isVisible());
    QVERIFY(screen.hasPass());
    QCOMPARE(screen.ownPerson()->text(), u"Mario Rossi"_s);

    other.reset();
    QTest::mouseClick(screen.btnApplica, Qt::LeftButton);
    QCOMPARE(t.messages.lastText(), u"Il ritiro del pass è stato registrato con successo."_s);
    QCOMPARE(readCard(t.ctx, 1).PersonaRit, u"Mario Rossi"_s);
    QCOMPARE(waits, 1);
}

void TestConcurrentChange::summaryWarnsWhileTheHistoryIsHeldElsewhere()
{
    // The history file is held elsewhere beyond the bounded wait: the return stands on the card, the
    // operator is told that the history is busy, and the summary stays open so that OK tries again
    // once the other workstation is done.
    TestContext t;
    int waits = 0;
    shortLockWait(t.ctx, waits);
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    {
        HistoryFile history(t.ctx.programFolder);
        QVERIFY(history.open() && history.append(HistoryRecord{}));
    }
    const QByteArray before = fileBytes(t.ctx.file(HistoryFileName));
    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    QTest::keyClicks(screen.ownPerson(), u"Luca Verdi"_s);

    auto other = std::make_unique<LockHolder>(t.ctx.file(HistoryFileName));
    QVERIFY(other->holds());
    bool closed = false;
    QVERIFY(whileShown<TfrmRiepilogo_Operazione>(
        [&](TfrmRiepilogo_Operazione& summary) {
            connect(&summary, &QObject::destroyed, [&] { closed = true; });
            // A failed check leaves the modal summary: hidden, it ends its loop.
            auto leave = qScopeGuard([&summary] { summary.hide(); });
            QTest::mouseClick(summary.btnOK, Qt::LeftButton);
            QCOMPARE(waits, 1);
            QCOMPARE(t.messages.texts(),
                     QStringList{u"Attenzione: la riconsegna è registrata nella scheda del pass, ma il sistema non "
                                 u"permette di scriverla nello storico delle operazioni.\n\r\n\r"
                                 u"Un'altra postazione sta scrivendo lo storico delle operazioni: attendere qualche "
                                 u"istante.\n\r\n\rPremere OK nel riepilogo per riprovare, oppure \"Chiudi senza "
                                 u"registrare\" per chiudere il riepilogo senza scrivere lo storico."_s});
            QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);
            QVERIFY(summary.isVisible());
            QCOMPARE(fileBytes(t.ctx.file(HistoryFileName)), before);

            other.reset();
            QTest::mouseClick(summary.btnOK, Qt::LeftButton);
        },
        [&] { QTest::mouseClick(screen.btnApplica, Qt::LeftButton); }));
    QVERIFY(closed);
    QCOMPARE(waits, 1);
    QCOMPARE(t.messages.lastText(), u"La riconsegna del pass è stata registrata con successo."_s);
    QCOMPARE(readCard(t.ctx, 1).PersonaRic, u"Luca Verdi"_s);
    QCOMPARE(historyRecords(t.ctx).size(), 2);
    QCOMPARE(historyRecords(t.ctx).at(1).PersonaRic, u"Luca Verdi"_s);
}

QTEST_MAIN(TestConcurrentChange)
#include "tst_ConcurrentChange.moc"
