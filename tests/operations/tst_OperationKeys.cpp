// The withdrawal and return screens driven from the keyboard alone, as a receptionist with a
// barcode scanner drives them: no tab stop under the start panel, the pick by a scanned code and
// Enter, the date from the drop-downs by keys, Apply and print by their keys.

#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "lists/RiepChiaviRiconsegna.h"
#include "lists/RiepChiaviRitiro.h"
#include "operations/Riconsegne.h"
#include "operations/Riepilogo_Operazione.h"
#include "operations/Ritiri.h"
#include "shell/PictureButton.h"
#include "tests/operations/OperationFixture.h"
#include "tests/support/DropDowns.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace OperationFixture;
using DropDowns::Way;

class TestOperationKeys : public QObject
{
    Q_OBJECT

private slots:
    void coveredWorkTakesNoKeys_data();
    void coveredWorkTakesNoKeys();
    void scannedCodePicks_data();
    void scannedCodePicks();
    void withdrawalAndReturnByKeysOnly();
    void commandKeysInTooltips();
};

namespace {

const QString CardFileName = u"Schedario_Pass.pro"_s;

std::unique_ptr<OperationScreen> makeScreen(Operation op, AppContext& ctx)
{
    if (op == Operation::Withdrawal)
        return std::make_unique<TfrmRitiri>(ctx);
    return std::make_unique<TfrmRiconsegne>(ctx);
}

bool showActive(QWidget& window)
{
    window.setWindowState(Qt::WindowNoState);
    window.resize(1200, 760);
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
}

void type(const QString& text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// Opens the list of passes with Enter on the focused "Seleziona pass", types `typed` into its find
// field and presses Enter there, all inside the list's own loop. Returns whether the list showed.
template <class List> bool pickByKeys(const QString& typed, Qt::Key enter = Qt::Key_Return)
{
    return whileShown<List>(
        [typed, enter](List& list) {
            QTimer::singleShot(0, &list, [typed, enter] {
                type(typed);
                key(enter);
            });
        },
        [] { key(Qt::Key_Return); });
}

// The drop-down that has the focus: its list opened with F4, `item` chosen with the arrows and Enter.
bool chooseFocused(const QString& item)
{
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    return box && DropDowns::openAndChoose(box, item, Way::Keys, DropDowns::Opener::F4);
}

} // namespace

void TestOperationKeys::coveredWorkTakesNoKeys_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("withdrawal") << Operation::Withdrawal;
    QTest::newRow("return") << Operation::Return;
}

void TestOperationKeys::coveredWorkTakesNoKeys()
{
    QFETCH(Operation, operation);
    TestContext t;
    QVERIFY(writeCards(t.ctx, {operation == Operation::Withdrawal ? availableCard(u"B-01"_s) : lentCard(u"B-01"_s)}));
    auto screen = makeScreen(operation, t.ctx);
    QVERIFY(showActive(*screen));

    // Before the pick the keyboard starts on "Seleziona pass" and Tab never lands under the panel.
    QCOMPARE(QApplication::focusWidget(), screen->cmdSeleziona);
    for (int press = 0; press < 14; ++press) {
        key(Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY2(focused && !screen->panLavoro->isAncestorOf(focused), qPrintable(focused->objectName()));
    }
    // Apply's key does nothing while the panel covers it.
    key(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(t.messages.calls.isEmpty());
    QVERIFY(screen->isVisible());

    // After the pick the covered controls are reached again, the two commands after the fields.
    pick(*screen, t.ctx, 1);
    QCOMPARE(QApplication::focusWidget(), screen->ownPerson());
    QWidget* last = nullptr;
    for (int press = 0; press < 8; ++press) {
        key(Qt::Key_Tab);
        last = QApplication::focusWidget();
    }
    QCOMPARE(last, screen->btnStampa);
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), screen->btnApplica);
    // Enter on the focused Apply runs Apply: here its date check stops it at the missing person.
    key(Qt::Key_Return);
    QCOMPARE(t.messages.calls.size(), 1);
    QVERIFY(t.messages.texts().at(0).contains(u"indicare la persona"_s));
}

void TestOperationKeys::scannedCodePicks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("enterKey");
    QTest::addColumn<QString>("picked"); // empty: the list stays open, the find moved on to "Trova"
    QTest::newRow("exact code, Return") << u"C-03"_s << int(Qt::Key_Return) << u"C-03"_s;
    QTest::newRow("other case and blanks, keypad Enter") << u"  c-03 "_s << int(Qt::Key_Enter) << u"C-03"_s;
    QTest::newRow("part of a code") << u"C-0"_s << int(Qt::Key_Return) << QString();
    QTest::newRow("code of two lines") << u"D-04"_s << int(Qt::Key_Return) << QString();
    QTest::newRow("no such code") << u"Z-99"_s << int(Qt::Key_Return) << QString();
}

void TestOperationKeys::scannedCodePicks()
{
    QFETCH(QString, typed);
    QFETCH(int, enterKey);
    QFETCH(QString, picked);
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), availableCard(u"C-03"_s), availableCard(u"D-04"_s),
                               availableCard(u"d-04"_s), availableCard(u"C-033"_s)}));
    TfrmRitiri screen(t.ctx);
    QVERIFY(showActive(screen));

    QString focusAfter;
    bool stillOpen = false;
    const bool listed = whileShown<TfrmRiepChiaviRitiro>(
        [&](TfrmRiepChiaviRitiro& list) {
            QTimer::singleShot(0, &list, [&] {
                type(typed);
                key(enterKey);
                stillOpen = list.isVisible();
                focusAfter = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
                if (stillOpen)
                    list.close();
            });
        },
        [] { key(Qt::Key_Return); });
    QVERIFY(listed);
    if (picked.isEmpty()) {
        // Not one line's code: the list stays, Enter moved on to "Trova" as it always does.
        QVERIFY(stillOpen);
        QCOMPARE(focusAfter, u"btnTrova"_s);
        QVERIFY(!screen.hasPass());
    } else {
        QVERIFY(!stillOpen);
        QVERIFY(screen.hasPass());
        QCOMPARE(screen.txtCodice->text(), picked);
        QCOMPARE(screen.position(), 2);
        QCOMPARE(screen.ownBlock()->txtOre->currentText(), u"09"_s); // the now action ran
    }
}

void TestOperationKeys::withdrawalAndReturnByKeysOnly()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), availableCard(u"C-03"_s)}));

    // ---- Withdrawal ----
    TfrmRitiri withdrawal(t.ctx);
    QVERIFY(showActive(withdrawal));
    QVERIFY(pickByKeys<TfrmRiepChiaviRitiro>(u"c-03"_s));
    QCOMPARE(withdrawal.txtCodice->text(), u"C-03"_s);
    // The screen takes the keyboard back once the list window has gone (the window system gives
    // its activation back; the offscreen platform needs telling).
    withdrawal.activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), withdrawal.ownPerson());
    type(u"Mario Rossi"_s);
    key(Qt::Key_Return); // to the day
    QVERIFY(chooseFocused(u"10"_s));
    key(Qt::Key_Return); // to the month
    QVERIFY(chooseFocused(u"Dicembre"_s));
    key(Qt::Key_Return); // to the hour
    QVERIFY(chooseFocused(u"17"_s));
    key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(t.messages.texts(), QStringList{u"Il ritiro del pass è stato registrato con successo."_s});
    QVERIFY(!withdrawal.isVisible());

    // The same bytes as the card built by hand and written whole.
    PassRecord out = availableCard(u"C-03"_s);
    out.Stato = u"Ritirato da Mario Rossi in data 10/12/2025 alle ore 17:05"_s;
    out.GiornoRit = u"10"_s;
    out.MeseRit = u"Dicembre"_s;
    out.AnnoRit = u"2025"_s;
    out.DataRit = u"10/12/2025"_s;
    out.OreRit = u"17"_s;
    out.MinutiRit = u"05"_s;
    out.OraRit = u"17:05"_s;
    out.PersonaRit = u"Mario Rossi"_s;
    TestContext expected;
    QVERIFY(writeCards(expected.ctx, {availableCard(u"B-01"_s), out}));
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), fileBytes(expected.ctx.file(CardFileName)));

    // ---- Return ----
    t.messages.calls.clear();
    TfrmRiconsegne giveBack(t.ctx);
    QVERIFY(showActive(giveBack));
    QVERIFY(pickByKeys<TfrmRiepChiaviRiconsegna>(u"C-03"_s, Qt::Key_Enter));
    QCOMPARE(giveBack.txtCodice->text(), u"C-03"_s);
    giveBack.activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), giveBack.ownPerson());
    type(u"Luca Verdi"_s);
    key(Qt::Key_Return);
    QVERIFY(chooseFocused(u"11"_s));
    key(Qt::Key_Return);
    QVERIFY(chooseFocused(u"Dicembre"_s));
    // Apply's key, then the summary's OK by Enter (its focus is there).
    const bool summaryShown = whileShown<TfrmRiepilogo_Operazione>(
        [](TfrmRiepilogo_Operazione& summary) { QTimer::singleShot(0, &summary, [] { key(Qt::Key_Return); }); },
        [] { key(Qt::Key_Return, Qt::ControlModifier); });
    QVERIFY(summaryShown);
    giveBack.activateWindow();
    QCOMPARE(t.messages.texts(), QStringList{u"La riconsegna del pass è stata registrata con successo."_s});

    out.Stato = PassValues::Disponibile;
    out.GiornoRic = u"11"_s;
    out.MeseRic = u"Dicembre"_s;
    out.AnnoRic = u"2025"_s;
    out.DataRic = u"11/12/2025"_s;
    out.OreRic = u"09"_s;
    out.MinutiRic = u"05"_s;
    out.OraRic = u"09:05"_s;
    out.PersonaRic = u"Luca Verdi"_s;
    TestContext returned;
    QVERIFY(writeCards(returned.ctx, {availableCard(u"B-01"_s), out}));
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), fileBytes(returned.ctx.file(CardFileName)));
    const QList<HistoryRecord> history = historyRecords(t.ctx);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.at(0).PersonaRit, u"Mario Rossi"_s);
    QCOMPARE(history.at(0).PersonaRic, u"Luca Verdi"_s);
}

void TestOperationKeys::commandKeysInTooltips()
{
    // The tooltip of each picture command names its hint and its key.
    TestContext t;
    TfrmRitiri screen(t.ctx);
    QCOMPARE(screen.btnApplica->toolTip(), u"Salva la scheda e chiudi questa finestra di lavoro. (Ctrl+Return)"_s);
    QCOMPARE(screen.btnStampa->toolTip(), u"Stampa il modulo da firmare per il ritiro del pass. (Ctrl+P)"_s);
    QCOMPARE(screen.cmdSeleziona->toolTip(), u"Seleziona il pass da ritirare. (Ctrl+F)"_s);
    QCOMPARE(screen.btnSeleziona->toolTip(), screen.cmdSeleziona->toolTip());
}

QTEST_MAIN(TestOperationKeys)
#include "tst_OperationKeys.moc"
