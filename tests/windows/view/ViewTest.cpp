// The field view: painting by mouse, the three painting modes, the brush tools and menus.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QScrollBar>

#include "tests/windows/MainFixture.h"
#include "windows/look/uProc.h"
#include "windows/place/uPlace.h"
#include <QSpinBox>
#include <QToolBar>

namespace {

QImage GrabGrid() {
  QApplication::processEvents();
  return FormView->DrawGridField->viewport()->grab().toImage();
}

// The colour at (dx, dy) inside the cell of field row `row`, column `col`.
QRgb Pixel(const QImage& image, int row, int col, int dx, int dy) {
  const QRect cell = FormView->DrawGridField->CellRect(col, row);
  return image.pixel(cell.left() + dx, cell.top() + dy) & 0xFFFFFF;
}

constexpr QRgb kLime = 0x00FF00, kYellow = 0xFFFF00, kRed = 0xFF0000, kField = 0xFFFBF0;

}  // namespace

using ViewTest = MainWindowTest;

TEST_F(ViewTest, LeftDragAcrossFiveCellsPlacesFiveOrganismsOncePerCell) {
  FormView->ToolButtonPlantClick();
  Mouse(QEvent::MouseButtonPress, 3, 4, Qt::LeftButton, Qt::LeftButton);
  for (int c = 4; c <= 7; ++c) {
    // Several moves inside one cell act once.
    Mouse(QEvent::MouseMove, c, 4, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, c, 4, Qt::NoButton, Qt::LeftButton);
  }
  Mouse(QEvent::MouseButtonRelease, 7, 4, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, 5);
  for (int c = 3; c <= 7; ++c) EXPECT_GT(Form->Plant->Field(4, c).Mass, 0);
  EXPECT_EQ(FormView->DrawGridField->Col(), 7);
  EXPECT_EQ(FormView->StaticTextH->text(), QStringLiteral("1"));  // displays follow at the next paint
  GrabGrid();
  EXPECT_EQ(FormView->StaticTextH->text(), QStringLiteral("8"));
  EXPECT_EQ(FormView->StaticTextV->text(), QStringLiteral("5"));
}

TEST_F(ViewTest, RightButtonErasesWithTheBrushInForce) {
  FormView->ToolButtonPlantClick();
  Form->Plant->Place(0, 2, 2);
  Form->Plant->Place(0, 2, 3);
  Mouse(QEvent::MouseButtonPress, 2, 2, Qt::RightButton, Qt::RightButton);
  Mouse(QEvent::MouseMove, 3, 2, Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(Form->Plant->Params[0].Const.Count, 0);
  FormView->ToolButtonResourceClick();
  Mouse(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(Form->Resource->Amount(0, 10, 10), 25);
  Mouse(QEvent::MouseButtonPress, 10, 10, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(Form->Resource->Amount(0, 10, 10), 0);
}

TEST_F(ViewTest, PointerModeShowsSpeciesOverResourceAndFramesMutants) {
  Form->Plant->Place(0, 20, 20);
  Form->Plant->Place(0, 20, 30);
  Form->Plant->Field(20, 30).Genome.Mutation() = 50;  // a mutant
  Form->Resource->AddAmount(0, 20, 20, 5);
  Form->Resource->AddAmount(0, 5, 5, 5);
  const QImage image = GrabGrid();
  EXPECT_EQ(Pixel(image, 20, 20, 4, 4), kLime);   // organism over resource
  EXPECT_EQ(Pixel(image, 5, 5, 4, 4), kYellow);   // resource only
  EXPECT_EQ(Pixel(image, 8, 8, 4, 4), kField);    // nothing
  EXPECT_EQ(Pixel(image, 20, 30, 0, 4), kRed);    // mutant frame in its species' mutant colour
  EXPECT_EQ(Pixel(image, 20, 30, 8, 4), kRed);
  EXPECT_EQ(Pixel(image, 20, 30, 4, 4), kLime);
  EXPECT_EQ(Pixel(image, 20, 20, 0, 4), kLime);   // no frame on a true-bred organism
}

TEST_F(ViewTest, OnlyPlantOptionHidesResourcesDuringARun) {
  Form->Resource->AddAmount(0, 5, 5, 5);
  FormParameter->CheckBoxOnlyPlant->setChecked(true);
  Form->ActionFieldStop->setEnabled(true);  // as a run does
  QImage image = GrabGrid();
  EXPECT_EQ(Pixel(image, 5, 5, 4, 4), kField);
  Form->ActionFieldStop->setEnabled(false);
  FormView->DrawGridField->viewport()->update();
  image = GrabGrid();
  EXPECT_EQ(Pixel(image, 5, 5, 4, 4), kYellow);
}

TEST_F(ViewTest, BrushModesShowOnlyTheirResourceOrSpecies) {
  TPlantParameter other = Form->Plant->Params[0];
  other.Const.Name = "Other";
  other.Const.Color = RGBColor(0, 0, 255);
  other.Const.ColorMutant = RGBColor(0, 0, 0);
  Form->Plant->Add(other);
  FormParameter->ListBoxPlant->addItem(QStringLiteral("Other"));
  FormStatistic->RebuildLayout();
  Form->Plant->Place(0, 10, 10);
  Form->Plant->Place(0, 10, 12);
  Form->Plant->Field(10, 12).Genome.AgeMax() = 11;  // mutant of species 0
  Form->Plant->Place(1, 10, 14);
  Form->Plant->Field(10, 14).Genome.AgeMax() = 11;  // mutant of species 1
  Form->Resource->AddAmount(0, 10, 10, 3);

  FormView->ToolButtonResourceClick();
  QImage image = GrabGrid();
  EXPECT_EQ(Pixel(image, 10, 10, 4, 4), kYellow);  // the resource under the organism
  EXPECT_EQ(Pixel(image, 10, 12, 4, 4), kField);

  FormView->ToolButtonPlantClick();  // species 0
  image = GrabGrid();
  EXPECT_EQ(Pixel(image, 10, 10, 4, 4), kLime);
  EXPECT_EQ(Pixel(image, 10, 12, 0, 4), kRed);    // its mutant framed in red
  EXPECT_EQ(Pixel(image, 10, 14, 4, 4), kField);  // the other species is not shown
  EXPECT_EQ(Pixel(image, 10, 14, 0, 4), kField);

  FormView->ToolButtonPlantClick();  // a second click: the next species
  EXPECT_EQ(Form->SubBrushPlant, 1);
  image = GrabGrid();
  EXPECT_EQ(Pixel(image, 10, 14, 4, 4), 0x0000FFu);
  EXPECT_EQ(Pixel(image, 10, 14, 0, 4), kRed);    // red, not its own mutant colour
  EXPECT_EQ(Pixel(image, 10, 10, 4, 4), kField);
}

TEST_F(ViewTest, ResourceButtonCyclesThroughResourcesAfterTheFirstClick) {
  Form->Resource->Add("B", 10, 0, clRed);
  Form->Resource->Add("C", 10, 0, clBlack);
  FormParameter->ListBoxResource->addItems({QStringLiteral("B"), QStringLiteral("C")});
  FormView->FillBrushMenu();
  FormStatistic->RebuildLayout();
  FormView->ToolButtonResourceClick();  // from the pointer: only the tool changes
  EXPECT_EQ(Form->Brush, TBrushTool::Resource);
  EXPECT_EQ(Form->SubBrushResource, 0);
  const int expected[] = {1, 2, 0};
  for (int e : expected) {
    FormView->ToolButtonResourceClick();
    EXPECT_EQ(Form->SubBrushResource, e);
  }
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), QStringLiteral("Ресурс: Ресурс Yellow"));
  EXPECT_TRUE(FormView->PopupMenuResource->actions()[0]->isChecked());
  EXPECT_EQ(FormView->DrawGridField->PopupMenu, nullptr);  // the right button erases
  FormView->ToolButtonViewClick();
  EXPECT_EQ(FormView->DrawGridField->PopupMenu, FormView->PopupMenu);
}

TEST_F(ViewTest, BrushMenuItemsSelectTheirEntry) {
  Form->Resource->Add("B", 10, 0, clRed);
  FormParameter->ListBoxResource->addItem(QStringLiteral("B"));
  FormView->FillBrushMenu();
  const QList<QAction*> items = FormView->PopupMenuResource->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[1]->text(), QStringLiteral("B"));
  EXPECT_EQ(items[1]->data().toInt(), 1);
  items[1]->trigger();
  EXPECT_EQ(Form->Brush, TBrushTool::Resource);
  EXPECT_EQ(Form->SubBrushResource, 1);
  EXPECT_TRUE(FormView->ToolButtonResource->isChecked());
  EXPECT_FALSE(items[0]->isChecked());
  // Renaming through SetBrushMenuItem keeps the item; an index past the end appends.
  FormView->SetBrushMenuItem(FormView->PopupMenuResource, QStringLiteral("B2"), 1, TBrushTool::Resource);
  FormView->SetBrushMenuItem(FormView->PopupMenuResource, QStringLiteral("D"), 7, TBrushTool::Resource);
  const QList<QAction*> after = FormView->PopupMenuResource->actions();
  ASSERT_EQ(after.size(), 3);
  EXPECT_EQ(after[1]->text(), QStringLiteral("B2"));
  EXPECT_EQ(after[2]->data().toInt(), 2);
}

TEST_F(ViewTest, WithoutSpeciesTheOrganismButtonIsOffAndTheBrushFallsBack) {
  FormView->ToolButtonPlantClick();
  Form->Plant->Delete(0);
  FormParameter->ListBoxPlant->clear();
  FormStatistic->RebuildLayout();
  EXPECT_EQ(Form->Brush, TBrushTool::Pointer);
  EXPECT_FALSE(FormView->ToolButtonPlant->isEnabled());
  EXPECT_EQ(FormView->ToolButtonPlant->toolTip(), QStringLiteral("(Нет организмов)"));
  // Painting with no species at hand reads nothing past the list.
  Form->Brush = TBrushTool::Plant;
  Mouse(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton, Qt::LeftButton);
  GrabGrid();
  SUCCEED();
}

TEST_F(ViewTest, GridPaintsOnlyWhatIsInViewOnAThousandSquareField) {
  Form->Plant->SetSize(1000, 1000);
  Form->Resource->SetSize(1000, 1000);
  FormView->UpdateFieldSize();
  FormView->SetCellSize(1);
  int calls = 0;
  auto look = FormView->DrawGridField->OnDrawCell;
  FormView->DrawGridField->OnDrawCell = [&](int c, int r, QRgb& fill, QRgb& frame) {
    ++calls;
    look(c, r, fill, frame);
  };
  QImage image;
  FormView->DrawGridField->RenderView(image);
  const QSize vp = FormView->DrawGridField->viewport()->size();
  EXPECT_LE(calls, (vp.width() / 2 + 1) * (vp.height() / 2 + 1));
  EXPECT_GT(FormView->DrawGridField->horizontalScrollBar()->maximum(), 0);
  FormView->DrawGridField->OnDrawCell = look;
}

namespace {

TEST_F(MainWindowTest, AtItsMinimumWidthTheViewShowsAllThreeBrushButtons) {
  FormView->resize(FormView->minimumWidth(), 300);
  FormView->show();
  QApplication::processEvents();
  ASSERT_EQ(FormView->width(), 408);
  QWidget* panel = FormView->PanelToolBar;
  auto shown = [panel](QWidget* w) {
    return w->isVisible() && panel->rect().contains(QRect(w->mapTo(panel, QPoint(0, 0)), w->size()));
  };
  for (QToolButton* b : {FormView->ToolButtonView, FormView->ToolButtonResource, FormView->ToolButtonPlant})
    EXPECT_TRUE(shown(b)) << b->toolTip().toStdString();
  // No extension button ("»") hides any of them.
  for (QToolButton* b : FormView->ToolBar->findChildren<QToolButton*>()) {
    if (b->objectName() == QLatin1String("qt_toolbar_ext_button")) {
      EXPECT_FALSE(b->isVisible());
    }
  }
  EXPECT_TRUE(shown(FormView->StaticTextSPS));
  // At the default width every display is there whole.
  FormView->resize(453, 300);
  QApplication::processEvents();
  for (QWidget* w : std::initializer_list<QWidget*>{FormView->StaticTextStep, FormView->StaticTextSPS, FormView->Label3,
                                                    FormView->StaticTextV, FormView->StaticTextH})
    EXPECT_TRUE(shown(w)) << w->toolTip().toStdString();
}

// The tick display holds every count whole, also one set while the view was
// hidden, without running into the speed display; it narrows again for a short one.
TEST_F(MainWindowTest, TheTickDisplayFitsEveryCountBesideTheSpeed) {
  FormView->show();
  QApplication::processEvents();
  QLabel* step = FormView->StaticTextStep;
  const int narrow = step->width();
  auto expectFits = [step](const char* text) {
    step->setText(QString::fromLatin1(text));
    QApplication::processEvents();
    EXPECT_GE(step->contentsRect().width(), step->fontMetrics().horizontalAdvance(step->text())) << text;
    QWidget* panel = FormView->PanelToolBar;
    EXPECT_LT(step->mapTo(panel, QPoint(step->width() - 1, 0)).x(), FormView->StaticTextSPS->mapTo(panel, QPoint()).x())
        << text;
  };
  expectFits("1234567");
  FormView->hide();
  step->setText(QStringLiteral("1234567890"));
  FormView->show();
  expectFits("1234567890");
  expectFits("0");
  EXPECT_EQ(step->width(), narrow);
}

TEST_F(MainWindowTest, TheSpeedDisplayKeepsItsWidthSoTheCellDisplaysStayPut) {
  FormView->show();
  QApplication::processEvents();
  const int width = FormView->StaticTextSPS->width();
  const int cellLeft = FormView->Label3->x();
  for (const QString& text : {QStringLiteral("0.00"), FixedText(12345.6, 4, 2), FixedText(9999.99, 4, 2),
                              FixedText(8.5e7, 4, 2), FixedText(0.5, 4, 2)}) {
    FormView->StaticTextSPS->setText(text);
    QApplication::processEvents();
    EXPECT_EQ(FormView->StaticTextSPS->width(), width) << text.toStdString();
    EXPECT_EQ(FormView->Label3->x(), cellLeft) << text.toStdString();
    EXPECT_GE(FormView->StaticTextSPS->contentsRect().width(),
              FormView->StaticTextSPS->fontMetrics().horizontalAdvance(text))
        << text.toStdString();
  }
}

TEST_F(MainWindowTest, AutoSizeOfAThousandSquareFieldStaysWithinTheWorkArea) {
  FormParameter->SetFieldSize(1000, 1000);
  FormView->show();
  Form->ActionAutoSizeExecute();
  const QRect work = WorkArea(FormView);
  const QRect outer = OuterRect(FormView);
  EXPECT_TRUE(work.contains(outer)) << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
  EXPECT_GE(FormView->width(), FormView->minimumWidth());
  // A small field: the size of the field, as before.
  FormParameter->SetFieldSize(5, 10);
  FormParameter->UpDownCellSize->setValue(3);
  Form->ActionAutoSizeExecute();
  EXPECT_EQ(FormView->width(), std::max(43, FormView->minimumWidth()));
}

}  // namespace
