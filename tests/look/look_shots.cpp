// Pictures of every window in fixed states, to compare the look of two builds pixel by pixel:
//
//     QT_QPA_PLATFORM=offscreen:configfile=tests/support/desktop-screen.json build/tools/look_shots <folder>
//     tests/look/compare_shots.sh <folder before> <folder after>
//
// The windows are opened the way the operator opens them (the launcher's work areas, the toolbar
// commands, the lists' double click), with the test seams: a fixed clock, scripted messages, the
// fixture archives in a temporary ProgramFolder. Maximised windows are shown at 1366 x 740; the
// screen is a desktop's (1920 x 1080), where every window has the room it is drawn for.

#include "app/WindowSet.h"
#include "shell/QtSeams.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString g_folder;
int g_failures = 0;

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
}

void shoot(QWidget* window, const QString& name)
{
    settle();
    if (!window->grab().save(g_folder + u'/' + name + u".png"_s)) {
        qWarning("look_shots: %s not written", qPrintable(name));
        ++g_failures;
    }
}

QWidget* topLevel(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

template <class T = QWidget> T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("look_shots: %s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

void click(QWidget* window, const QString& name)
{
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

void showSized(QWidget* window)
{
    if (window->windowState() & Qt::WindowMaximized) {
        window->setWindowState(Qt::WindowNoState);
        window->resize(1366, 740);
    }
    window->show();
    window->activateWindow();
    settle();
}

// Runs `open`, which brings up the modal window `name`; `inside` shoots it (and may drive it)
// while its loop runs, then the window is closed unless `inside` has closed it.
void duringModal(const QString& name, const std::function<void()>& open, const std::function<void(QWidget*)>& inside)
{
    bool seen = false;
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        QWidget* window = topLevel(name);
        if (!window)
            return;
        poll->stop();
        seen = true;
        window->activateWindow();
        settle();
        inside(window);
        if (window->isVisible())
            window->close();
    });
    poll->start();
    open();
    delete poll;
    if (!seen) {
        qWarning("look_shots: %s did not open", qPrintable(name));
        ++g_failures;
    }
}

// A message box that `open` brings up over a window, shot and answered.
void shootMessage(const QString& shotName, const std::function<void()>& open)
{
    bool seen = false;
    QTimer::singleShot(50, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        seen = true;
        shoot(box, shotName);
        box->close();
    });
    open();
    if (!seen) {
        qWarning("look_shots: %s did not open", qPrintable(shotName));
        ++g_failures;
    }
}

void shootModal(const QString& name, const std::function<void()>& open, const QString& shotName = QString())
{
    duringModal(name, open, [&](QWidget* w) { shoot(w, shotName.isEmpty() ? name : shotName); });
}

void doubleClickRow(QWidget* window, int row)
{
    auto* list = child<QListView>(window, u"lstRecords"_s);
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, r.center().y()));
}

// The button with the pointer over it, then held down (released away from it: no click).
void hoverAndPress(QWidget* window, const QString& name, const QString& shotName)
{
    QWidget* button = child(window, name);
    QTest::mouseMove(button);
    shoot(window, shotName + u"-hover"_s);
    QTest::mousePress(button, Qt::LeftButton);
    shoot(window, shotName + u"-pressed"_s);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseMove(window, QPoint(2, 2));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: look_shots <folder>");
        return 2;
    }
    g_folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(g_folder);
    // The text cursor is drawn at every grab, whatever the moment.
    QApplication::setCursorFlashTime(0);

    TestContext t;
    for (const char* file : {"Schedario_Pass.pro", "Storico_Operazioni.pro", "unins000.dll"}) {
        const QString name = QString::fromLatin1(file);
        QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/") + name, t.ctx.file(name));
        QFile::setPermissions(t.ctx.file(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    QDir(t.ctx.programFolder).mkpath(u"Documenti_Allegati"_s);
    QFile present(t.ctx.file(u"Documenti_Allegati/presente.pdf"_s));
    present.open(QIODevice::WriteOnly);
    present.close();

    WindowSet windows(t.ctx);

    // ---- Login, password change, launcher and its small windows ---------------------------------
    QWidget* login = windows.mainWindow();
    showSized(login);
    shoot(login, u"frmPassword"_s);
    QTest::keyClicks(child(login, u"txtPassword"_s), u"abc"_s);
    shoot(login, u"frmPassword-typed"_s);

    QWidget* change = topLevel(u"frmCambiaPassword"_s);
    click(login, u"btnCambiaPassword"_s);
    change = topLevel(u"frmCambiaPassword"_s);
    if (change) {
        settle();
        shoot(change, u"frmCambiaPassword"_s);
        change->close();
    }
    login->hide();

    QWidget* launcher = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"frmAvvio"_s)
            launcher = w;
    showSized(launcher);
    shoot(launcher, u"frmAvvio"_s);
    child(launcher, u"btnApp02"_s)->setFocus(Qt::TabFocusReason);
    shoot(launcher, u"frmAvvio-focus"_s);
    hoverAndPress(launcher, u"btnApp01"_s, u"frmAvvio"_s);
    shootModal(u"frmInfo"_s, [&] { click(launcher, u"imgInfo"_s); });
    shootModal(u"frmSplash"_s, [&] { click(launcher, u"imgSplash"_s); });
    duringModal(
        u"frmSplash"_s, [&] { click(launcher, u"imgSplash"_s); },
        [](QWidget* w) {
            QTest::mousePress(child(w, u"lnkWeb"_s), Qt::LeftButton);
            shoot(w, u"frmSplash-pressed"_s);
            QTest::mouseRelease(child(w, u"lnkWeb"_s), Qt::LeftButton, {}, QPoint(-5, -5));
        });
    shootModal(u"frmGuida"_s, [&] { click(launcher, u"imgGuida"_s); });

    // ---- Card file and its companions ----------------------------------------------------------
    click(launcher, u"btnApp01"_s);
    QWidget* cards = topLevel(u"frmSchedario_Chiavi"_s);
    showSized(cards);
    shoot(cards, u"frmSchedario_Chiavi"_s);
    click(cards, u"cmdUltimo"_s);
    click(cards, u"cmdIndietro"_s);
    click(cards, u"cmdIndietro"_s);
    child(cards, u"txtTipo"_s)->setFocus(Qt::TabFocusReason);
    shoot(cards, u"frmSchedario_Chiavi-card2"_s);
    shootModal(u"frmTrovaSchedario_Chiavi"_s, [&] { click(cards, u"cmdTrova"_s); });
    duringModal(
        u"frmTrovaSchedario_Chiavi"_s, [&] { click(cards, u"cmdTrova"_s); },
        [](QWidget* w) {
            click(w, u"btnCerca"_s);
            shoot(w, u"frmTrovaSchedario_Chiavi-results"_s);
        });
    duringModal(
        u"frmAllegaCartella"_s, [&] { click(cards, u"cmdFile"_s); },
        [](QWidget* w) {
            shoot(w, u"frmAllegaCartella"_s);
            child<QLineEdit>(w, u"txtFile01"_s)->setText(u"presente.pdf"_s);
            child<QLineEdit>(w, u"txtFile02"_s)->setText(u"mancante.pdf"_s);
            shoot(w, u"frmAllegaCartella-names"_s);
        });
    shootModal(u"frmStampaScheda_Chiave"_s, [&] { click(cards, u"cmdStampa"_s); });
    QtMessages messages;
    shootMessage(u"message-warning"_s, [&] {
        messages.notice(cards, NoticeKind::Warning,
                        u"Attenzione: la scheda è stata modificata da un'altra postazione."_s);
    });
    shootMessage(u"message-question"_s,
                 [&] { messages.question(cards, u"Salvare le modifiche apportate alla scheda corrente?"_s); });
    shootModal(u"frmExpChiavi"_s, [&] { click(cards, u"cmdEsporta"_s); });
    shootModal(u"frmRiepSmarrite"_s, [&] { click(cards, u"cmdSmarrite"_s); });
    cards->close();

    // ---- Withdrawals and returns ---------------------------------------------------------------
    click(launcher, u"btnApp02"_s);
    QWidget* chooser = topLevel(u"frmMenuOperazioni"_s);
    showSized(chooser);
    shoot(chooser, u"frmMenuOperazioni"_s);
    child(chooser, u"btnVerticali"_s)->setFocus(Qt::TabFocusReason);
    shoot(chooser, u"frmMenuOperazioni-focus"_s);
    hoverAndPress(chooser, u"btnOrizzontali"_s, u"frmMenuOperazioni-ritiro"_s);
    hoverAndPress(chooser, u"btnVerticali"_s, u"frmMenuOperazioni-riconsegna"_s);
    click(chooser, u"btnOrizzontali"_s);
    QWidget* withdrawals = topLevel(u"frmRitiri"_s);
    showSized(withdrawals);
    shoot(withdrawals, u"frmRitiri"_s);
    duringModal(
        u"frmRiepChiaviRitiro"_s, [&] { click(withdrawals, u"btnSeleziona"_s); },
        [](QWidget* w) {
            shoot(w, u"frmRiepChiaviRitiro"_s);
            doubleClickRow(w, 0);
        });
    child(withdrawals, u"txtPersonaRit"_s)->setFocus(Qt::TabFocusReason);
    shoot(withdrawals, u"frmRitiri-pass"_s);
    shootModal(u"frmStampaScheda_Ritiro"_s, [&] { click(withdrawals, u"btnStampa"_s); });
    withdrawals->close();

    click(launcher, u"btnApp02"_s);
    chooser = topLevel(u"frmMenuOperazioni"_s);
    showSized(chooser);
    click(chooser, u"btnVerticali"_s);
    QWidget* returns = topLevel(u"frmRiconsegne"_s);
    showSized(returns);
    shoot(returns, u"frmRiconsegne"_s);
    duringModal(
        u"frmRiepChiaviRiconsegna"_s, [&] { click(returns, u"btnSeleziona"_s); },
        [](QWidget* w) {
            shoot(w, u"frmRiepChiaviRiconsegna"_s);
            doubleClickRow(w, 0);
        });
    shoot(returns, u"frmRiconsegne-pass"_s);
    shootModal(u"frmStampaScheda_Riconsegna"_s, [&] { click(returns, u"btnStampa"_s); });
    child<QLineEdit>(returns, u"txtPersonaRic"_s)->setText(u"Mario Rossi"_s);
    duringModal(
        u"frmRiepilogo_Operazione"_s, [&] { click(returns, u"btnApplica"_s); },
        [](QWidget* w) {
            shoot(w, u"frmRiepilogo_Operazione"_s);
            click(w, u"btnOK"_s);
        });
    if (QWidget* r = topLevel(u"frmRiconsegne"_s))
        r->close();

    // ---- History ---------------------------------------------------------------------------------
    click(launcher, u"btnApp03"_s);
    QWidget* history = topLevel(u"frmMenuRiepilogo"_s);
    showSized(history);
    shoot(history, u"frmMenuRiepilogo"_s);
    child(history, u"txtMeseInizio"_s)->setFocus(Qt::TabFocusReason);
    shoot(history, u"frmMenuRiepilogo-month"_s);
    child<QComboBox>(history, u"txtGiornoInizio"_s)->setEditText(u"1"_s);
    child<QComboBox>(history, u"txtMeseInizio"_s)->setEditText(u"Gennaio"_s);
    child<QComboBox>(history, u"txtGiornoFine"_s)->setEditText(u"31"_s);
    child<QComboBox>(history, u"txtMeseFine"_s)->setEditText(u"Dicembre"_s);
    shootModal(u"frmRiepilogo"_s, [&] { click(history, u"btnRiepilogo"_s); });
    shootModal(u"frmRiepDaRiconsegnare"_s, [&] { click(history, u"cmdWeb"_s); });
    history->close();

    return g_failures == 0 ? 0 : 1;
}
