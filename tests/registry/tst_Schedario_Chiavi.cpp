#include "archives/CardFile.h"
#include "registry/Schedario_Chiavi.h"
#include "registry/StampaScheda_Chiave.h"
#include "registry/TrovaSchedario_Chiavi.h"
#include "shell/ArchiveMessages.h"
#include "shell/Guida.h"
#include "shell/ScreenKit.h"
#include "shell/WaitCursor.h"
#include "tests/archives/HandLayouts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/LockHolder.h"
#include "tests/support/ScriptedSeams.h"
#include "tests/support/Spoken.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString EmptyFile = u"L'archivio non contiene nessuna scheda."_s;
const QString Inserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString Saved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;
const QString UnsavedChanges = u"Salvare le modifiche alla scheda?"_s;
const QString ChangedElsewhere = u"Attenzione: la scheda è stata modificata da un'altra postazione dopo essere stata "
                                 u"visualizzata.\n\r\n\rVisualizzare di nuovo la scheda e ripetere le modifiche."_s;

PassRecord plainCard(int n)
{
    PassRecord card;
    card.Codice = u"P-%1"_s.arg(n);
    card.Tipo = u"Badge"_s;
    card.Utilizzo = u"Uso %1"_s.arg(n);
    card.Stato = PassValues::Disponibile;
    card.Luogo = u"Reception"_s;
    card.Persone = u"Visitatori"_s;
    card.Smarrita = PassValues::No;
    return card;
}

// A card that is out, lost and has attachments: every part the editor does not show is filled.
PassRecord busyCard(int n)
{
    PassRecord card = plainCard(n);
    card.Duplicati = u"una copia"_s;
    card.Responsabile = u"Ugo Neri"_s;
    card.Recapiti = u"int. 31"_s;
    card.Note = u"nota"_s;
    card.Smarrita = PassValues::Si;
    card.Stato = PassValues::withdrawalState(u"Anna Bianchi"_s, u"03/11/2026"_s, u"09:05"_s);
    card.PersonaRit = u"Anna Bianchi"_s;
    card.GiornoRit = u"03"_s;
    card.MeseRit = u"Novembre"_s;
    card.AnnoRit = u"2026"_s;
    card.DataRit = u"03/11/2026"_s;
    card.OreRit = u"09"_s;
    card.MinutiRit = u"05"_s;
    card.OraRit = u"09:05"_s;
    card.PersonaRic = u"Luca Verdi"_s;
    card.GiornoRic = u"02"_s;
    card.MeseRic = u"Marzo"_s;
    card.AnnoRic = u"2025"_s;
    card.DataRic = u"02/03/2025"_s;
    card.OreRic = u"11"_s;
    card.MinutiRic = u"30"_s;
    card.OraRic = u"11:30"_s;
    card.File01 = u"piantina.pdf"_s;
    card.File02 = u"foto.jpg"_s;
    card.File03 = u"nota.txt"_s;
    card.Desc01 = u"Pianta"_s;
    card.Desc02 = u"Foto"_s;
    card.Desc03 = u"Appunti"_s;
    return card;
}

// The editor shown on a fresh ProgramFolder with scripted seams.
struct Editor
{
    TestContext t;
    TfrmSchedario_Chiavi w{t.ctx};

    Editor()
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    QString cardPath() const { return t.ctx.file(QString::fromLatin1(CardFile::FileName)); }
    QLineEdit* edit(const QString& name) const { return w.findChild<QLineEdit*>(name); }
    QCheckBox* lost() const { return w.findChild<QCheckBox*>(u"chkSmarrita"_s); }
    QString position() const { return w.findChild<QLabel*>(u"lblPosizione"_s)->text(); }
    void click(const QString& name)
    {
        auto* button = w.findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(const QString& name, const QString& text)
    {
        QLineEdit* field = edit(name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void typeCard()
    {
        type(u"txtCodice"_s, u"B-01"_s);
        type(u"txtTipo"_s, u"Badge"_s);
        type(u"txtUtilizzo"_s, u"Ingresso principale"_s);
        type(u"txtLuogo"_s, u"Reception"_s);
        type(u"txtPersone"_s, u"Visitatori"_s);
    }
    void writeCards(const QList<PassRecord>& cards) const { QVERIFY(DataFiles::writeCards(t.ctx, cards)); }
    qint64 count() const { return DataFiles::cardCount(t.ctx); }
    PassRecord cardAt(qint64 position) const { return DataFiles::readCard(t.ctx, position); }
    QByteArray fileBytes() const { return DataFiles::fileBytes(cardPath()); }
    // What the window shows, as a card (the position aside).
    PassRecord shown() const { return w.cardFromFields(); }
};

// Presses Tab until `target` has the focus, as a keyboard user walks a window.
bool tabTo(QWidget* target)
{
    for (int presses = 0; QApplication::focusWidget() != target && presses < 30; ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

// Runs `open` (a click or a key that opens the card search) and, in the search, does what an
// operator does by keys: types `code` into the code filter (which has the focus), Enter on Cerca,
// Space and Enter on the result. True when the search was shown.
bool searchByKeys(const QString& code, const std::function<void()>& open)
{
    bool searched = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* search = qobject_cast<TfrmTrovaSchedario_Chiavi*>(QApplication::activeWindow());
        if (!search || searched)
            return;
        searched = true;
        QTimer::singleShot(0, search, [search, code] {
            QTest::keyClicks(QApplication::focusWidget(), code);
            QVERIFY(tabTo(search->findChild<QWidget*>(u"btnCerca"_s)));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(tabTo(search->findChild<QWidget*>(u"lstRecords"_s)));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (search->isVisible())
                search->close();
        });
    });
    poll.start();
    open();
    return searched;
}

PassRecord numbered(PassRecord card, qint64 position)
{
    card.Scheda = PassValues::cardNumber(position);
    return card;
}

} // namespace

class tst_Schedario_Chiavi : public QObject
{
    Q_OBJECT

private slots:
    void init() { QApplication::setActiveWindow(nullptr); }

    void firstSaveOnMissingFileAppendsCardOne()
    {
        Editor e;
        QVERIFY(!QFile::exists(e.cardPath()));
        e.typeCard();
        e.lost()->setChecked(true);
        e.click(u"cmdSalva"_s);

        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Information);
        QCOMPARE(e.t.messages.calls[0].text, Inserted);
        QCOMPARE(e.count(), 1);
        const PassRecord stored = e.cardAt(1);
        QCOMPARE(stored.Scheda, u"00001"_s);
        QCOMPARE(stored.Codice, u"B-01"_s);
        QCOMPARE(stored.Utilizzo, u"Ingresso principale"_s);
        QCOMPARE(stored.Stato, PassValues::Disponibile);
        QCOMPARE(stored.Smarrita, PassValues::Si);
        QCOMPARE(e.position(), u"1"_s);
        QCOMPARE(e.w.heldCard().Scheda, u"00001"_s);
    }

    void savingTwiceRewritesInPlace()
    {
        Editor e;
        e.writeCards({plainCard(1), plainCard(2)});
        e.typeCard();
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.position(), u"3"_s);
        e.type(u"txtTipo"_s, u"Tessera"_s);
        e.type(u"txtNote"_s, u"  seconda versione  "_s);
        e.click(u"cmdSalva"_s);

        QCOMPARE(e.t.messages.texts(), QStringList({Inserted, Saved}));
        QCOMPARE(e.count(), 3);
        QCOMPARE(e.position(), u"3"_s);
        const PassRecord stored = e.cardAt(3);
        QCOMPARE(stored.Scheda, u"00003"_s);
        QCOMPARE(stored.Tipo, u"Tessera"_s);
        QCOMPARE(stored.Note, u"seconda versione"_s);
        QCOMPARE(e.cardAt(2), numbered(plainCard(2), 2));
    }

    void requiredFieldsInOrder_data()
    {
        QTest::addColumn<QStringList>("blank");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("message");
        const QString codice =
            u"Attenzione: per salvare la scheda è necessario indicare il numero identificativo del pass."_s;
        QTest::newRow("everything blank")
            << QStringList{u"txtCodice"_s, u"txtTipo"_s, u"txtUtilizzo"_s, u"txtLuogo"_s, u"txtPersone"_s}
            << u"txtCodice"_s << codice;
        QTest::newRow("identifier of blanks only") << QStringList{u"txtCodice"_s} << u"txtCodice"_s << codice;
        QTest::newRow("identifier and place") << QStringList{u"txtLuogo"_s, u"txtCodice"_s} << u"txtCodice"_s << codice;
        QTest::newRow("type") << QStringList{u"txtTipo"_s, u"txtPersone"_s} << u"txtTipo"_s
                              << u"Attenzione: per salvare la scheda è necessario indicare il tipo di pass."_s;
        QTest::newRow("use") << QStringList{u"txtUtilizzo"_s, u"txtLuogo"_s} << u"txtUtilizzo"_s
                             << u"Attenzione: per salvare la scheda è necessario indicare l'utilizzo del pass."_s;
        QTest::newRow("place")
            << QStringList{u"txtLuogo"_s, u"txtPersone"_s} << u"txtLuogo"_s
            << u"Attenzione: per salvare la scheda è necessario indicare il luogo di conservazione del pass."_s;
        QTest::newRow("people")
            << QStringList{u"txtPersone"_s} << u"txtPersone"_s
            << u"Attenzione: per salvare la scheda è necessario indicare chi è autorizzato al ritiro del pass."_s;
    }

    void requiredFieldsInOrder()
    {
        QFETCH(QStringList, blank);
        QFETCH(QString, focused);
        QFETCH(QString, message);
        Editor e;
        e.typeCard();
        for (const QString& name : blank)
            e.type(name, u"   "_s);
        e.edit(u"txtNote"_s)->setFocus();
        e.click(u"cmdSalva"_s);

        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(e.t.messages.calls[0].text, message);
        QCOMPARE(QApplication::focusWidget(), e.edit(focused));
        QVERIFY2(!QFile::exists(e.cardPath()), "the card file is not even opened");
        QCOMPARE(e.position(), QString());
    }

    void longTextIsCutToTheFieldCapacity()
    {
        Editor e;
        e.typeCard();
        e.type(u"txtCodice"_s, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s);
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), u"ABCDEFGHIJKLMNOPQRST"_s);
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.cardAt(1).Codice, u"ABCDEFGHIJKLMNOPQRST"_s);
    }

    void duplicateOfCardFourGivesCardTen()
    {
        Editor e;
        QList<PassRecord> cards;
        for (int n = 1; n <= 9; ++n)
            cards << (n == 4 ? busyCard(n) : plainCard(n));
        e.writeCards(cards);
        const QByteArray before = e.fileBytes();

        e.click(u"cmdPrimo"_s);
        for (int i = 0; i < 3; ++i)
            e.click(u"cmdAvanti"_s);
        QCOMPARE(e.position(), u"4"_s);
        QCOMPARE(e.w.heldCard().File03, u"nota.txt"_s);
        QVERIFY(e.lost()->isChecked());

        e.edit(u"txtNote"_s)->setFocus();
        e.click(u"cmdDuplica"_s);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Information);
        QCOMPARE(e.t.messages.calls[0].text,
                 u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                 u"Al termine premere Salva per inserire la scheda in archivio."_s);
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtCodice"_s));
        QCOMPARE(e.position(), QString());
        QCOMPARE(e.edit(u"txtStato"_s)->text(), PassValues::Disponibile);
        QVERIFY(!e.lost()->isChecked());
        QVERIFY(e.w.heldCard() == PassRecord{});
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), u"P-4"_s);
        QCOMPARE(e.edit(u"txtRecapiti"_s)->text(), u"int. 31"_s);
        QCOMPARE(e.fileBytes(), before);

        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.lastText(), Inserted);
        QCOMPARE(e.count(), 10);
        QCOMPARE(e.position(), u"10"_s);
        PassRecord expected = plainCard(4);
        expected.Scheda = u"00010"_s;
        expected.Duplicati = u"una copia"_s;
        expected.Responsabile = u"Ugo Neri"_s;
        expected.Recapiti = u"int. 31"_s;
        expected.Note = u"nota"_s;
        QCOMPARE(e.cardAt(10), expected);
        QCOMPARE(e.fileBytes().left(9 * PassRecord::Size), before);
    }

    void duplicateNeedsASavedCard()
    {
        Editor e;
        e.typeCard();
        e.lost()->setChecked(true);
        const PassRecord typed = e.shown();
        e.click(u"cmdDuplica"_s);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(e.t.messages.calls[0].text, u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo "
                                             u"che questa è stata inserita in archivio."_s);
        QCOMPARE(e.shown(), typed);
        QVERIFY(!QFile::exists(e.cardPath()));
    }

    // Card 2 of the fixture is out, with attachments in slots 1 and 3.
    void cardThatIsOutKeepsItsStateThroughASave()
    {
        Editor e;
        QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Schedario_Pass.pro"), e.cardPath()));
        const PassRecord original = e.cardAt(2);
        QVERIFY(original.Stato.startsWith(u"Ritirato da Anna Bianchi"_s));
        const QByteArray before = e.fileBytes();

        e.click(u"cmdPrimo"_s);
        e.click(u"cmdAvanti"_s);
        QCOMPARE(e.position(), u"2"_s);
        QCOMPARE(e.edit(u"txtStato"_s)->text(), original.Stato);
        QVERIFY(e.edit(u"txtStato"_s)->isReadOnly());
        e.type(u"txtNote"_s, u"Controllato"_s);
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.texts(), QStringList{Saved});

        PassRecord expected = original;
        expected.Note = u"Controllato"_s;
        QCOMPARE(e.cardAt(2), expected);
        const QByteArray after = e.fileBytes();
        QCOMPARE(after.size(), before.size());
        // Cards 1, 3 and 4 and the incomplete tail are untouched.
        QCOMPARE(after.left(PassRecord::Size), before.left(PassRecord::Size));
        QCOMPARE(after.mid(2 * PassRecord::Size), before.mid(2 * PassRecord::Size));
    }

    void lostFlagBytes_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ticked") << true << QByteArray("\x02\x53\xEC", 3);
        QTest::newRow("unticked") << false << QByteArray("\x02\x4E\x6F", 3);
    }

    void lostFlagBytes()
    {
        QFETCH(bool, ticked);
        QFETCH(QByteArray, bytes);
        Editor e;
        e.writeCards({ticked ? plainCard(1) : busyCard(1)});
        e.click(u"cmdPrimo"_s);
        QCOMPARE(e.lost()->isChecked(), !ticked);
        QTest::mouseClick(e.lost(), Qt::LeftButton, {}, QPoint(8, e.lost()->height() / 2));
        QCOMPARE(e.lost()->isChecked(), ticked);
        e.click(u"cmdSalva"_s);
        // The flag's length byte and its two bytes, where the hand-typed layout puts them.
        QCOMPARE(e.fileBytes().mid(handFieldOf(&PassRecord::Smarrita).offset, 3), bytes);
    }

    // A flag that is neither "Sì" nor "No" (card 4 of the fixture: empty) leaves the box as it was.
    void unexpectedLostFlagLeavesTheBox()
    {
        Editor e;
        QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/Schedario_Pass.pro"), e.cardPath()));
        e.click(u"cmdUltimo"_s);
        QCOMPARE(e.position(), u"4"_s);
        QVERIFY(!e.lost()->isChecked());
        e.click(u"cmdIndietro"_s); // card 3 is lost
        QVERIFY(e.lost()->isChecked());
        e.click(u"cmdAvanti"_s);
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), u"X-04"_s);
        QVERIFY(e.lost()->isChecked());
    }

    void navigation_data()
    {
        QTest::addColumn<int>("start"); // 0: empty position
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("codice"); // "shown" marks fields left as they were
        QTest::newRow("first") << 2 << u"cmdPrimo"_s << u"1"_s << u"P-1"_s;
        QTest::newRow("last") << 1 << u"cmdUltimo"_s << u"3"_s << u"P-3"_s;
        QTest::newRow("next") << 2 << u"cmdAvanti"_s << u"3"_s << u"P-3"_s;
        QTest::newRow("previous") << 2 << u"cmdIndietro"_s << u"1"_s << u"P-1"_s;
        QTest::newRow("next on the last") << 3 << u"cmdAvanti"_s << u"3"_s << u"shown"_s;
        QTest::newRow("previous on the first") << 1 << u"cmdIndietro"_s << u"1"_s << u"shown"_s;
        QTest::newRow("next from an empty position") << 0 << u"cmdAvanti"_s << u"1"_s << u"P-1"_s;
        QTest::newRow("previous from an empty position") << 0 << u"cmdIndietro"_s << u"1"_s << u"P-1"_s;
    }

    void navigation()
    {
        QFETCH(int, start);
        QFETCH(QString, command);
        QFETCH(QString, position);
        QFETCH(QString, codice);
        Editor e;
        e.writeCards({plainCard(1), plainCard(2), busyCard(3)});
        PassRecord marker = plainCard(99);
        marker.Codice = u"shown"_s;
        if (start > 0)
            e.w.showCard(start, marker);
        else
            e.type(u"txtCodice"_s, u"shown"_s);

        e.click(command);
        // A typed code is a change on screen: leaving it asks first (answered No by the script).
        QCOMPARE(e.t.messages.texts(), start > 0 || codice == u"shown"_s ? QStringList() : QStringList{UnsavedChanges});
        QCOMPARE(e.position(), position);
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), codice);
        if (codice != u"shown"_s)
            QCOMPARE(e.shown(), e.cardAt(position.toLongLong()));
    }

    void screenReadersReadThePosition()
    {
        Editor e;
        e.writeCards({plainCard(1), plainCard(2)});
        auto* lblPosizione = e.w.findChild<QLabel*>(u"lblPosizione"_s);
        e.click(u"cmdUltimo"_s);
        QCOMPARE(Spoken::name(lblPosizione), u"2"_s);
        e.click(u"cmdIndietro"_s);
        QCOMPARE(Spoken::name(lblPosizione), u"1"_s);
        QCOMPARE(Spoken::description(lblPosizione), u"Posizione della scheda"_s);
    }

    void emptyFile_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QString>("position");
        QTest::newRow("first, missing file") << true << 0 << u"cmdPrimo"_s << true << QString();
        QTest::newRow("last, empty file") << false << 0 << u"cmdUltimo"_s << true << QString();
        QTest::newRow("next empties the position") << false << 2 << u"cmdAvanti"_s << true << QString();
        QTest::newRow("next, missing file") << true << 0 << u"cmdAvanti"_s << true << QString();
        QTest::newRow("previous keeps the position") << false << 2 << u"cmdIndietro"_s << true << u"2"_s;
        QTest::newRow("previous on position 1") << true << 1 << u"cmdIndietro"_s << false << u"1"_s;
    }

    void emptyFile()
    {
        QFETCH(bool, missing);
        QFETCH(int, start);
        QFETCH(QString, command);
        QFETCH(bool, message);
        QFETCH(QString, position);
        Editor e;
        if (!missing) {
            QFile f(e.cardPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (start > 0)
            e.w.showCard(start, plainCard(7));
        const QString codice = e.edit(u"txtCodice"_s)->text();

        e.click(command);
        if (message) {
            QCOMPARE(e.t.messages.calls.size(), 1);
            QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Information);
            QCOMPARE(e.t.messages.calls[0].text, EmptyFile);
        } else {
            QCOMPARE(e.t.messages.calls.size(), 0);
        }
        QCOMPARE(e.position(), position);
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), codice);
        QVERIFY2(QFile::exists(e.cardPath()), "the card file is created empty when missing");
        QCOMPARE(QFileInfo(e.cardPath()).size(), 0);
    }

    void afterNextEveryCarrierHoldsTheNewCard()
    {
        Editor e;
        e.writeCards({plainCard(1), plainCard(2), busyCard(3)});
        e.click(u"cmdPrimo"_s);
        e.click(u"cmdAvanti"_s);
        e.click(u"cmdAvanti"_s);
        QCOMPARE(e.position(), u"3"_s);
        QCOMPARE(e.shown(), e.cardAt(3));
        QCOMPARE(e.w.attachmentFile(2), u"foto.jpg"_s);
        QCOMPARE(e.w.attachmentDescription(3), u"Appunti"_s);
    }

    // Anything that keeps the card file from opening: the access message as an error, nothing changed.
    void unopenableCardFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("start");
        for (const QString& command : {u"cmdPrimo"_s, u"cmdUltimo"_s, u"cmdAvanti"_s, u"cmdIndietro"_s})
            QTest::newRow(qPrintable(command)) << command << 2;
        QTest::newRow("save a new card") << u"cmdSalva"_s << 0;
        QTest::newRow("save a shown card") << u"cmdSalva"_s << 2;
    }

    void unopenableCardFile()
    {
        QFETCH(QString, command);
        QFETCH(int, start);
        Editor e;
        // A folder where the card file should be: it exists, so it is not created, and it cannot be opened.
        QVERIFY(QDir(e.t.ctx.programFolder).mkdir(QString::fromLatin1(CardFile::FileName)));
        if (start > 0)
            e.w.showCard(start, busyCard(start));
        e.typeCard();
        const PassRecord before = e.shown();
        const QString position = e.position();

        e.click(command);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Error);
        QCOMPARE(e.t.messages.calls[0].text, ArchiveMessages::CardFileAccess);
        QCOMPARE(e.shown(), before);
        QCOMPARE(e.position(), position);
        QVERIFY(QFileInfo(e.cardPath()).isDir());
    }

    // Another workstation holds the card file's lock for longer than the program waits: the save
    // shows the waiting cursor meanwhile, then gives up with the access message, nothing written
    // and the window as it was. Once the lock is free the same save goes through.
    void saveGivesUpWhileTheLockIsHeldElsewhere_data()
    {
        QTest::addColumn<bool>("shownCard");
        QTest::newRow("new card") << false;
        QTest::newRow("shown card") << true;
    }

    void saveGivesUpWhileTheLockIsHeldElsewhere()
    {
        QFETCH(bool, shownCard);
        Editor e;
        e.writeCards({plainCard(1), busyCard(2)});
        if (shownCard)
            e.click(u"cmdUltimo"_s);
        e.typeCard();
        const PassRecord typed = e.shown();
        const QString position = e.position();
        const QByteArray before = e.fileBytes();

        e.t.ctx.lockWait = waitCursorLockWait(std::chrono::milliseconds(300));
        QList<int> cursorWhileWaiting;
        const auto showWaiting = e.t.ctx.lockWait.waiting;
        e.t.ctx.lockWait.waiting = [&](bool waiting) {
            showWaiting(waiting);
            if (waiting)
                cursorWhileWaiting << (QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1);
        };
        bool cursorBackForTheMessage = false;
        e.t.messages.onMessage = [&] { cursorBackForTheMessage = !QApplication::overrideCursor(); };

        auto other = std::make_unique<LockHolder>(e.cardPath());
        QVERIFY(other->holds());
        e.click(u"cmdSalva"_s);

        QCOMPARE(cursorWhileWaiting, QList<int>{Qt::WaitCursor});
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Error);
        QCOMPARE(e.t.messages.calls[0].text, ArchiveMessages::CardFileAccess);
        QVERIFY(cursorBackForTheMessage);
        QCOMPARE(e.fileBytes(), before);
        QCOMPARE(e.shown(), typed);
        QCOMPARE(e.position(), position);

        other.reset();
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.lastText(), shownCard ? Saved : Inserted);
        QCOMPARE(e.position(), shownCard ? u"2"_s : u"3"_s);
        QCOMPARE(e.cardAt(shownCard ? 2 : 3).Codice, u"B-01"_s);
        QCOMPARE(cursorWhileWaiting.size(), 1); // a free lock: no waiting
        QVERIFY(!QApplication::overrideCursor());
    }

    void missingProgramFolderGivesTheAccessMessage()
    {
        Editor e;
        e.t.ctx.programFolder = e.t.dir.filePath(u"non-esiste/"_s);
        e.typeCard();
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Error);
        QCOMPARE(e.t.messages.calls[0].text, ArchiveMessages::CardFileAccess);
        QCOMPARE(e.position(), QString());
        QVERIFY(!QDir(e.t.ctx.programFolder).exists());

        // The duplicate's access check: the resets stay, the error replaces the information.
        e.t.messages.calls.clear();
        e.w.showCard(3, busyCard(3));
        e.click(u"cmdDuplica"_s);
        QCOMPARE(e.t.messages.texts(), QStringList{ArchiveMessages::CardFileAccess});
        QCOMPARE(e.position(), QString());
        QCOMPARE(e.w.heldCard().PersonaRit, QString());
    }

    // A return registered from another workstation after the card was shown here is not undone by
    // a save of the older state.
    void saveRefusesToUndoAnOperationMadeElsewhere_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("returned meanwhile") << u"return"_s;
        QTest::newRow("withdrawn again meanwhile") << u"withdrawal"_s;
    }

    void saveRefusesToUndoAnOperationMadeElsewhere()
    {
        QFETCH(QString, change);
        Editor e;
        e.writeCards({plainCard(1), busyCard(2)});
        e.click(u"cmdUltimo"_s);
        e.type(u"txtNote"_s, u"modifica locale"_s);

        PassRecord elsewhere = e.cardAt(2);
        if (change == u"return"_s) {
            elsewhere.Stato = PassValues::Disponibile;
            elsewhere.DataRic = u"04/11/2026"_s;
        } else {
            elsewhere.MinutiRit = u"06"_s;
        }
        QVERIFY(withCardFile(e.t.ctx.programFolder, [&](CardFile& f) { return f.rewriteAt(2, elsewhere); }));
        const QByteArray before = e.fileBytes();
        const PassRecord typed = e.shown();

        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(e.t.messages.calls[0].text, ChangedElsewhere);
        QCOMPARE(e.fileBytes(), before);
        QCOMPARE(e.shown(), typed);
        QCOMPARE(e.position(), u"2"_s);

        // Shown again, the card saves normally.
        e.click(u"cmdUltimo"_s);
        e.type(u"txtNote"_s, u"modifica locale"_s);
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.lastText(), Saved);
        elsewhere.Note = u"modifica locale"_s;
        QCOMPARE(e.cardAt(2), elsewhere);
    }

    // Whatever another workstation changed in the card after it was shown here — the lost flag, the
    // notes, an attachment — is not put back by a save of the older card.
    void saveRefusesToUndoAnEditMadeElsewhere_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("lost flag cleared") << u"Smarrita"_s;
        QTest::newRow("notes") << u"Note"_s;
        QTest::newRow("attachment name") << u"File02"_s;
        QTest::newRow("attachment description") << u"Desc03"_s;
        QTest::newRow("identifier") << u"Codice"_s;
    }

    void saveRefusesToUndoAnEditMadeElsewhere()
    {
        QFETCH(QString, field);
        Editor e;
        e.writeCards({plainCard(1), busyCard(2)});
        e.click(u"cmdUltimo"_s);
        e.type(u"txtRecapiti"_s, u"int. 77"_s);

        PassRecord elsewhere = e.cardAt(2);
        QString PassRecord::*member = field == u"Smarrita"_s ? &PassRecord::Smarrita
                                      : field == u"Note"_s   ? &PassRecord::Note
                                      : field == u"File02"_s ? &PassRecord::File02
                                      : field == u"Desc03"_s ? &PassRecord::Desc03
                                                             : &PassRecord::Codice;
        elsewhere.*member = field == u"Smarrita"_s ? PassValues::No : u"altra postazione"_s;
        QVERIFY(withCardFile(e.t.ctx.programFolder, [&](CardFile& f) { return f.rewriteAt(2, elsewhere); }));
        const QByteArray before = e.fileBytes();
        const PassRecord typed = e.shown();

        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(e.t.messages.calls[0].text, ChangedElsewhere);
        QCOMPARE(e.fileBytes(), before);
        QCOMPARE(e.shown(), typed);
        QCOMPARE(e.position(), u"2"_s);
    }

    // The editor's own save is what the next save compares with: saving twice, and saving a card
    // just appended, are not taken for a change made elsewhere.
    void saveAfterSaveIsNotRefused()
    {
        Editor e;
        e.writeCards({busyCard(1)});
        e.click(u"cmdPrimo"_s);
        QTest::mouseClick(e.lost(), Qt::LeftButton);
        e.type(u"txtNote"_s, u"  prima  "_s);
        e.click(u"cmdSalva"_s);
        e.type(u"txtNote"_s, u"seconda"_s);
        e.click(u"cmdSalva"_s);
        e.click(u"cmdNuovo"_s);
        e.typeCard();
        e.click(u"cmdSalva"_s);
        e.type(u"txtNote"_s, u"terza"_s);
        e.click(u"cmdSalva"_s);
        QCOMPARE(e.t.messages.texts(), QStringList({Saved, Saved, Inserted, Saved}));
        QCOMPARE(e.cardAt(1).Note, u"seconda"_s);
        QCOMPARE(e.cardAt(1).Smarrita, PassValues::No);
        QCOMPARE(e.cardAt(2).Note, u"terza"_s);
    }

    void newClearsEverything()
    {
        Editor e;
        e.w.showCard(5, busyCard(5));
        e.edit(u"txtNote"_s)->setFocus();
        e.click(u"cmdNuovo"_s);
        QCOMPARE(e.t.messages.calls.size(), 0);
        QCOMPARE(e.position(), QString());
        QVERIFY(e.w.heldCard() == PassRecord{});
        PassRecord blank;
        blank.Stato = PassValues::Disponibile;
        blank.Smarrita = PassValues::No;
        QCOMPARE(e.shown(), blank);
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtCodice"_s));
        QVERIFY(!QFile::exists(e.cardPath()));
    }

    void enterChainAndColours()
    {
        Editor e;
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtCodice"_s));
        QCOMPARE(ScreenKit::FieldColours::colourOf(e.edit(u"txtCodice"_s)), Look::rgb(Look::Role::FieldFocused));
        const QStringList chain{u"txtCodice"_s, u"txtTipo"_s,         u"txtUtilizzo"_s, u"txtDuplicati"_s,
                                u"txtLuogo"_s,  u"txtResponsabile"_s, u"txtRecapiti"_s, u"txtPersone"_s,
                                u"txtNote"_s,   u"txtCodice"_s};
        for (qsizetype i = 1; i < chain.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]);
        }
        QLineEdit* stato = e.edit(u"txtStato"_s);
        stato->setFocus(Qt::TabFocusReason);
        QCOMPARE(ScreenKit::FieldColours::colourOf(stato), Look::rgb(Look::Role::CardStateField));
        QTest::keyClick(stato, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtDuplicati"_s));
        QCOMPARE(ScreenKit::FieldColours::colourOf(e.edit(u"txtDuplicati"_s)), Look::rgb(Look::Role::FieldFocused));
        QCOMPARE(ScreenKit::FieldColours::colourOf(stato), Look::rgb(Look::Role::CardStateField));
        QCOMPARE(ScreenKit::FieldColours::colourOf(e.edit(u"txtCodice"_s)), Look::rgb(Look::Role::FieldAtRest));
    }

    // Closing hides the window; the launcher shows it again as a blank new card, the focus on the
    // identifier and no other field left yellow.
    void reopeningStartsANewCard()
    {
        Editor e;
        e.w.showCard(2, busyCard(2));
        QLineEdit* note = e.edit(u"txtNote"_s);
        ScreenKit::moveFocus(note);
        QCOMPARE(ScreenKit::FieldColours::colourOf(note), Look::rgb(Look::Role::FieldFocused));
        e.click(u"cmdEsci"_s);
        QVERIFY(!e.w.isVisible());

        e.w.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.w));
        QCOMPARE(e.position(), QString());
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), QString());
        QCOMPARE(e.edit(u"txtStato"_s)->text(), PassValues::Disponibile);
        QVERIFY(!e.lost()->isChecked());
        QVERIFY(e.w.heldCard() == PassRecord{});
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtCodice"_s));
        QCOMPARE(ScreenKit::FieldColours::colourOf(e.edit(u"txtCodice"_s)), Look::rgb(Look::Role::FieldFocused));
        QCOMPARE(ScreenKit::FieldColours::colourOf(note), Look::rgb(Look::Role::FieldAtRest));
        QVERIFY(!QFile::exists(e.cardPath()));
    }

    // The print window is the editor's companion for one use: it gets the fields as they are on
    // screen, unsaved typing included, and is gone once closed.
    void printOpensTheCardPrintWithTheShownFields()
    {
        Editor e;
        e.w.showCard(2, busyCard(2));
        e.type(u"txtNote"_s, u"non ancora salvata"_s);
        bool seen = false;
        QTimer::singleShot(0, &e.w, [&] {
            auto* print = e.w.findChild<TfrmStampaScheda_Chiave*>();
            QVERIFY(print);
            seen = true;
            QVERIFY(print->isVisible());
            QVERIFY(print->isModal());
            QCOMPARE(print->value(u"txtCodice"_s), u"P-2"_s);
            QCOMPARE(print->value(u"txtStato"_s), busyCard(2).Stato);
            QCOMPARE(print->value(u"txtNote"_s), u"non ancora salvata"_s);
            QTest::mouseClick(print->btnAnnulla, Qt::LeftButton);
        });
        e.click(u"cmdStampa"_s);
        QVERIFY(seen);
        QVERIFY(!e.w.findChild<TfrmStampaScheda_Chiave*>());
        QVERIFY(e.t.printers.requestedPageCounts.isEmpty());
        QVERIFY(!QFile::exists(e.cardPath()));
    }

    void guideShowsTheCardFilePage()
    {
        Editor e;
        QString title;
        QTimer::singleShot(0, &e.w, [&] {
            auto* guide = e.w.findChild<TfrmGuida*>();
            QVERIFY(guide);
            title = guide->lblTitolo->text();
            QTest::mouseClick(guide->btnChiudi, Qt::LeftButton);
        });
        e.click(u"cmdGuida"_s);
        QCOMPARE(title, u"App Schedario Pass"_s);
        QVERIFY(!e.w.findChild<TfrmGuida*>());
    }

    void statusTexts()
    {
        Editor e;
        auto* info = e.w.findChild<QLabel*>(u"panInfo"_s);
        QVERIFY(info);
        QCOMPARE(info->text(), u"Pronto per archiviare una nuova scheda..."_s);
        auto moveOver = [&](const QString& name) {
            auto* control = e.w.findChild<QWidget*>(name);
            QTest::mouseMove(&e.w, control->mapTo(&e.w, control->rect().center()));
        };
        const QString duplicate =
            u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."_s;
        moveOver(u"cmdDuplica"_s);
        QCOMPARE(info->text(), duplicate);
        moveOver(u"txtCodice"_s);
        QCOMPARE(info->text(), duplicate);
        moveOver(u"cmdEsci"_s);
        QCOMPARE(info->text(), u"Esci da questa schermata."_s);
        moveOver(u"chkSmarrita"_s);
        QCOMPARE(info->text(), u"Spunta questa casella per indicare che il pass è stato smarrito."_s);
        moveOver(u"titLuogo"_s);
        QCOMPARE(info->text(), QString());
    }

    // ---- Keyboard ----------------------------------------------------------------------------

    // A note typed into card 1, then the card left in one of the ways an operator leaves it.
    void unsavedChangesAreAskedAbout_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("typed"); // into the note; "-" types nothing, "no code" clears the code
        QTest::addColumn<int>("answer");    // Messages::Answer
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("note"); // of card 1 in the file afterwards
        using A = Messages::Answer;
        QTest::newRow("next, No") << u"cmdAvanti"_s << u"nuova"_s << int(A::No) << u"2"_s << u"nota"_s;
        QTest::newRow("next, Yes") << u"cmdAvanti"_s << u"nuova"_s << int(A::Yes) << u"2"_s << u"nuova"_s;
        QTest::newRow("next, Cancel") << u"cmdAvanti"_s << u"nuova"_s << int(A::Cancel) << u"1"_s << u"nota"_s;
        QTest::newRow("first again, Yes") << u"cmdPrimo"_s << u"nuova"_s << int(A::Yes) << u"1"_s << u"nuova"_s;
        QTest::newRow("new, Cancel") << u"cmdNuovo"_s << u"nuova"_s << int(A::Cancel) << u"1"_s << u"nota"_s;
        QTest::newRow("new, Yes") << u"cmdNuovo"_s << u"nuova"_s << int(A::Yes) << QString() << u"nuova"_s;
        QTest::newRow("close, Cancel") << u"cmdEsci"_s << u"nuova"_s << int(A::Cancel) << u"1"_s << u"nota"_s;
        QTest::newRow("close, No") << u"cmdEsci"_s << u"nuova"_s << int(A::No) << u"1"_s << u"nota"_s;
        QTest::newRow("search hand-over, Cancel") << u"search"_s << u"nuova"_s << int(A::Cancel) << u"1"_s << u"nota"_s;
        QTest::newRow("search hand-over, Yes") << u"search"_s << u"nuova"_s << int(A::Yes) << u"3"_s << u"nuova"_s;
        QTest::newRow("Yes, but the save refuses")
            << u"cmdAvanti"_s << u"no code"_s << int(A::Yes) << u"1"_s << u"nota"_s;
        QTest::newRow("nothing typed") << u"cmdAvanti"_s << u"-"_s << int(A::Cancel) << u"2"_s << u"nota"_s;
        QTest::newRow("typed, then typed back") << u"cmdAvanti"_s << u"nota"_s << int(A::Cancel) << u"2"_s << u"nota"_s;
    }

    void unsavedChangesAreAskedAbout()
    {
        QFETCH(QString, leave);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, position);
        QFETCH(QString, note);
        Editor e;
        e.writeCards({busyCard(1), plainCard(2), plainCard(3)});
        e.click(u"cmdPrimo"_s);
        QCOMPARE(e.position(), u"1"_s);
        if (typed == u"no code"_s) {
            e.type(u"txtNote"_s, u"nuova"_s);
            e.type(u"txtCodice"_s, QString());
        } else if (typed != u"-"_s) {
            e.type(u"txtNote"_s, typed);
        }
        e.t.messages.choices.enqueue(Messages::Answer(answer));

        if (leave == u"search"_s) {
            // The search by keys, as an operator: the code, Enter on Cerca, Enter on the result.
            QVERIFY(searchByKeys(u"p-3"_s, [&] { e.click(u"cmdTrova"_s); }));
        } else {
            e.click(leave);
        }

        const bool asked = typed != u"-"_s && typed != u"nota"_s;
        QStringList expected;
        if (asked)
            expected << UnsavedChanges;
        if (asked && answer == int(Messages::Answer::Yes))
            expected
                << (typed == u"no code"_s
                        ? u"Attenzione: per salvare la scheda è necessario indicare il numero identificativo del pass."_s
                        : Saved);
        QCOMPARE(e.t.messages.texts(), expected);
        QCOMPARE(e.cardAt(1).Note, note);
        QCOMPARE(e.count(), 3);
        QCOMPARE(e.w.isVisible(), leave != u"cmdEsci"_s || answer == int(Messages::Answer::Cancel));
        if (!e.w.isVisible())
            return;
        QCOMPARE(e.position(), position);
        if (position == u"1"_s) {
            // Staying keeps what was typed; coming back to the saved card shows it as saved, and
            // its next save is not taken for a change made elsewhere.
            QCOMPARE(e.edit(u"txtNote"_s)->text(), typed == u"no code"_s ? u"nuova"_s : typed);
            e.t.messages.calls.clear();
            e.edit(u"txtCodice"_s)->selectAll();
            QTest::keyClicks(e.edit(u"txtCodice"_s), u"P-1"_s);
            e.click(u"cmdSalva"_s);
            QCOMPARE(e.t.messages.texts(), QStringList{Saved});
        }
    }

    void toolbarKeysBrowseAsClicksDo()
    {
        Editor e;
        e.writeCards({plainCard(1), plainCard(2), plainCard(3)});
        QCOMPARE(QApplication::focusWidget(), e.edit(u"txtCodice"_s));
        // Each key pressed in a field, as the operator types; the card shown after it.
        const QList<std::tuple<Qt::Key, Qt::KeyboardModifiers, QString, QString>> steps{
            {Qt::Key_End, Qt::ControlModifier, u"3"_s, u"P-3"_s},
            {Qt::Key_PageUp, Qt::NoModifier, u"2"_s, u"P-2"_s},
            {Qt::Key_PageUp, Qt::NoModifier, u"1"_s, u"P-1"_s},
            {Qt::Key_PageDown, Qt::NoModifier, u"2"_s, u"P-2"_s},
            {Qt::Key_Home, Qt::ControlModifier, u"1"_s, u"P-1"_s},
            {Qt::Key_N, Qt::ControlModifier, QString(), QString()},
        };
        for (const auto& [key, modifiers, position, code] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            QCOMPARE(e.position(), position);
            QCOMPARE(e.edit(u"txtCodice"_s)->text(), code);
        }
        // Save's key runs the save's checks: an empty card stops at the identifier.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.t.messages.calls.size(), 1);
        QCOMPARE(e.t.messages.calls[0].kind, MessageCall::Warning);
        QCOMPARE(e.count(), 3);
        QCOMPARE(e.w.findChild<QAbstractButton*>(u"cmdSalva"_s)->toolTip(),
                 u"Salva la scheda corrente in archivio. (Ctrl+S)"_s);
        QCOMPARE(e.w.findChild<QAbstractButton*>(u"cmdAvanti"_s)->toolTip(),
                 u"Visualizza la scheda successiva in archivio. (PgDown)"_s);
    }

    void newCardSavedAndFoundByKeysOnly()
    {
        Editor e;
        e.writeCards({plainCard(1)});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
        for (const auto& [name, text] : {std::pair{u"txtCodice"_s, u"B-01"_s},
                                         {u"txtTipo"_s, u"Badge"_s},
                                         {u"txtUtilizzo"_s, u"Ingresso principale"_s},
                                         {u"txtLuogo"_s, u"Reception"_s},
                                         {u"txtPersone"_s, u"Visitatori"_s}}) {
            QVERIFY2(tabTo(e.edit(name)), qPrintable(name));
            QTest::keyClicks(QApplication::focusWidget(), text);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.t.messages.texts(), QStringList{Inserted});

        // The bytes of the same card written whole: what the save by a click writes.
        PassRecord expected;
        expected.Codice = u"B-01"_s;
        expected.Tipo = u"Badge"_s;
        expected.Utilizzo = u"Ingresso principale"_s;
        expected.Stato = PassValues::Disponibile;
        expected.Luogo = u"Reception"_s;
        expected.Persone = u"Visitatori"_s;
        expected.Smarrita = PassValues::No;
        TestContext byHand;
        QVERIFY(DataFiles::writeCards(byHand.ctx, {plainCard(1), numbered(expected, 2)}));
        QCOMPARE(e.fileBytes(), DataFiles::fileBytes(byHand.ctx.file(QString::fromLatin1(CardFile::FileName))));

        // Found again: Ctrl+Home leaves it, Ctrl+F searches by its code, Enter on the result shows it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.position(), u"1"_s);
        QVERIFY(searchByKeys(u"b-01"_s,
                             [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier); }));
        QCOMPARE(e.position(), u"2"_s);
        QCOMPARE(e.edit(u"txtCodice"_s)->text(), u"B-01"_s);
        QCOMPARE(e.edit(u"txtLuogo"_s)->text(), u"Reception"_s);
    }
};

QTEST_MAIN(tst_Schedario_Chiavi)
#include "tst_Schedario_Chiavi.moc"
