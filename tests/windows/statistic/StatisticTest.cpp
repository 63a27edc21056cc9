// The statistics window: table layout and values, the cell table, the mean
// format, the history and distribution series and the selectors.
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QChart>
#include <QChartView>
#include <QTabBar>
#include <QValueAxis>
#include <cmath>

#include "tests/windows/MainFixture.h"
#include "controls/KitConst.h"

using StatisticTest = MainWindowTest;

namespace {
QString Text(QTableWidget* grid, int row, int col) {
  const QTableWidgetItem* item = grid->item(row, col);
  return item ? item->text() : QString();
}
}  // namespace

TEST(StatisticFormat, MeansUseFiveSignificantDigits) {
  EXPECT_EQ(TFormStatistic::FormatMean(0), QStringLiteral("0"));
  EXPECT_EQ(TFormStatistic::FormatMean(2.5), QStringLiteral("2.5"));
  EXPECT_EQ(TFormStatistic::FormatMean(1.0L / 3), QStringLiteral("0.33333"));
  EXPECT_EQ(TFormStatistic::FormatMean(200000), QStringLiteral("2E5"));
  EXPECT_EQ(TFormStatistic::FormatMean(12345.67), QStringLiteral("12346"));
  EXPECT_EQ(TFormStatistic::FormatMean(0.0001), QStringLiteral("0.0001"));
  EXPECT_EQ(TFormStatistic::FormatMean(0.00009), QStringLiteral("9E-5"));
  EXPECT_EQ(TFormStatistic::FormatMean(123456), QStringLiteral("1,2346E5").replace(',', '.'));
  EXPECT_EQ(TFormStatistic::FormatMean(7), QStringLiteral("7"));
  EXPECT_EQ(TFormStatistic::FormatMean(99999.5), QStringLiteral("1E5"));
}

TEST(StatisticThin, FewPointsPassWholeManyKeepEndsAndExtremes) {
  std::vector<QPointF> few = {{0, 1}, {1, 2}, {2, 3}};
  EXPECT_EQ(TFormStatistic::Thin(few, 100).size(), 3);
  std::vector<QPointF> many;
  for (int i = 0; i < 10000; ++i) many.emplace_back(i, (i % 97) == 0 ? 1000 : i % 7);
  many[5000].setY(-50);
  const QList<QPointF> thin = TFormStatistic::Thin(many, 200);
  EXPECT_LE(thin.size(), 800);
  EXPECT_EQ(thin.front(), many.front());
  EXPECT_EQ(thin.back(), many.back());
  double lo = 1e9, hi = -1e9;
  for (const QPointF& p : thin) {
    lo = std::min(lo, p.y());
    hi = std::max(hi, p.y());
  }
  EXPECT_EQ(lo, -50);
  EXPECT_EQ(hi, 1000);
  for (qsizetype i = 1; i < thin.size(); ++i) EXPECT_LT(thin[i - 1].x(), thin[i].x());
}

TEST_F(StatisticTest, OneResourceAndOneSpeciesLayOutTheirRows) {
  EXPECT_EQ(FormStatistic->StringGridMain->rowCount(), 12);
  EXPECT_EQ(FormStatistic->StringGridCell->rowCount(), 13);
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 0, 0), QStringLiteral("&Ресурс Yellow"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 3, 0), QStringLiteral("&Организм Lime"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 9, 0), QStringLiteral("Размножение, шт"));
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 2, 0), QStringLiteral("&Организм Lime"));
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 12, 0), QStringLiteral("Отход, ресурс"));
  EXPECT_EQ(FormStatistic->ComboBoxHistory->count(), 8);
  EXPECT_EQ(FormStatistic->ComboBoxStat->count(), 8);
  EXPECT_EQ(FormStatistic->HistorySeries.size(), 8u);
  EXPECT_EQ(FormStatistic->StatSeries.size(), 16u);
}

TEST_F(StatisticTest, RefreshWritesCountersAndMeans) {
  Form->Plant->Place(0, 1, 1);
  Form->Plant->Place(0, 1, 2);
  Form->Resource->AddAmount(0, 3, 3, 5);
  CalcAverages(*Form->Plant);
  FormStatistic->UpdateView();
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 1, 1), QStringLiteral("1 / 1"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 2, 1), QStringLiteral("5 / 5"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 4, 1), QStringLiteral("2 / 2"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 6, 1), QStringLiteral("1"));   // ResourceBegin
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 9, 1), QStringLiteral("3"));   // ChildrenCount before AgeMax
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 10, 1), QStringLiteral("10"));
  Form->Plant->Kill(0, 1, 1);
  Form->Plant->Kill(0, 1, 2);
  CalcAverages(*Form->Plant);
  FormStatistic->UpdateView();
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 4, 1), QStringLiteral("0 / 2"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 6, 1), QStringLiteral("0"));
}

TEST_F(StatisticTest, CellTableShowsTheSelectedCell) {
  Form->Resource->AddAmount(0, 3, 4, 5);
  FormStatistic->ShowCell(4, 3);
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 1, 1), QStringLiteral("5"));
  for (int r = 3; r <= 12; ++r) EXPECT_EQ(Text(FormStatistic->StringGridCell, r, 1), QString());
  Form->Plant->Place(0, 3, 4);
  Form->Plant->Field(3, 4).Genome.ResourceOut() = 4;  // a resource that no longer exists
  FormStatistic->ShowCell(4, 3);
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 3, 1), QStringLiteral("1"));
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 4, 1), QStringLiteral("1"));
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 11, 1), QStringLiteral("Ресурс Yellow"));
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 12, 1), QStringLiteral("4"));
  FormStatistic->ShowCell(0, 0);
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 3, 1), QString());
}

TEST_F(StatisticTest, EveryRefreshAddsOneHistoryPointPerSeries) {
  const size_t before = FormStatistic->HistorySeries[7].Points.size();
  FormStatistic->UpdateView();
  Form->Plant->Place(0, 2, 2);  // painting between ticks: a second point with the same tick
  FormStatistic->UpdateView();
  for (const TChartSeries& s : FormStatistic->HistorySeries) EXPECT_EQ(s.Points.size(), before + 2);
  const auto& count = FormStatistic->HistorySeries[0].Points;
  EXPECT_EQ(count[count.size() - 2], QPointF(0, 0));
  EXPECT_EQ(count.back(), QPointF(0, 1));
  // Only the chosen quantity is shown, and the chart holds its points once its page is up.
  EXPECT_EQ(FormStatistic->HistorySeries[0].Drawn.size(), 1);
  FormStatistic->PageControl->setCurrentIndex(3);
  EXPECT_TRUE(FormStatistic->HistorySeries[0].Active);
  EXPECT_FALSE(FormStatistic->HistorySeries[1].Active);
  EXPECT_EQ(FormStatistic->HistorySeries[0].Drawn.size(), static_cast<int>(count.size()));
}

TEST_F(StatisticTest, SelectorChoosesTheShownSeriesOfEverySpecies) {
  TPlantParameter other = Form->Plant->Params[0];
  other.Const.Name = "Other";
  Form->Plant->Add(other);
  FormParameter->ListBoxPlant->addItem(QStringLiteral("Other"));
  FormStatistic->ComboBoxHistory->setCurrentIndex(7);
  FormStatistic->RebuildLayout();
  EXPECT_EQ(FormStatistic->StringGridMain->rowCount(), 3 + 18);
  EXPECT_EQ(FormStatistic->StringGridCell->rowCount(), 2 + 22);
  ASSERT_EQ(FormStatistic->HistorySeries.size(), 16u);
  ASSERT_EQ(FormStatistic->StatSeries.size(), 32u);
  EXPECT_EQ(FormStatistic->ComboBoxHistory->currentIndex(), 7);  // the selection survives the rebuild
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(FormStatistic->HistorySeries[i].Active, i % 8 == 7) << i;
  FormStatistic->ComboBoxStat->setCurrentIndex(2);
  FormStatistic->ComboBoxStatChange();
  for (size_t i = 0; i < 32; ++i) EXPECT_EQ(FormStatistic->StatSeries[i].Active, i % 8 == 2) << i;
  EXPECT_EQ(FormStatistic->ChartStat->chart()->title(), QStringLiteral("Зрелость, тактов"));
}

TEST_F(StatisticTest, DistributionRisesFromTheAxisAndCarriesTheMeanBar) {
  TStatArray histogram = {{2, 1}, {7, 4}};
  FormStatistic->ShowDistribution(0, histogram, clLime, 6);
  const std::vector<QPointF> line = {{1, 0}, {2, 1}, {7, 4}, {8, 0}};
  EXPECT_EQ(FormStatistic->StatSeries[0].Points, line);
  EXPECT_EQ(FormStatistic->StatSeries[0].Drawn.size(), 4);
  const TChartSeries& bar = FormStatistic->StatSeries[8];
  ASSERT_TRUE(bar.Bar);
  EXPECT_EQ(bar.Points, (std::vector<QPointF>{{6, 0}, {6, 4}}));
  // An empty distribution empties the line and leaves the bar where it was.
  FormStatistic->ShowDistribution(0, {}, clLime, 0);
  EXPECT_TRUE(FormStatistic->StatSeries[0].Points.empty());
  EXPECT_EQ(FormStatistic->StatSeries[8].Points, (std::vector<QPointF>{{6, 0}, {6, 4}}));
}

TEST_F(StatisticTest, NoResourcesNoSpeciesLeaveEmptyTablesAndSelectors) {
  Form->Plant->Delete(0);
  Form->Resource->Delete(0);
  FormStatistic->RebuildLayout();
  EXPECT_EQ(FormStatistic->StringGridMain->rowCount(), 0);
  EXPECT_EQ(FormStatistic->ComboBoxHistory->count(), 0);
  EXPECT_TRUE(FormStatistic->HistorySeries.empty());
  EXPECT_TRUE(FormStatistic->StatSeries.empty());
  EXPECT_FALSE(FormView->ToolButtonResource->isEnabled());
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), QStringLiteral("(Нет ресурсов)"));
  FormStatistic->UpdateView();
  FormStatistic->ComboBoxHistoryChange();
  EXPECT_EQ(FormStatistic->ChartHistory->chart()->title(), QString());
}

TEST_F(StatisticTest, RebuildLowersASubBrushPastTheList) {
  Form->Resource->Add("B", 1, 0, clRed);
  Form->Resource->Add("C", 1, 0, clRed);
  Form->SubBrushResource = 7;
  FormStatistic->RebuildLayout();
  EXPECT_EQ(Form->SubBrushResource, 2);
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), QStringLiteral("Ресурс: C"));
  Form->SubBrushResource = -3;  // from a hand-edited settings file
  FormStatistic->RebuildLayout();
  EXPECT_EQ(FormView->ToolButtonResource->toolTip(), QStringLiteral("Ресурс: "));
}

TEST_F(StatisticTest, AllFourTabsFitTheDefaultWidth) {
  FormStatistic->resize(222, 363);
  FormStatistic->show();
  QApplication::processEvents();
  ASSERT_EQ(FormStatistic->width(), 222);
  QTabBar* tabs = FormStatistic->PageControl->tabBar();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_LE(tabs->sizeHint().width(), FormStatistic->PageControl->width());
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_LE(tabs->tabRect(i).right(), tabs->width()) << tabs->tabText(i).toStdString();
    // Each caption is shown whole.
    EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)));
  }
}

// Shows a page afresh: a chart page takes in what it missed when it comes up.
void ShowPage(int index) {
  FormStatistic->PageControl->setCurrentIndex(0);
  FormStatistic->PageControl->setCurrentIndex(index);
}

TEST_F(StatisticTest, HistoryTickAxisRunsInWholeRoundNumbers) {
  auto* axis = qobject_cast<QValueAxis*>(FormStatistic->ChartHistory->chart()->axes(Qt::Horizontal).first());
  ASSERT_NE(axis, nullptr);
  // At the window's default width, as on screen and in a saved picture.
  FormStatistic->resize(222, 363);
  FormStatistic->show();
  auto expectWhole = [axis](double from, double to) {
    EXPECT_EQ(axis->min(), from);
    EXPECT_EQ(axis->max(), to);
    ASSERT_GE(axis->tickCount(), 2);
    const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
    EXPECT_EQ(step, std::round(step));
    EXPECT_LE(axis->tickCount(), 6);
    EXPECT_EQ(QString::asprintf(axis->labelFormat().toLatin1().constData(), 400.0), QStringLiteral("400"));
    // The last label is drawn whole, clear of the chart's right edge: no
    // label ink (dark grey) in the two columns along that edge.
    QApplication::processEvents();
    QChartView* view = FormStatistic->ChartHistory;
    const QImage image = view->viewport()->grab().toImage();
    const int below = static_cast<int>(view->chart()->plotArea().bottom()) + 3;
    int inkRight = -1;
    for (int y = below; y < below + 14; ++y)
      for (int x = image.width() / 2; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() < 160 && c.green() < 160 && c.blue() < 160) inkRight = std::max(inkRight, x);
      }
    EXPECT_GT(inkRight, image.width() - 20) << "the last label, near the edge";
    EXPECT_LT(inkRight, image.width() - 2) << "up to " << to;
  };
  ShowPage(3);
  expectWhole(0, 1);  // nothing yet
  for (int step : {0, 200, 453}) {
    Form->Step = step;
    FormStatistic->UpdateView();
  }
  ShowPage(3);
  expectWhole(0, 500);
  // A few ticks never give fractions.
  Form->Step = 2;
  FormStatistic->ClearHistory();
  FormStatistic->UpdateView();
  Form->Step = 3;
  FormStatistic->UpdateView();
  ShowPage(3);
  expectWhole(2, 3);
}

// While the window shows the tables the charts' axes wait; a chart page shown
// afterwards covers every refresh it missed, on round axis numbers.
TEST_F(StatisticTest, AChartPageShownAfterRefreshesCoversThemOnRoundNumbers) {
  FormStatistic->resize(400, 400);
  FormStatistic->show();
  FormStatistic->PageControl->setCurrentIndex(0);
  for (int n = 1; n <= 7; ++n) {
    Form->Step = 100 * n;
    Form->Plant->Place(0, n, n);
    CalcAverages(*Form->Plant);
    FormStatistic->UpdateView();
  }
  auto axis = [](QChartView* view, Qt::Orientation o) {
    return qobject_cast<QValueAxis*>(view->chart()->axes(o).first());
  };
  auto expectRound = [](const QValueAxis* a, double lo, double hi) {
    EXPECT_LE(a->min(), lo);
    EXPECT_GE(a->max(), hi);
    ASSERT_GE(a->tickCount(), 2);
    // Ticks 1, 2 or 5 times a power of ten apart, from a multiple of that.
    const double step = (a->max() - a->min()) / (a->tickCount() - 1);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9)
        << step;
    EXPECT_NEAR(a->min() / step, std::round(a->min() / step), 1e-9);
  };
  FormStatistic->PageControl->setCurrentIndex(3);
  expectRound(axis(FormStatistic->ChartHistory, Qt::Horizontal), 0, 700);
  expectRound(axis(FormStatistic->ChartHistory, Qt::Vertical), 0, 7);
  EXPECT_EQ(FormStatistic->HistorySeries[0].Drawn.size(),
            static_cast<qsizetype>(FormStatistic->HistorySeries[0].Points.size()));
  FormStatistic->PageControl->setCurrentIndex(2);
  expectRound(axis(FormStatistic->ChartStat, Qt::Horizontal), 0, 2);  // newborn mass 1: the line runs 0..2
  expectRound(axis(FormStatistic->ChartStat, Qt::Vertical), 0, 7);
}

TEST_F(StatisticTest, RenamingKeepsTheValuesUntilTheNextRefresh) {
  Form->Plant->Place(0, 2, 2);
  FormStatistic->UpdateView();
  FormStatistic->ShowCell(2, 2);
  const QString count = Text(FormStatistic->StringGridMain, 4, 1);
  const QString mass = Text(FormStatistic->StringGridCell, 4, 1);
  ASSERT_FALSE(count.isEmpty());
  ASSERT_FALSE(mass.isEmpty());
  Form->Plant->Params[0].Const.Name = "Мох";
  Form->Resource->Params[0].Name = "Вода";
  FormStatistic->RebuildLayout();
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 3, 0), QStringLiteral("&Мох"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 0, 0), QStringLiteral("&Вода"));
  EXPECT_EQ(Text(FormStatistic->StringGridMain, 4, 1), count);
  EXPECT_EQ(Text(FormStatistic->StringGridCell, 4, 1), mass);
}

TEST_F(StatisticTest, HistoryLinesTakeTheSpeciesColourAsItIsNow) {
  FormStatistic->UpdateView();
  for (int k = 0; k < 8; ++k) EXPECT_EQ(FormStatistic->HistorySeries[k].Color, clLime);
  Form->Plant->Params[0].Const.Color = RGBColor(0, 0, 255);
  FormStatistic->UpdateView();
  for (int k = 0; k < 8; ++k) EXPECT_EQ(FormStatistic->HistorySeries[k].Color, RGBColor(0, 0, 255)) << k;
}

TEST_F(StatisticTest, TheAreaBelowTheLastRowHasTheStatisticsColour) {
  const TColor cream = RGBColor(255, 200, 100);
  FormStatistic->SetStatisticColor(cream);
  FormStatistic->resize(300, 500);
  FormStatistic->show();
  FormStatistic->PageControl->setCurrentIndex(0);
  QApplication::processEvents();
  QTableWidget* grid = FormStatistic->StringGridMain;
  const int below = grid->rowViewportPosition(grid->rowCount() - 1) + grid->rowHeight(grid->rowCount() - 1) + 20;
  ASSERT_LT(below, grid->viewport()->height());
  const QImage image = grid->viewport()->grab().toImage();
  EXPECT_EQ(image.pixelColor(10, below), PaintColor(cream));
  EXPECT_EQ(image.pixelColor(grid->viewport()->width() - 5, below), PaintColor(cream));
}

TEST_F(StatisticTest, TheChartsDrawTheActiveSeriesInTheSpeciesColour) {
  const TColor magenta = RGBColor(255, 0, 255);
  Form->Plant->Params[0].Const.Color = magenta;
  FormStatistic->resize(400, 400);
  FormStatistic->show();
  for (int step = 0; step < 5; ++step) {
    Form->Step = step;
    Form->Plant->Place(0, step, step);
    FormStatistic->UpdateView();
  }
  auto drawn = [](QChartView* view) {
    QApplication::processEvents();
    const QImage image = view->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(255, 0, 255)) ++count;
    return count;
  };
  FormStatistic->PageControl->setCurrentIndex(3);
  EXPECT_GT(drawn(FormStatistic->ChartHistory), 20);
  FormStatistic->PageControl->setCurrentIndex(2);
  EXPECT_GT(drawn(FormStatistic->ChartStat), 20);
  // Nothing is drawn of a species' series that are not chosen.
  FormStatistic->ComboBoxHistory->setCurrentIndex(-1);
  FormStatistic->ComboBoxHistoryChange();
  FormStatistic->PageControl->setCurrentIndex(3);
  EXPECT_EQ(drawn(FormStatistic->ChartHistory), 0);
}
