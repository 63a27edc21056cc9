#pragma once
// Where windows stand. Places and sizes that the program stores or computes
// ("below the main window", Left, Top, Width, Height) are those of the outer
// window, with its frame and title bar.
//
// The window system tells a window's frame only once it has put the window on
// the screen. Until then the frame of a window it has framed stands in for it
// (an estimate), and a place computed with an estimate is computed again when
// the real frame becomes known (PlaceWindow).
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

// The outer rectangle of a top-level window, frame and title bar included.
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

// Runs `rule` (which places `window`) now, and again whenever the window
// system makes known a frame that the rule used an estimate of, until the rule
// runs on known frames only or MoveOuter places the window otherwise. A new
// rule for the same window replaces the old one.
void PlaceWindow(QWidget* window, std::function<void()> rule);
// True while some place still waits for a frame to become known.
bool PlacesPending();

// The window system's frame of a window, or nothing while it has not framed
// the window yet. Tests put a fake frame in its place; an empty source gives
// the window system's frames back.
using TFrameSource = std::function<std::optional<QMargins>(const QWidget*)>;
void SetFrameSource(TFrameSource source);
