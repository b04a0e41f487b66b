// The shared screen behaviour, driven on a small window built the way the screens build theirs.

#include "shell/Dates.h"
#include "shell/Navigation.h"
#include "shell/ScreenKit.h"
#include "tests/support/DropDowns.h"
#include "tests/support/ScriptedSeams.h"
#include "tests/support/Spoken.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

using namespace Qt::StringLiterals;
using DropDowns::Opener;
using DropDowns::Way;
using ScreenKit::KeyFilter;

namespace {

// A screen with a container panel, a hinted picture and check box, a neutral label, three marked
// fields, a drop-down, a year field and a status strip.
class TestScreen : public QDialog
{
public:
    QWidget* panContainer;
    PictureButton* cmdSalva;
    QCheckBox* chkSmarrita;
    QLabel* lblTitolo;
    QLineEdit* txtUno;
    QLineEdit* txtDue;
    QLineEdit* txtTre;
    QComboBox* txtMese;
    QLineEdit* txtAnno;
    QPushButton* btnTrova;
    QPushButton* cmdOK;
    QWidget* panStrip;
    ScreenKit::StatusLine* status;
    ScreenKit::FocusMarks* marks;
    ScreenKit::EnterChain* chain;
    int okClicks = 0;
    int trovaClicks = 0;

    TestScreen()
    {
        ScreenKit::name(this, u"frmProva"_s);
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        panContainer = ScreenKit::named(new QWidget(this), u"panContainer"_s);
        outer->addWidget(panContainer, 1);
        auto* grid = new QGridLayout(panContainer);
        grid->setContentsMargins(20, 20, 20, 20);
        grid->setSpacing(14);
        cmdSalva = ScreenKit::named(new PictureButton(u"icona"_s, panContainer), u"cmdSalva"_s, u"Salva"_s);
        cmdSalva->setPictureSize(QSize(40, 40));
        chkSmarrita = ScreenKit::named(new QCheckBox(u"Smarrita"_s, panContainer), u"chkSmarrita"_s);
        lblTitolo = ScreenKit::named(new QLabel(u"Titolo della scheda"_s, panContainer), u"lblTitolo"_s);
        txtUno = ScreenKit::named(new QLineEdit(panContainer), u"txtUno"_s, u"Uno"_s);
        txtDue = ScreenKit::named(new QLineEdit(panContainer), u"txtDue"_s, u"Due"_s);
        txtTre = ScreenKit::named(new QLineEdit(panContainer), u"txtTre"_s, u"Tre"_s);
        txtMese = ScreenKit::named(new QComboBox(panContainer), u"txtMese"_s, u"Mese"_s);
        txtAnno = ScreenKit::named(new QLineEdit(panContainer), u"txtAnno"_s, u"Anno"_s);
        btnTrova = ScreenKit::named(new QPushButton(u"Trova"_s, panContainer), u"btnTrova"_s);
        cmdOK = ScreenKit::named(new QPushButton(u"OK"_s, panContainer), u"cmdOK"_s);
        cmdOK->setDefault(true);
        grid->addWidget(cmdSalva, 0, 0);
        grid->addWidget(chkSmarrita, 0, 1);
        grid->addWidget(lblTitolo, 0, 2);
        grid->addWidget(txtUno, 1, 0);
        grid->addWidget(txtDue, 1, 1);
        grid->addWidget(txtTre, 1, 2);
        grid->addWidget(txtMese, 2, 0);
        grid->addWidget(txtAnno, 2, 1);
        grid->addWidget(btnTrova, 3, 0);
        grid->addWidget(cmdOK, 3, 2);
        panStrip = ScreenKit::named(new QWidget(this), u"shpStriscia"_s);
        outer->addWidget(panStrip);
        connect(cmdOK, &QPushButton::clicked, this, [this] { ++okClicks; });
        connect(btnTrova, &QPushButton::clicked, this, [this] { ++trovaClicks; });

        status = new ScreenKit::StatusLine(this, panStrip, u"Pronto per archiviare una nuova scheda..."_s,
                                           QColor(0x1E, 0x5A, 0x9C));
        status->addHints({{cmdSalva, u"Salva la scheda corrente in archivio."_s},
                          {chkSmarrita, u"Spunta questa casella per indicare che il pass è stato smarrito."_s}});
        status->addClearingAreas({this, panContainer});
        marks = new ScreenKit::FocusMarks(
            this, {{txtUno, u"effUno"_s}, {txtDue, u"effDue"_s}, {txtTre, u"effTre"_s}, {txtAnno, u"effAnno"_s}});
        chain = new ScreenKit::EnterChain(this);
        chain->cycle({txtUno, txtDue, txtTre});
        chain->link(txtAnno, btnTrova);
        ScreenKit::setUpDropDown(txtMese, Dates::monthNames());
        resize(560, 320);
    }

    QList<QWidget*> visibleMarks() const
    {
        QList<QWidget*> out;
        for (auto* f : {txtUno, txtDue, txtTre, txtAnno})
            if (marks->markOf(f)->isVisible())
                out << marks->markOf(f);
        return out;
    }
};

QPoint centreOf(QWidget* w, QWidget* in)
{
    return w->mapTo(in, w->rect().center());
}

} // namespace

class TestScreenKit : public QObject
{
    Q_OBJECT
private slots:
    void statusLineFollowsThePointer();
    void focusMarksFollowTheFocusOneAtATime();
    void enterMovesAlongTheChainAndNothingElse();
    void keyFilters_data();
    void keyFilters();
    void dropDownSelectionResetKeepsText();
    void dropDownTakesTheItemChosenInItsList_data();
    void dropDownTakesTheItemChosenInItsList();
    void closedDropDownKeepsItsValue_data();
    void closedDropDownKeepsItsValue();
    void fieldColoursFollowTheFocus();
    void linkTextsTurnOrangeWhilePressed();
    void waitingTextShowsBeforeTheClickRuns();
    void companionIsModalAndDestroyedWhenClosed();
    void namingGivesObjectAndAccessibleName();
    void screenReadersReadChangingTexts();
    void windowFitsTheScreenAndScrollsToTheFocus();
    void longTextsShowTheirBeginning();
    void tooltipShowsAWholeTextOnlyWhenCut_data();
    void tooltipShowsAWholeTextOnlyWhenCut();
};

void TestScreenKit::statusLineFollowsThePointer()
{
    TestScreen w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLabel* panInfo = w.findChild<QLabel*>(u"panInfo"_s);
    QVERIFY(panInfo);
    QCOMPARE(panInfo->text(), u"Pronto per archiviare una nuova scheda..."_s);

    // A neutral label leaves the design text.
    QTest::mouseMove(&w, centreOf(w.lblTitolo, &w));
    QCOMPARE(panInfo->text(), u"Pronto per archiviare una nuova scheda..."_s);
    QTest::mouseMove(&w, centreOf(w.cmdSalva, &w));
    QCOMPARE(panInfo->text(), u"Salva la scheda corrente in archivio."_s);
    // Onto a field: the picture's text stays.
    QTest::mouseMove(&w, centreOf(w.txtUno, &w));
    QCOMPARE(panInfo->text(), u"Salva la scheda corrente in archivio."_s);
    QTest::mouseMove(&w, centreOf(w.chkSmarrita, &w));
    QCOMPARE(panInfo->text(), u"Spunta questa casella per indicare che il pass è stato smarrito."_s);
    // The status line itself neither sets nor clears.
    QTest::mouseMove(&w, centreOf(panInfo, &w));
    QCOMPARE(panInfo->text(), u"Spunta questa casella per indicare che il pass è stato smarrito."_s);
    // The bare container background clears it.
    QTest::mouseMove(&w, QPoint(5, 5));
    QCOMPARE(panInfo->text(), QString());
    QTest::mouseMove(&w, centreOf(w.cmdSalva, &w));
    QCOMPARE(panInfo->text(), u"Salva la scheda corrente in archivio."_s);

    // Hidden and shown again, the window keeps its last text.
    w.hide();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(panInfo->text(), u"Salva la scheda corrente in archivio."_s);
}

void TestScreenKit::focusMarksFollowTheFocusOneAtATime()
{
    TestScreen w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    for (QWidget* field : {static_cast<QWidget*>(w.txtUno), static_cast<QWidget*>(w.txtDue),
                           static_cast<QWidget*>(w.txtTre), static_cast<QWidget*>(w.txtAnno)}) {
        ScreenKit::moveFocus(field);
        QTRY_VERIFY(field->hasFocus());
        QWidget* mark = w.marks->markOf(field);
        QCOMPARE(w.visibleMarks(), QList<QWidget*>{mark});
        QCOMPARE(mark->geometry(), field->geometry().adjusted(-4, -4, 4, 4));
        QCOMPARE(mark->parentWidget(), field->parentWidget());
        // Behind the field: the field is drawn over its mark.
        const auto siblings = field->parentWidget()->children();
        QVERIFY(siblings.indexOf(mark) < siblings.indexOf(field));
    }
    QCOMPARE(w.marks->markOf(w.txtUno)->objectName(), u"effUno"_s);

    // Tab from a marked field to another one, then a click elsewhere: no mark left.
    ScreenKit::moveFocus(w.txtUno);
    QTest::keyClick(w.txtUno, Qt::Key_Tab);
    QVERIFY(w.txtDue->hasFocus());
    QCOMPARE(w.visibleMarks(), QList<QWidget*>{w.marks->markOf(w.txtDue)});
    w.cmdOK->setFocus(Qt::MouseFocusReason);
    QVERIFY(w.visibleMarks().isEmpty());

    // All marks hide with the window.
    ScreenKit::moveFocus(w.txtTre);
    QCOMPARE(w.visibleMarks().size(), 1);
    w.hide();
    QVERIFY(w.visibleMarks().isEmpty());
}

void TestScreenKit::enterMovesAlongTheChainAndNothingElse()
{
    TestScreen w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    ScreenKit::moveFocus(w.txtUno);
    QTest::keyClick(w.txtUno, Qt::Key_Return);
    QVERIFY(w.txtDue->hasFocus());
    QTest::keyClick(w.txtDue, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(w.txtTre->hasFocus());
    QTest::keyClick(w.txtTre, Qt::Key_Return);
    QVERIFY(w.txtUno->hasFocus());
    // The dialog's default button was never pressed and the window is still open.
    QCOMPARE(w.okClicks, 0);
    QVERIFY(w.isVisible());

    // A chain ending on a button only moves there; a second Enter presses it.
    ScreenKit::moveFocus(w.txtAnno);
    QTest::keyClick(w.txtAnno, Qt::Key_Return);
    QVERIFY(w.btnTrova->hasFocus());
    QCOMPARE(w.trovaClicks, 0);
    QTest::keyClick(w.btnTrova, Qt::Key_Return);
    QCOMPARE(w.trovaClicks, 1);
    QCOMPARE(w.okClicks, 0);
}

void TestScreenKit::keyFilters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("dropDown");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed"); // letters and digits typed one by one
    QTest::addColumn<int>("key");       // then one key, or 0
    QTest::addColumn<QString>("after");

    const int digits = int(KeyFilter::DigitsOnly), clearable = int(KeyFilter::ChoiceClearable),
              choice = int(KeyFilter::ChoiceOnly);
    QTest::newRow("year: 2, 0, a, 5 leaves 205") << digits << false << QString() << u"20a5"_s << 0 << u"205"_s;
    QTest::newRow("year: punctuation and blanks discarded")
        << digits << false << u"20"_s << u" -.,2"_s << 0 << u"202"_s;
    QTest::newRow("year: Backspace edits")
        << digits << false << u"2025"_s << QString() << int(Qt::Key_Backspace) << u"202"_s;
    QTest::newRow("clearable: a letter changes nothing")
        << clearable << true << u"Settembre"_s << u"x"_s << 0 << u"Settembre"_s;
    QTest::newRow("clearable: a digit changes nothing")
        << clearable << true << u"Settembre"_s << u"7"_s << 0 << u"Settembre"_s;
    QTest::newRow("clearable: Backspace empties")
        << clearable << true << u"Settembre"_s << QString() << int(Qt::Key_Backspace) << QString();
    QTest::newRow("clearable: Delete empties")
        << clearable << true << u"Settembre"_s << QString() << int(Qt::Key_Delete) << QString();
    QTest::newRow("clearable: the space bar changes nothing")
        << clearable << true << u"Marzo"_s << QString() << int(Qt::Key_Space) << u"Marzo"_s;
    QTest::newRow("choice-only: Backspace discarded")
        << choice << true << u"Maggio"_s << QString() << int(Qt::Key_Backspace) << u"Maggio"_s;
    QTest::newRow("choice-only: Delete discarded")
        << choice << true << u"Maggio"_s << QString() << int(Qt::Key_Delete) << u"Maggio"_s;
    QTest::newRow("choice-only: letters discarded") << choice << true << u"Maggio"_s << u"ab"_s << 0 << u"Maggio"_s;
}

void TestScreenKit::keyFilters()
{
    QFETCH(int, filter);
    QFETCH(bool, dropDown);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, after);

    TestScreen w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* field = dropDown ? static_cast<QWidget*>(w.txtMese) : static_cast<QWidget*>(w.txtAnno);
    ScreenKit::installKeyFilter(field, KeyFilter(filter));
    auto text = [&] { return dropDown ? w.txtMese->currentText() : w.txtAnno->text(); };
    if (dropDown)
        w.txtMese->setEditText(before);
    else
        w.txtAnno->setText(before);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dropDown ? w.txtMese->lineEdit() : w.txtAnno)
        edit->end(false);

    QTest::keyClicks(field, typed);
    if (key)
        QTest::keyClick(field, Qt::Key(key));
    QCOMPARE(text(), after);

    // Enter still moves along the chain through a filter.
    ScreenKit::moveFocus(w.txtAnno);
    QTest::keyClick(w.txtAnno, Qt::Key_Return);
    QVERIFY(w.btnTrova->hasFocus());
}

void TestScreenKit::dropDownSelectionResetKeepsText()
{
    TestScreen w;
    ScreenKit::installKeyFilter(w.txtMese, KeyFilter::ChoiceClearable);
    ScreenKit::resetSelectionOnFocus(w.txtMese);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // Chosen from the list: the item stays the box's own while the box keeps the focus.
    ScreenKit::moveFocus(w.txtMese);
    QVERIFY(DropDowns::openAndChoose(w.txtMese, u"Marzo"_s, Way::Keys));
    QCOMPARE(w.txtMese->currentIndex(), 2);
    // Taking the focus again clears the selection of the list and keeps the text.
    ScreenKit::moveFocus(w.txtUno);
    ScreenKit::moveFocus(w.txtMese);
    QCOMPARE(w.txtMese->currentIndex(), -1);
    QCOMPARE(w.txtMese->currentText(), u"Marzo"_s);
    QVERIFY(!w.txtMese->view()->currentIndex().isValid());
    // So the list opens with no line highlighted: Down highlights the first.
    QAbstractItemView* list = DropDowns::open(w.txtMese);
    QVERIFY(list);
    QVERIFY(!list->currentIndex().isValid());
    DropDowns::keyInList(list, Qt::Key_Down);
    DropDowns::keyInList(list, Qt::Key_Return);
    QCOMPARE(w.txtMese->currentText(), u"Gennaio"_s);

    w.txtMese->setCurrentIndex(4);
    ScreenKit::resetSelection(w.txtMese);
    QCOMPARE(w.txtMese->currentIndex(), -1);
    QCOMPARE(w.txtMese->currentText(), u"Maggio"_s);
}

void TestScreenKit::dropDownTakesTheItemChosenInItsList_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("opener");

    const int clearable = int(KeyFilter::ChoiceClearable), choice = int(KeyFilter::ChoiceOnly);
    QTest::newRow("clearable: click, Alt+Down") << clearable << int(Way::Mouse) << int(Opener::AltDown);
    QTest::newRow("clearable: click, F4") << clearable << int(Way::Mouse) << int(Opener::F4);
    QTest::newRow("clearable: keys, Alt+Down") << clearable << int(Way::Keys) << int(Opener::AltDown);
    QTest::newRow("clearable: keys, F4") << clearable << int(Way::Keys) << int(Opener::F4);
    QTest::newRow("choice-only: click") << choice << int(Way::Mouse) << int(Opener::AltDown);
    QTest::newRow("choice-only: keys") << choice << int(Way::Keys) << int(Opener::F4);
}

void TestScreenKit::dropDownTakesTheItemChosenInItsList()
{
    QFETCH(int, filter);
    QFETCH(int, way);
    QFETCH(int, opener);

    TestScreen w;
    ScreenKit::installKeyFilter(w.txtMese, KeyFilter(filter));
    // The clearable drop-downs reset their list whenever they take the focus.
    if (KeyFilter(filter) == KeyFilter::ChoiceClearable)
        ScreenKit::resetSelectionOnFocus(w.txtMese);
    w.txtMese->setEditText(u"Settembre"_s);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ScreenKit::moveFocus(w.txtMese);

    QVERIFY(DropDowns::openAndChoose(w.txtMese, u"Marzo"_s, Way(way), Opener(opener)));
    QCOMPARE(w.txtMese->currentText(), u"Marzo"_s);
    QVERIFY(w.txtMese->hasFocus());
    // And a second choice in the same visit, from the list that now highlights the first.
    QVERIFY(DropDowns::openAndChoose(w.txtMese, u"Novembre"_s, Way(way), Opener(opener)));
    QCOMPARE(w.txtMese->currentText(), u"Novembre"_s);
    // Leaving the box keeps the choice.
    ScreenKit::moveFocus(w.txtUno);
    QCOMPARE(w.txtMese->currentText(), u"Novembre"_s);
}

void TestScreenKit::closedDropDownKeepsItsValue_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("key");   // pressed on the closed box, or 0
    QTest::addColumn<int>("wheel"); // otherwise wheel steps turned over it

    for (KeyFilter f : {KeyFilter::ChoiceClearable, KeyFilter::ChoiceOnly}) {
        const char* tag = f == KeyFilter::ChoiceClearable ? "clearable" : "choice-only";
        QTest::addRow("%s: Down", tag) << int(f) << int(Qt::Key_Down) << 0;
        QTest::addRow("%s: Up", tag) << int(f) << int(Qt::Key_Up) << 0;
        QTest::addRow("%s: Page Down", tag) << int(f) << int(Qt::Key_PageDown) << 0;
        QTest::addRow("%s: Page Up", tag) << int(f) << int(Qt::Key_PageUp) << 0;
        QTest::addRow("%s: wheel towards the user", tag) << int(f) << 0 << -1;
        QTest::addRow("%s: wheel away from the user", tag) << int(f) << 0 << 1;
    }
}

void TestScreenKit::closedDropDownKeepsItsValue()
{
    QFETCH(int, filter);
    QFETCH(int, key);
    QFETCH(int, wheel);

    TestScreen w;
    ScreenKit::installKeyFilter(w.txtMese, KeyFilter(filter));
    if (KeyFilter(filter) == KeyFilter::ChoiceClearable)
        ScreenKit::resetSelectionOnFocus(w.txtMese);
    w.txtMese->setEditText(u"Settembre"_s);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ScreenKit::moveFocus(w.txtMese);

    // As shown, with no line of the list selected, and after a choice from the list.
    for (const QString& value : {u"Settembre"_s, u"Marzo"_s}) {
        if (value == u"Marzo"_s)
            QVERIFY(DropDowns::openAndChoose(w.txtMese, value, Way::Keys));
        if (key)
            QTest::keyClick(w.txtMese, Qt::Key(key));
        else
            DropDowns::turnWheel(w.txtMese, wheel);
        QCOMPARE(w.txtMese->currentText(), value);
        QVERIFY(!DropDowns::openList(w.txtMese));
    }

    // In the open list the arrows move among the lines.
    QAbstractItemView* list = DropDowns::open(w.txtMese);
    QVERIFY(list);
    DropDowns::keyInList(list, Qt::Key_Up);
    DropDowns::keyInList(list, Qt::Key_Return);
    QCOMPARE(w.txtMese->currentText(), u"Febbraio"_s);
}

void TestScreenKit::fieldColoursFollowTheFocus()
{
    TestScreen w;
    new ScreenKit::FieldColours(&w, {{w.txtUno, Look::Role::FieldAtRest, Look::Role::FieldFocused},
                                     {w.txtDue, Look::Role::CardStateField, Look::Role::CardStateField}});
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtUno), Look::rgb(Look::Role::FieldAtRest));
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtDue), Look::rgb(Look::Role::CardStateField));
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtTre), QRgb(0));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    ScreenKit::moveFocus(w.txtUno);
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtUno), Look::rgb(Look::Role::FieldFocused));
    QVERIFY(w.txtUno->styleSheet().contains(u"#ffff00"_s));
    QVERIFY(w.txtUno->styleSheet().contains(u"#87ceeb"_s));
    ScreenKit::moveFocus(w.txtDue);
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtUno), Look::rgb(Look::Role::FieldAtRest));
    QCOMPARE(ScreenKit::FieldColours::colourOf(w.txtDue), Look::rgb(Look::Role::CardStateField));

    // The painted background is what the field shows.
    const QImage image = w.txtUno->grab().toImage();
    QCOMPARE(image.pixelColor(image.width() - 4, image.height() / 2), Look::color(Look::Role::FieldAtRest));
    ScreenKit::moveFocus(w.txtUno);
    const QImage focused = w.txtUno->grab().toImage();
    QCOMPARE(focused.pixelColor(focused.width() - 4, focused.height() / 2), Look::color(Look::Role::FieldFocused));
}

void TestScreenKit::linkTextsTurnOrangeWhilePressed()
{
    QWidget w;
    auto* lnkWeb = ScreenKit::named(new ScreenKit::LinkText(u"Fare clic qui"_s, &w), u"lnkWeb"_s);
    auto* cmdWeb = ScreenKit::named(new PictureButton(u"icona"_s, &w), u"cmdWeb"_s, u"Elenco"_s);
    cmdWeb->setGeometry(0, 40, 32, 32);
    lnkWeb->setGeometry(0, 0, 200, 30);
    int clicks = 0;
    QRgb colourAtClick = 0;
    QObject::connect(lnkWeb, &QAbstractButton::clicked, [&] {
        ++clicks;
        colourAtClick = lnkWeb->colour();
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(lnkWeb->colour(), Look::rgb(Look::Role::Link));
    QCOMPARE(lnkWeb->cursor().shape(), Qt::PointingHandCursor);
    QTest::mousePress(lnkWeb, Qt::LeftButton);
    QCOMPARE(lnkWeb->colour(), Look::rgb(Look::Role::LinkPressed));
    QTest::mouseRelease(lnkWeb, Qt::LeftButton);
    QCOMPARE(lnkWeb->colour(), Look::rgb(Look::Role::Link));
    QCOMPARE(clicks, 1);
    QCOMPARE(colourAtClick, Look::rgb(Look::Role::Link));

    ScreenKit::drivePressedLook(cmdWeb, lnkWeb);
    QTest::mousePress(cmdWeb, Qt::LeftButton);
    QCOMPARE(lnkWeb->colour(), Look::rgb(Look::Role::LinkPressed));
    QTest::mouseRelease(cmdWeb, Qt::LeftButton);
    QCOMPARE(lnkWeb->colour(), Look::rgb(Look::Role::Link));
    QCOMPARE(cmdWeb->cursor().shape(), Qt::PointingHandCursor);

    // What is drawn is the colour.
    QTest::mousePress(lnkWeb, Qt::LeftButton);
    const QImage pressed = lnkWeb->grab().toImage();
    QTest::mouseRelease(lnkWeb, Qt::LeftButton);
    bool orangeDrawn = false;
    for (int y = 0; y < pressed.height() && !orangeDrawn; ++y)
        for (int x = 0; x < pressed.width() && !orangeDrawn; ++x)
            orangeDrawn = pressed.pixel(x, y) == Look::rgb(Look::Role::LinkPressed);
    QVERIFY(orangeDrawn);
}

void TestScreenKit::waitingTextShowsBeforeTheClickRuns()
{
    QWidget w;
    auto* btnCerca = ScreenKit::named(new PictureButton(u"icona"_s, &w), u"btnCerca"_s, u"Cerca"_s);
    btnCerca->setGeometry(0, 0, 40, 40);
    auto* lblAttendere =
        ScreenKit::named(new QLabel(u"Ricerca schede in corso. Attendere..."_s, &w), u"lblAttendere"_s);
    lblAttendere->setGeometry(0, 50, 300, 20);
    lblAttendere->hide();
    ScreenKit::attachWaitingText(btnCerca, lblAttendere);
    bool visibleDuringWork = false;
    QObject::connect(btnCerca, &QAbstractButton::clicked, [&] {
        visibleDuringWork = lblAttendere->isVisible();
        ScreenKit::hideWaiting(lblAttendere);
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::mousePress(btnCerca, Qt::LeftButton);
    QVERIFY(lblAttendere->isVisible());
    QTest::mouseRelease(btnCerca, Qt::LeftButton);
    QVERIFY(visibleDuringWork);
    QVERIFY(!lblAttendere->isVisible());
}

namespace {

class Companion : public QWidget
{
public:
    static inline int alive = 0;
    QString carried;
    Companion(AppContext&, QWidget* parent) : QWidget(parent) { ++alive; }
    ~Companion() override { --alive; }
};

} // namespace

void TestScreenKit::companionIsModalAndDestroyedWhenClosed()
{
    TestContext t;
    QWidget opener;
    opener.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opener));

    QString seenCarried;
    bool wasModalWindow = false;
    QWidget* seenParent = nullptr;
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(0, [&] {
            auto* open = dynamic_cast<Companion*>(QApplication::activeModalWidget());
            QVERIFY(open);
            QCOMPARE(Companion::alive, 1);
            seenCarried = open->carried;
            wasModalWindow = open->isWindow() && open->windowModality() == Qt::ApplicationModal;
            seenParent = open->parentWidget();
            open->close();
        });
        Navigation::runModal<Companion>(&opener, t.ctx, [&](Companion& c) {
            QCOMPARE(c.carried, QString()); // every opening starts from the design state
            c.carried = u"schedario_chiavi"_s;
        });
        QCOMPARE(Companion::alive, 0);
        QCOMPARE(seenCarried, u"schedario_chiavi"_s);
        QVERIFY(wasModalWindow);
        QCOMPARE(seenParent, &opener);
    }
}

void TestScreenKit::namingGivesObjectAndAccessibleName()
{
    QWidget w;
    auto* cmdEsci = ScreenKit::named(new QPushButton(u"&Esci"_s, &w), u"cmdEsci"_s);
    auto* imgGuida = ScreenKit::named(new PictureButton(u"icona"_s, &w), u"imgGuida"_s, u"Guida"_s);
    QCOMPARE(cmdEsci->objectName(), u"cmdEsci"_s);
    QCOMPARE(cmdEsci->accessibleName(), u"Esci"_s);
    QCOMPARE(imgGuida->accessibleName(), u"Guida"_s);
    QCOMPARE(w.findChild<QWidget*>(u"imgGuida"_s), imgGuida);
}

void TestScreenKit::screenReadersReadChangingTexts()
{
    TestScreen w;
    auto* lblValore = ScreenKit::named(new QLabel(u"1"_s, w.panContainer), u"lblValore"_s, u"Valore"_s);
    ScreenKit::speakChangingText(lblValore, u"Valore"_s);
    static_cast<QGridLayout*>(w.panContainer->layout())->addWidget(lblValore, 4, 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLabel* panInfo = w.status->label();
    QCOMPARE(panInfo->objectName(), u"panInfo"_s);
    QCOMPARE(Spoken::name(panInfo), u"Pronto per archiviare una nuova scheda..."_s);
    QCOMPARE(Spoken::description(panInfo), u"Barra di stato"_s);

    QTest::mouseMove(&w, centreOf(w.cmdSalva, &w));
    QCOMPARE(Spoken::name(panInfo), u"Salva la scheda corrente in archivio."_s);
    QTest::mouseMove(&w, QPoint(5, 5));
    QCOMPARE(Spoken::name(panInfo), QString());
    QCOMPARE(Spoken::description(panInfo), u"Barra di stato"_s);

    // Any label so made, named before with a fixed name.
    QCOMPARE(Spoken::name(lblValore), u"1"_s);
    lblValore->setText(u"42"_s);
    QCOMPARE(Spoken::name(lblValore), u"42"_s);
    QCOMPARE(Spoken::description(lblValore), u"Valore"_s);
    QCOMPARE(lblValore->objectName(), u"lblValore"_s);
}

namespace {

// A window whose content, a column of fields with a gap between them, is as tall as `height`.
struct TallWindow
{
    QWidget window;
    QLineEdit* txtPrimo;
    QLineEdit* txtUltimo;

    explicit TallWindow(int height)
    {
        auto* column = new QVBoxLayout(ScreenKit::fitToScreen(&window));
        txtPrimo = ScreenKit::named(new QLineEdit(&window), u"txtPrimo"_s);
        txtUltimo = ScreenKit::named(new QLineEdit(&window), u"txtUltimo"_s);
        column->addWidget(txtPrimo);
        column->addSpacing(height - 80);
        column->addWidget(txtUltimo);
        window.setMinimumWidth(300);
    }
};

// Whether all of `control` shows inside every widget that holds it.
bool inView(QWidget* control)
{
    QWidget* window = control->window();
    const QRect full(control->mapTo(window, QPoint()), control->size());
    QRect shown = full;
    for (QWidget* w = control->parentWidget(); w != window; w = w->parentWidget())
        shown &= QRect(w->mapTo(window, QPoint()), w->size());
    return shown == full;
}

} // namespace

void TestScreenKit::windowFitsTheScreenAndScrollsToTheFocus()
{
    QWidget probe;
    const QSize room = ScreenKit::roomOnScreen(&probe);
    QVERIFY(room.height() > 200);

    // Content the screen holds: the window takes its size, and no scroll bar shows.
    TallWindow small(200);
    small.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&small.window));
    QCOMPARE(small.window.height(), small.window.layout()->itemAt(0)->widget()->sizeHint().height());
    QVERIFY(inView(small.txtUltimo));
    for (QScrollBar* bar : small.window.findChildren<QScrollBar*>())
        QVERIFY(!bar->isVisible());

    // Content twice as tall as the screen: the window keeps inside the room, and Tab into the last
    // field brings it into view.
    TallWindow tall(2 * room.height());
    tall.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tall.window));
    QVERIFY2(tall.window.height() <= ScreenKit::roomOnScreen(&tall.window).height(),
             qPrintable(QString::number(tall.window.height())));
    tall.txtPrimo->setFocus();
    QVERIFY(!inView(tall.txtUltimo));
    QTest::keyClick(tall.txtPrimo, Qt::Key_Tab);
    QVERIFY(tall.txtUltimo->hasFocus());
    QVERIFY(inView(tall.txtUltimo));
}

void TestScreenKit::longTextsShowTheirBeginning()
{
    ScreenKit::showTextBeginnings();
    QWidget w;
    auto* row = new QHBoxLayout(&w);
    auto* txtLungo = ScreenKit::named(new QLineEdit(&w), u"txtLungo"_s);
    auto* txtAltro = ScreenKit::named(new QLineEdit(&w), u"txtAltro"_s);
    txtLungo->setFixedWidth(80);
    row->addWidget(txtLungo);
    row->addWidget(txtAltro);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    txtAltro->setFocus();

    // A text put in by the program, as a loaded card's.
    txtLungo->setText(u"Ufficio tecnico, secondo piano, armadio delle chiavi"_s);
    QCOMPARE(txtLungo->cursorPosition(), 0);

    // Typed by the operator, the end shows while typing and the beginning once the field is left.
    QTest::keyClick(&w, Qt::Key_Backtab);
    QVERIFY(txtLungo->hasFocus());
    QTest::keyClick(txtLungo, Qt::Key_End);
    QTest::keyClicks(txtLungo, u" in fondo"_s);
    QCOMPARE(txtLungo->cursorPosition(), txtLungo->text().size());
    QTest::keyClick(txtLungo, Qt::Key_Tab);
    QVERIFY(txtAltro->hasFocus());
    QCOMPARE(txtLungo->text(), u"Ufficio tecnico, secondo piano, armadio delle chiavi in fondo"_s);
    QCOMPARE(txtLungo->cursorPosition(), 0);

    // Given the focus back by the program (a window's first field), typing carries on at the end.
    txtLungo->setFocus();
    QCOMPARE(txtLungo->cursorPosition(), txtLungo->text().size());
}

void TestScreenKit::tooltipShowsAWholeTextOnlyWhenCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QLineEdit::EchoMode>("echo");
    QTest::addColumn<QString>("ownTip");
    QTest::addColumn<QString>("shown");
    const QString longText = u"Ufficio tecnico, secondo piano, armadio delle chiavi"_s;
    QTest::newRow("cut") << longText << QLineEdit::Normal << QString() << longText;
    QTest::newRow("whole in view") << u"Uno"_s << QLineEdit::Normal << QString() << QString();
    QTest::newRow("hidden text") << longText << QLineEdit::Password << QString() << QString();
    QTest::newRow("own tip") << longText << QLineEdit::Normal << u"Cerca"_s << u"Cerca"_s;
}

void TestScreenKit::tooltipShowsAWholeTextOnlyWhenCut()
{
    QFETCH(QString, text);
    QFETCH(QLineEdit::EchoMode, echo);
    QFETCH(QString, ownTip);
    QFETCH(QString, shown);
    ScreenKit::showTextBeginnings();
    QWidget w;
    auto* row = new QHBoxLayout(&w);
    auto* txtCampo = ScreenKit::named(new QLineEdit(&w), u"txtCampo"_s);
    txtCampo->setFixedWidth(80);
    txtCampo->setEchoMode(echo);
    txtCampo->setToolTip(ownTip);
    txtCampo->setText(text);
    row->addWidget(txtCampo);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());

    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), txtCampo->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(txtCampo, &help);
    if (shown.isEmpty()) {
        QVERIFY(!QToolTip::isVisible());
    } else {
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), shown);
    }
    QToolTip::hideText();
}

QTEST_MAIN(TestScreenKit)
#include "tst_ScreenKit.moc"
