#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "ParameterTestUtil.h"
#include "platform/SysColor.h"
#include "windows/look/ValueListEditor.h"
#include "windows/parameter/fParameter.h"
#include "windows/parameter/frComboColor.h"
#include "windows/parameter/frComboPercent.h"

namespace {

class ValueGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    Grid = new TValueListEditor;
    Grid->resize(215, 254);
    Grid->SetTitleCaptions(QStringLiteral("Параметр"), QStringLiteral("Значение"));
    Grid->InsertRow(QStringLiteral("&Постоянные параметры"), QString());
    Grid->InsertRow(QStringLiteral("Цвет"), QStringLiteral("Белый"), TValueListEditor::esEllipsis);
    Grid->InsertRow(QStringLiteral("&Переменные"), QString());
    Grid->InsertRow(QStringLiteral("Масса"), QStringLiteral("5"));
    Grid->show();
    QApplication::processEvents();
  }
  void TearDown() override { delete Grid; }
  TValueListEditor* Grid = nullptr;
};

TEST_F(ValueGrid, TitleRowAndRowsAreAddressedByIndex) {
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->Cells(0, 0), QStringLiteral("Параметр"));
  EXPECT_EQ(Grid->Cells(1, 0), QStringLiteral("Значение"));
  EXPECT_EQ(Grid->Keys(4), QStringLiteral("Масса"));
  EXPECT_EQ(Grid->FindRow(QStringLiteral("Масса")), 4);
  EXPECT_EQ(Grid->FindRow(QStringLiteral("масса")), -1);
  EXPECT_TRUE(Grid->IsSectionRow(1));
  EXPECT_FALSE(Grid->IsSectionRow(2));
  EXPECT_EQ(Grid->Values(7), QString());  // past the end: nothing, no crash
}

TEST_F(ValueGrid, SectionAndTitleRowsAreNeverCurrent) {
  EXPECT_FALSE(Grid->SetRow(0));
  EXPECT_FALSE(Grid->SetRow(1));
  EXPECT_FALSE(Grid->SetRow(99));
  EXPECT_EQ(Grid->Row(), 0);
  EXPECT_TRUE(Grid->SetRow(4));
  EXPECT_EQ(Grid->Row(), 4);
  // A click on a section row leaves the current row.
  const QRect section = Grid->CellRect(0, 3);
  QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, section.center());
  EXPECT_EQ(Grid->Row(), 4);
  const QRect colour = Grid->CellRect(1, 2);
  QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, colour.center());
  EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(ValueGrid, EditorIsAlwaysShownAndEveryKeystrokeIsAChange) {
  int changes = 0;
  Grid->OnStringsChange = [&](TValueListEditor*) { ++changes; };
  ASSERT_TRUE(Grid->SetRow(4));
  EXPECT_TRUE(Grid->InplaceEditor()->isVisible());
  EXPECT_EQ(Grid->InplaceEditor()->text(), QStringLiteral("5"));
  EXPECT_FALSE(Grid->EditButton()->isVisible());
  QTest::keyClicks(Grid->InplaceEditor(), QStringLiteral("12"));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Grid->Values(4), QStringLiteral("512"));
  // Code that sets a cell raises nothing, and the editor shows the new text.
  Grid->SetValues(4, QStringLiteral("7"));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Grid->InplaceEditor()->text(), QStringLiteral("7"));
}

TEST_F(ValueGrid, EllipsisRowsHaveAButton) {
  int clicks = 0;
  Grid->OnEditButtonClick = [&](TValueListEditor*) { ++clicks; };
  ASSERT_TRUE(Grid->SetRow(2));
  ASSERT_TRUE(Grid->EditButton()->isVisible());
  QTest::mouseClick(Grid->EditButton(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  QTest::keyClick(Grid->InplaceEditor(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ValueGrid, ValueColumnFillsTheGrid) {
  Grid->SetColWidths(0, 100);
  EXPECT_EQ(Grid->ColWidths(0) + Grid->GridLineWidth() + Grid->ColWidths(1), Grid->viewport()->width());
}

TEST_F(ValueGrid, SectionRowIsOneCreamBandWithItsTitle) {
  const QImage image = Grid->viewport()->grab().toImage();
  const QRect band = Grid->CellRect(0, 1).united(Grid->CellRect(1, 1));
  // Both ends of the band are the section colour.
  EXPECT_EQ(image.pixelColor(band.right() - 2, band.top() + 1), QColor(255, 255, 225));
  EXPECT_EQ(image.pixelColor(Grid->CellRect(1, 1).left() + 1, band.bottom() - 1), QColor(255, 255, 225));
  // An ordinary row is grey.
  const QRect key = Grid->CellRect(0, 4);
  EXPECT_EQ(image.pixelColor(key.right() - 3, key.top() + 1), QColor(240, 240, 240));
}

TEST_F(ValueGrid, EditorFollowsTheRowWhenScrolled) {
  Grid->resize(215, 3 * (Grid->DefaultRowHeight() + 1) + 2 * Grid->frameWidth());
  QApplication::processEvents();
  ASSERT_TRUE(Grid->SetRow(4));
  // The current row is scrolled into sight, and the editor sits on it.
  const QRect cell = Grid->CellRect(1, 4);
  ASSERT_FALSE(cell.isEmpty());
  EXPECT_EQ(Grid->InplaceEditor()->geometry().top(), cell.top());
}

TEST(NamedColours, NamesAndColoursAreUniqueAndTheFieldColourIsListed) {
  TestApplication();
  QSet<QString> names;
  QSet<TColor> colours;
  for (const TNamedColor& item : NamedColors()) {
    EXPECT_FALSE(item.Name.isEmpty());
    EXPECT_FALSE(names.contains(item.Name)) << item.Name.toStdString();
    EXPECT_FALSE(colours.contains(item.Color)) << item.Color;
    // Plain RGB, or the identifier of a system colour (painted through the table).
    EXPECT_TRUE((item.Color & ~0xFFFFFF) == 0 || IsSysColorValue(item.Color)) << item.Color;
    names.insert(item.Name);
    colours.insert(item.Color);
  }
  EXPECT_FALSE(TFormParameter::ColorToName(clFieldDefault).isEmpty());
  for (const TNamedColor& item : NamedColors()) {
    EXPECT_EQ(TFormParameter::ColorToName(item.Color), item.Name);
    EXPECT_EQ(TFormParameter::NameToColor(item.Name), item.Color);
  }
}

TEST(NamedColours, UnknownColoursAndNamesFallBack) {
  EXPECT_EQ(TFormParameter::ColorToName(0x123457), QString());
  EXPECT_EQ(TFormParameter::NameToColor(QStringLiteral("нет такого")), 0);
  EXPECT_EQ(TFormParameter::NameToColor(QString()), 0);
  EXPECT_EQ(TFormParameter::NameToColor(QStringLiteral("нет"), 0x55), 0x55);
  // Letter case counts.
  const QString white = TFormParameter::ColorToName(clWhite);
  EXPECT_EQ(TFormParameter::NameToColor(white.toUpper()), 0);
}

TEST(PickerFrames, ColourFrameSelectsTheColourOrTheFirstItem) {
  TestApplication();
  TFrameComboColor frame(nullptr);
  EXPECT_EQ(frame.ListBox->count(), static_cast<int>(NamedColors().size()));
  frame.SelectColor(clFieldDefault);
  EXPECT_EQ(frame.SelectedColor(), clFieldDefault);
  EXPECT_EQ(frame.SelectedName(), TFormParameter::ColorToName(clFieldDefault));
  frame.SelectColor(0x010203);
  EXPECT_EQ(frame.ListBox->currentRow(), 0);
}

TEST(PickerFrames, PercentLabelReadsSeventyUntilTheBarMoves) {
  TestApplication();
  TFrameComboPercent frame(nullptr);
  EXPECT_EQ(frame.LabelPosition->text(), QStringLiteral("70 %"));
  EXPECT_EQ(frame.TrackBar->value(), 70);
  frame.TrackBar->setValue(55);
  EXPECT_EQ(frame.LabelPosition->text(), QStringLiteral("55%"));
  frame.TrackBar->setValue(250);
  EXPECT_EQ(frame.TrackBar->value(), 100);
}

}  // namespace
