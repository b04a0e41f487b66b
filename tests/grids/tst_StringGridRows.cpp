// The rows a string grid keeps for a large file: packed in blocks of a fixed room, each row found
// again whole wherever a block ends, and unchanged by sorting.

#include "archives/CardFile.h"
#include "archives/PackedFields.h"
#include "archives/PassRecord.h"
#include "grids/StringGridModel.h"

#include <QCollator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestStringGridRows : public QObject
{
    Q_OBJECT

private slots:
    void rowsAcrossBlocks();
    void refillKeepsNoOldRow();
    void rowsOfAFileReadInParts();
};

void TestStringGridRows::rowsAcrossBlocks()
{
    // Rows of different lengths, several megabytes in all, so that many blocks fill up and each
    // ends at a different place in a row.
    const PackedFields fields(PassRecord::places({&PassRecord::Codice, &PassRecord::Note, &PassRecord::Tipo}));
    const int count = 20000;
    const auto code = [](int i) { return u"P%1"_s.arg(i, 5, 10, QChar(u'0')); };
    const auto note = [](int i) { return QString(1 + i % 230, QChar(u'a' + i % 26)); };
    StringGridModel::Rows rows(3);
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        PassRecord card;
        card.Codice = code(i);
        card.Note = note(i);
        card.Tipo = i % 2 ? u"Badge"_s : u"Chiave"_s;
        rows.append(i + 1, card.encode().constData(), fields);
    }
    QCOMPARE(rows.size(), count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(rows.text(i, 1), code(i));
        QCOMPARE(rows.text(i, 2), note(i));
    }

    // Sorted by type, each row keeps its own cells: the badges (odd numbers) first, in file order.
    QCollator collator;
    rows.sortByColumn(3, collator);
    StringGridModel grid({{u"N."_s, 60}, {u"C"_s, 1}, {u"N"_s, 1}, {u"T"_s, 1}});
    grid.setRows(std::move(rows));
    for (int r = 0; r < count; ++r) {
        const int i = r < count / 2 ? 2 * r + 1 : 2 * (r - count / 2);
        QCOMPARE(grid.cell(r, 0), QString::number(i + 1));
        QCOMPARE(grid.cell(r, 1), code(i));
        QCOMPARE(grid.cell(r, 2), note(i));
        QCOMPARE(grid.cell(r, 3), i % 2 ? u"Badge"_s : u"Chiave"_s);
    }
}

void TestStringGridRows::refillKeepsNoOldRow()
{
    // A grid filled again through takeRows() and clear() writes into the blocks of the first
    // filling: longer rows, so that they end in other places of other blocks than before, then
    // fewer rows than blocks held. Every cell is the new one, an edit of the first filling is gone.
    const PackedFields fields(PassRecord::places({&PassRecord::Codice, &PassRecord::Note}));
    const auto fill = [&](StringGridModel::Rows& rows, int count, int noteLength) {
        for (int i = 0; i < count; ++i) {
            PassRecord card;
            card.Codice = u"R%1-%2"_s.arg(noteLength).arg(i);
            card.Note = QString(1 + (i * 7 + noteLength) % noteLength, QChar(u'a' + i % 26));
            rows.append(i + 1, card.encode().constData(), fields);
        }
    };
    const auto check = [&](const StringGridModel& grid, int count, int noteLength) {
        QCOMPARE(grid.rowCount(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(grid.cell(i, 0), QString::number(i + 1));
            QCOMPARE(grid.cell(i, 1), u"R%1-%2"_s.arg(noteLength).arg(i));
            QCOMPARE(grid.cell(i, 2), QString(1 + (i * 7 + noteLength) % noteLength, QChar(u'a' + i % 26)));
        }
    };

    StringGridModel grid({{u"N."_s, 60}, {u"C"_s, 1}, {u"N"_s, 1, true}});
    StringGridModel::Rows first(2);
    fill(first, 12000, 90);
    grid.setRows(std::move(first));
    QVERIFY(grid.setData(grid.index(5, 2), u"modificata"_s));

    for (const auto& [count, noteLength] : {std::pair{9000, 250}, std::pair{3, 40}, std::pair{15000, 120}}) {
        StringGridModel::Rows rows = grid.takeRows();
        QCOMPARE(grid.rowCount(), 0);
        rows.clear();
        QCOMPARE(rows.size(), 0);
        fill(rows, count, noteLength);
        grid.setRows(std::move(rows));
        check(grid, count, noteLength);
    }
}

void TestStringGridRows::rowsOfAFileReadInParts()
{
    // Card files read in parts at once into the rows of a grid filled again and again: every row
    // in file order, numbered by its card, with its own cells wherever its part's blocks lay, the
    // rows there before kept first; an edit reaches the row edited and no other.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u'/';
    const PackedFields fields(PassRecord::places({&PassRecord::Codice, &PassRecord::Note}));
    const auto code = [](int count, int i) { return u"F%1-%2"_s.arg(count).arg(i); };
    const auto note = [](int count, int i) { return QString(1 + (i * 7 + count) % 230, QChar(u'a' + i % 26)); };
    const auto write = [&](int count) {
        QFile out(folder + QLatin1StringView(CardFile::FileName));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        for (int i = 0; i < count; ++i) {
            PassRecord card;
            card.Codice = code(count, i);
            card.Note = note(count, i);
            if (out.write(card.encode()) != PassRecord::Size)
                return false;
        }
        return true;
    };
    StringGridModel grid({{u"N."_s, 60}, {u"C"_s, 1}, {u"N"_s, 1, true}});
    for (const auto& [count, before] : {std::pair{9000, 0}, std::pair{15000, 0}, std::pair{3, 0}, std::pair{6000, 2}}) {
        QVERIFY(write(count));
        StringGridModel::Rows rows = grid.takeRows();
        rows.clear();
        PassRecord earlier;
        earlier.Codice = u"prima"_s;
        for (int i = 0; i < before; ++i)
            rows.append(i + 1, earlier.encode().constData(), fields);
        CardFile file(folder);
        QVERIFY(file.open());
        QVERIFY(rows.appendRecords(file.raw(), fields));
        grid.setRows(std::move(rows));
        QCOMPARE(grid.rowCount(), before + count);
        for (int r = 0; r < before; ++r)
            QCOMPARE(grid.cell(r, 1), u"prima"_s);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(grid.cell(before + i, 0), QString::number(i + 1));
            QCOMPARE(grid.cell(before + i, 1), code(count, i));
            QCOMPARE(grid.cell(before + i, 2), note(count, i));
        }
        const int edited = before + count * 3 / 4;
        QVERIFY(grid.setData(grid.index(edited, 2), u"modificata"_s));
        QCOMPARE(grid.cell(edited, 2), u"modificata"_s);
        if (edited + 1 < grid.rowCount())
            QCOMPARE(grid.cell(edited + 1, 2), note(count, edited + 1 - before));
        QCOMPARE(grid.cell(edited - 1, 2), edited - 1 < before ? QString() : note(count, edited - 1 - before));
    }
}

QTEST_GUILESS_MAIN(TestStringGridRows)
#include "tst_StringGridRows.moc"
