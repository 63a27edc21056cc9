// Import of a large resource set: 3,000 records (1,500 resources and 1,500
// species, every one ticked) into the main window's model of one resource and
// one species, which takes them up to its limit of items (the counter
// "records" says how many came in). Measured: the import once its file is
// chosen (the records go through the parameter editor's lists into the
// stores, and the statistics are laid out for them and refreshed), one run on
// a fresh main window.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "BenchApp.h"
#include "files/uResourceSet.h"
#include "windows/main/main.h"

namespace {

constexpr int kResources = 1500, kPlants = 1500;

// A set of kResources resources and kPlants species, each species eating and
// leaving one of them.
std::string WriteSet(const QTemporaryDir& dir) {
  TResourceObject resource(0, 45, 45);
  TPlantObject plant(0, 45, 45);
  for (int i = 0; i < kResources; ++i)
    resource.Add("Set resource " + std::to_string(i), 10 + i % 40, i % 100, static_cast<TColor>(i * 2654435761u) & 0xFFFFFF);
  for (int i = 0; i < kPlants; ++i)
    plant.Add(NewPlantParameter("Set species " + std::to_string(i), TGenome(1, 1, 5, 10, 3, 10, i % kResources, 0),
                                static_cast<TColor>(i * 40503u) & 0xFFFFFF));
  TResourceSetSelection all;
  all.Resources.assign(kResources, true);
  all.Plants.assign(kPlants, true);
  const std::string name = dir.path().toStdString() + "/large.zor";
  ExportResourceSet(name, resource, plant, all);
  return name;
}

void BM_ImportThreeThousandRecords(benchmark::State& state) {
  BenchApplication();
  QTemporaryDir dir;
  TResourceSet set;
  ReadResourceSet(WriteSet(dir), set);
  TResourceSetSelection all;
  all.Resources.assign(kResources, true);
  all.Plants.assign(kPlants, true);
  int32_t added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto* form = new TMainForm;
    QCoreApplication::processEvents();
    state.ResumeTiming();
    added = form->ImportResourceSet(set, all);
    QCoreApplication::processEvents();
    state.PauseTiming();
    delete form;
    state.ResumeTiming();
  }
  state.counters["records"] = static_cast<double>(added);
}
BENCHMARK(BM_ImportThreeThousandRecords)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
