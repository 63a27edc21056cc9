// Speed of the statistics refresh late in a long run: 200 x 200 field,
// three species, Refresh 10, 100,000 ticks, so every history series holds
// 10,000 points. Measured: one refresh (the call and the repaint of the
// shown history chart that follows it).
#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QTabWidget>
#include <QChartView>

#include "BenchApp.h"
#include "model/uEngine.h"
#include "model/uRandom.h"
#include "windows/main/main.h"
#include "windows/parameter/fParameter.h"
#include "windows/statistic/fStatistic.h"
#include "windows/view/fView.h"

namespace {

TMainForm* LongRun() {
  static TMainForm* form = [] {
    BenchApplication();
    auto* f = new TMainForm;
    RandSeed = 99;
    f->Plant->SetSize(200, 200);
    f->Resource->SetSize(200, 200);
    f->Resource->Add("B", 25, 70, clRed);
    f->Resource->SetSize(200, 200);
    for (int s = 1; s < 3; ++s) {
      TPlantParameter p = f->Plant->Params[0];
      p.Const.Name = "S" + std::to_string(s);
      p.Const.Color = s == 1 ? clRed : RGBColor(0, 0, 255);
      p.Param.ResourceIn() = s % 2;
      p.Param.ResourceOut() = (s + 1) % 2;
      f->Plant->Add(p);
      FormParameter->ListBoxPlant->addItem(QString::fromStdString(p.Const.Name));
    }
    FormStatistic->RebuildLayout();
    f->Resource->AddAmountEverywhere(0, 30);
    f->Resource->AddAmountEverywhere(1, 30);
    for (int r = 0; r < 200; ++r)
      for (int c = 0; c < 200; ++c)
        if (Random(10) < 5) f->Plant->Place(Random(3), r, c);
    FormStatistic->resize(520, 420);
    FormStatistic->PageControl->setCurrentIndex(3);
    FormStatistic->show();
    f->Refresh = 10;
    f->ActionFieldStop->setEnabled(true);
    for (int i = 0; i < 100000; ++i) {
      f->ActionFieldStepExecute();
      if (i % 1000 == 0) QCoreApplication::processEvents();
      // Keep the field alive for the whole run.
      if (i % 5000 == 0)
        for (int s = 0; s < 3; ++s)
          if (f->Plant->Params[s].Const.Count == 0) f->Plant->Place(s, Random(200), Random(200));
    }
    f->ActionFieldStop->setEnabled(false);
    return f;
  }();
  return form;
}

void BM_RefreshAtTenThousandPoints(benchmark::State& state) {
  TMainForm* f = LongRun();
  for (auto _ : state) {
    FormStatistic->UpdateView();
    FormStatistic->ChartHistory->repaint();
  }
  state.counters["points_per_series"] = static_cast<double>(FormStatistic->HistorySeries[0].Points.size());
  state.counters["series"] = static_cast<double>(FormStatistic->HistorySeries.size());
  (void)f;
}
BENCHMARK(BM_RefreshAtTenThousandPoints)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
