#include "shell/ScreenKit.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QFocusFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace ScreenKit {

namespace {

const char* const ColourProperty = "ingressarioFieldColour";

bool isEnterKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A focus change caused only by another window becoming active (a message box, a drop-down's list)
// is no change of field: marks and colours stay as they are.
bool isWindowSwitch(const QFocusEvent* event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

QString visibleLabel(const QWidget* control)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().remove(u'&');
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->textFormat() == Qt::RichText ? QString() : label->text();
    return QString();
}

// The yellow rectangle behind a field.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override { Look::paintFocusMark(this); }
};

class KeyFilterObject : public QObject
{
public:
    KeyFilterObject(QWidget* field, KeyFilter filter) : QObject(field), m_filter(filter) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod) {
            // Composed characters are typed text too.
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (m_filter != KeyFilter::DigitsOnly)
                return !im->commitString().isEmpty() || !im->preeditString().isEmpty();
            for (QChar c : im->commitString())
                if (c < u'0' || c > u'9')
                    return true;
            return false;
        }
        if (event->type() == QEvent::Wheel) {
            // The wheel over a closed drop-down would step its value along the list. Left to the
            // window around it instead.
            if (m_filter == KeyFilter::DigitsOnly || !qobject_cast<QComboBox*>(watched))
                return false;
            event->ignore();
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEnterKey(key))
            return false; // the Enter chain's
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_F4:
        case Qt::Key_Escape:
            return false;
        case Qt::Key_Down:
            // Alt+Down opens the list, as F4 does: the keyboard's one way to a choice. Down alone,
            // Up and the page keys would step the closed box's value along the list; inside the open
            // list they move among its lines, and those keys go to the list, not here.
            return !(key->modifiers() & Qt::AltModifier);
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            if (m_filter == KeyFilter::DigitsOnly)
                return false;
            if (m_filter == KeyFilter::ChoiceClearable)
                clear(static_cast<QWidget*>(watched));
            return true;
        default:
            break;
        }
        if (m_filter == KeyFilter::DigitsOnly && key->text().size() == 1 && key->text().at(0) >= u'0' &&
            key->text().at(0) <= u'9' &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        return true;
    }

private:
    static void clear(QWidget* field)
    {
        if (auto* box = qobject_cast<QComboBox*>(field)) {
            if (box->isEditable())
                box->setEditText(QString());
            else
                box->setCurrentIndex(-1);
        } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->clear();
        }
    }

    KeyFilter m_filter;
};

class SelectionResetter : public QObject
{
public:
    explicit SelectionResetter(QComboBox* box) : QObject(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The focus comes back with PopupFocusReason when the box's own list closes, before the box
        // takes the item chosen in it: that is no new visit to the box, and a reset then would
        // throw the choice away.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            resetSelection(static_cast<QComboBox*>(watched));
        return false;
    }
};

class EscapePress : public QObject
{
public:
    explicit EscapePress(QAbstractButton* button) : QObject(button), m_button(button) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // Only an Escape that the focused control left alone reaches its window.
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        if (!m_button->isVisible() || !m_button->isEnabled())
            return false;
        m_button->click();
        return true;
    }

private:
    QAbstractButton* m_button;
};

// ---- What screen readers meet ----

const char* const LeftOutProperty = "ingressarioLeftOutOfAccessibility";

bool leftOut(const QWidget* widget)
{
    return widget->property(LeftOutProperty).toBool();
}

// The child widgets a reader meets under `widget`, in their order: those of a widget left out of
// the tree take its place. Windows, focus frames, menus and the toolkit's rubber bands are no
// children, as for every widget.
void collectChildren(const QWidget* widget, QList<QWidget*>& into)
{
    for (QObject* o : widget->children()) {
        auto* child = qobject_cast<QWidget*>(o);
        if (!child || child->isWindow() || qobject_cast<QFocusFrame*>(child) || qobject_cast<QMenu*>(child) ||
            child->objectName() == u"qt_rubberband"_s || child->objectName() == u"qt_spinbox_lineedit"_s ||
            child->objectName() == u"qt_qmainwindow_extended_splitter"_s)
            continue;
        if (leftOut(child))
            collectChildren(child, into);
        else
            into << child;
    }
}

// A plain container (a window, a panel, a frame): its children are the widgets it holds, less
// those left out of the tree, which hand on their own children.
class AccessibleContainer : public QAccessibleWidget
{
public:
    AccessibleContainer(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return children().size(); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> all = children();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return int(children().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> children() const
    {
        QList<QWidget*> all;
        collectChildren(widget(), all);
        return all;
    }
};

// A drop-down edit read by its label, with its text as its value. (Left to itself, a drop-down
// tells its current text as its name on this platform, and the label is never heard.) Its
// children are its list and its edit; opening and closing its list are its actions.
class AccessibleDropDown : public QAccessibleWidget
{
public:
    explicit AccessibleDropDown(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return box()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->lineEdit())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        if (box()->lineEdit() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }
    QStringList actionNames() const override
    {
        return QStringList{QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()} +
               QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == QAccessibleActionInterface::showMenuAction() ||
            action == QAccessibleActionInterface::pressAction()) {
            if (box()->view()->isVisible())
                box()->hidePopup();
            else
                box()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// Asked for each class of an object, the most derived first, before the toolkit's own interfaces:
// gives drop-downs theirs, and plain containers the one that leaves out what is
// left out of the tree (with the role the toolkit gives them).
QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == u"QComboBox"_s)
        return new AccessibleDropDown(static_cast<QComboBox*>(widget));
    if (className == u"QWidget"_s)
        return new AccessibleContainer(widget, QAccessible::Client);
    if (className == u"QFrame"_s)
        return new AccessibleContainer(widget, QAccessible::Border);
    if (className == u"QDialog"_s)
        return new AccessibleContainer(widget, QAccessible::Dialog);
    return nullptr;
}

// Installed once, after the toolkit's own (so asked before them), when the first control is
// named: a widget's interface is made at its first change of name, and kept.
void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

// ---- Names ------------------------------------------------------------------------------------

void name(QWidget* control, const QString& objectName, const QString& accessibleName)
{
    installAccessibleFactory();
    control->setObjectName(objectName);
    QString spoken = accessibleName;
    if (spoken.isEmpty())
        spoken = visibleLabel(control);
    if (spoken.isEmpty())
        spoken = objectName;
    control->setAccessibleName(spoken);
}

void hideFromScreenReaders(QWidget* widget)
{
    installAccessibleFactory();
    widget->setProperty(LeftOutProperty, true);
    widget->setAccessibleName(QString());
    widget->setAccessibleDescription(QString());
}

void speakChangingText(QLabel* label, const QString& role)
{
    // A label without a name of its own is read by its text, and tells screen readers itself each
    // time setText changes that text; the role goes where a fixed name would hide the value.
    label->setAccessibleName(QString());
    label->setAccessibleDescription(role);
}

// ---- Status line ------------------------------------------------------------------------------

StatusLine::StatusLine(QWidget* screen, QWidget* strip, const QString& designText, QColor stripColour)
    : QObject(screen), m_screen(screen)
{
    if (stripColour.isValid()) {
        strip->setAutoFillBackground(true);
        QPalette stripPalette = strip->palette();
        stripPalette.setColor(QPalette::Window, stripColour);
        strip->setPalette(stripPalette);
    }
    m_label = new QLabel(designText, strip);
    m_label->setObjectName(u"panInfo"_s);
    speakChangingText(m_label, u"Barra di stato"_s);
    m_label->setWordWrap(false);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setFont(Look::font(Look::FontRole::Status));
    QPalette labelPalette = m_label->palette();
    labelPalette.setColor(QPalette::WindowText, Look::color(Look::Role::StatusText));
    m_label->setPalette(labelPalette);
    m_label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* layout = qobject_cast<QBoxLayout*>(strip->layout());
    if (!layout && !strip->layout()) {
        layout = new QHBoxLayout(strip);
        layout->setContentsMargins(8, 3, 8, 3);
    }
    if (layout) {
        layout->insertWidget(0, m_label);
        layout->addStretch(1);
    }
    // Pointer movements reach the application's filters even over widgets that do not track
    // the mouse, so one filter sees every movement over the screen.
    qApp->installEventFilter(this);
}

void StatusLine::addHints(const QList<Hint>& hints)
{
    m_hints += hints;
    // What the status line says of a control is what a screen reader tells after its name, and
    // what its tooltip shows (unless it shows more already: a command key).
    for (const Hint& hint : hints) {
        hint.control->setAccessibleDescription(hint.text);
        if (qobject_cast<PictureButton*>(hint.control) && hint.control->toolTip().isEmpty())
            hint.control->setToolTip(hint.text);
    }
}

void StatusLine::addClearingAreas(const QList<QWidget*>& areas)
{
    for (QWidget* area : areas)
        m_clearing << area;
}

QString StatusLine::hintOf(const QWidget* control) const
{
    for (const Hint& hint : m_hints)
        if (hint.control == control)
            return hint.text;
    return QString();
}

QString StatusLine::text() const
{
    return m_label->text();
}

void StatusLine::setText(const QString& text)
{
    m_label->setText(text);
    m_label->adjustSize();
}

bool StatusLine::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove || !watched->isWidgetType())
        return false;
    QWidget* top = m_screen->window();
    if (static_cast<QWidget*>(watched)->window() != top)
        return false;
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    QWidget* under = top->childAt(top->mapFromGlobal(global));
    if (!under)
        under = top;
    for (QWidget* w = under; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        for (const Hint& hint : std::as_const(m_hints))
            if (hint.control == w) {
                if (m_label->text() != hint.text)
                    setText(hint.text);
                return false;
            }
        for (const QPointer<QWidget>& area : std::as_const(m_clearing))
            if (area == w) {
                if (!m_label->text().isEmpty())
                    setText(QString());
                return false;
            }
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(u"qt_"_s))
            return false; // a named element that neither sets nor clears
    }
    return false;
}

// ---- Command keys -----------------------------------------------------------------------------

void addCommandKeys(const StatusLine* status, const QList<CommandKey>& keys)
{
    for (const CommandKey& k : keys)
        k.command->setCommandKey(k.key, status ? status->hintOf(k.command) : QString());
}

// ---- Focus marks ------------------------------------------------------------------------------

FocusMarks::FocusMarks(QWidget* screen, const QList<Mark>& marks) : QObject(screen), m_screen(screen)
{
    for (const Mark& m : marks) {
        auto* mark = new FocusMark(m.field->parentWidget());
        mark->setObjectName(m.markName);
        mark->hide();
        m_marks.append({QPointer<QWidget>(m.field), mark});
        place(m.field, mark);
        m.field->installEventFilter(this);
    }
    screen->installEventFilter(this);
}

QWidget* FocusMarks::markOf(QWidget* field) const
{
    for (const auto& [f, mark] : m_marks)
        if (f == field)
            return mark;
    return nullptr;
}

void FocusMarks::showMark(QWidget* field)
{
    QWidget* mark = markOf(field);
    if (!mark)
        return;
    for (const auto& [f, other] : std::as_const(m_marks))
        if (other != mark)
            other->hide();
    place(field, mark);
    mark->show();
}

void FocusMarks::hideMark(QWidget* field)
{
    if (QWidget* mark = markOf(field))
        mark->hide();
}

void FocusMarks::hideAll()
{
    for (const auto& [f, mark] : std::as_const(m_marks))
        mark->hide();
}

void FocusMarks::place(QWidget* field, QWidget* mark)
{
    mark->setGeometry(field->geometry().adjusted(-4, -4, 4, 4));
    mark->stackUnder(field);
}

bool FocusMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_screen) {
        if (event->type() == QEvent::Hide)
            hideAll();
        return false;
    }
    auto* field = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        showMark(field);
        break;
    case QEvent::FocusOut:
        if (!isWindowSwitch(static_cast<QFocusEvent*>(event)))
            hideMark(field);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (QWidget* mark = markOf(field))
            place(field, mark);
        break;
    case QEvent::Hide:
        hideMark(field);
        break;
    default:
        break;
    }
    return false;
}

// ---- Field colouring --------------------------------------------------------------------------

FieldColours::FieldColours(QWidget* screen, const QList<Colouring>& fields) : QObject(screen), m_fields(fields)
{
    for (const Colouring& c : fields) {
        paint(c.field, c.atRest);
        c.field->installEventFilter(this);
    }
    screen->installEventFilter(this);
}

void FieldColours::paint(QWidget* field, Look::Role background)
{
    // The field's own sheet: it wins over the window's, whatever the window's rules for the field.
    const QRgb colour = Look::rgb(background);
    field->setStyleSheet(Look::fieldStyleSheet(field->objectName(), colour));
    field->setProperty(ColourProperty, QVariant::fromValue<uint>(colour));
}

QRgb FieldColours::colourOf(const QWidget* field)
{
    const QVariant v = field->property(ColourProperty);
    return v.isValid() ? v.value<uint>() : 0;
}

bool FieldColours::eventFilter(QObject* watched, QEvent* event)
{
    // A hidden screen keeps no focused colour: it is shown again with every field at rest, and the
    // field that then takes the focus is painted as it gets it.
    if (watched == parent()) {
        if (event->type() == QEvent::Hide)
            for (const Colouring& c : std::as_const(m_fields))
                paint(c.field, c.atRest);
        return false;
    }
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    // The field that has the focus when its window becomes active (a screen just shown) takes its
    // focused colour; losing the focus only to another window (a message box) keeps it.
    if (event->type() == QEvent::FocusOut && isWindowSwitch(static_cast<QFocusEvent*>(event)))
        return false;
    for (const Colouring& c : std::as_const(m_fields)) {
        if (c.field != watched || c.atRest == c.focused)
            continue;
        paint(c.field, event->type() == QEvent::FocusIn ? c.focused : c.atRest);
    }
    return false;
}

// ---- Enter chains -----------------------------------------------------------------------------

EnterChain::EnterChain(QWidget* screen) : QObject(screen) {}

EnterChain& EnterChain::cycle(const QList<QWidget*>& fields)
{
    sequence(fields);
    if (fields.size() > 1)
        link(fields.last(), fields.first());
    return *this;
}

EnterChain& EnterChain::sequence(const QList<QWidget*>& fields)
{
    for (qsizetype i = 0; i + 1 < fields.size(); ++i)
        link(fields.at(i), fields.at(i + 1));
    return *this;
}

EnterChain& EnterChain::link(QWidget* from, QWidget* to)
{
    for (auto& [f, t] : m_links)
        if (f == from) {
            t = to;
            return *this;
        }
    m_links.append({QPointer<QWidget>(from), QPointer<QWidget>(to)});
    from->installEventFilter(this);
    return *this;
}

QWidget* EnterChain::next(QWidget* from) const
{
    for (const auto& [f, t] : m_links)
        if (f == from)
            return t;
    return nullptr;
}

bool EnterChain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !isEnterKey(static_cast<QKeyEvent*>(event)))
        return false;
    if (QWidget* to = next(static_cast<QWidget*>(watched)))
        moveFocus(to);
    return true;
}

void moveFocus(QWidget* field)
{
    // As by the Tab key: an edit that takes the focus this way selects its whole text.
    field->setFocus(Qt::TabFocusReason);
}

// ---- Key filters and drop-downs ---------------------------------------------------------------

void installKeyFilter(QWidget* field, KeyFilter filter)
{
    field->installEventFilter(new KeyFilterObject(field, filter));
    // Nothing reaches the text by another road: no paste from a menu, no dropped text.
    QLineEdit* edit = qobject_cast<QLineEdit*>(field);
    if (auto* box = qobject_cast<QComboBox*>(field))
        edit = box->lineEdit();
    field->setAcceptDrops(false);
    if (edit) {
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setAcceptDrops(false);
        if (filter == KeyFilter::DigitsOnly && edit == field)
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), edit));
    }
}

void setUpDropDown(QComboBox* box, const QStringList& items, const QString& designText)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(12);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(designText);
    // Screen readers read the box, its edit and its list by the box's name, its text as its value.
    box->lineEdit()->setAccessibleName(box->accessibleName());
    box->view()->setAccessibleName(box->accessibleName());
}

void resetSelection(QComboBox* box)
{
    const QSignalBlocker blocker(box);
    const QString text = box->currentText();
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->setEditText(text);
    if (QAbstractItemView* view = box->view())
        view->setCurrentIndex(QModelIndex());
}

void resetSelectionOnFocus(QComboBox* box)
{
    box->installEventFilter(new SelectionResetter(box));
}

// ---- Link texts -------------------------------------------------------------------------------

LinkText::LinkText(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::pressed, this, [this] { setColour(Look::rgb(Look::Role::LinkPressed)); });
    connect(this, &QAbstractButton::released, this, [this] { setColour(Look::rgb(Look::Role::Link)); });
}

void LinkText::setColour(QRgb colour)
{
    if (m_colour == colour)
        return;
    m_colour = colour;
    update();
}

void LinkText::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    setSizePolicy(QSizePolicy::Preferred, wrap ? QSizePolicy::Preferred : QSizePolicy::Fixed);
    updateGeometry();
    update();
}

void LinkText::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QSize LinkText::sizeHint() const
{
    if (m_wordWrap) {
        const int width = qMin(fontMetrics().horizontalAdvance(text()) + 4, 420);
        return QSize(width, heightForWidth(width));
    }
    return fontMetrics().size(Qt::TextSingleLine, text()) + QSize(4, 4);
}

QSize LinkText::minimumSizeHint() const
{
    return m_wordWrap ? QSize(60, fontMetrics().height() + 4) : sizeHint();
}

int LinkText::heightForWidth(int width) const
{
    return fontMetrics().boundingRect(QRect(0, 0, qMax(1, width - 4), 10000), Qt::TextWordWrap, text()).height() + 4;
}

void LinkText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor::fromRgba(m_colour));
    int flags = int(m_alignment);
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    painter.drawText(rect().adjusted(2, 2, -2, -2), flags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void drivePressedLook(QAbstractButton* picture, LinkText* link)
{
    QObject::connect(picture, &QAbstractButton::pressed, link,
                     [link] { link->setColour(Look::rgb(Look::Role::LinkPressed)); });
    QObject::connect(picture, &QAbstractButton::released, link,
                     [link] { link->setColour(Look::rgb(Look::Role::Link)); });
}

// ---- Waiting text -----------------------------------------------------------------------------

void attachWaitingText(QAbstractButton* command, QLabel* lblAttendere)
{
    QObject::connect(command, &QAbstractButton::pressed, lblAttendere, [lblAttendere] { showWaiting(lblAttendere); });
}

void showWaiting(QLabel* lblAttendere)
{
    lblAttendere->show();
    lblAttendere->raise();
    // Drawn now: the command's work that follows keeps the event loop busy.
    lblAttendere->repaint();
}

void hideWaiting(QLabel* lblAttendere)
{
    lblAttendere->hide();
}

// ---- Buttons ----------------------------------------------------------------------------------

QPushButton* newButton(const QString& text, const QString& objectName, QWidget* parent, const QString& accessibleName)
{
    auto* button = named(new QPushButton(text, parent), objectName, accessibleName);
    // Outside a QDialog a push button leaves Enter alone unless it is an auto-default button; the
    // screens are plain windows, so each button is made one (no default button comes with it there).
    button->setAutoDefault(true);
    return button;
}

void pressOnEscape(QWidget* window, QAbstractButton* button)
{
    window->installEventFilter(new EscapePress(button));
}

// ---- Window frame -----------------------------------------------------------------------------

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = window->isVisible() ? window->size() : window->sizeHint().expandedTo(window->size());
    // The frame, where it is known already, is centred with the window and kept on the screen.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QRect available = screen->availableGeometry();
    const QPoint centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size + frame, available).topLeft();
    window->move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
}

void makeFixedDialogFrame(QWidget* window)
{
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (QLayout* layout = window->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->setFixedSize(window->size());
}

void makeSizableDialogFrame(QWidget* window)
{
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint);
}

// ---- Windows that fit the screen --------------------------------------------------------------

namespace {

// The scroll area around a window's content: as large as the content (or the window's designed
// size) while the screen holds it, never larger than the screen's room for the window.
class FittingArea : public QScrollArea
{
public:
    FittingArea(QWidget* window, QSize designedSize) : QScrollArea(window), m_window(window), m_designed(designedSize)
    {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        // The area itself is no stop of the tab order; the controls inside it are.
        setFocusPolicy(Qt::NoFocus);
        setAutoFillBackground(false);
        viewport()->setAutoFillBackground(false);
    }

    QSize sizeHint() const override
    {
        const QWidget* content = widget();
        const QSize wanted =
            m_designed.isValid()
                ? m_designed
                : content->sizeHint().expandedTo(content->minimumSizeHint()).expandedTo(content->minimumSize());
        const QSize room = roomOnScreen(m_window);
        QSize hint = wanted.boundedTo(room);
        // A scroll bar takes its breadth from the other direction: ask for it rather than needing the
        // second bar too.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        if (wanted.height() > room.height())
            hint.setWidth(std::min(wanted.width() + bar, room.width()));
        if (wanted.width() > room.width())
            hint.setHeight(std::min(wanted.height() + bar, room.height()));
        return hint;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            // Shown again, perhaps on another screen: the room is asked for afresh.
            updateGeometry();
            // A window the operator may resize opens, unless sized already, as large as it asks to
            // be (by itself it would open at two thirds of the screen at most).
            const bool sizable = m_window->minimumSize() != m_window->maximumSize() &&
                                 !(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
            if (sizable && !m_window->testAttribute(Qt::WA_Resized))
                m_window->resize(m_window->sizeHint());
        }
        return QScrollArea::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    QSize m_designed;
};

// A window frame's share of the screen before the frame is known: a border and a title bar.
constexpr QSize UnknownFrame(16, 40);

} // namespace

QSize roomOnScreen(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.isNull())
        frame = UnknownFrame;
    return (screen->availableGeometry().size() - frame).expandedTo(QSize(0, 0));
}

QWidget* fitToScreen(QWidget* window, QSize designedSize)
{
    showTextBeginnings();
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    // Unnamed helpers: to the status line and to screen readers they are part of the window.
    auto* area = new FittingArea(window, designedSize);
    auto* content = new QWidget;
    if (designedSize.isValid())
        content->setMinimumSize(designedSize);
    area->setWidget(content);
    // The scroll area paints the content's ground; the window's own shows through instead.
    content->setAutoFillBackground(false);
    window->installEventFilter(area);
    root->addWidget(area);
    return content;
}

// ---- Long texts in single-line fields ---------------------------------------------------------

namespace {

bool holdsMoreThanShown(const QLineEdit* field)
{
    if (field->echoMode() != QLineEdit::Normal || field->text().isEmpty())
        return false;
    QStyleOptionFrame option;
    option.initFrom(field);
    const QRect inside = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    return field->fontMetrics().horizontalAdvance(field->text()) >
           inside.width() - margins.left() - margins.right() - 4; // the text's own margins
}

class TextBeginnings : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
            if (auto* field = qobject_cast<QLineEdit*>(watched); field && !field->property(Hooked).toBool()) {
                field->setProperty(Hooked, true);
                // A text put in from the program (a card loaded, a value chosen) leaves the cursor at
                // its end; away from the focus the field shows its beginning. Typing, even into a
                // field without the focus, keeps the cursor where it types.
                connect(field, &QLineEdit::textChanged, field, [field] {
                    if (!field->hasFocus() && !field->isModified())
                        showBeginning(field);
                });
                if (!field->hasFocus())
                    showBeginning(field);
            }
            break;
        case QEvent::FocusOut:
            // As the field keeps its selection: not for a pop-up or another window taking over.
            if (auto* field = qobject_cast<QLineEdit*>(watched)) {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                    showBeginning(field);
            }
            break;
        case QEvent::FocusIn:
            // The cursor goes back where it was before it was moved for showing: at the end, where
            // typing carries on (Tab selects the whole text, a click puts the cursor where it clicks).
            if (auto* field = qobject_cast<QLineEdit*>(watched); field && field->property(AtStart).toBool()) {
                field->setProperty(AtStart, false);
                if (field->cursorPosition() == 0 && !field->hasSelectedText())
                    field->setCursorPosition(int(field->text().size()));
            }
            break;
        case QEvent::ToolTip:
            if (auto* field = qobject_cast<QLineEdit*>(watched);
                field && field->toolTip().isEmpty() && holdsMoreThanShown(field)) {
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), field->text(), field);
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    static void showBeginning(QLineEdit* field)
    {
        field->setCursorPosition(0);
        field->setProperty(AtStart, true);
    }

    static constexpr const char* Hooked = "ingressarioTextBeginning";
    static constexpr const char* AtStart = "ingressarioShowsBeginning";
};

} // namespace

void showTextBeginnings()
{
    static QPointer<TextBeginnings> installed;
    if (installed || !qApp)
        return;
    installed = new TextBeginnings(qApp);
    qApp->installEventFilter(installed);
}

} // namespace ScreenKit
