#include "shell/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

LockWait waitCursorLockWait(std::chrono::milliseconds limit)
{
    LockWait wait;
    wait.limit = limit;
    // The lock is awaited in the operator's own action, with no events handled meanwhile: the
    // cursor is the only sign that the program is waiting, not stuck.
    wait.waiting = [](bool waiting) {
        if (waiting)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    };
    return wait;
}
