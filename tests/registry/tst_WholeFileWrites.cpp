// Every file the program writes whole (the card export, the history export, an attachment copy,
// the password file), each driven through its window, on a full disk and through a link planted in
// the data folder: the previous file stays byte for byte, the operator is told with the write's
// failure message, no temporary file is left behind, and nothing outside the folder is touched.

#include "archives/Crypt.h"
#include "archives/HistoryFile.h"
#include "grids/StringGridModel.h"
#include "history/Riepilogo.h"
#include "registry/AllegaCartella.h"
#include "registry/ExpChiavi.h"
#include "shell/CambiaPassword.h"
#include "shell/PictureButton.h"
#include "tests/support/DataFiles.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedSeams.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString FirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                              u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s;
const QString OpenQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_s;
const QString ExportFailure = u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                              u"Accertarsi che il file di Excel non sia già aperto."_s;
const QString Overwrite = u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome."
                          u"\r\n\r\nSi vuole sovrascrivere il file esistente?"_s;
const QString CopyFailure = u"Attenzione: il sistema non permette di copiare il file nella cartella dei documenti "
                            u"allegati.\n\r\n\rAccertarsi che nel disco ci sia spazio sufficiente e di possedere i "
                            u"privilegi di scrittura nella cartella di installazione del programma."_s;
const QString ChangeDone = u"Modifica della password completata con successo."_s;
const QString ChangeFailure = u"Attenzione: si è verificato un errore durante la procedura di modifica della "
                              u"password. Si consiglia di reinstallare il software."_s;

enum Writer
{
    CardExport,
    HistoryExport,
    Attachment,
    Password
};
enum Fault
{
    None,
    SizeLimit,
    LinkAtTarget,
    FolderIsLink
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

PassRecord card(int n)
{
    PassRecord c;
    c.Codice = u"B-%1"_s.arg(n, 3, 10, QChar(u'0'));
    c.Tipo = u"Badge"_s;
    c.Utilizzo = u"Ingresso principale"_s;
    c.Stato = PassValues::Disponibile;
    c.Luogo = u"Reception"_s;
    c.Responsabile = u"Ugo Neri"_s;
    c.Persone = u"Visitatori"_s;
    c.Note = u"Cauzione 5 €"_s;
    c.Smarrita = PassValues::No;
    return c;
}

HistoryRecord operation(int n)
{
    HistoryRecord r;
    r.Codice = u"B-%1"_s.arg(n, 3, 10, QChar(u'0'));
    r.Tipo = u"Badge"_s;
    r.Utilizzo = u"Ingresso principale"_s;
    r.Luogo = u"Reception"_s;
    r.Persone = u"Visitatori"_s;
    r.PersonaRit = u"Anna Bianchi"_s;
    r.DataRit = u"11/03/2025"_s;
    r.OraRit = u"09:00"_s;
    r.PersonaRic = u"Luca Verdi"_s;
    r.DataRic = u"11/03/2025"_s;
    r.OraRic = u"17:30"_s;
    return r;
}

// One write of one writer: its data files, the file it replaces, the window that writes it.
struct Scenario
{
    TestContext t;
    QTemporaryDir outside; // a folder outside the ProgramFolder
    QString target;
    QString sources; // where a file chosen for attaching lives

    explicit Scenario(Writer writer)
    {
        switch (writer) {
        case CardExport: {
            QList<PassRecord> cards;
            for (int n = 1; n <= 10; ++n)
                cards << card(n);
            QVERIFY(DataFiles::writeCards(t.ctx, cards));
            target = t.ctx.file(u"Schedario_Pass.xls"_s);
            break;
        }
        case HistoryExport: {
            HistoryFile history(t.ctx.programFolder);
            QVERIFY(history.open());
            for (int n = 1; n <= 10; ++n)
                QVERIFY(history.append(operation(n)).has_value());
            history.close();
            target = t.ctx.file(u"Storico_Operazioni.xls"_s);
            break;
        }
        case Attachment:
            QVERIFY(QDir().mkpath(TfrmAllegaCartella::folderOf(t.ctx)));
            target = TfrmAllegaCartella::folderOf(t.ctx) + u"verbale.pdf"_s;
            QVERIFY(QDir().mkpath(outside.filePath(u"scelti"_s)));
            sources = outside.filePath(u"scelti"_s);
            // The operator's new copy: 70 KiB, larger than the room left.
            QVERIFY(writeAll(sources + u"/verbale.pdf"_s, QByteArray(70 * 1024, 'n')));
            break;
        case Password:
            target = t.ctx.file(u"unins000.dll"_s);
            break;
        }
    }

    // The previous content of the file the writer replaces.
    QByteArray previousContent(Writer writer) const
    {
        switch (writer) {
        case Attachment:
            return QByteArray(70 * 1024, 'o');
        case Password:
            return "; impostazioni della postazione\r\n[Postazione]\r\nNome Reparto=Reception Nord\r\n\r\n"
                   "[Accesso]\r\nValore=" +
                   Crypt::encode(u"VELOCIPEDARIUM"_s).toLatin1() + "\r\n";
        default:
            return QByteArray(5000, 'x') + "vecchia esportazione";
        }
    }

    // Runs the writer through its window as the operator does; a `limit` of 0 or more holds the
    // size of every file to it around the click that writes.
    void write(Writer writer, qint64 limit)
    {
        const auto during = [limit] {
            std::unique_ptr<FileSizeLimit> fault;
            if (limit >= 0) {
                fault = std::make_unique<FileSizeLimit>(limit);
                QTest::qVerify(fault->isActive(), "fault->isActive()", "", __FILE__, __LINE__);
            }
            return fault;
        };
        switch (writer) {
        case CardExport: {
            TfrmExpChiavi w(t.ctx);
            w.show();
            t.messages.answers << true << false;
            auto fault = during();
            QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
            break;
        }
        case HistoryExport: {
            TfrmRiepilogo w(t.ctx);
            w.setInterval(u"01/01/2025"_s, u"31/12/2025"_s);
            w.show();
            QCOMPARE(w.grid()->rowCount(), 10);
            t.messages.answers << true << false;
            auto fault = during();
            QTest::mouseClick(w.cmdEsporta, Qt::LeftButton);
            break;
        }
        case Attachment: {
            TfrmAllegaCartella w(t.ctx);
            w.show();
            t.fileDialogs.answers.enqueue(sources + u"/verbale.pdf"_s);
            auto fault = during();
            QTest::mouseClick(w.findChild<QPushButton*>(u"btnSfoglia01"_s), Qt::LeftButton);
            break;
        }
        case Password: {
            TfrmCambiaPassword w(t.ctx);
            w.show();
            QTest::keyClicks(w.txtPasswordOld, u"velocipedarium"_s);
            QTest::keyClicks(w.txtPasswordNew, u"nuova parola"_s);
            QTest::keyClicks(w.txtConferma, u"nuova parola"_s);
            auto fault = during();
            QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            break;
        }
        }
    }
};

// What the operator is told, in order, when the write fails or succeeds.
QStringList told(Writer writer, bool fails, bool previousExists)
{
    switch (writer) {
    case CardExport:
    case HistoryExport:
        return {FirstQuestion, fails ? ExportFailure : OpenQuestion};
    case Attachment: {
        QStringList out;
        if (previousExists)
            out << Overwrite;
        if (fails)
            out << CopyFailure;
        return out;
    }
    case Password:
        return {fails ? ChangeFailure : ChangeDone};
    }
    return {};
}

} // namespace

class TestWholeFileWrites : public QObject
{
    Q_OBJECT

private slots:
    void previousFileKeptAndFailureTold_data();
    void previousFileKeptAndFailureTold();
};

void TestWholeFileWrites::previousFileKeptAndFailureTold_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("fault");
    QTest::addColumn<qint64>("limit"); // bytes any file may grow to, for SizeLimit

    const struct
    {
        Writer writer;
        const char* name;
        qint64 partRoom; // room for a part of the new file
    } writers[] = {
        {CardExport, "card export", 2000},
        {HistoryExport, "history export", 2000},
        {Attachment, "attachment copy", 64 * 1024},
        {Password, "password change", 64},
    };
    for (const auto& w : writers) {
        QTest::addRow("%s, room enough", w.name) << int(w.writer) << int(None) << qint64(-1);
#ifdef Q_OS_UNIX
        QTest::addRow("%s, disk full", w.name) << int(w.writer) << int(SizeLimit) << qint64(0);
        QTest::addRow("%s, room for a part", w.name) << int(w.writer) << int(SizeLimit) << w.partRoom;
        QTest::addRow("%s, link to a file outside", w.name) << int(w.writer) << int(LinkAtTarget) << qint64(-1);
#endif
    }
#ifdef Q_OS_UNIX
    QTest::newRow("attachment folder is a link to a folder outside")
        << int(Attachment) << int(FolderIsLink) << qint64(-1);
#endif
}

void TestWholeFileWrites::previousFileKeptAndFailureTold()
{
    QFETCH(int, writer);
    QFETCH(int, fault);
    QFETCH(qint64, limit);
    const Writer w = Writer(writer);

    Scenario s(w);
    const QByteArray previous = s.previousContent(w);
    QString written = s.target; // the file that holds the previous content
    if (fault == LinkAtTarget) {
        // A link planted where the file goes, pointing at a file outside the folder.
        written = s.outside.filePath(u"fuori"_s);
        QVERIFY(writeAll(written, previous));
        QVERIFY(QFile::link(written, s.target));
    } else if (fault == FolderIsLink) {
        // The attachment folder itself replaced by a link to a folder outside.
        const QString folder = TfrmAllegaCartella::folderOf(s.t.ctx);
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QDir().mkpath(s.outside.filePath(u"cartella"_s)));
        QVERIFY(QFile::link(s.outside.filePath(u"cartella"_s), folder.chopped(1)));
        written = s.outside.filePath(u"cartella/verbale.pdf"_s);
    } else {
        QVERIFY(writeAll(written, previous));
    }
    const QString folder = QFileInfo(s.target).absolutePath();
    const QStringList folderBefore = entries(folder);
    const QStringList outsideBefore = entries(s.outside.path());

    s.write(w, fault == SizeLimit ? limit : -1);

    const bool fails = fault != None;
    if (!fails) {
        QVERIFY(readAll(s.target) != previous);
        QVERIFY(!readAll(s.target).isEmpty());
    } else {
        if (fault == FolderIsLink)
            QVERIFY(!QFile::exists(written));
        else
            QCOMPARE(readAll(written).size(), previous.size());
        QCOMPARE(readAll(written), fault == FolderIsLink ? QByteArray("<unreadable>") : previous);
        if (fault == LinkAtTarget || fault == FolderIsLink)
            QVERIFY(QFileInfo(fault == LinkAtTarget ? s.target : folder).isSymLink());
        // No temporary file left beside the target, nothing new outside.
        QCOMPARE(entries(folder), folderBefore);
        QCOMPARE(entries(s.outside.path()), outsideBefore);
    }
    // A link is refused before the overwrite question.
    QCOMPARE(s.t.messages.texts(), told(w, fails, fault == None || fault == SizeLimit));
    if (fails)
        QCOMPARE(s.t.messages.calls.last().kind, w == Attachment ? MessageCall::Warning : MessageCall::Plain);
}

QTEST_MAIN(TestWholeFileWrites)
#include "tst_WholeFileWrites.moc"
