// What the withdrawal and return screens show of the picked pass in their read-only fields.

#include "operations/Riconsegne.h"
#include "operations/Ritiri.h"
#include "tests/operations/OperationFixture.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace OperationFixture;

Q_DECLARE_METATYPE(Operation)

class TestOperationScreen : public QObject
{
    Q_OBJECT

private slots:
    void longPassTextsShowTheirStart_data();
    void longPassTextsShowTheirStart();
};

void TestOperationScreen::longPassTextsShowTheirStart_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("withdrawal") << Operation::Withdrawal;
    QTest::newRow("return") << Operation::Return;
}

void TestOperationScreen::longPassTextsShowTheirStart()
{
    QFETCH(Operation, operation);

    TestContext t;
    PassRecord card = operation == Operation::Withdrawal ? availableCard(u"B-01"_s) : lentCard(u"B-01"_s);
    card.Luogo = u"Ufficio del personale, secondo cassetto della scrivania a destra dell'ingresso, sotto il "
                 u"registro delle presenze e accanto alle chiavi di riserva"_s;
    card.Responsabile = u"Responsabile dell'ufficio del personale e, in sua assenza, il vicario di turno indicato "
                        u"nella bacheca della portineria"_s;
    card.Recapiti = u"interno 31, cellulare di servizio 333 1234567, posta elettronica personale@esempio.it, "
                    u"reperibilità notturna tramite centralino"_s;
    card.Persone = u"Visitatori accompagnati, fornitori con appuntamento confermato, tecnici della manutenzione "
                   u"esterna e personale delle pulizie"_s;
    QVERIFY(writeCards(t.ctx, {card}));
    std::unique_ptr<OperationScreen> screen;
    if (operation == Operation::Withdrawal)
        screen = std::make_unique<TfrmRitiri>(t.ctx);
    else
        screen = std::make_unique<TfrmRiconsegne>(t.ctx);
    screen->setWindowState(Qt::WindowNoState);
    screen->resize(1200, 700);
    screen->show();
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    pick(*screen, t.ctx, 1);

    const QList<QLineEdit*> fields = screen->passFields();
    QCOMPARE(fields.size(), 7);
    QVERIFY(screen->txtLuogo->fontMetrics().horizontalAdvance(card.Luogo) > screen->txtLuogo->width());
    for (QLineEdit* field : fields)
        QVERIFY2(field->cursorPosition() == 0, qPrintable(field->objectName()));
    QCOMPARE(screen->txtLuogo->text(), card.Luogo);

    // Tabbing through them, which selects each one's whole text, leaves each showing its start again.
    screen->ownPerson()->setFocus(Qt::TabFocusReason);
    for (QLineEdit* field : fields) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), field);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    for (QLineEdit* field : fields)
        QVERIFY2(field->cursorPosition() == 0, qPrintable(field->objectName()));
}

QTEST_MAIN(TestOperationScreen)
#include "tst_OperationScreen.moc"
