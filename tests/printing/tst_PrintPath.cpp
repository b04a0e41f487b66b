// The way from a screen's print action to the printer: the print dialog's seam (cancel, no
// printer, a printer that fails) and what the operator chooses in the dialog (page range, copies,
// collation, page order), checked on the pages that reach a PDF printer.

#include "printing/ListDocument.h"
#include "printing/PagePainter.h"
#include "printing/PrintJob.h"
#include "shell/PrintDocument.h"
#include "shell/QtSeams.h"
#include "tests/support/PdfText.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// 110 lines make three pages: lines 1-53, 54-109 and 110 with the footer.
QStringList threePageLines()
{
    QStringList lines;
    for (int i = 1; i <= 110; ++i)
        lines << u"Cod. %1  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0')).arg(i, 3, 10, QChar(u'0'));
    return lines;
}

// The document page (1, 2 or 3) that each page of the PDF shows.
QList<int> printedPages(const QString& path)
{
    QList<int> out;
    for (const QString& text : PdfText::pages(path))
        out << (text.contains(u"riga 001"_s)   ? 1
                : text.contains(u"riga 054"_s) ? 2
                : text.contains(u"riga 110"_s) ? 3
                                               : 0);
    return out;
}

// A print dialog confirmed with these choices, printing to a PDF file.
class ChoosingPrinters : public Printers
{
public:
    QString pdfPath;
    QPrinter::PrintRange range = QPrinter::AllPages;
    int from = 0, to = 0;
    int copies = 1;
    bool collate = true;
    bool lastPageFirst = false;

    std::unique_ptr<QPrinter> choosePrinter(QWidget*, int) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPrintRange(range);
        if (range == QPrinter::PageRange)
            printer->setFromTo(from, to);
        printer->setCopyCount(copies);
        printer->setCollateCopies(collate);
        printer->setPageOrder(lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        return printer;
    }
};

// A printer whose platform can withdraw a job, as the Windows and macOS print engines do: it draws
// nothing, counts the sheets it is given and takes abort().
class WithdrawableEngine final : public QPaintEngine, public QPrintEngine
{
public:
    WithdrawableEngine() : QPaintEngine(AllFeatures) {}

    int sheets = 0;
    bool aborted = false;
    bool ended = false;

    bool begin(QPaintDevice*) override
    {
        m_state = QPrinter::Active;
        sheets = 1;
        return true;
    }
    bool end() override
    {
        ended = true;
        if (m_state == QPrinter::Active)
            m_state = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return QPaintEngine::User; }

    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { m_properties[key] = value; }
    QVariant property(PrintEnginePropertyKey key) const override
    {
        if (key == PPK_QPageLayout && !m_properties.contains(key))
            return QVariant::fromValue(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        return m_properties.value(key);
    }
    bool newPage() override
    {
        ++sheets;
        return true;
    }
    bool abort() override
    {
        aborted = true;
        m_state = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        constexpr int Dpi = 600;
        const QSize size = qvariant_cast<QPageLayout>(property(PPK_QPageLayout)).fullRectPixels(Dpi).size();
        switch (metric) {
        case QPaintDevice::PdmWidth:
            return size.width();
        case QPaintDevice::PdmHeight:
            return size.height();
        case QPaintDevice::PdmWidthMM:
            return qRound(size.width() * 25.4 / Dpi);
        case QPaintDevice::PdmHeightMM:
            return qRound(size.height() * 25.4 / Dpi);
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return Dpi;
        }
    }
    QPrinter::PrinterState printerState() const override { return m_state; }

private:
    QPrinter::PrinterState m_state = QPrinter::Idle;
    QHash<int, QVariant> m_properties;
};

class WithdrawablePrinter : public QPrinter
{
public:
    explicit WithdrawablePrinter(WithdrawableEngine& engine) { setEngines(&engine, &engine); }
};

class WithdrawablePrinters : public Printers
{
public:
    WithdrawableEngine engine;
    std::unique_ptr<QPrinter> choosePrinter(QWidget*, int) override
    {
        return std::make_unique<WithdrawablePrinter>(engine);
    }
};

// Watches for the print job's progress window while the job runs (the job handles the window's
// events once it shows), notes what it says and, when asked, presses its "Annulla" as the
// operator does: a click on the button or the Escape key.
class ProgressWatch : public QObject
{
public:
    enum class Press
    {
        Nothing,
        Click,
        Escape
    };

    explicit ProgressWatch(Press press) : m_press(press)
    {
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, &ProgressWatch::look);
        m_timer.start();
    }

    QStringList labels; // what the window said, each time it was looked at
    int pressedAt = -1; // the sheets done when "Annulla" was pressed
    int total = -1;     // the sheets of the job, as the window's bar counts them

private:
    void look()
    {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() != u"dlgStampa"_s)
            return;
        labels << dialog->labelText();
        total = dialog->maximum();
        if (m_press == Press::Nothing || pressedAt >= 0)
            return;
        auto* button = dialog->findChild<QPushButton*>(u"btnAnnulla"_s);
        QVERIFY(button && button->isVisible());
        QCOMPARE(button->text(), u"Annulla"_s);
        QCOMPARE(button->accessibleName(), u"Annulla"_s);
        pressedAt = dialog->value();
        if (m_press == Press::Click)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
    }

    Press m_press;
    QTimer m_timer;
};

QStringList longLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"Cod. %1  Tipo: Badge  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0')).arg(i);
    return lines;
}

} // namespace

class tst_PrintPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageSequence_data();
    void pageSequence();
    void cancellingPrintsNothingAndSaysNothing();
    void printsThePreparedPages();
    void dialogChoicesReachThePrinter_data();
    void dialogChoicesReachThePrinter();
    void failingPrinterIsReported();
    void noPrinterInstalledIsToldInItalian();
    void longJobShowsProgressAndAnnullaStopsIt_data();
    void longJobShowsProgressAndAnnullaStopsIt();
    void quickJobShowsNoProgressWindow();
};

void tst_PrintPath::initTestCase()
{
    // No print server answers here: the platform sees no printer at all, whatever the machine has.
    qputenv("CUPS_SERVER", QByteArray("/nonexistent/ingressario-cups.sock"));
}

void tst_PrintPath::pageSequence_data()
{
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("lastFirst");
    QTest::addColumn<QList<int>>("sequence");

    QTest::newRow("all, once") << QList<int>{1, 2, 3} << 1 << true << false << QList<int>{0, 1, 2};
    QTest::newRow("two collated copies") << QList<int>{1, 2, 3} << 2 << true << false << QList<int>{0, 1, 2, 0, 1, 2};
    QTest::newRow("two uncollated copies")
        << QList<int>{1, 2, 3} << 2 << false << false << QList<int>{0, 0, 1, 1, 2, 2};
    QTest::newRow("last page first") << QList<int>{1, 2, 3} << 1 << true << true << QList<int>{2, 1, 0};
    QTest::newRow("reversed collated copies") << QList<int>{2, 3} << 2 << true << true << QList<int>{2, 1, 2, 1};
    QTest::newRow("no copies means one") << QList<int>{1} << 0 << true << false << QList<int>{0};
    QTest::newRow("nothing chosen") << QList<int>{} << 3 << true << false << QList<int>{};
}

void tst_PrintPath::pageSequence()
{
    QFETCH(QList<int>, chosen);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, lastFirst);
    QFETCH(QList<int>, sequence);
    QCOMPARE(PagePainter::pageSequence(chosen, copies, collate, lastFirst), sequence);
}

void tst_PrintPath::cancellingPrintsNothingAndSaysNothing()
{
    TestContext t;
    t.printers.cancel = true;
    auto document = ListDocument::create();

    const PrintOutcome outcome = printList(t.ctx, nullptr, *document, u"Elenco"_s, threePageLines());
    QCOMPARE(outcome.status, PrintOutcome::Status::Cancelled);
    QVERIFY(outcome.error.isEmpty());
    QCOMPARE(t.printers.requestedPageCounts, QList<int>{3}); // the dialog knew the page count
    QVERIFY(!QFile::exists(t.printers.pdfPath));
    QVERIFY(t.messages.calls.isEmpty());
}

void tst_PrintPath::printsThePreparedPages()
{
    TestContext t;
    t.clock.moment = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    auto document = ListDocument::create();

    const PrintOutcome outcome =
        printList(t.ctx, nullptr, *document, u"Elenco pass da riconsegnare"_s, threePageLines());
    QVERIFY2(outcome.printed(), qPrintable(outcome.error));
    QCOMPARE(PdfText::pageCount(t.printers.pdfPath), 3);
    QCOMPARE(PdfText::title(t.printers.pdfPath), u"Riepilogo dati"_s);
    QCOMPARE(printedPages(t.printers.pdfPath), (QList<int>{1, 2, 3}));
    const QStringList pages = PdfText::pages(t.printers.pdfPath);
    QVERIFY(pages.first().contains(u"Elenco pass da riconsegnare"_s));
    QVERIFY(pages.last().contains(u"Stampa eseguita in data 31/12/2024"_s)); // the date of the clock
    QVERIFY(t.messages.calls.isEmpty());
}

void tst_PrintPath::dialogChoicesReachThePrinter_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<bool>("lastFirst");
    QTest::addColumn<QList<int>>("pages");

    QTest::newRow("all pages") << int(QPrinter::AllPages) << 0 << 0 << 1 << true << false << QList<int>{1, 2, 3};
    QTest::newRow("pages 2 to 3") << int(QPrinter::PageRange) << 2 << 3 << 1 << true << false << QList<int>{2, 3};
    QTest::newRow("range past the end") << int(QPrinter::PageRange) << 2 << 9 << 1 << true << false << QList<int>{2, 3};
    QTest::newRow("current page") << int(QPrinter::CurrentPage) << 0 << 0 << 1 << true << false << QList<int>{1};
    QTest::newRow("two collated copies") << int(QPrinter::AllPages) << 0 << 0 << 2 << true << false
                                         << QList<int>{1, 2, 3, 1, 2, 3};
    QTest::newRow("two uncollated copies")
        << int(QPrinter::PageRange) << 1 << 2 << 2 << false << false << QList<int>{1, 1, 2, 2};
    QTest::newRow("last page first") << int(QPrinter::AllPages) << 0 << 0 << 1 << true << true << QList<int>{3, 2, 1};
}

void tst_PrintPath::dialogChoicesReachThePrinter()
{
    QFETCH(int, range);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(bool, lastFirst);
    QFETCH(QList<int>, pages);

    TestContext t;
    ChoosingPrinters printers;
    printers.pdfPath = t.dir.filePath(u"scelta.pdf"_s);
    printers.range = QPrinter::PrintRange(range);
    printers.from = from;
    printers.to = to;
    printers.copies = copies;
    printers.collate = collate;
    printers.lastPageFirst = lastFirst;
    t.ctx.printers = &printers;

    auto document = ListDocument::create();
    const PrintOutcome outcome = printList(t.ctx, nullptr, *document, u"Elenco"_s, threePageLines());
    QVERIFY2(outcome.printed(), qPrintable(outcome.error));
    QCOMPARE(printedPages(printers.pdfPath), pages);
}

void tst_PrintPath::failingPrinterIsReported()
{
    TestContext t;
    t.printers.pdfPath = t.dir.filePath(u"cartella/che/non/esiste/stampa.pdf"_s);
    auto document = ListDocument::create();

    const PrintOutcome outcome = printList(t.ctx, nullptr, *document, u"Elenco"_s, {u"riga"_s});
    QCOMPARE(outcome.status, PrintOutcome::Status::Failed);
    QVERIFY(!outcome.error.isEmpty());
    QVERIFY(t.messages.calls.isEmpty()); // what to say is the screen's business
}

void tst_PrintPath::noPrinterInstalledIsToldInItalian()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is reachable despite CUPS_SERVER; the no-printer path cannot be shown here");
    ScriptedMessages messages;
    QtPrinters printers(messages);
    // Should a dialog open after all, it is cancelled rather than left waiting. The timer ends with
    // this test: left running, it would close the next test's progress window.
    QObject thisTest;
    QTimer::singleShot(2000, &thisTest, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });

    QVERIFY(!printers.choosePrinter(nullptr, 3));
    QCOMPARE(messages.calls.size(), 1);
    QCOMPARE(messages.calls.first().kind, MessageCall::Warning);
    QCOMPARE(messages.lastText(), u"Attenzione: nessuna stampante installata. Installare una stampante e riprovare."_s);
}

void tst_PrintPath::longJobShowsProgressAndAnnullaStopsIt_data()
{
    QTest::addColumn<bool>("withdrawable"); // the platform can withdraw the job; otherwise a PDF file
    QTest::addColumn<int>("press");

    QTest::newRow("left to finish") << false << int(ProgressWatch::Press::Nothing);
    QTest::newRow("file: Annulla clicked") << false << int(ProgressWatch::Press::Click);
    QTest::newRow("file: Escape") << false << int(ProgressWatch::Press::Escape);
    QTest::newRow("withdrawable: Annulla clicked") << true << int(ProgressWatch::Press::Click);
    QTest::newRow("withdrawable: left to finish") << true << int(ProgressWatch::Press::Nothing);
}

void tst_PrintPath::longJobShowsProgressAndAnnullaStopsIt()
{
    QFETCH(bool, withdrawable);
    QFETCH(int, press);
    const auto pressed = ProgressWatch::Press(press);

    TestContext t;
    WithdrawablePrinters platform;
    if (withdrawable)
        t.ctx.printers = &platform;
    // Every job counts as long here: the window shows as soon as the first sheet is done.
    const int showAfter = std::exchange(PrintSeams::progressAfterMs, 0);
    auto document = ListDocument::create();
    PrintOutcome outcome;
    ProgressWatch watch(pressed);
    {
        outcome = printList(t.ctx, nullptr, *document, u"Elenco"_s, longLines(1100)); // 20 pages
    }
    PrintSeams::progressAfterMs = showAfter;

    QVERIFY(!watch.labels.isEmpty()); // the window showed
    QCOMPARE(watch.total, 20);
    QVERIFY2(watch.labels.first().startsWith(u"Stampa in corso: pagina "_s), qPrintable(watch.labels.first()));
    QVERIFY(watch.labels.first().endsWith(u" di 20."_s));
    QVERIFY(t.messages.calls.isEmpty());         // nothing said, whichever way the job ended
    QVERIFY(!QApplication::activeModalWidget()); // the window is gone
    if (pressed == ProgressWatch::Press::Nothing) {
        QVERIFY2(outcome.printed(), qPrintable(outcome.error));
        QCOMPARE(watch.pressedAt, -1);
        if (withdrawable)
            QCOMPARE(platform.engine.sheets, 20);
        else
            QCOMPARE(PdfText::pageCount(t.printers.pdfPath), 20);
        return;
    }
    // Stopped where Annulla was pressed, well before the end, and not reported as printed.
    QVERIFY(watch.pressedAt >= 1 && watch.pressedAt < 20);
    QCOMPARE(outcome.status, PrintOutcome::Status::Cancelled);
    QVERIFY(outcome.error.isEmpty());
    if (withdrawable) {
        QVERIFY(platform.engine.aborted); // the job withdrawn
        QVERIFY(platform.engine.ended);
        QCOMPARE(platform.engine.sheets, watch.pressedAt);
    } else {
        QVERIFY(!QFile::exists(t.printers.pdfPath)); // no half file left
    }
}

void tst_PrintPath::quickJobShowsNoProgressWindow()
{
    TestContext t;
    auto document = ListDocument::create();
    ProgressWatch watch(ProgressWatch::Press::Click);
    const PrintOutcome outcome = printList(t.ctx, nullptr, *document, u"Elenco"_s, threePageLines());
    QVERIFY2(outcome.printed(), qPrintable(outcome.error));
    QVERIFY(watch.labels.isEmpty());
    QCOMPARE(PdfText::pageCount(t.printers.pdfPath), 3);
}

QTEST_MAIN(tst_PrintPath)
#include "tst_PrintPath.moc"
