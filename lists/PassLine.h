#pragma once

#include "archives/PassRecord.h"

#include <QByteArrayView>
#include <QString>

// The fixed-width text line that stands for one card in the pass lists and in the search results,
// and the text rules of those lists (order, letter case, find).
namespace PassLine {

enum class Form
{
    // "Cod. " code/20 "  Tipo: " type/30 "  Uso: " use/35 "  Note: " note
    Long,
    // "Cod. " code/20 "  Tipo: " type/30 "  Stato: " state
    Short,
};

// The text padded on the right with spaces to `width` characters, or cut to its first `width`.
QString fitted(const QString& text, qsizetype width);

// The line of a card, from its screen texts (already decoded and trimmed by the record layer).
QString build(Form form, const PassRecord& card);
// The line of a card made from its record bytes (PassRecord::Size), the same text build() makes
// from the decoded card: a scan writes the lines of many cards without decoding their fields.
// What the line shows of the fields can also be kept, still in Windows-1252, in a fraction of the
// text's room (keep), and read back from there (kept): a list keeps the lines of every card that
// way and writes the texts of those it shows.
class RecordLine
{
public:
    RecordLine(Form form, const char* record);
    // The line from the bytes that keep() wrote.
    static RecordLine kept(Form form, const char* bytes);

    qsizetype length() const { return m_length; }
    // Writes the line at `out`, which has room for length() characters.
    void write(QChar* out) const;
    QString text() const;
    // The code, as codeOf(text()) gives it.
    QString code() const;

    // The number of bytes keep() writes, and their writing at `out`.
    qsizetype keptSize() const;
    void keep(char* out) const;

    // The characters of orderKey(text()) from `from`, at most `count` of them, at `out`; returns
    // how many were written (fewer at the end of the line).
    qsizetype orderChars(qsizetype from, char16_t* out, qsizetype count) const;
    // The same as ranks of one byte each, from 1, which compare as the characters do: the lines of
    // cards have only characters of the code page, fewer than 256 once the letters' case is gone.
    qsizetype orderRanks(qsizetype from, quint8* out, qsizetype count) const;

private:
    RecordLine() = default;
    // Calls piece(literal, bytes, width) for each piece of the line in turn: a literal text, or
    // the bytes of a field padded with blanks to `width` (the last field is not padded: width -1).
    template <typename Piece> void eachPiece(Piece&& piece) const;
    // Calls put(i, byte) with the Windows-1252 byte of each of the line's characters from
    // `from`, at most `count` of them (the literals are ASCII); returns how many.
    template <typename Emit> qsizetype eachByte(qsizetype from, qsizetype count, Emit&& put) const;

    Form m_form = Form::Long;
    QByteArrayView m_code, m_type, m_use, m_last; // trimmed, cut to what the line shows
    qsizetype m_length = 0;
};

// The code of the card a line stands for, without the blanks that pad it.
QString codeOf(const QString& line);
// The fields of a card that its line in a form shows: all that a scan needs to decode for it.
PassRecord::FieldSet fields(Form form);

// Only the ASCII letters change case; accented and other letters stay as they are.
QString asciiLower(QString text);
QString asciiUpper(QString text);

// Whether asciiLower(text) contains `lowered` (a text already so lowered), without making the
// lowered text: the search tests a field of every card.
bool containsLowered(QStringView text, QStringView lowered);

// The order of the lists: character by character by code, after turning a to z into upper case;
// a line that is the beginning of a longer one comes first.
QString orderKey(const QString& line);
// The character of an order key for the character `c` of a line.
char16_t orderChar(char16_t c);

// Every card's line begins with these characters.
inline constexpr QStringView Start = u"Cod. ";

} // namespace PassLine
