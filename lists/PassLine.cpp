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

QString build(Form form, const PassRecord& card)
{
    // The fields come from the record layer already trimmed of blanks and control characters.
    // A list builds tens of thousands of lines: each is written in one piece, at its final size.
    const bool isLong = form == Form::Long;
    const QString& last = isLong ? card.Note : card.Stato;
    QString line(5 + 20 + 8 + 30 + (isLong ? 7 + 35 + 8 : 9) + last.size(), Qt::Uninitialized);
    QChar* out = line.data();
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
    if (isLong) {
        put(u"  Uso: ");
        putFitted(card.Utilizzo, 35);
        put(u"  Note: ");
    } else {
        put(u"  Stato: ");
    }
    put(last);
    Q_ASSERT(out == line.constData() + line.size());
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
