#include "shell/Dates.h"

#include "archives/Win1252.h"

using namespace Qt::StringLiterals;

namespace Dates {

namespace {

QString twoDigits(int n)
{
    return u"%1"_s.arg(n, 2, 10, QChar(u'0'));
}

QStringList numberItems(int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << twoDigits(n);
    return items;
}

QString asciiLower(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

// The value of one to `maxDigits` decimal digits from `p` up to the end or the next "/", which
// `p` is left on; -1 when they are not that.
template <typename Char> int number(const Char*& p, const Char* end, int maxDigits)
{
    int value = 0, digits = 0;
    for (; p < end && *p != Char(DateSeparator.unicode()); ++p, ++digits) {
        if (*p < Char('0') || *p > Char('9') || digits == maxDigits)
            return -1;
        value = value * 10 + int(*p - Char('0'));
    }
    return digits == 0 ? -1 : value;
}

// Day/month/year numbers separated by "/", blanks (code 32 or below) around the whole; a day that
// exists in that month of that year and a year 1..9999. Works on the characters of a text as on
// the bytes of a field, so the history query reads its dates without making texts.
template <typename Char> int dateNumber(const Char* text, qsizetype length)
{
    const auto digit = [](Char c) { return c >= Char('0') && c <= Char('9'); };
    const Char slash = Char(DateSeparator.unicode());
    int d, m, y;
    if (length == 10 && text[2] == slash && text[5] == slash && digit(text[0]) && digit(text[1]) && digit(text[3]) &&
        digit(text[4]) && digit(text[6]) && digit(text[7]) && digit(text[8]) && digit(text[9])) {
        // The form every program's date has, "dd/mm/yyyy", read at once.
        const auto v = [&](int i) { return int(text[i] - Char('0')); };
        d = v(0) * 10 + v(1);
        m = v(3) * 10 + v(4);
        y = v(6) * 1000 + v(7) * 100 + v(8) * 10 + v(9);
    } else {
        const Char* p = text;
        const Char* end = text + length;
        while (p < end && *p <= Char(32))
            ++p;
        while (end > p && end[-1] <= Char(32))
            --end;
        d = number(p, end, 2);
        if (d < 0 || p == end || *p++ != slash)
            return 0;
        m = number(p, end, 2);
        if (m < 0 || p == end || *p++ != slash)
            return 0;
        y = number(p, end, 4);
        if (y < 0 || p != end)
            return 0;
    }
    if (d < 1 || m < 1 || m > 12 || y < 1 || y > 9999)
        return 0;
    // The Gregorian leap rule, which QDate follows for every year from 1 on.
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > Days[m - 1] + (m == 2 && leap ? 1 : 0))
        return 0;
    return y * 10000 + m * 100 + d;
}

} // namespace

const QStringList& monthNames()
{
    static const QStringList names{u"Gennaio"_s,   u"Febbraio"_s, u"Marzo"_s,    u"Aprile"_s,
                                   u"Maggio"_s,    u"Giugno"_s,   u"Luglio"_s,   u"Agosto"_s,
                                   u"Settembre"_s, u"Ottobre"_s,  u"Novembre"_s, u"Dicembre"_s};
    return names;
}

QString monthNumber(const QString& monthText)
{
    const QString wanted = asciiLower(Win1252::trimmed(monthText).toString());
    const QStringList& names = monthNames();
    for (int i = 0; i < names.size(); ++i)
        if (asciiLower(names.at(i)) == wanted)
            return twoDigits(i + 1);
    return QString();
}

QString monthName(int month)
{
    return month >= 1 && month <= 12 ? monthNames().at(month - 1) : QString();
}

const QStringList& dayItems()
{
    static const QStringList items = numberItems(1, 31);
    return items;
}

const QStringList& hourItems()
{
    static const QStringList items = numberItems(0, 23);
    return items;
}

const QStringList& minuteItems()
{
    static const QStringList items = numberItems(0, 59);
    return items;
}

QString formatDate(const QDate& date)
{
    return twoDigits(date.day()) + DateSeparator + twoDigits(date.month()) + DateSeparator +
           u"%1"_s.arg(date.year(), 4, 10, QChar(u'0'));
}

QString formatTime(const QTime& time)
{
    return twoDigits(time.hour()) + u':' + twoDigits(time.minute());
}

QString day(const QDateTime& moment)
{
    return twoDigits(moment.date().day());
}

QString month(const QDateTime& moment)
{
    return twoDigits(moment.date().month());
}

QString year(const QDateTime& moment)
{
    return u"%1"_s.arg(moment.date().year(), 4, 10, QChar(u'0'));
}

QString hour(const QDateTime& moment)
{
    return twoDigits(moment.time().hour());
}

QString minute(const QDateTime& moment)
{
    return twoDigits(moment.time().minute());
}

std::optional<QDate> parseDate(const QString& text)
{
    const int n = dateNumber(text.utf16(), text.size());
    if (n == 0)
        return std::nullopt;
    return QDate(n / 10000, n / 100 % 100, n % 100);
}

int dateNumber(const char* bytes, qsizetype length)
{
    return dateNumber(reinterpret_cast<const uchar*>(bytes), length);
}

bool isValidDate(const QString& text)
{
    return parseDate(text).has_value();
}

} // namespace Dates
