#include "lists/PassLine.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace PassLine {

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
    putFitted(card.Codice, 20);
    put(u"  Tipo: ");
    putFitted(card.Tipo, 30);
    if (form == Form::Long) {
        put(u"  Uso: ");
        putFitted(card.Utilizzo, 35);
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

QString orderKey(const QString& line)
{
    return asciiUpper(line);
}

} // namespace PassLine
