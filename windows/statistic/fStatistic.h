#pragma once
// The statistics window: totals of every resource and species, the selected
// cell, the distribution chart and the history chart.
#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <vector>

#include "model/uColor.h"
#include "model/uPlant.h"

class QChart;
class QChartView;
class QComboBox;
class QTableWidget;
class QTabWidget;
class QValueAxis;

// One series of a chart: all its points are kept here. The chart draws the
// active series itself, over its plot area (one drawing for all of them, so
// that hundreds of species cost no more than their points), from a thinned
// copy of the points (one minimum and one maximum per pixel column), so a
// history of tens of thousands of points draws as fast as a short one.
struct TChartSeries {
  std::vector<QPointF> Points;  // every point ever added
  QList<QPointF> Drawn;         // what the chart draws of them
  TColor Color = clBlack;
  bool Active = false;
  bool Bar = false;  // a bar series: one vertical bar per point
  bool Dirty = false;
};

class TSeriesLayer;

class TFormStatistic : public QWidget {
  Q_OBJECT
 public:
  explicit TFormStatistic(QWidget* parent = nullptr);
  ~TFormStatistic() override;

  QTabWidget* PageControl = nullptr;
  QTableWidget* StringGridMain = nullptr;
  QTableWidget* StringGridCell = nullptr;
  QComboBox* ComboBoxStat = nullptr;
  QComboBox* ComboBoxHistory = nullptr;
  QChartView* ChartStat = nullptr;
  QChartView* ChartHistory = nullptr;
  unsigned char Dockable = 0;
  bool Splitting = false;

  // Marks the field view for repainting, then rewrites the tables and feeds the charts.
  void UpdateView();
  void UpdateStatistics();
  // Rewrites the cell table for a field cell.
  void ShowCell(int col, int row);
  // Lays tables, selectors and chart series out for the current lists; the history restarts.
  void RebuildLayout();
  // Empties every history series.
  void ClearHistory();
  // Redraws one distribution line (series `index`) and its mean bar.
  void ShowDistribution(int index, const TStatArray& histogram, TColor color, double mean);
  void ComboBoxHistoryChange();
  void ComboBoxStatChange();
  void FormResize();
  // The width of column 0 of a table (StringGridMain or StringGridCell) that
  // shows all its labels whole: the column's width until one is set.
  int FirstColumnFit(const QTableWidget* grid) const;
  // The text a cell of a table shows (not a section row): whole where it fits
  // the cell, else shortened with "…" (its hint then shows it whole).
  QString ShownText(const QTableWidget* grid, int row, int col) const;

  // The points given to the chart for one series: all of them when few, else
  // for each stretch of points that falls on one pixel column its first,
  // lowest, highest and last point, so the drawn line looks the same.
  static QList<QPointF> Thin(const std::vector<QPointF>& points, int columns);

  // The series of both charts, in their index order (the distribution chart:
  // first the lines, then the bars).
  std::vector<TChartSeries> HistorySeries;
  std::vector<TChartSeries> StatSeries;

  // The statistics colour (tables' background and charts).
  void SetStatisticColor(TColor color);
  TColor StatisticColor() const { return FStatisticColor; }

  // A mean in the general format: 5 significant digits, fixed notation for
  // exponents -3..5, otherwise a mantissa and "E" with the exponent.
  static QString FormatMean(long double value);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddSeries(std::vector<TChartSeries>& list, TColor color, bool active, bool bar);
  // Brings a chart that is on screen up to date: its thinned points (history) and its axes.
  void FlushChart(bool history);
  void UpdateAxes(bool history);
  // The distribution and its mean bar, without drawing them yet.
  void SetDistribution(int index, const TStatArray& histogram, TColor color, double mean);
  void SetCell(QTableWidget* grid, int row, int col, const QString& text);
  void StyleChart(QChart* chart, const QString& xTitle, const QString& yTitle);
  QChart* FHistory = nullptr;
  QChart* FStat = nullptr;
  QValueAxis* FHistoryX = nullptr;
  QValueAxis* FHistoryY = nullptr;
  QValueAxis* FStatX = nullptr;
  QValueAxis* FStatY = nullptr;
  TSeriesLayer* FHistoryLayer = nullptr;
  TSeriesLayer* FStatLayer = nullptr;
  TColor FStatisticColor = clFieldDefault;
};

extern TFormStatistic* FormStatistic;
