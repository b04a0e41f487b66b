#pragma once

// How the windows lead to one another: the launcher, home of the work areas, that a work area's
// window hands back to when it closes; and the companion windows that a window opens and runs
// modally until they close:
//
//     Navigation::returnToLauncherOnClose(this, m_ctx);
//     Navigation::runModal<TfrmAllegaCartella>(this, m_ctx, [&](TfrmAllegaCartella& frm) { ... });

#include "shell/AppContext.h"

#include <functional>
#include <utility>

class QWidget;

namespace Navigation {

// Shows the launcher (the home of the work areas). False when there is none in the context.
bool showLauncher(AppContext& ctx);

// For the single-instance work-area windows: closing the window shows the launcher again and
// hides the window (it is never destroyed before the end). When `mayClose` is given, it is asked
// first, and a false answer keeps the window open (for example to keep unsaved changes).
void returnToLauncherOnClose(QWidget* window, AppContext& ctx, std::function<bool()> mayClose = {});

namespace detail {
void runModalLoop(QWidget* companion);
}

// Creates a companion window `T(ctx, opener)`, lets `setup` fill it in, shows it modally and waits
// until it closes; the companion is owned by the opener meanwhile and destroyed when it has closed,
// so every opening starts from its design state. A command of the companion that is still running
// when it closes (one closed behind its own message box) ends first: the companion is never deleted
// from an event loop running inside it. A companion hands its results back by a signal that
// `setup` connects to the opener.
template <class T, class Setup> void runModal(QWidget* opener, AppContext& ctx, Setup&& setup)
{
    auto* companion = new T(ctx, opener);
    std::forward<Setup>(setup)(*companion);
    detail::runModalLoop(companion);
}
template <class T> void runModal(QWidget* opener, AppContext& ctx)
{
    runModal<T>(opener, ctx, [](T&) {});
}

} // namespace Navigation
