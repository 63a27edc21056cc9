// Speed of the field view, and of a run with the windows open.
//
// The repaints: one full repaint of what is in view of the busy 1000 x 1000
// field, at cell size 1 (the whole field in view) and at cell size 9 (the
// part a 453 x 453 view shows).
//
// The run: one statistics period (10 ticks, the refresh falling on the last)
// of the busy field of bench_tick, from its settled state and seed at every
// iteration; bare, and as the run loop does it with the field view (453 x 453
// at cell size 1) and the statistics window open, one message pump pass per
// tick. The time is that of the 10 ticks; `ticks` counts ticks per second, as
// the view's speed display does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QListWidget>
#include <QSpinBox>

#include "BenchApp.h"
#include "BusyField.h"
#include "model/uEngine.h"
#include "windows/fParameter.h"
#include "windows/fStatistic.h"
#include "windows/fView.h"
#include "windows/main.h"

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

// Times one statistics period per iteration, `tick` making each tick, from
// the busy field's start state.
template <class TickFn>
void TimePeriods(benchmark::State& state, TickFn tick) {
  TMainForm* f = BusyForm();
  for (auto _ : state) {
    state.PauseTiming();
    BigBusyField().RestoreInto(*f->Resource, *f->Plant, f->Step);
    state.ResumeTiming();
    for (int i = 0; i < kPeriod; ++i) tick(*f);
  }
  state.counters["ticks"] = benchmark::Counter(kPeriod, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BareTick(benchmark::State& state) {
  TimePeriods(state, [](TMainForm& f) { Tick(*f.Resource, *f.Plant, f.Step); });
}
BENCHMARK(BM_BareTick)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RunTickWithWindows(benchmark::State& state) {
  TMainForm* f = BusyForm();
  FormView->SetCellSize(1);
  FormView->resize(453, 475);
  FormView->show();
  FormStatistic->show();
  QCoreApplication::processEvents();  // shown and laid out before the timing
  f->ActionFieldStop->setEnabled(true);  // as the run loop does
  TimePeriods(state, [](TMainForm& form) {
    form.ActionFieldStepExecute();
    QCoreApplication::processEvents();
  });
  f->ActionFieldStop->setEnabled(false);
  FormView->hide();
  FormStatistic->hide();
}
BENCHMARK(BM_RunTickWithWindows)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
