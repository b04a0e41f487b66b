// The login and change-password windows, driven as the operator drives them, over a password file
// in a fresh ProgramFolder.

#include "archives/Crypt.h"
#include "archives/IniText.h"
#include "shell/CambiaPassword.h"
#include "shell/Password.h"
#include "shell/SvgPicture.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedSeams.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString WrongPassword = u"Attenzione: password errata."_s;
const QString ReadFailure = u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                            u"Si consiglia di reinstallare il software."_s;
const QString OldWrong = u"Attenzione: vecchia password errata."_s;
const QString NotConfirmed = u"Attenzione: la nuova password non è stata confermata correttamente. "
                             u"E' necessario reinserire entrambi i valori."_s;
const QString Done = u"Modifica della password completata con successo."_s;
const QString ChangeFailure = u"Attenzione: si è verificato un errore durante la procedura di modifica della "
                              u"password. Si consiglia di reinstallare il software."_s;

QByteArray fixtureFile()
{
    QFile f(QStringLiteral(INGRESSARIO_FIXTURES "/unins000.dll"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The login and the change-password windows of one run, over a ProgramFolder holding `content`
// as its password file.
struct Run
{
    TestContext t;
    TfrmPassword login{t.ctx};
    TfrmCambiaPassword change{t.ctx};
    QSignalSpy loggedIn{&login, &TfrmPassword::loggedIn};

    explicit Run(const QByteArray& content)
    {
        t.ctx.frmPassword = &login;
        t.ctx.frmCambiaPassword = &change;
        if (!content.isNull())
            writeFile(content);
    }
    QString path() const { return t.ctx.file(u"unins000.dll"_s); }
    void writeFile(const QByteArray& content) const
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray file() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool showLogin()
    {
        login.show();
        return QTest::qWaitForWindowActive(&login);
    }
    // Types into a field as the operator does; characters beyond ASCII one by one.
    static void type(QWidget* field, const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Opens the change-password window from the login window.
    bool openChange()
    {
        if (!showLogin())
            return false;
        QTest::mouseClick(login.btnCambiaPassword, Qt::LeftButton);
        return change.isVisible() && !login.isVisible() && QTest::qWaitForWindowActive(&change);
    }
    void fillChange(const QString& oldPassword, const QString& newPassword, const QString& confirmation)
    {
        type(change.txtPasswordOld, oldPassword);
        type(change.txtPasswordNew, newPassword);
        type(change.txtConferma, confirmation);
    }
};

QByteArray withStored(const QString& password)
{
    return "[Accesso]\r\nValore=" + Crypt::encode(password).toLatin1() + "\r\n";
}

} // namespace

class TestPassword : public QObject
{
    Q_OBJECT
private slots:
    void login_data();
    void login();
    void okNeedsATypedPassword();
    void loginReadingFailure_data();
    void loginReadingFailure();
    void firstAccessFiles_data();
    void firstAccessFiles();
    void loginLooksAndOrder();

    void changeRefused_data();
    void changeRefused();
    void changeSucceedsAndKeepsTheRestOfTheFile();
    void changeAcceptsTheLongestAndLatinPasswords_data();
    void changeAcceptsTheLongestAndLatinPasswords();
    void changeWriteFailureLeavesEverything();
    void changeReadingFailure();
    void changeWindowFieldsAndEnterRing();
    void closingChangeBringsLoginBackEmpty();
};

void TestPassword::login_data()
{
    QTest::addColumn<QString>("stored"); // the chosen password, stored as a change stores it
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("admitted");

    const QString first = u"VELOCIPEDARIUM"_s;
    QTest::newRow("as given") << first << u"velocipedarium"_s << false << true;
    QTest::newRow("capitals, by Enter") << first << u"VELOCIPEDARIUM"_s << true << true;
    QTest::newRow("mixed case") << first << u"VeLoCiPeDaRiUm"_s << false << true;
    QTest::newRow("blanks around") << first << u"  velocipedarium  "_s << true << true;
    QTest::newRow("one letter short") << first << u"velocipedariu"_s << false << false;
    QTest::newRow("blank inside") << first << u"velociped arium"_s << true << false;
    QTest::newRow("accented as chosen") << u"CAFFÈ"_s << u"caffÈ"_s << false << true;
    QTest::newRow("accented, other case") << u"CAFFÈ"_s << u"caffè"_s << true << false;
}

void TestPassword::login()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(bool, admitted);

    Run run(withStored(stored));
    QVERIFY(run.showLogin());
    QVERIFY(run.login.txtPassword->hasFocus());
    Run::type(run.login.txtPassword, typed);
    QCOMPARE(run.login.txtPassword->text(), typed);
    if (byEnter)
        QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    else
        QTest::mouseClick(run.login.cmdOK, Qt::LeftButton);

    if (admitted) {
        QCOMPARE(run.loggedIn.count(), 1);
        QVERIFY(!run.login.isVisible());
        QVERIFY(run.t.messages.calls.isEmpty());
        QCOMPARE(run.login.txtPassword->text(), typed); // the typed text stays
    } else {
        QCOMPARE(run.loggedIn.count(), 0);
        QCOMPARE(run.t.messages.calls.size(), 1);
        QCOMPARE(run.t.messages.calls.first().kind, MessageCall::Plain);
        QCOMPARE(run.t.messages.lastText(), WrongPassword);
        QVERIFY(run.login.isVisible());
        QCOMPARE(run.login.txtPassword->text(), QString());
        QVERIFY(run.login.txtPassword->hasFocus());
        QVERIFY(!run.login.cmdOK->isEnabled());
        // The operator tries again at once.
        Run::type(run.login.txtPassword, u"xyz"_s);
        QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
        QCOMPARE(run.t.messages.calls.size(), 2);
    }
}

void TestPassword::okNeedsATypedPassword()
{
    Run run(withStored(u"VELOCIPEDARIUM"_s));
    QVERIFY(run.showLogin());
    QVERIFY(!run.login.cmdOK->isEnabled());
    QTest::keyClicks(run.login.txtPassword, u"   "_s);
    QVERIFY(!run.login.cmdOK->isEnabled());
    QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    QVERIFY(run.t.messages.calls.isEmpty());
    QCOMPARE(run.loggedIn.count(), 0);
    QTest::keyClicks(run.login.txtPassword, u"v"_s);
    QVERIFY(run.login.cmdOK->isEnabled());
    QTest::keyClick(run.login.txtPassword, Qt::Key_Backspace);
    QVERIFY(!run.login.cmdOK->isEnabled());
}

void TestPassword::loginReadingFailure_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("asFolder");
    QTest::addColumn<QString>("message");
    QTest::addColumn<qint64>("size"); // the file grown to this size with nothing in it; 0: as written

    QTest::newRow("pair beyond F") << QByteArray("[Accesso]\r\nValore=5A61ZZC7\r\n") << false << ReadFailure
                                   << qint64(0);
    QTest::newRow("sign in a pair") << QByteArray("[Accesso]\nValore=+1\n") << false << ReadFailure << qint64(0);
    QTest::newRow("file is a folder") << QByteArray() << true << ReadFailure << qint64(0);
    // A settings file of 1.5 GiB is none: it is not read at all.
    QTest::newRow("1.5 GiB") << withStored(u"VELOCIPEDARIUM"_s) << false << ReadFailure << (qint64(3) << 29);
    // No file, or no entry, is no failure: the empty stored password matches nothing.
    QTest::newRow("no file") << QByteArray() << false << WrongPassword << qint64(0);
    QTest::newRow("other section only") << QByteArray("[Altro]\nValore=5A61\n") << false << WrongPassword << qint64(0);
}

void TestPassword::loginReadingFailure()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, asFolder);
    QFETCH(QString, message);
    QFETCH(qint64, size);

    Run run(content);
    if (asFolder)
        QVERIFY(QDir().mkpath(run.path()));
    if (size > 0) {
        QFile grown(run.path());
        QVERIFY(grown.resize(size)); // sparse: it takes no room
    }
    QVERIFY(run.showLogin());
    QTest::keyClicks(run.login.txtPassword, u"velocipedarium"_s);
    QTest::mouseClick(run.login.cmdOK, Qt::LeftButton);
    QCOMPARE(run.t.messages.texts(), QStringList{message});
    QCOMPARE(run.loggedIn.count(), 0);
    QVERIFY(run.login.isVisible());
    // A reading failure leaves the window as it was, the typed text included.
    if (message == ReadFailure)
        QCOMPARE(run.login.txtPassword->text(), u"velocipedarium"_s);
}

void TestPassword::firstAccessFiles_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("placed by the build") << QStringLiteral(INGRESSARIO_BUILD_DIR "/unins000.dll");
    QTest::newRow("with CRLF, comments and other sections") << QStringLiteral(INGRESSARIO_FIXTURES "/unins000.dll");
}

void TestPassword::firstAccessFiles()
{
    QFETCH(QString, source);
    QFile f(source);
    if (!f.exists() && source.startsWith(QStringLiteral(INGRESSARIO_BUILD_DIR)))
        QSKIP("the build has not placed the password file (target first_access_password)");
    QVERIFY(f.open(QIODevice::ReadOnly));
    Run run(f.readAll());
    QVERIFY(run.showLogin());
    QTest::keyClicks(run.login.txtPassword, u"VelocipedariuM"_s);
    QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    QCOMPARE(run.t.messages.calls.size(), 0);
    QCOMPARE(run.loggedIn.count(), 1);
}

void TestPassword::loginLooksAndOrder()
{
    Run run(withStored(u"VELOCIPEDARIUM"_s));
    TfrmPassword& w = run.login;
    QCOMPARE(w.windowTitle(), u" Ingressario - Accesso"_s);
    QVERIFY(
        !(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w.lblRigo05->text(), u"Immetti la password e premi OK."_s);
    QCOMPARE(w.txtPassword->echoMode(), QLineEdit::Password);
    QCOMPARE(w.cmdOK->text(), u"OK"_s);
    QCOMPARE(w.cmdEsci->text(), u"Esci"_s);
    QCOMPARE(w.btnCambiaPassword->text(), u"Cambia password"_s);
    for (const char* name : {"imgLogo", "effPassword", "panContainer", "shpSfondo", "shpTitolo"})
        QVERIFY2(w.findChild<QWidget*>(QLatin1StringView(name)), name);
    QVERIFY(!w.imgLogo->accessibleName().isEmpty());

    QVERIFY(run.showLogin());
    QWidget* mark = w.findChild<QWidget*>(u"effPassword"_s);
    QVERIFY(mark->isVisible());
    // Tab order: field, OK, Esci, Cambia password (OK is skipped while disabled).
    QTest::keyClicks(w.txtPassword, u"x"_s);
    QList<QWidget*> order{w.txtPassword};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget();
    }
    QCOMPARE(order, (QList<QWidget*>{w.txtPassword, w.cmdOK, w.cmdEsci, w.btnCambiaPassword, w.txtPassword}));
    QTest::keyClick(w.txtPassword, Qt::Key_Tab);
    QVERIFY(!mark->isVisible());
}

void TestPassword::changeRefused_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");  // empty: the refusal is told by a message of its own
    QTest::addColumn<QString>("emptied");  // the fields emptied, the first of them focused
    QTest::addColumn<QString>("mentions"); // a text the refusal message must contain

    QTest::newRow("old wrong") << u"velocipedari"_s << u"nuova"_s << u"nuova"_s << OldWrong << u"Old"_s << QString();
    QTest::newRow("not confirmed") << u"velocipedarium"_s << u"nuova1"_s << u"nuova2"_s << NotConfirmed
                                   << u"New Conferma"_s << QString();
    QTest::newRow("case-only difference")
        << u"VELOCIPEDARIUM"_s << u"Nuova"_s << u"nuova"_s << NotConfirmed << u"New Conferma"_s << QString();
    const QString tooLong(256, u'a');
    QTest::newRow("256 characters") << u"velocipedarium"_s << tooLong << tooLong << QString() << u"New Conferma"_s
                                    << u"255"_s;
    QTest::newRow("euro sign") << u"velocipedarium"_s << u"prezzo€"_s << u"prezzo€"_s << QString() << u"New Conferma"_s
                               << u"\"€\""_s;
    QTest::newRow("Greek letter") << u"velocipedarium"_s << u"ωmega"_s << u"ωmega"_s << QString() << u"New Conferma"_s
                                  << u"\"ω\""_s;
}

void TestPassword::changeRefused()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, emptied);
    QFETCH(QString, mentions);

    const QByteArray before = fixtureFile();
    QVERIFY(!before.isEmpty());
    Run run(before);
    QVERIFY(run.openChange());
    run.fillChange(oldPassword, newPassword, confirmation);
    QVERIFY(run.change.cmdOK->isEnabled());
    QTest::mouseClick(run.change.cmdOK, Qt::LeftButton);

    QCOMPARE(run.t.messages.calls.size(), 1);
    QCOMPARE(run.t.messages.calls.first().kind, MessageCall::Plain);
    const QString shown = run.t.messages.lastText();
    if (!message.isEmpty()) {
        QCOMPARE(shown, message);
    } else {
        QVERIFY2(shown.startsWith(u"Attenzione: "_s), qPrintable(shown));
        QVERIFY2(shown.contains(mentions), qPrintable(shown));
        QVERIFY(shown.contains(u"\n\r\n\r"_s));
    }
    const QStringList cleared = emptied.split(u' ');
    QCOMPARE(run.change.txtPasswordOld->text().isEmpty(), cleared.contains(u"Old"_s));
    QCOMPARE(run.change.txtPasswordNew->text().isEmpty(), cleared.contains(u"New"_s));
    QCOMPARE(run.change.txtConferma->text().isEmpty(), cleared.contains(u"Conferma"_s));
    QLineEdit* focused = cleared.first() == u"Old"_s ? run.change.txtPasswordOld : run.change.txtPasswordNew;
    QVERIFY(focused->hasFocus());
    QVERIFY(run.change.isVisible());
    QCOMPARE(run.file(), before);
}

void TestPassword::changeSucceedsAndKeepsTheRestOfTheFile()
{
    const QByteArray before = fixtureFile();
    Run run(before);
    QVERIFY(run.openChange());
    run.fillChange(u" Velocipedarium "_s, u"Segreta-1"_s, u"Segreta-1"_s);
    QTest::mouseClick(run.change.cmdOK, Qt::LeftButton);
    QCOMPARE(run.t.messages.texts(), QStringList{Done});

    // Only the value changed, to the capitals of the new password; every other byte is as it was.
    const QByteArray oldValue = Crypt::encode(u"VELOCIPEDARIUM"_s).toLatin1();
    const QByteArray newValue = Crypt::encode(u"SEGRETA-1"_s).toLatin1();
    QVERIFY(before.contains(QByteArray("Valore=" + oldValue + "\r\n")));
    QByteArray expected = before;
    expected.replace(QByteArray("Valore=" + oldValue), QByteArray("Valore=" + newValue));
    QCOMPARE(run.file(), expected);

    // Back to the login window, its field empty and focused.
    QVERIFY(!run.change.isVisible());
    QVERIFY(run.login.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&run.login));
    QCOMPARE(run.login.txtPassword->text(), QString());
    QVERIFY(run.login.txtPassword->hasFocus());

    // The old password no longer opens; the new one does, in any case.
    QTest::keyClicks(run.login.txtPassword, u"velocipedarium"_s);
    QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    QCOMPARE(run.t.messages.lastText(), WrongPassword);
    QTest::keyClicks(run.login.txtPassword, u"segreta-1"_s);
    QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    QCOMPARE(run.loggedIn.count(), 1);
    QCOMPARE(run.t.messages.calls.size(), 2);
}

void TestPassword::changeAcceptsTheLongestAndLatinPasswords_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("login");
    QTest::newRow("255 characters") << QString(255, u'z') << QString(255, u'Z');
    QTest::newRow("accented letters") << u"perché-così"_s << u"PERCHé-COSì"_s;
    QTest::newRow("Latin-1 signs") << u"£§°ÿ"_s << u"£§°ÿ"_s;
}

void TestPassword::changeAcceptsTheLongestAndLatinPasswords()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, login);
    Run run(withStored(u"VELOCIPEDARIUM"_s));
    QVERIFY(run.openChange());
    run.fillChange(u"velocipedarium"_s, newPassword, newPassword);
    QTest::mouseClick(run.change.cmdOK, Qt::LeftButton);
    QCOMPARE(run.t.messages.texts(), QStringList{Done});
    QVERIFY(run.login.isVisible());
    Run::type(run.login.txtPassword, login);
    QTest::keyClick(run.login.txtPassword, Qt::Key_Return);
    QCOMPARE(run.t.messages.calls.size(), 1);
    QCOMPARE(run.loggedIn.count(), 1);
}

void TestPassword::changeWriteFailureLeavesEverything()
{
#ifndef Q_OS_UNIX
    QSKIP("the file size limit is a Unix resource limit");
#else
    // Permission bits do not stop root, so the write is stopped by a file size limit of zero:
    // every byte written fails, reading is untouched.
    const QByteArray before = fixtureFile();
    Run run(before);
    QVERIFY(run.openChange());
    run.fillChange(u"velocipedarium"_s, u"nuova"_s, u"nuova"_s);

    {
        FileSizeLimit full(0);
        QVERIFY(full.isActive());
        QTest::mouseClick(run.change.cmdOK, Qt::LeftButton);
    }

    QCOMPARE(run.t.messages.texts(), QStringList{ChangeFailure});
    QCOMPARE(run.file(), before);
    QVERIFY(run.change.isVisible());
    QCOMPARE(run.change.txtPasswordOld->text(), u"velocipedarium"_s);
    QCOMPARE(run.change.txtPasswordNew->text(), u"nuova"_s);
    QCOMPARE(run.change.txtConferma->text(), u"nuova"_s);
    // No temporary file is left beside it.
    QCOMPARE(QDir(run.t.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"unins000.dll"_s});
#endif
}

void TestPassword::changeReadingFailure()
{
    Run run(QByteArray("[Accesso]\r\nValore=GG00\r\n"));
    QVERIFY(run.openChange());
    run.fillChange(u"velocipedarium"_s, u"nuova"_s, u"nuova"_s);
    QTest::mouseClick(run.change.cmdOK, Qt::LeftButton);
    QCOMPARE(run.t.messages.texts(), QStringList{ChangeFailure});
    QCOMPARE(run.file(), QByteArray("[Accesso]\r\nValore=GG00\r\n"));
    QCOMPARE(run.change.txtPasswordOld->text(), u"velocipedarium"_s);
    QVERIFY(run.change.isVisible());
}

void TestPassword::changeWindowFieldsAndEnterRing()
{
    Run run(withStored(u"VELOCIPEDARIUM"_s));
    TfrmCambiaPassword& w = run.change;
    QCOMPARE(w.windowTitle(), u" Cambia password"_s);
    QVERIFY(
        !(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w.lblRigo05->text(), u"Vecchia password:"_s);
    QCOMPARE(w.lblRigo06->text(), u"Nuova password:"_s);
    QCOMPARE(w.lblRigo07->text(), u"Conferma nuova password:"_s);
    QCOMPARE(w.cmdEsci->text(), u"Chiudi"_s);
    for (QLineEdit* e : {w.txtPasswordOld, w.txtPasswordNew, w.txtConferma})
        QCOMPARE(e->echoMode(), QLineEdit::Password);

    // Whatever was left in the fields, showing the window empties them.
    w.txtPasswordOld->setText(u"resto"_s);
    QVERIFY(run.openChange());
    QCOMPARE(w.txtPasswordOld->text(), QString());
    QVERIFY(w.txtPasswordOld->hasFocus());
    QVERIFY(!w.cmdOK->isEnabled());

    QList<QWidget*> marks;
    for (const char* name : {"effPasswordOld", "effPasswordNew", "effConferma"})
        marks << w.findChild<QWidget*>(QLatin1StringView(name));
    auto visibleMarks = [&] {
        QList<QWidget*> out;
        for (QWidget* m : marks)
            if (m->isVisible())
                out << m;
        return out;
    };
    QCOMPARE(visibleMarks(), QList<QWidget*>{marks.at(0)});

    // Enter goes round the three fields and never runs OK.
    run.fillChange(u"a"_s, u"b"_s, u"  "_s);
    QVERIFY(!w.cmdOK->isEnabled());
    Run::type(w.txtConferma, u"b"_s);
    QVERIFY(w.cmdOK->isEnabled());
    w.txtPasswordOld->setFocus();
    const QList<QLineEdit*> ring{w.txtPasswordNew, w.txtConferma, w.txtPasswordOld, w.txtPasswordNew};
    for (int i = 0; i < ring.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), ring.at(i));
        QCOMPARE(visibleMarks(), QList<QWidget*>{marks.at((i + 1) % 3)});
    }
    QVERIFY(run.t.messages.calls.isEmpty());
    QVERIFY(w.isVisible());

    // Tab order: the three fields, then Chiudi, then OK.
    w.txtConferma->setFocus();
    QTest::keyClick(w.txtConferma, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.cmdEsci);
    QVERIFY(visibleMarks().isEmpty());
    QTest::keyClick(w.cmdEsci, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.cmdOK);
}

void TestPassword::closingChangeBringsLoginBackEmpty()
{
    Run run(withStored(u"VELOCIPEDARIUM"_s));
    QVERIFY(run.showLogin());
    QTest::keyClicks(run.login.txtPassword, u"abc"_s);
    QTest::mouseClick(run.login.btnCambiaPassword, Qt::LeftButton);
    QVERIFY(run.change.isVisible());
    QVERIFY(!run.login.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&run.change));
    QTest::keyClicks(run.change.txtPasswordOld, u"velocipedarium"_s);

    QTest::mouseClick(run.change.cmdEsci, Qt::LeftButton);
    QVERIFY(!run.change.isVisible());
    QVERIFY(run.login.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&run.login));
    QCOMPARE(run.login.txtPassword->text(), QString());
    QVERIFY(run.login.txtPassword->hasFocus());
    QVERIFY(!run.login.cmdOK->isEnabled());
    QVERIFY(run.t.messages.calls.isEmpty());
}

QTEST_MAIN(TestPassword)
#include "tst_Password.moc"
