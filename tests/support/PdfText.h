#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What poppler's command-line tools read from a PDF file: page count, title and the text of each
// page (layout kept, so that a line of the document stays one line of text).
namespace PdfText {

inline QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString info(const QString& path, const QString& key)
{
    const QString out = run(QStringLiteral("pdfinfo"), {path});
    const QRegularExpression line(u"^" + QRegularExpression::escape(key) + u":\\s*(.*)$",
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(out);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

// -1 when the file is not a readable PDF.
inline int pageCount(const QString& path)
{
    bool ok = false;
    const int pages = info(path, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

inline QString title(const QString& path)
{
    return info(path, QStringLiteral("Title"));
}

// The text of each page, in page order.
inline QStringList pages(const QString& path)
{
    QStringList out =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).split(u'\f');
    if (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    return out;
}

} // namespace PdfText
