// How the file window answers when it is pointed at a folder of 10,000 files.
// The list reads the folder in the background; measured from the moment the
// tree is told to move there: the time until the window first answers (the
// event loop turns again), the longest the event loop then waits between two
// turns while the list fills (how long a click on "Отмена" could wait), and
// the time until every item is listed. Two folders: 10,000 data files (all
// listed) and 10,000 other files (all left out by the filter).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>

#include "BenchApp.h"
#include "platform/qt/ShellView.h"
#include "windows/shell/fShell.h"

namespace {

constexpr int kFiles = 10000;

// The folders made for the measurement go when the program ends.
struct TFolders {
  QStringList Made;
  ~TFolders() {
    for (const QString& folder : Made) QDir(folder).removeRecursively();
  }
};

// A folder of kFiles empty files named run00000.<ext>, made once per run.
QString LargeFolder(const char* ext) {
  static TFolders folders;
  const QString folder = QDir::tempPath() + QStringLiteral("/zo_bench_shell_%1_%2").arg(QCoreApplication::applicationPid()).arg(ext);
  if (!QDir(folder).exists()) {
    folders.Made << folder;
    QDir().mkpath(folder);
    for (int i = 0; i < kFiles; ++i) {
      QFile f(folder + QStringLiteral("/run%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(QLatin1String(ext)));
      f.open(QIODevice::WriteOnly);
    }
  }
  return folder;
}

void OpenLargeFolder(benchmark::State& state, const char* ext, int listed) {
  BenchApplication();
  const QString folder = LargeFolder(ext);
  double first = 0, stall = 0, full = 0;
  for (auto _ : state) {
    TShellHost host;
    host.FallbackFolder = QDir::tempPath() + QLatin1Char('/');
    TFormShell shell(nullptr, host);
    shell.Extension = QStringLiteral(".zod");
    shell.SetStartFolder(QDir::tempPath());
    shell.SetWindowType(TFormShell::TypeOpenBrowser);
    shell.show();
    QElapsedTimer wait;
    wait.start();
    while (!shell.ShellListView->Loaded() && wait.elapsed() < 5000) QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    shell.ShellTreeView->SetPath(folder);
    qint64 last = clock.nsecsElapsed(), firstTurn = -1, worst = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      if (firstTurn < 0) firstTurn = now;
      worst = std::max(worst, now - last);
      last = now;
    });
    turn.start();
    while (!(shell.ShellListView->Loaded() && shell.ShellListView->ItemCount() >= listed) && clock.elapsed() < 60000)
      QApplication::processEvents(QEventLoop::AllEvents);
    // Let the last sort and layout run too.
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const qint64 done = clock.nsecsElapsed();
    turn.stop();
    if (shell.ShellListView->ItemCount() < listed) state.SkipWithError("the folder was not listed in time");
    state.SetIterationTime(firstTurn / 1e9);
    first += firstTurn / 1e6;
    stall += worst / 1e6;
    full += done / 1e6;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["first_answer_ms"] = first / n;
  state.counters["longest_wait_ms"] = stall / n;
  state.counters["all_listed_ms"] = full / n;
}

void BM_FolderOfDataFiles(benchmark::State& state) { OpenLargeFolder(state, "zod", kFiles); }
void BM_FolderOfOtherFiles(benchmark::State& state) { OpenLargeFolder(state, "txt", 0); }

}  // namespace

BENCHMARK(BM_FolderOfDataFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FolderOfOtherFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
