#include "archives/IniText.h"

#include <QList>

namespace {

struct Line
{
    qsizetype begin; // first byte of the line
    qsizetype end;   // first byte of its line end (or of the next line when there is none)
    qsizetype next;  // first byte of the next line
};

QList<Line> splitLines(const QByteArray& content)
{
    QList<Line> lines;
    // A byte order mark, as some editors write one, is not part of the first line.
    qsizetype pos = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < content.size()) {
        qsizetype nl = content.indexOf('\n', pos);
        const qsizetype next = nl < 0 ? content.size() : nl + 1;
        qsizetype end = nl < 0 ? content.size() : nl;
        if (end > pos && content[end - 1] == '\r')
            --end;
        lines.append({pos, end, next});
        pos = next;
    }
    return lines;
}

QString textOf(const QByteArray& content, const Line& l)
{
    // Settings files are single-byte text; Latin-1 keeps every byte as one character.
    return QString::fromLatin1(content.constData() + l.begin, l.end - l.begin);
}

// The section name when the line opens a section.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool isKeyLine(const QString& line, const QString& key, qsizetype* equals)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || line.trimmed().startsWith(u';'))
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    *equals = eq;
    return true;
}

struct Found
{
    qsizetype sectionLine = -1;     // index of the section's header line
    qsizetype lastContentLine = -1; // last non-blank line of the section
    qsizetype keyLine = -1;
    qsizetype equals = -1;
};

Found find(const QByteArray& content, const QList<Line>& lines, const QString& section, const QString& key)
{
    Found f;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = textOf(content, lines[i]);
        if (const auto name = sectionName(text)) {
            if (f.sectionLine >= 0 && inSection)
                break; // the first matching section is the one that counts
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                f.sectionLine = i;
                f.lastContentLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!text.trimmed().isEmpty())
            f.lastContentLine = i;
        qsizetype eq;
        if (f.keyLine < 0 && isKeyLine(text, key, &eq)) {
            f.keyLine = i;
            f.equals = eq;
        }
    }
    return f;
}

QByteArray lineEnd(const QByteArray& content)
{
    return content.contains("\r\n") || !content.contains('\n') ? QByteArray("\r\n") : QByteArray("\n");
}

} // namespace

namespace IniText {

QString value(const QByteArray& content, const QString& section, const QString& key)
{
    const QList<Line> lines = splitLines(content);
    const Found f = find(content, lines, section, key);
    if (f.keyLine < 0)
        return QString();
    const QString text = textOf(content, lines[f.keyLine]);
    QString v = text.mid(f.equals + 1);
    if (v.isNull())
        v = QStringLiteral("");
    return v;
}

QByteArray setValue(const QByteArray& content, const QString& section, const QString& key, const QString& value)
{
    const QList<Line> lines = splitLines(content);
    const Found f = find(content, lines, section, key);
    const QByteArray eol = lineEnd(content);
    const QByteArray keyValue = key.toLatin1() + '=' + value.toLatin1();
    QByteArray out = content;
    if (f.keyLine >= 0) {
        const Line& l = lines[f.keyLine];
        const qsizetype valueBegin = l.begin + f.equals + 1;
        out.replace(valueBegin, l.end - valueBegin, value.toLatin1());
    } else if (f.sectionLine >= 0) {
        const Line& l = lines[f.lastContentLine];
        // A last line without its line feed (at the end of the file, perhaps with a lone CR) gets a
        // line end before the new key, or the key would join that line.
        if (content[l.next - 1] != '\n')
            out.insert(l.next, eol + keyValue);
        else
            out.insert(l.next, keyValue + eol);
    } else {
        if (!lines.isEmpty() && !out.endsWith('\n'))
            out.append(eol);
        out.append('[' + section.toLatin1() + ']' + eol + keyValue + eol);
    }
    return out;
}

} // namespace IniText
