// Window places by the outer rectangle, with frames the window system tells
// only once a window is on the screen.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/windows/FakeFrame.h"
#include "tests/windows/MainFixture.h"
#include "windows/place/uPlace.h"

namespace {

TEST(FitToWorkArea, KeepsAWindowOnTheWorkAreaAndNoLargerThanIt) {
  const QRect work(0, 0, 1280, 994);
  // A place on the work area stays as it is.
  EXPECT_EQ(FitToWorkArea(QRect(230, 78, 450, 91), work), QRect(230, 78, 450, 91));
  // Partly off the left and right edges is allowed while a strip stays on it.
  EXPECT_EQ(FitToWorkArea(QRect(-300, 78, 450, 91), work), QRect(-300, 78, 450, 91));
  EXPECT_EQ(FitToWorkArea(QRect(1200, 78, 450, 91), work), QRect(1200, 78, 450, 91));
  // Far off: brought back so that 64 pixels show; the title bar never above the top.
  EXPECT_EQ(FitToWorkArea(QRect(5000, -50, 450, 91), work), QRect(1280 - 64, 0, 450, 91));
  EXPECT_EQ(FitToWorkArea(QRect(-5000, 5000, 450, 91), work), QRect(-450 + 64, 994 - 64, 450, 91));
  // Too large: the work area's size, and then on it.
  EXPECT_EQ(FitToWorkArea(QRect(100, 100, 100000, 2000000000), work), QRect(100, 100, 1280, 994));
  // Hand-edited extremes do not overflow.
  EXPECT_EQ(FitToWorkArea(QRect(2147483000, -2147483000, 10, 10), work), QRect(1270, 0, 10, 10));
  // A work area that does not start at the origin.
  EXPECT_EQ(FitToWorkArea(QRect(0, 0, 200, 100), QRect(100, 30, 800, 600)), QRect(0, 30, 200, 100));
}

TEST(WindowPlaces, OuterRectAndMoveOuterAgreeWithAFrame) {
  TestApplication();
  TFakeFrame frame;
  QWidget w;
  w.resize(200, 100);
  MoveOuter(&w, QPoint(50, 60));
  EXPECT_EQ(OuterRect(&w), QRect(50, 60, 208, 134));
  EXPECT_EQ(w.geometry(), QRect(54, 90, 200, 100));  // the client area inside the frame
  EXPECT_EQ(BelowWindow(&w), QPoint(50, 194));
  ResizeOuter(&w, QSize(300, 234));
  EXPECT_EQ(w.size(), QSize(292, 200));
}

TEST(WindowPlaces, TheViewStandsBelowTheMainWindowsFrameOnceItIsKnown) {
  TestApplication();
  TFakeFrame frame(/*onceShown=*/true);
  TMainForm form;
  // The field view and the statistics window were shown: their frames are
  // known; the main window's is not yet and is estimated from theirs.
  ASSERT_TRUE(FormView->isVisible());
  EXPECT_FALSE(FrameKnown(&form));
  // As far right as the statistics window is wider than 222 to fit its labels.
  const int left = 230 + FormStatistic->width() - 222;
  EXPECT_EQ(OuterRect(&form), QRect(left, 78, 442 + 6, 57 + 23));
  EXPECT_EQ(OuterRect(FormView).top(), 78 + 57 + 23);
  EXPECT_TRUE(PlacesPending());

  // Shown, the main window has its real frame: the view moves right below it.
  form.show();
  EXPECT_TRUE(FrameKnown(&form));
  const QRect main = OuterRect(&form);
  EXPECT_EQ(main, QRect(left, 78, 442 + 8, 57 + 34));
  EXPECT_EQ(OuterRect(FormView).topLeft(), QPoint(main.left(), main.bottom() + 1));
  // The statistics window left of it, tops level.
  EXPECT_EQ(OuterRect(FormStatistic).right() + 1, main.left());
  EXPECT_EQ(OuterRect(FormStatistic).top(), main.top());
  // The parameter window right of it, or against the work area's right edge;
  // it was never shown, so its own frame is still estimated and its place
  // waits for it.
  auto parameterLeft = [&] {
    return std::min(main.right() + 1, WorkArea(FormParameter).width() - OuterRect(FormParameter).width());
  };
  EXPECT_EQ(OuterRect(FormParameter).topLeft(), QPoint(parameterLeft(), main.top()));
  FormParameter->show();
  EXPECT_EQ(OuterRect(FormParameter).topLeft(), QPoint(parameterLeft(), main.top()));
  EXPECT_FALSE(PlacesPending());
}

TEST(WindowPlaces, APlaceMovedByTheUserIsNotComputedAgain) {
  TestApplication();
  TFakeFrame frame(/*onceShown=*/true);
  TMainForm form;
  MoveOuter(FormParameter, QPoint(10, 20));  // placed otherwise before its frame came
  form.show();
  FormParameter->show();
  EXPECT_EQ(OuterRect(FormParameter).topLeft(), QPoint(10, 20));
}

TEST(WindowPlaces, AFrameThatCannotBeOneCountsAsUnknown) {
  TestApplication();
  // Accounts of a frame such as come while a window is being mapped: negative
  // borders, or borders as wide as the window itself.
  for (const QMargins bad : {QMargins(-1, 20, 1, 5), QMargins(0, 0, -637, -346), QMargins(300, 20, 1, 5)}) {
    SetFrameSource([bad](const QWidget*) { return std::optional<QMargins>(bad); });
    QWidget w(nullptr, Qt::Tool);
    w.resize(200, 100);
    EXPECT_FALSE(FrameKnown(&w));
    // No window has a known frame to estimate from: none is assumed, and the
    // outer size asked for is the size the window gets, not a multiple of it.
    ResizeOuter(&w, QSize(640, 372));
    MoveOuter(&w, QPoint(50, 60));
    EXPECT_EQ(w.geometry(), QRect(50, 60, 640, 372));
    EXPECT_EQ(OuterRect(&w), QRect(50, 60, 640, 372));
  }
  SetFrameSource({});
}

}  // namespace
