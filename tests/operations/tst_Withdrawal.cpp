// The withdrawal screen as the operator uses it: the pick, Apply and the card it writes, the
// failures, and the operations chooser that leads there.

#include "lists/PassLineModel.h"
#include "lists/PassListBox.h"
#include "lists/RiepChiaviRitiro.h"
#include "operations/MenuOperazioni.h"
#include "operations/Riconsegne.h"
#include "operations/Ritiri.h"
#include "shell/PictureButton.h"
#include "tests/archives/HandLayouts.h"
#include "tests/operations/OperationFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

class TestWithdrawal : public QObject
{
    Q_OBJECT

private slots:
    void rewritesOnlyTheOperationFields();
    void emptiesTheLastReturn();
    void pickThroughTheListOfAvailablePasses();
    void unopenableCardFile();
    void closingWritesNothingAndStartsAgain();
    void statusTexts_data();
    void statusTexts();
    void chooserRoutesOnClose_data();
    void chooserRoutesOnClose();
};

namespace {

const QString CardFileName = u"Schedario_Pass.pro"_s;

} // namespace

void TestWithdrawal::rewritesOnlyTheOperationFields()
{
    // Card 1 of a file written elsewhere (leftover bytes after every text, "€" in the note).
    TestContext t;
    QVERIFY(copyFixtureCards(t.ctx));
    const QByteArray before = fileBytes(t.ctx.file(CardFileName));
    const PassRecord original = readCard(t.ctx, 1);
    QCOMPARE(original.Stato, u"Disponibile"_s);

    TfrmRitiri screen(t.ctx);
    screen.show();
    QVERIFY(screen.panAvvio->isVisible());
    pick(screen, t.ctx, 1);
    QVERIFY(!screen.panAvvio->isVisible());
    QCOMPARE(screen.position(), 1);
    QCOMPARE(screen.ownBlock()->lblAnno->text(), u"2025"_s);
    QCOMPARE(screen.ownBlock()->txtMese->currentText(), u"Marzo"_s);
    QVERIFY(screen.ownPerson()->text().isEmpty());

    // Typed with blanks around it and longer than the field allows.
    QTest::keyClicks(screen.ownPerson(), u"  Mario Rossi"_s + QString(60, u'x'));
    QCOMPARE(screen.ownPerson()->text().size(), 50);
    screen.ownPerson()->setText(u"  Mario  Rossi \t"_s);
    screen.btnApplicaClick();

    QCOMPARE(t.messages.texts(), QStringList{u"Il ritiro del pass è stato registrato con successo."_s});
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Information);
    QVERIFY(!screen.isVisible());

    const QByteArray after = fileBytes(t.ctx.file(CardFileName));
    QCOMPARE(after.size(), before.size());
    // Cards 2 to 4 and the incomplete tail: not a byte changed.
    QCOMPARE(after.mid(PassRecord::Size), before.mid(PassRecord::Size));
    // Card 1: every field but the operation fields, byte for byte.
    QCOMPARE(otherFieldBytes(after.left(PassRecord::Size)), otherFieldBytes(before.left(PassRecord::Size)));

    const PassRecord card = readCard(t.ctx, 1);
    QCOMPARE(card.Stato, u"Ritirato da Mario  Rossi in data 07/03/2025 alle ore 09:05"_s);
    QCOMPARE(card.PersonaRit, u"Mario  Rossi"_s);
    QCOMPARE(card.GiornoRit, u"07"_s);
    QCOMPARE(card.MeseRit, u"Marzo"_s);
    QCOMPARE(card.AnnoRit, u"2025"_s);
    QCOMPARE(card.DataRit, u"07/03/2025"_s);
    QCOMPARE(card.OreRit, u"09"_s);
    QCOMPARE(card.MinutiRit, u"05"_s);
    QCOMPARE(card.OraRit, u"09:05"_s);
    QCOMPARE(card.Note, original.Note);
    QCOMPARE(card.Smarrita, PassValues::No);
}

void TestWithdrawal::emptiesTheLastReturn()
{
    // A pass that went out and came back before, lost flag ticked by hand, attachments in slot 2.
    TestContext t;
    PassRecord card = lentCard(u"T-07"_s);
    card.Stato = PassValues::Disponibile;
    card.GiornoRic = u"04"_s;
    card.MeseRic = u"Novembre"_s;
    card.AnnoRic = u"2024"_s;
    card.DataRic = u"04/11/2024"_s;
    card.OreRic = u"18"_s;
    card.MinutiRic = u"00"_s;
    card.OraRic = u"18:00"_s;
    card.PersonaRic = u"Anna Bianchi"_s;
    card.File02 = u"foto.jpg"_s;
    card.Desc02 = u"Foto"_s;
    card.Smarrita = PassValues::Si;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s), card}));

    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 2);
    QCOMPARE(screen.heldCard().Smarrita, PassValues::Si);
    screen.ownPerson()->setText(u"Mario Rossi"_s);
    screen.ownBlock()->txtGiorno->setCurrentText(u"10"_s);
    screen.ownBlock()->txtMese->setCurrentText(u"Dicembre"_s);
    screen.btnApplicaClick();

    const PassRecord written = readCard(t.ctx, 2);
    PassRecord expected = card;
    expected.Scheda = u"00002"_s;
    expected.Stato = u"Ritirato da Mario Rossi in data 10/12/2025 alle ore 09:05"_s;
    expected.GiornoRit = u"10"_s;
    expected.MeseRit = u"Dicembre"_s;
    expected.AnnoRit = u"2025"_s;
    expected.DataRit = u"10/12/2025"_s;
    expected.OreRit = u"09"_s;
    expected.MinutiRit = u"05"_s;
    expected.OraRit = u"09:05"_s;
    expected.PersonaRit = u"Mario Rossi"_s;
    expected.GiornoRic = expected.MeseRic = expected.AnnoRic = expected.DataRic = QString();
    expected.OreRic = expected.MinutiRic = expected.OraRic = expected.PersonaRic = QString();
    QCOMPARE(written, expected);
    PassRecord first = availableCard(u"B-01"_s);
    first.Scheda = u"00001"_s;
    QCOMPARE(readCard(t.ctx, 1), first);
}

void TestWithdrawal::pickThroughTheListOfAvailablePasses()
{
    TestContext t;
    PassRecord lost = availableCard(u"A-00"_s);
    lost.Smarrita = PassValues::Si;
    QVERIFY(writeCards(t.ctx, {lost, lentCard(u"B-02"_s), availableCard(u"C-03"_s)}));

    TfrmRitiri screen(t.ctx);
    screen.show();
    // The pick pictures open the list of available passes; a double-click on its only line hands
    // card 3 over and closes it.
    const bool listed = whileShown<TfrmRiepChiaviRitiro>(
        [](TfrmRiepChiaviRitiro& list) {
            QCOMPARE(list.model()->rowCount(), 1);
            QCOMPARE(list.model()->positionAt(0), 3);
            QTimer::singleShot(0, &list, [&list] {
                list.findChild<PassListBox*>(u"lstRecords"_s)->selectRow(0);
                list.lstRecordsDblClick();
            });
        },
        [&] { screen.cmdSeleziona->click(); });
    QVERIFY(listed);

    QVERIFY(!screen.panAvvio->isVisible());
    QCOMPARE(screen.position(), 3);
    QCOMPARE(screen.txtCodice->text(), u"C-03"_s);
    QCOMPARE(screen.heldCard().Scheda, u"00003"_s);
    QCOMPARE(screen.ownBlock()->txtGiorno->currentText(), u"07"_s); // the now action ran
    QCOMPARE(screen.ownBlock()->txtOre->currentText(), u"09"_s);
    QVERIFY(screen.ownPerson()->text().isEmpty());
}

void TestWithdrawal::unopenableCardFile()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    screen.ownPerson()->setText(u"Mario Rossi"_s);

    // The card file cannot be opened: in its place there is a folder (permissions do not stop root).
    const QByteArray before = fileBytes(t.ctx.file(CardFileName));
    QVERIFY(replaceByFolder(t.ctx, CardFileName));
    screen.btnApplicaClick();

    QCOMPARE(t.messages.calls.size(), 1);
    QCOMPARE(t.messages.calls[0].kind, MessageCall::Error);
    QCOMPARE(t.messages.calls[0].text,
             u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
             u"Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_s);
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.ownPerson()->text(), u"Mario Rossi"_s);
    QVERIFY(!screen.panAvvio->isVisible());

    // Once the file is back the operator applies again.
    QVERIFY(restore(t.ctx, CardFileName));
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), before);
    screen.btnApplicaClick();
    QCOMPARE(readCard(t.ctx, 1).PersonaRit, u"Mario Rossi"_s);
}

void TestWithdrawal::closingWritesNothingAndStartsAgain()
{
    TestContext t;
    QVERIFY(writeCards(t.ctx, {availableCard(u"B-01"_s)}));
    const QByteArray before = fileBytes(t.ctx.file(CardFileName));
    TfrmRitiri screen(t.ctx);
    screen.show();
    pick(screen, t.ctx, 1);
    screen.ownPerson()->setText(u"Mario Rossi"_s);
    QVERIFY(screen.close());
    QVERIFY(!screen.isVisible());
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), before);
    QVERIFY(t.messages.calls.isEmpty());

    screen.show();
    QVERIFY(screen.panAvvio->isVisible());
    QVERIFY(!screen.hasPass());
    screen.btnApplicaClick(); // under the start panel: nothing to apply
    QVERIFY(t.messages.calls.isEmpty());
    QCOMPARE(fileBytes(t.ctx.file(CardFileName)), before);
}

void TestWithdrawal::statusTexts_data()
{
    QTest::addColumn<bool>("withdrawal");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("print");
    QTest::newRow("withdrawal") << true << u"Seleziona il pass da ritirare."_s
                                << u"Stampa il modulo da firmare per il ritiro del pass."_s;
    QTest::newRow("return") << false << u"Seleziona il pass da riconsegnare."_s
                            << u"Stampa il modulo da firmare per la riconsegna del pass."_s;
}

void TestWithdrawal::statusTexts()
{
    QFETCH(bool, withdrawal);
    QFETCH(QString, select);
    QFETCH(QString, print);

    TestContext t;
    QVERIFY(writeCards(t.ctx, {withdrawal ? availableCard(u"B-01"_s) : lentCard(u"B-01"_s)}));
    std::unique_ptr<OperationScreen> screen;
    if (withdrawal)
        screen = std::make_unique<TfrmRitiri>(t.ctx);
    else
        screen = std::make_unique<TfrmRiconsegne>(t.ctx);
    screen->setWindowState(Qt::WindowNoState);
    screen->resize(1300, 760);
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    auto* panInfo = screen->findChild<QLabel*>(u"panInfo"_s);
    QVERIFY(panInfo);
    QCOMPARE(panInfo->text(), u"Pronto per archiviare una nuova scheda..."_s);
    const auto over = [&](QWidget* w, QPoint at = QPoint(-1, -1)) {
        if (at == QPoint(-1, -1))
            at = w->rect().center();
        QTest::mouseMove(screen.get(), w->mapTo(screen.get(), at));
        return panInfo->text();
    };

    QCOMPARE(over(screen->btnSeleziona), select);
    QCOMPARE(over(screen->panAvvio, QPoint(8, 8)), QString());
    QCOMPARE(over(screen->cmdSeleziona), select);

    pick(*screen, t.ctx, 1);
    QCOMPARE(over(screen->btnStampa), print);
    QCOMPARE(over(screen->ownPerson()), print); // a field leaves the last text
    QCOMPARE(over(screen->ownBlock()->impAdesso), u"Inserisci la data e l'ora corrente."_s);
    QCOMPARE(over(screen->btnApplica), u"Salva la scheda e chiudi questa finestra di lavoro."_s);
    QWidget* group = screen->ownBlock()->grpOra;
    QCOMPARE(over(group, QPoint(group->width() - 4, group->height() - 4)), QString());
    QCOMPARE(over(screen->btnApplica), u"Salva la scheda e chiudi questa finestra di lavoro."_s);
    QCOMPARE(over(screen.get(), QPoint(4, screen->height() / 2)), QString());
}

void TestWithdrawal::chooserRoutesOnClose_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Ritiro pass") << u"btnOrizzontali"_s << u"frmRitiri"_s;
    QTest::newRow("Riconsegna pass") << u"btnVerticali"_s << u"frmRiconsegne"_s;
    QTest::newRow("Esci") << u"imgEsci"_s << QString();
}

void TestWithdrawal::chooserRoutesOnClose()
{
    QFETCH(QString, action);
    QFETCH(QString, shown);

    TestContext t;
    TfrmRitiri ritiri(t.ctx);
    TfrmRiconsegne riconsegne(t.ctx);
    TfrmMenuOperazioni chooser(t.ctx);
    chooser.setScreens(&ritiri, &riconsegne);

    for (int round = 0; round < 2; ++round) {
        chooser.show();
        QVERIFY(chooser.choice() == TfrmMenuOperazioni::Choice::None);
        chooser.findChild<QAbstractButton*>(action)->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(ritiri.isVisible(), shown == ritiri.objectName());
        QCOMPARE(riconsegne.isVisible(), shown == riconsegne.objectName());
        if (!shown.isEmpty()) {
            auto* screen = shown == ritiri.objectName() ? static_cast<OperationScreen*>(&ritiri) : &riconsegne;
            QVERIFY(screen->panAvvio->isVisible());
            QVERIFY(screen->close());
        }
    }
}

QTEST_MAIN(TestWithdrawal)
#include "tst_Withdrawal.moc"
