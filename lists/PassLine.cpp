#include "lists/PassLine.h"

#include "archives/Win1252.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace PassLine {

namespace {
// The widths of the padded fields of the lines.
constexpr qsizetype CodeWidth = 20, TypeWidth = 30, UseWidth = 35;
} // namespace

QString fitted(const QString& text, qsizetype width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), u' ');
}

qsizetype length(Form form, const PassRecord& card)
{
    return form == Form::Long ? 5 + 20 + 8 + 30 + 7 + 35 + 8 + card.Note.size()
                              : 5 + 20 + 8 + 30 + 9 + card.Stato.size();
}

void write(Form form, const PassRecord& card, QChar* out)
{
    // The fields come from the record layer already trimmed of blanks and control characters.
    const auto put = [&](QStringView text) { out = std::copy(text.begin(), text.end(), out); };
    // fitted(text, width), written in place.
    const auto putFitted = [&](const QString& text, qsizetype width) {
        const qsizetype kept = qMin(text.size(), width);
        put(QStringView(text).first(kept));
        out = std::fill_n(out, width - kept, QChar(u' '));
    };
    put(u"Cod. ");
    putFitted(card.Codice, CodeWidth);
    put(u"  Tipo: ");
    putFitted(card.Tipo, TypeWidth);
    if (form == Form::Long) {
        put(u"  Uso: ");
        putFitted(card.Utilizzo, UseWidth);
        put(u"  Note: ");
        put(card.Note);
    } else {
        put(u"  Stato: ");
        put(card.Stato);
    }
}

QString build(Form form, const PassRecord& card)
{
    // Written in one piece, at its final size.
    QString line(length(form, card), Qt::Uninitialized);
    write(form, card, line.data());
    return line;
}

RecordLine::RecordLine(Form form, const char* record) : m_form(form)
{
    // Trimming the bytes keeps exactly the characters the decoded field keeps, one per byte.
    static const FieldPlace code = PassRecord::place(&PassRecord::Codice);
    static const FieldPlace type = PassRecord::place(&PassRecord::Tipo);
    static const FieldPlace use = PassRecord::place(&PassRecord::Utilizzo);
    static const FieldPlace note = PassRecord::place(&PassRecord::Note);
    static const FieldPlace state = PassRecord::place(&PassRecord::Stato);
    const auto field = [&](FieldPlace place) { return Win1252::trimmedBytes(FieldCodec::textBytes(record, place)); };
    m_code = field(code);
    m_type = field(type);
    if (form == Form::Long) {
        m_use = field(use);
        m_last = field(note);
        m_length = 5 + CodeWidth + 8 + TypeWidth + 7 + UseWidth + 8 + m_last.size();
    } else {
        m_last = field(state);
        m_length = 5 + CodeWidth + 8 + TypeWidth + 9 + m_last.size();
    }
}

void RecordLine::write(QChar* out) const
{
    const auto put = [&](QStringView text) { out = std::copy(text.begin(), text.end(), out); };
    const auto putField = [&](QByteArrayView bytes, qsizetype width) {
        const qsizetype kept = qMin(bytes.size(), width);
        Win1252::decodeTo(out, bytes.first(kept));
        out = std::fill_n(out + kept, width - kept, QChar(u' '));
    };
    put(u"Cod. ");
    putField(m_code, CodeWidth);
    put(u"  Tipo: ");
    putField(m_type, TypeWidth);
    if (m_form == Form::Long) {
        put(u"  Uso: ");
        putField(m_use, UseWidth);
        put(u"  Note: ");
    } else {
        put(u"  Stato: ");
    }
    Win1252::decodeTo(out, m_last);
}

QString codeOf(const QString& line)
{
    QString code = line.mid(5, 20);
    while (code.endsWith(u' '))
        code.chop(1);
    return code;
}

PassRecord::FieldSet fields(Form form)
{
    using P = PassRecord;
    static const P::FieldSet longForm = P::fieldSet({&P::Codice, &P::Tipo, &P::Utilizzo, &P::Note});
    static const P::FieldSet shortForm = P::fieldSet({&P::Codice, &P::Tipo, &P::Stato});
    return form == Form::Long ? longForm : shortForm;
}

QString asciiLower(QString text)
{
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

QString asciiUpper(QString text)
{
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return text;
}

bool containsLowered(QStringView text, QStringView lowered)
{
    const auto lower = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    };
    const qsizetype m = lowered.size();
    for (qsizetype i = 0; i + m <= text.size(); ++i) {
        qsizetype j = 0;
        while (j < m && lower(text[i + j]) == lowered[j].unicode())
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

QString orderKey(const QString& line)
{
    return asciiUpper(line);
}

} // namespace PassLine
