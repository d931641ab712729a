#pragma once
// Shared set-up of the code view and export window tests: one QApplication
// on the offscreen platform, a shown code view of known size, and pixel
// helpers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <memory>

#include "pascal/gui/customedit.h"

class TCodeViewEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "codeviewtest";
    static char* argv[] = {name, nullptr};
    App = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { App.reset(); }
  static inline std::unique_ptr<QApplication> App;
};

inline TCodeViewEnvironment* const g_codeViewEnvironment = static_cast<TCodeViewEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new TCodeViewEnvironment));

// A shown code view, w by h pixels, holding text.
inline std::unique_ptr<TmCustomEdit> ShownEdit(const QString& text, int w = 400, int h = 300) {
  auto e = std::make_unique<TmCustomEdit>();
  e->resize(w, h);
  e->SetText(text);
  e->show();
  QApplication::processEvents();
  return e;
}

// The client area as painted now.
inline QImage Rendered(TmCustomEdit& e) {
  return e.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Dark enough to be ink: text is drawn smoothed, so its pixels are grey too.
inline bool IsInk(const QImage& img, int x, int y) {
  return img.valid(x, y) && qGray(img.pixel(x, y)) < 128;
}

// Ink pixels in the cells of columns [from, to) of a visible line.
inline int InkInCells(const QImage& img, const TmCustomEdit& e, int line, int from, int to) {
  const int y0 = (line - e.TopLine()) * e.LineHeight();
  int n = 0;
  for (int y = y0; y < y0 + e.LineHeight(); ++y)
    for (int x = e.TextOriginX() + from * e.CharWidth(); x < e.TextOriginX() + to * e.CharWidth();
         ++x)
      n += IsInk(img, x, y);
  return n;
}

// Checked apart from the control's own test: narrow and wide letters alike.
inline bool FixedPitch(const QFont& f) {
  const QFontMetricsF m(f);
  return m.horizontalAdvance('i') == m.horizontalAdvance('W') &&
         m.horizontalAdvance('.') == m.horizontalAdvance('m');
}

// The centre of the cell of column col on a visible line.
inline QPoint CellCentre(const TmCustomEdit& e, int col, int line) {
  return {e.TextOriginX() + col * e.CharWidth() + e.CharWidth() / 2,
          (line - e.TopLine()) * e.LineHeight() + e.LineHeight() / 2};
}
