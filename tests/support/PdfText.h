#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What poppler's command-line tools read from a PDF file: page count, title, the text of each
// page (layout kept, so that a line of the document stays one line of text) and a page's picture.
namespace PdfText {

inline QByteArray output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

inline QString run(const QString& program, const QStringList& arguments)
{
    return QString::fromUtf8(output(program, arguments));
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

// Page `page` (1-based) as poppler draws it at `dpi`, in grey; a null image when it cannot.
inline QImage pageImage(const QString& path, int page, int dpi)
{
    const QString number = QString::number(page);
    return QImage::fromData(
        output(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                QStringLiteral("-singlefile"), QStringLiteral("-gray"), QStringLiteral("-png"), path}),
        "PNG");
}

} // namespace PdfText
