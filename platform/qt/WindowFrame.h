#pragma once
// The frame that the window manager puts around a top-level window, as the
// manager itself states it. On X11 a manager that keeps to the desktop
// conventions writes the frame into the window's _NET_FRAME_EXTENTS property
// when it frames the window and, asked by a _NET_REQUEST_FRAME_EXTENTS
// message, already before the window is mapped. Elsewhere (no such manager,
// another window system) nothing is stated, and only the toolkit's own account
// of a window on the screen is there.
#include <QMargins>
#include <functional>
#include <optional>

class QWidget;

// True when a window manager that states frames is running.
bool WindowManagerStatesFrames();

// The frame the window manager has stated for `window`: while the window is
// shown and managed, the frame it has; otherwise the answer to AskFrame for
// its native window. Nothing while it has stated none.
std::optional<QMargins> StatedFrame(const QWidget* window);

// Asks the window manager which frame it will give `window` and waits at most
// `waitMs` milliseconds for the answer; true when it answered. The window's
// native window is created for that, and a stand-in window with its
// properties is asked about, so that the window itself is not touched.
bool AskFrame(QWidget* window, int waitMs);

// `changed` runs (from the event loop, once for a burst) after the window
// manager has stated a new frame for one of the program's windows.
void OnFrameStated(std::function<void()> changed);
