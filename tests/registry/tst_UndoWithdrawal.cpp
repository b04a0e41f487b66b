// "Annulla ritiro" in the card editor: a pass handed out by mistake goes back to available, with
// no cycle in the history. The withdrawal is made by the real withdrawal screen; the undo is
// clicked or keyed in the real editor.

#include "archives/Win1252.h"
#include "operations/Ritiri.h"
#include "registry/Schedario_Chiavi.h"
#include "shell/ArchiveMessages.h"
#include "tests/archives/HandLayouts.h"
#include "tests/operations/OperationFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

namespace {

const QString CardFileName = QString::fromLatin1(CardFile::FileName);
const QString HistoryFileName = QString::fromLatin1(HistoryFile::FileName);

const QString ChangedElsewhere = u"Attenzione: la scheda è stata modificata da un'altra postazione dopo essere stata "
                                 u"visualizzata.\n\r\n\rVisualizzare di nuovo la scheda e ripetere le modifiche."_s;

// The history as another implementation wrote it: the undo must leave it byte for byte.
bool copyFixtureHistory(const AppContext& ctx)
{
    const QString target = ctx.file(HistoryFileName);
    return QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Storico_Operazioni.pro"), target) &&
           QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
}

// Card 1 handed out to Mario Rossi by the withdrawal screen, at the scripted clock's time.
bool withdrawFirstCard(TestContext& t)
{
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    QTest::keyClicks(screen.ownPerson(), u"Mario Rossi"_s);
    screen.btnApplicaClick();
    t.messages.calls.clear();
    return PassValues::isLent(readCard(t.ctx, 1));
}

struct Editor
{
    TestContext& t;
    TfrmSchedario_Chiavi w{t.ctx};

    explicit Editor(TestContext& context) : t(context)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    QWidget* command(const char* name) const { return w.findChild<QWidget*>(QString::fromLatin1(name)); }
    void click(const char* name) const { QTest::mouseClick(command(name), Qt::LeftButton); }
    QString state() const { return w.findChild<QLineEdit*>(u"txtStato"_s)->text(); }
};

} // namespace

class TestUndoWithdrawal : public QObject
{
    Q_OBJECT

private slots:
    void undoPutsTheCardBackAsBeforeTheWithdrawal_data();
    void undoPutsTheCardBackAsBeforeTheWithdrawal();
    void offeredOnlyForALentCard();
    void refusedOrDeclinedWritesNothing_data();
    void refusedOrDeclinedWritesNothing();
};

void TestUndoWithdrawal::undoPutsTheCardBackAsBeforeTheWithdrawal_data()
{
    QTest::addColumn<bool>("fromElsewhere"); // the card file of another implementation
    QTest::addColumn<bool>("byKey");         // Ctrl+Shift+R instead of a click

    QTest::newRow("card written here, clicked") << false << false;
    QTest::newRow("card written here, by key") << false << true;
    QTest::newRow("card file from elsewhere, clicked") << true << false;
}

void TestUndoWithdrawal::undoPutsTheCardBackAsBeforeTheWithdrawal()
{
    QFETCH(bool, fromElsewhere);
    QFETCH(bool, byKey);

    TestContext t;
    if (fromElsewhere)
        QVERIFY(copyFixtureCards(t.ctx));
    else
        QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), availableCard(u"B-02"_s)}));
    QVERIFY(copyFixtureHistory(t.ctx));
    const QByteArray cardsBefore = fileBytes(t.ctx.file(CardFileName));
    const QByteArray historyBefore = fileBytes(t.ctx.file(HistoryFileName));
    const PassRecord before = readCard(t.ctx, 1);
    QVERIFY(!PassValues::isLent(before));
    QVERIFY(withdrawFirstCard(t));

    Editor e(t);
    e.click("cmdPrimo");
    QVERIFY(e.command("cmdAnnullaRitiro")->isVisible());
    QVERIFY2(e.command("cmdAnnullaRitiro")->toolTip().contains(u"+R"_s),
             qPrintable(e.command("cmdAnnullaRitiro")->toolTip()));
    t.messages.answers.enqueue(true);
    if (byKey)
        QTest::keyClick(&e.w, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    else
        e.click("cmdAnnullaRitiro");

    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Question);
    QCOMPARE(t.messages.calls[0].text,
             u"Annullare il ritiro del pass "_s + Win1252::trimmed(before.Codice).toString() +
                 u"? Il pass tornerà disponibile e l'operazione non sarà registrata nello storico."_s);
    QVERIFY(t.messages.calls[0].noPreselected);

    const QByteArray cardsAfter = fileBytes(t.ctx.file(CardFileName));
    QCOMPARE(cardsAfter.size(), cardsBefore.size());
    if (!fromElsewhere)
        QCOMPARE(cardsAfter, cardsBefore); // written here: not a byte differs from before the withdrawal
    QCOMPARE(cardsAfter.mid(PassRecord::Size), cardsBefore.mid(PassRecord::Size));
    QCOMPARE(otherFieldBytes(cardsAfter.left(PassRecord::Size)), otherFieldBytes(cardsBefore.left(PassRecord::Size)));
    const PassRecord after = readCard(t.ctx, 1);
    QCOMPARE(after.Stato, PassValues::Disponibile);
    for (QString PassRecord::*field : OperationFields)
        if (field != &P::Stato)
            QVERIFY(Win1252::trimmed(after.*field).isEmpty());
    QCOMPARE(fileBytes(t.ctx.file(HistoryFileName)), historyBefore);

    // The editor shows the card as it now is, and offers the undo no more.
    QCOMPARE(e.state(), PassValues::Disponibile);
    QVERIFY(!e.command("cmdAnnullaRitiro")->isVisible());
}

void TestUndoWithdrawal::offeredOnlyForALentCard()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), lentCard(u"B-02"_s)}));
    Editor e(t);
    QVERIFY(!e.command("cmdAnnullaRitiro")->isVisible()); // a new card
    e.click("cmdPrimo");
    QVERIFY(!e.command("cmdAnnullaRitiro")->isVisible()); // available
    QTest::keyClick(&e.w, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(t.messages.calls.isEmpty()); // the key does nothing either
    e.click("cmdAvanti");
    QVERIFY(e.command("cmdAnnullaRitiro")->isVisible()); // lent
    e.click("cmdNuovo");
    QVERIFY(!e.command("cmdAnnullaRitiro")->isVisible());
}

void TestUndoWithdrawal::refusedOrDeclinedWritesNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // empty: no message after the question

    QTest::newRow("No answered") << u"no"_s << QString();
    QTest::newRow("returned elsewhere meanwhile") << u"changed"_s << ChangedElsewhere;
    QTest::newRow("card file cannot be opened") << u"unopenable"_s << ArchiveMessages::CardFileAccess;
}

void TestUndoWithdrawal::refusedOrDeclinedWritesNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);

    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    QVERIFY(copyFixtureHistory(t.ctx));
    const QByteArray historyBefore = fileBytes(t.ctx.file(HistoryFileName));
    Editor e(t);
    e.click("cmdPrimo");

    // What another workstation did meanwhile: the pass came back there.
    if (fault == u"changed"_s) {
        PassRecord returned = readCard(t.ctx, 1);
        returned.Stato = PassValues::Disponibile;
        returned.PersonaRic = u"Ugo Neri"_s;
        QVERIFY(withCardFile(t.ctx.programFolder, [&](CardFile& file) { return file.rewriteAt(1, returned); }));
    }
    if (fault == u"unopenable"_s)
        QVERIFY(replaceByFolder(t.ctx, CardFileName));
    const QByteArray cardsBefore = fileBytes(t.ctx.file(CardFileName));

    t.messages.answers.enqueue(fault != u"no"_s);
    e.click("cmdAnnullaRitiro");

    QCOMPARE(t.messages.calls[0].kind, MessageCall::Question);
    if (message.isEmpty()) {
        QCOMPARE(t.messages.calls.size(), 1);
    } else {
        QCOMPARE(t.messages.calls.size(), 2);
        QCOMPARE(t.messages.calls[1].text, message);
    }
    if (fault == u"unopenable"_s)
        QVERIFY(restore(t.ctx, CardFileName));
    else
        QCOMPARE(fileBytes(t.ctx.file(CardFileName)), cardsBefore);
    QVERIFY(PassValues::isLent(readCard(t.ctx, 1)) == (fault != u"changed"_s));
    QCOMPARE(fileBytes(t.ctx.file(HistoryFileName)), historyBefore);
    QVERIFY(e.state() != PassValues::Disponibile); // the editor still shows the card as it was
    QVERIFY(e.command("cmdAnnullaRitiro")->isVisible());
}

QTEST_MAIN(TestUndoWithdrawal)
#include "tst_UndoWithdrawal.moc"
