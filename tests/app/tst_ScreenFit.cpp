// Every window on a small or highly scaled screen: its frame lies inside the screen's available
// area and every visible control can be reached, either on the window or inside a scroll area's
// content. The screen comes from the environment, so that CTest runs the same checks on each:
//
//     INGRESSARIO_SCREEN=1366x768@1.25 tests/tst_ScreenFit
//
// (the offscreen platform given a screen of that size, QT_SCALE_FACTOR set to the factor). With
// INGRESSARIO_SHOTS=<folder> each window checked is also saved there as a picture.
#include "app/WindowSet.h"
#include "tests/support/ScriptedSeams.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
}

QWidget* topLevel(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

QWidget* child(QWidget* window, const QString& name)
{
    QWidget* found = window ? window->findChild<QWidget*>(name) : nullptr;
    if (!found)
        qFatal("%s has no %s", window ? qPrintable(window->objectName()) : "(no window)", qPrintable(name));
    return found;
}

void click(QWidget* window, const QString& name)
{
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

// Why `control` cannot be reached on `window`, empty when it can: each widget from the control up
// to the window must lie inside its parent, except the content of a scroll area, which is reached
// by scrolling it (then the scroll area itself must lie inside its own parents).
QString unreachable(QWidget* control, QWidget* window)
{
    for (QWidget* w = control; w != window; w = w->parentWidget()) {
        QWidget* parent = w->parentWidget();
        if (auto* area = qobject_cast<QAbstractScrollArea*>(parent ? parent->parentWidget() : nullptr);
            area && area->viewport() == parent) {
            w = parent; // the viewport: next step checks the scroll area itself
            continue;
        }
        if (!parent->rect().contains(w->geometry()))
            return u"%1 at (%2,%3 %4x%5) outside %6 (%7x%8)"_s.arg(w->objectName())
                .arg(w->x())
                .arg(w->y())
                .arg(w->width())
                .arg(w->height())
                .arg(parent->objectName())
                .arg(parent->width())
                .arg(parent->height());
    }
    return QString();
}

class TestScreenFit : public QObject
{
    Q_OBJECT

    TestContext t;
    QStringList failures;

    // Checks one window as it is on screen now; remembers what is wrong in `failures`.
    void check(QWidget* window, const QString& shot = QString())
    {
        if (!window) {
            failures << u"a window did not open"_s;
            return;
        }
        QVERIFY(QTest::qWaitForWindowExposed(window));
        settle();
        const QString name = window->objectName();
        const QRect available = window->screen()->availableGeometry();
        // One unit of slack: a maximised window's pixels, scaled down, may round up by one.
        if (!available.adjusted(-1, -1, 1, 1).contains(window->frameGeometry()))
            failures << u"%1: frame (%2,%3 %4x%5) outside the screen (%6x%7)"_s.arg(name)
                            .arg(window->frameGeometry().x())
                            .arg(window->frameGeometry().y())
                            .arg(window->frameGeometry().width())
                            .arg(window->frameGeometry().height())
                            .arg(available.width())
                            .arg(available.height());
        // A window manager keeps a window at least as large as its layout's minimum.
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        if (least.width() > available.width() || least.height() > available.height())
            failures << u"%1: needs at least %2x%3 of the screen's %4x%5"_s.arg(name)
                            .arg(least.width())
                            .arg(least.height())
                            .arg(available.width())
                            .arg(available.height());
        static const QRegularExpression control(u"^(txt|cmd|btn|chk|lst|grd|lbl|lnk|img|opt|cbo)"_s);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window) || !control.match(w->objectName()).hasMatch())
                continue;
            if (const QString why = unreachable(w, window); !why.isEmpty())
                failures << name + u": "_s + why;
            // Squeezed below its least size, a control no longer shows what it holds.
            const QSize smallest = w->minimumSize().isNull() ? w->minimumSizeHint() : w->minimumSize();
            if (w->width() < smallest.width() || w->height() < smallest.height())
                failures << u"%1: %2 squeezed to %3x%4 (at least %5x%6)"_s.arg(name, w->objectName())
                                .arg(w->width())
                                .arg(w->height())
                                .arg(smallest.width())
                                .arg(smallest.height());
        }
        if (const QByteArray folder = qgetenv("INGRESSARIO_SHOTS"); !folder.isEmpty()) {
            const QString file =
                QString::fromLocal8Bit(folder) + u'/' + screenTag() + u'-' + (shot.isEmpty() ? name : shot) + u".png"_s;
            window->grab().save(file);
        }
    }

    static QString screenTag() { return QString::fromLocal8Bit(qgetenv("INGRESSARIO_SCREEN")).replace(u'@', u'-'); }

    // Runs `open`, which brings up the modal window `name`, checks it while its loop runs, and
    // closes it.
    void checkModal(const QString& name, const std::function<void()>& open,
                    const std::function<void(QWidget*)>& inside = {})
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* window = topLevel(name);
            if (!window)
                return;
            poll.stop();
            seen = true;
            check(window);
            if (inside)
                inside(window);
            if (window->isVisible())
                window->close();
        });
        poll.start();
        open();
        if (!seen)
            failures << name + u" did not open"_s;
    }

private slots:
    void initTestCase()
    {
        for (const char* file : {"Schedario_Pass.pro", "Storico_Operazioni.pro", "unins000.dll"}) {
            const QString name = QString::fromLatin1(file);
            QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/") + name, t.ctx.file(name)));
            QFile::setPermissions(t.ctx.file(name), QFile::ReadOwner | QFile::WriteOwner);
        }
        QDir(t.ctx.programFolder).mkpath(u"Documenti_Allegati"_s);
        // The screen the environment asked for, scaled.
        const QSize asked = QSize(QGuiApplication::primaryScreen()->geometry().size() *
                                  QGuiApplication::primaryScreen()->devicePixelRatio());
        qInfo("screen %dx%d pixels, %g device pixels per unit", asked.width(), asked.height(),
              QGuiApplication::primaryScreen()->devicePixelRatio());
    }

    void init() { failures.clear(); }

    void everyWindowFits()
    {
        const auto pickFirst = [](QWidget* list) {
            auto* lines = qobject_cast<QAbstractItemView*>(child(list, u"lstRecords"_s));
            const QRect r = lines->visualRect(lines->model()->index(0, 0));
            QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, QPoint(30, r.center().y()));
        };
        WindowSet windows(t.ctx);

        QWidget* login = windows.mainWindow();
        login->show();
        check(login);
        click(login, u"btnCambiaPassword"_s);
        QWidget* change = topLevel(u"frmCambiaPassword"_s);
        check(change);
        if (change)
            change->close();
        login->hide();

        QWidget* launcher = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmAvvio"_s)
                launcher = w;
        launcher->show();
        check(launcher);
        checkModal(u"frmInfo"_s, [&] { click(launcher, u"imgInfo"_s); });
        checkModal(u"frmSplash"_s, [&] { click(launcher, u"imgSplash"_s); });
        checkModal(u"frmGuida"_s, [&] { click(launcher, u"imgGuida"_s); });

        click(launcher, u"btnApp01"_s);
        QWidget* cards = topLevel(u"frmSchedario_Chiavi"_s);
        check(cards);
        checkModal(
            u"frmTrovaSchedario_Chiavi"_s, [&] { click(cards, u"cmdTrova"_s); },
            [&](QWidget* w) {
                click(w, u"btnCerca"_s);
                check(w, u"frmTrovaSchedario_Chiavi-results"_s);
            });
        checkModal(u"frmAllegaCartella"_s, [&] { click(cards, u"cmdFile"_s); });
        checkModal(u"frmStampaScheda_Chiave"_s, [&] { click(cards, u"cmdStampa"_s); });
        checkModal(u"frmExpChiavi"_s, [&] { click(cards, u"cmdEsporta"_s); });
        checkModal(u"frmRiepSmarrite"_s, [&] { click(cards, u"cmdSmarrite"_s); });
        cards->close();

        click(launcher, u"btnApp02"_s);
        QWidget* chooser = topLevel(u"frmMenuOperazioni"_s);
        check(chooser);
        click(chooser, u"btnOrizzontali"_s);
        QWidget* withdrawals = topLevel(u"frmRitiri"_s);
        check(withdrawals);
        checkModal(
            u"frmRiepChiaviRitiro"_s, [&] { click(withdrawals, u"btnSeleziona"_s); }, pickFirst);
        check(withdrawals, u"frmRitiri-pass"_s);
        checkModal(u"frmStampaScheda_Ritiro"_s, [&] { click(withdrawals, u"btnStampa"_s); });
        withdrawals->close();

        click(launcher, u"btnApp02"_s);
        chooser = topLevel(u"frmMenuOperazioni"_s);
        click(chooser, u"btnVerticali"_s);
        QWidget* returns = topLevel(u"frmRiconsegne"_s);
        check(returns);
        checkModal(
            u"frmRiepChiaviRiconsegna"_s, [&] { click(returns, u"btnSeleziona"_s); }, pickFirst);
        check(returns, u"frmRiconsegne-pass"_s);
        checkModal(u"frmStampaScheda_Riconsegna"_s, [&] { click(returns, u"btnStampa"_s); });
        QTest::keyClicks(child(returns, u"txtPersonaRic"_s), u"Mario Rossi"_s);
        checkModal(
            u"frmRiepilogo_Operazione"_s, [&] { click(returns, u"btnApplica"_s); },
            [&](QWidget* w) { click(w, u"btnOK"_s); });
        if (QWidget* r = topLevel(u"frmRiconsegne"_s))
            r->close();

        click(launcher, u"btnApp03"_s);
        QWidget* history = topLevel(u"frmMenuRiepilogo"_s);
        check(history);
        checkModal(u"frmRiepilogo"_s, [&] { click(history, u"btnRiepilogo"_s); });
        checkModal(u"frmRiepDaRiconsegnare"_s, [&] { click(history, u"cmdWeb"_s); });
        history->close();

        for (const QString& failure : std::as_const(failures))
            qWarning("%s", qPrintable(failure));
        QVERIFY2(failures.isEmpty(), "windows or controls off the screen (warnings above)");
    }
};

} // namespace

// The screen is set up before the application starts: the offscreen platform reads its size from
// a configuration file, and the scale factor is read once, at start.
int main(int argc, char* argv[])
{
    const QString screen = QString::fromLocal8Bit(qgetenv("INGRESSARIO_SCREEN"));
    static const QRegularExpression form(u"^(\\d+)x(\\d+)@([0-9.]+)$"_s);
    const QRegularExpressionMatch m = form.match(screen);
    if (!m.hasMatch()) {
        qWarning("INGRESSARIO_SCREEN must read <width>x<height>@<factor>, e.g. 1366x768@1.25");
        return 2;
    }
    QTemporaryDir configFolder;
    const QString config = configFolder.filePath(u"screen.json"_s);
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(u"{\"screens\":[{\"name\":\"schermo\",\"x\":0,\"y\":0,\"width\":%1,\"height\":%2,"
               "\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}"_s.arg(m.captured(1), m.captured(2))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", (u"offscreen:configfile="_s + config).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", m.captured(3).toLatin1());

    QApplication app(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ScreenFit.moc"
