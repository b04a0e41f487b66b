// The history view: its grid of the period's operations, sorted by type, and its export.
#include "archives/HistoryFile.h"
#include "grids/StringGridModel.h"
#include "history/HistoryQuery.h"
#include "history/Riepilogo.h"
#include "shell/ScreenKit.h"
#include "tests/support/ScriptedSeams.h"
#include "tests/support/Spoken.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

HistoryRecord operation(const QString& codice, const QString& tipo, const QString& withdrawn)
{
    HistoryRecord r;
    r.Codice = codice;
    r.Tipo = tipo;
    r.Utilizzo = u"Ingresso & uscita"_s;
    r.Luogo = u"Reception"_s;
    r.Persone = u"Visitatori"_s;
    r.PersonaRit = u"Niccolò Gallo"_s;
    r.DataRit = withdrawn;
    r.OraRit = u"09:00"_s;
    r.PersonaRic = u"Anna <Bianchi>"_s;
    r.DataRic = withdrawn;
    r.OraRic = u"17:30"_s;
    return r;
}

void writeHistory(const QString& folder, const QList<HistoryRecord>& records)
{
    HistoryFile file(folder);
    QVERIFY(file.open());
    for (const auto& r : records)
        QVERIFY(file.append(r).has_value());
    file.close();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One exported data cell, text-formatted.
QByteArray cell(const QByteArray& text)
{
    return "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + text + "</td>";
}

QByteArray cells(const QList<QByteArray>& texts)
{
    QByteArray row = "<tr>";
    for (const auto& t : texts)
        row += cell(t);
    return row + "</tr>";
}

struct View
{
    TestContext t;
    std::unique_ptr<TfrmRiepilogo> w;
    std::unique_ptr<QAbstractItemModelTester> tester;

    void open(const QString& start, const QString& end)
    {
        w = std::make_unique<TfrmRiepilogo>(t.ctx);
        tester = std::make_unique<QAbstractItemModelTester>(w->grid(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        w->setInterval(start, end);
        w->show();
    }
    StringGridModel& grid() { return *w->grid(); }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < grid().rowCount(); ++r)
            out << grid().cell(r, c);
        return out;
    }
    QByteArray exported()
    {
        t.messages.answers << true << false;
        w->cmdEsportaClick();
        return readAll(t.ctx.file(u"Storico_Operazioni.xls"_s));
    }
};

} // namespace

class TestRiepilogo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void designState();
    void sortedByTypeWithTheirSequenceNumbers();
    void titleAndCells();
    void recordsButNoneInThePeriod();
    void emptyHistoryGivesEmptyGrid();
    void damagedWithdrawalDateHidesNothingElse();
    void editedCellsReachTheExportOnly();
    void closingHidesTheWaitingText();
    void screenReadersReadThePeriod();
    void viewsOfTheRunShareWhatTheyRead();
};

void TestRiepilogo::designState()
{
    TestContext t;
    TfrmRiepilogo w(t.ctx);
    QCOMPARE(w.windowTitle(), u" Ingressario - Storico Operazioni"_s);
    QCOMPARE(w.lblIntervallo->text(), u"Storico operazioni"_s);
    QCOMPARE(w.grid()->rowCount(), 10);
    QCOMPARE(w.statusLine()->text(), u"Esportazione archivio in Microsoft Excel."_s);
    const QStringList titles = {u"N."_s,
                                u"Numero identificativo"_s,
                                u"Tipo pass"_s,
                                u"Utilizzo"_s,
                                u"Luogo conservazione"_s,
                                u"Persone autorizzate al ritiro"_s,
                                u"Ritirato da"_s,
                                u"Data ritiro"_s,
                                u"Ora ritiro"_s,
                                u"Riconsegnato da"_s,
                                u"Data riconsegna"_s,
                                u"Ora riconsegna"_s};
    const QList<int> widths = {60, 200, 200, 200, 250, 300, 250, 160, 150, 250, 160, 150};
    QCOMPARE(w.grid()->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        QCOMPARE(w.grid()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        QCOMPARE(w.grdRecords->columnWidth(c), widths[c]);
        QCOMPARE(bool(w.grid()->flags(w.grid()->index(0, c)) & Qt::ItemIsEditable),
                 c == TfrmRiepilogo::colUtilizzo || c == TfrmRiepilogo::colDataRic);
    }
    for (const char* name : {"lblIntervallo", "grdRecords", "cmdEsporta", "cmdGuida", "cmdEsci", "panInfo"})
        QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)), name);
}

void TestRiepilogo::sortedByTypeWithTheirSequenceNumbers()
{
    View v;
    writeHistory(v.t.ctx.programFolder,
                 {operation(u"T-1"_s, u"Tessera"_s, u"10/03/2025"_s), operation(u"B-1"_s, u"Badge"_s, u"11/03/2025"_s),
                  operation(u"X-1"_s, u"Badge"_s, u"01/02/2025"_s), // before the period
                  operation(u"C-1"_s, u"Chiave"_s, u"12/03/2025"_s)});
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.column(TfrmRiepilogo::colTipo), (QStringList{u"Badge"_s, u"Chiave"_s, u"Tessera"_s}));
    QCOMPARE(v.column(TfrmRiepilogo::colNum), (QStringList{u"2"_s, u"3"_s, u"1"_s}));
    QCOMPARE(v.column(TfrmRiepilogo::colCodice), (QStringList{u"B-1"_s, u"C-1"_s, u"T-1"_s}));

    // The export follows the grid's order and leaves the sequence numbers out.
    const QByteArray file = v.exported();
    QCOMPARE(file.count("<tr>"), 4);
    const int badge = file.indexOf(cell("B-1"));
    const int chiave = file.indexOf(cell("C-1"));
    const int tessera = file.indexOf(cell("T-1"));
    QVERIFY(badge > 0 && badge < chiave && chiave < tessera);
}

void TestRiepilogo::titleAndCells()
{
    View v;
    writeHistory(v.t.ctx.programFolder, {operation(u"B-01"_s, u"Badge"_s, u"31/12/2025"_s)});
    v.open(u" 01/01/2025"_s, u"31/12/2025 "_s);
    QCOMPARE(v.w->lblIntervallo->text(), u"Storico operazioni dal 01/01/2025 al 31/12/2025"_s);
    QCOMPARE(v.grid().rowCount(), 1);
    const QStringList expected = {u"1"_s,         u"B-01"_s,           u"Badge"_s,         u"Ingresso & uscita"_s,
                                  u"Reception"_s, u"Visitatori"_s,     u"Niccolò Gallo"_s, u"31/12/2025"_s,
                                  u"09:00"_s,     u"Anna <Bianchi>"_s, u"31/12/2025"_s,    u"17:30"_s};
    for (int c = 0; c < expected.size(); ++c)
        QCOMPARE(v.grid().cell(0, c), expected[c]);

    // The history's own header cells, then the row with its texts escaped.
    const QByteArray file = v.exported();
    const QByteArray header =
        "<tr><td style=\"text-align: left; font-weight: bold;\" width=250>Numero identificativo</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=250>Tipo pass</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=300>Utilizzo</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=350>Luogo conservazione</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=350>Persone autorizzate al ritiro</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=300>Ritirato da</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=200>Data ritiro</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=180>Ora ritiro</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=300>Riconsegnato da</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=200>Data riconsegna</td>"
        "<td style=\"text-align: left; font-weight: bold;\" width=180>Ora riconsegna</td></tr>";
    QVERIFY(file.contains("<x:Name>Storico Operazioni</x:Name>"));
    QVERIFY(file.endsWith(
        QByteArray(header +
                   cells({"B-01", "Badge", "Ingresso &amp; uscita", "Reception", "Visitatori", "Niccol\xf2 Gallo",
                          "31/12/2025", "09:00", "Anna &lt;Bianchi&gt;", "31/12/2025", "17:30"}) +
                   "</table></body></html>")));
}

void TestRiepilogo::recordsButNoneInThePeriod()
{
    View v;
    writeHistory(v.t.ctx.programFolder, {operation(u"B-01"_s, u"Badge"_s, u"01/02/2025"_s)});
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.grid().rowCount(), 0);
    const QByteArray file = v.exported();
    QCOMPARE(file.count("<tr>"), 1);
    QCOMPARE(file.count("<td"), 11);
}

void TestRiepilogo::emptyHistoryGivesEmptyGrid()
{
    View v;
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.grid().rowCount(), 0);
    QVERIFY(QFile::exists(v.t.ctx.file(u"Storico_Operazioni.pro"_s)));
    QCOMPARE(v.exported().count("<tr>"), 1);
}

void TestRiepilogo::damagedWithdrawalDateHidesNothingElse()
{
    View v;
    writeHistory(v.t.ctx.programFolder,
                 {operation(u"T-1"_s, u"Tessera"_s, u"10/03/2025"_s), operation(u"D-1"_s, u"Badge"_s, u"10/13/2025"_s),
                  operation(u"B-1"_s, u"Badge"_s, u"11/03/2025"_s)});
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.column(TfrmRiepilogo::colCodice), (QStringList{u"B-1"_s, u"T-1"_s}));
    QCOMPARE(v.column(TfrmRiepilogo::colNum), (QStringList{u"2"_s, u"1"_s}));
    QCOMPARE(v.w->queryResult().skipped, 1);
}

void TestRiepilogo::editedCellsReachTheExportOnly()
{
    View v;
    writeHistory(v.t.ctx.programFolder, {operation(u"B-1"_s, u"Badge"_s, u"11/03/2025"_s)});
    const QByteArray history = readAll(v.t.ctx.file(u"Storico_Operazioni.pro"_s));
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QVERIFY(v.grid().setData(v.grid().index(0, TfrmRiepilogo::colUtilizzo), u"Visita ŝpeciale"_s));
    QVERIFY(v.grid().setData(v.grid().index(0, TfrmRiepilogo::colDataRic), u"12/03/2025"_s));
    QVERIFY(!v.grid().setData(v.grid().index(0, TfrmRiepilogo::colPersonaRic), u"altro"_s));
    QVERIFY(v.exported().contains(
        cells({"B-1", "Badge", "Visita &#349;peciale", "Reception", "Visitatori", "Niccol\xf2 Gallo", "11/03/2025",
               "09:00", "Anna &lt;Bianchi&gt;", "12/03/2025", "17:30"})));
    QCOMPARE(readAll(v.t.ctx.file(u"Storico_Operazioni.pro"_s)), history);

    // A new view shows the file's texts again.
    View again;
    QVERIFY(QFile::copy(v.t.ctx.file(u"Storico_Operazioni.pro"_s), again.t.ctx.file(u"Storico_Operazioni.pro"_s)));
    again.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(again.grid().cell(0, TfrmRiepilogo::colUtilizzo), u"Ingresso & uscita"_s);
}

void TestRiepilogo::closingHidesTheWaitingText()
{
    // The view tells the interval window, which hides its waiting text.
    View v;
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QSignalSpy hidden(v.w.get(), &TfrmRiepilogo::hidden);
    QCOMPARE(hidden.count(), 0);
    v.w->cmdEsciClick();
    QVERIFY(!v.w->isVisible());
    QCOMPARE(hidden.count(), 1);
}

void TestRiepilogo::screenReadersReadThePeriod()
{
    View v;
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(Spoken::name(v.w->lblIntervallo), u"Storico operazioni dal 01/03/2025 al 31/03/2025"_s);
    QCOMPARE(Spoken::description(v.w->lblIntervallo), u"Periodo"_s);
}

// The views of one run share what the history queries learnt, and still show what was appended
// between two of them.
void TestRiepilogo::viewsOfTheRunShareWhatTheyRead()
{
    View v;
    HistoryQuery::Index index;
    v.t.ctx.historyIndex = &index;
    writeHistory(v.t.ctx.programFolder,
                 {operation(u"B-1"_s, u"Badge"_s, u"11/03/2025"_s), operation(u"C-1"_s, u"Chiave"_s, u"11/04/2025"_s)});
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.column(1), QStringList{u"B-1"_s});
    QCOMPARE(index.records(), 2);

    writeHistory(v.t.ctx.programFolder, {operation(u"A-1"_s, u"Badge"_s, u"12/03/2025"_s)});
    v.open(u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(v.column(1), (QStringList{u"B-1"_s, u"A-1"_s}));
    QCOMPARE(v.column(0), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(index.records(), 3);
}

QTEST_MAIN(TestRiepilogo)
#include "tst_Riepilogo.moc"
