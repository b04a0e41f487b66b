// The user guide Guida.pdf: laid out from the guide texts and placed next to the executable by the build.

#include "shell/GuideBook.h"
#include "shell/GuidePages.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf)
{
    const QString info = run(u"pdfinfo"_s, {pdf});
    const QRegularExpressionMatch match = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

class TestGuideBook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPageOfTheGuideIsInTheBook();
    void unwritableFileIsReported();
    void buildPlacesTheGuideNextToTheProgram();
};

void TestGuideBook::initTestCase()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are needed to read the guide back");
}

void TestGuideBook::everyPageOfTheGuideIsInTheBook()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"Guida.pdf"_s);
    QVERIFY(GuideBook::write(pdf));

    // Title page, then every section on pages of its own.
    const int pages = pageCount(pdf);
    QVERIFY2(pages >= 1 + int(GuidePages::printedOrder().size()), qPrintable(QString::number(pages)));

    // The running text of the book: page furniture (running head, folio, the section title repeated
    // on its later pages) taken out, so that a paragraph that runs on to the next page reads whole.
    const QString raw = run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
    QVERIFY(!raw.isEmpty());
    QStringList titles;
    for (GuideTopic topic : GuidePages::printedOrder())
        titles << GuidePages::page(topic).title;
    const QRegularExpression folio(u"^Pagina \\d+$"_s);
    QStringList running;
    int titleLines = 0;
    const QStringList pagesText = raw.split(u'\f');
    for (int i = 1; i < pagesText.size(); ++i) { // after the title page
        for (const QString& line : pagesText[i].split(u'\n')) {
            const QString trimmed = line.simplified();
            if (trimmed.isEmpty() || trimmed == u"Ingressario · Guida all'utilizzo del software"_s ||
                folio.match(trimmed).hasMatch())
                continue;
            if (titles.contains(trimmed)) {
                ++titleLines;
                continue;
            }
            running << trimmed;
        }
    }
    const QString text = running.join(u' ');
    QVERIFY(titleLines >= titles.size());
    const QString titlePage = pagesText.first().simplified();
    QVERIFY(titlePage.contains(u"Guida all'utilizzo del software"_s));
    QVERIFY(titlePage.contains(u"Indice"_s));
    for (GuideTopic topic : GuidePages::printedOrder()) {
        const GuidePage& page = GuidePages::page(topic);
        QVERIFY2(titlePage.contains(page.title), qPrintable(page.title));
        // Every paragraph, word for word.
        for (const QString& paragraph : page.paragraphs)
            QVERIFY2(text.contains(paragraph.simplified()), qPrintable(paragraph));
    }
}

void TestGuideBook::unwritableFileIsReported()
{
    QTemporaryDir dir;
    QVERIFY(!GuideBook::write(dir.filePath(u"manca/Guida.pdf"_s)));
}

void TestGuideBook::buildPlacesTheGuideNextToTheProgram()
{
    const QString placed = QStringLiteral(INGRESSARIO_BUILD_DIR) + u"/Guida.pdf"_s;
    QVERIFY2(QFileInfo::exists(placed), qPrintable(placed));
    const QString text = run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, placed, u"-"_s}).simplified();
    QVERIFY(text.contains(GuidePages::page(GuideTopic::General).title));
    QVERIFY(text.contains(u"velocipedarium"_s));
}

QTEST_MAIN(TestGuideBook)
#include "tst_GuideBook.moc"
