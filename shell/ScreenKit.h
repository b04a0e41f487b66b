#pragma once

// The behaviour every screen shares, each mechanism once. A screen declares its instances as data
// (tables of control and text, ordered lists of fields) in its constructor:
//
//     ScreenKit::named(txtPersonaRit, u"txtPersonaRit"_s, u"Persona"_s);
//     auto* status = new ScreenKit::StatusLine(this, panStrip, u"Pronto per archiviare una nuova scheda..."_s);
//     status->addHints({{btnStampa, u"Stampa il modulo da firmare per il ritiro del pass."_s}});
//     status->addClearingAreas({this, panContainer});
//     new ScreenKit::FocusMarks(this, {{txtTrova, u"effTrova"_s}});
//     new ScreenKit::FieldColours(this, {{txtPersonaRit, Look::Role::FieldAtRest, Look::Role::FieldFocused}});
//     auto* chain = new ScreenKit::EnterChain(this);
//     chain->cycle({txtPersonaRit, txtGiornoRit, txtMeseRit, txtOreRit, txtMinutiRit});
//     ScreenKit::installKeyFilter(txtMeseRit, ScreenKit::KeyFilter::ChoiceClearable);
//
// Every helper object is a child of the screen and lives as long as it does. How the windows lead to
// one another (the launcher, companions run modally) is Navigation's.

#include "shell/Look.h"
#include "shell/PictureButton.h"

#include <QAbstractButton>
#include <QColor>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

class QComboBox;
class QPushButton;

namespace ScreenKit {

// ---- Names ------------------------------------------------------------------------------------

// Gives a control its objectName and the accessible name a screen reader reads (its visible
// label; the objectName when none is given). Returns the control, to name it where it is made.
void name(QWidget* control, const QString& objectName, const QString& accessibleName = QString());
template <class W> W* named(W* control, const QString& objectName, const QString& accessibleName = QString())
{
    name(control, objectName, accessibleName);
    return control;
}

// Takes a widget that only lays out or decorates (a panel, a picture) out of what screen readers
// meet: it is not in the accessibility tree, and the controls it holds are met where it would be.
void hideFromScreenReaders(QWidget* widget);

// Labels that show a changing value (the status line, a position, a year, a period): screen readers
// read the label's current text as its name and are told of every change of it, while `role`
// ("Barra di stato", "Anno") says what the value is, as the label's description. Write such a label
// with setText (clear() tells nobody).
void speakChangingText(QLabel* label, const QString& role);

// ---- Status line ------------------------------------------------------------------------------

struct Hint
{
    QWidget* control;
    QString text;
};

// The label `panInfo` (status font and text colour, one line) on a coloured strip at the foot of a
// screen. Moving the pointer over a hinted control shows its text; over a clearing area empties the line;
// over anything else leaves the last text. "Over" means the innermost named widget under the
// pointer: unnamed helper widgets count as part of their nearest named ancestor, so a label on a
// clearing panel leaves the text while the panel's bare background clears it.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    // Creates `panInfo` inside `strip` (laid out at its left) and paints the strip in `stripColour`
    // unless it is invalid (a strip that paints itself).
    StatusLine(QWidget* screen, QWidget* strip, const QString& designText, QColor stripColour = QColor());

    void addHints(const QList<Hint>& hints);
    // The text shown for `control`, empty when it has none.
    QString hintOf(const QWidget* control) const;
    void addClearingAreas(const QList<QWidget*>& areas);

    QLabel* label() const { return m_label; }
    QString text() const;
    void setText(const QString& text); // the empty text clears it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_screen;
    QLabel* m_label;
    QList<Hint> m_hints;
    QList<QPointer<QWidget>> m_clearing;
};

// ---- Command keys -----------------------------------------------------------------------------

struct CommandKey
{
    PictureButton* command;
    QKeySequence key;
};

// Gives each picture command its key (PictureButton::setCommandKey): pressed anywhere in its window
// it clicks the picture; the picture's tooltip reads its hint on `status` (its accessible name when
// `status` is null or has none) with the key. The pictures stay out of the tab order.
void addCommandKeys(const StatusLine* status, const QList<CommandKey>& keys);

// ---- Focus marks ------------------------------------------------------------------------------

struct Mark
{
    QWidget* field;
    QString markName; // "effPassword"
};

// Rectangles named `eff...` in the focus mark's colour (Look::paintFocusMark), 4 units larger than
// their field on every side, lying behind it. A mark shows while its field has the focus and
// hides when it loses it; all marks of a screen hide when the screen is hidden, and at no time are
// two marks of one set visible.
class FocusMarks : public QObject
{
    Q_OBJECT
public:
    FocusMarks(QWidget* screen, const QList<Mark>& marks);

    QWidget* markOf(QWidget* field) const;
    void showMark(QWidget* field);
    void hideMark(QWidget* field);
    void hideAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(QWidget* field, QWidget* mark);
    QWidget* m_screen;
    QList<std::pair<QPointer<QWidget>, QWidget*>> m_marks;
};

// ---- Field colouring --------------------------------------------------------------------------

struct Colouring
{
    QWidget* field;
    Look::Role atRest;
    Look::Role focused; // equal to atRest for a fixed colour
};

// Fields that show the focus by their own colours: the field border and a background painted edge
// to edge, in the at-rest colour and, while focused, in the focused one.
class FieldColours : public QObject
{
    Q_OBJECT
public:
    FieldColours(QWidget* screen, const QList<Colouring>& fields);

    // Paints one field (any widget with an objectName) in the colour of `background` with the
    // field border; only the latest paint is visible.
    static void paint(QWidget* field, Look::Role background);
    // The background last painted on the field; 0 when it was never painted.
    static QRgb colourOf(const QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<Colouring> m_fields;
};

// ---- Enter chains -----------------------------------------------------------------------------

// Enter (Return or the keypad's Enter) in a field of the chain moves the focus to the next one and
// does nothing else: it never confirms or closes the window. A chain ending on a button only moves
// the focus there.
class EnterChain : public QObject
{
    Q_OBJECT
public:
    explicit EnterChain(QWidget* screen);

    // a → b → c → a
    EnterChain& cycle(const QList<QWidget*>& fields);
    // a → b → c (no link back from the last)
    EnterChain& sequence(const QList<QWidget*>& fields);
    // One single link (txtStato → txtDuplicati, txtTrova → btnTrova).
    EnterChain& link(QWidget* from, QWidget* to);

    QWidget* next(QWidget* from) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<std::pair<QPointer<QWidget>, QPointer<QWidget>>> m_links;
};

// Moves the keyboard focus to a field, raising the leaving field's and the entering field's focus
// behaviour.
void moveFocus(QWidget* field);

// ---- Key filters and drop-downs ---------------------------------------------------------------

enum class KeyFilter
{
    // Backspace or Delete empties the field at once; Left and Right keep their effect; every
    // other key that types or edits is discarded. Enter is left to the Enter chain.
    ChoiceClearable,
    // Every key that types or edits is discarded, Backspace and Delete included. Enter is left to
    // the Enter chain.
    ChoiceOnly,
    // Digits "0" to "9", Backspace, Delete, Left and Right; everything else that types is
    // discarded (pasting included). Enter is left to the Enter chain.
    DigitsOnly,
};
// In every filter Tab and Backtab still move between fields, and F4 and Alt+Down still open a
// drop-down's list, the keyboard's way to a choice; Up, Down, Page Up, Page Down and the mouse wheel
// never step a closed drop-down along its list. Inside the open list the arrows move among its lines
// and Enter or a click chooses one.
void installKeyFilter(QWidget* field, KeyFilter filter);

// Makes `box` a drop-down edit with a fixed item list: editable text, no insertion of typed
// values, no completion; its text set to `designText`. Screen readers read the box, the edit in
// it and its list by the box's accessible name (name the box first) and tell its text as its
// value.
void setUpDropDown(QComboBox* box, const QStringList& items, const QString& designText = QString());

// Clears the selection of a drop-down's list (no item highlighted); its text stays unchanged.
// Read a drop-down's value with currentText(), never currentIndex().
void resetSelection(QComboBox* box);
// Resets the selection each time the drop-down is about to take the focus, but not when the focus
// comes back from the drop-down's own list, which then hands the chosen item to the box.
void resetSelectionOnFocus(QComboBox* box);

// ---- Link texts -------------------------------------------------------------------------------

// A clickable text: in the link colour at rest, in the pressed link colour while a mouse button is
// held on it, hand pointer.
// A button to screen readers (name and press action).
class LinkText : public QAbstractButton
{
    Q_OBJECT
public:
    explicit LinkText(const QString& text = QString(), QWidget* parent = nullptr);

    QRgb colour() const { return m_colour; }
    void setColour(QRgb colour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return wordWrap(); }
    int heightForWidth(int width) const override;
    void setWordWrap(bool wrap);
    bool wordWrap() const { return m_wordWrap; }
    void setAlignment(Qt::Alignment alignment);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRgb m_colour = Look::rgb(Look::Role::Link);
    bool m_wordWrap = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A picture beside a link that gives the link its pressed look: the link takes the pressed colour
// while a mouse button is held on the picture and its colour at rest again when it is released
// (before the click).
void drivePressedLook(QAbstractButton* picture, LinkText* link);

// ---- Waiting text -----------------------------------------------------------------------------

// Shows the hidden label `lblAttendere` as soon as the command is pressed, drawn at once, so that
// it is on screen while the command's click does its long work. Hiding is the screen's: hideWaiting.
void attachWaitingText(QAbstractButton* command, QLabel* lblAttendere);
void showWaiting(QLabel* lblAttendere);
void hideWaiting(QLabel* lblAttendere);

// ---- Buttons ----------------------------------------------------------------------------------

// A push button of a screen, named (read aloud by its label unless `accessibleName` is given). Enter
// (Return or the keypad's Enter) on it while it has the focus presses it, as the space bar does, in
// every window, dialog frame or not; a PictureButton does the same by itself.
QPushButton* newButton(const QString& text, const QString& objectName, QWidget* parent,
                       const QString& accessibleName = QString());

// Escape in `window` that no control there takes for itself presses `button` (the window's
// "Chiudi" or "Annulla"), while the button is visible and enabled.
void pressOnEscape(QWidget* window, QAbstractButton* button);

// ---- Window frame -----------------------------------------------------------------------------

// Centres a top-level window on the screen it is on (or the primary screen).
void centreOnScreen(QWidget* window);

// Fixed single border, no title-bar buttons: a dialog frame without close, minimise or maximise
// box. The window keeps its size.
void makeFixedDialogFrame(QWidget* window);

// The dialog frame of a window the operator may enlarge (a large grid): no close or minimise box, a
// maximise box and borders that resize it. It opens at the size its layout asks for.
void makeSizableDialogFrame(QWidget* window);

// ---- Windows that fit the screen --------------------------------------------------------------

// Lays `window`'s content in a scroll area that fills the window, and returns the
// widget to build the content on: its layout and controls go there instead of on the window. Where
// the screen's available area holds the content, nothing of the scroll area shows (no frame, no
// scroll bars, the window's own background through it) and the window is as large as before; on
// a smaller or more scaled screen the window keeps inside the available area and scroll bars
// reach the rest (a control that takes the focus is scrolled into view). The window asks for
// `designedSize` when it is given (its content never drawn smaller), for its content's size
// otherwise. Call it before building the window's layout.
QWidget* fitToScreen(QWidget* window, QSize designedSize = QSize());

// The room a top-level window's frame leaves for the window on its screen's available area.
QSize roomOnScreen(const QWidget* window);

// ---- Long texts in single-line fields ---------------------------------------------------------

// In every single-line field of the program (QLineEdit, drop-downs' included), a text longer than
// the field shows its beginning while the field has no focus, and resting the pointer on the
// field shows the whole text as its tooltip (a field's own tooltip, and a hidden text, are never
// replaced). Installed once on the application; every fitToScreen installs it.
void showTextBeginnings();

} // namespace ScreenKit
