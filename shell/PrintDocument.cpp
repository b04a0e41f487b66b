#include "shell/PrintDocument.h"

#include "printing/Document.h"
#include "printing/ListDocument.h"
#include "printing/PrintJob.h"
#include "shell/ScreenKit.h"

#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

// The progress window of a print job: made when the job starts, shown only once the job has lasted
// (or, by its pace, will last) longer than a moment, closed when it ends. Modal over the whole
// program while shown: the job runs inside the operator's click, and only "Annulla" is answered.
class JobProgress
{
public:
    explicit JobProgress(QWidget* parent)
        : m_dialog(new QProgressDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint))
    {
        using ScreenKit::named;
        named(m_dialog.data(), u"dlgStampa"_s, u"Stampa in corso"_s);
        m_dialog->setWindowTitle(u"Stampa in corso"_s);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(PrintSeams::progressAfterMs);
        m_dialog->setAutoClose(true);
        m_dialog->setAutoReset(true);
        auto* label = named(new QLabel(m_dialog), u"lblStampa"_s);
        ScreenKit::speakChangingText(label, u"Avanzamento della stampa"_s);
        m_dialog->setLabel(label);
        m_dialog->setBar(named(new QProgressBar(m_dialog), u"barStampa"_s, u"Pagine stampate"_s));
        auto* annulla = ScreenKit::newButton(u"Annulla"_s, u"btnAnnulla"_s, m_dialog);
        m_dialog->setCancelButton(annulla);
        // The window's Escape shortcut for the button it was made with stays beside the one for
        // ours: two shortcuts on one key answer neither, and Escape would do nothing at all. Escape
        // presses "Annulla" here, as elsewhere (a dialog would only hide itself on Escape).
        qDeleteAll(m_dialog->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly));
        ScreenKit::pressOnEscape(m_dialog, annulla);
    }

    ~JobProgress() { delete m_dialog.data(); }
    JobProgress(const JobProgress&) = delete;
    JobProgress& operator=(const JobProgress&) = delete;

    // The job goes on unless the operator pressed "Annulla" (or the window went away with the
    // window that asked for the print).
    bool update(int done, int total)
    {
        if (!m_dialog || m_dialog->wasCanceled())
            return false;
        if (done == 0)
            m_dialog->setRange(0, total);
        // The sheet on its way to the printer.
        m_dialog->setLabelText(u"Stampa in corso: pagina %1 di %2."_s.arg(std::min(done + 1, total)).arg(total));
        m_dialog->setValue(done); // handles the window's events once it is shown
        return m_dialog && !m_dialog->wasCanceled();
    }

private:
    QPointer<QProgressDialog> m_dialog;
};

} // namespace

PrintOutcome printDocument(AppContext& ctx, QWidget* parent, Document& document)
{
    PrintOutcome outcome;
    try {
        const PreparedDocument& prepared = document.prepare(ctx.clock->now().date());
        std::unique_ptr<QPrinter> printer = ctx.printers->choosePrinter(parent, int(prepared.pageCount()));
        if (!printer)
            return outcome; // cancelled, or no printer: nothing more to say
        JobProgress progress(parent);
        const PagePainter::PaintResult result =
            PrintJob::print(*printer, prepared, [&](int done, int total) { return progress.update(done, total); });
        switch (result.status) {
        case PagePainter::PaintResult::Status::Painted:
            outcome.status = PrintOutcome::Status::Printed;
            break;
        case PagePainter::PaintResult::Status::Stopped:
            outcome.status = PrintOutcome::Status::Cancelled;
            break;
        case PagePainter::PaintResult::Status::Failed:
            outcome = {PrintOutcome::Status::Failed, result.error};
            break;
        }
    } catch (const std::exception& e) {
        outcome.error = QString::fromLocal8Bit(e.what());
        if (outcome.error.isEmpty())
            outcome.error = u"Errore durante la stampa."_s;
        outcome.status = PrintOutcome::Status::Failed;
    }
    return outcome;
}

PrintOutcome printList(AppContext& ctx, QWidget* parent, Document& listDocument, const QString& title,
                       const QStringList& lines)
{
    if (!ListDocument::fill(listDocument, title, lines))
        return {PrintOutcome::Status::Failed, u"Il documento di stampa non ha la struttura di un elenco."_s};
    return printDocument(ctx, parent, listDocument);
}
