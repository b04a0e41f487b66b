// Companion windows closed while their own message box is up. A mouse cannot reach a window behind
// a modal box, but a screen reader's or an automation tool's press can: the window closes behind the
// box, the box is answered afterwards, and the command that asked goes on to its end. The boxes are
// the program's real ones (QtMessages), since what is at stake is who owns them.

#include "archives/HistoryFile.h"
#include "history/Riepilogo.h"
#include "registry/AllegaCartella.h"
#include "registry/ExpChiavi.h"
#include "registry/Schedario_Chiavi.h"
#include "registry/StampaScheda_Chiave.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "shell/Navigation.h"
#include "shell/QtSeams.h"
#include "shell/ScreenKit.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString ExportQuestion =
    u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;

// Presses a control as a screen reader or an automation tool does: through the press action of its
// accessible interface, which a modal box in front of its window does not stop. The request comes
// as an event, delivered by whichever event loop is running (the box's own).
void pressAsScreenReader(QWidget* control)
{
    QVERIFY(control);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    QVERIFY(accessible && accessible->actionInterface());
    QVERIFY(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QMetaObject::invokeMethod(
        control,
        [control] {
            QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        },
        Qt::QueuedConnection);
}

// How the companion is closed behind its box: the press of one of its controls, or (an empty name)
// the window's own close, asked as a window manager or an automation tool asks it: by an event that
// the box's own event loop delivers.
void closeBehindTheBox(QWidget* companion, const QString& control)
{
    QVERIFY(companion);
    if (control.isEmpty()) {
        QMetaObject::invokeMethod(companion, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    auto* widget = companion->findChild<QWidget*>(control);
    QVERIFY2(widget, qPrintable(control));
    pressAsScreenReader(widget);
}

// Answers the real message boxes as they come up, in order. While the first one is up it closes the
// companion behind it, waits until the companion is hidden (the events of that wait are where a
// window deleted too early takes the box with it), and checks the box is still there to be answered.
class BoxAnswers : public QObject
{
public:
    BoxAnswers(QList<QMessageBox::StandardButton> answers, std::function<QWidget*()> companion, QString control)
        : m_answers(std::move(answers)), m_companion(std::move(companion)), m_control(std::move(control))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswers::poll);
        m_poll.start(20);
    }

    QStringList texts;         // of every box, in order
    bool closedBehind = false; // the companion was hidden while the first box was still up

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        texts << box->text();
        const QPointer<QMessageBox> guard(box);
        if (texts.size() == 1) {
            const QPointer<QWidget> companion = m_companion();
            closeBehindTheBox(companion, m_control);
            QTRY_VERIFY(!companion || companion->isHidden());
            QVERIFY2(guard && guard->isVisible(), "the box went with the window behind it");
            closedBehind = true;
        }
        if (!guard)
            return;
        if (m_answers.isEmpty()) {
            qWarning("unexpected box: %s", qPrintable(box->text()));
            box->button(box->standardButtons().testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok)->click();
            return;
        }
        box->button(m_answers.takeFirst())->click();
    }

    QTimer m_poll;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<QWidget*()> m_companion;
    QString m_control;
};

// The card editor with one card on show, on a fresh ProgramFolder whose messages are the real boxes.
struct Editor
{
    TestContext t;
    QtMessages boxes;
    TfrmSchedario_Chiavi w{t.ctx};

    Editor()
    {
        t.ctx.messages = &boxes;
        PassRecord card;
        card.Codice = u"B-07"_s;
        card.Tipo = u"Badge"_s;
        card.Stato = PassValues::Disponibile;
        card.Smarrita = PassValues::No;
        card.File01 = u"piantina.pdf"_s;
        card.File02 = u"foto.jpg"_s;
        QVERIFY(DataFiles::writeCards(t.ctx, {card}));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(&w, u"cmdPrimo"_s);
        QCOMPARE(w.attachmentFile(2), u"foto.jpg"_s);
    }

    static void click(QWidget* window, const QString& name)
    {
        auto* button = window->findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Opens a companion with the editor's command and runs `work` on it while it is shown modally.
    // Returns the companion as it was seen, to check that it is gone once the command returned.
    QPointer<QWidget> withCompanion(const QString& command, const std::function<void(QWidget*)>& work)
    {
        QPointer<QWidget> seen;
        QTimer::singleShot(0, &w, [&] {
            seen = QApplication::activeModalWidget();
            QVERIFY(seen);
            work(seen);
            if (seen && seen->isVisible()) {
                qWarning("the companion stayed open");
                seen->close();
            }
        });
        click(&w, command);
        return seen;
    }
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class tst_CompanionLifeCycle : public QObject
{
    Q_OBJECT

private slots:
    void cardExportClosedWhileItAsks_data();
    void cardExportClosedWhileItAsks();
    void historyViewClosedWhileItAsks_data();
    void historyViewClosedWhileItAsks();
    void attachmentsClosedWhileTheOverwriteQuestionIsUp_data();
    void attachmentsClosedWhileTheOverwriteQuestionIsUp();
    void searchClosedWhileItsMessageIsUp_data();
    void searchClosedWhileItsMessageIsUp();
    void cardPrintClosedWhileItsWarningIsUp_data();
    void cardPrintClosedWhileItsWarningIsUp();
    void exportClosedWhileItsGuideIsUp();
};

void tst_CompanionLifeCycle::cardExportClosedWhileItAsks_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("cmdEsci pressed") << u"cmdEsci"_s;
    QTest::newRow("window closed") << QString();
}

void tst_CompanionLifeCycle::cardExportClosedWhileItAsks()
{
    QFETCH(QString, control);
    Editor e;
    QPointer<QWidget> frm;
    BoxAnswers answers(
        {QMessageBox::Yes, QMessageBox::Yes}, [&] { return frm.data(); }, control);
    const QPointer<QWidget> seen = e.withCompanion(u"cmdEsporta"_s, [&](QWidget* window) {
        frm = window;
        QVERIFY(qobject_cast<TfrmExpChiavi*>(window));
        Editor::click(window, u"cmdEsporta"_s);
    });
    QVERIFY(answers.closedBehind);
    QVERIFY(seen.isNull()); // destroyed once the command that asked had ended
    // Asked before the window went, the export goes on to its end: written, then opened.
    QCOMPARE(answers.texts.size(), 2);
    QCOMPARE(answers.texts.first(), ExportQuestion);
    QVERIFY(contents(e.t.ctx.file(u"Schedario_Pass.xls"_s)).contains("B-07"));
    // The workbook beside it is the file opened.
    const QString workbook = e.t.ctx.file(u"Schedario_Pass.xlsx"_s);
    QVERIFY(QFileInfo(workbook).size() > 0);
    QCOMPARE(e.t.shell.commands, QStringList{u'"' + QDir::toNativeSeparators(workbook) + u'"'});
    QVERIFY(e.w.isVisible());
}

void tst_CompanionLifeCycle::historyViewClosedWhileItAsks_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("cmdEsci pressed") << u"cmdEsci"_s;
    QTest::newRow("window closed") << QString();
}

void tst_CompanionLifeCycle::historyViewClosedWhileItAsks()
{
    QFETCH(QString, control);
    TestContext t;
    QtMessages boxes;
    t.ctx.messages = &boxes;
    {
        HistoryRecord r;
        r.Codice = u"B-07"_s;
        r.DataRit = u"07/03/2025"_s;
        r.DataRic = u"07/03/2025"_s;
        HistoryFile file(t.ctx.programFolder);
        QVERIFY(file.open());
        QVERIFY(file.append(r).has_value());
    }
    // Stands in for the history interval window, which opens the view and shows its waiting text.
    QWidget opener;
    auto* lblAttendere = new QLabel(u"Caricamento riepilogo in corso. Attendere..."_s, &opener);
    opener.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opener));

    QPointer<QWidget> view;
    BoxAnswers answers(
        {QMessageBox::Yes, QMessageBox::No}, [&] { return view.data(); }, control);
    QTimer::singleShot(0, &opener, [&] {
        view = QApplication::activeModalWidget();
        QVERIFY(qobject_cast<TfrmRiepilogo*>(view));
        Editor::click(view, u"cmdEsporta"_s);
        if (view && view->isVisible())
            view->close();
    });
    Navigation::runModal<TfrmRiepilogo>(&opener, t.ctx, [&](TfrmRiepilogo& frm) {
        frm.setInterval(u"01/01/2025"_s, u"31/12/2025"_s);
        QObject::connect(&frm, &TfrmRiepilogo::hidden, lblAttendere, &QWidget::hide);
        ScreenKit::showWaiting(lblAttendere);
        frm.FormShow();
    });
    QVERIFY(answers.closedBehind);
    QVERIFY(view.isNull());
    QVERIFY(lblAttendere->isHidden()); // hidden by the view as it closed
    QCOMPARE(answers.texts.size(), 2); // written, and not opened
    QCOMPARE(answers.texts.first(), ExportQuestion);
    QVERIFY(contents(t.ctx.file(u"Storico_Operazioni.xls"_s)).contains("B-07"));
    QVERIFY(t.shell.commands.isEmpty());
}

void tst_CompanionLifeCycle::attachmentsClosedWhileTheOverwriteQuestionIsUp_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QString>("slot2"); // the card editor's second attachment afterwards
    // "Applica e chiudi" writes the slots as they are: the new name is already in its slot.
    QTest::newRow("btnApplica pressed, Yes") << u"btnApplica"_s << true << u"piantina.pdf"_s;
    QTest::newRow("btnAnnulla pressed, No") << u"btnAnnulla"_s << false << u"foto.jpg"_s;
    QTest::newRow("window closed, Yes") << QString() << true << u"foto.jpg"_s;
}

void tst_CompanionLifeCycle::attachmentsClosedWhileTheOverwriteQuestionIsUp()
{
    QFETCH(QString, control);
    QFETCH(bool, overwrite);
    QFETCH(QString, slot2);
    Editor e;
    const QString folder = TfrmAllegaCartella::folderOf(e.t.ctx);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + u"piantina.pdf"_s, "old"));
    QTemporaryDir sources;
    QVERIFY(writeFile(sources.filePath(u"piantina.pdf"_s), "new"));
    e.t.fileDialogs.answers.enqueue(sources.filePath(u"piantina.pdf"_s));

    QPointer<QWidget> frm;
    BoxAnswers answers(
        {overwrite ? QMessageBox::Yes : QMessageBox::No}, [&] { return frm.data(); }, control);
    const QPointer<QWidget> seen = e.withCompanion(u"cmdFile"_s, [&](QWidget* window) {
        frm = window;
        QVERIFY(qobject_cast<TfrmAllegaCartella*>(window));
        Editor::click(window, u"btnSfoglia02"_s);
    });
    QVERIFY(answers.closedBehind);
    QVERIFY(seen.isNull());
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY(answers.texts.first().startsWith(u"Attenzione: nella cartella dei documenti allegati"_s));
    QCOMPARE(e.w.attachmentFile(2), slot2);
    QCOMPARE(e.w.attachmentFile(1), u"piantina.pdf"_s);
    // The copy is made at once, whatever becomes of the window.
    QCOMPARE(contents(folder + u"piantina.pdf"_s), overwrite ? QByteArray("new") : QByteArray("old"));
}

void tst_CompanionLifeCycle::searchClosedWhileItsMessageIsUp_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("btnChiudi pressed") << u"btnChiudi"_s;
    QTest::newRow("window closed") << QString();
}

void tst_CompanionLifeCycle::searchClosedWhileItsMessageIsUp()
{
    QFETCH(QString, control);
    Editor e;
    QPointer<QWidget> frm;
    BoxAnswers answers(
        {QMessageBox::Ok}, [&] { return frm.data(); }, control);
    const QPointer<QWidget> seen = e.withCompanion(u"cmdTrova"_s, [&](QWidget* window) {
        frm = window;
        QVERIFY(qobject_cast<TfrmTrovaSchedario_Chiavi*>(window));
        // A search that finds nothing, then "Trova" in the empty list.
        QTest::keyClicks(window->findChild<QLineEdit*>(u"txtCodice"_s), u"nessuna"_s);
        Editor::click(window, u"btnCerca"_s);
        QVERIFY(window->findChild<QWidget*>(u"btnTrova"_s)->isVisible());
        Editor::click(window, u"btnTrova"_s);
    });
    QVERIFY(answers.closedBehind);
    QVERIFY(seen.isNull());
    QCOMPARE(answers.texts, QStringList{u"Ricerca non applicabile: la lista non contiene nessuna voce."_s});
    QCOMPARE(e.w.findChild<QLineEdit*>(u"txtCodice"_s)->text(), u"B-07"_s); // the editor as it was
}

void tst_CompanionLifeCycle::cardPrintClosedWhileItsWarningIsUp_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("btnAnnulla pressed") << u"btnAnnulla"_s;
    QTest::newRow("window closed") << QString();
}

void tst_CompanionLifeCycle::cardPrintClosedWhileItsWarningIsUp()
{
    QFETCH(QString, control);
    Editor e;
    e.t.printers.pdfPath = e.t.dir.filePath(u"non/esiste/scheda.pdf"_s); // the print fails
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QPointer<QWidget> frm;
    BoxAnswers answers(
        {QMessageBox::Ok}, [&] { return frm.data(); }, control);
    const QPointer<QWidget> seen = e.withCompanion(u"cmdStampa"_s, [&](QWidget* window) {
        frm = window;
        QVERIFY(qobject_cast<TfrmStampaScheda_Chiave*>(window));
        Editor::click(window, u"btnStampa"_s);
    });
    QVERIFY(answers.closedBehind);
    QVERIFY(seen.isNull());
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY(answers.texts.first().startsWith(u"Attenzione: la stampa della scheda non è andata a buon fine."_s));
}

// A companion opened by another is a loop inside it too: the export window, closed while its guide
// is up, goes once the guide has closed and the guide command has ended.
void tst_CompanionLifeCycle::exportClosedWhileItsGuideIsUp()
{
    Editor e;
    QPointer<QWidget> guide;
    bool closedBehind = false;
    const QPointer<QWidget> seen = e.withCompanion(u"cmdEsporta"_s, [&](QWidget* frm) {
        QTimer::singleShot(0, frm, [&, frm = QPointer<QWidget>(frm)] {
            guide = QApplication::activeModalWidget();
            QVERIFY(guide && guide != frm);
            pressAsScreenReader(frm->findChild<QWidget*>(u"cmdEsci"_s));
            QTRY_VERIFY(!frm || frm->isHidden());
            QVERIFY2(guide && guide->isVisible(), "the guide went with the window behind it");
            closedBehind = true;
            Editor::click(guide, u"btnChiudi"_s);
        });
        Editor::click(frm, u"cmdGuida"_s);
    });
    QVERIFY(closedBehind);
    QVERIFY(guide.isNull());
    QVERIFY(seen.isNull());
    QVERIFY(e.w.isVisible());
}

QTEST_MAIN(tst_CompanionLifeCycle)
#include "tst_CompanionLifeCycle.moc"
