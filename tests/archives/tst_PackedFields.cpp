// Record bytes read without decoding: a field tested against a text, and grid rows (the chosen
// fields of a record packed one after another, each as its trimmed Windows-1252 bytes), placed
// by the layout tables and checked against records assembled from the hand-typed field tables
// (HandLayouts.h).

#include "HandLayouts.h"

#include "archives/PackedFields.h"
#include "archives/Win1252.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The fields of a packed row, as byte strings.
QList<QByteArray> unpacked(const std::vector<char>& packed, int count, size_t start = 0)
{
    QList<QByteArray> out;
    for (int i = 0; i < count; ++i)
        out << PackedFields::field(packed.data() + start, i).toByteArray();
    return out;
}

// A history record with each field set by hand at its typed place: length byte, then the bytes.
QByteArray historyBytes(const QList<std::pair<QString HistoryRecord::*, QByteArray>>& fields)
{
    QByteArray bytes(HistoryBytes, '\0');
    for (const auto& [member, text] : fields) {
        const auto& place = handFieldOf(member);
        bytes[place.offset] = char(text.size());
        bytes.replace(place.offset + 1, text.size(), text);
    }
    return bytes;
}

} // namespace

class TestPackedFields : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldInTheOrderChosen();
    void fieldBytes_data();
    void fieldBytes();
    void damagedLengthByteStaysInItsField();
    void rowsFollowOneAnother();
    void fieldIs_data();
    void fieldIs();
};

void TestPackedFields::everyFieldInTheOrderChosen()
{
    // Every history field with a text naming its place in the record ("f0" .. "f10"), chosen in the
    // reverse order.
    HistoryRecord r;
    QList<FieldPlace> places;
    for (int k = int(HistoryFields.size()) - 1; k >= 0; --k) {
        r.*HistoryFields[size_t(k)].member = u"f%1"_s.arg(k);
        places << HistoryRecord::place(HistoryFields[size_t(k)].member);
    }
    const QByteArray bytes = r.encode();
    const PackedFields fields(places);
    QCOMPARE(fields.count(), 11);
    std::vector<char> packed;
    fields.appendRow(bytes.constData(), packed);
    const QList<QByteArray> got = unpacked(packed, fields.count());
    for (int i = 0; i < fields.count(); ++i)
        QCOMPARE(got[i], "f" + QByteArray::number(10 - i));
}

void TestPackedFields::fieldBytes_data()
{
    QTest::addColumn<QByteArray>("stored"); // the field's text bytes in the record
    QTest::addColumn<QByteArray>("packed");
    QTest::newRow("as stored") << QByteArray("B-01") << QByteArray("B-01");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("blanks around cut off, inner kept")
        << QByteArray(" \t Anna  Bianchi \r\n") << QByteArray("Anna  Bianchi");
    QTest::newRow("only blanks") << QByteArray("  \t ") << QByteArray();
    QTest::newRow("a zero byte counts as blank") << QByteArray("\0x\0", 3) << QByteArray("x");
    // Trimming is on bytes: a non-breaking space (0xA0) is a character of the text, not a blank.
    QTest::newRow("Windows-1252 bytes, undecoded") << QByteArray("\xa0"
                                                                 "Citt\xe0 \x80 ")
                                                   << QByteArray("\xa0"
                                                                 "Citt\xe0 \x80");
}

void TestPackedFields::fieldBytes()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, packed);
    const QByteArray bytes = historyBytes(
        {{&HistoryRecord::Codice, "before"}, {&HistoryRecord::Luogo, stored}, {&HistoryRecord::Tipo, "after"}});
    const PackedFields fields(
        HistoryRecord::places({&HistoryRecord::Codice, &HistoryRecord::Luogo, &HistoryRecord::Tipo}));
    std::vector<char> row;
    fields.appendRow(bytes.constData(), row);
    QCOMPARE(unpacked(row, 3), (QList<QByteArray>{"before", packed, "after"}));
    // The grid's text of the field is the record layer's.
    QCOMPARE(Win1252::decode(packed.constData(), int(packed.size())), HistoryRecord::decode(bytes.constData()).Luogo);
}

void TestPackedFields::damagedLengthByteStaysInItsField()
{
    // The last field of the record with a length byte of 255 and text to its end: exactly the
    // record's bytes on the heap, so a read past the field leaves the buffer.
    const auto& last = handFieldOf(&HistoryRecord::OraRic);
    std::vector<char> record(size_t(HistoryBytes), 'x');
    record[size_t(last.offset)] = char(255);
    const PackedFields fields({HistoryRecord::place(&HistoryRecord::OraRic)});
    std::vector<char> row;
    fields.appendRow(record.data(), row);
    QCOMPARE(unpacked(row, 1), QList<QByteArray>{QByteArray(last.capacity, 'x')});
}

void TestPackedFields::rowsFollowOneAnother()
{
    // Rows appended to one store, each found again from where it starts.
    const PackedFields fields(HistoryRecord::places({&HistoryRecord::Codice, &HistoryRecord::DataRit}));
    std::vector<char> store;
    std::vector<size_t> starts;
    for (const char* code : {"A-1", "", "C-333"}) {
        starts.push_back(store.size());
        fields.appendRow(
            historyBytes({{&HistoryRecord::Codice, code}, {&HistoryRecord::DataRit, "07/03/2025"}}).constData(), store);
    }
    QCOMPARE(unpacked(store, 2, starts[0]), (QList<QByteArray>{"A-1", "07/03/2025"}));
    QCOMPARE(unpacked(store, 2, starts[1]), (QList<QByteArray>{"", "07/03/2025"}));
    QCOMPARE(unpacked(store, 2, starts[2]), (QList<QByteArray>{"C-333", "07/03/2025"}));
    // Per field a length byte and the text, nothing else.
    QCOMPARE(store.size(), size_t((1 + 3 + 1 + 10) + (1 + 0 + 1 + 10) + (1 + 5 + 1 + 10)));
}

QTEST_GUILESS_MAIN(TestPackedFields)
void TestPackedFields::fieldIs_data()
{
    QTest::addColumn<QByteArray>("stored"); // the state's bytes in the record
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("is");
    QTest::newRow("as stored") << QByteArray("Disponibile") << u"Disponibile"_s << true;
    QTest::newRow("blanks and zero bytes around") << QByteArray(" \t\0Disponibile\r\n", 17) << u"Disponibile"_s << true;
    QTest::newRow("letter case counts") << QByteArray("disponibile") << u"Disponibile"_s << false;
    QTest::newRow("longer") << QByteArray("Disponibile 2") << u"Disponibile"_s << false;
    QTest::newRow("shorter") << QByteArray("Disponibil") << u"Disponibile"_s << false;
    QTest::newRow("empty field, empty text") << QByteArray(" ") << QString() << true;
    QTest::newRow("empty field, a text") << QByteArray() << u"No"_s << false;
    QTest::newRow("a code-page letter") << QByteArray("Citt\xe0") << u"Citt\u00e0"_s << true;
    // Texts no decoded field can be: blanks around, or a letter the code page lacks ("?" stored).
    QTest::newRow("a text with blanks around") << QByteArray("No") << u" No"_s << false;
    QTest::newRow("a letter the code page lacks") << QByteArray("Ci?") << u"Ci\u0107"_s << false;
}

void TestPackedFields::fieldIs()
{
    // The test on the bytes tells what comparing the decoded field tells.
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    QFETCH(bool, is);
    QByteArray bytes(PassBytes, '\0');
    const auto& place = handFieldOf(&PassRecord::Stato);
    bytes[place.offset] = char(stored.size());
    bytes.replace(place.offset + 1, stored.size(), stored);
    QCOMPARE(PassRecord::FieldIs(&PassRecord::Stato, text)(bytes.constData()), is);
    QCOMPARE(PassRecord::decode(bytes.constData()).Stato == text, is);
}

#include "tst_PackedFields.moc"
