// The return screen and its summary: the card written back as available, the eleven boxes, the one
// history record per summary, and the failures of the card file and of the history file.

#include "operations/Riconsegne.h"
#include "operations/Riepilogo_Operazione.h"
#include "shell/Navigation.h"
#include "shell/ScreenKit.h"
#include "tests/operations/OperationFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

class TestReturn : public QObject
{
    Q_OBJECT

private slots:
    void returnsTheCardAndRecordsTheCycle();
    void editedReturnDate_data();
    void editedReturnDate();
    void summaryAppendsOnce();
    void summaryLooks();
    void historyFailureWarnsAndOKTriesAgain();
    void historyFailureClosedWithoutWritingAfterConfirming();
    void unopenableCardFileWritesNoHistory();
};

namespace {

const QString CardFileName = u"Schedario_Pass.pro"_s;
const QString HistoryFileName = u"Storico_Operazioni.pro"_s;

const QString HistoryNotWritten = u"Attenzione: la riconsegna è registrata nella scheda del pass, ma il sistema non "
                                  u"permette di scriverla nello storico delle operazioni.\n\r\n\r"_s;
const QString FolderReason =
    u"Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_s;
const QString TryAgain = u"\n\r\n\rPremere OK nel riepilogo per riprovare, oppure \"Chiudi senza registrare\" per "
                         u"chiudere il riepilogo senza scrivere lo storico."_s;
const QString CloseWithoutHistory = u"Attenzione: questa riconsegna non sarà presente nello storico delle operazioni."
                                    u"\r\n\r\nSi vuole chiudere il riepilogo senza registrarla?"_s;

// Presses OK on the summary that the return shows, after `edit` has worked on it.
bool applyAndConfirm(TfrmRiconsegne& screen, const std::function<void(TfrmRiepilogo_Operazione&)>& edit = {})
{
    return whileShown<TfrmRiepilogo_Operazione>(
        [&](TfrmRiepilogo_Operazione& summary) {
            if (edit)
                edit(summary);
            summary.btnOK->click();
        },
        [&] { screen.btnApplicaClick(); });
}

} // namespace

void TestReturn::returnsTheCardAndRecordsTheCycle()
{
    // Card 2 of a file written elsewhere: lent to Anna Bianchi on 03/11/2026, attachments 1 and 3.
    TestContext t;
    QVERIFY(copyFixtureCards(t.ctx));
    const QByteArray before = fileBytes(t.ctx.file(CardFileName));
    const PassRecord lent = readCard(t.ctx, 2);

    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 2);
    // The withdrawal travels in the hidden carriers; the return block shows this year and now.
    QCOMPARE(screen.heldCard().PersonaRit, u"Anna Bianchi"_s);
    QCOMPARE(screen.heldCard().AnnoRit, u"2026"_s);
    QCOMPARE(screen.heldCard().DataRit, u"03/11/2026"_s);
    QCOMPARE(screen.ownBlock()->lblAnno->text(), u"2025"_s);
    QCOMPARE(screen.ownBlock()->txtGiorno->currentText(), u"07"_s);
    QVERIFY(screen.ownPerson()->text().isEmpty());

    screen.ownPerson()->setText(u" Luca Verdi "_s);
    QStringList shown;
    QString summaryPosition;
    t.messages.onMessage = [&] {
        // The success message comes after the summary has gone.
        QVERIFY(!screen.findChild<TfrmRiepilogo_Operazione*>());
    };
    QVERIFY(applyAndConfirm(screen, [&](TfrmRiepilogo_Operazione& summary) {
        QCOMPARE(summary.focusWidget(), summary.btnOK);
        for (QLineEdit* box : summary.findChildren<QLineEdit*>())
            shown << box->objectName() + u'=' + box->text();
    }));
    QCOMPARE(t.messages.texts(), QStringList{u"La riconsegna del pass è stata registrata con successo."_s});
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Information);
    QVERIFY(!screen.isVisible());

    QCOMPARE(shown, (QStringList{u"txtCodice=T-07"_s, u"txtTipo=Tessera"_s, u"txtUtilizzo=Magazzino nord"_s,
                                 u"txtLuogo=Cassetto 2"_s, u"txtPersone=Corrieri"_s, u"txtPersonaRit=Anna Bianchi"_s,
                                 u"txtDataRit=03/11/2026"_s, u"txtOraRit=09:05"_s, u"txtPersonaRic=Luca Verdi"_s,
                                 u"txtDataRic=07/03/2025"_s, u"txtOraRic=09:05"_s}));

    // The card: available again, the return set, everything else as it was read at the pick.
    PassRecord expected = lent;
    expected.Stato = u"Disponibile"_s;
    expected.GiornoRic = u"07"_s;
    expected.MeseRic = u"Marzo"_s;
    expected.AnnoRic = u"2025"_s;
    expected.DataRic = u"07/03/2025"_s;
    expected.OreRic = u"09"_s;
    expected.MinutiRic = u"05"_s;
    expected.OraRic = u"09:05"_s;
    expected.PersonaRic = u"Luca Verdi"_s;
    QCOMPARE(readCard(t.ctx, 2), expected);
    const QByteArray after = fileBytes(t.ctx.file(CardFileName));
    QCOMPARE(after.left(PassRecord::Size), before.left(PassRecord::Size));
    QCOMPARE(after.mid(2 * PassRecord::Size), before.mid(2 * PassRecord::Size));

    // One record of 761 bytes with the cycle.
    QCOMPARE(QFileInfo(t.ctx.file(HistoryFileName)).size(), qint64(HistoryRecord::Size));
    const QList<HistoryRecord> history = historyRecords(t.ctx);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].Codice, u"T-07"_s);
    QCOMPARE(history[0].Luogo, u"Cassetto 2"_s);
    QCOMPARE(history[0].PersonaRit, u"Anna Bianchi"_s);
    QCOMPARE(history[0].DataRit, u"03/11/2026"_s);
    QCOMPARE(history[0].OraRit, u"09:05"_s);
    QCOMPARE(history[0].PersonaRic, u"Luca Verdi"_s);
    QCOMPARE(history[0].DataRic, u"07/03/2025"_s);
    QCOMPARE(history[0].OraRic, u"09:05"_s);
}

void TestReturn::editedReturnDate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("another date") << u"08/03/2025"_s << u"08/03/2025"_s;
    QTest::newRow("blanks around") << u"   09/03/2025  "_s << u"09/03/2025"_s;
    QTest::newRow("longer than 10") << u" 10/03/2025 ore 9"_s << u"10/03/2025"_s;
    QTest::newRow("not a date") << u"ieri"_s << u"ieri"_s;
    QTest::newRow("emptied") << QString() << QString();
}

void TestReturn::editedReturnDate()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    screen.ownPerson()->setText(u"Luca Verdi"_s);
    QVERIFY(applyAndConfirm(screen, [&](TfrmRiepilogo_Operazione& summary) {
        QVERIFY(!summary.txtDataRic->isReadOnly());
        QVERIFY(summary.txtDataRit->isReadOnly());
        summary.txtDataRic->setText(typed);
    }));

    const QList<HistoryRecord> history = historyRecords(t.ctx);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].DataRic, stored);
    // The card keeps the date composed on the return screen.
    QCOMPARE(readCard(t.ctx, 1).DataRic, u"07/03/2025"_s);
}

void TestReturn::summaryAppendsOnce()
{
    TestContext t;
    HistoryRecord cycle;
    cycle.Codice = u"B-01"_s;
    cycle.Luogo = QString(250, u'L');
    cycle.PersonaRit = u"Anna Bianchi"_s;
    cycle.DataRit = u"03/11/2024"_s;
    cycle.DataRic = u"07/03/2025"_s;

    QWidget opener;
    int shownSummaries = 0;
    for (int round = 1; round <= 2; ++round) {
        // A summary shown modally: the only way out is OK, and pressing it again does nothing more.
        Navigation::runModal<TfrmRiepilogo_Operazione>(&opener, t.ctx, [&](TfrmRiepilogo_Operazione& summary) {
            summary.showCycle(cycle);
            QCOMPARE(summary.historyPosition(), 0);
            QTimer::singleShot(0, &summary, [&summary, &shownSummaries, round] {
                ++shownSummaries;
                summary.close(); // the window manager's close: refused
                QVERIFY(summary.isVisible());
                summary.btnOK->click();
                QCOMPARE(summary.historyPosition(), round);
                summary.btnOK->click();
                summary.btnOKClick();
            });
        });
        QCOMPARE(historyRecords(t.ctx).size(), round);
    }
    QCOMPARE(shownSummaries, 2);
    QCOMPARE(QFileInfo(t.ctx.file(HistoryFileName)).size(), qint64(2 * HistoryRecord::Size));
    HistoryRecord expected = cycle;
    QCOMPARE(historyRecords(t.ctx), (QList<HistoryRecord>{expected, expected}));
}

void TestReturn::summaryLooks()
{
    TestContext t;
    TfrmRiepilogo_Operazione summary(t.ctx);
    QCOMPARE(summary.windowTitle(), u" Riepilogo ritiro e riconsegna pass"_s);
    QVERIFY(!(summary.windowFlags() & Qt::WindowCloseButtonHint));
    summary.show();
    const QList<QLineEdit*> boxes = summary.findChildren<QLineEdit*>();
    QCOMPARE(boxes.size(), 11);
    // Alice blue, and the focus does not change it.
    for (QLineEdit* box : boxes) {
        box->setFocus();
        QCOMPARE(ScreenKit::FieldColours::colourOf(box), Look::rgb(Look::Role::SummaryField));
    }
    // Tab order: the eleven boxes in their rows, then OK.
    QWidget* w = boxes.first();
    QStringList order{w->objectName()};
    for (int i = 0; i < 11; ++i) {
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QCOMPARE(order, (QStringList{u"txtCodice"_s, u"txtTipo"_s, u"txtUtilizzo"_s, u"txtLuogo"_s, u"txtPersone"_s,
                                 u"txtPersonaRit"_s, u"txtDataRit"_s, u"txtOraRit"_s, u"txtPersonaRic"_s,
                                 u"txtDataRic"_s, u"txtOraRic"_s, u"btnOK"_s}));
    // Enter in a box does not confirm the summary.
    QTest::keyClick(summary.txtDataRic, Qt::Key_Return);
    QVERIFY(summary.isVisible());
    QVERIFY(!QFile::exists(t.ctx.file(HistoryFileName)));
}

void TestReturn::historyFailureWarnsAndOKTriesAgain()
{
    // The history file cannot be written: the return stands on the card, the operator is told that
    // the history is missing it, and the summary stays open so that OK tries again.
    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    QVERIFY(replaceByFolder(t.ctx, HistoryFileName));

    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    QTest::keyClicks(screen.ownPerson(), u"Luca Verdi"_s);
    bool closed = false;
    QVERIFY(whileShown<TfrmRiepilogo_Operazione>(
        [&](TfrmRiepilogo_Operazione& summary) {
            connect(&summary, &QObject::destroyed, [&] { closed = true; });
            // A failed check leaves the modal summary: hidden, it ends its loop.
            auto leave = qScopeGuard([&summary] { summary.hide(); });
            QPushButton* btnChiudi = summary.findChild<QPushButton*>(u"btnChiudi"_s);
            QVERIFY(btnChiudi);
            QVERIFY(!btnChiudi->isVisible());
            QTest::mouseClick(summary.btnOK, Qt::LeftButton);
            QCOMPARE(t.messages.texts(), QStringList{HistoryNotWritten + FolderReason + TryAgain});
            QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);
            QVERIFY(summary.isVisible());
            QCOMPARE(summary.historyPosition(), 0);
            QVERIFY(btnChiudi->isVisible());
            QCOMPARE(readCard(t.ctx, 1).Stato, u"Disponibile"_s);

            // The folder in the way is gone: OK appends the cycle once and the summary closes.
            QVERIFY(QDir(t.ctx.programFolder).rmdir(HistoryFileName));
            QTest::mouseClick(summary.btnOK, Qt::LeftButton);
        },
        [&] { QTest::mouseClick(screen.btnApplica, Qt::LeftButton); }));
    QVERIFY(closed);
    QCOMPARE(t.messages.calls.size(), 2);
    QCOMPARE(t.messages.calls[1].text, u"La riconsegna del pass è stata registrata con successo."_s);
    const QList<HistoryRecord> history = historyRecords(t.ctx);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].Codice, u"B-01"_s);
    QCOMPARE(history[0].PersonaRic, u"Luca Verdi"_s);
    QVERIFY(!screen.isVisible());
}

void TestReturn::historyFailureClosedWithoutWritingAfterConfirming()
{
    // The other way out of a failed append: closing without the history, once confirmed. The
    // warning has told the operator how the return ended, so no success message follows.
    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    QVERIFY(replaceByFolder(t.ctx, HistoryFileName));

    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    QTest::keyClicks(screen.ownPerson(), u"Luca Verdi"_s);
    bool closed = false;
    QVERIFY(whileShown<TfrmRiepilogo_Operazione>(
        [&](TfrmRiepilogo_Operazione& summary) {
            connect(&summary, &QObject::destroyed, [&] { closed = true; });
            // A failed check leaves the modal summary: hidden, it ends its loop.
            auto leave = qScopeGuard([&summary] { summary.hide(); });
            QTest::mouseClick(summary.btnOK, Qt::LeftButton);
            QPushButton* btnChiudi = summary.findChild<QPushButton*>(u"btnChiudi"_s);
            QVERIFY(btnChiudi);
            QCOMPARE(btnChiudi->text(), u"Chiudi senza registrare"_s);
            QCOMPARE(btnChiudi->accessibleName(), u"Chiudi senza registrare"_s);
            t.messages.answers << false << true;
            QTest::mouseClick(btnChiudi, Qt::LeftButton); // No: the summary stays
            QVERIFY(summary.isVisible());
            QCOMPARE(summary.historyPosition(), 0);
            QTest::mouseClick(btnChiudi, Qt::LeftButton); // Yes: it closes
        },
        [&] { QTest::mouseClick(screen.btnApplica, Qt::LeftButton); }));
    QVERIFY(closed);
    QCOMPARE(t.messages.texts(),
             (QStringList{HistoryNotWritten + FolderReason + TryAgain, CloseWithoutHistory, CloseWithoutHistory}));
    QCOMPARE(t.messages.calls[1].kind, MessageCall::Question);
    QCOMPARE(readCard(t.ctx, 1).Stato, u"Disponibile"_s);
    QVERIFY(QFileInfo(t.ctx.file(HistoryFileName)).isDir());
    QVERIFY(!screen.isVisible());
}

void TestReturn::unopenableCardFileWritesNoHistory()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    screen.ownPerson()->setText(u"Luca Verdi"_s);

    QVERIFY(replaceByFolder(t.ctx, CardFileName));
    const bool summaryShown = applyAndConfirm(screen);

    QVERIFY(!summaryShown);
    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Error);
    QCOMPARE(t.messages.calls[0].text,
             u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
             u"Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_s);
    QVERIFY(screen.isVisible());
    QVERIFY(!QFile::exists(t.ctx.file(HistoryFileName)));
}

QTEST_MAIN(TestReturn)
#include "tst_Return.moc"
