// Start-up and exit of the main window with many species: the settings file
// holds one resource and N species (the settings reader takes at most 1000).
// Measured: building the main window from the settings (start-up), and
// destroying it, which writes the settings and takes the windows down (exit).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "BenchApp.h"
#include "windows/main/main.h"
#include "windows/settings/uSettings.h"

namespace {

// A program folder whose settings hold `species` species, not a first run.
class TProgramFolder {
 public:
  explicit TProgramFolder(int species) {
    BenchApplication();
    Path = Dir.path() + QStringLiteral("/");
    // With its page folder, so that nothing falls back to the user's own folders.
    QDir().mkpath(Path + QStringLiteral("Files"));
    std::string ini = "[MainForm]\r\nFirstRun=0\r\nProgramVersion=" ZO_VERSION "\r\n";
    ini += "[Resource]\r\nResourceCount=1\r\nResource.Value0=R\r\n";
    ini += "[Plant]\r\nPlantCount=" + std::to_string(species) + "\r\n";
    for (int i = 0; i < species; ++i) {
      const std::string name = "S" + std::to_string(i);
      ini += "Plant.Value" + std::to_string(i) + "=" + name + "\r\n";
      ini += name + ".Color=" + std::to_string((i * 2654435761u) & 0xFFFFFF) + "\r\n";
    }
    QFile file(Path + QStringLiteral("omra.ini"));
    if (file.open(QIODevice::WriteOnly)) file.write(ini.data(), static_cast<qint64>(ini.size()));
    SetProgramFolderOverride(Path);
    SetSettingsFileInUse(true);
  }
  ~TProgramFolder() {
    SetSettingsFileInUse(false);
    SetProgramFolderOverride(QString());
  }

 private:
  QTemporaryDir Dir;
  QString Path;
};

void BM_StartUp(benchmark::State& state) {
  TProgramFolder folder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto* form = new TMainForm;
    QCoreApplication::processEvents();
    state.PauseTiming();
    delete form;
    state.ResumeTiming();
  }
  state.counters["species"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_StartUp)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Exit(benchmark::State& state) {
  TProgramFolder folder(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto* form = new TMainForm;
    QCoreApplication::processEvents();
    state.ResumeTiming();
    delete form;
  }
  state.counters["species"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Exit)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
BENCHMARK_MAIN();
