// Conversion between screen text and the single-byte Windows-1252 text of the record fields.

#include "archives/Win1252.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The characters of the bytes 0x80 to 0x9F, typed from the code page's chart; the five unassigned
// bytes stand for the control characters of the same number.
const QString HighChart = u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"_s;

} // namespace

class TestWin1252 : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("plain") << u"Badge"_s << -1 << QByteArray("Badge");
        QTest::newRow("codes up to 32 trimmed at both ends") << u"\u0001\u001f \tA B\n\r "_s << -1 << QByteArray("A B");
        QTest::newRow("code 33 is not trimmed") << u"!A!"_s << -1 << QByteArray("!A!");
        QTest::newRow("inner blanks kept") << u" a  \t b "_s << -1 << QByteArray("a  \t b");
        QTest::newRow("only blanks") << u" \t\r\n"_s << -1 << QByteArray();
        QTest::newRow("30 into 20") << u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"_s << 20 << QByteArray("ABCDEFGHIJKLMNOPQRST");
        QTest::newRow("cut after trimming") << u"   abc"_s << 2 << QByteArray("ab");
        QTest::newRow("capacity 0") << u"abc"_s << 0 << QByteArray();
        QTest::newRow("euro") << u"€"_s << -1 << QByteArray("\x80");
        QTest::newRow("ì stays ì") << u"Sì"_s << -1 << QByteArray::fromHex("53EC");
        QTest::newRow("Latin-1 letters") << u"àèéìòùÀÉç°ÿ"_s << -1 << QByteArray::fromHex("E0E8E9ECF2F9C0C9E7B0FF");
        QTest::newRow("ł best fit") << u"ł"_s << -1 << QByteArray("l");
        QTest::newRow("Ł best fit") << u"Łódź"_s << -1
                                    << QByteArray("L\xF3"
                                                  "dz");
        QTest::newRow("ă best fit") << u"Bădescu"_s << -1 << QByteArray("Badescu");
        QTest::newRow("ș ț best fit") << u"Ștefan Țițeica ș"_s << -1 << QByteArray("Stefan Titeica s");
        QTest::newRow("đ ı ő best fit") << u"đıő"_s << -1 << QByteArray("dio");
        QTest::newRow("no fit") << u"a中b"_s << -1 << QByteArray("a?b");
        QTest::newRow("Greek and Cyrillic") << u"ΩЖ"_s << -1 << QByteArray("??");
        QTest::newRow("emoji is one ?") << u"x😀y"_s << -1 << QByteArray("x?y");
        QTest::newRow("emoji counts once in the cut") << u"ab😀cd"_s << 3 << QByteArray("ab?");
        QTest::newRow("lone surrogate") << u"a"_s + QChar(0xD800) + u"b"_s << -1 << QByteArray("a?b");
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(int, capacity);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Win1252::encode(text, capacity), bytes);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");

        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("codes up to 32 trimmed") << QByteArray(" \x01"
                                                              "ab c\x20\x00",
                                                              8)
                                                << u"ab c"_s;
        QTest::newRow("inner control kept") << QByteArray("a\x01"
                                                          "b")
                                            << u"a\u0001b"_s;
        QTest::newRow("no-break space is not a blank") << QByteArray("\xA0x\xA0") << u"\u00A0x\u00A0"_s;
        QTest::newRow("Sì") << QByteArray::fromHex("53EC") << u"Sì"_s;
        QTest::newRow("high Latin-1") << QByteArray::fromHex("E8FF") << u"èÿ"_s;
        QTest::newRow("euro in a note") << QByteArray("\x80 5 di cauzione") << u"€ 5 di cauzione"_s;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Win1252::decode(bytes.constData(), int(bytes.size())), text);
    }

    void bytes80To9F()
    {
        QCOMPARE(HighChart.size(), 32);
        for (int i = 0; i < 32; ++i) {
            const char byte = char(0x80 + i);
            QCOMPARE(Win1252::decode(&byte, 1), QString(HighChart[i]));
            QCOMPARE(Win1252::encode(QString(HighChart[i])), QByteArray(1, byte));
        }
    }

    void everyByteSurvivesDecodeAndEncode()
    {
        // Inside a text, so that no byte is at an end where trimming applies.
        for (int b = 0; b < 256; ++b) {
            const QByteArray bytes = QByteArray("a") + char(b) + 'a';
            const QString text = Win1252::decode(bytes.constData(), 3);
            QCOMPARE(text.size(), 3);
            QCOMPARE(Win1252::encode(text), bytes);
        }
    }

    void representable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("representable");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("code page letters") << u"Sì € Œ ÿ"_s << true;
        QTest::newRow("best fit only") << u"ł"_s << false;
        QTest::newRow("no fit") << u"中"_s << false;
        QTest::newRow("emoji") << u"😀"_s << false;
    }

    void representable()
    {
        QFETCH(QString, text);
        QFETCH(bool, representable);
        QCOMPARE(Win1252::representable(text), representable);
    }
};

QTEST_GUILESS_MAIN(TestWin1252)
#include "tst_Win1252.moc"
