#include "pascal/gui/codepainter.h"

#include <QPainter>
#include <algorithm>
#include <climits>

#include "pascal/gui/edittext.h"

bool TCodePainter::IsKeyword(const QSet<QString>& words, QStringView word) {
  return !words.isEmpty() && words.contains(word.toString().toLower());
}

void TCodePainter::Paint(QPainter& p, const QRect& area, const TEditText& text,
                         const QSet<QString>& words, const TCodeLook& look, const TCodeView& view) {
  const int h = view.Client.height();
  p.fillRect(area, look.Color);

  const int lh = std::max(1, look.LineHeight);
  for (int i = 0; i < view.LinesFit; ++i) {
    const int line = view.TopLine + i;
    if (line > text.LineCount()) break;
    const int y = i * lh;
    if (y >= area.bottom() + 1) break;
    if (y + lh <= area.top()) continue;
    PaintLine(p, line, y, text, words, look, view);
  }

  const int x0 = TCodeView::TextOrigin(look, view.LeftChar);
  const int edge = x0 + look.RightEdge * look.CharWidth;
  p.fillRect(QRect(edge, 0, 1, h), QColor(192, 192, 192));

  const int g = look.GutterWidth;
  p.fillRect(QRect(0, 0, g, h), look.GutterColor);
  p.fillRect(QRect(g - 2, 0, 1, h), look.GutterLight);
  p.fillRect(QRect(g - 1, 0, 1, h), look.GutterShadow);
  p.fillRect(QRect(g, 0, 2, h), look.Window);
}

void TCodePainter::PaintLine(QPainter& p, int line, int y, const TEditText& text,
                             const QSet<QString>& words, const TCodeLook& look,
                             const TCodeView& view) {
  const QString s = text.Line(line);
  const int cw = std::max(1, look.CharWidth);
  const int lh = look.LineHeight;
  const int x0 = TCodeView::TextOrigin(look, view.LeftChar);
  const int width = view.Client.width();

  // The selected columns of this line, [selFrom, selTo).
  int selFrom = INT_MAX, selTo = INT_MIN;
  bool bandSelected = false;
  if (text.SelectionActive()) {
    const TTextPos a = text.SelStart(), b = text.SelStop();
    if (a.Line <= line && line <= b.Line) {
      selFrom = a.Line < line ? 0 : a.Col;
      selTo = b.Line > line ? INT_MAX : b.Col;
    }
    const TTextPos lineStart{0, line};
    bandSelected = a < lineStart && lineStart < b;
  }
  p.fillRect(QRect(x0, y, std::max(0, width - x0), lh), bandSelected ? look.Highlight : look.Color);

  // Only the columns on screen are drawn, so a long line costs no more than
  // a short one; drawing starts at the beginning of the word that reaches
  // into the window, since whether it is bold depends on all of it.
  const int firstVisible = std::max(0, (look.GutterWidth - x0) / cw - 1);
  const int lastVisible = std::min<qsizetype>(s.size(), (width - x0) / cw + 1);
  int k = std::min<int>(firstVisible, int(s.size()));
  while (k > 0 && !TEditText::IsDelimiter(s[k - 1])) --k;

  while (k < lastVisible) {
    int end = k + 1;
    bool bold = false;
    if (!TEditText::IsDelimiter(s[k])) {
      while (end < s.size() && !TEditText::IsDelimiter(s[end])) ++end;
      bold = IsKeyword(words, QStringView(s).mid(k, end - k));
    }
    p.setFont(bold ? look.BoldFont : look.Font);
    // Up to three pieces: before, inside and after the selection.
    const int c1 = std::clamp(selFrom, k, end);
    const int c2 = std::clamp(selTo, c1, end);
    const int cuts[4] = {k, c1, c2, end};
    for (int piece = 0; piece < 3; ++piece) {
      const int a = cuts[piece], b = cuts[piece + 1];
      if (a >= b) continue;
      const bool selected = piece == 1;
      const int x = x0 + a * cw;
      p.fillRect(QRect(x, y, (b - a) * cw, lh), selected ? look.Highlight : look.Color);
      p.setPen(selected ? look.HighlightText : look.TextColor);
      p.drawText(QPoint(x, y + look.Ascent), s.mid(a, b - a));
    }
    k = end;
  }
}
