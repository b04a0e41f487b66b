// Byte layouts of the pass card and the history record, pinned against records assembled here
// from the hand-typed field tables (HandLayouts.h), in both directions.

#include "HandLayouts.h"

#include <QTest>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum Fill
{
    Empty,
    Partial,
    Full
};

int lengthFor(Fill fill, int capacity)
{
    return fill == Empty ? 0 : fill == Partial ? (capacity + 1) / 2 : capacity;
}

// A text that differs from its neighbours' at every position, so a shifted offset shows.
QByteArray textFor(int field, int length)
{
    QByteArray t;
    for (int j = 0; j < length; ++j)
        t.append(char('A' + (field * 5 + j) % 26));
    return t;
}

template <typename Record> void checkDecode(Fill fill)
{
    const auto& fields = fieldsOf<Record>();
    // Every byte that is not a length byte or text starts as a leftover that readers ignore.
    QByteArray bytes(bytesOf<Record>(), char(0xAA));
    for (int i = 0; i < int(fields.size()); ++i) {
        const QByteArray text = textFor(i, lengthFor(fill, fields[i].capacity));
        bytes[fields[i].offset] = char(text.size());
        bytes.replace(fields[i].offset + 1, text.size(), text);
    }
    QCOMPARE(bytes.size(), bytesOf<Record>());
    const Record r = Record::decode(bytes.constData());
    for (int i = 0; i < int(fields.size()); ++i) {
        const QString want = QString::fromLatin1(textFor(i, lengthFor(fill, fields[i].capacity)));
        QVERIFY2(r.*fields[i].member == want, qPrintable(u"%1: '%2' instead of '%3'"_s.arg(
                                                  QLatin1StringView(fields[i].name), r.*fields[i].member, want)));
    }
}

template <typename Record> void checkEncode(Fill fill)
{
    const auto& fields = fieldsOf<Record>();
    Record r;
    for (int i = 0; i < int(fields.size()); ++i)
        r.*fields[i].member = QString::fromLatin1(textFor(i, lengthFor(fill, fields[i].capacity)));
    const QByteArray bytes = r.encode();
    QCOMPARE(bytes.size(), bytesOf<Record>());
    for (int i = 0; i < int(fields.size()); ++i) {
        const QByteArray text = textFor(i, lengthFor(fill, fields[i].capacity));
        QVERIFY2(uchar(bytes[fields[i].offset]) == text.size(), fields[i].name);
        QVERIFY2(bytes.mid(fields[i].offset + 1, text.size()) == text, fields[i].name);
    }
}

// Every length byte damaged to `length`: each field must still yield its own bytes only.
template <typename Record> void checkDamagedLengths(int length)
{
    const auto& fields = fieldsOf<Record>();
    // Exactly the record's size on the heap: a read past the last field leaves the buffer.
    std::vector<char> bytes(size_t(bytesOf<Record>()));
    for (int i = 0; i < int(fields.size()); ++i) {
        const int capacity = fields[i].capacity;
        bytes[size_t(fields[i].offset)] = char(std::min(length < 0 ? capacity + 1 : length, 255));
        std::fill_n(bytes.begin() + fields[i].offset + 1, capacity, char('a' + i % 26));
    }
    const Record r = Record::decode(bytes.data());
    for (int i = 0; i < int(fields.size()); ++i) {
        const QString want(fields[i].capacity, QChar(u'a' + i % 26));
        QVERIFY2(r.*fields[i].member == want, fields[i].name);
    }
}

template <typename Record>
void checkConversion(const QString& field, const QString& input, const QByteArray& stored, const QString& readBack)
{
    const auto& fields = fieldsOf<Record>();
    const auto f = std::find_if(fields.begin(), fields.end(),
                                [&](const auto& entry) { return QLatin1StringView(entry.name) == field; });
    QVERIFY(f != fields.end());
    Record r;
    r.*f->member = input;
    const QByteArray bytes = r.encode();
    QCOMPARE(int(uchar(bytes[f->offset])), stored.size());
    QCOMPARE(bytes.mid(f->offset + 1, stored.size()), stored);
    QCOMPARE(Record::decode(bytes.constData()).*f->member, readBack);
}

} // namespace

class TestRecordLayouts : public QObject
{
    Q_OBJECT

private slots:
    void handTablesCoverTheRecords()
    {
        // The typed tables themselves: contiguous, no gaps, ending at the record size.
        auto check = [](const auto& fields, int size) {
            int next = 0;
            for (const auto& f : fields) {
                if (f.offset != next)
                    return false;
                next = f.offset + f.capacity + 1;
            }
            return next == size;
        };
        QVERIFY(check(PassFields, PassBytes));
        QVERIFY(check(HistoryFields, HistoryBytes));
        QCOMPARE(PassRecord::Size, PassBytes);
        QCOMPARE(HistoryRecord::Size, HistoryBytes);
    }

    void placesFollowTheHandTables()
    {
        // Every field's place as the layout table gives it to the readers of raw record bytes.
        auto check = [](const auto& fields, const auto& placeOf) {
            for (const auto& f : fields)
                QVERIFY2((placeOf(f.member) == FieldPlace{f.offset, f.capacity}), f.name);
        };
        check(PassFields, [](QString PassRecord::*m) { return PassRecord::place(m); });
        check(HistoryFields, [](QString HistoryRecord::*m) { return HistoryRecord::place(m); });
        // A list of places keeps the order asked for.
        QCOMPARE(
            PassRecord::places({&PassRecord::Note, &PassRecord::Codice}),
            (QList<FieldPlace>{{handFieldOf(&PassRecord::Note).offset, handFieldOf(&PassRecord::Note).capacity},
                               {handFieldOf(&PassRecord::Codice).offset, handFieldOf(&PassRecord::Codice).capacity}}));
    }

    void layouts_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::addColumn<int>("fill");
        for (bool pass : {true, false}) {
            const char* record = pass ? "pass" : "history";
            QTest::addRow("%s, texts at capacity", record) << pass << int(Full);
            QTest::addRow("%s, shorter texts and leftovers", record) << pass << int(Partial);
            QTest::addRow("%s, empty fields and leftovers", record) << pass << int(Empty);
        }
    }

    void layouts()
    {
        QFETCH(bool, pass);
        QFETCH(int, fill);
        if (pass) {
            checkDecode<PassRecord>(Fill(fill));
            checkEncode<PassRecord>(Fill(fill));
        } else {
            checkDecode<HistoryRecord>(Fill(fill));
            checkEncode<HistoryRecord>(Fill(fill));
        }
    }

    void damagedLengthByteReadAsCapacity_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::addColumn<int>("length");
        QTest::newRow("pass, 255") << true << 255;
        QTest::newRow("pass, capacity + 1") << true << -1;
        QTest::newRow("history, 255") << false << 255;
        QTest::newRow("history, capacity + 1") << false << -1;
    }

    void damagedLengthByteReadAsCapacity()
    {
        QFETCH(bool, pass);
        QFETCH(int, length);
        if (pass)
            checkDamagedLengths<PassRecord>(length);
        else
            checkDamagedLengths<HistoryRecord>(length);
    }

    void fieldConversion_data()
    {
        QTest::addColumn<bool>("pass");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("readBack");

        const QString thirty = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"_s;
        QString place;
        for (int i = 0; i < 300; ++i)
            place.append(QChar(u'a' + i % 26));

        QTest::newRow("Codice keeps 20 of 30")
            << true << u"Codice"_s << thirty << thirty.left(20).toLatin1() << thirty.left(20);
        QTest::newRow("history Codice of 20 whole")
            << false << u"Codice"_s << thirty.left(20) << thirty.left(20).toLatin1() << thirty.left(20);
        QTest::newRow("history Luogo keeps 250 of 300")
            << false << u"Luogo"_s << place << place.left(250).toLatin1() << place.left(250);
        QTest::newRow("blanks trimmed before the cut") << true << u"Codice"_s << u"   "_s + thirty.left(20) + u"\t "_s
                                                       << thirty.left(20).toLatin1() << thirty.left(20);
        QTest::newRow("outer blanks and controls dropped, inner kept")
            << true << u"Persone"_s << u" \t Anna  Bianchi \r\n"_s << QByteArray("Anna  Bianchi") << u"Anna  Bianchi"_s;
        QTest::newRow("lost flag Sì") << true << u"Smarrita"_s << u"Sì"_s << QByteArray::fromHex("53EC") << u"Sì"_s;
        QTest::newRow("lost flag No") << true << u"Smarrita"_s << u"No"_s << QByteArray::fromHex("4E6F") << u"No"_s;
        QTest::newRow("euro sign") << true << u"Note"_s << u"€ 5"_s << QByteArray("\x80 5") << u"€ 5"_s;
        QTest::newRow("no fit becomes ?")
            << true << u"Tipo"_s << u"Badge 中 ok"_s << QByteArray("Badge ? ok") << u"Badge ? ok"_s;
        QTest::newRow("best fit") << false << u"PersonaRit"_s << u"Łukasz Bădescu"_s << QByteArray("Lukasz Badescu")
                                  << u"Lukasz Badescu"_s;
    }

    void fieldConversion()
    {
        QFETCH(bool, pass);
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        if (pass)
            checkConversion<PassRecord>(field, input, stored, readBack);
        else
            checkConversion<HistoryRecord>(field, input, stored, readBack);
    }

    void withdrawalState()
    {
        QCOMPARE(PassValues::withdrawalState(u"  Anna Bianchi\t"_s, u" 03/11/2026"_s, u"09:05 "_s),
                 u"Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05"_s);
        // A long name: the state is cut to its field when stored.
        PassRecord card;
        card.Stato = PassValues::withdrawalState(QString(300, u'x'), u"03/11/2026"_s, u"09:05"_s);
        const QByteArray bytes = card.encode();
        QCOMPARE(int(uchar(bytes[129])), 250);
        QCOMPARE(PassRecord::decode(bytes.constData()).Stato, card.Stato.left(250));
    }
};

QTEST_GUILESS_MAIN(TestRecordLayouts)
#include "tst_RecordLayouts.moc"
