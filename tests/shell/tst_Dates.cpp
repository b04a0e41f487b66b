// Dates as the screens write and read them.

#include "shell/Dates.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestDates : public QObject
{
    Q_OBJECT
private slots:
    void validity_data();
    void validity();
    void monthNumbers_data();
    void monthNumbers();
    void itemLists();
    void formatting();
};

void TestDates::validity_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid QDate: not a date

    QTest::newRow("leap year") << u"29/02/2024"_s << QDate(2024, 2, 29);
    QTest::newRow("common year") << u"29/02/2025"_s << QDate();
    QTest::newRow("century, not leap") << u"29/02/2100"_s << QDate();
    QTest::newRow("400th year, leap") << u"29/02/2000"_s << QDate(2000, 2, 29);
    QTest::newRow("31 April") << u"31/04/2025"_s << QDate();
    QTest::newRow("31 December") << u"31/12/2025"_s << QDate(2025, 12, 31);
    QTest::newRow("day 0") << u"00/03/2025"_s << QDate();
    QTest::newRow("month 13") << u"01/13/2025"_s << QDate();
    QTest::newRow("year 1") << u"01/01/0001"_s << QDate(1, 1, 1);
    QTest::newRow("year 0") << u"01/01/0000"_s << QDate();
    QTest::newRow("year 9999") << u"31/12/9999"_s << QDate(9999, 12, 31);
    QTest::newRow("five-digit year") << u"01/01/10000"_s << QDate();
    QTest::newRow("single digits") << u"7/3/2025"_s << QDate(2025, 3, 7);
    QTest::newRow("blanks around") << u" 07/03/2025 "_s << QDate(2025, 3, 7);
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("month without number") << u"07//2025"_s << QDate();
    QTest::newRow("other separator") << u"07-03-2025"_s << QDate();
    QTest::newRow("letters") << u"07/Marzo/2025"_s << QDate();
    QTest::newRow("sign") << u"+7/03/2025"_s << QDate();
    QTest::newRow("extra part") << u"07/03/2025/1"_s << QDate();
}

void TestDates::validity()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(Dates::isValidDate(text), date.isValid());
    const auto parsed = Dates::parseDate(text);
    QCOMPARE(parsed.has_value(), date.isValid());
    if (parsed)
        QCOMPARE(*parsed, date);
    // The same reading over the bytes of a record field, as the history query does it.
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(qint64(Dates::dateNumber(bytes.constData(), bytes.size())), date.isValid() ? Dates::dateNumber(date) : 0);
}

void TestDates::monthNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::newRow("as listed") << u"Gennaio"_s << u"01"_s;
    QTest::newRow("upper case, blanks") << u"  MARZO \t"_s << u"03"_s;
    QTest::newRow("lower case") << u"dicembre"_s << u"12"_s;
    QTest::newRow("mixed") << u"sEtTeMbRe"_s << u"09"_s;
    QTest::newRow("cut short") << u"Marz"_s << QString();
    QTest::newRow("English") << u"March"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("number") << u"03"_s << QString();
}

void TestDates::monthNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, number);
    QCOMPARE(Dates::monthNumber(text), number);
}

void TestDates::itemLists()
{
    QCOMPARE(Dates::monthNames(),
             (QStringList{u"Gennaio"_s, u"Febbraio"_s, u"Marzo"_s, u"Aprile"_s, u"Maggio"_s, u"Giugno"_s, u"Luglio"_s,
                          u"Agosto"_s, u"Settembre"_s, u"Ottobre"_s, u"Novembre"_s, u"Dicembre"_s}));
    QCOMPARE(Dates::dayItems().size(), 31);
    QCOMPARE(Dates::dayItems().first(), u"01"_s);
    QCOMPARE(Dates::dayItems().last(), u"31"_s);
    QCOMPARE(Dates::hourItems().size(), 24);
    QCOMPARE(Dates::hourItems().first(), u"00"_s);
    QCOMPARE(Dates::hourItems().last(), u"23"_s);
    QCOMPARE(Dates::minuteItems().size(), 60);
    QCOMPARE(Dates::minuteItems().at(5), u"05"_s);
    QCOMPARE(Dates::minuteItems().last(), u"59"_s);
    QCOMPARE(Dates::monthName(3), u"Marzo"_s);
    QCOMPARE(Dates::monthName(13), QString());
}

void TestDates::formatting()
{
    const QDateTime moment(QDate(2025, 3, 7), QTime(9, 5, 0));
    QCOMPARE(Dates::formatDate(moment.date()), u"07/03/2025"_s);
    QCOMPARE(Dates::formatTime(moment.time()), u"09:05"_s);
    QCOMPARE(Dates::day(moment) + Dates::month(moment) + Dates::year(moment) + Dates::hour(moment) +
                 Dates::minute(moment),
             u"070320250905"_s);
    QCOMPARE(Dates::formatDate(QDate(12, 1, 2)), u"02/01/0012"_s);
    // What is written reads back.
    QCOMPARE(Dates::parseDate(Dates::formatDate(QDate(2024, 2, 29))), QDate(2024, 2, 29));
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_Dates.moc"
