#include "bench/PrintBench.h"

#include "bench/BenchHarness.h"

#include "lists/PassLineModel.h"
#include "printing/ListDocument.h"
#include "printing/PagePainter.h"
#include "printing/PrintJob.h"
#include "registry/TrovaSchedario_Chiavi.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using namespace Qt::StringLiterals;

namespace PrintBench {

namespace {

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess tool;
    tool.start(program, args);
    if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QByteArray();
    return tool.readAllStandardOutput();
}

// Whether two PDF files show the same: the same text, laid out (poppler's pdftotext), and the
// same pixels on the first and the last pages (poppler's pdftoppm, 150 dpi). Empty when poppler
// is not installed.
std::optional<bool> sameOutput(const QString& a, const QString& b, int pageCount, const QString& scratch)
{
    const QString text = QStandardPaths::findExecutable(u"pdftotext"_s);
    const QString pixels = QStandardPaths::findExecutable(u"pdftoppm"_s);
    if (text.isEmpty() || pixels.isEmpty())
        return std::nullopt;
    const QByteArray textA = run(text, {u"-layout"_s, a, u"-"_s});
    if (textA.isEmpty() || textA != run(text, {u"-layout"_s, b, u"-"_s}))
        return false;
    for (const int page : {1, 2, pageCount - 1, pageCount}) {
        const auto image = [&](const QString& pdf, const QString& name) {
            const QString stem = scratch + u'/' + name;
            run(pixels, {u"-r"_s, u"150"_s, u"-f"_s, QString::number(page), u"-l"_s, QString::number(page),
                         u"-singlefile"_s, u"-gray"_s, pdf, stem});
            QFile file(stem + u".pgm"_s);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray imageA = image(a, u"a"_s);
        if (imageA.isEmpty() || imageA != image(b, u"b"_s))
            return false;
    }
    return true;
}

} // namespace

bool run(QTextStream& out, const BenchHarness& harness, const QString& folder)
{
    // The search with no filter, as the button "Cerca" runs it: every card, one line each.
    AppContext ctx;
    ctx.programFolder = folder;
    TfrmTrovaSchedario_Chiavi search(ctx);
    search.btnCercaClick();
    const QStringList lines = search.model()->lines();
    auto document = ListDocument::create();
    if (lines.isEmpty() || !ListDocument::fill(*document, u"Schedario Pass"_s, lines)) {
        out << Name << ": no lines\n";
        return false;
    }
    const PreparedDocument& prepared = document->prepare(QDate(2025, 3, 7));

    QTemporaryDir dir;
    bool ok = true;
    int progressCalls = 0;
    // A PDF printer at the resolution of the print dialog's printers: the engine that Qt's CUPS
    // printing hands to the queue.
    const auto paintTo = [&](const QString& file, bool measureEveryLine) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(file));
        PagePainter::Seams::measureEveryLine = measureEveryLine;
        progressCalls = 0;
        const PagePainter::PaintResult result = PrintJob::print(printer, prepared, [&](int, int) {
            ++progressCalls;
            return true;
        });
        PagePainter::Seams::measureEveryLine = false;
        if (!result.painted()) {
            out << Name << ": " << result.error << "\n";
            ok = false;
        }
    };

    out << Name << ": " << lines.size() << " lines on " << prepared.pageCount() << " pages\n";
    const auto [counted, measured] =
        harness.medians([&] { paintTo(u"counted.pdf"_s, false); }, [&] { paintTo(u"measured.pdf"_s, true); });
    if (!ok)
        return false;
    const auto line = [&](const QString& what, double ms) {
        out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0) << Qt::right
            << QString::number(ms, 'f', 1).rightJustified(10) << " ms\n";
    };
    line(u"print: every line measured (before)"_s, measured);
    line(u"print: fixed-pitch lines counted (now)"_s, counted);
    const std::optional<bool> same = sameOutput(dir.filePath(u"counted.pdf"_s), dir.filePath(u"measured.pdf"_s),
                                                int(prepared.pageCount()), dir.path());
    out << "print: " << QString::number(measured / counted, 'f', 2) << "x faster; progress told " << progressCalls
        << " times; "
        << (!same   ? "output not compared (poppler-utils missing)"
            : *same ? "same text and page images (pdftotext -layout; pdftoppm 150 dpi, pages 1, 2 and the last two)"
                    : "the output DIFFERS")
        << "\n";
    out.flush();
    return same.value_or(true);
}

} // namespace PrintBench
