// The four pass list windows driven as the operator drives them: which cards each lists, the
// find field, the hand-over of the chosen card and the printed list.

#include "archives/CardFile.h"
#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "lists/RiepChiaviRiconsegna.h"
#include "lists/RiepChiaviRitiro.h"
#include "lists/RiepDaRiconsegnare.h"
#include "lists/RiepSmarrite.h"
#include "registry/Schedario_Chiavi.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

class TestPassListWindows : public QObject
{
    Q_OBJECT

private slots:
    void variants_data();
    void variants();
    void findInWindow();
    void equalLinesHandOverTheChosenCard_data();
    void equalLinesHandOverTheChosenCard();
    void enterHandsOverTheSelectedLine_data();
    void enterHandsOverTheSelectedLine();
    void changedCardIsNotHandedOver();
    void doubleClickOnEmptyList_data();
    void doubleClickOnEmptyList();
    void clicksBelowTheLinesKeepTheChosenLine_data();
    void clicksBelowTheLinesKeepTheChosenLine();
    void notReturnedListHandsNothingOver();
    void printsTheList();
    void cardEditorLoadsTheChosenLostCard();
};

namespace {

enum class Variant
{
    Lost,
    Available,
    ToReturn,
    NotReturned
};

std::unique_ptr<PassListWindow> makeWindow(Variant v, AppContext& ctx)
{
    switch (v) {
    case Variant::Lost:
        return std::make_unique<TfrmRiepSmarrite>(ctx);
    case Variant::Available:
        return std::make_unique<TfrmRiepChiaviRitiro>(ctx);
    case Variant::ToReturn:
        return std::make_unique<TfrmRiepChiaviRiconsegna>(ctx);
    case Variant::NotReturned:
        break;
    }
    return std::make_unique<TfrmRiepDaRiconsegnare>(ctx);
}

PassRecord pass(const QString& codice, const QString& smarrita = u"No"_s, const QString& stato = u"Disponibile"_s)
{
    PassRecord c;
    c.Codice = codice;
    c.Tipo = u"Badge"_s;
    c.Utilizzo = u"Ingresso"_s;
    c.Stato = stato;
    c.Smarrita = smarrita;
    return c;
}

void writeCards(const TestContext& t, const QList<PassRecord>& cards)
{
    CardFile file(t.ctx.programFolder);
    QVERIFY(file.open());
    for (const PassRecord& c : cards)
        QVERIFY(file.append(c).has_value());
}

PassRecord readCard(const TestContext& t, qint64 position)
{
    PassRecord out;
    withCardFile(t.ctx.programFolder, [&](CardFile& f) {
        out = f.readAt(position).value_or(PassRecord());
        return true;
    });
    return out;
}

QList<qint64> listedPositions(const PassLineModel& model)
{
    QList<qint64> out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.positionAt(row);
    return out;
}

PassListBox* listOf(QWidget* w)
{
    return w->findChild<PassListBox*>(u"lstRecords"_s);
}

void doubleClickRow(PassListBox* list, int row)
{
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, r.center().y()));
}

void doubleClickBelowLines(PassListBox* list)
{
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, list->viewport()->height() - 5));
}

struct Received
{
    QList<qint64> positions;
    QList<PassRecord> cards;
};

} // namespace

void TestPassListWindows::variants_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<qint64>>("positions"); // in list order
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("instruction");

    // The fixture: 1 B-01 available, 2 T-07 lent, 3 C-03 lost ("Sì"), 4 X-04 with an empty lost flag.
    const QString code4 = QString(16 + 2, u' ');
    QTest::newRow("lost") << Variant::Lost << u" Elenco pass smarriti"_s << QList<qint64>{3, 4}
                          << u"Cod. C-03"_s + code4 + u"Tipo: Chiave"_s + QString(24 + 2, u' ') +
                                 u"Uso: Archivio storico"_s + QString(19 + 2, u' ') + u"Note: "_s
                          << true;
    QTest::newRow("available") << Variant::Available << u" Elenco pass disponibili per ritiro"_s << QList<qint64>{1}
                               << u"Cod. B-01"_s + code4 + u"Tipo: Badge "_s << true;
    const QString lent = u"Cod. T-07"_s + code4 + u"Tipo: Tessera"_s + QString(23 + 2, u' ') +
                         u"Stato: Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05"_s;
    QTest::newRow("to return") << Variant::ToReturn << u" Elenco pass da riconsegnare"_s << QList<qint64>{2} << lent
                               << true;
    QTest::newRow("not returned") << Variant::NotReturned << u" Elenco pass da riconsegnare"_s << QList<qint64>{2}
                                  << lent << false;
}

void TestPassListWindows::variants()
{
    QFETCH(Variant, variant);
    QFETCH(QString, caption);
    QFETCH(QList<qint64>, positions);
    QFETCH(QString, firstLine);
    QFETCH(bool, instruction);

    TestContext t;
    QVERIFY(
        QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Schedario_Pass.pro"), t.ctx.file(u"Schedario_Pass.pro"_s)));
    auto w = makeWindow(variant, t.ctx);
    QAbstractItemModelTester tester(w->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    w->show();

    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(listedPositions(*w->model()), positions);
    QVERIFY2(w->model()->lineAt(0).startsWith(firstLine), qPrintable(w->model()->lineAt(0)));
    QCOMPARE(listOf(w.get())->selectedRow(), -1);
    QCOMPARE(w->focusWidget(), w->findChild<QLineEdit*>(u"txtTrova"_s));
    QCOMPARE(w->findChild<QLabel*>(u"lblRigo03"_s)->isVisible(), instruction);

    // Closing empties the list.
    w->close();
    QCOMPARE(w->model()->rowCount(), 0);
}

void TestPassListWindows::findInWindow()
{
    TestContext t;
    auto w = makeWindow(Variant::Available, t.ctx);
    w->show();
    auto* txtTrova = w->findChild<QLineEdit*>(u"txtTrova"_s);
    auto* btnTrova = w->findChild<QPushButton*>(u"btnTrova"_s);

    // An empty list: the plain message, nothing else.
    QTest::keyClicks(txtTrova, u"x"_s);
    QTest::mouseClick(btnTrova, Qt::LeftButton);
    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Plain);
    QCOMPARE(t.messages.calls[0].text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
    w->close();

    writeCards(t, {pass(u"P-3"_s), pass(u"P-1"_s), pass(u"Q-2"_s), pass(u"P-2"_s)});
    // The remembered text belongs to the variant and is emptied at every showing: the first press
    // in a new window starts from the top even with the text of the last window.
    QString* remembered = TfrmRiepChiaviRitiro::description().rememberedFind;
    *remembered = u"p-"_s;
    w = makeWindow(Variant::Available, t.ctx);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QVERIFY(remembered->isEmpty());
    txtTrova = w->findChild<QLineEdit*>(u"txtTrova"_s);
    btnTrova = w->findChild<QPushButton*>(u"btnTrova"_s);
    PassListBox* list = listOf(w.get());

    // Enter in the find field goes to "Trova"; Enter there presses it.
    QTest::keyClicks(txtTrova, u"P-"_s);
    QTest::keyClick(txtTrova, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), btnTrova);
    QList<qint64> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(btnTrova, Qt::Key_Return);
        visited << w->model()->positionAt(list->selectedRow());
    }
    // P-1, P-2, P-3, then round to P-1; Q-2 never.
    QCOMPARE(visited, (QList<qint64>{2, 4, 1, 2}));
    QCOMPARE(*remembered, u"p-"_s);
    QCOMPARE(t.messages.calls.size(), 1);
}

void TestPassListWindows::equalLinesHandOverTheChosenCard_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QList<PassRecord>>("cards");
    QTest::addColumn<int>("row");
    QTest::addColumn<qint64>("expected");

    // Two cards with the same identifier, type, use and note: each line hands over its own card
    // (the later one in file order is not taken for both).
    PassRecord a = pass(u"K-9"_s);
    a.Luogo = u"Primo"_s;
    PassRecord b = a;
    b.Luogo = u"Secondo"_s;
    const QList<PassRecord> twins{pass(u"A-1"_s), a, b};
    QTest::newRow("equal lines, first") << Variant::Available << twins << 1 << qint64(2);
    QTest::newRow("equal lines, second") << Variant::Available << twins << 2 << qint64(3);
    QTest::newRow("equal lines in the lost list")
        << Variant::Lost << QList<PassRecord>{pass(u"K-9"_s, u"Sì"_s), pass(u"K-9"_s, u"Sì"_s)} << 0 << qint64(1);

    // An available card whose line equals that of a lent card later in the file: the available
    // card is handed over, not the lent one.
    PassRecord lent = pass(u"K-9"_s, u"No"_s, u"Ritirato da Ada in data 01/02/2025 alle ore 10:00"_s);
    QTest::newRow("available card before an equal lent card")
        << Variant::Available << QList<PassRecord>{pass(u"K-9"_s), lent} << 0 << qint64(1);
}

void TestPassListWindows::equalLinesHandOverTheChosenCard()
{
    QFETCH(Variant, variant);
    QFETCH(QList<PassRecord>, cards);
    QFETCH(int, row);
    QFETCH(qint64, expected);

    TestContext t;
    writeCards(t, cards);
    auto w = makeWindow(variant, t.ctx);
    Received got;
    int after = 0;
    QObject::connect(w.get(), &PassListWindow::cardChosen, [&](qint64 position, const PassRecord& card) {
        got.positions << position;
        got.cards << card;
    });
    QObject::connect(w.get(), &PassListWindow::handOverDone, [&] { ++after; });
    w->show();
    PassListBox* list = listOf(w.get());
    QCOMPARE(w->model()->lineAt(row), PassLine::build(w->variant().form, cards[expected - 1]));

    doubleClickRow(list, row);

    QCOMPARE(got.positions, QList<qint64>{expected});
    QCOMPARE(got.cards.first(), readCard(t, expected));
    QCOMPARE(after, 1);
    QVERIFY(!w->isVisible());
    QVERIFY(t.messages.calls.isEmpty());
}

void TestPassListWindows::enterHandsOverTheSelectedLine_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QList<int>>("moves"); // keys pressed in the list before Enter
    QTest::addColumn<int>("enterKey");
    QTest::addColumn<qint64>("expected"); // 0: nothing handed over, the window stays

    // The list takes the focus with its first line current but not selected.
    QTest::newRow("Return on the second line")
        << Variant::Available << QList<int>{Qt::Key_Down} << int(Qt::Key_Return) << qint64(3);
    QTest::newRow("keypad Enter on the first line")
        << Variant::Available << QList<int>{Qt::Key_Down, Qt::Key_Up} << int(Qt::Key_Enter) << qint64(2);
    QTest::newRow("lost list, line chosen by Space")
        << Variant::Lost << QList<int>{Qt::Key_Space} << int(Qt::Key_Return) << qint64(1);
    QTest::newRow("no line selected") << Variant::Available << QList<int>{} << int(Qt::Key_Return) << qint64(0);
}

void TestPassListWindows::enterHandsOverTheSelectedLine()
{
    QFETCH(Variant, variant);
    QFETCH(QList<int>, moves);
    QFETCH(int, enterKey);
    QFETCH(qint64, expected);

    TestContext t;
    writeCards(t, {pass(u"L-1"_s, u"Sì"_s), pass(u"A-1"_s), pass(u"B-2"_s)});
    auto w = makeWindow(variant, t.ctx);
    QList<qint64> got;
    QObject::connect(w.get(), &PassListWindow::cardChosen,
                     [&](qint64 position, const PassRecord&) { got << position; });
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    // From the find field to the list by Tab, along the lines by keys, Enter as a double-click.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    PassListBox* list = listOf(w.get());
    QCOMPARE(QApplication::focusWidget(), list);
    for (int k : moves)
        QTest::keyClick(list, Qt::Key(k));
    QCOMPARE(list->selectedRow() >= 0, expected != 0);
    QTest::keyClick(list, Qt::Key(enterKey));

    if (expected == 0) {
        QVERIFY(got.isEmpty());
        QVERIFY(w->isVisible());
    } else {
        QCOMPARE(got, QList<qint64>{expected});
        QVERIFY(!w->isVisible());
    }
}

void TestPassListWindows::changedCardIsNotHandedOver()
{
    // Another workstation lends the pass while the list is open: the double-click hands nothing
    // over, the window closes as it does when no card matches.
    TestContext t;
    writeCards(t, {pass(u"A-1"_s), pass(u"B-2"_s)});
    auto w = makeWindow(Variant::Available, t.ctx);
    int received = 0, after = 0;
    QObject::connect(w.get(), &PassListWindow::cardChosen, [&](qint64, const PassRecord&) { ++received; });
    QObject::connect(w.get(), &PassListWindow::handOverDone, [&] { ++after; });
    w->show();
    QCOMPARE(w->model()->rowCount(), 2);

    withCardFile(t.ctx.programFolder, [](CardFile& f) {
        PassRecord c = *f.readAt(2);
        c.Stato = PassValues::withdrawalState(u"Ada"_s, u"01/02/2025"_s, u"10:00"_s);
        return f.rewriteAt(2, c);
    });
    doubleClickRow(listOf(w.get()), 1);
    QCOMPARE(received, 0);
    QCOMPARE(after, 1);
    QVERIFY(!w->isVisible());
}

void TestPassListWindows::doubleClickOnEmptyList_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<bool>("warns");

    QTest::newRow("lost") << Variant::Lost << false;
    QTest::newRow("available") << Variant::Available << true;
    QTest::newRow("to return") << Variant::ToReturn << true;
}

void TestPassListWindows::doubleClickOnEmptyList()
{
    QFETCH(Variant, variant);
    QFETCH(bool, warns);

    TestContext t;
    auto w = makeWindow(variant, t.ctx);
    int received = 0, after = 0;
    QObject::connect(w.get(), &PassListWindow::cardChosen, [&](qint64, const PassRecord&) { ++received; });
    QObject::connect(w.get(), &PassListWindow::handOverDone, [&] { ++after; });
    w->show();
    QCOMPARE(w->model()->rowCount(), 0);
    QVERIFY(QFile::exists(t.ctx.file(u"Schedario_Pass.pro"_s))); // created empty when missing

    doubleClickBelowLines(listOf(w.get()));
    QVERIFY(!w->isVisible());
    QCOMPARE(received, 0);
    if (warns) {
        QCOMPARE(t.messages.calls.size(), 1);
        QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(t.messages.calls[0].text, u"Operazione non applicabile: l'elenco non contiene nessun pass."_s);
    } else {
        QVERIFY(t.messages.calls.isEmpty());
    }
    QCOMPARE(after, 0); // the target's follow-up does not run for an empty list

    // A list with lines but none chosen: nothing handed over, the window closes, the target's
    // follow-up still runs.
    writeCards(t, {pass(u"A-1"_s, variant == Variant::Lost ? u""_s : u"No"_s,
                        variant == Variant::ToReturn ? u"Ritirato"_s : u"Disponibile"_s)});
    w = makeWindow(variant, t.ctx);
    QObject::connect(w.get(), &PassListWindow::cardChosen, [&](qint64, const PassRecord&) { ++received; });
    QObject::connect(w.get(), &PassListWindow::handOverDone, [&] { ++after; });
    w->show();
    QCOMPARE(w->model()->rowCount(), 1);
    doubleClickBelowLines(listOf(w.get()));
    QVERIFY(!w->isVisible());
    QCOMPARE(received, 0);
    QCOMPARE(after, 1);
}

void TestPassListWindows::clicksBelowTheLinesKeepTheChosenLine_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("smarrita");
    QTest::addColumn<QString>("stato");
    QTest::newRow("lost") << Variant::Lost << u"Sì"_s << u"Disponibile"_s;
    QTest::newRow("available") << Variant::Available << u"No"_s << u"Disponibile"_s;
    QTest::newRow("to return") << Variant::ToReturn << u"No"_s
                               << u"Ritirato da Ada in data 01/02/2025 alle ore 10:00"_s;
}

void TestPassListWindows::clicksBelowTheLinesKeepTheChosenLine()
{
    QFETCH(Variant, variant);
    QFETCH(QString, smarrita);
    QFETCH(QString, stato);

    TestContext t;
    writeCards(t, {pass(u"A-1"_s, smarrita, stato), pass(u"B-2"_s, smarrita, stato), pass(u"C-3"_s, smarrita, stato)});
    auto w = makeWindow(variant, t.ctx);
    QList<qint64> received;
    QObject::connect(w.get(), &PassListWindow::cardChosen,
                     [&](qint64 position, const PassRecord&) { received << position; });
    w->show();
    PassListBox* list = listOf(w.get());
    QCOMPARE(w->model()->rowCount(), 3);
    const QPoint below(30, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(below).isValid());

    // A click on the second line chooses it; a click below the last line leaves the choice.
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(list->selectedRow(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(list->selectedRow(), 1);

    // So a double-click there hands the chosen line over.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(received, QList<qint64>{2});
    QVERIFY(!w->isVisible());
    QVERIFY(t.messages.calls.isEmpty());
}

void TestPassListWindows::notReturnedListHandsNothingOver()
{
    TestContext t;
    auto w = makeWindow(Variant::NotReturned, t.ctx);
    w->show();
    doubleClickBelowLines(listOf(w.get()));
    QVERIFY(w->isVisible()); // empty: nothing at all
    QVERIFY(t.messages.calls.isEmpty());
    w->close();

    writeCards(t, {pass(u"A-1"_s, u"No"_s, u"Ritirato"_s)});
    w = makeWindow(Variant::NotReturned, t.ctx);
    int received = 0;
    QObject::connect(w.get(), &PassListWindow::cardChosen, [&](qint64, const PassRecord&) { ++received; });
    w->show();
    doubleClickRow(listOf(w.get()), 0);
    QVERIFY(w->isVisible());
    QCOMPARE(received, 0);
}

void TestPassListWindows::printsTheList()
{
    TestContext t;
    writeCards(t, {pass(u"Z-1"_s, u"Sì"_s), pass(u"A-[2]"_s, u""_s), pass(u"M-3"_s)});
    auto w = makeWindow(Variant::Lost, t.ctx);
    w->show();
    QTest::mouseClick(w->findChild<QPushButton*>(u"btnStampa"_s), Qt::LeftButton);
    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1});
    QVERIFY(t.messages.calls.isEmpty());

    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, t.printers.pdfPath, u"-"_s});
    QVERIFY(pdftotext.waitForFinished());
    // The extraction does not keep runs of spaces: compare with the blanks folded.
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    const qsizetype title = text.indexOf(u"Elenco pass smarriti"_s);
    const qsizetype first = text.indexOf(u"Cod. A-[2] Tipo: Badge Uso: Ingresso Note:"_s);
    const qsizetype second = text.indexOf(u"Cod. Z-1 Tipo: Badge"_s);
    const qsizetype footer = text.indexOf(u"Stampa eseguita in data 07/03/2025"_s);
    QVERIFY2(title >= 0 && first > title && second > first && footer > second, qPrintable(text));
    QVERIFY(!text.contains(u"M-3"_s));
}

void TestPassListWindows::cardEditorLoadsTheChosenLostCard()
{
    // The editor's warning-triangle button opens the lost list; a double-click on a line shows
    // that very card in the editor, even when a card later in the file gives the same line.
    TestContext t;
    PassRecord lost = pass(u"K-9"_s, u"Sì"_s);
    lost.Luogo = u"Smarrito in mensa"_s;
    PassRecord found = pass(u"K-9"_s);
    found.Luogo = u"Reception"_s;
    writeCards(t, {pass(u"A-1"_s), lost, found});
    TfrmSchedario_Chiavi editor(t.ctx);
    editor.show();

    bool listShown = false;
    QTimer::singleShot(0, &editor, [&] {
        auto* list = editor.findChild<TfrmRiepSmarrite*>();
        QVERIFY(list && list->isVisible());
        listShown = true;
        QCOMPARE(list->model()->rowCount(), 1);
        doubleClickRow(listOf(list), 0);
    });
    editor.findChild<QAbstractButton*>(u"cmdSmarrite"_s)->click();

    QVERIFY(listShown);
    QVERIFY(!editor.findChild<TfrmRiepSmarrite*>()); // destroyed when it closed
    QCOMPARE(editor.position(), 2);
    QCOMPARE(editor.cardFromFields().Luogo, u"Smarrito in mensa"_s);
    QCOMPARE(editor.cardFromFields().Smarrita, PassValues::Si);
}

QTEST_MAIN(TestPassListWindows)
#include "tst_PassListWindows.moc"
