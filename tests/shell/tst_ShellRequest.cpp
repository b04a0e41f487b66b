// The shell request: one command text handed to the desktop's open action, paths whole and quoted.

#include "shell/QtSeams.h"
#include "shell/TMisc.h"
#include "tests/support/ScriptedSeams.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QtTest>

using namespace Qt::StringLiterals;

// Stands in for the desktop: records what the open action would have been given.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestShellRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pathWithSpacesReachesTheSeamWholeAndQuoted();
    void withoutShellNothingHappens();
    void desktopGetsTheTarget_data();
    void desktopGetsTheTarget();

private:
    DesktopRecorder m_desktop;
};

void TestShellRequest::initTestCase()
{
    for (const QString& scheme : {u"file"_s, u"mailto"_s, u"https"_s})
        QDesktopServices::setUrlHandler(scheme, &m_desktop, "open");
}

void TestShellRequest::cleanupTestCase()
{
    for (const QString& scheme : {u"file"_s, u"mailto"_s, u"https"_s})
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestShellRequest::pathWithSpacesReachesTheSeamWholeAndQuoted()
{
    TestContext t;
    const QString path = t.ctx.programFolder + u"Documenti Allegati/Planimetria piano terra.pdf"_s;
    TMisc::Open(t.ctx, TMisc::quoted(path));
    QCOMPARE(t.shell.commands, QStringList{u'"' + path + u'"'});

    // Through the Qt seam the desktop receives the one file, not pieces of it.
    QtShell shell;
    TMisc::Open(&shell, t.shell.commands.first());
    QCOMPARE(m_desktop.opened.size(), 1);
    QCOMPARE(m_desktop.opened.first(), QUrl::fromLocalFile(path));
    QCOMPARE(m_desktop.opened.first().toLocalFile(), path);
    m_desktop.opened.clear();
}

void TestShellRequest::withoutShellNothingHappens()
{
    AppContext ctx; // no seams at all
    TMisc::Open(ctx, u"\"/non/esiste.pdf\""_s);
    TestContext t;
    TMisc::Open(t.ctx, QString());
    QVERIFY(t.shell.commands.isEmpty());
}

void TestShellRequest::desktopGetsTheTarget_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("quoted file") << u"\"/cartella con spazi/Storico_Operazioni.xls\""_s
                                 << QUrl::fromLocalFile(u"/cartella con spazi/Storico_Operazioni.xls"_s);
    QTest::newRow("quoted accented file")
        << u"\"/dati/Perché è così.pdf\""_s << QUrl::fromLocalFile(u"/dati/Perché è così.pdf"_s);
    QTest::newRow("quoted mail") << u"\"mailto:assistenza@cartavolante.it\""_s
                                 << QUrl(u"mailto:assistenza@cartavolante.it"_s);
    QTest::newRow("web address") << u"https://www.cartavolante.it"_s << QUrl(u"https://www.cartavolante.it"_s);
}

void TestShellRequest::desktopGetsTheTarget()
{
    QFETCH(QString, command);
    QFETCH(QUrl, target);
    QtShell shell;
    shell.open(command);
    QCOMPARE(m_desktop.opened, QList<QUrl>{target});
    m_desktop.opened.clear();
}

QTEST_MAIN(TestShellRequest)
#include "tst_ShellRequest.moc"
