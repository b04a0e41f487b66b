// Prints a 300-line list document and a pass card through the program's own print path: the Qt
// printing seam with its real print dialog (accepted as it comes up, so the system's default
// printer and the dialog's defaults are used), then the page painting. cups_e2e.sh runs it
// against a private CUPS server and checks the jobs that come out of the queue.

#include "printing/FormDesigns.h"
#include "printing/FormDocument.h"
#include "printing/ListDocument.h"
#include "shell/PrintDocument.h"
#include "shell/QtSeams.h"

#include <QApplication>
#include <QPrintDialog>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QtMessages messages;
    QtPrinters printers(messages);
    SystemClock clock;
    AppContext ctx;
    ctx.messages = &messages;
    ctx.printers = &printers;
    ctx.clock = &clock;

    // Confirms the print dialog, and reports any other modal window (a notice means no printer).
    QTimer confirm;
    bool unexpected = false;
    QObject::connect(&confirm, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            dialog->accept();
        } else if (modal) {
            unexpected = true;
            modal->close();
        }
    });
    confirm.start(50);

    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << u"Cod. %1  Tipo: Badge  Uso: Prova di stampa  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0')).arg(i);
    auto list = ListDocument::create();
    const PrintOutcome listed = printList(ctx, nullptr, *list, u"Elenco di prova"_s, lines);
    out << "list: "
        << (listed.printed()  ? u"printed"_s
            : listed.failed() ? listed.error
                              : u"cancelled"_s)
        << ", " << list->prepared().pageCount() << " pages\n";

    auto card = FormDocument::create(FormDesigns::card());
    FormDocument::fill(*card, {{u"txtCodice"_s, u"00042"_s}, {u"txtNote"_s, u"Prova di stampa"_s}}, clock.now());
    const PrintOutcome carded = printDocument(ctx, nullptr, *card);
    out << "card: "
        << (carded.printed()  ? u"printed"_s
            : carded.failed() ? carded.error
                              : u"cancelled"_s)
        << ", " << card->prepared().pageCount() << " pages\n";

    if (unexpected)
        out << "an unexpected window came up\n";
    return listed.printed() && carded.printed() && !unexpected ? 0 : 1;
}
