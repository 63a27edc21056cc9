#include <QGuiApplication>
#include <QLineEdit>
#include <QWindow>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "KitTestUtil.h"
#include "controls/KitCtrls.h"
#include "controls/ZeltorStatusBar.h"
#include "controls/fCombo.h"

namespace {

struct TComboFixture {
  QWidget owner;
  QWidget* anchor;
  TWindowCombo* combo;
  QListWidget* list;
  QRect work;
  int selects = 0;
  bool visibleInSelect = false;
  QString selected;
  TComboFixture() {
    work = QGuiApplication::primaryScreen()->availableGeometry();
    owner.setWindowFlags(Qt::FramelessWindowHint);
    owner.setGeometry(work.x() + 50, work.y() + 50, 300, 200);
    anchor = new QWidget(&owner);
    anchor->setGeometry(20, 30, 99, 21);
    owner.show();
    owner.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&owner));
    combo = new TWindowCombo(&owner, anchor);
    list = new QListWidget(combo);
    list->addItems({QStringLiteral("Black"), QStringLiteral("Lime"), QStringLiteral("Yellow")});
    combo->resize(150, 130);
    combo->SetFrame(list);
    combo->OnSelect = [this](QObject* sender) {
      EXPECT_EQ(sender, combo);
      ++selects;
      visibleInSelect = combo->isVisible();
      selected = list->currentItem() ? list->currentItem()->text() : QString();
    };
  }
  // Puts the anchor's top-left corner at a screen point.
  void AnchorAt(QPoint global) {
    owner.move(global - anchor->pos());
  }
};

}  // namespace

TEST(WindowCombo, BuiltWithStripButtonsAndGrip) {
  TComboFixture f;
  EXPECT_EQ(f.combo->SpeedButtonYes->Caption(), QStringLiteral("Да"));
  EXPECT_EQ(f.combo->SpeedButtonCancel->Caption(), QStringLiteral("Отмена"));
  EXPECT_TRUE(f.combo->SpeedButtonYes->Flat());
  EXPECT_EQ(f.combo->minimumWidth(), 120);
  EXPECT_EQ(f.combo->minimumHeight(), 50);
  EXPECT_TRUE(f.combo->GripVisible());
  EXPECT_FALSE(f.combo->Accepted());
  // buttons at the right end of the strip, "Да" directly left of "Отмена"
  const int panelWidth = f.combo->Panel->width();
  EXPECT_EQ(f.combo->SpeedButtonCancel->x(), panelWidth - 64 - 16);
  EXPECT_EQ(f.combo->SpeedButtonYes->x(), f.combo->SpeedButtonCancel->x() - 64);
  f.combo->SetGripVisible(false);
  EXPECT_TRUE(f.combo->Grip->isHidden());
  EXPECT_EQ(f.combo->SpeedButtonCancel->x(), panelWidth - 64 - 1);
}

TEST(WindowCombo, OpensBelowItsAnchorLeftEdgesAligned) {
  TComboFixture f;
  f.AnchorAt(f.work.topLeft() + QPoint(40, 40));
  f.combo->Show();
  const QPoint p = f.anchor->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(f.combo->geometry(), QRect(p.x(), p.y() + 21, 150, 130));
  EXPECT_TRUE(f.combo->StripAtBottom());
  EXPECT_EQ(f.combo->PanelBorder->geometry(), QRect(0, 130 - 24, 150, 24));
  EXPECT_EQ(f.combo->Grip->Corner(), 4);
  EXPECT_EQ(f.list->geometry(), QRect(0, 0, 150, 130 - 24));
  // the dark line shows around the inner panel
  const QImage strip = Picture(f.combo->PanelBorder);
  EXPECT_EQ(PixelAt(strip, 0, 5), Rgb(clWindowText()));
  EXPECT_EQ(PixelAt(strip, 50, 23), Rgb(clWindowText()));
  f.combo->FormDeactivate();
}

TEST(WindowCombo, OpensAboveWhenThereIsNoRoomBelow) {
  TComboFixture f;
  f.AnchorAt(QPoint(f.work.x() + 40, f.work.y() + f.work.height() - 60));
  f.combo->Show();
  const QPoint p = f.anchor->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(f.combo->geometry(), QRect(p.x(), p.y() - 130, 150, 130));
  EXPECT_FALSE(f.combo->StripAtBottom());
  EXPECT_EQ(f.combo->PanelBorder->geometry(), QRect(0, 0, 150, 24));
  EXPECT_EQ(f.combo->Grip->Corner(), 3);
  EXPECT_EQ(f.list->geometry(), QRect(0, 24, 150, 130 - 24));
  f.combo->FormDeactivate();
}

TEST(WindowCombo, RightEdgesAlignedNearTheRightOfTheWorkArea) {
  TComboFixture f;
  f.AnchorAt(QPoint(f.work.x() + f.work.width() - 100, f.work.y() + 40));
  f.combo->Show();
  const QPoint p = f.anchor->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(f.combo->geometry().right(), p.x() + 99 - 1);
  EXPECT_EQ(f.combo->Grip->Corner(), 2);
  f.combo->FormDeactivate();

  // wider than the work area: narrowed to it, never left of it
  f.combo->setMinimumSize(0, 0);
  f.combo->resize(f.work.width() + 200, 130);
  f.combo->Show();
  EXPECT_EQ(f.combo->x(), f.work.x());
  EXPECT_LE(f.combo->width(), f.work.width());
  f.combo->FormDeactivate();
}

TEST(WindowCombo, SizeConstraintsFollowTheAnchor) {
  TComboFixture f;
  f.anchor->resize(200, 21);
  f.combo->resize(60, 20);
  f.combo->Show();
  EXPECT_EQ(f.combo->width(), 200);
  EXPECT_EQ(f.combo->height(), 50);
  f.combo->FormDeactivate();
}

TEST(WindowCombo, YesAndEnterAcceptWhileVisible) {
  TComboFixture f;
  f.combo->Show();
  f.list->setCurrentRow(1);
  QTest::mouseClick(f.combo->SpeedButtonYes, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(f.selects, 1);
  EXPECT_TRUE(f.visibleInSelect);
  EXPECT_EQ(f.selected, QStringLiteral("Lime"));
  EXPECT_FALSE(f.combo->isVisible());
  EXPECT_TRUE(f.combo->Accepted());

  // again, with Enter in the frame's list
  f.combo->Show();
  f.list->setCurrentRow(2);
  EXPECT_TRUE(f.list->hasFocus());
  QTest::keyClick(f.list, Qt::Key_Return);
  EXPECT_EQ(f.selects, 2);
  EXPECT_EQ(f.selected, QStringLiteral("Yellow"));
  EXPECT_FALSE(f.combo->isVisible());

  // unassigned OnSelect: "Да" only hides it
  f.combo->OnSelect = nullptr;
  f.combo->Show();
  f.combo->SpeedButtonYesClick();
  EXPECT_FALSE(f.combo->isVisible());
}

TEST(WindowCombo, CancelEscapeAndClickOutsideDoNotSelect) {
  TComboFixture f;
  f.combo->Show();
  QTest::mouseClick(f.combo->SpeedButtonCancel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_FALSE(f.combo->isVisible());
  EXPECT_FALSE(f.combo->Accepted());

  f.combo->Show();
  QTest::keyClick(f.list, Qt::Key_Escape);
  EXPECT_FALSE(f.combo->isVisible());

  // accepted once, then closed by a click outside: the earlier acceptance
  // does not carry over
  f.combo->Show();
  f.combo->SpeedButtonYesClick();
  EXPECT_EQ(f.selects, 1);
  f.combo->Show();
  ASSERT_EQ(QApplication::activePopupWidget(), f.combo);
  // through the window system, as a real click: the pop-up sees it first
  QTest::mouseClick(f.owner.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(280, 190));
  EXPECT_FALSE(f.combo->isVisible());
  EXPECT_FALSE(f.combo->Accepted());
  EXPECT_EQ(f.selects, 1);
}

TEST(WindowCombo, AClickOutsideClosesItAndActsOnTheControlUnderTheMouse) {
  TComboFixture f;
  auto* group = new TKitSpeedButton(&f.owner);
  group->setGeometry(200, 60, 40, 22);
  group->SetGroupIndex(1);
  group->SetAllowAllUp(true);
  group->show();
  auto* other = new QLineEdit(&f.owner);
  other->setGeometry(200, 120, 90, 22);
  other->show();
  f.AnchorAt(f.work.topLeft() + QPoint(40, 40));
  f.combo->Show();
  ASSERT_TRUE(f.combo->isVisible());
  ASSERT_EQ(QApplication::activePopupWidget(), f.combo);
  ASSERT_FALSE(f.combo->geometry().contains(group->mapToGlobal(QPoint(5, 5))));

  // The pop-up keeps the mouse until the click's release has come (closed at
  // the press, the window system could still send that release to it, and the
  // click was lost), then closes without a result, and the whole click goes
  // to the button. Both come from the window system, as a user's click does.
  QWindow* window = f.owner.windowHandle();
  ASSERT_NE(window, nullptr);
  const QPoint onButton = group->mapTo(&f.owner, QPoint(5, 5));
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onButton);
  QApplication::processEvents();
  EXPECT_FALSE(group->Down());
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onButton);
  EXPECT_FALSE(f.combo->isVisible());
  EXPECT_EQ(f.selects, 0);
  EXPECT_TRUE(group->Down());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  // Quick clicks, press and release back to back: every one reaches the button.
  for (int i = 0; i < 3; ++i) {
    f.combo->Show();
    ASSERT_EQ(QApplication::activePopupWidget(), f.combo);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onButton);
    EXPECT_FALSE(f.combo->isVisible());
    EXPECT_EQ(group->Down(), i % 2 == 1) << i;
  }
  EXPECT_EQ(f.selects, 0);

  // Another edit box under the click takes the focus, so typing goes there.
  f.combo->Show();
  const QPoint onEdit = other->mapTo(&f.owner, QPoint(5, 5));
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onEdit);
  QApplication::processEvents();
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onEdit);
  EXPECT_FALSE(f.combo->isVisible());
  EXPECT_TRUE(other->hasFocus());
}
