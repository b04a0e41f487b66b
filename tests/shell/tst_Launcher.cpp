// The launcher and the guide, information and splash windows it opens, driven by their controls.

#include "shell/Avvio.h"
#include "shell/Guida.h"
#include "shell/GuidePages.h"
#include "shell/Info.h"
#include "shell/Maker.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "shell/Splash.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Three work areas that are plain windows, standing in for the card editor, the operations
// chooser and the history interval window, as the window set of a run provides them.
class StandInAreas final : public WorkAreas
{
public:
    StandInAreas()
    {
        for (auto& area : m_areas)
            area = std::make_unique<QWidget>();
    }
    QWidget* window(WorkArea which) const override { return m_areas[int(which)].get(); }

private:
    std::unique_ptr<QWidget> m_areas[3];
};

// Runs `inside` on the modal window that `open` brings up, then closes it with its "Chiudi".
// Returns the window as it was seen, to check afterwards that it is gone.
QPointer<QWidget> duringModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside)
{
    QPointer<QWidget> seen;
    bool ran = false;
    QTimer::singleShot(0, [&] {
        seen = QApplication::activeModalWidget();
        ran = true;
        if (!seen)
            return;
        inside(seen);
        auto* close = seen->findChild<QPushButton*>(u"btnChiudi"_s);
        if (close && seen->isVisible())
            QTest::mouseClick(close, Qt::LeftButton);
    });
    open();
    if (!ran)
        qWarning("no modal window came up");
    return seen;
}

// A key as the keyboard sends it: Enter comes from the keypad.
void pressKey(QWidget* widget, int key)
{
    QTest::keyClick(widget, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void launcherLooksAsDesigned();
    void pictureAndButtonOpenTheSameWorkArea_data();
    void pictureAndButtonOpenTheSameWorkArea();
    void missingWorkAreaKeepsTheLauncher();
    void informationWindow();
    void splashWindow();
    void webStripOpensTheMakersSite_data();
    void webStripOpensTheMakersSite();
    void smallWindowsCloseByKeyboard_data();
    void smallWindowsCloseByKeyboard();
    void generalGuideFromTheLauncher();
    void guidePages_data();
    void guidePages();
    void guideLinkAndIconPressedLook();
    void exitAndCloseEndTheApplication_data();
    void exitAndCloseEndTheApplication();
};

void TestLauncher::launcherLooksAsDesigned()
{
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    QCOMPARE(launcher.windowTitle(), u" Ingressario"_s);
    QVERIFY(launcher.windowState() & Qt::WindowMaximized);
    const QStringList captions{u"SCHEDARIO PASS"_s, u"RITIRI E RICONSEGNE"_s, u"STORICO OPERAZIONI"_s};
    for (int i = 0; i < 3; ++i) {
        auto* button = launcher.findChild<QPushButton*>(u"btnApp0%1"_s.arg(i + 1));
        QVERIFY(button);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->accessibleName(), captions[i]);
    }
    // Every clickable picture is a button to the mouse and to a screen reader.
    for (const QString& name : {u"imgApp01"_s, u"imgApp02"_s, u"imgApp03"_s, u"imgGuida"_s, u"imgInfo"_s,
                                u"imgSplash"_s, u"imgSito"_s, u"imgEsci"_s}) {
        auto* picture = launcher.findChild<PictureButton*>(name);
        QVERIFY2(picture, qPrintable(name));
        QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY2(!picture->accessibleName().isEmpty(), qPrintable(name));
    }
}

void TestLauncher::pictureAndButtonOpenTheSameWorkArea_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("key"); // pressed on the focused control; 0 for a mouse click
    QTest::newRow("imgApp01") << u"imgApp01"_s << int(WorkArea::CardFile) << 0;
    QTest::newRow("btnApp01") << u"btnApp01"_s << int(WorkArea::CardFile) << 0;
    QTest::newRow("imgApp02") << u"imgApp02"_s << int(WorkArea::Operations) << 0;
    QTest::newRow("btnApp02") << u"btnApp02"_s << int(WorkArea::Operations) << 0;
    QTest::newRow("imgApp03") << u"imgApp03"_s << int(WorkArea::History) << 0;
    QTest::newRow("btnApp03") << u"btnApp03"_s << int(WorkArea::History) << 0;
    // The buttons are the keyboard's way in: Enter presses the focused one, as the space bar does.
    QTest::newRow("btnApp01 Return") << u"btnApp01"_s << int(WorkArea::CardFile) << int(Qt::Key_Return);
    QTest::newRow("btnApp02 Enter") << u"btnApp02"_s << int(WorkArea::Operations) << int(Qt::Key_Enter);
    QTest::newRow("btnApp03 Return") << u"btnApp03"_s << int(WorkArea::History) << int(Qt::Key_Return);
    QTest::newRow("btnApp03 Space") << u"btnApp03"_s << int(WorkArea::History) << int(Qt::Key_Space);
}

void TestLauncher::pictureAndButtonOpenTheSameWorkArea()
{
    QFETCH(QString, control);
    QFETCH(int, area);
    QFETCH(int, key);
    TestContext t;
    StandInAreas areas;
    t.ctx.workAreas = &areas;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowActive(&launcher));
    auto* pressed = launcher.findChild<QAbstractButton*>(control);
    if (key) {
        pressed->setFocus(Qt::TabFocusReason);
        QVERIFY(pressed->hasFocus());
        pressKey(pressed, key);
    } else {
        QTest::mouseClick(pressed, Qt::LeftButton);
    }
    for (int other = 0; other < 3; ++other)
        QCOMPARE(areas.window(WorkArea(other))->isVisible(), other == area);
    QVERIFY(launcher.isHidden());
}

void TestLauncher::missingWorkAreaKeepsTheLauncher()
{
    // A context without the work areas.
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    for (const QString& name :
         {u"imgApp01"_s, u"btnApp01"_s, u"imgApp02"_s, u"btnApp02"_s, u"imgApp03"_s, u"btnApp03"_s}) {
        QTest::mouseClick(launcher.findChild<QAbstractButton*>(name), Qt::LeftButton);
        QVERIFY2(launcher.isVisible(), qPrintable(name));
    }
    QVERIFY(t.shell.commands.isEmpty());
    QVERIFY(t.messages.calls.isEmpty());
}

void TestLauncher::informationWindow()
{
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    const QPointer<QWidget> info =
        duringModal([&] { QTest::mouseClick(launcher.imgInfo, Qt::LeftButton); },
                    [&](QWidget* window) {
                        QVERIFY(qobject_cast<TfrmInfo*>(window));
                        QCOMPARE(window->windowTitle(), u" Informazioni su Ingressario"_s);
                        QCOMPARE(window->windowModality(), Qt::ApplicationModal);
                        auto* link = window->findChild<ScreenKit::LinkText*>(u"lnkWeb"_s);
                        QCOMPARE(link->text(), Maker::emailAddress());
                        QTest::mouseClick(link, Qt::LeftButton);
                        QTest::mouseClick(window->findChild<PictureButton*>(u"imgEmail"_s), Qt::LeftButton);
                    });
    QVERIFY(info.isNull()); // destroyed as soon as it closed
    const QString mail = u"\"mailto:"_s + Maker::emailAddress() + u'"';
    QCOMPARE(t.shell.commands, (QStringList{mail, mail}));
    QVERIFY(launcher.isVisible());
}

void TestLauncher::splashWindow()
{
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    const QPointer<QWidget> splash = duringModal(
        [&] { QTest::mouseClick(launcher.imgSplash, Qt::LeftButton); },
        [&](QWidget* window) {
            QVERIFY(qobject_cast<TfrmSplash*>(window));
            QVERIFY(window->windowTitle().startsWith(u" Ingressario"_s));
            QVERIFY(window->windowTitle().size() > u" Ingressario"_s.size()); // followed by the maker's notice
            QTest::mouseClick(window->findChild<ScreenKit::LinkText*>(u"lnkWeb"_s), Qt::LeftButton);
            QTest::mouseClick(window->findChild<PictureButton*>(u"imgWeb"_s), Qt::LeftButton);
        });
    QVERIFY(splash.isNull());
    QCOMPARE(t.shell.commands, (QStringList{Maker::webAddress(), Maker::webAddress()}));
    QVERIFY(launcher.isVisible());
}

void TestLauncher::webStripOpensTheMakersSite_data()
{
    QTest::addColumn<int>("key"); // pressed on the focused strip; 0 for a mouse click
    QTest::newRow("click") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void TestLauncher::webStripOpensTheMakersSite()
{
    QFETCH(int, key);
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    if (key) {
        // A clickable picture that takes the focus is pressed by Enter like any button.
        launcher.imgSito->setFocus(Qt::TabFocusReason);
        pressKey(launcher.imgSito, key);
    } else {
        QTest::mouseClick(launcher.imgSito, Qt::LeftButton);
    }
    // The web address goes unquoted; a scheme keeps it from being taken for a file.
    QCOMPARE(t.shell.commands, QStringList{Maker::webAddress()});
    QVERIFY(Maker::webAddress().startsWith(u"https://"_s));
    QVERIFY(launcher.isVisible());
}

void TestLauncher::smallWindowsCloseByKeyboard_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("focus"); // the control that takes the key; empty for where the focus starts
    QTest::addColumn<int>("key");
    const QList<std::pair<QString, QString>> windows{
        {u"imgGuida"_s, u"TfrmGuida"_s}, {u"imgInfo"_s, u"TfrmInfo"_s}, {u"imgSplash"_s, u"TfrmSplash"_s}};
    for (const auto& [picture, window] : windows)
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)})
            QTest::addRow("%s %s", qPrintable(window), qPrintable(QKeySequence(key).toString()))
                << picture << window << QString() << key;
    QTest::newRow("TfrmGuida Esc in the text")
        << u"imgGuida"_s << u"TfrmGuida"_s << u"txtGuida"_s << int(Qt::Key_Escape);
}

// The focus starts on "Chiudi": Enter presses it, as for any button, and Escape closes the window as
// "Chiudi" does.
void TestLauncher::smallWindowsCloseByKeyboard()
{
    QFETCH(QString, picture);
    QFETCH(QString, window);
    QFETCH(QString, focus);
    QFETCH(int, key);
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    bool closedByKey = false;
    const QPointer<QWidget> seen =
        duringModal([&] { QTest::mouseClick(launcher.findChild<PictureButton*>(picture), Qt::LeftButton); },
                    [&](QWidget* frm) {
                        QCOMPARE(QString::fromLatin1(frm->metaObject()->className()), window);
                        auto* chiudi = frm->findChild<QPushButton*>(u"btnChiudi"_s);
                        QVERIFY(chiudi);
                        QCOMPARE(frm->focusWidget(), chiudi);
                        QWidget* target = chiudi;
                        if (!focus.isEmpty()) {
                            target = frm->findChild<QWidget*>(focus);
                            QVERIFY(target);
                            target->setFocus(Qt::MouseFocusReason);
                        }
                        pressKey(target, key);
                        closedByKey = frm->isHidden();
                    });
    QVERIFY(closedByKey);
    QVERIFY(seen.isNull());
    QVERIFY(launcher.isVisible());
    QVERIFY(t.shell.commands.isEmpty());
}

void TestLauncher::generalGuideFromTheLauncher()
{
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    const QPointer<QWidget> guide = duringModal([&] { QTest::mouseClick(launcher.imgGuida, Qt::LeftButton); },
                                                [&](QWidget* window) {
                                                    auto* frm = qobject_cast<TfrmGuida*>(window);
                                                    QVERIFY(frm);
                                                    QCOMPARE(frm->parentWidget(), &launcher);
                                                    QCOMPARE(frm->lblTitolo->text(), u"Uno sguardo a Ingressario"_s);
                                                });
    QVERIFY(guide.isNull());
    QVERIFY(launcher.isVisible());
}

void TestLauncher::guidePages_data()
{
    QTest::addColumn<int>("topic");
    for (GuideTopic topic : GuidePages::printedOrder())
        QTest::newRow(qPrintable(GuidePages::page(topic).title)) << int(topic);
}

void TestLauncher::guidePages()
{
    QFETCH(int, topic);
    const GuidePage& page = GuidePages::page(GuideTopic(topic));
    TestContext t;
    QWidget opener;
    opener.show();
    const QPointer<QWidget> guide =
        duringModal([&] { TfrmGuida::openPage(&opener, t.ctx, GuideTopic(topic)); },
                    [&](QWidget* window) {
                        auto* frm = qobject_cast<TfrmGuida*>(window);
                        QVERIFY(frm);
                        QCOMPARE(frm->windowTitle(), u" Guida all'utilizzo del software"_s);
                        QCOMPARE(frm->size(), QSize(670, 572));
                        QCOMPARE(frm->lblTitolo->text(), page.title);
                        QVERIFY(frm->txtGuida->isReadOnly());
                        // The text shows one paragraph per block with an empty line between two.
                        QCOMPARE(frm->txtGuida->toPlainText().split(u"\n\n"_s), page.paragraphs);
                    });
    QVERIFY(guide.isNull());
}

void TestLauncher::guideLinkAndIconPressedLook()
{
    TestContext t;
    TfrmGuida guide(t.ctx);
    guide.showPage(GuidePages::page(GuideTopic::Export));
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    QCOMPARE(guide.lnkWeb->colour(), Look::rgb(Look::Role::Link));
    for (QAbstractButton* control :
         {static_cast<QAbstractButton*>(guide.lnkWeb), static_cast<QAbstractButton*>(guide.imgPDF)}) {
        QTest::mousePress(control, Qt::LeftButton);
        QCOMPARE(guide.lnkWeb->colour(), Look::rgb(Look::Role::LinkPressed));
        QTest::mouseRelease(control, Qt::LeftButton);
        QCOMPARE(guide.lnkWeb->colour(), Look::rgb(Look::Role::Link));
    }
    const QString pdf = u'"' + t.ctx.programFolder + u"Guida.pdf\""_s;
    QCOMPARE(t.shell.commands, (QStringList{pdf, pdf}));
}

void TestLauncher::exitAndCloseEndTheApplication_data()
{
    QTest::addColumn<bool>("byTitleBar");
    QTest::newRow("imgEsci") << false;
    QTest::newRow("title-bar close") << true;
}

void TestLauncher::exitAndCloseEndTheApplication()
{
    QFETCH(bool, byTitleBar);
    TestContext t;
    TfrmAvvio launcher(t.ctx);
    launcher.show();
    QVERIFY(QTest::qWaitForWindowExposed(&launcher));
    // The application's own event loop: only the launcher's ending stops it with code 0; the
    // guard stops it with 99 if nothing does.
    QTimer::singleShot(0, &launcher, [&] {
        if (byTitleBar)
            launcher.close();
        else
            QTest::mouseClick(launcher.imgEsci, Qt::LeftButton);
    });
    QTimer::singleShot(5000, &launcher, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(t.messages.calls.isEmpty()); // nothing asked first
}

QTEST_MAIN(TestLauncher)
#include "tst_Launcher.moc"
