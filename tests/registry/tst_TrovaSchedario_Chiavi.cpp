// The card search window driven as the operator drives it: filters, results, find, print and the
// loading of the chosen card.

#include "archives/CardFile.h"
#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "registry/Schedario_Chiavi.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "shell/ArchiveMessages.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

using Filters = QList<std::pair<QString, QString>>; // field name, text as typed

class TestTrovaSchedario : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
    void filtersHaveMarksAndEnterChain();
    void noMatchAndFind();
    void loadsTheChosenCardOfEqualLines();
    void loadsOnlyForTheCardEditor();
    void cardFileFailure();
    void printsTheResults();
    void cardEditorLoadsTheChosenCard();
};

namespace {

PassRecord card(const QString& codice, const QString& tipo, const QString& luogo, const QString& note,
                const QString& stato = u"Disponibile"_s)
{
    PassRecord c;
    c.Codice = codice;
    c.Tipo = tipo;
    c.Utilizzo = u"Ingresso"_s;
    c.Luogo = luogo;
    c.Note = note;
    c.Stato = stato;
    c.Smarrita = u"No"_s;
    return c;
}

void writeCards(const TestContext& t, const QList<PassRecord>& cards)
{
    CardFile file(t.ctx.programFolder);
    QVERIFY(file.open());
    for (const PassRecord& c : cards)
        QVERIFY(file.append(c).has_value());
}

// Types any text, accented letters included, one character at a time.
void typeText(QWidget* field, const QString& text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

struct Window
{
    std::unique_ptr<TfrmTrovaSchedario_Chiavi> w;
    explicit Window(AppContext& ctx) : w(std::make_unique<TfrmTrovaSchedario_Chiavi>(ctx)) {}
    template <class T = QWidget> T* find(const QString& name) const { return w->findChild<T*>(name); }
    PassListBox* list() const { return find<PassListBox>(u"lstRecords"_s); }
    void cerca() const
    {
        auto* btnCerca = find<QPushButton>(u"btnCerca"_s);
        QTest::mousePress(btnCerca, Qt::LeftButton);
        QVERIFY(find<QLabel>(u"lblAttendere"_s)->isVisible()); // shown before the search runs
        QTest::mouseRelease(btnCerca, Qt::LeftButton);
    }
};

QList<qint64> listedPositions(const PassLineModel& model)
{
    QList<qint64> out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.positionAt(row);
    return out;
}

void doubleClickRow(PassListBox* list, int row)
{
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, r.center().y()));
}

} // namespace

void TestTrovaSchedario::search_data()
{
    QTest::addColumn<Filters>("filters");
    QTest::addColumn<QList<qint64>>("positions");
    QTest::addColumn<int>("inUse");

    QTest::newRow("no filter lists every card") << Filters{} << QList<qint64>{1, 2, 3, 4} << 0;
    QTest::newRow("a filter of spaces is not in use")
        << Filters{{u"txtCodice"_s, u"   "_s}} << QList<qint64>{1, 2, 3, 4} << 0;
    QTest::newRow("lower-case filter matches upper-case letters")
        << Filters{{u"txtTipo"_s, u"badge"_s}} << QList<qint64>{1, 4} << 1;
    QTest::newRow("upper-case filter matches lower-case letters")
        << Filters{{u"txtCodice"_s, u"AB-"_s}} << QList<qint64>{1, 2} << 1;
    QTest::newRow("è does not match È") << Filters{{u"txtNote"_s, u"è"_s}} << QList<qint64>{1} << 1;
    QTest::newRow("È does not match è") << Filters{{u"txtNote"_s, u"È F"_s}} << QList<qint64>{2} << 1;
    QTest::newRow("a trailing space must be followed in the field")
        << Filters{{u"txtLuogo"_s, u"Reception "_s}} << QList<qint64>{2} << 1;
    QTest::newRow("a leading space is kept too") << Filters{{u"txtNote"_s, u" terra"_s}} << QList<qint64>{3} << 1;
    QTest::newRow("two filters must both match")
        << Filters{{u"txtCodice"_s, u"ab"_s}, {u"txtLuogo"_s, u"nord"_s}} << QList<qint64>{2} << 2;
    QTest::newRow("state") << Filters{{u"txtStato"_s, u"RITIRATO DA"_s}} << QList<qint64>{4} << 1;
    QTest::newRow("one match still says schede") << Filters{{u"txtCodice"_s, u"cd"_s}} << QList<qint64>{3} << 1;
}

void TestTrovaSchedario::search()
{
    QFETCH(Filters, filters);
    QFETCH(QList<qint64>, positions);
    QFETCH(int, inUse);

    TestContext t;
    writeCards(t, {card(u"AB-100"_s, u"Badge"_s, u"Reception"_s, u"è fragile"_s),
                   card(u"ab-200"_s, u"Chiave"_s, u"Reception nord"_s, u"È fragile"_s),
                   card(u"CD-300"_s, u"Tessera"_s, u"Magazzino"_s, u"piano terra"_s),
                   card(u"EF-400"_s, u"badge"_s, u"Ufficio"_s, QString(),
                        u"Ritirato da Ugo in data 01/02/2025 alle ore 10:00"_s)});
    Window s(t.ctx);
    QAbstractItemModelTester tester(s.w->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    s.w->show();
    QCOMPARE(s.w->windowTitle(), u" Trova pass in schedario"_s);
    QCOMPARE(s.w->focusWidget(), s.find(u"txtCodice"_s));

    for (const auto& [name, text] : filters)
        typeText(s.find(name), text);
    s.cerca();

    QCOMPARE(listedPositions(*s.w->model()), positions);
    QCOMPARE(s.w->filtersInUse(), inUse);
    QCOMPARE(s.find<QLabel>(u"lblTrovate"_s)->text(),
             u"Il presente riepilogo contiene %1 schede."_s.arg(positions.size()));
    QVERIFY(s.find(u"panContainer"_s)->isVisible());
    QVERIFY(!s.find(u"panAvvio"_s)->isVisible());
    QCOMPARE(s.w->focusWidget(), s.find(u"txtTrova"_s));
    QVERIFY(t.messages.calls.isEmpty());
}

void TestTrovaSchedario::filtersHaveMarksAndEnterChain()
{
    TestContext t;
    Window s(t.ctx);
    s.w->show();
    QVERIFY(QTest::qWaitForWindowActive(s.w.get()));
    const QStringList order{u"txtCodice"_s, u"txtTipo"_s,         u"txtUtilizzo"_s, u"txtStato"_s,   u"txtDuplicati"_s,
                            u"txtLuogo"_s,  u"txtResponsabile"_s, u"txtRecapiti"_s, u"txtPersone"_s, u"txtNote"_s};
    for (int i = 0; i < order.size(); ++i) {
        QWidget* field = QApplication::focusWidget();
        QCOMPARE(field->objectName(), order[i]);
        const QString mark = u"effCampo%1"_s.arg(i + 1, 2, 10, QChar(u'0'));
        QVERIFY2(s.find(mark) && s.find(mark)->isVisible(), qPrintable(mark));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!s.find(mark)->isVisible());
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), u"txtCodice"_s);
    QVERIFY(s.find(u"panAvvio"_s)->isVisible()); // Enter never runs the search
}

void TestTrovaSchedario::noMatchAndFind()
{
    TestContext t;
    writeCards(t, {card(u"A-1"_s, u"Badge"_s, QString(), QString())});
    Window s(t.ctx);
    s.w->show();
    typeText(s.find(u"txtCodice"_s), u"zz"_s);
    s.cerca();
    QCOMPARE(s.w->model()->rowCount(), 0);
    QCOMPARE(s.find<QLabel>(u"lblTrovate"_s)->text(), u"Il presente riepilogo contiene 0 schede."_s);

    QTest::mouseClick(s.find<QPushButton>(u"btnTrova"_s), Qt::LeftButton);
    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Plain);
    QCOMPARE(t.messages.calls[0].text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);

    // A double-click with nothing to load closes the window without a message.
    QTest::mouseDClick(s.list()->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(!s.w->isVisible());
    QCOMPARE(t.messages.calls.size(), 1);
    QVERIFY(!s.find(u"lblAttendere"_s)->isVisibleTo(s.w.get()));
}

void TestTrovaSchedario::loadsTheChosenCardOfEqualLines()
{
    // Two cards with the same identifier, type, use and note give two equal lines: each line
    // loads its own card, not the later one for both.
    TestContext t;
    writeCards(t, {card(u"K-9"_s, u"Badge"_s, u"Primo"_s, u"n"_s), card(u"A-1"_s, u"Badge"_s, QString(), QString()),
                   card(u"K-9"_s, u"Badge"_s, u"Secondo"_s, u"n"_s)});
    for (int row : {1, 2}) {
        Window s(t.ctx);
        s.w->setCallerTag(u" schedario_chiavi "_s);
        QList<std::pair<qint64, PassRecord>> loaded;
        QObject::connect(s.w.get(), &TfrmTrovaSchedario_Chiavi::cardChosen, [&](qint64 position, const PassRecord& c) {
            loaded.append({position, c});
        });
        s.w->show();
        s.cerca();
        QCOMPARE(listedPositions(*s.w->model()), (QList<qint64>{2, 1, 3}));
        doubleClickRow(s.list(), row);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].first, row == 1 ? 1 : 3);
        QCOMPARE(loaded[0].second.Luogo, row == 1 ? u"Primo"_s : u"Secondo"_s);
        QVERIFY(!s.w->isVisible());
    }
}

void TestTrovaSchedario::loadsOnlyForTheCardEditor()
{
    TestContext t;
    writeCards(t, {card(u"A-1"_s, u"Badge"_s, QString(), QString())});
    Window s(t.ctx);
    int loaded = 0;
    QObject::connect(s.w.get(), &TfrmTrovaSchedario_Chiavi::cardChosen, [&](qint64, const PassRecord&) { ++loaded; });
    s.w->show();
    s.cerca();
    doubleClickRow(s.list(), 0);
    QCOMPARE(loaded, 0); // no caller tag
    QVERIFY(!s.w->isVisible());
}

void TestTrovaSchedario::cardFileFailure()
{
    // A folder where the card file should be: it cannot be opened.
    TestContext t;
    QVERIFY(QDir(t.ctx.programFolder).mkdir(u"Schedario_Pass.pro"_s));
    Window s(t.ctx);
    s.w->show();
    typeText(s.find(u"txtTipo"_s), u"badge"_s);
    s.cerca();
    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Plain);
    QCOMPARE(t.messages.calls[0].text, ArchiveMessages::CardFileAccess);
    QVERIFY(s.find(u"panAvvio"_s)->isVisible());
    QVERIFY(!s.find(u"panContainer"_s)->isVisible());
    QVERIFY(!s.find(u"lblAttendere"_s)->isVisible());
    QCOMPARE(s.find<QLineEdit>(u"txtTipo"_s)->text(), u"badge"_s);
}

void TestTrovaSchedario::printsTheResults()
{
    TestContext t;
    writeCards(t,
               {card(u"Z-9"_s, u"Chiave"_s, QString(), u"[nota]"_s), card(u"B-2"_s, u"Badge"_s, QString(), QString())});
    Window s(t.ctx);
    s.w->show();
    s.cerca();
    QTest::mouseClick(s.find<QPushButton>(u"btnStampa"_s), Qt::LeftButton);
    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1});

    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, t.printers.pdfPath, u"-"_s});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    const qsizetype title = text.indexOf(u"Schedario Pass"_s);
    const qsizetype first = text.indexOf(u"Cod. B-2 Tipo: Badge"_s);
    const qsizetype second = text.indexOf(u"Cod. Z-9 Tipo: Chiave Uso: Ingresso Note: [nota]"_s);
    const qsizetype footer = text.indexOf(u"Stampa eseguita in data 07/03/2025"_s);
    QVERIFY2(title >= 0 && first > title && second > first && footer > second, qPrintable(text));
}

void TestTrovaSchedario::cardEditorLoadsTheChosenCard()
{
    // The editor's search button opens the search with the editor's tag; the chosen line's own
    // card is shown in the editor.
    TestContext t;
    writeCards(t, {card(u"K-9"_s, u"Badge"_s, u"Primo"_s, u"n"_s), card(u"K-9"_s, u"Badge"_s, u"Secondo"_s, u"n"_s),
                   card(u"A-1"_s, u"Chiave"_s, QString(), QString())});
    TfrmSchedario_Chiavi editor(t.ctx);
    editor.show();

    bool searched = false;
    QTimer::singleShot(0, &editor, [&] {
        auto* frm = editor.findChild<TfrmTrovaSchedario_Chiavi*>();
        QVERIFY(frm && frm->isVisible());
        typeText(frm->findChild<QLineEdit*>(u"txtTipo"_s), u"BADGE"_s);
        QTest::mouseClick(frm->findChild<QPushButton*>(u"btnCerca"_s), Qt::LeftButton);
        QCOMPARE(frm->model()->rowCount(), 2);
        searched = true;
        doubleClickRow(frm->findChild<PassListBox*>(u"lstRecords"_s), 0);
    });
    editor.findChild<QAbstractButton*>(u"cmdTrova"_s)->click();

    QVERIFY(searched);
    QVERIFY(!editor.findChild<TfrmTrovaSchedario_Chiavi*>());
    QCOMPARE(editor.position(), 1);
    QCOMPARE(editor.cardFromFields().Luogo, u"Primo"_s);
}

QTEST_MAIN(TestTrovaSchedario)
#include "tst_TrovaSchedario_Chiavi.moc"
