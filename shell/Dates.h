#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// How the screens write and read dates and times: day/month/four-digit year with "/", two-digit
// hours ":" two-digit minutes, months by their Italian names. Every conversion goes through here
// with an explicit format, so nothing depends on the desktop's regional settings.
namespace Dates {

// The short date format as the operator knows it, and the same pattern for QDate::toString.
inline constexpr char16_t ShortDateFormat[] = u"dd/mm/yyyy";
inline constexpr char16_t QtDateFormat[] = u"dd/MM/yyyy";
inline constexpr QChar DateSeparator = u'/';
inline constexpr QChar DecimalSeparator = u',';

// "Gennaio" .. "Dicembre", the items of every month drop-down.
const QStringList& monthNames();
// The month number "01".."12" of a month text (trimmed, ASCII letters lower-cased, compared with
// "gennaio".."dicembre"); empty when it names no month.
QString monthNumber(const QString& monthText);
// The month name of a number 1..12; empty otherwise.
QString monthName(int month);

// Items of the day, hour and minute drop-downs: "01".."31", "00".."23", "00".."59".
const QStringList& dayItems();
const QStringList& hourItems();
const QStringList& minuteItems();

// "07/03/2025" and "09:05".
QString formatDate(const QDate& date);
QString formatTime(const QTime& time);
// The pieces of a moment, each zero-padded: "dd", "mm", "yyyy", "hh", "nn".
QString day(const QDateTime& moment);
QString month(const QDateTime& moment);
QString year(const QDateTime& moment);
QString hour(const QDateTime& moment);
QString minute(const QDateTime& moment);

// A date text in day/month/year order: numbers separated by "/", blanks around the whole allowed;
// a day that exists in that month of that year (Gregorian leap years) and a year 1..9999. The
// empty text is not a date.
std::optional<QDate> parseDate(const QString& text);
bool isValidDate(const QString& text);

// The same reading over the bytes of a record field as the file holds them (in Windows-1252 the
// digits, "/" and the blanks are the ASCII bytes), without making a text: the date as the number
// yyyymmdd, which orders as the dates do, or 0 when the bytes are not a date.
int dateNumber(const char* bytes, qsizetype length);
// The number yyyymmdd of a valid date (of any year QDate holds, hence 64 bits).
inline qint64 dateNumber(const QDate& date)
{
    return qint64(date.year()) * 10000 + date.month() * 100 + date.day();
}

} // namespace Dates
