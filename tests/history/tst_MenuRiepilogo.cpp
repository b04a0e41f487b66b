// The history interval window: the period, its checks and the windows it opens.
#include "archives/HistoryFile.h"
#include "grids/StringGridModel.h"
#include "history/MenuRiepilogo.h"
#include "history/Riepilogo.h"
#include "lists/RiepDaRiconsegnare.h"
#include "shell/Guida.h"
#include "shell/ScreenKit.h"
#include "tests/support/DropDowns.h"
#include "tests/support/ScriptedSeams.h"
#include "tests/support/Spoken.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString ValidDate = u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare una data valida."_s;

// Waits for the next modal window, lets `inspect` look at it, then closes it.
void closeNextModal(const std::function<void(QWidget*)>& inspect)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        inspect(modal);
        modal->close();
    });
    timer->start();
}

struct Window
{
    TestContext t;
    std::unique_ptr<TfrmMenuRiepilogo> w;

    Window()
    {
        w = std::make_unique<TfrmMenuRiepilogo>(t.ctx);
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void setPeriod(const QString& anno, const QString& gi, const QString& mi, const QString& gf, const QString& mf)
    {
        w->txtAnno->setText(anno);
        w->txtGiornoInizio->setEditText(gi);
        w->txtMeseInizio->setEditText(mi);
        w->txtGiornoFine->setEditText(gf);
        w->txtMeseFine->setEditText(mf);
    }
    // A click on the picture as the operator makes it: the waiting text shows from the press.
    void clickRiepilogo() { QTest::mouseClick(w->btnRiepilogo, Qt::LeftButton); }
};

} // namespace

class TestMenuRiepilogo : public QObject
{
    Q_OBJECT

private slots:
    void designState();
    void everyShowingResetsThePeriod();
    void yearFieldTakesDigitsAndFillsTheYearLabels();
    void enterChain();
    void fieldsOutsideTheirListsAreEmptiedOnLeaving();
    void dropDownsChangeOnlyByTheirLists_data();
    void dropDownsChangeOnlyByTheirLists();
    void checks_data();
    void checks();
    void acceptedPeriodOpensTheView_data();
    void acceptedPeriodOpensTheView();
    void linkAndPictureOpenThePassesNotYetReturned();
    void guidePage();
};

void TestMenuRiepilogo::designState()
{
    TestContext t;
    TfrmMenuRiepilogo w(t.ctx);
    QCOMPARE(w.windowTitle(), u" Ingressario - Storico Operazioni"_s);
    QCOMPARE(w.grpDataInizio->title(), u" Data inizio intervallo: "_s);
    QCOMPARE(w.grpDataFine->title(), u" Data fine intervallo: "_s);
    QCOMPARE(w.titAnno->text(), u"Anno:"_s);
    QCOMPARE(w.lblAttendere->text(), u"Caricamento riepilogo in corso. Attendere..."_s);
    QCOMPARE(w.lnkWeb->text(), u"Fare clic qui per visualizzare l'elenco dei pass non ancora riconsegnati"_s);
    QCOMPARE(w.txtAnno->maxLength(), 4);
    QCOMPARE(w.txtGiornoInizio->lineEdit()->maxLength(), 2);
    QCOMPARE(w.txtMeseFine->lineEdit()->maxLength(), 9);
    QCOMPARE(w.txtMeseInizio->count(), 12);
    QCOMPARE(w.txtMeseInizio->itemText(0), u"Gennaio"_s);
    QCOMPARE(w.txtGiornoFine->itemText(30), u"31"_s);
    for (const char* name : {"effAnno", "effGiornoInizio", "effMeseInizio", "effGiornoFine", "effMeseFine",
                             "btnRiepilogo", "cmdWeb", "btnGuida", "btnChiudi"})
        QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)), name);
    QVERIFY(w.lblAttendere->isHidden());
}

void TestMenuRiepilogo::everyShowingResetsThePeriod()
{
    Window x;
    QCOMPARE(x.w->txtGiornoInizio->currentText(), u"07"_s);
    QCOMPARE(x.w->txtGiornoFine->currentText(), u"07"_s);
    QCOMPARE(x.w->txtMeseInizio->currentText(), u"Marzo"_s);
    QCOMPARE(x.w->txtMeseFine->currentText(), u"Marzo"_s);
    QCOMPARE(x.w->txtAnno->text(), u"2025"_s);
    QCOMPARE(x.w->lblAnnoInizio->text(), u"2025"_s);
    QCOMPARE(x.w->lblAnnoFine->text(), u"2025"_s);
    QCOMPARE(QApplication::focusWidget(), x.w->txtAnno);
    QVERIFY(x.w->findChild<QWidget*>(u"effAnno"_s)->isVisible());

    // Whatever was chosen goes at the next showing, on another day.
    x.w->txtMeseFine->setCurrentIndex(11);
    x.w->txtGiornoInizio->setCurrentIndex(0);
    x.w->txtAnno->setText(u"2020"_s);
    x.w->hide();
    x.t.clock.moment = QDateTime(QDate(2026, 5, 14), QTime(8, 0));
    x.w->show();
    for (QComboBox* day : {x.w->txtGiornoInizio, x.w->txtGiornoFine}) {
        QCOMPARE(day->currentText(), u"14"_s);
        QCOMPARE(day->currentIndex(), -1); // no item highlighted
    }
    for (QComboBox* month : {x.w->txtMeseInizio, x.w->txtMeseFine}) {
        QCOMPARE(month->currentText(), u"Maggio"_s);
        QCOMPARE(month->currentIndex(), -1);
    }
    QCOMPARE(x.w->txtAnno->text(), u"2026"_s);
    QCOMPARE(x.w->lblAnnoInizio->text(), u"2026"_s);
}

void TestMenuRiepilogo::yearFieldTakesDigitsAndFillsTheYearLabels()
{
    Window x;
    x.w->txtAnno->clear();
    for (const char* key : {"2", "0", "a", "5"})
        QTest::keyClicks(x.w->txtAnno, QString::fromLatin1(key));
    QCOMPARE(x.w->txtAnno->text(), u"205"_s);
    QCOMPARE(x.w->lblAnnoInizio->text(), u"205"_s);
    QCOMPARE(x.w->lblAnnoFine->text(), u"205"_s);
    // The drop-downs take no typing at all, not even Backspace.
    QTest::keyClicks(x.w->txtGiornoInizio, u"12"_s);
    QTest::keyClick(x.w->txtGiornoInizio, Qt::Key_Backspace);
    QCOMPARE(x.w->txtGiornoInizio->currentText(), u"07"_s);
}

void TestMenuRiepilogo::enterChain()
{
    Window x;
    const QList<QWidget*> chain = {x.w->txtAnno,       x.w->txtGiornoInizio, x.w->txtMeseInizio,
                                   x.w->txtGiornoFine, x.w->txtMeseFine,     x.w->txtAnno};
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), chain[i]);
        QTest::keyClick(chain[i], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), chain[i + 1]);
        // One focus mark at a time, the focused field's.
        QCOMPARE(x.w->focusMarks()->markOf(chain[i + 1])->isVisible(), true);
        if (chain[i] != chain[i + 1])
            QCOMPARE(x.w->focusMarks()->markOf(chain[i])->isVisible(), false);
    }
}

void TestMenuRiepilogo::fieldsOutsideTheirListsAreEmptiedOnLeaving()
{
    Window x;
    x.w->txtGiornoInizio->setEditText(u"32"_s);
    x.w->txtMeseInizio->setEditText(u" marzo "_s);
    x.w->txtGiornoFine->setEditText(u"5"_s);
    x.w->txtMeseFine->setEditText(u"Marzolino"_s);
    for (QWidget* field : {static_cast<QWidget*>(x.w->txtGiornoInizio), static_cast<QWidget*>(x.w->txtMeseInizio),
                           static_cast<QWidget*>(x.w->txtGiornoFine), static_cast<QWidget*>(x.w->txtMeseFine),
                           static_cast<QWidget*>(x.w->txtAnno)})
        ScreenKit::moveFocus(field);
    QCOMPARE(x.w->txtGiornoInizio->currentText(), QString());
    QCOMPARE(x.w->txtMeseInizio->currentText(), u" marzo "_s);
    QCOMPARE(x.w->txtGiornoFine->currentText(), QString());
    QCOMPARE(x.w->txtMeseFine->currentText(), QString());
}

void TestMenuRiepilogo::dropDownsChangeOnlyByTheirLists_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("way");
    QTest::addColumn<QString>("label");
    QTest::newRow("start month, click") << u"txtMeseInizio"_s << u"Dicembre"_s << int(DropDowns::Way::Mouse)
                                        << u"Mese di inizio"_s;
    QTest::newRow("start month, keys") << u"txtMeseInizio"_s << u"Gennaio"_s << int(DropDowns::Way::Keys)
                                       << u"Mese di inizio"_s;
    QTest::newRow("start day, keys") << u"txtGiornoInizio"_s << u"01"_s << int(DropDowns::Way::Keys)
                                     << u"Giorno di inizio"_s;
    QTest::newRow("end day, click") << u"txtGiornoFine"_s << u"31"_s << int(DropDowns::Way::Mouse)
                                    << u"Giorno di fine"_s;
    QTest::newRow("end month, click") << u"txtMeseFine"_s << u"Aprile"_s << int(DropDowns::Way::Mouse)
                                      << u"Mese di fine"_s;
    QTest::newRow("end month, keys") << u"txtMeseFine"_s << u"Agosto"_s << int(DropDowns::Way::Keys)
                                     << u"Mese di fine"_s;
}

void TestMenuRiepilogo::dropDownsChangeOnlyByTheirLists()
{
    QFETCH(QString, field);
    QFETCH(QString, item);
    QFETCH(int, way);
    QFETCH(QString, label);

    Window x;
    auto* box = x.w->findChild<QComboBox*>(field);
    QVERIFY(box);
    // Reached along the Enter chain from the year.
    while (QApplication::focusWidget() != box && QApplication::focusWidget() != x.w->txtMeseFine)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), box);
    const QString shown = box->currentText();
    QVERIFY(shown == u"07"_s || shown == u"Marzo"_s);

    // The arrows, the page keys and the wheel leave the closed box as it is.
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
        QTest::keyClick(box, key);
        QCOMPARE(box->currentText(), shown);
    }
    DropDowns::turnWheel(box, -1);
    DropDowns::turnWheel(box, 1);
    QCOMPARE(box->currentText(), shown);

    // The list opened from the keyboard gives its item, and leaving keeps it.
    QVERIFY(DropDowns::openAndChoose(box, item, DropDowns::Way(way)));
    QCOMPARE(box->currentText(), item);
    // A screen reader reads the box, and the edit inside it, by its label; the item is its value.
    QCOMPARE(Spoken::name(box), label);
    QCOMPARE(Spoken::name(box->lineEdit()), label);
    QCOMPARE(Spoken::value(box), item);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), item);
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != box);
    QCOMPARE(box->currentText(), item);
}

void TestMenuRiepilogo::checks_data()
{
    QTest::addColumn<QStringList>("period"); // year, start day, start month, end day, end month
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // empty: the focus stays where it was
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    const QString year = u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_s;
    QTest::newRow("three-digit year") << QStringList{u"025"_s, u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s}
                                      << int(MessageCall::Warning) << year << u"txtAnno"_s << u""_s << u""_s;
    QTest::newRow("empty year before anything else")
        << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s} << int(MessageCall::Warning) << year << u"txtAnno"_s << u""_s
        << u""_s;
    QTest::newRow("start day, before the months")
        << QStringList{u"2025"_s, u""_s, u""_s, u""_s, u""_s} << int(MessageCall::Warning)
        << u"Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata."_s
        << u"txtGiornoInizio"_s << u""_s << u""_s;
    QTest::newRow("start month") << QStringList{u"2025"_s, u"01"_s, u" "_s, u""_s, u""_s} << int(MessageCall::Warning)
                                 << u"Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a "
                                    u"cascata."_s
                                 << u"txtMeseInizio"_s << u""_s << u""_s;
    QTest::newRow("end day") << QStringList{u"2025"_s, u"01"_s, u"Marzo"_s, u""_s, u""_s} << int(MessageCall::Warning)
                             << u"Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a "
                                u"cascata."_s
                             << u"txtGiornoFine"_s << u""_s << u""_s;
    QTest::newRow("end month") << QStringList{u"2025"_s, u"01"_s, u"Marzo"_s, u"31"_s, u""_s}
                               << int(MessageCall::Warning)
                               << u"Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a "
                                  u"cascata."_s
                               << u"txtMeseFine"_s << u""_s << u""_s;
    QTest::newRow("31 April") << QStringList{u"2025"_s, u"31"_s, u"Aprile"_s, u"31"_s, u"Maggio"_s}
                              << int(MessageCall::Plain)
                              << u"Attenzione: la data 31/04/2025 di inizio intervallo non esiste."_s + ValidDate
                              << u"txtGiornoInizio"_s << u"31/04/2025"_s << u""_s;
    QTest::newRow("29 February, common year")
        << QStringList{u"2025"_s, u"29"_s, u"Febbraio"_s, u"01"_s, u"Marzo"_s} << int(MessageCall::Plain)
        << u"Attenzione: la data 29/02/2025 di inizio intervallo non esiste."_s + ValidDate << u"txtGiornoInizio"_s
        << u"29/02/2025"_s << u""_s;
    QTest::newRow("29 February as the end, common year")
        << QStringList{u"2023"_s, u"01"_s, u"Febbraio"_s, u"29"_s, u"febbraio"_s} << int(MessageCall::Plain)
        << u"Attenzione: la data 29/02/2023 di fine intervallo non esiste."_s + ValidDate << u"txtGiornoFine"_s
        << u"01/02/2023"_s << u"29/02/2023"_s;
    QTest::newRow("year 0000") << QStringList{u"0000"_s, u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s}
                               << int(MessageCall::Plain)
                               << u"Attenzione: la data 01/03/0000 di inizio intervallo non esiste."_s + ValidDate
                               << u"txtGiornoInizio"_s << u"01/03/0000"_s << u""_s;
    QTest::newRow("end before start")
        << QStringList{u"2025"_s, u"20"_s, u"Marzo"_s, u"10"_s, u"Marzo"_s} << int(MessageCall::Plain)
        << u"Attenzione: la data di fine intervallo (10/03/2025) non può essere anteriore "
           u"a quella di inizio intervallo (20/03/2025).\n\r\n\rPer poter visualizzare il "
           u"riepilogo è necessario indicare un intervallo di tempo valido."_s
        << u""_s << u"20/03/2025"_s << u"10/03/2025"_s;
}

void TestMenuRiepilogo::checks()
{
    QFETCH(QStringList, period);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, start);
    QFETCH(QString, end);

    Window x;
    // A period checked before leaves both its dates built; each check starts from none.
    x.setPeriod(u"2025"_s, u"20"_s, u"Marzo"_s, u"10"_s, u"Marzo"_s);
    x.clickRiepilogo();
    QCOMPARE(x.w->startDate(), u"20/03/2025"_s);
    QCOMPARE(x.w->endDate(), u"10/03/2025"_s);
    x.t.messages.calls.clear();
    x.setPeriod(period[0], period[1], period[2], period[3], period[4]);
    // The operator was last in the end month; the picture takes no focus from it.
    x.w->txtMeseFine->setFocus();
    bool waitingDuringMessage = false;
    x.t.messages.onMessage = [&] { waitingDuringMessage = x.w->lblAttendere->isVisible(); };
    x.clickRiepilogo();

    QCOMPARE(x.t.messages.calls.size(), 1); // each message once, the first failing check only
    QCOMPARE(int(x.t.messages.calls[0].kind), kind);
    QCOMPARE(x.t.messages.calls[0].text, message);
    QVERIFY(waitingDuringMessage);
    QVERIFY(x.w->lblAttendere->isHidden());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus.isEmpty() ? u"txtMeseFine"_s : focus);
    QCOMPARE(x.w->startDate(), start);
    QCOMPARE(x.w->endDate(), end);
    QVERIFY(!x.w->findChild<TfrmRiepilogo*>());
}

void TestMenuRiepilogo::acceptedPeriodOpensTheView_data()
{
    QTest::addColumn<QStringList>("period");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("29 February, leap year")
        << QStringList{u"2024"_s, u"29"_s, u"Febbraio"_s, u"01"_s, u"Marzo"_s}
        << u"Storico operazioni dal 29/02/2024 al 01/03/2024"_s << QStringList{u"L-1"_s};
    QTest::newRow("one day") << QStringList{u"2025"_s, u"15"_s, u"Marzo"_s, u"15"_s, u"marzo"_s}
                             << u"Storico operazioni dal 15/03/2025 al 15/03/2025"_s << QStringList{u"M-15"_s};
    QTest::newRow("whole year") << QStringList{u"2025"_s, u"01"_s, u"Gennaio"_s, u"31"_s, u"Dicembre"_s}
                                << u"Storico operazioni dal 01/01/2025 al 31/12/2025"_s
                                << QStringList{u"M-15"_s, u"M-16"_s};
}

void TestMenuRiepilogo::acceptedPeriodOpensTheView()
{
    QFETCH(QStringList, period);
    QFETCH(QString, title);
    QFETCH(QStringList, codes);

    Window x;
    HistoryFile history(x.t.ctx.programFolder);
    QVERIFY(history.open());
    for (const auto& [codice, withdrawn] : {std::pair{u"L-1"_s, u"29/02/2024"_s}, std::pair{u"M-15"_s, u"15/03/2025"_s},
                                            std::pair{u"M-16"_s, u"16/03/2025"_s}}) {
        HistoryRecord r;
        r.Codice = codice;
        r.Tipo = u"Badge"_s;
        r.DataRit = withdrawn;
        QVERIFY(history.append(r).has_value());
    }
    history.close();

    x.setPeriod(period[0], period[1], period[2], period[3], period[4]);
    QString shownTitle;
    QStringList shownCodes;
    bool waitingWhileShown = false;
    closeNextModal([&](QWidget* modal) {
        auto* view = qobject_cast<TfrmRiepilogo*>(modal);
        QVERIFY(view);
        QCOMPARE(view->parentWidget(), x.w.get());
        shownTitle = view->lblIntervallo->text();
        for (int r = 0; r < view->grid()->rowCount(); ++r)
            shownCodes << view->grid()->cell(r, TfrmRiepilogo::colCodice);
        waitingWhileShown = x.w->lblAttendere->isVisible();
    });
    x.clickRiepilogo();

    QVERIFY(x.t.messages.calls.isEmpty());
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownCodes, codes);
    QVERIFY(waitingWhileShown);
    // Closing the view hid the waiting text; the built period stays until the next click.
    QVERIFY(x.w->lblAttendere->isHidden());
    QCOMPARE(u"Storico operazioni dal "_s + x.w->startDate() + u" al "_s + x.w->endDate(), title);
    QVERIFY(!x.w->findChild<TfrmRiepilogo*>());
}

void TestMenuRiepilogo::linkAndPictureOpenThePassesNotYetReturned()
{
    Window x;
    for (QAbstractButton* opener :
         {static_cast<QAbstractButton*>(x.w->lnkWeb), static_cast<QAbstractButton*>(x.w->cmdWeb)}) {
        QString opened;
        closeNextModal([&](QWidget* modal) {
            opened = QString::fromLatin1(modal->metaObject()->className());
            QCOMPARE(modal->parentWidget(), x.w.get());
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        QCOMPARE(opened, u"TfrmRiepDaRiconsegnare"_s);
        QCOMPARE(x.w->lnkWeb->colour(), Look::rgb(Look::Role::Link));
        QVERIFY(!x.w->findChild<TfrmRiepDaRiconsegnare*>()); // gone once closed
    }
    // Held down on the picture, the link shows its pressed colour.
    QTest::mousePress(x.w->cmdWeb, Qt::LeftButton);
    QCOMPARE(x.w->lnkWeb->colour(), Look::rgb(Look::Role::LinkPressed));
    closeNextModal([](QWidget*) {});
    QTest::mouseRelease(x.w->cmdWeb, Qt::LeftButton);
    QCOMPARE(x.w->lnkWeb->colour(), Look::rgb(Look::Role::Link));
}

void TestMenuRiepilogo::guidePage()
{
    Window x;
    QString title;
    closeNextModal([&](QWidget* modal) {
        auto* guide = qobject_cast<TfrmGuida*>(modal);
        QVERIFY(guide);
        title = guide->lblTitolo->text();
    });
    QTest::mouseClick(x.w->btnGuida, Qt::LeftButton);
    QCOMPARE(title, u"App Storico Operazioni"_s);
}

QTEST_MAIN(TestMenuRiepilogo)
#include "tst_MenuRiepilogo.moc"
