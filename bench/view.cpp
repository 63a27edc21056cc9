// Speed of the field view: one full repaint of what is in view of a
// 1000 x 1000 busy field, at cell size 1 (the whole field in view) and at
// cell size 9 (the part a 453 x 453 view shows).
#include <benchmark/benchmark.h>

#include <QImage>

#include "BenchApp.h"
#include "model/uEngine.h"
#include "model/uRandom.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"
#include "windows/main/main.h"

namespace {

TMainForm* BusyForm() {
  static TMainForm* form = [] {
    BenchApplication();
    auto* f = new TMainForm;
    RandSeed = 777;
    f->Plant->SetSize(1000, 1000);
    f->Resource->SetSize(1000, 1000);
    f->Resource->AddAmountEverywhere(0, 40);
    for (int r = 0; r < 1000; ++r)
      for (int c = 0; c < 1000; ++c)
        if (Random(10) < 6) f->Plant->Place(0, r, c);
    for (int i = 0; i < 5; ++i) Tick(*f->Resource, *f->Plant, f->Step);  // mutants and waste
    FormView->UpdateFieldSize();
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

// Ticks of a continuous run with the windows open (view 453 x 453 at cell
// size 1, statistics every 10 ticks, one message pump pass per tick), against
// the bare tick on the same field.
void BM_BareTick(benchmark::State& state) {
  TMainForm* f = BusyForm();
  for (auto _ : state) Tick(*f->Resource, *f->Plant, f->Step);
}
BENCHMARK(BM_BareTick)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RunTickWithWindows(benchmark::State& state) {
  TMainForm* f = BusyForm();
  FormView->SetCellSize(1);
  FormView->resize(453, 475);
  FormView->show();
  FormStatistic->show();
  f->Refresh = 10;
  f->ActionFieldStop->setEnabled(true);  // as the run loop does
  for (auto _ : state) {
    f->ActionFieldStepExecute();
    QCoreApplication::processEvents();
  }
  f->ActionFieldStop->setEnabled(false);
}
BENCHMARK(BM_RunTickWithWindows)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
