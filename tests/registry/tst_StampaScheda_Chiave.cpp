// The card print window, driven by its buttons with the printing seam scripted: what reaches the
// PDF "printer", and what the window says and does when the print is cancelled or fails.

#include "printing/Document.h"
#include "registry/StampaScheda_Chiave.h"
#include "shell/ScreenKit.h"
#include "tests/support/PdfText.h"
#include "tests/support/ScriptedSeams.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList Boxes{u"txtCodice"_s, u"txtTipo"_s,         u"txtUtilizzo"_s, u"txtStato"_s,   u"txtDuplicati"_s,
                        u"txtLuogo"_s,  u"txtResponsabile"_s, u"txtRecapiti"_s, u"txtPersone"_s, u"txtNote"_s};

const QString PrintFailed = u"Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                            u"Si consiglia di controllare le impostazioni della stampante."_s;

QPushButton* button(QWidget& window, const char* name)
{
    auto* found = window.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no button %s", name);
    return found;
}

} // namespace

class tst_StampaScheda_Chiave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowAsDesigned();
    void printsTheCardAsTheEditorShowsIt();
    void emptyEditorPrintsLabelsAndFrames();
    void cancellingClosesWithoutPrintingOrMessage();
    void annullaClosesWithoutPrinting_data();
    void annullaClosesWithoutPrinting();
    void enterOnTheFocusedStampaPrints();
    void failedPrintIsWarnedAndCloses();
};

void tst_StampaScheda_Chiave::initTestCase()
{
    qputenv("CUPS_SERVER", QByteArray("/nonexistent/ingressario-cups.sock"));
}

void tst_StampaScheda_Chiave::windowAsDesigned()
{
    TestContext t;
    TfrmStampaScheda_Chiave frm(t.ctx);
    QCOMPARE(frm.windowTitle(), u" Stampa scheda"_s);
    QVERIFY(!(frm.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(frm.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(button(frm, "btnStampa")->text(), u"Stampa"_s);
    QCOMPARE(button(frm, "btnAnnulla")->text(), u"Annulla"_s);
    for (const char* name :
         {"btnStampa", "btnAnnulla", "icoInf01", "icoInf02", "imgLogo01", "imgSezione04", "shpSfondo", "shpSepara"}) {
        auto* control = frm.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(control, name);
        QVERIFY2(!control->accessibleName().isEmpty(), name);
    }
    QCOMPARE(frm.document().name(), u"Scheda Pass"_s);
}

void tst_StampaScheda_Chiave::printsTheCardAsTheEditorShowsIt()
{
    TestContext t;
    t.clock.moment = QDateTime(QDate(2025, 3, 7), QTime(9, 5, 7));
    // Edited on screen and never saved; blanks around a value are not printed.
    const QStringList values{u"  00042 "_s,           u"Badge"_s,     u"Ingresso principale"_s,
                             u"Disponibile"_s,        u"2"_s,         u"Portineria\t"_s,
                             u"Mario Rossi"_s,        u"int. 2114"_s, u"Anna Bianchi [sostituta]"_s,
                             u"Nota: città già più"_s};
    QMap<QString, QString> shown;
    for (int i = 0; i < Boxes.size(); ++i)
        shown.insert(Boxes.at(i), values.at(i));

    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.setValues(shown);
    frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frm));
    QTest::mouseClick(button(frm, "btnStampa"), Qt::LeftButton);

    QVERIFY(!frm.isVisible()); // printed, then closed
    QVERIFY(t.messages.calls.isEmpty());
    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1});
    QCOMPARE(PdfText::pageCount(t.printers.pdfPath), 1);
    QCOMPARE(PdfText::title(t.printers.pdfPath), u"Scheda Pass"_s);
    const QString text = PdfText::pages(t.printers.pdfPath).first();
    for (const QString& expected :
         {u"SCHEDA PASS"_s, u"Numero identificativo:"_s, u"00042"_s, u"Ingresso principale"_s,
          u"Luogo conservazione:"_s, u"Portineria"_s, u"Anna Bianchi [sostituta]"_s, u"Nota: città già più"_s,
          u"Stampa eseguita in data 07/03/2025 alle ore 09:05:07"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected + u" missing from:\n"_s + text));
    QVERIFY(!text.contains(u"  00042 "_s));
}

void tst_StampaScheda_Chiave::emptyEditorPrintsLabelsAndFrames()
{
    TestContext t;
    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.show();
    QTest::mouseClick(button(frm, "btnStampa"), Qt::LeftButton);

    QVERIFY(t.messages.calls.isEmpty());
    QStringList lines;
    for (const QString& line : PdfText::pages(t.printers.pdfPath).first().split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    QCOMPARE(lines, (QStringList{u"SCHEDA PASS"_s, u"Numero identificativo:"_s, u"Tipo pass:"_s, u"Utilizzo:"_s,
                                 u"Stato attuale:"_s, u"Duplicati:"_s, u"Luogo conservazione:"_s, u"Responsabile:"_s,
                                 u"Recapiti:"_s, u"Persone autorizzate al ritiro:"_s, u"Note:"_s,
                                 u"Stampa eseguita in data 07/03/2025 alle ore 09:05:00"_s}));
}

void tst_StampaScheda_Chiave::cancellingClosesWithoutPrintingOrMessage()
{
    TestContext t;
    t.printers.cancel = true;
    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.setValues({{u"txtCodice"_s, u"00001"_s}});
    frm.show();
    QTest::mouseClick(button(frm, "btnStampa"), Qt::LeftButton);

    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1}); // the dialog was shown
    QVERIFY(!frm.isVisible());
    QVERIFY(t.messages.calls.isEmpty());
    QVERIFY(!QFile::exists(t.printers.pdfPath));
}

void tst_StampaScheda_Chiave::annullaClosesWithoutPrinting_data()
{
    QTest::addColumn<QString>("focus"); // the focused button; none for a mouse click on "Annulla"
    QTest::addColumn<int>("key");
    QTest::newRow("click") << QString() << 0;
    // Enter presses the focused "Annulla", as the space bar does.
    QTest::newRow("Return on Annulla") << u"btnAnnulla"_s << int(Qt::Key_Return);
    QTest::newRow("Enter on Annulla") << u"btnAnnulla"_s << int(Qt::Key_Enter);
    // Escape is "Annulla", whichever button has the focus.
    QTest::newRow("Escape on Annulla") << u"btnAnnulla"_s << int(Qt::Key_Escape);
    QTest::newRow("Escape on Stampa") << u"btnStampa"_s << int(Qt::Key_Escape);
}

void tst_StampaScheda_Chiave::annullaClosesWithoutPrinting()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    TestContext t;
    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.show();
    if (focus.isEmpty()) {
        QTest::mouseClick(button(frm, "btnAnnulla"), Qt::LeftButton);
    } else {
        QPushButton* focused = button(frm, qPrintable(focus));
        focused->setFocus(Qt::TabFocusReason);
        QCOMPARE(frm.focusWidget(), focused);
        QTest::keyClick(focused, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }

    QVERIFY(!frm.isVisible());
    QVERIFY(t.printers.requestedPageCounts.isEmpty());
    QVERIFY(t.messages.calls.isEmpty());
    QVERIFY(!QFile::exists(t.printers.pdfPath));
}

void tst_StampaScheda_Chiave::enterOnTheFocusedStampaPrints()
{
    TestContext t;
    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.setValues({{u"txtCodice"_s, u"00001"_s}});
    frm.show();
    QPushButton* stampa = button(frm, "btnStampa");
    stampa->setFocus(Qt::TabFocusReason);
    QTest::keyClick(stampa, Qt::Key_Return);

    QCOMPARE(t.printers.requestedPageCounts, QList<int>{1});
    QVERIFY(PdfText::pages(t.printers.pdfPath).value(0).contains(u"00001"_s));
    QVERIFY(!frm.isVisible()); // printed, then closed
}

void tst_StampaScheda_Chiave::failedPrintIsWarnedAndCloses()
{
    TestContext t;
    t.printers.pdfPath = t.dir.filePath(u"non/esiste/scheda.pdf"_s);
    TfrmStampaScheda_Chiave frm(t.ctx);
    frm.show();
    bool visibleDuringWarning = false;
    t.messages.onMessage = [&] { visibleDuringWarning = frm.isVisible(); };
    QTest::mouseClick(button(frm, "btnStampa"), Qt::LeftButton);

    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls.first().kind, MessageCall::Warning);
    QCOMPARE(t.messages.lastText(), PrintFailed);
    QVERIFY(visibleDuringWarning); // the warning comes first, then the window closes
    QVERIFY(!frm.isVisible());
}

QTEST_MAIN(tst_StampaScheda_Chiave)
#include "tst_StampaScheda_Chiave.moc"
