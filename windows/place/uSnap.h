#pragma once
// The rules of the sticky windows over plain rectangles: snapping to the edges
// of the screen's work area, the places around the main window, docking of the
// tool windows and the moves of the docked ones when the main window moves.
// Nothing here touches a window; uSticky applies the rules to the windows.
//
// Rectangles are outer ones (frame and title bar included). A window's
// proposed place is where it is about to stand (x, y, width cx, height cy).
#include <optional>

struct TSnapPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TSnapPoint&) const = default;
};

struct TSnapRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Right() const { return Left + Width; }    // one past the last column
  int Bottom() const { return Top + Height; }   // one past the last row
  TSnapPoint TopLeft() const { return {Left, Top}; }
};

// a is near b when they lie at most `buffer` apart.
bool SnapNear(int a, int b, int buffer);

// A proposal that puts the window's left exactly on the work area's left, or
// its top exactly on the work area's top, is left alone by every rule.
bool SnapEdgeStops(int x, int y, const TSnapRect& work);

// Pulls x and y onto the work area's edges they are near: left, then right
// (x := right - cx), then top, then bottom (y := bottom - cy); a later match wins.
void SnapToWorkArea(int& x, int& y, int cx, int cy, const TSnapRect& work, int buffer);

// The places of a docked parameter editor or statistics window of width
// `width` beside the main window `main`: 1 left and below the main window's
// top by its height, 2 left with the tops level, 3 and 4 the same on the right.
TSnapPoint DockPlace(int place, const TSnapRect& main, int width);
// Directly below the main window, left edges level (the field view's place 1
// and the dialogs' place).
TSnapPoint PlaceBelow(const TSnapRect& main);
// Where a dialog, a page window or the file window of the given outer size
// opens "below the main window": there when it fits on the work area, above
// the main window (bottom edges meeting its top) when only that fits, and
// otherwise as low as the work area lets it stand; moved across so that it
// stands on the work area whole (its left edge first, when it is wider).
TSnapPoint PlaceBelowOnWorkArea(const TSnapRect& main, int width, int height, const TSnapRect& work);

// The rule of a window other than the main window.
enum class TSnapMember {
  Beside,  // parameter editor, statistics window: places 1 to 4, records Dockable
  Below,   // field view: the place below the main window, records Dockable 1
  Dialog,  // the place below the main window, records nothing, ignores Moving
};

struct TMemberSnap {
  TSnapRect Proposed;
  TSnapRect Main;  // the main window where it stands
  TSnapRect Work;
  int Buffer = 10;
  bool Option = false;  // "Липкие окна"
  bool Moving = false;  // the main window is carrying its docked windows
  unsigned char Dockable = 0;
};

struct TMemberSnapResult {
  TSnapPoint Pos;
  unsigned char Dockable = 0;
};

TMemberSnapResult SnapMember(TSnapMember member, const TMemberSnap& in);

// A tool window as the main window's rule sees it.
struct TSnapTool {
  bool Exists = false;
  TSnapRect Rect;  // where it stands now
  unsigned char Dockable = 0;
};

struct TMainSnap {
  TSnapRect Proposed;
  TSnapRect Main;  // where the main window stood before this move
  TSnapRect Work;
  int Buffer = 10;
  bool Option = false;
  TSnapTool View, Statistic, Parameter;
};

struct TMainSnapResult {
  TSnapPoint Pos;
  bool Moving = false;
  unsigned char ViewDockable = 0, StatisticDockable = 0, ParameterDockable = 0;
  // Where the docked windows go, to be moved in this order: parameter editor,
  // statistics window, field view. Empty for a window that stays.
  std::optional<TSnapPoint> ParameterMove, StatisticMove, ViewMove;
};

// The main window: always snaps to the work area; with the option on, also
// keeps its docked windows against the work area's edges and carries them
// along; with the option off, undocks all three tool windows.
TMainSnapResult SnapMainWindow(const TMainSnap& in);
