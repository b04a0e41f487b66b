// The pass line, the list order and the find walk shared by the pass lists and the card search.

#include "archives/CardFile.h"
#include "lists/PassLine.h"
#include "lists/PassLineModel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestPassLine : public QObject
{
    Q_OBJECT

private slots:
    void lineForms_data();
    void lineForms();
    void lineFromRecordBytes_data();
    void lineFromRecordBytes();
    void order();
    void linesOfManyLists();
    void containsLowered_data();
    void containsLowered();
    void orderOfManyLines();
    void orderOfCardLines();
    void ranksCompareAsCharacters();
    void find_data();
    void find();
    void findNeedsNoSelection();
};

namespace {

PassRecord card(const QString& codice, const QString& tipo, const QString& utilizzo, const QString& note,
                const QString& stato = u"Disponibile"_s)
{
    PassRecord c;
    c.Codice = codice;
    c.Tipo = tipo;
    c.Utilizzo = utilizzo;
    c.Note = note;
    c.Stato = stato;
    return c;
}

QString spaces(int n)
{
    return QString(n, u' ');
}

} // namespace

void TestPassLine::lineForms_data()
{
    QTest::addColumn<PassRecord>("card");
    QTest::addColumn<PassLine::Form>("form");
    QTest::addColumn<QString>("line");

    const QString code20 = u"ABCDEFGHIJ0123456789"_s;
    const QString type45 = u"Tessera magnetica per il parcheggio sotterrane"_s.left(45);
    QTest::newRow("code of 20 then type of 45 cut at 30")
        << card(code20, type45, u"Varco"_s, u"-"_s) << PassLine::Form::Long
        << u"Cod. ABCDEFGHIJ0123456789  Tipo: Tessera magnetica per il parch  Uso: Varco"_s + spaces(30) +
               u"  Note: -"_s;
    QTest::newRow("short code padded, empty fields")
        << card(u"B-1"_s, QString(), QString(), QString()) << PassLine::Form::Long
        << u"Cod. B-1"_s + spaces(17) + u"  Tipo: "_s + spaces(30) + u"  Uso: "_s + spaces(35) + u"  Note: "_s;
    QTest::newRow("code of 25 shows its first 20")
        << card(u"1234567890123456789012345"_s, u"Badge"_s, u"Ingresso"_s, QString()) << PassLine::Form::Long
        << u"Cod. 12345678901234567890  Tipo: Badge"_s + spaces(25) + u"  Uso: Ingresso"_s + spaces(27) + u"  Note: "_s;
    const QString note200 = QString(u"Nota lunga [con parentesi] "_s).repeated(8).left(200);
    QTest::newRow("note of 200 kept whole") << card(u"N"_s, u"T"_s, u"U"_s, note200) << PassLine::Form::Long
                                            << u"Cod. N"_s + spaces(19) + u"  Tipo: T"_s + spaces(29) + u"  Uso: U"_s +
                                                   spaces(34) + u"  Note: "_s + note200;
    QTest::newRow("short form ends with the whole state")
        << card(u"T-07"_s, u"Tessera"_s, u"Magazzino"_s, u"ignored"_s,
                u"Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05"_s)
        << PassLine::Form::Short
        << u"Cod. T-07"_s + spaces(16) + u"  Tipo: Tessera"_s + spaces(23) +
               u"  Stato: Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05"_s;
}

void TestPassLine::lineForms()
{
    QFETCH(PassRecord, card);
    QFETCH(PassLine::Form, form);
    QFETCH(QString, line);
    QCOMPARE(PassLine::build(form, card), line);
    // A scan that decodes only the fields of the form gives the line of the whole card as stored.
    const QByteArray stored = card.encode();
    PassRecord some;
    PassRecord::decodeInto(stored.constData(), some, PassLine::fields(form));
    QCOMPARE(PassLine::build(form, some), PassLine::build(form, PassRecord::decode(stored.constData())));
}

// A field of a record written byte by byte: its length byte, then its bytes.
static void putField(QByteArray& record, QString PassRecord::*member, int length, const QByteArray& bytes)
{
    const FieldPlace place = PassRecord::place(member);
    record[place.offset] = char(uchar(length));
    std::copy(bytes.begin(), bytes.end(), record.begin() + place.offset + 1);
}

void TestPassLine::lineFromRecordBytes_data()
{
    QTest::addColumn<QByteArray>("record");

    // Records as files hold them, the fields' bytes written by hand.
    const QByteArray empty(PassRecord::Size, '\0');
    QByteArray blanks = empty;
    putField(blanks, &PassRecord::Codice, 12, "\t  B-01 x\x01  ");
    putField(blanks, &PassRecord::Tipo, 9, " \x1f Badge\r\n");
    putField(blanks, &PassRecord::Note, 6, "\0a\0b \x7f");
    QTest::newRow("blanks and control bytes around and inside") << blanks;
    QByteArray high = empty;
    putField(high, &PassRecord::Codice, 5, "\x80\x81\x8d\x9f\xa0");
    putField(high, &PassRecord::Utilizzo, 4, "Caf\xe9");
    putField(high, &PassRecord::Note, 3, "\x93x\x94");
    putField(high, &PassRecord::Stato, 5, "\xff\xc8\x85 ");
    QTest::newRow("bytes above 0x7f") << high;
    QByteArray wide = empty;
    putField(wide, &PassRecord::Codice, 20, QByteArray(20, 'C'));
    putField(wide, &PassRecord::Tipo, 50, QByteArray(49, 'T') + 'U');
    putField(wide, &PassRecord::Utilizzo, 50, QByteArray(36, 'u') + "  end");
    putField(wide, &PassRecord::Note, 250, QByteArray(250, 'n'));
    QTest::newRow("fields at their capacities, cut in the line") << wide;
    QByteArray damaged = empty;
    putField(damaged, &PassRecord::Codice, 200, "P-1234567890123456789");
    putField(damaged, &PassRecord::Note, 255, QByteArray(250, 'z'));
    putField(damaged, &PassRecord::Stato, 255, QByteArray(250, 's'));
    QTest::newRow("length bytes beyond the capacities") << damaged;
    QByteArray leftovers = empty;
    putField(leftovers, &PassRecord::Stato, 60, "Ritirato da Anna Bianchi in data 03/11/2026 alle ore 09:05");
    putField(leftovers, &PassRecord::Stato, 11, "Disponibile");
    putField(leftovers, &PassRecord::Tipo, 3, "Key-old-bytes");
    QTest::newRow("bytes of older texts after the length") << leftovers;
}

void TestPassLine::lineFromRecordBytes()
{
    // The line written from the bytes is the line of the decoded card, in both forms; so is the
    // line read back from what a list keeps of it, with its code and its order key.
    QFETCH(QByteArray, record);
    const PassRecord card = PassRecord::decode(record.constData());
    for (const PassLine::Form form : {PassLine::Form::Long, PassLine::Form::Short}) {
        const QString expected = PassLine::build(form, card);
        const PassLine::RecordLine fromBytes(form, record.constData());
        QString line(fromBytes.length(), u'#');
        fromBytes.write(line.data());
        QCOMPARE(line, expected);

        QByteArray kept(fromBytes.keptSize() + 1, '#');
        fromBytes.keep(kept.data());
        QCOMPARE(kept.back(), '#');
        const PassLine::RecordLine fromKept = PassLine::RecordLine::kept(form, kept.constData());
        QCOMPARE(fromKept.text(), expected);
        QCOMPARE(fromKept.code(), PassLine::codeOf(expected));
        const QString key = PassLine::orderKey(expected);
        for (const qsizetype from : {qsizetype(0), qsizetype(5), qsizetype(20), key.size() - 3, key.size()}) {
            std::array<char16_t, 64> chars{};
            const qsizetype n = fromKept.orderChars(from, chars.data(), qsizetype(chars.size()));
            QCOMPARE(QStringView(chars.data(), n), QStringView(key).mid(from, 64));
        }
    }
}

void TestPassLine::order()
{
    PassLineModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    // Letter case of a to z does not count; other letters compare by their code, so "É" (U+00C9)
    // comes after every ASCII letter; a line that begins a longer one comes first; equal lines
    // keep their file order.
    model.setEntries({{u"Cod. b2"_s, 1},
                      {u"Cod. É"_s, 2},
                      {u"Cod. a"_s, 3},
                      {u"Cod. B1"_s, 4},
                      {u"Cod. A"_s, 5},
                      {u"Cod. b1"_s, 6},
                      {u"Cod. Z"_s, 7},
                      {u"Cod. B1 x"_s, 8}});
    QStringList lines;
    QList<qint64> positions;
    for (int row = 0; row < model.rowCount(); ++row) {
        lines << model.data(model.index(row)).toString();
        positions << model.data(model.index(row), PassLineModel::PositionRole).toLongLong();
    }
    QCOMPARE(lines, (QStringList{u"Cod. a"_s, u"Cod. A"_s, u"Cod. B1"_s, u"Cod. b1"_s, u"Cod. B1 x"_s, u"Cod. b2"_s,
                                 u"Cod. Z"_s, u"Cod. É"_s}));
    QCOMPARE(positions, (QList<qint64>{3, 5, 4, 6, 8, 1, 7, 2}));
    QCOMPARE(model.longestLine(), 9);

    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestPassLine::orderOfManyLines()
{
    // Lines alike for long stretches, letters of both cases, lines that begin others, characters
    // below the blank and above the ASCII ones: the model's order is that of the keys, with equal
    // keys in file order.
    const QList<QChar> alphabet = {u'a', u'A',     u'b',          u'B',          u' ',
                                   u'0', QChar(0), QChar(0x00C9), QChar(0xD83D), QChar(0xFFFF)};
    QRandomGenerator random(7);
    QList<PassLineModel::Entry> entries;
    for (qint64 position = 1; position <= 3000; ++position) {
        QString line = random.bounded(4) ? u"Cod. P-"_s : u"Cod. "_s;
        // Now and then a long stretch that differs in letter case only.
        if (random.bounded(3) == 0) {
            for (int i = int(random.bounded(12)); i > 0; --i)
                line += random.bounded(2) ? u'a' : u'A';
        }
        for (int i = int(random.bounded(8)); i > 0; --i)
            line += alphabet[int(random.bounded(qsizetype(alphabet.size())))];
        entries.append({line, position});
    }
    QList<PassLineModel::Entry> expected = entries;
    std::stable_sort(expected.begin(), expected.end(), [](const auto& x, const auto& y) {
        return PassLine::orderKey(x.line) < PassLine::orderKey(y.line);
    });

    PassLineModel model;
    model.setEntries(entries);
    QCOMPARE(model.rowCount(), int(expected.size()));
    for (int row = 0; row < model.rowCount(); ++row) {
        QCOMPARE(model.lineAt(row), expected[row].line);
        QCOMPARE(model.positionAt(row), expected[row].position);
    }
    // Lines that share no beginning at all, and a single line.
    model.setEntries({{u"b"_s, 1}, {u""_s, 2}, {u"B"_s, 3}, {u"a"_s, 4}});
    QCOMPARE(model.lines(), (QStringList{u""_s, u"a"_s, u"b"_s, u"B"_s}));
    model.setEntries({{u"x"_s, 9}});
    QCOMPARE(model.lines(), QStringList{u"x"_s});
}

void TestPassLine::orderOfCardLines()
{
    // The lines of cards as a scan gathers them from records: codes alike for more than the
    // characters sorted on first, letters of both cases, blanks, control bytes and bytes above
    // 0x7f (whose characters do not follow the bytes' order: 0x80 is U+20AC, 0x9F is U+0178),
    // fields longer than the line shows them. The model lists them in the order of their texts'
    // keys, equal ones in file order, in either form.
    const QByteArray alphabet("aAbB 0\x01\x80\x9f\xc9\xe9\xff", 12);
    QRandomGenerator random(11);
    const auto text = [&](int most) {
        QByteArray t;
        for (int i = int(random.bounded(most + 1)); i > 0; --i)
            t += alphabet[int(random.bounded(alphabet.size()))];
        return t;
    };
    QList<QByteArray> records; // enough for a list that sorts its halves apart
    for (int i = 0; i < 9000; ++i) {
        QByteArray record(PassRecord::Size, '\0');
        const QByteArray code =
            text(2) + (random.bounded(3) ? QByteArray("-0000000000000") : QByteArray("-")) + text(8);
        putField(record, &PassRecord::Codice, int(code.size()), code);
        const QByteArray type = random.bounded(2) ? QByteArray("Badge") : text(34);
        putField(record, &PassRecord::Tipo, int(type.size()), type);
        const QByteArray use = text(40), note = text(6), state = text(6);
        putField(record, &PassRecord::Utilizzo, int(use.size()), use);
        putField(record, &PassRecord::Note, int(note.size()), note);
        putField(record, &PassRecord::Stato, int(state.size()), state);
        records.append(record);
    }
    // Also read from a card file in parts at once, a filter leaving out about a third.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u'/';
    {
        QFile out(folder + QLatin1StringView(CardFile::FileName));
        QVERIFY(out.open(QIODevice::WriteOnly));
        for (const QByteArray& record : records)
            QCOMPARE(out.write(record), record.size());
    }
    const auto listed = [](const char* record) { return PassRecord::decode(record).Codice.size() % 3 != 0; };
    for (const auto& [form, fromFile] : {std::pair{PassLine::Form::Long, false},
                                         {PassLine::Form::Short, false},
                                         {PassLine::Form::Long, true},
                                         {PassLine::Form::Short, true}}) {
        QList<PassLineModel::Entry> expected;
        PassLineModel::Lines lines;
        for (qsizetype i = 0; i < records.size(); ++i) {
            if (fromFile && !listed(records[i].constData()))
                continue;
            expected.append({PassLine::build(form, PassRecord::decode(records[i].constData())), i + 1});
            if (!fromFile)
                lines.append(form, records[i].constData(), i + 1);
        }
        if (fromFile) {
            CardFile file(folder);
            QVERIFY(file.open());
            QVERIFY(lines.appendCards(file.raw(), form, [&](int part, const char* record) {
                if (part < 0 || part >= RecordFile::MostParts)
                    qFatal("part %d out of range", part);
                return listed(record);
            }));
        }
        std::stable_sort(expected.begin(), expected.end(), [](const auto& x, const auto& y) {
            return PassLine::orderKey(x.line) < PassLine::orderKey(y.line);
        });
        PassLineModel model;
        model.setLines(std::move(lines));
        QCOMPARE(model.rowCount(), int(expected.size()));
        qsizetype longest = 0;
        for (int row = 0; row < model.rowCount(); ++row) {
            QCOMPARE(model.lineAt(row), expected[row].line);
            QCOMPARE(model.positionAt(row), expected[row].position);
            longest = qMax(longest, expected[row].line.size());
        }
        QCOMPARE(model.longestLine(), longest);
    }
}

void TestPassLine::ranksCompareAsCharacters()
{
    // Every byte of the code page as a one-letter code: the ranks of two codes compare as their
    // key characters do, both where the ranks are read straight from the code and past it.
    QList<std::pair<char16_t, quint8>> keys; // per byte: the key character, its rank
    for (int b = 0; b < 256; ++b) {
        QByteArray record(PassRecord::Size, '\0');
        putField(record, &PassRecord::Codice, 1, QByteArray(1, char(b)));
        putField(record, &PassRecord::Stato, 1, QByteArray(1, char(b)));
        const PassLine::RecordLine line(PassLine::Form::Short, record.constData());
        char16_t key = 0;
        quint8 rank = 0, stateRank = 0;
        QCOMPARE(line.orderChars(5, &key, 1), 1);
        QCOMPARE(line.orderRanks(5, &rank, 1), 1);
        QCOMPARE(line.orderRanks(line.length() - 1, &stateRank, 1), 1);
        QCOMPARE(stateRank, rank);
        QVERIFY(rank > 0);
        keys.append({key, rank});
    }
    for (const auto& [keyA, rankA] : keys) {
        for (const auto& [keyB, rankB] : keys) {
            if ((keyA < keyB) != (rankA < rankB) || (keyA == keyB) != (rankA == rankB))
                QFAIL(qPrintable(u"U+%1 and U+%2"_s.arg(keyA, 4, 16, QChar(u'0')).arg(keyB, 4, 16, QChar(u'0'))));
        }
    }
}

void TestPassLine::linesOfManyLists()
{
    // Lists of several megabytes, each over many blocks, a few lines longer than a block, filled,
    // emptied and filled again in turns: a list emptied hands its room to the next one, and the
    // lines of the lists still shown stay as they were.
    const auto makeLines = [](int list, int count) {
        QList<PassLineModel::Entry> entries;
        for (int i = 0; i < count; ++i) {
            const qsizetype length = i % 997 == 0 ? 1'100'000 : 100 + (i * 31 + list) % 300;
            entries.append(
                {u"Cod. L%1-%2 "_s.arg(list).arg(i, 6, 10, QChar(u'0')).leftJustified(length, QChar(u'a' + list)),
                 i + 1});
        }
        return entries;
    };
    const auto check = [](const PassLineModel& model, const QList<PassLineModel::Entry>& entries) {
        QCOMPARE(model.rowCount(), int(entries.size()));
        for (int row = 0; row < model.rowCount(); ++row) {
            QCOMPARE(model.lineAt(row), entries[row].line); // already in the list order
            QCOMPARE(model.positionAt(row), entries[row].position);
        }
    };
    PassLineModel first, second;
    const QList<PassLineModel::Entry> a = makeLines(1, 9000), b = makeLines(2, 12000), c = makeLines(3, 7000);
    first.setEntries(a);
    second.setEntries(b);
    first.clear();
    first.setEntries(c);
    check(second, b);
    check(first, c);
    second.setEntries(a);
    check(first, c);
    check(second, a);
}

void TestPassLine::containsLowered_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lowered");
    QTest::addColumn<bool>("found");

    QTest::newRow("letters of any case") << u"Cassetto 2"_s << u"cass"_s << true;
    QTest::newRow("at the very end") << u"Tessera BADGE"_s << u"badge"_s << true;
    QTest::newRow("a false start before the match") << u"aaAab"_s << u"aab"_s << true;
    QTest::newRow("longer than the text") << u"Badg"_s << u"badge"_s << false;
    QTest::newRow("accented letters compare exactly") << u"CHIAVÈ"_s << u"chiavè"_s << false;
    QTest::newRow("accented letter as stored") << u"Chiavè"_s << u"iavè"_s << true;
    QTest::newRow("only a to z fold") << u"[BADGE]"_s << u"{badge}"_s << false;
    QTest::newRow("blanks count") << u"Tessera RFID"_s << u"a r"_s << true;
    QTest::newRow("an empty field") << QString() << u"x"_s << false;
}

void TestPassLine::containsLowered()
{
    QFETCH(QString, text);
    QFETCH(QString, lowered);
    QFETCH(bool, found);
    QCOMPARE(PassLine::containsLowered(text, lowered), found);
    QCOMPARE(PassLine::asciiLower(text).contains(lowered, Qt::CaseSensitive), found);
}

// A press of "Trova" is one step: the text in the find field and the row expected selected after it.
using Steps = QList<std::pair<QString, int>>;

void TestPassLine::find_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Steps>("steps");

    const QStringList lines{u"Cod. A1  Tipo: Badge"_s,   u"Cod. A2  Tipo: Chiave"_s, u"Cod. A3  Tipo: Badge"_s,
                            u"Cod. A4  Tipo: Tessera"_s, u"Cod. A5  Tipo: badge"_s,  u"Cod. A6  Tipo: Chiavè"_s};
    QTest::newRow("same text again visits every match and wraps")
        << lines << Steps{{u"badge"_s, 0}, {u"badge"_s, 2}, {u"badge"_s, 4}, {u"badge"_s, 0}, {u"badge"_s, 2}};
    QTest::newRow("a new text starts again from the top")
        << lines << Steps{{u"BADGE"_s, 0}, {u"badge"_s, 2}, {u"chiave"_s, 1}, {u"badge"_s, 0}};
    QTest::newRow("tipo in any case finds the first line, then walks on")
        << lines << Steps{{u"TiPo"_s, 0}, {u"tipo"_s, 1}, {u"TIPO"_s, 2}};
    QTest::newRow("found only on the selected line keeps it") << lines << Steps{{u"tessera"_s, 3}, {u"tessera"_s, 3}};
    QTest::newRow("accented letters compare exactly") << lines << Steps{{u"CHIAVÈ"_s, 0}, {u"chiavè"_s, 5}};
    QTest::newRow("no match leaves the selection")
        << lines << Steps{{u"chiave"_s, 1}, {u"nessuno"_s, 1}, {u"nessuno"_s, 1}};
    QTest::newRow("an empty text matches nothing") << lines << Steps{{u"a4"_s, 3}, {QString(), 3}, {QString(), 3}};
    QTest::newRow("trailing space is part of the text") << lines << Steps{{u"a3 "_s, 2}, {u"badge "_s, 2}};
}

void TestPassLine::find()
{
    QFETCH(QStringList, lines);
    QFETCH(Steps, steps);

    PassLineModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<PassLineModel::Entry> entries;
    for (qsizetype i = 0; i < lines.size(); ++i)
        entries.append({lines[i], i + 1});
    model.setEntries(entries);

    QString remembered;
    int selected = -1;
    for (const auto& [typed, expected] : steps) {
        selected = model.find(selected, typed, remembered);
        QCOMPARE(selected, expected);
    }
}

void TestPassLine::findNeedsNoSelection()
{
    PassLineModel model;
    model.setEntries({{u"alfa"_s, 1}, {u"beta"_s, 2}});
    QString remembered = u"beta"_s;
    // No line selected and the same text as remembered: the walk starts at the first line.
    QCOMPARE(model.find(-1, u"beta"_s, remembered), 1);
    // Nothing found with no line selected: the first line ends up selected.
    remembered.clear();
    QCOMPARE(model.find(-1, u"gamma"_s, remembered), 0);
    QCOMPARE(remembered, u"gamma"_s);
    QCOMPARE(model.find(-1, u"x"_s, remembered), 0);
    QCOMPARE(PassLineModel().find(-1, u"x"_s, remembered), -1);
}

QTEST_GUILESS_MAIN(TestPassLine)
#include "tst_PassLine.moc"
