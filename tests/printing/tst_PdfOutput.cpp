// Prepared documents painted into PDF files, read back with poppler's pdfinfo and pdftotext.
// The files are also left in <build>/samples/ for a person to look at.

#include "printing/FormDesigns.h"
#include "printing/FormDocument.h"
#include "printing/ListDocument.h"
#include "printing/PagePainter.h"
#include "tests/support/PdfText.h"

#include <QDir>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Moment(QDate(2025, 3, 7), QTime(9, 5, 30));

QList<int> allPages(const PreparedDocument& document)
{
    QList<int> pages;
    for (int i = 0; i < document.pageCount(); ++i)
        pages << i;
    return pages;
}

} // namespace

class tst_PdfOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void longListContinuesOverPages();
    void emptyListPrintsTitleAndFooter();
    void linesPrintLiterally();
    void cardPrintsOnOnePage();
    void unwritableFileIsAnError();
    void countedListPrintsAsMeasured();
    void progressIsToldAfterEachSheet_data();
    void progressIsToldAfterEachSheet();

private:
    // Paints the document into <dir>/<file> and keeps a copy among the samples.
    QString write(const PreparedDocument& document, const QString& file)
    {
        const QString path = m_dir.filePath(file);
        QPdfWriter writer(path);
        const QString error = PagePainter::paint(writer, document, allPages(document)).error;
        if (!error.isEmpty())
            qWarning() << error;
        const QString samples = QStringLiteral(INGRESSARIO_BUILD_DIR "/samples");
        QDir().mkpath(samples);
        QFile::remove(samples + u'/' + file);
        QFile::copy(path, samples + u'/' + file);
        return path;
    }

    QTemporaryDir m_dir;
};

void tst_PdfOutput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const QString& tool : {u"pdfinfo"_s, u"pdftotext"_s})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), "poppler-utils must be installed");
}

void tst_PdfOutput::longListContinuesOverPages()
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << u"Cod. %1  Tipo: Badge      Uso: Ingresso principale  Note: riga %2"_s.arg(i, 5, 10, QChar(u'0'))
                     .arg(i, 3, 10, QChar(u'0'));
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Schedario Pass"_s, lines));
    const QString path = write(document->prepare(Moment.date()), u"elenco_300.pdf"_s);

    QCOMPARE(PdfText::pageCount(path), 6); // 53 lines on page 1, then 56 a page: 53 + 4 * 56 + 23
    QCOMPARE(PdfText::title(path), u"Riepilogo dati"_s);
    const QStringList pages = PdfText::pages(path);
    QCOMPARE(pages.size(), 6);
    for (int p = 0; p < pages.size(); ++p) {
        QCOMPARE(pages.at(p).contains(u"Schedario Pass"_s), p == 0);
        QCOMPARE(pages.at(p).contains(u"Stampa eseguita in data 07/03/2025"_s), p == 5);
    }
    QVERIFY(pages.at(0).contains(u"riga 053"_s) && !pages.at(0).contains(u"riga 054"_s));
    QVERIFY(pages.at(1).contains(u"riga 054"_s) && pages.at(1).contains(u"riga 109"_s));
    const QString last = pages.at(5);
    QVERIFY(last.indexOf(u"riga 300"_s) >= 0);
    QVERIFY(last.indexOf(u"Stampa eseguita"_s) > last.indexOf(u"riga 300"_s)); // after the last line
    const QString all = pages.join(u'\n');
    for (int i = 1; i <= 300; ++i)
        QCOMPARE(all.count(u"riga %1"_s.arg(i, 3, 10, QChar(u'0'))), 1);
}

void tst_PdfOutput::emptyListPrintsTitleAndFooter()
{
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Elenco pass smarriti"_s, {}));
    const QString path = write(document->prepare(Moment.date()), u"elenco_vuoto.pdf"_s);

    QCOMPARE(PdfText::pageCount(path), 1);
    const QStringList text = PdfText::pages(path).first().split(u'\n', Qt::SkipEmptyParts);
    QStringList words;
    for (const QString& line : text)
        if (!line.trimmed().isEmpty())
            words << line.simplified();
    QCOMPARE(words, (QStringList{u"Elenco pass smarriti"_s, u"Stampa eseguita in data 07/03/2025"_s}));
}

void tst_PdfOutput::linesPrintLiterally()
{
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Elenco [DATE]"_s, {u"Cod. [DATE]  Note: [Codice] e [1]"_s, u"Note: ]["_s}));
    // pdftotext spaces the columns its own way: compare the words.
    const QString text =
        PdfText::pages(write(document->prepare(Moment.date()), u"elenco_parentesi.pdf"_s)).first().simplified();
    QVERIFY2(text.contains(u"Cod. [DATE] Note: [Codice] e [1]"_s), qPrintable(text));
    QVERIFY(text.contains(u"Note: ]["_s));
    QVERIFY(text.contains(u"Elenco [DATE]"_s));
    QVERIFY(text.contains(u"Stampa eseguita in data 07/03/2025"_s));
}

void tst_PdfOutput::cardPrintsOnOnePage()
{
    QStringList words;
    for (int i = 1; i <= 60; ++i)
        words << u"parola%1"_s.arg(i, 2, 10, QChar(u'0'));
    auto card = FormDocument::create(FormDesigns::card());
    QVERIFY(FormDocument::fill(*card,
                               {{u"txtCodice"_s, u"00042"_s},
                                {u"txtTipo"_s, u"Badge magnetico"_s},
                                {u"txtUtilizzo"_s, u"Ingresso principale"_s},
                                {u"txtStato"_s, u"Disponibile"_s},
                                {u"txtDuplicati"_s, u"2"_s},
                                {u"txtLuogo"_s, u"Portineria, cassetto 3"_s},
                                {u"txtResponsabile"_s, u"Mario Rossi"_s},
                                {u"txtRecapiti"_s, u"int. 2114 - mario.rossi@example.com"_s},
                                {u"txtPersone"_s, u"Anna Bianchi, Luca Verdi [sostituto]"_s},
                                {u"txtNote"_s, words.join(u' ')}},
                               Moment));
    const QString path = write(card->prepare(Moment.date()), u"scheda_pass.pdf"_s);

    QCOMPARE(PdfText::pageCount(path), 1);
    QCOMPARE(PdfText::title(path), u"Scheda Pass"_s);
    const QString text = PdfText::pages(path).first();
    for (const QString& expected :
         {u"SCHEDA PASS"_s, u"Numero identificativo:"_s, u"00042"_s, u"Persone autorizzate al ritiro:"_s,
          u"Anna Bianchi, Luca Verdi [sostituto]"_s, u"Note:"_s, u"parola01"_s,
          u"Stampa eseguita in data 07/03/2025 alle ore 09:05:30"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    // The long note stops at the edge of its box: its end is not on the page.
    QVERIFY(!text.contains(u"parola60"_s));
}

void tst_PdfOutput::unwritableFileIsAnError()
{
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"x"_s, {u"y"_s}));
    const PreparedDocument& prepared = document->prepare(Moment.date());
    QPdfWriter writer(m_dir.filePath(u"manca/cartella/elenco.pdf"_s));
    QCOMPARE(PagePainter::paint(writer, prepared, allPages(prepared)).status, PagePainter::PaintResult::Status::Failed);
}

void tst_PdfOutput::countedListPrintsAsMeasured()
{
    // Lines of a pass list, blank-padded columns and long notes cut at the page's edge, with
    // accented letters, "€", a tab, a combining accent and letters the list's font lacks: painted
    // with every line measured and with the fixed-pitch lines counted (drawn glyph by glyph,
    // without their blanks), the printer's PDF reads and looks the same.
    QStringList lines;
    const QStringList notes = {u"città più già perché, cortesia dell'ufficio"_s,
                               u"€ 12,50 di cauzione"_s,
                               u"a\tb tabulato"_s,
                               u"caffe\u0301 accento a parte"_s,
                               u"reso ԦԨ"_s,
                               QString(220, u'n') + u" lunga oltre il bordo"_s};
    for (int i = 1; i <= 120; ++i)
        lines << u"Cod. %1  Tipo: %2  Uso: %3  Note: %4"_s.arg(u"P-%1"_s.arg(i, 6, 10, QChar(u'0')), -20)
                     .arg(i % 2 ? u"Tessera RFID"_s : u"Chiave"_s, -30)
                     .arg(i % 3 ? u"Magazzino nord"_s : u"Àula È"_s, -35)
                     .arg(notes.at(i % notes.size()));
    auto document = ListDocument::create();
    QVERIFY(ListDocument::fill(*document, u"Schedario Pass"_s, lines));
    const PreparedDocument& prepared = document->prepare(Moment.date());
    PagePainter::Seams::measureEveryLine = true;
    const QString measured = write(prepared, u"elenco_misurato.pdf"_s);
    PagePainter::Seams::measureEveryLine = false;
    const QString counted = write(prepared, u"elenco_contato.pdf"_s);

    QCOMPARE(PdfText::pageCount(counted), 3);
    QCOMPARE(PdfText::pages(counted), PdfText::pages(measured));
    QVERIFY(PdfText::pages(counted).first().contains(u"Magazzino nord"_s));
    for (int page = 1; page <= 3; ++page) {
        const QImage image = PdfText::pageImage(counted, page, 150);
        QVERIFY(!image.isNull());
        QVERIFY2(image == PdfText::pageImage(measured, page, 150), qPrintable(u"page %1"_s.arg(page)));
    }
}

void tst_PdfOutput::progressIsToldAfterEachSheet_data()
{
    QTest::addColumn<int>("stopAt"); // the sheets done when the progress answers false; -1: never
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("pages"); // in the file

    QTest::newRow("to the end") << -1 << u"0/3 1/3 2/3 3/3"_s << 3;
    QTest::newRow("stopped after a sheet") << 1 << u"0/3 1/3"_s << 1;
    QTest::newRow("stopped after the last sheet") << 3 << u"0/3 1/3 2/3 3/3"_s << 3;
}

void tst_PdfOutput::progressIsToldAfterEachSheet()
{
    QFETCH(int, stopAt);
    QFETCH(QString, told);
    QFETCH(int, pages);

    auto document = ListDocument::create();
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << u"riga %1"_s.arg(i);
    QVERIFY(ListDocument::fill(*document, u"Elenco"_s, lines));
    const PreparedDocument& prepared = document->prepare(Moment.date());
    const QString path = m_dir.filePath(u"avanzamento.pdf"_s);
    QStringList calls;
    PagePainter::PaintResult result;
    {
        QPdfWriter writer(path);
        result = PagePainter::paint(writer, prepared, allPages(prepared), [&](int done, int total) {
            calls << u"%1/%2"_s.arg(done).arg(total);
            return done != stopAt;
        });
    }
    QCOMPARE(calls.join(u' '), told);
    QCOMPARE(result.status,
             stopAt < 0 ? PagePainter::PaintResult::Status::Painted : PagePainter::PaintResult::Status::Stopped);
    QVERIFY(result.error.isEmpty());
    // A PDF writer keeps the sheets painted before the stop (a printer keeps none: tst_PrintPath).
    QCOMPARE(PdfText::pageCount(path), pages);
}

QTEST_MAIN(tst_PdfOutput)
#include "tst_PdfOutput.moc"
