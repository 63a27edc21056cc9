#pragma once
// Where windows stand. Places and sizes that the program stores or computes
// ("below the main window", Left, Top, Width, Height) are those of the outer
// window, with its frame and title bar.
#include <QPoint>
#include <QRect>

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
