#pragma once
// The one application of a benchmark program that opens windows: it draws
// without a screen unless QT_QPA_PLATFORM names one (to measure on a real
// display server, such as Xvfb).
#include <QApplication>

inline QApplication* BenchApplication() {
  static QApplication* app = [] {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return app;
}
