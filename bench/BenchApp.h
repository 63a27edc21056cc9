#pragma once
// The one application of a benchmark program that opens windows, in the
// program's own look: it draws without a screen unless QT_QPA_PLATFORM names
// one (to measure on a real display server, such as Xvfb).
#include <QApplication>

#include "windows/look/FlatStyle.h"

inline QApplication* BenchApplication() {
  static QApplication* app = [] {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* created = new QApplication(argc, argv);
    InstallFlatStyle();
    return created;
  }();
  return app;
}
