#pragma once
// The one QApplication of a GUI benchmark, on the offscreen platform so that
// benchmarks run without a display.

#include <QApplication>

inline QApplication& OffscreenBenchApp() {
  static int argc = 1;
  static char name[] = "bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}
