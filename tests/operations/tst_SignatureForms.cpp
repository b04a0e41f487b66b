// The withdrawal and return forms printed from the operation screens, read back from the PDF.

#include "operations/Riconsegne.h"
#include "operations/Ritiri.h"
#include "operations/StampaScheda_Riconsegna.h"
#include "operations/StampaScheda_Ritiro.h"
#include "printing/Document.h"
#include "shell/PictureButton.h"
#include "tests/operations/OperationFixture.h"
#include "tests/support/PdfText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

class TestSignatureForms : public QObject
{
    Q_OBJECT

private slots:
    void withdrawalForm();
    void returnForm();
    void cancelAndAnnullaPrintNothing();
    void printerFailure();
};

namespace {

// Prints the form of `screen` through its STAMPA MODULO picture, pressing Stampa.
bool printFromScreen(OperationScreen& screen)
{
    return whileShown<SignatureFormWindow>([](SignatureFormWindow& form) { form.btnStampa->click(); },
                                           [&] { screen.btnStampa->click(); });
}

QStringList horizontalLinesAt(const Document& document, double top)
{
    QStringList out;
    for (const PreparedItem& item : document.prepared().pages.value(0).items)
        if (item.kind == PreparedItem::Kind::Line && item.orientation == Qt::Horizontal &&
            qAbs(item.rect.top() - top) < 0.01)
            out << QString::number(item.rect.left(), 'f', 3) + u'+' + QString::number(item.rect.width(), 'f', 3);
    return out;
}

} // namespace

void TestSignatureForms::withdrawalForm()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    screen.ownPerson()->setText(u"Mario Rossi"_s);
    t.clock.moment = QDateTime(QDate(2025, 3, 7), QTime(9, 6, 12)); // printed a minute later

    QVERIFY(printFromScreen(screen));
    QVERIFY(t.messages.calls.isEmpty());
    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1});
    QCOMPARE(PdfText::pageCount(t.printers.pdfPath), 1);
    QCOMPARE(PdfText::title(t.printers.pdfPath), u"Scheda Ritiro Pass"_s);
    const QString text = PdfText::pages(t.printers.pdfPath).value(0);
    for (const QString& expected :
         {u"MODULO RITIRO PASS"_s, u"RICHIEDENTE:"_s, u"Mario Rossi"_s, u"DATA RITIRO:"_s, u"07 Marzo 2025"_s,
          u"ORA RITIRO:"_s, u"09:05"_s, u"PASS N."_s, u"B-01"_s, u"TIPO PASS:"_s, u"Badge"_s, u"UTILIZZO:"_s,
          u"Ingresso principale"_s, u"FIRMA DEL RESPONSABILE"_s, u"FIRMA DEL RICHIEDENTE"_s,
          u"Stampa eseguita in data 07/03/2025 alle ore 09:06:12"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_s + text));
    QVERIFY(!text.contains(u"GG/MM/AAAA"_s));
    // Printing is not Apply: the card is untouched and the screen keeps its pass.
    QCOMPARE(readCard(t.ctx, 1).Stato, u"Disponibile"_s);
    QVERIFY(screen.hasPass());

    // The two signature lines, under the two signature labels.
    TfrmStampaScheda_Ritiro form(t.ctx);
    SignatureValues values;
    values.giorno = u"07"_s;
    form.setValues(values);
    form.btnStampaClick();
    QCOMPARE(horizontalLinesAt(form.document(), 377.953), (QStringList{u"7.559+268.347"_s, u"445.985+268.346"_s}));
}

void TestSignatureForms::returnForm()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {lentCard(u"B-01"_s)}));
    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    // The person still empty and an impossible date: printed as they are.
    screen.ownBlock()->txtGiorno->setCurrentText(u"31"_s);
    screen.ownBlock()->txtMese->setCurrentText(u"Febbraio"_s);

    QVERIFY(printFromScreen(screen));
    QCOMPARE(PdfText::title(t.printers.pdfPath), u"Scheda Riconsegna Pass"_s);
    const QString text = PdfText::pages(t.printers.pdfPath).value(0);
    for (const QString& expected : {u"MODULO RICONSEGNA PASS"_s, u"RESTITUTORE:"_s, u"DATA RICONSEGNA:"_s,
                                    u"31 Febbraio 2025"_s, u"ORA RICONSEGNA:"_s, u"FIRMA DEL RESTITUTORE"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_s + text));
    // Never the person of the withdrawal, and no design text left in the empty box.
    QVERIFY(!text.contains(u"Anna Bianchi"_s));
    QVERIFY(!text.contains(u"Nome richiedente"_s));
    QVERIFY(!text.contains(u"RICHIEDENTE"_s));
}

void TestSignatureForms::cancelAndAnnullaPrintNothing()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);

    t.printers.cancel = true;
    QVERIFY(printFromScreen(screen));
    QCOMPARE(t.printers.requestedPageCounts.size(), 1);
    QVERIFY(!QFile::exists(t.printers.pdfPath));
    QVERIFY(t.messages.calls.isEmpty());

    t.printers.cancel = false;
    QVERIFY(whileShown<SignatureFormWindow>([](SignatureFormWindow& form) { form.btnAnnulla->click(); },
                                            [&] { screen.btnStampa->click(); }));
    QCOMPARE(t.printers.requestedPageCounts.size(), 1);
    QVERIFY(!QFile::exists(t.printers.pdfPath));
    QVERIFY(t.messages.calls.isEmpty());
    QVERIFY(!screen.findChild<SignatureFormWindow*>()); // each one gone after closing
}

void TestSignatureForms::printerFailure()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRiconsegne screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    t.printers.pdfPath = t.ctx.file(u"no such folder/print.pdf"_s);
    bool closedAfterMessage = false;
    t.messages.onMessage = [&] { closedAfterMessage = screen.findChild<SignatureFormWindow*>() != nullptr; };
    QVERIFY(printFromScreen(screen));
    QCOMPARE(t.messages.texts(), QStringList{u"Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                                             u"Si consiglia di controllare le impostazioni della stampante."_s});
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Warning);
    QVERIFY(closedAfterMessage); // the message comes first, then the window closes
    QVERIFY(!screen.findChild<SignatureFormWindow*>());
    QVERIFY(screen.isVisible());
}

QTEST_MAIN(TestSignatureForms)
#include "tst_SignatureForms.moc"
