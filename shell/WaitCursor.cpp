#include "shell/WaitCursor.h"

#include "shell/ArchiveMessages.h"
#include "shell/Seams.h"

#include <QCursor>
#include <QGuiApplication>

#include <memory>
#include <utility>

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

LockWait programLockWait(Messages& messages, std::chrono::milliseconds limit)
{
    LockWait wait = waitCursorLockWait(limit);
    // Shared by every copy: the screens each hold one.
    auto warned = std::make_shared<bool>(false);
    // Said before the write goes ahead, over the window the operator is working in.
    wait.unlocked = [&messages, warned] {
        if (std::exchange(*warned, true))
            return;
        messages.notice(nullptr, NoticeKind::Warning, ArchiveMessages::UnlockedFolder);
    };
    return wait;
}
