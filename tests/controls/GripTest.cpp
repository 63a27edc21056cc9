#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/KitConst.h"
#include "controls/ZeltorStatusBar.h"

namespace {

struct TGripFixture {
  QWidget form;
  TZeltorStatusBar* grip;
  TGripFixture() {
    form.setWindowFlags(Qt::FramelessWindowHint);
    form.setGeometry(100, 100, 200, 150);
    form.setMinimumSize(120, 50);
    grip = new TZeltorStatusBar(&form);
    grip->SetForm(&form);
    form.show();
  }
  // Press at (8, 8) of the grip, move by (dx, dy), release.
  void Drag(int dx, int dy, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Press(grip, QPoint(8, 8), Qt::LeftButton, m);
    MoveHeld(grip, QPoint(8 + dx, 8 + dy));
    Release(grip, QPoint(8 + dx, 8 + dy));
  }
};

}  // namespace

TEST(Grip, SitsInItsCornerAndFollowsIt) {
  TGripFixture f;
  EXPECT_EQ(f.grip->size(), QSize(16, 16));
  f.grip->SetCorner(4);
  EXPECT_EQ(f.grip->pos(), QPoint(184, 134));
  EXPECT_EQ(f.grip->cursor().shape(), Qt::SizeFDiagCursor);
  f.grip->SetCorner(2);
  EXPECT_EQ(f.grip->pos(), QPoint(0, 134));
  EXPECT_EQ(f.grip->cursor().shape(), Qt::SizeBDiagCursor);
  f.grip->SetCorner(3);
  EXPECT_EQ(f.grip->pos(), QPoint(184, 0));
  f.form.resize(260, 150);
  EXPECT_EQ(f.grip->pos(), QPoint(244, 0));
  // corner 0 keeps the place
  f.grip->SetCorner(0);
  f.form.resize(300, 200);
  EXPECT_EQ(f.grip->pos(), QPoint(244, 0));
  EXPECT_FALSE(f.grip->testAttribute(Qt::WA_SetCursor));
}

TEST(Grip, DraggingResizesTheForm) {
  TGripFixture f;
  f.grip->SetCorner(4);
  f.Drag(30, 20);
  EXPECT_EQ(f.form.geometry(), QRect(100, 100, 230, 170));
  EXPECT_EQ(f.grip->pos(), QPoint(214, 154));
  EXPECT_FALSE(f.grip->Dragging());

  // a top-left corner moves the left and top edges, the others stay
  f.grip->SetCorner(1);
  f.Drag(-10, -5);
  EXPECT_EQ(f.form.geometry(), QRect(90, 95, 240, 175));
  // past the minimum: minimum size, right and bottom edges where they were
  f.Drag(500, 500);
  EXPECT_EQ(f.form.geometry(), QRect(210, 220, 120, 50));

  f.grip->SetCorner(2);  // bottom-left: left edge and height
  f.Drag(-10, 10);
  EXPECT_EQ(f.form.geometry(), QRect(200, 220, 130, 60));
  f.grip->SetCorner(3);  // top-right: width and top edge
  f.Drag(10, -10);
  EXPECT_EQ(f.form.geometry(), QRect(200, 210, 140, 70));
}

TEST(Grip, OnlyAPlainLeftPressStartsADrag) {
  TGripFixture f;
  f.grip->SetCorner(4);
  const QRect before = f.form.geometry();
  f.Drag(30, 30, Qt::ControlModifier);
  f.Drag(30, 30, Qt::ShiftModifier);
  Press(f.grip, QPoint(8, 8), Qt::RightButton);
  MoveHeld(f.grip, QPoint(40, 40), Qt::RightButton);
  Release(f.grip, QPoint(40, 40), Qt::RightButton);
  EXPECT_EQ(f.form.geometry(), before);

  // a modifier pressed during the drag does not stop it
  Press(f.grip, QPoint(8, 8));
  MoveHeld(f.grip, QPoint(18, 8), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(f.form.width(), before.width() + 10);
  // any release ends it
  Release(f.grip, QPoint(18, 8), Qt::RightButton);
  EXPECT_FALSE(f.grip->Dragging());
}

TEST(Grip, WithoutFormOrParent) {
  TGripFixture f;
  f.grip->SetForm(nullptr);
  f.grip->SetCorner(4);
  const QRect before = f.form.geometry();
  f.Drag(20, 20);
  EXPECT_EQ(f.form.geometry(), before);

  // no parent: the corner is stored and nothing moves; with a parent it moves
  TZeltorStatusBar loose;
  loose.SetCorner(4);
  EXPECT_EQ(loose.Corner(), 4);
  EXPECT_EQ(loose.pos(), QPoint(0, 0));
  QWidget parent;
  parent.resize(100, 80);
  loose.setParent(&parent);
  loose.SetCorner(4);
  EXPECT_EQ(loose.pos(), QPoint(84, 64));
  loose.setParent(nullptr);
}

TEST(Grip, RibsInTheCornerColours) {
  QWidget host;
  host.resize(16, 16);
  auto* grip = new TZeltorStatusBar(&host);
  grip->SetCorner(4);
  const QImage image = Picture(grip);
  // origin (14, 14); stroke 2 starts at (12, 14), stroke 4 at (10, 14)
  EXPECT_EQ(PixelAt(image, 12, 14), Rgb(clBtnShadow()));
  EXPECT_EQ(PixelAt(image, 13, 13), Rgb(clBtnShadow()));
  EXPECT_EQ(PixelAt(image, 10, 14), Rgb(clBtnHighlight()));
  EXPECT_EQ(PixelAt(image, 14, 12), PixelAt(image, 0, 0));  // end point left out
  grip->SetCorner(1);
  const QImage top = Picture(grip);
  EXPECT_EQ(PixelAt(top, 4, 2), Rgb(clBtnHighlight()));
  EXPECT_EQ(PixelAt(top, 6, 2), Rgb(clBtnShadow()));
}
