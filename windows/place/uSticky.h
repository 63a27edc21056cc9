#pragma once
// Sticky windows on screen: the rules of uSnap applied to the program's
// windows. A window takes part with one call when it is created; the rules run
// when the user has moved it (through the window system: its title bar, its
// frame, the keyboard), once it has stood still; the program's own placing of
// its windows is left alone.
class QAction;
class QWidget;

enum class TStickyKind {
  Parameter,  // parameter editor: four places beside the main window, Dockable 0..4
  Statistic,  // statistics window: the same
  View,       // field view: the place below the main window, Dockable 0..1
  Dialog,     // dialogs, page windows, file window: the place below the main window
  None,       // no sticky rule (only the window's own screen snapping, if asked)
};

// The main window: the option ("Липкие окна"), the snapping distance and the
// Moving flag are the main window's own fields; the mechanism reads and sets them.
void InstallStickyMain(QWidget* main, QAction* option, const int* snapBuffer, bool* moving);

// Any other window. `dockable` is the window's Dockable field (parameter
// editor, statistics window, field view). `screenSnap`: the window also snaps
// to the work area's edges by itself, whatever the option, after the sticky rule.
void InstallSticky(QWidget* window, TStickyKind kind, unsigned char* dockable = nullptr, bool screenSnap = false);

// How long a moved window stands still before the rules apply to it: window
// systems report a drag once at its end or many times along it.
inline constexpr int StickySettleMs = 100;

// Applies the rules now to every window whose move waits for them.
void FinishStickyMoves();
