#include "lists/PassLine.h"

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
    QString line = u"Cod. "_s + fitted(card.Codice, 20) + u"  Tipo: "_s + fitted(card.Tipo, 30);
    if (form == Form::Long)
        line += u"  Uso: "_s + fitted(card.Utilizzo, 35) + u"  Note: "_s + card.Note;
    else
        line += u"  Stato: "_s + card.Stato;
    return line;
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
