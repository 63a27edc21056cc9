// Speed of the page view on a long page: a comment of 1,000 lines, each a
// paragraph, shown in a view 350 pixels wide. Measured: showing the page from
// its file until it is laid out whole, for plain lines and for the same lines
// preformatted ("<pre>"), which the view makes wrap like the rest.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QTextDocument>

#include "BenchApp.h"
#include "platform/qt/HtmlView.h"

namespace {

// The page written once per run into the temporary folder; gone at the end.
struct TPage {
  QString Path;
  TPage(const char* name, const QString& line) {
    Path = QDir::tempPath() +
           QStringLiteral("/zo_bench_pages_%1_%2.htm").arg(QCoreApplication::applicationPid()).arg(name);
    QByteArray html = "<html><body>\r\n";
    for (int i = 0; i < 1000; ++i) html += "<p class=\"ttext\">\r\n" + line.toUtf8() + "\r\n</p>\r\n";
    html += "</body></html>\r\n";
    QFile file(Path);
    file.open(QIODevice::WriteOnly);
    file.write(html);
  }
  ~TPage() { QFile::remove(Path); }
};

void ShowPage(benchmark::State& state, const char* name, const QString& line) {
  BenchApplication();
  static THtmlView* view = [] {
    auto* v = new THtmlView;
    v->resize(350, 400);
    v->show();
    return v;
  }();
  const TPage page(name, line);
  for (auto _ : state) {
    view->Navigate(page.Path);
    benchmark::DoNotOptimize(view->document()->documentLayout()->documentSize());
    QApplication::processEvents();
  }
}

void BM_PlainLines(benchmark::State& state) { ShowPage(state, "plain", QStringLiteral("row 7   12   34   56")); }
void BM_PreformattedLines(benchmark::State& state) {
  ShowPage(state, "pre", QStringLiteral("<pre>row 7   12   34   56</pre>"));
}

}  // namespace

BENCHMARK(BM_PlainLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreformattedLines)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
