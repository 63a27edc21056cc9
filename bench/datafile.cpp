// Speed of the data file on a 1000 x 1000 field with 2 resources and 3 species
// (about 13 million lines), each way, and the peak memory of a load measured
// in a child process: how far a load rises above the model it builds.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "files/uDataFile.h"
#include "model/uEngine.h"
#include "model/uRandom.h"

namespace {

constexpr int kRows = 1000, kCols = 1000;

std::string BenchFile() {
  return (std::filesystem::temp_directory_path() / ("zo_bench_" + std::to_string(getpid()) + ".zod")).string();
}

struct TBusyModel {
  std::unique_ptr<TResourceObject> Res = std::make_unique<TResourceObject>(0, kRows, kCols);
  std::unique_ptr<TPlantObject> Plant = std::make_unique<TPlantObject>(0, kRows, kCols);
  TDataFileDocument Doc;

  TBusyModel() {
    RandSeed = 777;
    Plant->Field.Reset(kRows, kCols);
    Res->Add("Ресурс А", 25, 70, clYellow);
    Res->Add("Ресурс Б", 25, 70, clRed);
    for (int s = 0; s < 3; ++s) {
      Plant->Add(NewPlantParameter("Организм " + std::to_string(s), TGenome(1, 1, 5, 10, 3, 10, s % 2, (s + 1) % 2)));
    }
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) {
        Res->AddAmount(0, r, c, 1 + Random(100));
        if (Random(3) == 0) Res->AddAmount(1, r, c, Random(1000));
      }
    // Grow a living population with a few ticks.
    for (int r = 0; r < kRows; r += 7)
      for (int c = 0; c < kCols; c += 5) Plant->Place((r + c) % 3, r, c);
    for (int i = 0; i < 12; ++i) Tick(*Res, *Plant, Doc.Step);
    Doc.Author = "bench";
    Doc.FileDataVersion = "0.5.2";
  }
};

TBusyModel& Model() {
  static TBusyModel model;
  return model;
}

void BM_SaveDataFile(benchmark::State& state) {
  TBusyModel& m = Model();
  TNullDataFileHost host;
  const std::string file = BenchFile();
  for (auto _ : state) {
    if (!SaveDataFile(file, *m.Res, *m.Plant, m.Doc, host)) state.SkipWithError("save failed");
  }
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(file));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(file);
}
BENCHMARK(BM_SaveDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadDataFile(benchmark::State& state) {
  TBusyModel& m = Model();
  TNullDataFileHost host;
  const std::string file = BenchFile();
  SaveDataFile(file, *m.Res, *m.Plant, m.Doc, host);
  TResourceObject res(0, 45, 45);
  TPlantObject plant(0, 45, 45);
  TDataFileDocument doc;
  for (auto _ : state) {
    if (!LoadDataFile(file, false, res, plant, doc, host)) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
  std::filesystem::remove(file);
}
BENCHMARK(BM_LoadDataFile)->Unit(benchmark::kMillisecond)->Iterations(5);

long MaxRssKb() {
  struct rusage u {};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Runs f in a child process and returns what it writes into the pipe.
template <class F>
std::string InChild(F f) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string out = f();
    if (write(fds[1], out.data(), out.size()) < 0) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  std::string out;
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return out;
}

// The peak resident memory of a load, in a child that holds nothing else:
// printed before the benchmarks run, while this process is still small.
void MeasureLoadPeak() {
  const std::string file = BenchFile() + ".peak";
  InChild([&] {
    TNullDataFileHost host;
    SaveDataFile(file, *Model().Res, *Model().Plant, Model().Doc, host);
    return std::string();
  });
  const std::string report = InChild([&] {
    TResourceObject res(0, 45, 45);
    TPlantObject plant(0, 45, 45);
    TDataFileDocument doc;
    TNullDataFileHost host;
    const long before = MaxRssKb();
    const bool ok = LoadDataFile(file, false, res, plant, doc, host);
    const long after = MaxRssKb();
    const double model = (static_cast<double>(res.Field.LayerSize()) * res.Count * sizeof(int32_t) +
                          static_cast<double>(plant.Field.Size()) * sizeof(TPlantCell)) /
                         1e6;
    char line[256];
    std::snprintf(line, sizeof line,
                  "load %s: peak RSS rose by %.1f MB for a model of %.1f MB (grids only), %.1f MB above it\n",
                  ok ? "ok" : "FAILED", (after - before) / 1024.0, model, (after - before) / 1024.0 - model);
    return std::string(line);
  });
  std::filesystem::remove(file);
  std::fputs(report.c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  MeasureLoadPeak();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
