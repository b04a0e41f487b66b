#include "archives/CardFile.h"
#include "registry/AllegaCartella.h"
#include "registry/Schedario_Chiavi.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedSeams.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Overwrite = u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome."
                          u"\r\n\r\nSi vuole sovrascrivere il file esistente?"_s;
const QString NameTooLong = u"Attenzione: il nome del file scelto supera i 250 caratteri che la scheda può registrare."
                            u"\n\r\n\rRinominare il file con un nome più breve e allegarlo di nuovo."_s;
const QString NameNotStorable = u"Attenzione: il nome del file scelto contiene caratteri che la scheda non può "
                                u"registrare, oppure inizia o termina con uno spazio.\n\r\n\rRinominare il file "
                                u"usando lettere, cifre e segni comuni e allegarlo di nuovo."_s;

const QString CopyFailure = u"Attenzione: il sistema non permette di copiare il file nella cartella dei documenti "
                            u"allegati.\n\r\n\rAccertarsi che nel disco ci sia spazio sufficiente e di possedere i "
                            u"privilegi di scrittura nella cartella di installazione del programma."_s;
const QString MissingInFolder = u"Il file non è presente nella cartella dei documenti allegati."_s;

QString two(int slot)
{
    return u"0"_s + QString::number(slot);
}

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

// Files chosen in the file dialog live outside the ProgramFolder.
struct Sources
{
    QTemporaryDir dir;
    QString make(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        return writeFile(path, bytes) ? path : QString();
    }
};

// What a window's slots and the attachment folder look like from outside.
struct Looks
{
    QWidget* w;
    AppContext& ctx;

    QString folder() const { return TfrmAllegaCartella::folderOf(ctx); }
    QStringList folderEntries() const
    {
        return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                        QDir::Name);
    }
    QLineEdit* txtFile(int slot) const { return w->findChild<QLineEdit*>(u"txtFile"_s + two(slot)); }
    QLineEdit* txtDesc(int slot) const { return w->findChild<QLineEdit*>(u"txtDesc"_s + two(slot)); }
    QPushButton* btnApri(int slot) const { return w->findChild<QPushButton*>(u"btnApri"_s + two(slot)); }
    void click(const QString& name) const
    {
        auto* button = w->findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

// The window on its own, on a fresh ProgramFolder with scripted seams.
struct Window
{
    TestContext t;
    Sources sources;
    TfrmAllegaCartella w{t.ctx};
    Looks look{&w, t.ctx};

    Window()
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    void browse(int slot, const QString& chosen)
    {
        t.fileDialogs.answers.enqueue(chosen);
        look.click(u"btnSfoglia"_s + two(slot));
    }
    // An attachment already in the folder, as an earlier card left it.
    void existing(const QString& name, const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(look.folder()));
        QVERIFY(writeFile(look.folder() + name, bytes));
    }
};

// The card editor showing card 1 of a card file that names three attachments.
struct Editor
{
    TestContext t;
    Sources sources;
    TfrmSchedario_Chiavi w{t.ctx};

    // `adjust` changes the card before it is written to the card file of the ProgramFolder.
    explicit Editor(const std::function<void(PassRecord&, const AppContext&)>& adjust = {})
    {
        PassRecord card;
        card.Codice = u"B-07"_s;
        card.Tipo = u"Badge"_s;
        card.Utilizzo = u"Magazzino"_s;
        card.Stato = PassValues::Disponibile;
        card.Luogo = u"Reception"_s;
        card.Persone = u"Fornitori"_s;
        card.Smarrita = PassValues::No;
        card.File01 = u"piantina.pdf"_s;
        card.File02 = u"foto.jpg"_s;
        card.File03 = u"nota.txt"_s;
        card.Desc01 = u"Pianta"_s;
        card.Desc02 = u"Foto"_s;
        card.Desc03 = u"Appunti"_s;
        if (adjust)
            adjust(card, t.ctx);
        QVERIFY(DataFiles::writeCards(t.ctx, {card}));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickEditor(u"cmdPrimo"_s);
        QCOMPARE(w.attachmentFile(1), card.File01);
    }
    void clickEditor(const QString& name)
    {
        auto* button = w.findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    PassRecord storedCard() const { return DataFiles::readCard(t.ctx, 1); }
    // Opens the attachment window with the editor's "Allega file" and runs `work` on it while it is
    // shown modally; the window is closed afterwards if `work` left it open (a failed check included).
    void withAttachments(const std::function<void(TfrmAllegaCartella&, Looks&)>& work)
    {
        bool ran = false;
        QTimer::singleShot(0, &w, [&] {
            auto* frm = w.findChild<TfrmAllegaCartella*>();
            QVERIFY(frm);
            QPointer<TfrmAllegaCartella> guard(frm);
            auto closer = qScopeGuard([&] {
                if (guard)
                    guard->close();
            });
            QVERIFY(frm->isVisible());
            Looks look{frm, t.ctx};
            ran = true;
            work(*frm, look);
        });
        clickEditor(u"cmdFile"_s);
        QVERIFY(ran);
        QVERIFY(!w.findChild<TfrmAllegaCartella*>()); // destroyed when it closed
    }
};

} // namespace

class tst_AllegaCartella : public QObject
{
    Q_OBJECT

private slots:
    void firstAttachmentCreatesTheFolder()
    {
        Window win;
        QVERIFY(!QFileInfo::exists(win.look.folder()));
        const QString chosen = win.sources.make(u"piantina piano terra.pdf"_s, "%PDF-1.4 pianta");
        win.browse(2, chosen);

        QCOMPARE(win.t.fileDialogs.titles, QStringList{u"Selezionare il file da allegare:"_s});
        QCOMPARE(win.t.fileDialogs.filters, QStringList{u"Tutti i file (*.*)"_s});
        QVERIFY(QFileInfo(win.look.folder()).isDir());
        QCOMPARE(win.look.folderEntries(), QStringList{u"piantina piano terra.pdf"_s});
        QCOMPARE(contents(win.look.folder() + u"piantina piano terra.pdf"_s), QByteArray("%PDF-1.4 pianta"));
        QCOMPARE(win.look.txtFile(2)->text(), u"piantina piano terra.pdf"_s);
        QVERIFY(win.look.btnApri(2)->isEnabled());
        QVERIFY(win.look.txtFile(1)->text().isEmpty());
        QVERIFY(win.t.messages.calls.isEmpty());
        QVERIFY(QFile::exists(chosen)); // the original stays where it was
    }

    void overwriteQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("inFolder");
        QTest::newRow("No keeps the old file") << false << QByteArray("vecchio contenuto");
        QTest::newRow("Yes replaces it") << true << QByteArray("nuovo");
    }
    void overwriteQuestion()
    {
        QFETCH(bool, yes);
        QFETCH(QByteArray, inFolder);
        Window win;
        win.existing(u"foto.jpg"_s, "vecchio contenuto");
        win.w.setFileName(1, u"altro.png"_s);
        win.t.messages.answers.enqueue(yes);
        win.browse(1, win.sources.make(u"foto.jpg"_s, "nuovo"));

        QCOMPARE(win.t.messages.calls.size(), 1);
        QCOMPARE(win.t.messages.calls[0].kind, MessageCall::Question);
        QCOMPARE(win.t.messages.calls[0].text, Overwrite);
        QCOMPARE(contents(win.look.folder() + u"foto.jpg"_s), inFolder);
        QCOMPARE(win.look.folderEntries(), QStringList{u"foto.jpg"_s});
        // Either way the slot names the file now in the folder.
        QCOMPARE(win.look.txtFile(1)->text(), u"foto.jpg"_s);
        QVERIFY(win.look.btnApri(1)->isEnabled());
    }

    void choosingAFileOfTheFolderItselfKeepsIt()
    {
        Window win;
        win.existing(u"foto.jpg"_s, "già allegata");
        win.browse(3, win.look.folder() + u"foto.jpg"_s);

        QVERIFY(win.t.messages.calls.isEmpty());
        QCOMPARE(contents(win.look.folder() + u"foto.jpg"_s), QByteArray("già allegata"));
        QCOMPARE(win.look.folderEntries(), QStringList{u"foto.jpg"_s});
        QCOMPARE(win.look.txtFile(3)->text(), u"foto.jpg"_s);
    }

    void cancellingTheDialogChangesNothing()
    {
        Window win;
        win.w.setFileName(3, u"nota.txt"_s);
        win.w.setDescription(3, u"Appunti"_s);
        win.browse(3, QString());

        QCOMPARE(win.t.fileDialogs.titles.size(), 1);
        QCOMPARE(win.look.txtFile(3)->text(), u"nota.txt"_s);
        QCOMPARE(win.look.txtDesc(3)->text(), u"Appunti"_s);
        QVERIFY(win.t.messages.calls.isEmpty());
        QVERIFY(!QFileInfo::exists(win.look.folder()));
    }

    void apriEnabledExactlyWhenANameIsPresent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("opened"); // the name in the command, when enabled
        QTest::newRow("name") << u"scheda tecnica.pdf"_s << true << u"scheda tecnica.pdf"_s;
        QTest::newRow("blanks around the name") << u"  foto.jpg \t"_s << true << u"foto.jpg"_s;
        QTest::newRow("only blanks") << u"   "_s << false << QString();
        QTest::newRow("empty") << QString() << false << QString();
    }
    void apriEnabledExactlyWhenANameIsPresent()
    {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        QFETCH(QString, opened);
        Window win;
        QVERIFY(!win.look.btnApri(2)->isEnabled()); // disabled at design
        win.w.setFileName(2, u"prima.pdf"_s);
        win.w.setFileName(2, name);
        QCOMPARE(win.look.btnApri(2)->isEnabled(), enabled);
        if (!enabled)
            return;

        win.look.click(u"btnApri02"_s);
        const QString path = QDir::toNativeSeparators(win.t.ctx.programFolder + u"Documenti_Allegati/"_s + opened);
        QCOMPARE(win.t.shell.commands, QStringList{u'"' + path + u'"'});

        // Clearing the slot empties the name and disables "Apri"; the description stays.
        win.w.setDescription(2, u"Descrizione"_s);
        win.look.click(u"imgCancella02"_s);
        QVERIFY(win.look.txtFile(2)->text().isEmpty());
        QVERIFY(!win.look.btnApri(2)->isEnabled());
        QCOMPARE(win.look.txtDesc(2)->text(), u"Descrizione"_s);
    }

    void namesTheCardCannotHold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("warning"); // empty: accepted
        const QString base = QString(246, u'a');
        QTest::newRow("250 characters") << base + u".pdf"_s << QString();
        QTest::newRow("251 characters") << base + u"a.pdf"_s << NameTooLong;
        QTest::newRow("accents and euro sign of the code page") << u"ricevuta è € 2025.pdf"_s << QString();
        QTest::newRow("letter outside the code page") << u"Łódź.pdf"_s << NameNotStorable;
        QTest::newRow("another script") << u"地图.pdf"_s << NameNotStorable;
        QTest::newRow("leading blank") << u" foto.jpg"_s << NameNotStorable;
        QTest::newRow("trailing blank") << u"foto.jpg "_s << NameNotStorable;
        // Separators and drive letters of other systems: read back on another workstation, such a
        // name would lead out of the folder.
        QTest::newRow("backslash") << u"..\\verbale.pdf"_s << NameNotStorable;
        QTest::newRow("colon") << u"C:verbale.pdf"_s << NameNotStorable;
    }
    void namesTheCardCannotHold()
    {
        QFETCH(QString, name);
        QFETCH(QString, warning);
        Window win;
        win.w.setFileName(1, u"precedente.pdf"_s);
        const QString chosen = win.sources.make(name, "contenuto");
        QVERIFY(!chosen.isEmpty());
        win.browse(1, chosen);

        if (warning.isEmpty()) {
            QVERIFY(win.t.messages.calls.isEmpty());
            QCOMPARE(win.look.txtFile(1)->text(), name);
            QCOMPARE(contents(win.look.folder() + name), QByteArray("contenuto"));
            return;
        }
        QCOMPARE(win.t.messages.calls.size(), 1);
        QCOMPARE(win.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(win.t.messages.calls[0].text, warning);
        QCOMPARE(win.look.txtFile(1)->text(), u"precedente.pdf"_s);
        QVERIFY(!QFileInfo::exists(win.look.folder()));
    }

    // The copy fails: the operator is told, the slot keeps the name it had, and the folder holds
    // what it held, without a cut copy or a leftover temporary file.
    void failedCopyLeavesTheFolderAsItWas_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("source is a folder") << u"source folder"_s;
        QTest::newRow("source cannot be read") << u"source read error"_s;
        QTest::newRow("target cannot be written") << u"target folder"_s;
        QTest::newRow("folder cannot be created") << u"folder is a file"_s;
    }
    void failedCopyLeavesTheFolderAsItWas()
    {
        QFETCH(QString, fault);
        Window win;
        const QString folder = win.look.folder();
        QString chosen;
        QString name = u"verbale.pdf"_s;
        if (fault == u"source folder"_s) {
            win.existing(name, "allegato buono");
            chosen = win.sources.dir.filePath(name);
            QVERIFY(QDir().mkpath(chosen));
        } else if (fault == u"source read error"_s) {
            // Opens as a plain file, but reading its first bytes fails.
            chosen = u"/proc/self/mem"_s;
            name = u"mem"_s;
            win.existing(name, "allegato buono");
            QFile probe(chosen);
            QVERIFY(probe.open(QIODevice::ReadOnly));
            char byte;
            QVERIFY(probe.read(&byte, 1) < 0);
        } else if (fault == u"target folder"_s) {
            win.existing(u"altro.txt"_s, "allegato buono");
            QVERIFY(QDir().mkpath(folder + name));
            chosen = win.sources.make(name, "nuovo");
        } else {
            QVERIFY(writeFile(win.t.ctx.programFolder + u"Documenti_Allegati"_s, "non una cartella"));
            chosen = win.sources.make(name, "nuovo");
        }
        const QStringList before = win.look.folderEntries();
        win.w.setFileName(1, u"precedente.pdf"_s);

        win.browse(1, chosen);

        QCOMPARE(win.look.txtFile(1)->text(), u"precedente.pdf"_s);
        QCOMPARE(win.look.folderEntries(), before);
        if (fault == u"folder is a file"_s)
            QCOMPARE(contents(win.t.ctx.programFolder + u"Documenti_Allegati"_s), QByteArray("non una cartella"));
        else if (fault == u"target folder"_s)
            QVERIFY(QFileInfo(folder + name).isDir());
        else
            QCOMPARE(contents(folder + name), QByteArray("allegato buono"));
        // The overwrite question when a file of that name is there, then the failure.
        QVERIFY(!win.t.messages.calls.isEmpty());
        QCOMPARE(win.t.messages.calls.last().kind, MessageCall::Warning);
        QCOMPARE(win.t.messages.lastText(), CopyFailure);
        for (qsizetype i = 0; i + 1 < win.t.messages.calls.size(); ++i)
            QCOMPARE(win.t.messages.calls[i].text, Overwrite);

        // The window goes on working: the next choice is copied as usual.
        if (fault != u"folder is a file"_s) {
            win.browse(2, win.sources.make(u"seguente.txt"_s, "seguito"));
            QCOMPARE(contents(folder + u"seguente.txt"_s), QByteArray("seguito"));
        }
    }

    // A name read from the card file that leads out of the attachment folder, or through a link, is
    // never handed to the desktop: "Apri" stays disabled and the name shows as missing, although a
    // file lies where it leads. A plain name beside it opens as usual.
    void namesLeavingTheFolder_data()
    {
        QTest::addColumn<QString>("stored"); // "<abs>" stands for the ProgramFolder's absolute path
        QTest::addColumn<QString>("plant");  // a link planted in the data folder, if any
        QTest::newRow("parent folder") << u"../fuori.txt"_s << QString();
        QTest::newRow("down and up again") << u"sotto/../../fuori.txt"_s << QString();
        QTest::newRow("parent folder, backslashes") << u"..\\fuori.txt"_s << QString();
        QTest::newRow("parent folder itself") << u".."_s << QString();
        QTest::newRow("subfolder") << u"sotto/dentro.txt"_s << QString();
        QTest::newRow("absolute path") << u"<abs>fuori.txt"_s << QString();
        QTest::newRow("drive letter") << u"C:\\Windows\\win.ini"_s << QString();
        QTest::newRow("drive letter, relative") << u"C:fuori.txt"_s << QString();
#ifdef Q_OS_UNIX
        QTest::newRow("link in the folder to a file outside") << u"collegamento.txt"_s << u"file"_s;
        QTest::newRow("attachment folder is a link") << u"fuori.txt"_s << u"folder"_s;
#endif
    }
    void namesLeavingTheFolder()
    {
        QFETCH(QString, stored);
        QFETCH(QString, plant);
        TestContext outside; // only its folder: somewhere outside the ProgramFolder
        const QString elsewhere = outside.dir.path() + u'/';
        QVERIFY(writeFile(elsewhere + u"fuori.txt"_s, "fuori"));
        Editor e([&](PassRecord& card, const AppContext& ctx) {
            card.File01 = stored.replace(u"<abs>"_s, ctx.programFolder);
            card.File02 = u"buono.txt"_s;
        });
        const QString folder = TfrmAllegaCartella::folderOf(e.t.ctx);
        QVERIFY(writeFile(e.t.ctx.file(u"fuori.txt"_s), "fuori"));
        if (plant == u"folder"_s) {
            QVERIFY(QFile::link(elsewhere.chopped(1), folder.chopped(1)));
            QVERIFY(writeFile(elsewhere + u"buono.txt"_s, "buono"));
        } else {
            QVERIFY(QDir().mkpath(folder + u"sotto"_s));
            QVERIFY(writeFile(folder + u"sotto/dentro.txt"_s, "dentro"));
            QVERIFY(writeFile(folder + u"buono.txt"_s, "buono"));
            if (plant == u"file"_s)
                QVERIFY(QFile::link(elsewhere + u"fuori.txt"_s, folder + u"collegamento.txt"_s));
        }

        e.withAttachments([&](TfrmAllegaCartella&, Looks& look) {
            QCOMPARE(look.txtFile(1)->text(), e.storedCard().File01);
            QVERIFY(!look.btnApri(1)->isEnabled());
            QCOMPARE(look.txtFile(1)->toolTip(), MissingInFolder);
            QCOMPARE(look.txtFile(1)->accessibleDescription(), MissingInFolder);
            look.click(u"btnApri01"_s);
            QVERIFY(e.t.shell.commands.isEmpty());

            // Slot 2 names a plain file of the folder: it opens, unless the folder is itself a link.
            QCOMPARE(look.btnApri(2)->isEnabled(), plant != u"folder"_s);
            look.click(u"btnApri02"_s);
            look.click(u"btnAnnulla"_s);
        });
        const QString good = QDir::toNativeSeparators(folder + u"buono.txt"_s);
        QCOMPARE(e.t.shell.commands, plant == u"folder"_s ? QStringList() : QStringList{u'"' + good + u'"'});
        QCOMPARE(contents(elsewhere + u"fuori.txt"_s), QByteArray("fuori"));
    }

    void annullaAfterACopyLeavesTheEditorsValues()
    {
        Editor e;
        const PassRecord before = e.w.heldCard();
        const QString chosen = e.sources.make(u"contratto.pdf"_s, "contratto");
        e.withAttachments([&](TfrmAllegaCartella& frm, Looks& look) {
            QCOMPARE(frm.callerTag(), u"schedario_chiavi"_s);
            QCOMPARE(look.txtFile(1)->text(), u"piantina.pdf"_s);
            QCOMPARE(look.txtDesc(3)->text(), u"Appunti"_s);
            for (int slot = 1; slot <= 3; ++slot)
                QVERIFY(look.btnApri(slot)->isEnabled());
            e.t.fileDialogs.answers.enqueue(chosen);
            look.click(u"btnSfoglia02"_s);
            QCOMPARE(look.txtFile(2)->text(), u"contratto.pdf"_s);
            look.txtDesc(2)->setText(u"Contratto firmato"_s);
            look.click(u"btnAnnulla"_s);
        });
        QVERIFY(e.w.heldCard() == before);
        QCOMPARE(contents(TfrmAllegaCartella::folderOf(e.t.ctx) + u"contratto.pdf"_s), QByteArray("contratto"));
    }

    void applyThenSaveStoresTheSlotsAndReopensThem()
    {
        Editor e;
        const QString chosen = e.sources.make(u"contratto.pdf"_s, "contratto");
        e.withAttachments([&](TfrmAllegaCartella&, Looks& look) {
            look.click(u"imgCancella01"_s); // cleared; its description stays
            e.t.fileDialogs.answers.enqueue(chosen);
            look.click(u"btnSfoglia02"_s);
            look.txtDesc(2)->setText(u"  Contratto firmato  "_s);
            look.click(u"imgCancella03"_s);
            look.txtDesc(3)->clear();
            look.click(u"btnApplica"_s);
        });
        QCOMPARE(e.w.attachmentFile(1), QString());
        QCOMPARE(e.w.attachmentDescription(1), u"Pianta"_s);
        QCOMPARE(e.w.attachmentFile(2), u"contratto.pdf"_s);
        QCOMPARE(e.w.attachmentDescription(2), u"Contratto firmato"_s);
        QCOMPARE(e.w.attachmentFile(3), QString());
        QCOMPARE(e.w.attachmentDescription(3), QString());
        QCOMPARE(e.storedCard().File02, u"foto.jpg"_s); // not in the card file before the save

        e.clickEditor(u"cmdSalva"_s);
        const PassRecord stored = e.storedCard();
        QCOMPARE(stored.File01, QString());
        QCOMPARE(stored.Desc01, u"Pianta"_s);
        QCOMPARE(stored.File02, u"contratto.pdf"_s);
        QCOMPARE(stored.Desc02, u"Contratto firmato"_s);
        QCOMPARE(stored.File03, QString());
        QCOMPARE(stored.Desc03, QString());
        QCOMPARE(stored.Codice, u"B-07"_s);

        // Shown again from the file, the card opens its attachment through the shell.
        e.clickEditor(u"cmdNuovo"_s);
        e.clickEditor(u"cmdPrimo"_s);
        e.withAttachments([&](TfrmAllegaCartella&, Looks& look) {
            QVERIFY(!look.btnApri(1)->isEnabled());
            QVERIFY(look.btnApri(2)->isEnabled());
            QVERIFY(!look.btnApri(3)->isEnabled());
            QCOMPARE(look.txtDesc(1)->text(), u"Pianta"_s);
            look.click(u"btnApri02"_s);
            look.click(u"btnAnnulla"_s);
        });
        const QString path = QDir::toNativeSeparators(TfrmAllegaCartella::folderOf(e.t.ctx) + u"contratto.pdf"_s);
        QCOMPARE(e.t.shell.commands, QStringList{u'"' + path + u'"'});
    }

    // Enter on a focused button presses it, as the space bar does.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("btnSfoglia01 Return") << u"btnSfoglia01"_s << int(Qt::Key_Return);
        QTest::newRow("btnSfoglia03 Enter") << u"btnSfoglia03"_s << int(Qt::Key_Enter);
        QTest::newRow("btnApplica Return") << u"btnApplica"_s << int(Qt::Key_Return);
        QTest::newRow("btnApplica Enter") << u"btnApplica"_s << int(Qt::Key_Enter);
        QTest::newRow("btnAnnulla Return") << u"btnAnnulla"_s << int(Qt::Key_Return);
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        Editor e;
        const PassRecord before = e.w.heldCard();
        bool closed = false;
        e.withAttachments([&](TfrmAllegaCartella& frm, Looks& look) {
            look.click(u"imgCancella02"_s);
            auto* pressed = frm.findChild<QPushButton*>(button);
            QVERIFY(pressed);
            pressed->setFocus(Qt::TabFocusReason);
            QCOMPARE(frm.focusWidget(), pressed);
            QTest::keyClick(pressed, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            closed = frm.isHidden();
        });
        if (button.startsWith(u"btnSfoglia"_s)) {
            QCOMPARE(e.t.fileDialogs.titles, QStringList{u"Selezionare il file da allegare:"_s});
            QVERIFY(!closed);
        } else {
            QVERIFY(closed);
            QVERIFY(e.t.fileDialogs.titles.isEmpty());
            // "Applica e chiudi" wrote the cleared slot into the card editor; "Annulla" wrote nothing.
            QCOMPARE(e.w.attachmentFile(2), button == u"btnApplica"_s ? QString() : u"foto.jpg"_s);
            if (button == u"btnAnnulla"_s)
                QVERIFY(e.w.heldCard() == before);
        }
    }

    void applyHandsTheSlotsBackBySignal()
    {
        // The window on its own: without the card editor's tag "Applica e chiudi" hands nothing back
        // and stays open; with it, it hands the three slots back, trimmed, and closes.
        Window x;
        x.w.setFileName(1, u"piantina.pdf"_s);
        x.w.setDescription(1, u"  Pianta  "_s);
        x.w.setDescription(3, u"Appunti"_s);
        QList<QList<TfrmAllegaCartella::Attachment>> applied;
        QObject::connect(&x.w, &TfrmAllegaCartella::attachmentsApplied,
                         [&](const QList<TfrmAllegaCartella::Attachment>& attachments) { applied << attachments; });
        x.look.click(u"btnApplica"_s);
        QVERIFY(applied.isEmpty());
        QVERIFY(x.w.isVisible());

        x.w.setCallerTag(u"schedario_chiavi"_s);
        x.look.click(u"btnApplica"_s);
        QCOMPARE(applied.size(), 1);
        const QList<TfrmAllegaCartella::Attachment>& slots3 = applied.first();
        QCOMPARE(slots3.size(), 3);
        QCOMPARE(slots3[0].fileName, u"piantina.pdf"_s);
        QCOMPARE(slots3[0].description, u"Pianta"_s);
        QCOMPARE(slots3[1].fileName, QString());
        QCOMPARE(slots3[1].description, QString());
        QCOMPARE(slots3[2].fileName, QString());
        QCOMPARE(slots3[2].description, u"Appunti"_s);
        QVERIFY(!x.w.isVisible());
    }

    void applyWithAnotherCallerTagDoesNothing()
    {
        Editor e;
        const PassRecord before = e.w.heldCard();
        e.withAttachments([&](TfrmAllegaCartella& frm, Looks& look) {
            frm.setCallerTag(u"altro"_s);
            look.click(u"imgCancella01"_s);
            look.click(u"btnApplica"_s);
            QVERIFY(frm.isVisible()); // still open; the guard closes it
        });
        QVERIFY(e.w.heldCard() == before);
    }
};

QTEST_MAIN(tst_AllegaCartella)
#include "tst_AllegaCartella.moc"
