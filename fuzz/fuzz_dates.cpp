// The date and month readers fed with arbitrary bytes and texts: the bytes of a field and the same
// characters as a text give the same date, which is the date a plain reading with QDate gives, and
// a date written out reads back as itself; a month text names the month whose name it is.

#include "fuzz/FuzzSupport.h"
#include "shell/Dates.h"

#include <QDate>
#include <QStringList>

namespace {

using Fuzz::check;
using namespace Qt::StringLiterals;

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

QStringView trimmedBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Day/month/year as the operator writes them, read the plain way: three groups of ASCII digits
// (at most 2, 2 and 4) between "/", blanks around the whole, a date QDate holds from year 1 on.
// The date as yyyymmdd, or 0.
int plainDateNumber(QStringView text)
{
    const QList<QStringView> parts = trimmedBlanks(text).split(u'/');
    if (parts.size() != 3)
        return 0;
    const int most[] = {2, 2, 4};
    int value[3];
    for (int i = 0; i < 3; ++i) {
        if (parts[i].isEmpty() || parts[i].size() > most[i])
            return 0;
        for (QChar c : parts[i])
            if (c.unicode() < '0' || c.unicode() > '9')
                return 0;
        value[i] = parts[i].toInt();
    }
    const QDate date(value[2], value[1], value[0]);
    if (value[2] < 1 || !date.isValid())
        return 0;
    return value[2] * 10000 + value[1] * 100 + value[0];
}

void checkText(const QString& text)
{
    const int expected = plainDateNumber(text);
    const std::optional<QDate> date = Dates::parseDate(text);
    check(date.has_value() == (expected != 0));
    check(Dates::isValidDate(text) == (expected != 0));
    if (date) {
        check(Dates::dateNumber(*date) == expected);
        // Written out and read again, from the text and from its bytes.
        const QString written = Dates::formatDate(*date);
        check(written.size() == 10);
        check(Dates::parseDate(written) == date);
        const QByteArray bytes = written.toLatin1();
        check(Dates::dateNumber(bytes.constData(), bytes.size()) == expected);
    }
}

// Equal when they differ at most in the case of ASCII letters.
bool equalButAsciiCase(QStringView a, QStringView b)
{
    return Fuzz::asciiLower(a.toString()) == Fuzz::asciiLower(b.toString());
}

void checkMonth(const QString& text)
{
    const QString number = Dates::monthNumber(text);
    if (number.isEmpty()) {
        for (const QString& name : Dates::monthNames())
            check(!equalButAsciiCase(trimmedBlanks(text), name));
        return;
    }
    check(number.size() == 2);
    const int month = number.toInt();
    check(month >= 1 && month <= 12);
    check(equalButAsciiCase(trimmedBlanks(text), Dates::monthName(month)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The bytes of a field as the history query reads them, and as a text of one character per
    // byte (in the code page of the files the digits, "/" and the blanks are these bytes).
    const char* bytes = reinterpret_cast<const char*>(data);
    const QString latin = QString::fromLatin1(bytes, qsizetype(size));
    check(Dates::dateNumber(bytes, qsizetype(size)) == plainDateNumber(latin));
    checkText(latin);
    checkMonth(latin);

    // The bytes as UTF-16 code units: every character of a text field.
    const QString units(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    checkText(units);
    checkMonth(units);

    // A month's name with its ASCII letters in any case and blanks around it.
    FuzzedDataProvider in(data, size);
    const int month = in.ConsumeIntegralInRange(1, 12);
    QString name = Dates::monthName(month);
    for (QChar& c : name)
        if (in.ConsumeBool())
            c = c.toUpper();
    name = QString(in.ConsumeIntegralInRange(0, 3), u' ') + name + QString(in.ConsumeIntegralInRange(0, 3), u'\t');
    check(Dates::monthNumber(name) == u"%1"_s.arg(month, 2, 10, QChar(u'0')));
    return 0;
}
