// The date-time block of the withdrawal and return screens: the check and its messages in their
// order, the keys the drop-downs accept, the choice from their lists, the exit rule, the Enter ring,
// the now action, and the boxes and the year as screen readers read them.

#include "operations/Riconsegne.h"
#include "operations/Ritiri.h"
#include "shell/PictureButton.h"
#include "tests/operations/OperationFixture.h"
#include "tests/support/DropDowns.h"
#include "tests/support/Spoken.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace OperationFixture;
using DropDowns::Opener;
using DropDowns::Way;

Q_DECLARE_METATYPE(Operation)

class TestDateTimeBlock : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void leapDays_data();
    void leapDays();
    void applyStopsAtTheFirstFailure_data();
    void applyStopsAtTheFirstFailure();
    void keysInTheDropDowns_data();
    void keysInTheDropDowns();
    void choosingFromTheLists_data();
    void choosingFromTheLists();
    void leavingADropDownKeepsOnlyItsItems();
    void enterRing_data();
    void enterRing();
    void nowAction_data();
    void nowAction();
    void screenReadersReadTheYear_data();
    void screenReadersReadTheYear();
};

namespace {

std::unique_ptr<OperationScreen> makeScreen(Operation op, AppContext& ctx)
{
    if (op == Operation::Withdrawal)
        return std::make_unique<TfrmRitiri>(ctx);
    return std::make_unique<TfrmRiconsegne>(ctx);
}

// A screen shown and active, with one card picked, so that focus moves can be watched.
struct Shown
{
    TestContext t;
    std::unique_ptr<OperationScreen> screen;

    explicit Shown(Operation op)
    {
        writeCards(t.ctx, {op == Operation::Withdrawal ? availableCard(u"B-01"_s) : lentCard(u"B-01"_s)});
        screen = makeScreen(op, t.ctx);
        screen->setWindowState(Qt::WindowNoState);
        screen->resize(1200, 700);
        screen->show();
        screen->activateWindow();
        if (!QTest::qWaitForWindowActive(screen.get()))
            qWarning("the screen did not become active");
        pick(*screen, t.ctx, 1);
    }
    DateTimeBlock& block() { return *screen->ownBlock(); }
    void set(const QString& day, const QString& month, const QString& hour, const QString& minutes,
             const QString& year = u"2025"_s)
    {
        block().txtGiorno->setCurrentText(day);
        block().txtMese->setCurrentText(month);
        block().txtOre->setCurrentText(hour);
        block().txtMinuti->setCurrentText(minutes);
        block().lblAnno->setText(year);
    }
    QString focusName() const
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
};

QString datesMessage(const QString& date)
{
    return u"Attenzione: la data "_s + date +
           u" non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data valida."_s;
}

} // namespace

void TestDateTimeBlock::check_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QStringList>("values"); // day, month, hour, minutes, year
    QTest::addColumn<int>("kind");           // MessageCall::Kind, or -1 for success
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // name without the suffix
    QTest::addColumn<QString>("time");  // composed time afterwards
    QTest::addColumn<QString>("date");  // composed date afterwards

    const QString warnMonth = u"Attenzione: selezionare il mese dal menu a cascata.\n\r\n\r"
                              u"Per poter salvare la scheda è necessario indicare una data valida."_s;
    for (Operation op : {Operation::Withdrawal, Operation::Return}) {
        const bool rit = op == Operation::Withdrawal;
        const char* tag = rit ? "ritiro" : "riconsegna";
        const QString of = rit ? u"del ritiro"_s : u"della riconsegna"_s;
        const QString lead = u"Attenzione: per salvare la scheda è necessario indicare "_s;
        const int warning = MessageCall::Warning;

        QTest::addRow("%s: empty day and month give only the missing-day warning", tag)
            << op << QStringList{u""_s, u""_s, u"09"_s, u"05"_s} << warning
            << lead + u"il giorno "_s + of + u" del pass."_s << u"txtGiorno"_s << QString() << QString();
        QTest::addRow("%s: one-digit day", tag) << op << QStringList{u"7"_s, u"Marzo"_s, u"09"_s, u"05"_s} << warning
                                                << lead + u"il giorno "_s + of + u" del pass usando due cifre."_s
                                                << u"txtGiorno"_s << QString() << QString();
        QTest::addRow("%s: no month", tag)
            << op << QStringList{u"07"_s, u""_s, u""_s, u""_s} << warning << lead + u"il mese "_s + of + u" del pass."_s
            << u"txtMese"_s << QString() << QString();
        QTest::addRow("%s: no hour nor minutes", tag)
            << op << QStringList{u"07"_s, u"Marzo"_s, u""_s, u""_s} << warning
            << lead + u"l'ora "_s + of + u" del pass."_s << u"txtOre"_s << QString() << QString();
        QTest::addRow("%s: one-digit hour and no minutes: the minutes first", tag)
            << op << QStringList{u"07"_s, u"Marzo"_s, u"9"_s, u""_s} << warning
            << lead + u"i minuti dell'ora "_s + of + u" del pass."_s << u"txtMinuti"_s << QString() << QString();
        QTest::addRow("%s: one-digit hour", tag)
            << op << QStringList{u"07"_s, u"Marzo"_s, u"9"_s, u"5"_s} << warning
            << lead + u"l'ora "_s + of + u" del pass usando due cifre."_s << u"txtOre"_s << QString() << QString();
        QTest::addRow("%s: one-digit minutes", tag)
            << op << QStringList{u"07"_s, u"Marzo"_s, u"09"_s, u"5"_s} << warning
            << lead + u"i minuti dell'ora "_s + of + u" del pass usando due cifre."_s << u"txtMinuti"_s << QString()
            << QString();
        QTest::addRow("%s: month not a name, the time is composed already", tag)
            << op << QStringList{u"07"_s, u"Marzio"_s, u"09"_s, u"05"_s} << warning << warnMonth << u"txtMese"_s
            << u"09:05"_s << QString();
        QTest::addRow("%s: 31 February 2025", tag)
            << op << QStringList{u"31"_s, u"Febbraio"_s, u"09"_s, u"05"_s} << int(MessageCall::Plain)
            << datesMessage(u"31/02/2025"_s) << u"txtGiorno"_s << u"09:05"_s << u"31/02/2025"_s;
        QTest::addRow("%s: valid, month in another letter case", tag)
            << op << QStringList{u"07"_s, u" marzo "_s, u"23"_s, u"59"_s} << -1 << QString() << QString() << u"23:59"_s
            << u"07/03/2025"_s;
    }
}

void TestDateTimeBlock::check()
{
    QFETCH(Operation, operation);
    QFETCH(QStringList, values);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, time);
    QFETCH(QString, date);

    Shown s(operation);
    s.block().clear();
    s.set(values[0], values[1], values[2], values[3]);
    s.screen->txtCodice->setFocus(); // the focus starts away from the block

    const bool ok = s.block().check();

    QCOMPARE(ok, kind < 0);
    if (kind < 0) {
        QVERIFY(s.t.messages.calls.isEmpty());
    } else {
        QCOMPARE(s.t.messages.calls.size(), 1);
        QCOMPARE(int(s.t.messages.calls[0].kind), kind);
        QCOMPARE(s.t.messages.calls[0].text, message);
        QCOMPARE(s.focusName(), focus + s.block().suffix());
    }
    QCOMPARE(s.block().time(), time);
    QCOMPARE(s.block().date(), date);
}

void TestDateTimeBlock::leapDays_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<bool>("exists");
    QTest::newRow("2024") << u"2024"_s << true;
    QTest::newRow("2025") << u"2025"_s << false;
    QTest::newRow("2000") << u"2000"_s << true;
    QTest::newRow("2100") << u"2100"_s << false;
}

void TestDateTimeBlock::leapDays()
{
    QFETCH(QString, year);
    QFETCH(bool, exists);
    Shown s(Operation::Withdrawal);
    s.set(u"29"_s, u"Febbraio"_s, u"10"_s, u"30"_s, year);
    QCOMPARE(s.block().check(), exists);
    QCOMPARE(s.block().date(), u"29/02/"_s + year);
    if (exists)
        QVERIFY(s.t.messages.calls.isEmpty());
    else
        QCOMPARE(s.t.messages.texts(), QStringList{datesMessage(u"29/02/"_s + year)});
}

void TestDateTimeBlock::applyStopsAtTheFirstFailure_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("person");
    QTest::addColumn<QString>("message");
    QTest::newRow("withdrawal: no day, with a person")
        << Operation::Withdrawal << QString() << u"Mario Rossi"_s
        << DateTimeBlock::warning(Operation::Withdrawal, DateTimeBlock::Missing::Day);
    QTest::newRow("withdrawal: no day, no person")
        << Operation::Withdrawal << QString() << QString()
        << DateTimeBlock::warning(Operation::Withdrawal, DateTimeBlock::Missing::Day);
    QTest::newRow("withdrawal: valid date, no person")
        << Operation::Withdrawal << u"07"_s << u"   "_s
        << u"Attenzione: per salvare la scheda è necessario indicare la persona che ritira il pass."_s;
    QTest::newRow("return: no day") << Operation::Return << QString() << u"Mario Rossi"_s
                                    << DateTimeBlock::warning(Operation::Return, DateTimeBlock::Missing::Day);
    QTest::newRow("return: valid date, no person")
        << Operation::Return << u"07"_s << QString()
        << u"Attenzione: per salvare la scheda è necessario indicare la persona che riconsegna il pass."_s;
}

void TestDateTimeBlock::applyStopsAtTheFirstFailure()
{
    QFETCH(Operation, operation);
    QFETCH(QString, day);
    QFETCH(QString, person);
    QFETCH(QString, message);

    Shown s(operation);
    const QByteArray before = fileBytes(s.t.ctx.file(u"Schedario_Pass.pro"_s));
    s.block().txtGiorno->setCurrentText(day);
    s.screen->ownPerson()->setText(person);
    // A value chosen from the list leaves its item selected; the check starts by clearing that.
    s.block().txtMese->setCurrentIndex(2);
    s.screen->btnApplicaClick();

    QCOMPARE(s.t.messages.texts(), QStringList{message});
    QCOMPARE(s.t.messages.calls[0].kind, MessageCall::Warning);
    QCOMPARE(s.focusName(), day.isEmpty() ? s.block().txtGiorno->objectName() : s.screen->ownPerson()->objectName());
    QCOMPARE(s.block().txtMese->currentIndex(), -1);
    QCOMPARE(s.block().txtMese->currentText(), u"Marzo"_s);
    QCOMPARE(fileBytes(s.t.ctx.file(u"Schedario_Pass.pro"_s)), before);
    QVERIFY(s.screen->isVisible());
    QCOMPARE(s.screen->ownPerson()->text(), person);
}

void TestDateTimeBlock::keysInTheDropDowns_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("day") << Operation::Withdrawal << u"txtGiornoRit"_s << u"07"_s;
    QTest::newRow("month") << Operation::Withdrawal << u"txtMeseRit"_s << u"Settembre"_s;
    QTest::newRow("hour") << Operation::Withdrawal << u"txtOreRit"_s << u"09"_s;
    QTest::newRow("minutes") << Operation::Withdrawal << u"txtMinutiRit"_s << u"05"_s;
    QTest::newRow("return month") << Operation::Return << u"txtMeseRic"_s << u"Settembre"_s;
}

void TestDateTimeBlock::keysInTheDropDowns()
{
    QFETCH(Operation, operation);
    QFETCH(QString, field);
    QFETCH(QString, value);

    Shown s(operation);
    auto* box = s.screen->findChild<QComboBox*>(field);
    QVERIFY(box);
    box->setFocus();
    box->setCurrentText(value);

    // Letters, digits and other characters change nothing: a value is only chosen from the list.
    QTest::keyClicks(box, u"a1 x/"_s);
    QCOMPARE(box->currentText(), value);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Right);
    QCOMPARE(box->currentText(), value);

    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->currentText(), QString());

    box->setCurrentText(value);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->currentText(), QString());

    // The arrows, the page keys and the wheel do not step the closed box along its list, neither
    // from a value with no line of the list selected nor from one chosen in the list.
    box->setCurrentText(value);
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            QVERIFY(DropDowns::openAndChoose(box, value, Way::Keys));
            QCOMPARE(box->currentText(), value);
        }
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
            QTest::keyClick(box, key);
            QCOMPARE(box->currentText(), value);
        }
        DropDowns::turnWheel(box, -1);
        DropDowns::turnWheel(box, 1);
        QCOMPARE(box->currentText(), value);
        QVERIFY(!DropDowns::openList(box));
    }
}

void TestDateTimeBlock::choosingFromTheLists_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("way");
    QTest::newRow("withdrawal, click") << Operation::Withdrawal << int(Way::Mouse);
    QTest::newRow("withdrawal, keys") << Operation::Withdrawal << int(Way::Keys);
    QTest::newRow("return, click") << Operation::Return << int(Way::Mouse);
    QTest::newRow("return, keys") << Operation::Return << int(Way::Keys);
}

void TestDateTimeBlock::choosingFromTheLists()
{
    QFETCH(Operation, operation);
    QFETCH(int, way);

    Shown s(operation);
    DateTimeBlock& b = s.block();
    struct Choice
    {
        QComboBox* box;
        QString item;
        QString label;
    };
    const QList<Choice> choices = {{b.txtGiorno, u"02"_s, u"Giorno"_s},
                                   {b.txtMese, u"Febbraio"_s, u"Mese"_s},
                                   {b.txtOre, u"10"_s, u"Ore"_s},
                                   {b.txtMinuti, u"07"_s, u"Minuti"_s}};
    // From the person, Enter leads through the four boxes; each is emptied and then filled from
    // its list.
    QCOMPARE(QApplication::focusWidget(), s.screen->ownPerson());
    for (const auto& [box, item, label] : choices) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->currentText(), QString());
        QVERIFY(DropDowns::openAndChoose(box, item, Way(way), box == b.txtMese ? Opener::F4 : Opener::AltDown));
        QVERIFY2(box->currentText() == item, qPrintable(box->objectName() + u": "_s + box->currentText()));
        QCOMPARE(QApplication::focusWidget(), box);
        // A screen reader reads the box, and the edit inside it, by its label; the item is its value.
        QCOMPARE(Spoken::name(box), label);
        QCOMPARE(Spoken::name(box->lineEdit()), label);
        QCOMPARE(Spoken::value(box), item);
    }

    // Apply takes them: past the date and time, it stops only at the missing person.
    QTest::mouseClick(s.screen->btnApplica, Qt::LeftButton);
    QCOMPARE(s.t.messages.texts(), QStringList{s.screen->variant().personWarning});
    QCOMPARE(b.date(), u"02/02/2025"_s);
    QCOMPARE(b.time(), u"10:07"_s);
}

void TestDateTimeBlock::leavingADropDownKeepsOnlyItsItems()
{
    Shown s(Operation::Withdrawal);
    DateTimeBlock& b = s.block();
    const struct
    {
        QComboBox* box;
        QString text;
        QString kept;
    } cases[] = {
        {b.txtOre, u"07"_s, u"07"_s},        {b.txtOre, u"7"_s, QString()},     {b.txtOre, QString(), QString()},
        {b.txtMese, u"marzo"_s, QString()}, // the exact item only
        {b.txtMese, u"Marzo"_s, u"Marzo"_s}, {b.txtGiorno, u"32"_s, QString()}, {b.txtMinuti, u"59"_s, u"59"_s},
    };
    for (const auto& c : cases) {
        c.box->setFocus();
        QVERIFY(c.box->hasFocus());
        c.box->setCurrentText(c.text);
        s.screen->txtCodice->setFocus();
        QVERIFY2(c.box->currentText() == c.kept, qPrintable(c.box->objectName() + u" with "_s + c.text));
    }
}

void TestDateTimeBlock::enterRing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("withdrawal") << Operation::Withdrawal;
    QTest::newRow("return") << Operation::Return;
}

void TestDateTimeBlock::enterRing()
{
    QFETCH(Operation, operation);
    Shown s(operation);
    DateTimeBlock& b = s.block();
    const QList<QWidget*> ring = {s.screen->ownPerson(), b.txtGiorno,          b.txtMese, b.txtOre,
                                  b.txtMinuti,           s.screen->ownPerson()};
    ring.first()->setFocus();
    const QString before = b.txtMese->currentText();
    for (qsizetype i = 1; i < ring.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), ring.at(i));
    }
    QCOMPARE(b.txtMese->currentText(), before);
    QVERIFY(s.t.messages.calls.isEmpty());
    QVERIFY(s.screen->isVisible());
}

void TestDateTimeBlock::nowAction_data()
{
    enterRing_data();
}

void TestDateTimeBlock::nowAction()
{
    QFETCH(Operation, operation);
    Shown s(operation);
    DateTimeBlock& b = s.block();
    b.lblAnno->setText(u"2024"_s);
    s.t.clock.moment = QDateTime(QDate(2025, 3, 3), QTime(9, 5, 41));
    b.impAdesso->click();
    QCOMPARE(b.txtGiorno->currentText(), u"03"_s);
    QCOMPARE(b.txtMese->currentText(), u"Marzo"_s);
    QCOMPARE(b.txtOre->currentText(), u"09"_s);
    QCOMPARE(b.txtMinuti->currentText(), u"05"_s);
    QCOMPARE(b.lblAnno->text(), u"2024"_s); // the year is the pick's
    QCOMPARE(b.impAdesso->objectName(), operation == Operation::Withdrawal ? u"impRitiro"_s : u"impRiconsegna"_s);
}

void TestDateTimeBlock::screenReadersReadTheYear_data()
{
    enterRing_data();
}

void TestDateTimeBlock::screenReadersReadTheYear()
{
    QFETCH(Operation, operation);
    TestContext t;
    writeCards(t.ctx, {operation == Operation::Withdrawal ? availableCard(u"B-01"_s) : lentCard(u"B-01"_s)});
    auto screen = makeScreen(operation, t.ctx);
    QLabel* year = screen->ownBlock()->lblAnno;
    QCOMPARE(year->objectName(), u"lblAnno"_s + screen->ownBlock()->suffix());
    QCOMPARE(Spoken::name(year), u"ANNO"_s);
    t.clock.moment = QDateTime(QDate(2031, 12, 31), QTime(23, 59));
    pick(*screen, t.ctx, 1);
    QCOMPARE(Spoken::name(year), u"2031"_s);
    QCOMPARE(Spoken::description(year), u"Anno"_s);
}

QTEST_MAIN(TestDateTimeBlock)
#include "tst_DateTimeBlock.moc"
