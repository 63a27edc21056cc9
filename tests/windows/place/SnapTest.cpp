// The sticky windows' rules on rectangles.
#include <gtest/gtest.h>

#include "windows/place/uSnap.h"

namespace {

const TSnapRect Work{0, 0, 1280, 994};  // a screen with a 30-pixel panel at the bottom

// The main window 444 x 78 where it stands, the statistics window docked at
// place 2 (left, tops level), the parameter editor at place 3, the view below.
struct TLayout {
  TSnapRect Main{400, 200, 444, 78};
  TSnapRect Statistic{400 - 224, 200, 224, 388};
  TSnapRect Parameter{400 + 444, 200 + 78, 300, 420};
  TSnapRect View{400, 200 + 78, 455, 500};

  TMainSnap Move(int x, int y, bool option = true) const {
    TMainSnap in;
    in.Proposed = {x, y, Main.Width, Main.Height};
    in.Main = Main;
    in.Work = Work;
    in.Buffer = 10;
    in.Option = option;
    in.Statistic = {true, Statistic, 2};
    in.Parameter = {true, Parameter, 3};
    in.View = {true, View, 1};
    return in;
  }
};

TMemberSnap Member(TSnapRect proposed, const TSnapRect& main, bool option = true, bool moving = false,
                   unsigned char dockable = 0) {
  TMemberSnap in;
  in.Proposed = proposed;
  in.Main = main;
  in.Work = Work;
  in.Buffer = 10;
  in.Option = option;
  in.Moving = moving;
  in.Dockable = dockable;
  return in;
}

}  // namespace

TEST(SnapRules, WorkAreaEdgesPullWithinTheBufferAndTheLaterTestWins) {
  int x = 1280 - 444 - 8, y = 500;
  SnapToWorkArea(x, y, 444, 78, Work, 10);
  EXPECT_EQ(x, 1280 - 444);
  EXPECT_EQ(y, 500);

  x = 11, y = 994 - 78 - 10;  // 11 from the left stays, 10 from the bottom snaps
  SnapToWorkArea(x, y, 444, 78, Work, 10);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 994 - 78);

  // Nearly as wide as the work area: both sides are near, the right one wins.
  x = 5, y = -7;
  SnapToWorkArea(x, y, 1270, 100, Work, 10);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 0);

  // The work area need not start at the screen's corner.
  const TSnapRect offset{100, 50, 800, 600};
  x = 95, y = 50 + 600 - 40 + 3;
  SnapToWorkArea(x, y, 200, 40, offset, 10);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 610);
}

TEST(SnapRules, MainWindowSnapsToTheEdgesWithTheOptionOnOrOff) {
  const TLayout l;
  for (bool option : {true, false}) {
    TMainSnap in = l.Move(1280 - 444 - 8, 500, option);
    in.Statistic.Exists = in.Parameter.Exists = in.View.Exists = false;
    const TMainSnapResult r = SnapMainWindow(in);
    EXPECT_EQ(r.Pos, (TSnapPoint{1280 - 444, 500})) << option;
    EXPECT_TRUE(r.Moving);
  }
}

TEST(SnapRules, MainWindowExactlyOnTheLeftOrTopEdgeIsLeftAlone) {
  const TLayout l;
  for (const TSnapPoint at : {TSnapPoint{0, 300}, TSnapPoint{5, 0}}) {
    for (bool option : {true, false}) {
      const TMainSnapResult r = SnapMainWindow(l.Move(at.X, at.Y, option));
      EXPECT_EQ(r.Pos, at);  // not even the top or left snap
      EXPECT_FALSE(r.Moving);  // and Moving is cleared
      EXPECT_FALSE(r.ParameterMove || r.StatisticMove || r.ViewMove);
      // Not even the option's undocking.
      EXPECT_EQ(r.StatisticDockable, 2);
      EXPECT_EQ(r.ParameterDockable, 3);
      EXPECT_EQ(r.ViewDockable, 1);
    }
  }
}

TEST(SnapRules, MainWindowCarriesItsDockedWindowsKeepingTheirOffsets) {
  const TLayout l;
  const TMainSnapResult r = SnapMainWindow(l.Move(600, 150));
  EXPECT_EQ(r.Pos, (TSnapPoint{600, 150}));
  EXPECT_TRUE(r.Moving);
  ASSERT_TRUE(r.StatisticMove && r.ParameterMove && r.ViewMove);
  EXPECT_EQ(*r.StatisticMove, (TSnapPoint{600 - 224, 150}));
  EXPECT_EQ(*r.ParameterMove, (TSnapPoint{600 + 444, 150 + 78}));
  EXPECT_EQ(*r.ViewMove, (TSnapPoint{600, 150 + 78}));

  // The view goes below the main window whatever its offset was; the others
  // keep theirs, also when they were not exactly at a place.
  TMainSnap in = l.Move(600, 150);
  in.View.Rect.Left += 30;
  in.Statistic.Rect.Top += 17;
  const TMainSnapResult moved = SnapMainWindow(in);
  EXPECT_EQ(*moved.ViewMove, (TSnapPoint{600, 150 + 78}));
  EXPECT_EQ(*moved.StatisticMove, (TSnapPoint{600 - 224, 150 + 17}));

  // A window that is not docked, or does not exist, stays.
  in = l.Move(600, 150);
  in.Statistic.Dockable = 0;
  in.Parameter.Exists = false;
  const TMainSnapResult some = SnapMainWindow(in);
  EXPECT_FALSE(some.StatisticMove);
  EXPECT_FALSE(some.ParameterMove);
  EXPECT_TRUE(some.ViewMove);
}

TEST(SnapRules, DockedStatisticsAtPlaceTwoPutsTheMainWindowSoItsBottomMeetsTheWorkArea) {
  const TLayout l;
  TMainSnap in = l.Move(600, 994 - 388 - 7);  // the statistics window's bottom 7 above the edge
  in.Parameter.Exists = in.View.Exists = false;
  const TMainSnapResult r = SnapMainWindow(in);
  EXPECT_EQ(r.Pos, (TSnapPoint{600, 994 - 388}));
  ASSERT_TRUE(r.StatisticMove);
  EXPECT_EQ(r.StatisticMove->Y + l.Statistic.Height, 994);
  EXPECT_EQ(*r.StatisticMove, (TSnapPoint{600 - 224, 994 - 388}));

  // At place 1 it hangs below the main window's top by the main window's height.
  in.Statistic.Dockable = 1;
  in.Statistic.Rect.Top = l.Main.Top + l.Main.Height;
  in.Proposed.Top = 994 - 388 - 78 + 9;
  const TMainSnapResult one = SnapMainWindow(in);
  EXPECT_EQ(one.Pos.Y, 994 - 388 - 78);
  EXPECT_EQ(one.StatisticMove->Y + 388, 994);

  // Against the left edge: the main window stops where the statistics window meets it.
  in = l.Move(224 + 6, 300);
  in.Parameter.Exists = in.View.Exists = false;
  EXPECT_EQ(SnapMainWindow(in).Pos.X, 224);
  EXPECT_EQ(SnapMainWindow(in).StatisticMove->X, 0);
}

TEST(SnapRules, DockedViewAndParameterKeepTheGroupOnScreen) {
  const TLayout l;
  // The view below: its right edge and its bottom pull the main window.
  TMainSnap in = l.Move(1280 - 455 - 4, 994 - 78 - 500 + 6);
  in.Statistic.Exists = in.Parameter.Exists = false;
  TMainSnapResult r = SnapMainWindow(in);
  EXPECT_EQ(r.Pos, (TSnapPoint{1280 - 455, 994 - 78 - 500}));
  EXPECT_EQ(*r.ViewMove, (TSnapPoint{1280 - 455, 994 - 500}));

  // The parameter editor on the right: main and editor meet the right edge.
  in = l.Move(1280 - 444 - 300 - 9, 300);
  in.Statistic.Exists = in.View.Exists = false;
  r = SnapMainWindow(in);
  EXPECT_EQ(r.Pos.X, 1280 - 444 - 300);
  EXPECT_EQ(r.ParameterMove->X + 300, 1280);

  // Both tool windows match: the parameter editor's test comes later and wins.
  in = l.Move(500, 300);
  in.View.Exists = false;
  in.Statistic.Rect.Width = 560 + 5;  // its own left-edge test would put x at 565
  in.Parameter.Rect.Width = 1280 - 444 - 500 + 3;  // its right-edge test puts x at 497
  r = SnapMainWindow(in);
  EXPECT_EQ(r.Pos.X, 497);
}

TEST(SnapRules, OptionOffUndocksAllThreeAndOnAgainDocksNone) {
  const TLayout l;
  const TMainSnapResult off = SnapMainWindow(l.Move(600, 150, false));
  EXPECT_TRUE(off.Moving);
  EXPECT_EQ(off.StatisticDockable, 0);
  EXPECT_EQ(off.ParameterDockable, 0);
  EXPECT_EQ(off.ViewDockable, 0);
  EXPECT_FALSE(off.ParameterMove || off.StatisticMove || off.ViewMove);

  TMainSnap again = l.Move(620, 170, true);
  again.Statistic.Dockable = again.Parameter.Dockable = again.View.Dockable = 0;
  const TMainSnapResult on = SnapMainWindow(again);
  EXPECT_EQ(on.StatisticDockable + on.ParameterDockable + on.ViewDockable, 0);
  EXPECT_FALSE(on.ParameterMove || on.StatisticMove || on.ViewMove);

  // A tool window moved by itself with the option off undocks too, and does not snap.
  const TMemberSnapResult tool = SnapMember(TSnapMember::Beside, Member({3, 300, 224, 388}, l.Main, false, false, 2));
  EXPECT_EQ(tool.Dockable, 0);
  EXPECT_EQ(tool.Pos, (TSnapPoint{3, 300}));
}

TEST(SnapRules, ToolWindowDocksAtTheNearestMatchingPlace) {
  const TLayout l;
  const TSnapRect& m = l.Main;
  const int w = 300, h = 420;
  const TSnapPoint places[4] = {{m.Left - w, m.Bottom()}, {m.Left - w, m.Top}, {m.Right(), m.Bottom()}, {m.Right(), m.Top}};
  for (int p = 1; p <= 4; ++p) EXPECT_EQ(DockPlace(p, m, w), places[p - 1]) << p;

  // 5 pixels from place 4 (either way, either axis).
  for (const TSnapPoint d : {TSnapPoint{5, 0}, TSnapPoint{-5, 5}, TSnapPoint{0, -5}}) {
    const TMemberSnapResult r =
        SnapMember(TSnapMember::Beside, Member({places[3].X + d.X, places[3].Y + d.Y, w, h}, m));
    EXPECT_EQ(r.Dockable, 4);
    EXPECT_EQ(r.Pos, places[3]);
  }
  // 11 pixels from every place: nothing, and the window stays where dropped.
  const TMemberSnapResult far = SnapMember(TSnapMember::Beside, Member({places[3].X + 11, places[3].Y, w, h}, m, true, false, 4));
  EXPECT_EQ(far.Dockable, 0);
  EXPECT_EQ(far.Pos, (TSnapPoint{places[3].X + 11, places[3].Y}));

  // The main window is carrying it: no snapping, Dockable kept.
  const TMemberSnapResult carried = SnapMember(TSnapMember::Beside, Member({places[3].X + 5, places[3].Y, w, h}, m, true, true, 2));
  EXPECT_EQ(carried.Dockable, 2);
  EXPECT_EQ(carried.Pos, (TSnapPoint{places[3].X + 5, places[3].Y}));

  // Exactly on the work area's left edge: nothing at all, Dockable kept.
  const TSnapRect left{0, 0, 444, 78};
  const TMemberSnapResult edge = SnapMember(TSnapMember::Beside, Member({0, 80, w, h}, left, true, false, 3));
  EXPECT_EQ(edge.Dockable, 3);
  EXPECT_EQ(edge.Pos, (TSnapPoint{0, 80}));

  // A place that the work-area snapping reached first still docks.
  const TSnapRect high{500, 3, 444, 78};
  const TMemberSnapResult top = SnapMember(TSnapMember::Beside, Member({944 + 4, 7, w, h}, high));
  EXPECT_EQ(top.Dockable, 4);
  EXPECT_EQ(top.Pos, (TSnapPoint{944, 3}));
}

TEST(SnapRules, ViewDocksBelowAndDialogsSnapBelowRecordingNothing) {
  const TLayout l;
  const TSnapRect& m = l.Main;
  const TMemberSnapResult view = SnapMember(TSnapMember::Below, Member({m.Left + 6, m.Bottom() - 4, 455, 500}, m));
  EXPECT_EQ(view.Dockable, 1);
  EXPECT_EQ(view.Pos, (TSnapPoint{m.Left, m.Bottom()}));
  const TMemberSnapResult loose = SnapMember(TSnapMember::Below, Member({m.Left + 30, m.Bottom(), 455, 500}, m, true, false, 1));
  EXPECT_EQ(loose.Dockable, 0);

  // Dialogs snap below the main window also while it is carrying its windows,
  // and not at all with the option off.
  for (bool moving : {false, true}) {
    const TMemberSnapResult dialog =
        SnapMember(TSnapMember::Dialog, Member({m.Left - 7, m.Bottom() + 2, 350, 200}, m, true, moving));
    EXPECT_EQ(dialog.Pos, (TSnapPoint{m.Left, m.Bottom()}));
    EXPECT_EQ(dialog.Dockable, 0);
  }
  const TMemberSnapResult off = SnapMember(TSnapMember::Dialog, Member({m.Left - 7, 3, 350, 200}, m, false));
  EXPECT_EQ(off.Pos, (TSnapPoint{m.Left - 7, 3}));
}

TEST(SnapRules, DialogsOpenBelowTheMainWindowOrAboveItAndWholeOnTheWorkArea) {
  const TSnapRect main{400, 200, 444, 78};
  // Room below: right below, left edges level.
  EXPECT_EQ(PlaceBelowOnWorkArea(main, 350, 200, Work), (TSnapPoint{400, 278}));
  // The main window at the bottom of the work area: above it, bottom edges meeting its top.
  const TSnapRect low{400, 994 - 78, 444, 78};
  EXPECT_EQ(PlaceBelowOnWorkArea(low, 236, 270, Work), (TSnapPoint{400, 994 - 78 - 270}));
  // Exactly room below still opens below.
  EXPECT_EQ(PlaceBelowOnWorkArea(main, 350, 994 - 278, Work), (TSnapPoint{400, 278}));
  // Room on neither side: as low as the whole window fits, over the main window.
  EXPECT_EQ(PlaceBelowOnWorkArea(main, 350, 900, Work), (TSnapPoint{400, 94}));
  // Taller than the work area: its top edge on the work area's top.
  EXPECT_EQ(PlaceBelowOnWorkArea(main, 350, 2000, Work), (TSnapPoint{400, 0}));
  // Near the right edge or past the left one: moved across to stand on the work area whole.
  EXPECT_EQ(PlaceBelowOnWorkArea({1100, 200, 444, 78}, 640, 372, Work), (TSnapPoint{1280 - 640, 278}));
  EXPECT_EQ(PlaceBelowOnWorkArea({-100, 200, 444, 78}, 640, 372, Work), (TSnapPoint{0, 278}));
  // A work area that does not start at the origin, the main window above it.
  const TSnapRect work{100, 30, 800, 600};
  EXPECT_EQ(PlaceBelowOnWorkArea({150, -200, 444, 78}, 350, 200, work), (TSnapPoint{150, 30}));
}
