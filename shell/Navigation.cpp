#include "shell/Navigation.h"

#include "shell/Avvio.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace Navigation {

namespace {

class LauncherReturn : public QObject
{
public:
    LauncherReturn(QWidget* window, AppContext& ctx, std::function<bool()> mayClose)
        : QObject(window), m_ctx(ctx), m_mayClose(std::move(mayClose))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        if (m_mayClose && !m_mayClose()) {
            event->ignore();
            return true;
        }
        // The launcher comes first, so that the application never finds itself without a visible
        // window; the close then hides this one.
        showLauncher(m_ctx);
        return false;
    }

private:
    AppContext& m_ctx;
    std::function<bool()> m_mayClose;
};

class ModalWatcher : public QObject
{
public:
    explicit ModalWatcher(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop& m_loop;
};

} // namespace

bool showLauncher(AppContext& ctx)
{
    QWidget* launcher = ctx.frmAvvio;
    if (!launcher)
        return false;
    launcher->show();
    launcher->raise();
    launcher->activateWindow();
    return true;
}

void returnToLauncherOnClose(QWidget* window, AppContext& ctx, std::function<bool()> mayClose)
{
    window->installEventFilter(new LauncherReturn(window, ctx, std::move(mayClose)));
}

namespace detail {

void runModalLoop(QWidget* companion)
{
    if (!companion->isWindow())
        companion->setWindowFlags(companion->windowFlags() | Qt::Window);
    // Closing only hides the companion; it is deleted below, once its loop has returned. A screen
    // reader or an automation tool can close it while a message box, a file or print dialog or
    // another companion runs its own loop inside one of its commands: deleted then (as
    // WA_DeleteOnClose would, from that inner loop), it would take that box with it from under its
    // caller's feet. Every loop started inside the companion lies above this one on the stack, so
    // when this one returns they all have, and the command that ran them has ended.
    companion->setAttribute(Qt::WA_DeleteOnClose, false);
    companion->setWindowModality(Qt::ApplicationModal);

    QPointer<QWidget> guard(companion);
    QEventLoop loop;
    ModalWatcher watcher(loop);
    companion->installEventFilter(&watcher);
    QObject::connect(companion, &QObject::destroyed, &loop, &QEventLoop::quit);
    companion->show();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    // Gone once it has closed, however it closed.
    if (guard) {
        guard->removeEventFilter(&watcher);
        delete guard.data();
    }
}

} // namespace detail

} // namespace Navigation
