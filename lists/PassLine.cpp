#include "lists/PassLine.h"

#include "archives/Win1252.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace PassLine {

namespace {
// The widths of the padded fields of the lines.
constexpr qsizetype CodeWidth = 20, TypeWidth = 30, UseWidth = 35;

// The length of a line in `form` whose last field (the note or the state) has `last` characters.
qsizetype lineLength(Form form, qsizetype last)
{
    return form == Form::Long ? 5 + CodeWidth + 8 + TypeWidth + 7 + UseWidth + 8 + last
                              : 5 + CodeWidth + 8 + TypeWidth + 9 + last;
}

// The line of a card written at `out`, which has room for it.
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
} // namespace

QString fitted(const QString& text, qsizetype width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), u' ');
}

QString build(Form form, const PassRecord& card)
{
    // Written in one piece, at its final size.
    QString line(lineLength(form, (form == Form::Long ? card.Note : card.Stato).size()), Qt::Uninitialized);
    write(form, card, line.data());
    return line;
}

RecordLine::RecordLine(Form form, const char* record) : m_form(form)
{
    // Trimming the bytes keeps exactly the characters the decoded field keeps, one per byte; of
    // the padded fields only what the line shows is kept.
    static const FieldPlace code = PassRecord::place(&PassRecord::Codice);
    static const FieldPlace type = PassRecord::place(&PassRecord::Tipo);
    static const FieldPlace use = PassRecord::place(&PassRecord::Utilizzo);
    static const FieldPlace note = PassRecord::place(&PassRecord::Note);
    static const FieldPlace state = PassRecord::place(&PassRecord::Stato);
    const auto field = [&](FieldPlace place, qsizetype width = -1) {
        const QByteArrayView bytes = Win1252::trimmedBytes(FieldCodec::textBytes(record, place));
        return width < 0 ? bytes : bytes.first(qMin(bytes.size(), width));
    };
    m_code = field(code, CodeWidth);
    m_type = field(type, TypeWidth);
    if (form == Form::Long) {
        m_use = field(use, UseWidth);
        m_last = field(note);
    } else {
        m_last = field(state);
    }
    m_length = lineLength(form, m_last.size());
}

template <typename Piece> void RecordLine::eachPiece(Piece&& piece) const
{
    piece(u"Cod. ", m_code, CodeWidth);
    piece(u"  Tipo: ", m_type, TypeWidth);
    if (m_form == Form::Long) {
        piece(u"  Uso: ", m_use, UseWidth);
        piece(u"  Note: ", m_last, -1);
    } else {
        piece(u"  Stato: ", m_last, -1);
    }
}

void RecordLine::write(QChar* out) const
{
    eachPiece([&](QStringView literal, QByteArrayView bytes, qsizetype width) {
        out = std::copy(literal.begin(), literal.end(), out);
        Win1252::decodeTo(out, bytes);
        out += bytes.size();
        if (width > bytes.size())
            out = std::fill_n(out, width - bytes.size(), QChar(u' '));
    });
}

QString RecordLine::text() const
{
    QString line(m_length, Qt::Uninitialized);
    write(line.data());
    return line;
}

QString RecordLine::code() const
{
    // The field may end in blanks where the line cuts it.
    QByteArrayView bytes = m_code;
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    QString out(bytes.size(), Qt::Uninitialized);
    Win1252::decodeTo(out.data(), bytes);
    return out;
}

// Each field is kept as one byte of length and its bytes (a field's length never exceeds 255).
qsizetype RecordLine::keptSize() const
{
    return 3 + m_code.size() + m_type.size() + m_last.size() + (m_form == Form::Long ? 1 + m_use.size() : 0);
}

void RecordLine::keep(char* out) const
{
    const auto put = [&](QByteArrayView bytes) {
        *out++ = char(uchar(bytes.size()));
        out = std::copy(bytes.begin(), bytes.end(), out);
    };
    put(m_code);
    put(m_type);
    if (m_form == Form::Long)
        put(m_use);
    put(m_last);
}

RecordLine RecordLine::kept(Form form, const char* bytes)
{
    const auto take = [&] {
        const qsizetype size = uchar(*bytes++);
        const QByteArrayView field(bytes, size);
        bytes += size;
        return field;
    };
    RecordLine line;
    line.m_form = form;
    line.m_code = take();
    line.m_type = take();
    if (form == Form::Long)
        line.m_use = take();
    line.m_last = take();
    line.m_length = lineLength(form, line.m_last.size());
    return line;
}

template <typename Emit> qsizetype RecordLine::eachByte(qsizetype from, qsizetype count, Emit&& put) const
{
    // `at` is the place in the line of the span's first character.
    qsizetype at = 0, written = 0;
    // The characters [at, at + n) of the line, byteOf(i) the i-th of them.
    const auto span = [&](qsizetype n, auto byteOf) {
        for (qsizetype i = qMax<qsizetype>(0, from - at); i < n && written < count; ++i)
            put(written++, byteOf(i));
        at += n;
    };
    eachPiece([&](QStringView literal, QByteArrayView bytes, qsizetype width) {
        span(literal.size(), [&](qsizetype i) { return char(literal[i].unicode()); }); // all ASCII
        span(bytes.size(), [&](qsizetype i) { return bytes[i]; });
        if (width > bytes.size())
            span(width - bytes.size(), [](qsizetype) { return ' '; });
    });
    return written;
}

qsizetype RecordLine::orderChars(qsizetype from, char16_t* out, qsizetype count) const
{
    return eachByte(from, count, [&](qsizetype i, char byte) { out[i] = orderChar(Win1252::decoded(byte)); });
}

qsizetype RecordLine::orderRanks(qsizetype from, quint8* out, qsizetype count) const
{
    // For each byte, the place of its key character among those of all the bytes, from 1.
    static const std::array<quint8, 256> ranks = [] {
        std::array<char16_t, 256> keys{};
        for (int b = 0; b < 256; ++b)
            keys[size_t(b)] = orderChar(Win1252::decoded(char(b)));
        std::array<char16_t, 256> sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        const auto distinctEnd = std::unique(sorted.begin(), sorted.end());
        std::array<quint8, 256> r{};
        for (size_t b = 0; b < 256; ++b)
            r[b] = quint8(1 + (std::lower_bound(sorted.begin(), distinctEnd, keys[b]) - sorted.begin()));
        return r;
    }();
    // Within the code, as when a list sorts on its first characters, straight from its bytes.
    const qsizetype code = Start.size();
    if (from >= code && from + count <= code + CodeWidth) {
        for (qsizetype i = 0; i < count; ++i) {
            const qsizetype at = from - code + i;
            out[i] = ranks[uchar(at < m_code.size() ? m_code[at] : ' ')];
        }
        return count;
    }
    return eachByte(from, count, [&](qsizetype i, char byte) { out[i] = ranks[uchar(byte)]; });
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

char16_t orderChar(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace PassLine
