#pragma once
// Paints the code view: the visible lines with keywords in bold, the
// selection, the right-edge guide and the gutter, in that order, onto any
// painter. The control paints into its off-screen image with this.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>

class QPainter;
class TEditText;

struct TCodeLook {
  QFont Font, BoldFont;
  int CharWidth = 8, LineHeight = 16, Ascent = 12;
  QColor Color, TextColor, Highlight, HighlightText;
  QColor GutterColor, GutterLight, GutterShadow, Window;
  int GutterWidth = 30;
  int RightEdge = 80;
};

struct TCodeView {
  int LeftChar = 1, TopLine = 1;
  int LinesFit = 0;  // whole lines in the client area
  QSize Client;
  // x of column 0: gutter width + 2 - (LeftChar - 1) * character width.
  static int TextOrigin(const TCodeLook& look, int leftChar) {
    return look.GutterWidth + 2 - (leftChar - 1) * look.CharWidth;
  }
};

// The keyword list, matched without regard to case.
class TKeywords {
 public:
  void Assign(const QStringList& words);
  bool Contains(QStringView word) const;

 private:
  QSet<QString> set_;  // lower case
  int maxLength_ = 0;
};

class TCodePainter {
 public:
  // Paints what lies inside area (all of the client when it covers it).
  static void Paint(QPainter& p, const QRect& area, const TEditText& text, const TKeywords& words,
                    const TCodeLook& look, const TCodeView& view);

 private:
  static void PaintLine(QPainter& p, int line, int y, const TEditText& text, const TKeywords& words,
                        const TCodeLook& look, const TCodeView& view);
};
