#include "shell/Dates.h"

using namespace Qt::StringLiterals;

namespace Dates {

namespace {

QStringList numberItems(int first, int last)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << u"%1"_s.arg(n, 2, 10, QChar(u'0'));
    return items;
}

QString twoDigits(int n)
{
    return u"%1"_s.arg(n, 2, 10, QChar(u'0'));
}

// Leading and trailing characters with a code of 32 or below go, as everywhere in the program.
QString trimmed(const QString& text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from).unicode() <= 32)
        ++from;
    while (to > from && text.at(to - 1).unicode() <= 32)
        --to;
    return text.mid(from, to - from);
}

QString asciiLower(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

// A run of 1 to `maxDigits` ASCII digits as a number; -1 otherwise.
int number(QStringView digits, int maxDigits)
{
    if (digits.isEmpty() || digits.size() > maxDigits)
        return -1;
    int value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
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
    const QString wanted = asciiLower(trimmed(monthText));
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
    const QString t = trimmed(text);
    const QList<QStringView> parts = QStringView(t).split(DateSeparator);
    if (parts.size() != 3)
        return std::nullopt;
    const int d = number(parts.at(0), 2);
    const int m = number(parts.at(1), 2);
    const int y = number(parts.at(2), 4);
    if (d < 1 || m < 1 || m > 12 || y < 1 || y > 9999)
        return std::nullopt;
    // QDate's own leap rule is the Gregorian one for every year from 1 on.
    if (d > QDate(y, m, 1).daysInMonth())
        return std::nullopt;
    return QDate(y, m, d);
}

bool isValidDate(const QString& text)
{
    return parseDate(text).has_value();
}

} // namespace Dates
