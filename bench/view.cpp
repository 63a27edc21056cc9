// Speed of the field view, and of a run with the windows open.
//
// The repaints: one full repaint of what is in view of the busy 1000 x 1000
// field, at cell size 1 (the whole field in view) and at cell size 9 (the
// part a 453 x 453 view shows).
//
// The run: one statistics period (10 ticks, the refresh falling on the last)
// of the busy field of bench_tick, from its settled state and seed at every
// iteration; bare, and as the run loop does it with the field view (453 x 453
// at cell size 1) and the statistics window open on its history chart, one
// message pump pass per tick. The time is that of the 10 ticks; `ticks` counts
// ticks per second, as the view's speed display does. The run with the windows
// also ticks each period bare beside it and gives the difference of the pairs;
// the windows' part alone, with each of the four statistics pages shown, times
// the same run with the ticks themselves left out of the timing.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QListWidget>
#include <QSpinBox>
#include <QTabWidget>
#include <chrono>

#include "BenchApp.h"
#include "BusyField.h"
#include "model/uEngine.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

namespace {

constexpr int kPeriod = 10;

// The main window holding the busy field, its resources and species listed in
// the parameter editor, the view's brush menus and the statistics window.
TMainForm* BusyForm() {
  static TMainForm* form = [] {
    BenchApplication();
    auto* f = new TMainForm;
    const BusyField& field = BigBusyField();
    FormParameter->UpDownR->setValue(BusyField::kRows);
    FormParameter->UpDownC->setValue(BusyField::kCols);
    field.RestoreInto(*f->Resource, *f->Plant, f->Step);
    FormParameter->ListBoxResource->clear();
    for (const TResourceParameter& p : f->Resource->Params)
      FormParameter->ListBoxResource->addItem(QString::fromStdString(p.Name));
    FormParameter->ListBoxPlant->clear();
    for (const TPlantParameter& p : f->Plant->Params)
      FormParameter->ListBoxPlant->addItem(QString::fromStdString(p.Const.Name));
    FormView->FillBrushMenu();
    FormView->UpdateFieldSize();
    FormStatistic->RebuildLayout();
    CalcAverages(*f->Plant);
    FormStatistic->UpdateStatistics();
    f->Refresh = kPeriod;
    return f;
  }();
  return form;
}

void Repaint(benchmark::State& state, int cell, QSize view) {
  BusyForm();
  FormView->SetCellSize(cell);
  FormView->DrawGridField->resize(view);
  QImage image;
  for (auto _ : state) {
    FormView->DrawGridField->RenderView(image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["cells"] = static_cast<double>(view.width() / (cell + 1)) * (view.height() / (cell + 1));
}

void BM_RepaintCell1WholeField(benchmark::State& state) { Repaint(state, 1, QSize(2002, 2002)); }
void BM_RepaintCell9InView(benchmark::State& state) { Repaint(state, 9, QSize(453, 453)); }
void BM_RepaintCell1InView(benchmark::State& state) { Repaint(state, 1, QSize(453, 453)); }
BENCHMARK(BM_RepaintCell1WholeField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintCell9InView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintCell1InView)->Unit(benchmark::kMillisecond);

// Times one statistics period per iteration, `pass` making each tick, from
// the busy field's start state.
template <class Pass>
void TimePeriods(benchmark::State& state, Pass pass) {
  TMainForm* f = BusyForm();
  for (auto _ : state) {
    state.PauseTiming();
    BigBusyField().RestoreInto(*f->Resource, *f->Plant, f->Step);
    state.ResumeTiming();
    for (int i = 0; i < kPeriod; ++i) pass(state, *f);
  }
}

void CountTicks(benchmark::State& state) {
  state.counters["ticks"] = benchmark::Counter(kPeriod, benchmark::Counter::kIsIterationInvariantRate);
}

// The windows of a run open, the statistics window on `page`, for the length of the benchmark.
class TRunWindows {
 public:
  TRunWindows(TMainForm* f, int page) : F(f) {
    FormView->SetCellSize(1);
    FormView->resize(453, 475);
    FormView->show();
    FormStatistic->PageControl->setCurrentIndex(page);
    FormStatistic->show();
    QCoreApplication::processEvents();  // shown and laid out before the timing
    F->ActionFieldStop->setEnabled(true);  // as the run loop does
  }
  ~TRunWindows() {
    F->ActionFieldStop->setEnabled(false);
    FormView->hide();
    FormStatistic->hide();
  }

 private:
  TMainForm* F;
};

constexpr int kHistoryPage = 3;

void BM_BareTick(benchmark::State& state) {
  TimePeriods(state, [](benchmark::State&, TMainForm& f) { Tick(*f.Resource, *f.Plant, f.Step); });
  CountTicks(state);
}
BENCHMARK(BM_BareTick)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One pass of the run loop per tick. Before or after each timed period the
// same period is ticked bare, untimed: `bare_ms` and `run_ms` are the two
// periods' mean times by the clock and `extra_pct` how much longer the run
// took. Pairs ticked moments apart feel the machine's drifting memory speed
// alike, which the two benchmarks, seconds apart, do not.
void BM_RunTickWithWindows(benchmark::State& state) {
  TMainForm* f = BusyForm();
  const TRunWindows windows(f, kHistoryPage);
  using Clock = std::chrono::steady_clock;
  Clock::duration bare{}, run{};
  auto barePeriod = [&] {
    BigBusyField().RestoreInto(*f->Resource, *f->Plant, f->Step);
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPeriod; ++i) Tick(*f->Resource, *f->Plant, f->Step);
    bare += Clock::now() - start;
  };
  bool bareFirst = true;  // in turn, so that neither always follows the other
  for (auto _ : state) {
    state.PauseTiming();
    if (bareFirst) barePeriod();
    BigBusyField().RestoreInto(*f->Resource, *f->Plant, f->Step);
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPeriod; ++i) {
      f->ActionFieldStepExecute();
      QCoreApplication::processEvents();
    }
    run += Clock::now() - start;
    state.PauseTiming();
    if (!bareFirst) barePeriod();
    bareFirst = !bareFirst;
    state.ResumeTiming();
  }
  CountTicks(state);
  const double n = static_cast<double>(state.iterations());
  const double bareMs = std::chrono::duration<double, std::milli>(bare).count() / n;
  const double runMs = std::chrono::duration<double, std::milli>(run).count() / n;
  state.counters["bare_ms"] = bareMs;
  state.counters["run_ms"] = runMs;
  state.counters["extra_pct"] = 100 * (runMs / bareMs - 1);
}
BENCHMARK(BM_RunTickWithWindows)->Unit(benchmark::kMillisecond)->Iterations(40);

// The same passes with the tick itself untimed: what the windows cost.
void BM_RunWindowsAlone(benchmark::State& state) {
  const TRunWindows windows(BusyForm(), static_cast<int>(state.range(0)));
  TimePeriods(state, [](benchmark::State& s, TMainForm& f) {
    s.PauseTiming();
    Tick(*f.Resource, *f.Plant, f.Step);
    s.ResumeTiming();
    f.ShowTick();
    QCoreApplication::processEvents();
  });
}
BENCHMARK(BM_RunWindowsAlone)->ArgName("page")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
