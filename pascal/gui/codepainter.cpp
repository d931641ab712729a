#include "pascal/gui/codepainter.h"

#include <QPainter>
#include <algorithm>
#include <climits>

#include "pascal/gui/edittext.h"

void TKeywords::Assign(const QStringList& words) {
  set_.clear();
  maxLength_ = 0;
  for (const QString& w : words) {
    set_.insert(w.toLower());
    maxLength_ = std::max(maxLength_, int(w.size()));
  }
}

bool TKeywords::Contains(QStringView word) const {
  return word.size() <= maxLength_ && set_.contains(word.toString().toLower());
}

void TCodePainter::Paint(QPainter& p, const QRect& area, const TEditText& text,
                         const TKeywords& words, const TCodeLook& look, const TCodeView& view) {
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
                             const TKeywords& words, const TCodeLook& look, const TCodeView& view) {
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
  // a short one; the scan starts at the beginning of the word that reaches
  // into the window, since whether it is bold depends on all of it.
  // Neighbouring pieces of the same look are drawn as one run.
  const int from = std::min<int>(std::max(0, (look.GutterWidth - x0) / cw - 1), int(s.size()));
  const int to = std::min<qsizetype>(s.size(), (width - x0) / cw + 1);
  int runStart = from, runEnd = from;
  bool runBold = false, runSelected = false;
  auto flush = [&] {
    if (runEnd <= runStart) return;
    const int x = x0 + runStart * cw;
    if (runSelected || bandSelected)
      p.fillRect(QRect(x, y, (runEnd - runStart) * cw, lh),
                 runSelected ? look.Highlight : look.Color);
    p.setFont(runBold ? look.BoldFont : look.Font);
    p.setPen(runSelected ? look.HighlightText : look.TextColor);
    p.drawText(QPoint(x, y + look.Ascent), s.mid(runStart, runEnd - runStart));
  };
  auto add = [&](int a, int b, bool bold, bool selected) {
    if (a >= b) return;
    if (a == runEnd && bold == runBold && selected == runSelected) {
      runEnd = b;
      return;
    }
    flush();
    runStart = a;
    runEnd = b;
    runBold = bold;
    runSelected = selected;
  };

  int k = from;
  while (k > 0 && !TEditText::IsDelimiter(s[k - 1])) --k;
  while (k < to) {
    int end = k + 1;
    bool bold = false;
    if (!TEditText::IsDelimiter(s[k])) {
      while (end < s.size() && !TEditText::IsDelimiter(s[end])) ++end;
      bold = words.Contains(QStringView(s).mid(k, end - k));
    }
    // The visible part, before, inside and after the selection.
    const int a = std::max(k, from), b = std::min(end, to);
    const int c1 = std::clamp(selFrom, a, std::max(a, b));
    const int c2 = std::clamp(selTo, c1, std::max(c1, b));
    add(a, c1, bold, false);
    add(c1, c2, bold, true);
    add(c2, b, bold, false);
    k = end;
  }
  flush();
}
