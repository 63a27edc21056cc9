#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/windows/MainFixture.h"
#include "controls/KitConst.h"
#include "windows/look/CheckListBox.h"

namespace {

// Headers at 0 and 3; row 2 disabled and ticked.
void Fill(TCheckListBox& list) {
  for (const char* t : {"Ресурсы", "Трава", "Камни", "Организмы", "Овца"}) list.AddItem(QString::fromUtf8(t));
  list.SetHeader(0, true);
  list.SetHeader(3, true);
  list.SetChecked(2, true);
  list.SetItemEnabled(2, false);
}

}  // namespace

TEST(CheckListBox, BulkActionsTouchEnabledRowsOnly) {
  TestApplication();
  TCheckListBox list;
  Fill(list);
  list.CheckAll(true);
  EXPECT_TRUE(list.Checked(1));
  EXPECT_TRUE(list.Checked(4));
  list.CheckAll(false);
  EXPECT_FALSE(list.Checked(1));
  EXPECT_TRUE(list.Checked(2));  // disabled keeps its state
  list.SetChecked(2, false);
  list.InvertAll();
  EXPECT_TRUE(list.Checked(1));
  EXPECT_FALSE(list.Checked(2));
  list.CheckAll(true);
  list.InvertAll();
  for (int i : {1, 4}) EXPECT_FALSE(list.Checked(i));
}

TEST(CheckListBox, ClicksAndSpaceToggleEnabledRowsButNotHeaders) {
  TestApplication();
  TCheckListBox list;
  Fill(list);
  list.resize(200, 120);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  EXPECT_TRUE(list.CheckBoxRect(0).isEmpty());
  EXPECT_EQ(list.visualItemRect(list.item(1)).height(), TCheckListBox::ItemHeight);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CheckBoxRect(1).center());
  EXPECT_TRUE(list.Checked(1));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CheckBoxRect(2).center());
  EXPECT_TRUE(list.Checked(2));  // disabled: unchanged
  list.setCurrentRow(4);
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_TRUE(list.Checked(4));
  list.setCurrentRow(0);
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_FALSE(list.Checked(0));
}

TEST(CheckListBox, HeaderRowIsAnInfoBand) {
  TestApplication();
  TCheckListBox list;
  Fill(list);
  list.resize(200, 120);
  const QImage shot = list.grab().toImage();
  const QRect header = list.visualItemRect(list.item(0)).translated(list.viewport()->pos());
  EXPECT_EQ(QColor(shot.pixel(header.right() - 2, header.center().y())), clInfoBk());
  const QRect row = list.visualItemRect(list.item(1)).translated(list.viewport()->pos());
  EXPECT_NE(QColor(shot.pixel(row.right() - 2, row.center().y())), clInfoBk());
}
