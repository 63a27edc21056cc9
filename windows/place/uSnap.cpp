#include "windows/place/uSnap.h"

#include <algorithm>
#include <cstdlib>

bool SnapNear(int a, int b, int buffer) { return std::abs(static_cast<long long>(a) - b) <= buffer; }

bool SnapEdgeStops(int x, int y, const TSnapRect& work) { return x == work.Left || y == work.Top; }

void SnapToWorkArea(int& x, int& y, int cx, int cy, const TSnapRect& work, int buffer) {
  const int right = work.Right() - cx;
  const int bottom = work.Bottom() - cy;
  if (SnapNear(work.Left, x, buffer)) x = work.Left;
  if (SnapNear(right, x, buffer)) x = right;
  if (SnapNear(work.Top, y, buffer)) y = work.Top;
  if (SnapNear(bottom, y, buffer)) y = bottom;
}

TSnapPoint DockPlace(int place, const TSnapRect& main, int width) {
  const int left = place <= 2 ? main.Left - width : main.Right();
  const int top = place % 2 == 1 ? main.Bottom() : main.Top;
  return {left, top};
}

TSnapPoint PlaceBelow(const TSnapRect& main) { return {main.Left, main.Bottom()}; }

TSnapPoint PlaceBelowOnWorkArea(const TSnapRect& main, int width, int height, const TSnapRect& work) {
  TSnapPoint p = PlaceBelow(main);
  const int lowest = std::max(work.Top, work.Bottom() - height);
  if (p.Y > lowest) {
    const int above = main.Top - height;
    p.Y = above >= work.Top ? above : lowest;
  }
  p.Y = std::clamp(p.Y, work.Top, lowest);
  p.X = std::clamp(p.X, work.Left, std::max(work.Left, work.Right() - width));
  return p;
}

TMemberSnapResult SnapMember(TSnapMember member, const TMemberSnap& in) {
  TMemberSnapResult r{in.Proposed.TopLeft(), in.Dockable};
  int& x = r.Pos.X;
  int& y = r.Pos.Y;
  const bool dialog = member == TSnapMember::Dialog;
  if (in.Option && (dialog || !in.Moving) && !SnapEdgeStops(x, y, in.Work)) {
    if (!dialog) r.Dockable = 0;
    SnapToWorkArea(x, y, in.Proposed.Width, in.Proposed.Height, in.Work, in.Buffer);
    auto tryPlace = [&](TSnapPoint place, unsigned char number) {
      if (!SnapNear(place.X, x, in.Buffer) || !SnapNear(place.Y, y, in.Buffer)) return;
      r.Pos = place;
      if (!dialog) r.Dockable = number;
    };
    if (member == TSnapMember::Beside) {
      for (unsigned char place = 1; place <= 4; ++place) tryPlace(DockPlace(place, in.Main, in.Proposed.Width), place);
    } else {
      tryPlace(PlaceBelow(in.Main), 1);
    }
  }
  if (!in.Option && !dialog) r.Dockable = 0;
  return r;
}

namespace {

// A docked parameter editor or statistics window keeps the main window and
// itself together against the work area's edges; returns its offset from the
// main window.
TSnapPoint KeepBesideOnScreen(const TSnapTool& tool, const TMainSnap& in, int& x, int& y) {
  const TSnapRect& m = in.Main;
  const TSnapRect& t = tool.Rect;
  const TSnapPoint offset{m.Left - t.Left, m.Top - t.Top};
  if (SnapNear(in.Work.Left + t.Width, x, in.Buffer)) x = in.Work.Left + t.Width;
  if (SnapNear(in.Work.Right() - m.Width - t.Width, x, in.Buffer)) x = in.Work.Right() - m.Width - t.Width;
  int bottom = 0;
  bool test = true;
  switch (tool.Dockable) {
    case 1:
    case 3: bottom = in.Work.Bottom() - t.Height - m.Height; break;
    case 2:
    case 4: bottom = in.Work.Bottom() - t.Height; break;
    default: test = false;
  }
  if (test && SnapNear(bottom, y, in.Buffer)) y = bottom;
  return offset;
}

}  // namespace

TMainSnapResult SnapMainWindow(const TMainSnap& in) {
  TMainSnapResult r;
  r.Pos = in.Proposed.TopLeft();
  r.ViewDockable = in.View.Dockable;
  r.StatisticDockable = in.Statistic.Dockable;
  r.ParameterDockable = in.Parameter.Dockable;
  int& x = r.Pos.X;
  int& y = r.Pos.Y;
  if (SnapEdgeStops(x, y, in.Work)) return r;
  r.Moving = true;
  SnapToWorkArea(x, y, in.Proposed.Width, in.Proposed.Height, in.Work, in.Buffer);
  if (!in.Option) {
    if (in.View.Exists) r.ViewDockable = 0;
    if (in.Statistic.Exists) r.StatisticDockable = 0;
    if (in.Parameter.Exists) r.ParameterDockable = 0;
    return r;
  }
  const TSnapRect& m = in.Main;
  const bool view = in.View.Exists && in.View.Dockable != 0;
  const bool statistic = in.Statistic.Exists && in.Statistic.Dockable != 0;
  const bool parameter = in.Parameter.Exists && in.Parameter.Dockable != 0;
  if (view) {
    const TSnapRect& v = in.View.Rect;
    if (SnapNear(in.Work.Right() - v.Width, x, in.Buffer)) x = in.Work.Right() - v.Width;
    if (SnapNear(in.Work.Bottom() - m.Height - v.Height, y, in.Buffer)) y = in.Work.Bottom() - m.Height - v.Height;
  }
  TSnapPoint statisticOffset, parameterOffset;
  if (statistic) statisticOffset = KeepBesideOnScreen(in.Statistic, in, x, y);
  if (parameter) parameterOffset = KeepBesideOnScreen(in.Parameter, in, x, y);
  if (parameter) r.ParameterMove = TSnapPoint{x - parameterOffset.X, y - parameterOffset.Y};
  if (statistic) r.StatisticMove = TSnapPoint{x - statisticOffset.X, y - statisticOffset.Y};
  if (view) r.ViewMove = TSnapPoint{x, y + m.Height};
  return r;
}
