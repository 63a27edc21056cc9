#include "windows/fStatistic.h"

#include <QCloseEvent>

TFormStatistic* FormStatistic = nullptr;

TFormStatistic::TFormStatistic(QWidget* parent) : QWidget(parent, Qt::Tool) {}
TFormStatistic::~TFormStatistic() = default;
void TFormStatistic::UpdateView() {}
void TFormStatistic::UpdateStatistics() {}
void TFormStatistic::ShowCell(int, int) {}
void TFormStatistic::RebuildLayout() {}
void TFormStatistic::ClearHistory() {}
void TFormStatistic::ShowDistribution(int, const TStatArray&, TColor, double) {}
void TFormStatistic::ComboBoxHistoryChange() {}
void TFormStatistic::ComboBoxStatChange() {}
void TFormStatistic::FormResize() {}
void TFormStatistic::SetStatisticColor(TColor c) { FStatisticColor = c; }
QString TFormStatistic::FormatMean(long double) { return {}; }
void TFormStatistic::closeEvent(QCloseEvent* e) { e->accept(); }
void TFormStatistic::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }
bool TFormStatistic::eventFilter(QObject* w, QEvent* e) { return QWidget::eventFilter(w, e); }
void TFormStatistic::TakeSeriesOff(QChart*, std::vector<TChartSeries>&) {}
void TFormStatistic::AddSeries(QChart*, std::vector<TChartSeries>&, const QString&, bool, bool) {}
void TFormStatistic::FlushChart(QChart*, std::vector<TChartSeries>&, bool) {}
