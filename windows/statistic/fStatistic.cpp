#include "windows/statistic/fStatistic.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QGraphicsLayout>
#include <QToolBar>
#include <QToolButton>
#include <QHeaderView>
#include <QGraphicsItem>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QTabBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "controls/KitConst.h"
#include "windows/look/DrawGrid.h"
#include "windows/view/fView.h"
#include "windows/main/main.h"
#include "windows/place/uSticky.h"

TFormStatistic* FormStatistic = nullptr;

// Draws the active series of one chart over its plot area, in the axes' ranges:
// lines 2 pixels wide, a bar series as bars 4 pixels wide.
class TSeriesLayer : public QGraphicsItem {
 public:
  TSeriesLayer(QChart* chart, const std::vector<TChartSeries>* series, const QValueAxis* x, const QValueAxis* y)
      : QGraphicsItem(chart), Chart(chart), Series(series), X(x), Y(y) {
    setZValue(10);  // over the plot area's background and grid
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { Changed(); });
    for (const QValueAxis* axis : {x, y})
      QObject::connect(axis, &QValueAxis::rangeChanged, chart, [this] { Changed(); });
  }
  // The plot area or the data changed: draw again.
  void Changed() {
    prepareGeometryChange();
    update();
  }
  QRectF boundingRect() const override { return Chart->plotArea(); }
  void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
    const QRectF plot = Chart->plotArea();
    const double dx = X->max() - X->min(), dy = Y->max() - Y->min();
    if (plot.isEmpty() || dx <= 0 || dy <= 0) return;
    auto at = [&](const QPointF& v) {
      return QPointF(plot.left() + (v.x() - X->min()) / dx * plot.width(),
                     plot.bottom() - (v.y() - Y->min()) / dy * plot.height());
    };
    p->save();
    p->setClipRect(plot);
    QPolygonF line;
    for (const TChartSeries& s : *Series) {
      if (!s.Active || s.Drawn.isEmpty()) continue;
      QPen pen(PaintColor(s.Color), s.Bar ? 4 : 2);
      pen.setCapStyle(s.Bar ? Qt::FlatCap : Qt::SquareCap);
      p->setPen(pen);
      line.clear();
      for (const QPointF& v : s.Drawn) line << at(v);
      p->drawPolyline(line);
    }
    p->restore();
  }

 private:
  QChart* Chart;
  const std::vector<TChartSeries>* Series;
  const QValueAxis* X;
  const QValueAxis* Y;
};

namespace {

const char* const kHistoryItems[8] = {"Общее количество",    "Общая масса",      "Начальная масса, ед",
                                      "Питание за такт, ед", "Зрелость, тактов", "Размножение, шт",
                                      "Продолжительность жизни, тактов", "Мутация,%"};
const char* const kStatItems[8] = {"Начальная масса, ед", "Питание за такт, ед", "Зрелость, тактов",
                                   "Размножение, шт",     "Продолжительность жизни, тактов",
                                   "Мутация,%",           "Питание, ресурс",      "Отход, ресурс"};
// Column 0 of a species' rows in the totals table and in the cell table (a
// resource's rows use the first two of the one and "Масса, ед" of the other).
const char* const kMainRows[8] = {"Общее количество / Максимум", "Общая масса / Максимум", "Начальная масса, ед",
                                  "Питание за такт, ед",        "Зрелость, тактов",       "Размножение, шт",
                                  "Продолжительность жизни, тактов", "Мутация,%"};
const char* const kCellRows[10] = {"Начальная масса, ед", "Масса, ед",        "Питание за такт, ед",
                                   "Зрелость, тактов",    "Размножение, шт",  "Возраст, тактов",
                                   "Продолжительность жизни, тактов", "Мутация,%", "Питание, ресурс",
                                   "Отход, ресурс"};
// The heritable parameter behind each distribution item and each mean row.
const int kStatGene[8] = {gResourceBegin, gResourceEat, gAgeReproduct, gChildrenCount,
                          gAgeMax,        gMutation,    gResourceIn,   gResourceOut};

// Paints the cells of both tables: section rows as one bold heading across the
// row, other rows on the statistics colour; no selection or focus marks.
class TTableDelegate : public QStyledItemDelegate {
 public:
  TTableDelegate(TFormStatistic* owner, QTableWidget* grid) : QStyledItemDelegate(grid), Owner(owner), Grid(grid) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QTableWidgetItem* key = Grid->item(index.row(), 0);
    const QString label = key ? key->text() : QString();
    p->save();
    p->setClipRect(option.rect);
    QFont font = option.font;
    if (label.startsWith(QLatin1Char('&'))) {
      p->fillRect(option.rect, clInfoBk());
      font.setBold(true);
      p->setFont(font);
      p->setPen(Grid->palette().color(QPalette::WindowText));
      p->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, label.mid(1).left(255));
    } else {
      p->fillRect(option.rect, PaintColor(Owner->StatisticColor()));
      p->setFont(font);
      p->setPen(Grid->palette().color(QPalette::WindowText));
      p->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop, Owner->ShownText(Grid, index.row(), index.column()));
    }
    p->restore();
  }

 private:
  TFormStatistic* Owner;
  QTableWidget* Grid;
};

QTableWidget* NewTable(TFormStatistic* owner) {
  auto* grid = new QTableWidget(0, 2);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  QFont font = grid->font();
  font.setPixelSize(11);
  grid->setFont(font);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setMinimumSectionSize(14);
  grid->verticalHeader()->setDefaultSectionSize(14);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setFocusPolicy(Qt::NoFocus);
  grid->setWordWrap(false);
  grid->setItemDelegate(new TTableDelegate(owner, grid));
  grid->viewport()->setMouseTracking(true);
  return grid;
}

// Tabs only as wide as their captions and a little margin, so that the four
// pages' tabs all fit the window's narrow default width.
class TTightTabStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 2 * TabMargin;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
  static constexpr int TabMargin = 3;
};

// Lays `axis` over [lo, hi] widened to multiples of a round step (1, 2 or 5
// times a power of ten), the smallest that needs at most five intervals. An
// axis of whole numbers (counts, masses, ticks, parameter values) steps by at
// least 1 and labels without a fraction.
void SetRoundRange(QValueAxis* axis, double lo, double hi, bool whole) {
  constexpr double kMaxIntervals = 5;
  constexpr double kSlack = 1e-9;  // a bound a rounding error past a step stays on it
  if (!std::isfinite(lo) || !std::isfinite(hi)) lo = 0, hi = 1;
  if (hi <= lo) hi = lo + 1;
  double base = std::pow(10.0, std::floor(std::log10((hi - lo) / kMaxIntervals)));
  if (whole) base = std::max(base, 1.0);
  double step = base;
  for (double m : {1.0, 2.0, 5.0, 10.0, 20.0}) {
    step = m * base;
    if (std::ceil(hi / step - kSlack) - std::floor(lo / step + kSlack) <= kMaxIntervals) break;
  }
  const double from = std::floor(lo / step + kSlack) * step;
  double to = std::ceil(hi / step - kSlack) * step;
  if (to <= from) to = from + step;
  // Only what differs: every change of a shown axis lays its labels out again.
  if (axis->min() != from || axis->max() != to) axis->setRange(from, to);
  const int ticks = static_cast<int>(std::lround((to - from) / step)) + 1;
  if (axis->tickCount() != ticks) axis->setTickCount(ticks);
  const QString format = whole ? QStringLiteral("%.0f") : QStringLiteral("%g");
  if (axis->labelFormat() != format) axis->setLabelFormat(format);
}

}  // namespace

TFormStatistic::TFormStatistic(QWidget* parent) : QWidget(parent, Qt::Tool) {
  FormStatistic = this;
  InstallSticky(this, TStickyKind::Statistic, &Dockable);
  setWindowTitle(QStringLiteral("Статистика"));
  // Hints of cut-off cells also while another window of the program is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setMinimumSize(193, 260);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  PageControl = new QTabWidget(this);
  layout->addWidget(PageControl);
  QTabBar* tabs = PageControl->tabBar();
  auto* tabStyle = new TTightTabStyle;
  tabStyle->setParent(tabs);
  tabs->setStyle(tabStyle);
  QFont tabFont = tabs->font();
  tabFont.setPointSizeF(tabFont.pointSizeF() - 1);
  tabs->setFont(tabFont);

  StringGridMain = NewTable(this);
  StringGridCell = NewTable(this);
  PageControl->addTab(StringGridMain, QStringLiteral("Общие"));
  PageControl->addTab(StringGridCell, QStringLiteral("Ячейка"));
  for (QTableWidget* grid : {StringGridMain, StringGridCell}) grid->setColumnWidth(0, FirstColumnFit(grid));

  auto chartPage = [this](QComboBox*& combo, QChartView*& view, QChart*& chart, QValueAxis*& x, QValueAxis*& y,
                          TSeriesLayer*& layer, const std::vector<TChartSeries>* series, const QString& caption,
                          const QString& xTitle, const QString& yTitle) {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    combo = new QComboBox(page);
    combo->setFixedHeight(24);
    v->addWidget(combo);
    chart = new QChart;
    x = new QValueAxis(chart);
    y = new QValueAxis(chart);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    StyleChart(chart, xTitle, yTitle);
    layer = new TSeriesLayer(chart, series, x, y);
    view = new QChartView(chart, page);
    view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    v->addWidget(view, 1);
    PageControl->addTab(page, caption);
  };
  chartPage(ComboBoxStat, ChartStat, FStat, FStatX, FStatY, FStatLayer, &StatSeries, QStringLiteral("Статистика"),
            QStringLiteral("Значение параметра"), QStringLiteral("Количество организмов"));
  chartPage(ComboBoxHistory, ChartHistory, FHistory, FHistoryX, FHistoryY, FHistoryLayer, &HistorySeries,
            QStringLiteral("Журнал"), QStringLiteral("Такт"), QStringLiteral("Математическое ожидание"));
  UpdateAxes(true);
  UpdateAxes(false);
  connect(ComboBoxHistory, &QComboBox::activated, this, [this] { ComboBoxHistoryChange(); });
  connect(ComboBoxStat, &QComboBox::activated, this, [this] { ComboBoxStatChange(); });
  connect(PageControl, &QTabWidget::currentChanged, this, [this] {
    FormResize();
    // A chart page shows what the refreshes since it was last shown brought.
    FlushChart(true);
    FlushChart(false);
  });
  for (QTableWidget* grid : {StringGridMain, StringGridCell}) grid->viewport()->installEventFilter(this);
  SetStatisticColor(clFieldDefault);
}

TFormStatistic::~TFormStatistic() {
  if (FormStatistic == this) FormStatistic = nullptr;
}

void TFormStatistic::StyleChart(QChart* chart, const QString& xTitle, const QString& yTitle) {
  chart->legend()->hide();
  // The last label of the bottom axis is centred on the plot's right edge,
  // and the chart's layout lets its box reach the chart's own edge, where the
  // label's last column of ink is lost: a few pixels of room keep it whole.
  constexpr int kLastLabelRoom = 4;
  chart->setMargins(QMargins(0, 0, kLastLabelRoom, 0));
  chart->setBackgroundRoundness(0);
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  QFont title(QStringLiteral("Arial"));
  title.setPixelSize(11);
  chart->setTitleFont(title);
  QFont axisFont = chart->font();
  axisFont.setPixelSize(10);
  for (QAbstractAxis* axis : chart->axes()) {
    axis->setTitleFont(axisFont);
    axis->setLabelsFont(axisFont);
  }
  auto* x = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
  auto* y = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
  x->setTitleText(xTitle);
  y->setTitleText(yTitle);
  y->setMinorTickCount(1);
}

void TFormStatistic::SetStatisticColor(TColor color) {
  FStatisticColor = color;
  const QColor c = PaintColor(color);
  for (QTableWidget* grid : {StringGridMain, StringGridCell}) {
    QPalette pal = grid->palette();
    pal.setColor(QPalette::Base, c);
    grid->setPalette(pal);
    grid->viewport()->update();
  }
  for (QChart* chart : {FHistory, FStat}) {
    chart->setBackgroundBrush(c);
    chart->setPlotAreaBackgroundVisible(false);
  }
}

void TFormStatistic::closeEvent(QCloseEvent* event) {
  event->accept();
  if (MainForm && MainForm->ActionViewStatistic) MainForm->ActionViewStatistic->setChecked(false);
}

void TFormStatistic::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

int TFormStatistic::FirstColumnFit(const QTableWidget* grid) const {
  // A little over the widest label, as the cells draw it (from the cell's
  // left edge, the grid line inside the column).
  constexpr int kRoom = 4;
  const QFontMetrics metrics(grid->font());
  auto widest = [&metrics](const auto& labels) {
    int width = 0;
    for (const char* text : labels) width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(text)));
    return width;
  };
  return (grid == StringGridMain ? widest(kMainRows) : widest(kCellRows)) + kRoom;
}

QString TFormStatistic::ShownText(const QTableWidget* grid, int row, int col) const {
  const QModelIndex index = grid->model()->index(row, col);
  return grid->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, grid->visualRect(index).width());
}

void TFormStatistic::FormResize() {
  for (QTableWidget* grid : {StringGridMain, StringGridCell})
    grid->setColumnWidth(1, std::max(0, grid->viewport()->width() - grid->columnWidth(0)));
}

bool TFormStatistic::eventFilter(QObject* watched, QEvent* event) {
  QTableWidget* grid = nullptr;
  for (QTableWidget* g : {StringGridMain, StringGridCell})
    if (watched == g->viewport()) grid = g;
  if (!grid) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint: {
      // The table's own background, below the last row too, is the statistics
      // colour whatever the style does with palettes; the cells paint over it.
      QPainter p(grid->viewport());
      p.fillRect(static_cast<QPaintEvent*>(event)->rect(), PaintColor(FStatisticColor));
      break;
    }
    case QEvent::MouseButtonPress: {
      const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
      if (std::abs(x - grid->columnWidth(0)) < 3) Splitting = true;
      break;
    }
    case QEvent::MouseButtonRelease:
      Splitting = false;
      break;
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint pos = me->position().toPoint();
      grid->viewport()->setCursor(std::abs(pos.x() - grid->columnWidth(0)) < 3 ? Qt::SplitHCursor : Qt::ArrowCursor);
      if (Splitting && (me->buttons() & Qt::LeftButton)) {
        const int client = grid->viewport()->width();
        grid->setColumnWidth(0, std::min(client - 30, std::max(30, pos.x())));
        FormResize();
      }
      // A cell shortened to fit shows its text whole in a hint over itself.
      const QModelIndex index = grid->indexAt(pos);
      QString hint;
      if (index.isValid()) {
        const QString text = index.data().toString();
        const QTableWidgetItem* key = grid->item(index.row(), 0);
        const bool section = key && key->text().startsWith(QLatin1Char('&'));
        if (!section && ShownText(grid, index.row(), index.column()) != text) hint = text;
      }
      if (hint != grid->toolTip()) QToolTip::hideText();
      grid->setToolTip(hint);
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TFormStatistic::SetCell(QTableWidget* grid, int row, int col, const QString& text) {
  if (row < 0 || row >= grid->rowCount()) return;
  QTableWidgetItem* item = grid->item(row, col);
  if (!item) {
    grid->setItem(row, col, new QTableWidgetItem(text));
  } else if (item->text() != text) {
    item->setText(text);
  }
}

QString TFormStatistic::FormatMean(long double value) {
  const double v = static_cast<double>(value);
  if (v == 0 || !std::isfinite(v)) return QStringLiteral("0");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4e", std::fabs(v));
  // buf: d.dddde[+-]XX
  const QString s = QString::fromLatin1(buf);
  const int ePos = s.indexOf(QLatin1Char('e'));
  const int k = s.mid(ePos + 1).toInt();  // v = d.dddd x 10^k
  const int e = k + 1;                    // v = 0.dddd x 10^e
  const QString sep = QLocale().decimalPoint();
  QString out;
  if (e >= -3 && e <= 5) {
    out = QString::number(std::fabs(v), 'f', std::max(0, 5 - e));
    if (out.contains(QLatin1Char('.'))) {
      while (out.endsWith(QLatin1Char('0'))) out.chop(1);
      if (out.endsWith(QLatin1Char('.'))) out.chop(1);
    }
    out.replace(QLatin1Char('.'), sep);
  } else {
    QString digits = s.left(ePos);  // d.dddd
    QString frac = digits.mid(2);
    while (frac.endsWith(QLatin1Char('0'))) frac.chop(1);
    out = digits.left(1);
    if (!frac.isEmpty()) out += sep + frac;
    out += QLatin1Char('E') + QString::number(k);
  }
  if (v < 0) out.prepend(QLatin1Char('-'));
  return out;
}

void TFormStatistic::UpdateView() {
  if (FormView) FormView->DrawGridField->viewport()->update();
  UpdateStatistics();
}

void TFormStatistic::UpdateStatistics() {
  if (!MainForm || !MainForm->Resource || !MainForm->Plant) return;
  const TResourceObject& res = *MainForm->Resource;
  const TPlantObject& plant = *MainForm->Plant;
  const int R = res.Count;
  for (int r = 0; r < R; ++r) {
    const TResourceParameter& p = res.Params[r];
    SetCell(StringGridMain, 3 * r + 1, 1, QStringLiteral("%1 / %2").arg(p.CellCount).arg(p.MaxCellCount));
    SetCell(StringGridMain, 3 * r + 2, 1, QStringLiteral("%1 / %2").arg(p.Total).arg(p.MaxTotal));
  }
  const int H = ComboBoxHistory->count(), S = ComboBoxStat->count();
  const double step = MainForm->Step;
  // Each point in the species' colour as it is now: a series whose species
  // changed its colour is drawn in the new one.
  auto history = [&](int index, double y, TColor color) {
    if (index < 0 || index >= static_cast<int>(HistorySeries.size())) return;
    HistorySeries[index].Points.emplace_back(step, y);
    HistorySeries[index].Color = color;
    HistorySeries[index].Dirty = true;
  };
  // Mean rows in table order, with the history item each one feeds.
  const int meanGene[6] = {gResourceBegin, gResourceEat, gAgeReproduct, gChildrenCount, gAgeMax, gMutation};
  for (int s = 0; s < plant.Count; ++s) {
    const TPlantParameter& p = plant.Params[s];
    const int b = 3 * R + 9 * s;
    SetCell(StringGridMain, b + 1, 1, QStringLiteral("%1 / %2").arg(p.Const.Count).arg(p.Stat.MaxCount));
    history(H * s + 0, p.Const.Count, p.Const.Color);
    SetCell(StringGridMain, b + 2, 1, QStringLiteral("%1 / %2").arg(p.Const.Mass).arg(p.Stat.MaxMass));
    history(H * s + 1, static_cast<double>(p.Const.Mass), p.Const.Color);
    for (int m = 0; m < 6; ++m) {
      const long double mean = p.Stat.Average[meanGene[m]];
      SetCell(StringGridMain, b + 3 + m, 1, FormatMean(mean));
      history(H * s + 2 + m, static_cast<double>(mean), p.Const.Color);
    }
    if (S > 0)
      for (int k = 0; k < 8 && k < S; ++k)
        SetDistribution(S * s + k, p.Stat.Histogram[kStatGene[k]], p.Const.Color,
                        static_cast<double>(p.Stat.Average[kStatGene[k]]));
  }
  FlushChart(true);
  FlushChart(false);
}

void TFormStatistic::ShowDistribution(int index, const TStatArray& histogram, TColor color, double mean) {
  SetDistribution(index, histogram, color, mean);
  FStatLayer->Changed();
}

void TFormStatistic::SetDistribution(int index, const TStatArray& histogram, TColor color, double mean) {
  if (index < 0 || index >= static_cast<int>(StatSeries.size())) return;
  TChartSeries& line = StatSeries[index];
  line.Points.clear();
  line.Color = color;
  if (histogram.empty()) {
    line.Drawn.clear();
    return;
  }
  line.Points.reserve(histogram.size() + 2);
  line.Points.emplace_back(histogram.front().Value - 1.0, 0.0);
  double top = 0;
  for (const TStatItem& item : histogram) {
    line.Points.emplace_back(item.Value, item.Num);
    top = std::max<double>(top, item.Num);
  }
  line.Points.emplace_back(histogram.back().Value + 1.0, 0.0);
  line.Drawn = QList<QPointF>(line.Points.begin(), line.Points.end());
  const int barIndex = ComboBoxStat->count() * (MainForm ? MainForm->Plant->Count : 0) + index;
  if (barIndex < 0 || barIndex >= static_cast<int>(StatSeries.size())) return;
  TChartSeries& bar = StatSeries[barIndex];
  bar.Color = color;
  bar.Points.assign({QPointF(mean, 0.0), QPointF(mean, top)});
  bar.Drawn = QList<QPointF>(bar.Points.begin(), bar.Points.end());
}

QList<QPointF> TFormStatistic::Thin(const std::vector<QPointF>& points, int columns) {
  const size_t n = points.size();
  columns = std::max(1, columns);
  if (n <= static_cast<size_t>(4 * columns)) return QList<QPointF>(points.begin(), points.end());
  QList<QPointF> out;
  out.reserve(4 * columns);
  for (int b = 0; b < columns; ++b) {
    const size_t from = n * b / columns, to = n * (b + 1) / columns;
    if (from >= to) continue;
    size_t lo = from, hi = from;
    for (size_t i = from + 1; i < to; ++i) {
      if (points[i].y() < points[lo].y()) lo = i;
      if (points[i].y() > points[hi].y()) hi = i;
    }
    size_t pick[4] = {from, std::min(lo, hi), std::max(lo, hi), to - 1};
    size_t last = SIZE_MAX;
    for (size_t i : pick) {
      if (i == last) continue;
      out.append(points[i]);
      last = i;
    }
  }
  return out;
}

void TFormStatistic::FlushChart(bool history) {
  // A chart is brought up to date only when it is on screen, or the whole
  // window is hidden (a picture may then be taken of it): on a hidden page
  // the history's points and both charts' axes wait until the page is shown.
  // Laying out an axis is the costliest part of a refresh.
  const bool shown = (history ? ChartHistory : ChartStat)->isVisible() || !isVisible();
  if (!shown) return;
  if (history) {
    const int columns = std::max(100, static_cast<int>(FHistory->plotArea().width()));
    for (TChartSeries& s : HistorySeries) {
      if (!s.Active || !s.Dirty) continue;
      s.Drawn = Thin(s.Points, columns);
      s.Dirty = false;
    }
  }
  UpdateAxes(history);
  (history ? FHistoryLayer : FStatLayer)->Changed();
}

void TFormStatistic::UpdateAxes(bool history) {
  const std::vector<TChartSeries>& series = history ? HistorySeries : StatSeries;
  QValueAxis* x = history ? FHistoryX : FStatX;
  QValueAxis* y = history ? FHistoryY : FStatY;
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  bool any = false;
  for (const TChartSeries& s : series) {
    if (!s.Active || s.Points.empty()) continue;
    if (!any) {
      x0 = x1 = s.Points.front().x();
      y0 = y1 = s.Points.front().y();
      any = true;
    }
    // History points come in tick order: the ends give the x range.
    if (history) {
      x0 = std::min(x0, s.Points.front().x());
      x1 = std::max(x1, s.Points.back().x());
    }
    for (const QPointF& p : s.Points) {
      if (!history) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
      }
      y0 = std::min(y0, p.y());
      y1 = std::max(y1, p.y());
    }
  }
  if (any) {
    y0 = std::min(0.0, y0);
    if (x1 <= x0) x1 = x0 + 1;
    if (y1 <= y0) y1 = y0 + 1;
    y1 += (y1 - y0) * 0.05;
  } else {
    x0 = y0 = 0;
    x1 = y1 = 1;
  }
  // The ticks and the parameter values are whole numbers, and so are the
  // organisms counted in a distribution and the history's counts and masses;
  // the history's means are not.
  SetRoundRange(x, x0, x1, true);
  SetRoundRange(y, y0, y1, !history || ComboBoxHistory->currentIndex() < 2);
}

void TFormStatistic::ShowCell(int col, int row) {
  if (!MainForm || !MainForm->Resource || !MainForm->Plant) return;
  const TResourceObject& res = *MainForm->Resource;
  const TPlantObject& plant = *MainForm->Plant;
  const bool inside = col >= 0 && row >= 0 && row < plant.RowCount && col < plant.ColCount && row < res.RowCount &&
                      col < res.ColCount;
  const int R = res.Count;
  for (int r = 0; r < R; ++r) {
    const int32_t amount = inside ? res.Amount(r, row, col) : 0;
    SetCell(StringGridCell, 2 * r + 1, 1, amount > 0 ? QString::number(amount) : QString());
  }
  for (int s = 0; s < plant.Count; ++s) {
    const int c = 2 * R + 11 * s;
    const TPlantCell* cell = inside ? &plant.Field(row, col) : nullptr;
    const bool here = cell && cell->Mass > 0 && cell->Species == s;
    auto resourceName = [&](int32_t index) {
      // A mutant may name a resource deleted since: show its number, never read past the list.
      if (index >= 0 && index < R) return QString::fromStdString(res.Params[index].Name);
      return QString::number(index);
    };
    QString values[10];
    if (here) {
      const TGenome& g = cell->Genome;
      values[0] = QString::number(g.ResourceBegin());
      values[1] = QString::number(cell->Mass);
      values[2] = QString::number(g.ResourceEat());
      values[3] = QString::number(g.AgeReproduct());
      values[4] = QString::number(g.ChildrenCount());
      values[5] = QString::number(cell->Age);
      values[6] = QString::number(g.AgeMax());
      values[7] = QString::number(g.Mutation());
      values[8] = resourceName(g.ResourceIn());
      values[9] = resourceName(g.ResourceOut());
    }
    for (int k = 0; k < 10; ++k) SetCell(StringGridCell, c + 1 + k, 1, values[k]);
  }
}

void TFormStatistic::AddSeries(std::vector<TChartSeries>& list, TColor color, bool active, bool bar) {
  TChartSeries s;
  s.Color = color;
  s.Active = active;
  s.Bar = bar;
  list.push_back(std::move(s));
}

void TFormStatistic::ClearHistory() {
  for (TChartSeries& s : HistorySeries) {
    s.Points.clear();
    s.Drawn.clear();
    s.Dirty = false;
  }
  UpdateAxes(true);
  FHistoryLayer->Changed();
}

void TFormStatistic::RebuildLayout() {
  if (!MainForm || !MainForm->Resource || !MainForm->Plant) return;
  const TResourceObject& res = *MainForm->Resource;
  const TPlantObject& plant = *MainForm->Plant;
  const int R = res.Count, P = plant.Count;
  const int historyIndex = ComboBoxHistory->currentIndex(), statIndex = ComboBoxStat->currentIndex();

  // Labels only: the values stay as they are until the next refresh (a new
  // name shows at once, its numbers do not go blank).
  for (QTableWidget* grid : {StringGridMain, StringGridCell}) grid->clearSpans();
  StringGridMain->setRowCount(3 * R + 9 * P);
  StringGridCell->setRowCount(2 * R + 11 * P);
  ComboBoxHistory->clear();
  ComboBoxStat->clear();

  auto label = [this](QTableWidget* grid, int row, const QString& text) {
    SetCell(grid, row, 0, text);
    if (text.startsWith(QLatin1Char('&'))) {
      SetCell(grid, row, 1, QString());
      grid->setSpan(row, 0, 1, 2);
    }
  };
  for (int r = 0; r < R; ++r) {
    const QString name = QLatin1Char('&') + QString::fromStdString(res.Params[r].Name);
    label(StringGridMain, 3 * r, name);
    label(StringGridMain, 3 * r + 1, QString::fromUtf8(kMainRows[0]));
    label(StringGridMain, 3 * r + 2, QString::fromUtf8(kMainRows[1]));
    label(StringGridCell, 2 * r, name);
    label(StringGridCell, 2 * r + 1, QString::fromUtf8(kCellRows[1]));
  }
  for (int s = 0; s < P; ++s) {
    const QString name = QLatin1Char('&') + QString::fromStdString(plant.Params[s].Const.Name);
    const int b = 3 * R + 9 * s, c = 2 * R + 11 * s;
    label(StringGridMain, b, name);
    for (int k = 0; k < 8; ++k) label(StringGridMain, b + 1 + k, QString::fromUtf8(kMainRows[k]));
    label(StringGridCell, c, name);
    for (int k = 0; k < 10; ++k) label(StringGridCell, c + 1 + k, QString::fromUtf8(kCellRows[k]));
  }
  if (P > 0) {
    for (const char* item : kHistoryItems) ComboBoxHistory->addItem(QString::fromUtf8(item));
    for (const char* item : kStatItems) ComboBoxStat->addItem(QString::fromUtf8(item));
  }
  ComboBoxHistory->setCurrentIndex(historyIndex < ComboBoxHistory->count() ? historyIndex : -1);
  ComboBoxStat->setCurrentIndex(statIndex < ComboBoxStat->count() ? statIndex : -1);

  // New, empty series: the history starts again.
  HistorySeries.clear();
  const int H = ComboBoxHistory->count(), S = ComboBoxStat->count();
  const int hSel = ComboBoxHistory->currentIndex(), sSel = ComboBoxStat->currentIndex();
  for (int s = 0; s < P; ++s)
    for (int k = 0; k < H; ++k) AddSeries(HistorySeries, plant.Params[s].Const.Color, k == hSel, false);
  StatSeries.clear();
  for (int bars = 0; bars < 2; ++bars)
    for (int s = 0; s < P; ++s)
      for (int k = 0; k < S; ++k) AddSeries(StatSeries, plant.Params[s].Const.Color, k == sSel, bars == 1);
  UpdateAxes(true);
  UpdateAxes(false);
  FHistoryLayer->Changed();
  FStatLayer->Changed();

  // The brush buttons of the field view follow the lists.
  if (FormView) {
    // An empty list turns its button off (and its brush over to the pointer);
    // otherwise the button names the list's item that the brush puts, kept
    // inside the list.
    auto follow = [](QToolButton* button, int count, TBrushTool brush, int& subBrush, const QString& none,
                     const QString& prefix, const auto& nameOf) {
      if (count == 0) {
        button->setEnabled(false);
        button->setToolTip(none);
        FormView->BrushGivesWay(brush);
      } else {
        button->setEnabled(true);
        if (subBrush >= count) subBrush = count - 1;
        const int sub = subBrush;
        button->setToolTip(prefix + (sub >= 0 ? QString::fromStdString(nameOf(sub)) : QString()));
      }
    };
    follow(FormView->ToolButtonResource, R, TBrushTool::Resource, MainForm->SubBrushResource,
           QStringLiteral("(Нет ресурсов)"), QStringLiteral("Ресурс: "), [&](int i) { return res.Params[i].Name; });
    follow(FormView->ToolButtonPlant, P, TBrushTool::Plant, MainForm->SubBrushPlant, QStringLiteral("(Нет организмов)"),
           QStringLiteral("Организм: "), [&](int i) { return plant.Params[i].Const.Name; });
    FormView->ToolBar->update();
  }
  FormResize();
}

void TFormStatistic::ComboBoxHistoryChange() {
  const int count = ComboBoxHistory->count(), sel = ComboBoxHistory->currentIndex();
  for (int i = static_cast<int>(HistorySeries.size()) - 1; i >= 0; --i) {
    TChartSeries& s = HistorySeries[i];
    const bool active = count > 0 && i % count == sel;
    if (active && !s.Active) s.Dirty = true;
    if (!active && s.Active) s.Drawn.clear();
    s.Active = active;
  }
  FHistory->setTitle(sel >= 0 ? ComboBoxHistory->itemText(sel) : QString());
  FlushChart(true);
}

void TFormStatistic::ComboBoxStatChange() {
  const int count = ComboBoxStat->count(), sel = ComboBoxStat->currentIndex();
  for (int i = static_cast<int>(StatSeries.size()) - 1; i >= 0; --i) {
    TChartSeries& s = StatSeries[i];
    s.Active = count > 0 && i % count == sel;
  }
  FStat->setTitle(sel >= 0 ? ComboBoxStat->itemText(sel) : QString());
  FlushChart(false);
}
