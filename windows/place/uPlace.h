#pragma once
// windows/place: where windows stand: outer places and frames (uPlace), the
// rules of the sticky windows (uSnap) and their use on the windows (uSticky).
//
// Where windows stand. Places and sizes that the program stores or computes
// ("below the main window", Left, Top, Width, Height) are those of the outer
// window, with its frame and title bar.
//
// The frame of a window is known once the window manager has stated it. A
// placing rule asks the manager before the window is mapped (where the
// manager answers such questions); until a frame is known, the frame of a
// framed window of the same kind stands in for it (an estimate), and a place
// computed with an estimate is computed again when the real frame becomes
// known (PlaceWindow). A frame that cannot be one (a negative or huge border)
// counts as unknown.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

// The outer rectangle of a top-level window, frame and title bar included.
// While the window's frame is unknown, that of the estimate it was placed with.
QRect OuterRect(const QWidget* window);
// Moves a top-level window so that its outer top-left corner is at `topLeft`.
void MoveOuter(QWidget* window, const QPoint& topLeft);
// The outer top-left corner right below a window's outer left edge.
QPoint BelowWindow(const QWidget* window);
// The work area of the screen a window stands on (the primary screen's when
// it stands on none).
QRect WorkArea(const QWidget* window);

// The frame around a top-level window's client area (left and right borders,
// title bar and top border, bottom border): the window system's once known,
// otherwise an estimate.
QMargins FrameMargins(const QWidget* window);
// True when FrameMargins(window) is the window system's own, not an estimate.
bool FrameKnown(const QWidget* window);
// The outer size a top-level window not yet shown will have at the client size
// `clientSize`: with the frame the window manager is asked for where it
// answers before a window is shown, else with FrameMargins'.
QSize ExpectedOuterSize(const QWidget* window, const QSize& clientSize);
// Resizes a top-level window so that its outer size becomes `outerSize`.
void ResizeOuter(QWidget* window, const QSize& outerSize);

// A window's outer rectangle brought into the work area: no larger than it,
// its top edge (the title bar) on it and at least a strip of the window on it
// across and down. A stored place and size goes through this before use.
QRect FitToWorkArea(const QRect& outer, const QRect& workArea);
// Gives a window a stored (or default) client size, then places it, as a
// PlaceWindow rule, at the outer top-left corner `outerTopLeft` gives; both
// brought into the work area.
void PlaceInWorkArea(QWidget* window, std::function<QPoint()> outerTopLeft, const QSize& clientSize);

// The outer top-left corner of a window of outer size `outerSize` that opens
// "below the main window" `mainOuter`: below it, or above it where there is
// no room below, and whole on the work area.
QPoint BelowOnWorkArea(const QRect& mainOuter, const QSize& outerSize, const QRect& workArea);
// The same for `window` as it is sized now, on the main window's work area.
QPoint BelowMainOnWorkArea(const QWidget* window, const QWidget* main);
// Places a dialog, page window or file window below the main window `main`
// (BelowOnWorkArea), as a PlaceWindow rule.
void PlaceBelowMain(QWidget* window, const QWidget* main);

// Runs `rule` (which places `window`) now, and again whenever the window
// system makes known a frame other than the one the rule used, until the
// windows it read are on the screen with known frames, or MoveOuter places
// the window otherwise. A new rule for the same window replaces the old one.
void PlaceWindow(QWidget* window, std::function<void()> rule);
// True while some place may still be computed again: a frame it read is not
// known yet, or (where the window manager states frames) a window it read is
// not on the screen yet.
bool PlacesPending();
// Runs now the rules whose frames have become known or changed (the window
// system's news may still wait in the event queue); before places are stored.
void SettlePlaces();

// The window system's frame of a window, or nothing while it has not framed
// the window yet. Tests put a fake frame in its place; an empty source gives
// the window system's frames back.
using TFrameSource = std::function<std::optional<QMargins>(const QWidget*)>;
void SetFrameSource(TFrameSource source);
