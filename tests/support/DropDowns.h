#pragma once

// A drop-down driven as the operator drives it: its list opened from the keyboard (Alt+Down or F4,
// the keys a keyboard user has), an item chosen in the open list with a click or with the arrow
// keys and Enter, and the wheel turned over the closed box. Keys for the open list go to the list
// window, as the window system delivers them while a list is open.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

namespace DropDowns {

enum class Way
{
    Mouse,
    Keys
};

enum class Opener
{
    AltDown,
    F4
};

// The list of the box while it is open, otherwise nullptr.
inline QAbstractItemView* openList(const QComboBox* box)
{
    QAbstractItemView* view = box->view();
    return view && view->isVisible() ? view : nullptr;
}

// Presses the key that opens the list on the box, which has the focus; returns the open list.
inline QAbstractItemView* open(QComboBox* box, Opener opener = Opener::AltDown)
{
    if (opener == Opener::F4)
        QTest::keyClick(box, Qt::Key_F4);
    else
        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    return QTest::qWaitFor([box] { return openList(box) != nullptr; }, 1000) ? openList(box) : nullptr;
}

// One key pressed while the list is open: delivered to the list window.
inline void keyInList(QAbstractItemView* view, Qt::Key key)
{
    if (QWindow* window = view->window()->windowHandle())
        QTest::keyClick(window, key);
    else
        QTest::keyClick(view, key);
}

// Chooses `item` in the open list of the box: a click on its line, or Down or Up until its line is
// highlighted and then Enter. False when the list is not open, the item is not in it, or the list
// stays open afterwards.
inline bool choose(QComboBox* box, const QString& item, Way way)
{
    QAbstractItemView* view = openList(box);
    const int row = box->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!view || row < 0)
        return false;
    const QModelIndex index = view->model()->index(row, box->modelColumn(), view->rootIndex());
    if (way == Way::Mouse) {
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    } else {
        for (int presses = 0; view->currentIndex() != index && presses <= box->count(); ++presses)
            keyInList(view,
                      view->currentIndex().isValid() && view->currentIndex().row() > row ? Qt::Key_Up : Qt::Key_Down);
        if (view->currentIndex() != index)
            return false;
        keyInList(view, Qt::Key_Return);
    }
    return QTest::qWaitFor([box] { return openList(box) == nullptr; }, 1000);
}

// Opens the list and chooses the item.
inline bool openAndChoose(QComboBox* box, const QString& item, Way way, Opener opener = Opener::AltDown)
{
    return open(box, opener) && choose(box, item, way);
}

// A turn of the mouse wheel over the middle of the closed box (positive: away from the user), given
// to the part of the box under the pointer as an event of the window system, which the parts that
// take no wheel hand on to the box.
inline void turnWheel(QComboBox* box, int steps)
{
    const QPoint local = box->rect().center();
    QWidget* under = box->childAt(local);
    QWidget* target = under ? under : box;
    const QPoint at = target == box ? local : target->mapFrom(box, local);
    QWheelEvent wheel(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Delivered as QTest delivers its key events: sendEvent would take the mark of the window
    // system off the event, and an unmarked wheel event goes no further than its first receiver.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(target, &wheel);
}

} // namespace DropDowns
