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
// The length of that line, and the line written at `out`, which has room for it: a list writes
// its lines straight where it keeps them.
qsizetype length(Form form, const PassRecord& card);
void write(Form form, const PassRecord& card, QChar* out);
// The line of a card made from its record bytes (PassRecord::Size), the same text build() makes
// from the decoded card: a scan writes the lines of many cards without decoding their fields.
class RecordLine
{
public:
    RecordLine(Form form, const char* record);
    qsizetype length() const { return m_length; }
    // Writes the line at `out`, which has room for length() characters.
    void write(QChar* out) const;

private:
    Form m_form;
    QByteArrayView m_code, m_type, m_use, m_last; // trimmed, still in Windows-1252
    qsizetype m_length;
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

} // namespace PassLine
