// Prints a 300-line list document ("list") or a pass card ("card") through the program's own print
// path: the Qt printing seam with its real print dialog (accepted as it comes up, so the system's
// default printer and the dialog's defaults are used), then the page painting. "cancel" prints a
// 3,000-line list and presses "Annulla" in the job's progress window a few sheets in. cups_e2e.sh
// runs it against a private CUPS server, one job at a time, and checks what comes out of the queue.

#include "printing/FormDesigns.h"
#include "printing/FormDocument.h"
#include "printing/ListDocument.h"
#include "shell/PrintDocument.h"
#include "shell/QtSeams.h"

#include <QApplication>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString job = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (job != u"list"_s && job != u"card"_s && job != u"cancel"_s) {
        out << "usage: print_e2e list|card|cancel\n";
        return 2;
    }

    QtMessages messages;
    QtPrinters printers(messages);
    SystemClock clock;
    AppContext ctx;
    ctx.messages = &messages;
    ctx.printers = &printers;
    ctx.clock = &clock;

    // Confirms the print dialog, and reports any other modal window (a notice means no printer).
    // The job's progress window is left alone, but for the job to cancel.
    const bool cancel = job == u"cancel"_s;
    if (cancel)
        PrintSeams::progressAfterMs = 0;
    QTimer confirm;
    bool unexpected = false;
    QObject::connect(&confirm, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            dialog->accept();
        } else if (auto* progress = qobject_cast<QProgressDialog*>(modal);
                   progress && progress->objectName() == u"dlgStampa"_s) {
            if (cancel && progress->value() >= 3)
                progress->findChild<QPushButton*>(u"btnAnnulla"_s)->click();
        } else if (modal) {
            unexpected = true;
            modal->close();
        }
    });
    confirm.start(cancel ? 0 : 50);

    auto report = [&](const PrintOutcome& outcome, const Document& document) {
        out << job << ": "
            << (outcome.printed()  ? u"printed"_s
                : outcome.failed() ? outcome.error
                                   : u"cancelled"_s)
            << ", " << document.prepared().pageCount() << " pages\n";
        return outcome.printed();
    };
    bool printed = false;
    if (cancel) {
        QStringList lines;
        for (int i = 1; i <= 3000; ++i)
            lines << u"Cod. %1  Tipo: Badge  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0')).arg(i);
        auto list = ListDocument::create();
        const PrintOutcome outcome = printList(ctx, nullptr, *list, u"Elenco annullato"_s, lines);
        report(outcome, *list);
        printed = outcome.status == PrintOutcome::Status::Cancelled; // the outcome this job expects
    } else if (job == u"list"_s) {
        QStringList lines;
        for (int i = 1; i <= 300; ++i)
            lines << u"Cod. %1  Tipo: Badge  Uso: Prova di stampa  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0')).arg(i);
        auto list = ListDocument::create();
        printed = report(printList(ctx, nullptr, *list, u"Elenco di prova"_s, lines), *list);
    } else {
        auto card = FormDocument::create(FormDesigns::card());
        FormDocument::fill(*card, {{u"txtCodice"_s, u"00042"_s}, {u"txtNote"_s, u"Prova di stampa"_s}}, clock.now());
        printed = report(printDocument(ctx, nullptr, *card), *card);
    }

    if (unexpected)
        out << "an unexpected window came up\n";
    return printed && !unexpected ? 0 : 1;
}
