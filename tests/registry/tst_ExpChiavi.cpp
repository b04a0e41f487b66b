// The card export window: the grid loaded from the card file and the export it writes.
#include "archives/CardFile.h"
#include "grids/StringGridModel.h"
#include "registry/ExpChiavi.h"
#include "registry/Schedario_Chiavi.h"
#include "shell/ScreenKit.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every card field the grid shows, each with a text naming it.
PassRecord namedCard()
{
    PassRecord card;
    card.Scheda = u"00001"_s;
    card.Codice = u"codice"_s;
    card.Tipo = u"tipo"_s;
    card.Utilizzo = u"utilizzo"_s;
    card.Stato = u"stato"_s;
    card.Duplicati = u"duplicati"_s;
    card.Luogo = u"luogo"_s;
    card.Responsabile = u"responsabile"_s;
    card.Recapiti = u"recapiti"_s;
    card.Persone = u"persone"_s;
    card.Note = u"note"_s;
    card.Smarrita = u"No"_s;
    card.PersonaRit = u"persona"_s;
    card.File01 = u"file"_s;
    return card;
}

// Writes raw card records (whole 3581-byte blocks) as the card file.
void writeCards(const QString& folder, const QList<QByteArray>& records)
{
    QFile f(folder + u"Schedario_Pass.pro"_s);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const auto& r : records)
        f.write(r);
}

// The text of a field placed by hand into an encoded card: length byte and bytes, untrimmed.
void putField(QByteArray& record, QString PassRecord::*field, const QByteArray& bytes)
{
    const int offset = PassRecord::place(field).offset;
    record[offset] = char(bytes.size());
    record.replace(offset + 1, bytes.size(), bytes);
}

QByteArray rowOf(const QList<QByteArray>& cells)
{
    QByteArray row = "<tr>";
    for (const auto& c : cells)
        row += "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + c + "</td>";
    return row + "</tr>";
}

struct Window
{
    TestContext t;
    std::unique_ptr<TfrmExpChiavi> w;
    std::unique_ptr<QAbstractItemModelTester> tester;

    void open()
    {
        w = std::make_unique<TfrmExpChiavi>(t.ctx);
        tester = std::make_unique<QAbstractItemModelTester>(w->grid(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        w->show();
    }
    QByteArray exported()
    {
        t.messages.answers << true << false;
        w->cmdEsportaClick();
        return readAll(t.ctx.file(u"Schedario_Pass.xls"_s));
    }
};

} // namespace

class TestExpChiavi : public QObject
{
    Q_OBJECT

private slots:
    void designState();
    void gridHoldsEveryCardInFileOrder();
    void columnsFollowTheCardFields();
    void emptyCardFileGivesEmptyGridAndHeaderRowAlone();
    void exportWritesTrimmedEscapedCells();
    void editedPlaceAndNoteReachTheFileOnly();
    void openedByTheCardEditor();
};

void TestExpChiavi::designState()
{
    TestContext t;
    TfrmExpChiavi w(t.ctx);
    QCOMPARE(w.windowTitle(), u" Esporta schedario pass in Microsoft Excel"_s);
    QCOMPARE(w.grid()->rowCount(), 10);
    QCOMPARE(w.grid()->columnCount(), 11);
    const QStringList titles = {u"N."_s,
                                u"Numero identificativo"_s,
                                u"Tipo pass"_s,
                                u"Utilizzo"_s,
                                u"Stato attuale"_s,
                                u"Duplicati"_s,
                                u"Luogo conservazione"_s,
                                u"Responsabile"_s,
                                u"Recapiti"_s,
                                u"Persone autorizzate al ritiro"_s,
                                u"Note"_s};
    for (int c = 0; c < titles.size(); ++c)
        QCOMPARE(w.grid()->headerData(c, Qt::Horizontal).toString(), titles[c]);
    QCOMPARE(w.statusLine()->text(), u"Esportazione archivio in Microsoft Excel."_s);
    for (const char* name : {"grdRecords", "cmdEsporta", "cmdGuida", "cmdEsci", "panInfo", "imgLogo", "icoHand",
                             "shpSfondo", "shpInfo", "panContainer"})
        QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)), name);
    // Only the place and the note can be overwritten.
    for (int c = 0; c < 11; ++c)
        QCOMPARE(bool(w.grid()->flags(w.grid()->index(0, c)) & Qt::ItemIsEditable),
                 c == TfrmExpChiavi::colLuogo || c == TfrmExpChiavi::colNote);
}

void TestExpChiavi::gridHoldsEveryCardInFileOrder()
{
    Window x;
    QVERIFY(
        QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Schedario_Pass.pro"), x.t.ctx.file(u"Schedario_Pass.pro"_s)));
    x.open();
    StringGridModel& g = *x.w->grid();
    QCOMPARE(g.rowCount(), 4); // the incomplete record at the end is no card
    QCOMPARE(g.cell(0, 0), u"1"_s);
    QCOMPARE(g.cell(3, 0), u"4"_s);
    QCOMPARE(g.cell(0, TfrmExpChiavi::colCodice), u"B-01"_s);
    QCOMPARE(g.cell(0, TfrmExpChiavi::colNote), u"€ 5 di cauzione"_s);
    QCOMPARE(g.cell(1, TfrmExpChiavi::colStato), u"Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05"_s);
    QCOMPARE(g.cell(1, TfrmExpChiavi::colRecapiti), u"ugo.neri@example.com"_s);
    QCOMPARE(g.cell(2, TfrmExpChiavi::colPersone), u"Tutti i dipendenti"_s);
    QCOMPARE(g.cell(3, TfrmExpChiavi::colLuogo), u"Bacheca"_s);
    QCOMPARE(g.data(g.index(0, TfrmExpChiavi::colTipo)).toString(), u"Badge"_s);

    // One row per card, ten cells each, the euro sign as its Windows-1252 byte.
    const QByteArray file = x.exported();
    QCOMPARE(file.count("<tr>"), 5);
    QCOMPARE(file.count("<td"), 5 * 10);
    QVERIFY(file.contains(rowOf({"B-01", "Badge", "Ingresso principale", "Disponibile", "", "Reception", "Ugo Neri",
                                 "int. 31", "Visitatori", "\x80 5 di cauzione"})));
    QVERIFY(!file.contains('\n') && !file.contains('\r'));
}

void TestExpChiavi::columnsFollowTheCardFields()
{
    Window x;
    QVERIFY(CardFile(x.t.ctx.programFolder).open());
    QVERIFY(withCardFile(x.t.ctx.programFolder, [](CardFile& f) { return f.append(namedCard()).has_value(); }));
    x.open();
    const QStringList expected = {u"1"_s,        u"codice"_s,    u"tipo"_s,  u"utilizzo"_s,
                                  u"stato"_s,    u"duplicati"_s, u"luogo"_s, u"responsabile"_s,
                                  u"recapiti"_s, u"persone"_s,   u"note"_s};
    for (int c = 0; c < expected.size(); ++c)
        QCOMPARE(x.w->grid()->cell(0, c), expected[c]);
}

void TestExpChiavi::emptyCardFileGivesEmptyGridAndHeaderRowAlone()
{
    Window x;
    x.open();
    QCOMPARE(x.w->grid()->rowCount(), 0);
    QVERIFY(QFile::exists(x.t.ctx.file(u"Schedario_Pass.pro"_s)));
    const QByteArray file = x.exported();
    QCOMPARE(file.count("<tr>"), 1);
    QCOMPARE(file.count("<td"), 10);
    QVERIFY(file.endsWith(
        "<td style=\"text-align: left; font-weight: bold;\" width=350>Note</td></tr></table></body></html>"));
}

void TestExpChiavi::exportWritesTrimmedEscapedCells()
{
    Window x;
    QByteArray padded = namedCard().encode();
    putField(padded, &PassRecord::Luogo, "  Ufficio <A> & \"B\"  "); // with blanks around it
    putField(padded, &PassRecord::Codice, "\tB-01 ");
    putField(padded, &PassRecord::Note, "Citt\xe0 \x80"); // Windows-1252 bytes
    writeCards(x.t.ctx.programFolder, {padded, PassRecord().encode()});
    x.open();
    QCOMPARE(x.w->grid()->cell(0, TfrmExpChiavi::colLuogo), u"Ufficio <A> & \"B\""_s);
    QCOMPARE(x.w->grid()->cell(0, TfrmExpChiavi::colCodice), u"B-01"_s);
    QCOMPARE(x.w->grid()->cell(0, TfrmExpChiavi::colNote), u"Città €"_s);

    const QByteArray file = x.exported();
    QVERIFY(
        file.contains(rowOf({"B-01", "tipo", "utilizzo", "stato", "duplicati", "Ufficio &lt;A&gt; &amp; &quot;B&quot;",
                             "responsabile", "recapiti", "persone", "Citt\xe0 \x80"})));
    // A card with nothing in it still has its row of ten empty cells.
    QVERIFY(file.endsWith(QByteArray(rowOf(QList<QByteArray>(10)) + "</table></body></html>")));
}

void TestExpChiavi::editedPlaceAndNoteReachTheFileOnly()
{
    Window x;
    QVERIFY(withCardFile(x.t.ctx.programFolder, [](CardFile& f) { return f.append(namedCard()).has_value(); }));
    const QByteArray cardsBefore = readAll(x.t.ctx.file(u"Schedario_Pass.pro"_s));
    x.open();
    QApplication::setActiveWindow(x.w.get());
    QVERIFY(QTest::qWaitForWindowActive(x.w.get()));

    // Typed into the grid as the operator does: a double-click opens the cell, Enter closes it.
    QTableView* view = x.w->grdRecords;
    const QModelIndex note = x.w->grid()->index(0, TfrmExpChiavi::colNote);
    view->setCurrentIndex(note);
    view->edit(note);
    auto* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != view);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, u"chiave rossa"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits after the key has been handled.
    QTRY_COMPARE(x.w->grid()->cell(0, TfrmExpChiavi::colNote), u"chiave rossa"_s);
    // A read-only cell refuses the same.
    QVERIFY(!x.w->grid()->setData(x.w->grid()->index(0, TfrmExpChiavi::colTipo), u"altro"_s));
    QVERIFY(x.w->grid()->setData(x.w->grid()->index(0, TfrmExpChiavi::colLuogo), u"Łobby"_s));

    const QByteArray file = x.exported();
    QVERIFY(file.contains(rowOf({"codice", "tipo", "utilizzo", "stato", "duplicati", "&#321;obby", "responsabile",
                                 "recapiti", "persone", "chiave rossa"})));
    QCOMPARE(readAll(x.t.ctx.file(u"Schedario_Pass.pro"_s)), cardsBefore);
}

void TestExpChiavi::openedByTheCardEditor()
{
    TestContext t;
    QVERIFY(withCardFile(t.ctx.programFolder, [](CardFile& f) { return f.append(namedCard()).has_value(); }));
    TfrmSchedario_Chiavi editor(t.ctx);
    editor.show();
    QString opened;
    int rows = -1;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (auto* w = qobject_cast<TfrmExpChiavi*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            poll.stop();
            opened = QString::fromLatin1(w->metaObject()->className());
            rows = w->grid()->rowCount();
            QCOMPARE(w->parentWidget(), &editor);
            w->cmdEsciClick();
        }
    });
    poll.start(5);
    editor.cmdEsportaClick();
    QCOMPARE(opened, u"TfrmExpChiavi"_s);
    QCOMPARE(rows, 1);
    QVERIFY(!editor.findChild<TfrmExpChiavi*>()); // destroyed when it closed
}

QTEST_MAIN(TestExpChiavi)
#include "tst_ExpChiavi.moc"
