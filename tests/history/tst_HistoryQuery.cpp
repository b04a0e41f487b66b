// The history query: which operations belong to a period, and the order of the history grid.
#include "archives/HistoryFile.h"
#include "archives/PackedFields.h"
#include "grids/StringGridModel.h"
#include "history/HistoryQuery.h"

#include <QCollator>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

HistoryRecord operation(const QString& codice, const QString& withdrawn, const QString& returned = QString(),
                        const QString& tipo = u"Badge"_s)
{
    HistoryRecord r;
    r.Codice = codice;
    r.Tipo = tipo;
    r.Utilizzo = u"Ingresso"_s;
    r.PersonaRit = u"Anna Bianchi"_s;
    r.DataRit = withdrawn;
    r.OraRit = u"09:00"_s;
    r.PersonaRic = u"Anna Bianchi"_s;
    r.DataRic = returned.isEmpty() ? withdrawn : returned;
    r.OraRic = u"17:00"_s;
    return r;
}

void writeHistory(const QString& folder, const QList<QByteArray>& records)
{
    QFile f(folder + u"Storico_Operazioni.pro"_s);
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (const auto& r : records)
        f.write(r);
}

// The codes of the selected operations with their sequence numbers: "1:A 2:C".
QString selected(const QString& folder, const QString& start, const QString& end,
                 HistoryQuery::Result* result = nullptr)
{
    QStringList out;
    const auto r = HistoryQuery::select(folder, start, end, [&](qint64 sequence, const char* record) {
        out << QString::number(sequence) + u':' + HistoryRecord::decode(record).Codice;
    });
    if (result)
        *result = r;
    return out.join(u' ');
}

// The same through a session's index, with the skipped count and the outcome: "1:A 2:C | 0 1".
QString selectedWith(HistoryQuery::Index* index, const QString& folder, const QString& start, const QString& end)
{
    QStringList out;
    const auto collect = [&](qint64 sequence, const char* record) {
        out << QString::number(sequence) + u':' + HistoryRecord::decode(record).Codice;
    };
    const auto r = index ? HistoryQuery::select(*index, folder, start, end, collect)
                         : HistoryQuery::select(folder, start, end, collect);
    return out.join(u' ') + u" | "_s + QString::number(r.skipped) + u' ' + QString::number(int(r.outcome));
}

void appendBytes(const QString& folder, const QByteArray& bytes)
{
    QFile f(folder + u"Storico_Operazioni.pro"_s);
    QVERIFY(f.open(QIODevice::Append));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestHistoryQuery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
    void period_data();
    void period();
    void damagedWithdrawalDateIsSkipped();
    void fixtureHistory();
    void missingOrEmptyHistory();
    void sortByType_data();
    void sortByType();
    void sessionIndexAgreesWithWholeRead_data();
    void sessionIndexAgreesWithWholeRead();
    void sessionIndexReadsOnlyPeriodAndAppended();
};

void TestHistoryQuery::period_data()
{
    QTest::addColumn<QString>("withdrawn");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("included");
    QTest::newRow("on the start date") << u"10/03/2025"_s << u""_s << u"10/03/2025"_s << u"20/03/2025"_s << true;
    QTest::newRow("on the end date") << u"20/03/2025"_s << u""_s << u"10/03/2025"_s << u"20/03/2025"_s << true;
    QTest::newRow("the day before the start")
        << u"09/03/2025"_s << u""_s << u"10/03/2025"_s << u"20/03/2025"_s << false;
    QTest::newRow("the day after the end") << u"21/03/2025"_s << u""_s << u"10/03/2025"_s << u"20/03/2025"_s << false;
    QTest::newRow("one-day period") << u"15/03/2025"_s << u""_s << u"15/03/2025"_s << u"15/03/2025"_s << true;
    QTest::newRow("returned after the period")
        << u"20/03/2025"_s << u"02/04/2025"_s << u"10/03/2025"_s << u"20/03/2025"_s << true;
    QTest::newRow("withdrawn before, returned inside")
        << u"05/03/2025"_s << u"12/03/2025"_s << u"10/03/2025"_s << u"20/03/2025"_s << false;
    // Calendar dates, not texts: "05/04" sorts after "10/03" as a text but is inside the period.
    QTest::newRow("compared as dates, not texts")
        << u"05/04/2025"_s << u""_s << u"10/03/2025"_s << u"20/04/2025"_s << true;
    QTest::newRow("December of the year before, returned in January")
        << u"31/12/2024"_s << u"02/01/2025"_s << u"01/01/2025"_s << u"31/12/2025"_s << false;
    QTest::newRow("same day and month of another year")
        << u"15/03/2024"_s << u""_s << u"01/03/2025"_s << u"31/03/2025"_s << false;
    QTest::newRow("29 February of a leap year")
        << u"29/02/2024"_s << u""_s << u"28/02/2024"_s << u"01/03/2024"_s << true;
}

void TestHistoryQuery::period()
{
    QFETCH(QString, withdrawn);
    QFETCH(QString, returned);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, included);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    // The operation between two that always belong, so the sequence numbers show what was taken.
    writeHistory(folder, {operation(u"A"_s, start).encode(), operation(u"X"_s, withdrawn, returned).encode(),
                          operation(u"B"_s, end).encode()});
    QCOMPARE(selected(folder, start, end), included ? u"1:A 2:X 3:B"_s : u"1:A 2:B"_s);
}

void TestHistoryQuery::damagedWithdrawalDateIsSkipped()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QByteArray unreadable = operation(u"D1"_s, u"xx"_s).encode();
    // Length byte beyond the field and bytes that are no date at all.
    const FieldPlace withdrawal = HistoryRecord::place(&HistoryRecord::DataRit);
    unreadable[withdrawal.offset] = char(0xFF);
    unreadable.replace(withdrawal.offset + 1, withdrawal.capacity, "\xff\x01?\?/?\?/??");
    writeHistory(folder,
                 {operation(u"A"_s, u"01/03/2025"_s).encode(), unreadable, operation(u"D2"_s, u"31/02/2025"_s).encode(),
                  operation(u"D3"_s, u""_s).encode(), operation(u"B"_s, u"02/03/2025"_s).encode()});
    HistoryQuery::Result result;
    // Every later record is still read and numbered on from the matches before.
    QCOMPARE(selected(folder, u"01/01/2025"_s, u"31/12/2025"_s, &result), u"1:A 2:B"_s);
    QCOMPARE(result.outcome, HistoryQuery::Result::Complete);
    QCOMPARE(result.skipped, 3);
    QCOMPARE(result.matches, 2);
}

void TestHistoryQuery::fixtureHistory()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Storico_Operazioni.pro"),
                        folder + u"Storico_Operazioni.pro"_s));
    const QByteArray before = [&] {
        QFile f(folder + u"Storico_Operazioni.pro"_s);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QCOMPARE(selected(folder, u"01/01/2025"_s, u"31/12/2025"_s), u"1:C-03 2:B-01"_s);
    // The return date that is no date is not read: the operation belongs to its withdrawal date.
    QCOMPARE(selected(folder, u"01/01/2026"_s, u"31/12/2026"_s), u"1:T-07"_s);
    QCOMPARE(selected(folder, u"02/03/2025"_s, u"30/12/2025"_s), QString());
    QFile after(folder + u"Storico_Operazioni.pro"_s);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before); // read only
}

void TestHistoryQuery::missingOrEmptyHistory()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    HistoryQuery::Result result;
    QCOMPARE(selected(folder, u"01/01/2025"_s, u"31/12/2025"_s, &result), QString());
    QCOMPARE(result.outcome, HistoryQuery::Result::NoRecords);
    QVERIFY(QFile::exists(folder + u"Storico_Operazioni.pro"_s));
    // Bytes short of one record are no record either.
    writeHistory(folder, {QByteArray(HistoryRecord::Size - 1, 'x')});
    QCOMPARE(selected(folder, u"01/01/2025"_s, u"31/12/2025"_s, &result), QString());
    QCOMPARE(result.outcome, HistoryQuery::Result::NoRecords);
}

void TestHistoryQuery::sortByType_data()
{
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QStringList>("order"); // sequence numbers after the sort
    QTest::newRow("Tessera, Badge, Chiave")
        << QStringList{u"Tessera"_s, u"Badge"_s, u"Chiave"_s} << QStringList{u"2"_s, u"3"_s, u"1"_s};
    QTest::newRow("equal keys keep file order")
        << QStringList{u"badge"_s, u"Chiave"_s, u"Badge"_s, u"BADGE"_s} << QStringList{u"1"_s, u"3"_s, u"4"_s, u"2"_s};
    QTest::newRow("empty type first") << QStringList{u"Badge"_s, u""_s, u"Accesso"_s}
                                      << QStringList{u"2"_s, u"3"_s, u"1"_s};
    QTest::newRow("accented letters by the locale") << QStringList{u"Zona"_s, u"Émeraude"_s, u"Ettore"_s, u"Fabbrica"_s}
                                                    << QStringList{u"2"_s, u"3"_s, u"4"_s, u"1"_s};
}

void TestHistoryQuery::sortByType()
{
    QFETCH(QStringList, types);
    QFETCH(QStringList, order);
    StringGridModel::Rows rows(11);
    for (int i = 0; i < types.size(); ++i) {
        const QByteArray bytes = operation(u"P%1"_s.arg(i + 1), u"01/03/2025"_s, QString(), types[i]).encode();
        rows.append(i + 1, bytes.constData(), HistoryQuery::gridFields());
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    rows.sortByColumn(2, collator);

    StringGridModel grid({{u"N."_s, 60},
                          {u"C"_s, 1},
                          {u"T"_s, 1},
                          {u"U"_s, 1},
                          {u"L"_s, 1},
                          {u"P"_s, 1},
                          {u"PR"_s, 1},
                          {u"DR"_s, 1},
                          {u"OR"_s, 1},
                          {u"PC"_s, 1},
                          {u"DC"_s, 1},
                          {u"OC"_s, 1}});
    grid.setRows(std::move(rows));
    QStringList numbers;
    for (int r = 0; r < grid.rowCount(); ++r) {
        numbers << grid.cell(r, 0);
        // Every column moves with its row.
        QCOMPARE(grid.cell(r, 1), u"P"_s + grid.cell(r, 0));
        QCOMPARE(grid.cell(r, 2), types[grid.cell(r, 0).toInt() - 1]);
    }
    QCOMPARE(numbers, order);
}

// Between two queries of the same session the history file changes; the second query through the
// index must hand over exactly what a fresh whole read does.
void TestHistoryQuery::sessionIndexAgreesWithWholeRead_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("records appended") << u"append"_s;
    QTest::newRow("nothing changed") << u"none"_s;
    QTest::newRow("file cut shorter") << u"cut"_s;
    QTest::newRow("same size, other last record") << u"replace"_s;
    QTest::newRow("same size and last record, other middle record") << u"middle"_s;
    QTest::newRow("restored with its old time, other first record") << u"restored"_s;
    QTest::newRow("partial last record completed later") << u"partial"_s;
    QTest::newRow("damaged record appended") << u"damaged"_s;
    QTest::newRow("emptied then refilled") << u"empty"_s;
}

void TestHistoryQuery::sessionIndexAgreesWithWholeRead()
{
    QFETCH(QString, change);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString start = u"01/03/2025"_s, end = u"31/03/2025"_s;
    const QByteArray a = operation(u"A"_s, u"05/03/2025"_s).encode();
    const QByteArray b = operation(u"B"_s, u"05/04/2025"_s).encode();
    const QByteArray c = operation(u"C"_s, u"06/03/2025"_s).encode();
    const QByteArray d = operation(u"D"_s, u"07/03/2025"_s).encode();
    const QByteArray e = operation(u"E"_s, u"08/03/2025"_s).encode();
    writeHistory(folder, {a, b, c});

    HistoryQuery::Index index;
    QCOMPARE(selectedWith(&index, folder, start, end), selectedWith(nullptr, folder, start, end));
    QCOMPARE(selectedWith(&index, folder, start, end), u"1:A 2:C | 0 1"_s);

    if (change == u"append") {
        appendBytes(folder, d + b + e);
    } else if (change == u"cut") {
        writeHistory(folder, {a, b});
    } else if (change == u"replace") {
        // Same size, but its last record is now one of April: the March of the index no longer holds.
        writeHistory(folder, {a, b, operation(u"F"_s, u"05/04/2025"_s).encode()});
    } else if (change == u"middle" || change == u"restored") {
        // A backup put back: the same length and last record, another record in between. A copy
        // gets a new modification time; a copy that keeps the backup's time looks unchanged.
        const QString path = folder + u"Storico_Operazioni.pro"_s;
        const QDateTime before = QFileInfo(path).lastModified();
        if (change == u"middle")
            writeHistory(folder, {a, operation(u"B"_s, u"09/03/2025"_s).encode(), c});
        else
            writeHistory(folder, {operation(u"A"_s, u"05/04/2025"_s).encode(), b, c});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(change == u"middle" ? before.addSecs(2) : before, QFileDevice::FileModificationTime));
    } else if (change == u"partial") {
        appendBytes(folder, d.left(100));
        QCOMPARE(selectedWith(&index, folder, start, end), selectedWith(nullptr, folder, start, end));
        appendBytes(folder, d.mid(100));
    } else if (change == u"damaged") {
        appendBytes(folder, operation(u"X"_s, u"3x/03/2025"_s).encode() + d);
    } else if (change == u"empty") {
        writeHistory(folder, {});
        QCOMPARE(selectedWith(&index, folder, start, end), selectedWith(nullptr, folder, start, end));
        writeHistory(folder, {e, b, a});
    }
    const QString whole = selectedWith(nullptr, folder, start, end);
    QCOMPARE(selectedWith(&index, folder, start, end), whole);
    // Another period from the same index.
    QCOMPARE(selectedWith(&index, folder, u"01/04/2025"_s, u"30/04/2025"_s),
             selectedWith(nullptr, folder, u"01/04/2025"_s, u"30/04/2025"_s));
}

// After the first query, a later one reads the last known record and sixteen spread ones (to check
// them), the records of its period and the appended ones: nothing else.
void TestHistoryQuery::sessionIndexReadsOnlyPeriodAndAppended()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QList<QByteArray> records;
    for (int i = 0; i < 40; ++i)
        records << operation(u"R%1"_s.arg(i), QDate(2025, 1 + i % 4, 10).toString(u"dd/MM/yyyy"_s)).encode();
    writeHistory(folder, records);

    HistoryQuery::Index index;
    qint64 bytes = 0;
    RecordFile::readObserver = [&](qint64 n) { bytes += n; };
    const auto cleanup = qScopeGuard([] { RecordFile::readObserver = nullptr; });
    const QString march = selectedWith(&index, folder, u"01/03/2025"_s, u"31/03/2025"_s);
    QCOMPARE(bytes, 40 * HistoryRecord::Size);

    appendBytes(folder, operation(u"N1"_s, u"11/03/2025"_s).encode() + operation(u"N2"_s, u"11/05/2025"_s).encode());
    bytes = 0;
    const QString again = selectedWith(&index, folder, u"01/03/2025"_s, u"31/03/2025"_s);
    // The check of the last known record and of sixteen spread ones, the ten of March and the two
    // appended.
    QCOMPARE(bytes, (1 + 16 + 10 + 2) * HistoryRecord::Size);
    QCOMPARE(again, selectedWith(nullptr, folder, u"01/03/2025"_s, u"31/03/2025"_s));
    QVERIFY(again.startsWith(march.section(u" | "_s, 0, 0) + u" 11:N1"_s));
}

QTEST_MAIN(TestHistoryQuery)
#include "tst_HistoryQuery.moc"
