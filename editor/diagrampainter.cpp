#include "editor/diagrampainter.h"

#include <QPainter>
#include <QPolygon>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "editor/diagramtext.h"
#include "model/shapes.h"
#include "model/shem.h"
#include "userblocks/userblocklist.h"

namespace {
QPoint Q(TPoint p) { return QPoint(p.X, p.Y); }

QPolygon ToPolygon(const std::vector<TPoint>& pts) {
  QPolygon poly;
  poly.reserve(qsizetype(pts.size()));
  for (const TPoint& p : pts) poly.append(Q(p));
  return poly;
}

// The rectangle's four corners as a closed polygon, whatever its orientation.
QPolygon RectPolygon(TPoint a, TPoint b) {
  return QPolygon({QPoint(a.X, a.Y), QPoint(b.X, a.Y), QPoint(b.X, b.Y), QPoint(a.X, b.Y)});
}

int32_t Mid(int32_t a, int32_t b) { return Round((double(a) + b) * 0.5); }

// Outlines are stroked segment by segment: Qt's one-pixel polyline leaves out
// the pixel where segments meet, and every vertex of an outline must show.
void Stroke(QPainter& p, const QPolygon& poly, bool closed) {
  for (qsizetype i = 0; i + 1 < poly.size(); ++i) p.drawLine(poly[i], poly[i + 1]);
  if (closed && poly.size() > 2) p.drawLine(poly.back(), poly.front());
}

// A closed figure: the interior in the current brush, then the outline.
void Figure(QPainter& p, const QPolygon& poly) {
  if (p.brush().style() != Qt::NoBrush) {
    const QPen pen = p.pen();
    p.setPen(Qt::NoPen);
    p.drawPolygon(poly);
    p.setPen(pen);
  }
  Stroke(p, poly, true);
}

bool FillAllowed(int kind) {
  return kind == bkSquare || kind == bkEllipse || kind == bkRhomb || kind == bkParallelogram ||
         kind == bkPage;
}
}  // namespace

TPoint TViewTransform::DiagramToScreen(TPoint p) const {
  return PointAdd(ScalePoint(PointSub(p, Origin), Scale), ViewTopLeft);
}

TPoint TViewTransform::ScreenToDiagram(TPoint p) const {
  return PointAdd(ScalePoint(PointSub(p, ViewTopLeft), 1.0 / Scale), Origin);
}

int FontSizeForScale(int scale) {
  switch (scale) {
    case 1:
      return 5;
    case 2:
      return 8;
    case 4:
      return 20;
    case 8:
      return 40;
    default:
      return 0;
  }
}

TDiagramPainter::TDiagramPainter(QPainter& painter, const TViewTransform& view, QColor windowColor,
                                 const TUserBlockList* userBlocks)
    : ArrowScale(view.Scale),
      p_(painter),
      view_(view),
      window_(windowColor),
      userBlocks_(userBlocks) {
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setBrush(Qt::NoBrush);
  SetPen(true);
}

void TDiagramPainter::SetPen(bool dotted) {
  QPen pen(Qt::black);
  pen.setWidth(0);  // cosmetic: one pixel whatever the painter's transform
  pen.setCosmetic(true);
  pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::SquareCap);  // ends included, so outlines close
  p_.setPen(pen);
}

void TDiagramPainter::FillBackground(const QRect& r) { p_.fillRect(r, window_); }

void TDiagramPainter::DrawGrid(TPoint topLeft, TPoint bottomRight, int scale) {
  const int step = 5 * scale;
  if (step <= 0) return;
  QPolygon dots;
  for (int64_t x = topLeft.X; x <= bottomRight.X; x += step)
    for (int64_t y = topLeft.Y; y <= bottomRight.Y; y += step) dots.append(QPoint(int(x), int(y)));
  p_.save();
  p_.setPen(QPen(Qt::black, 0));
  p_.drawPoints(dots);
  p_.restore();
}

void TDiagramPainter::DrawObjects(const TShem& diagram, const TRect& visible,
                                  const std::function<bool(const TShemObj*)>& isSelected) {
  for (const TShemObj* o = diagram.NextInRect(nullptr, visible); o;
       o = diagram.NextInRect(o, visible)) {
    const bool sel = isSelected && isSelected(o);
    if (const TBlock* b = o->AsBlock())
      DrawBlock(b->Data, sel);
    else
      DrawLink(diagram, o, sel);
  }
}

void TDiagramPainter::DrawHandle(TPoint p) {
  p_.fillRect(QRect(p.X - 2, p.Y - 2, 4, 4), Qt::black);
}

void TDiagramPainter::DrawBlock(const Block& b, bool selected) {
  const TPoint tl = view_.DiagramToScreen(b.TopLeft);
  const TPoint br = view_.DiagramToScreen(b.BottomRight);
  const TRect R{tl.X, tl.Y, br.X, br.Y};
  const int32_t L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const int kind = b.Kind;

  SetPen(b.Dotted);
  const bool filled = b.Filled && !b.Dotted && FillAllowed(kind);
  p_.setBrush(filled ? QBrush(window_) : QBrush(Qt::NoBrush));

  std::vector<TPoint> handles;
  auto eightHandles = [&] {
    handles = {{L, T},  {Mid(L, Rt), T}, {Rt, T}, {Rt, Mid(T, B)},
               {Rt, B}, {Mid(L, Rt), B}, {L, B},  {L, Mid(T, B)}};
  };

  const TOutline outline = BlockOutline(kind, R, userBlocks_);
  switch (kind) {
    case bkSquare:
      Figure(p_, RectPolygon(tl, br));
      eightHandles();
      break;
    case bkEllipse:
      p_.drawEllipse(QRectF(L, T, double(Rt) - L, double(B) - T));
      handles = {{Mid(L, Rt), T}, {Rt, Mid(T, B)}, {Mid(L, Rt), B}, {L, Mid(T, B)}};
      break;
    case bkRhomb:
      Figure(p_, ToPolygon(outline.Figures[0].Points));
      handles = outline.Figures[0].Points;
      break;
    case bkParallelogram: {
      const std::vector<TPoint>& v = outline.Figures[0].Points;
      Figure(p_, ToPolygon(v));
      for (size_t i = 0; i < 4; ++i) {
        handles.push_back(v[i]);
        const TPoint& n = v[(i + 1) % 4];
        handles.push_back({Mid(v[i].X, n.X), Mid(v[i].Y, n.Y)});
      }
      break;
    }
    case bkPoint:
      p_.setBrush(selected ? QBrush(Qt::black) : QBrush(window_));
      p_.drawEllipse(QRectF(L, T, double(Rt) - L, double(B) - T));
      break;
    case bkText:
      if (selected) {
        SetPen(true);
        Figure(p_, RectPolygon(tl, br));
      }
      eightHandles();
      break;
    case bkComment:
      if (selected) {
        SetPen(true);
        Figure(p_, RectPolygon(tl, br));
      }
      SetPen(false);
      Stroke(p_, ToPolygon(outline.Figures[0].Points), false);
      eightHandles();
      break;
    case bkDocument: {
      Stroke(p_, ToPolygon(outline.Figures[0].Points), false);
      // The wavy bottom edge, one pixel per column; a dotted outline draws
      // four columns and skips the four after every column that is a multiple of 4.
      // Columns outside the device are left out (only the first multiple of 4
      // from L fixes the dotted pattern, so any column can be tested alone).
      int64_t from = L, to = Rt;
      if (!p_.worldMatrixEnabled() || p_.worldTransform().isIdentity()) {
        from = std::max<int64_t>(from, -1);
        to = std::min<int64_t>(to, int64_t(p_.device()->width()));
      }
      const int64_t firstFour = L + ((4 - (int64_t(L) % 4)) % 4);  // first multiple of 4 from L
      QPolygon dots;
      for (int64_t x = from; x <= to; ++x) {
        const int64_t k = (x - firstFour) % 8;
        if (b.Dotted && x > firstFour && k >= 1 && k <= 4) continue;
        dots.append(QPoint(int(x), DocumentWaveY(R, int32_t(x))));
      }
      p_.save();
      p_.setPen(QPen(Qt::black, 0));
      p_.drawPoints(dots);
      p_.restore();
      eightHandles();
      break;
    }
    case bkProcess:
      for (const TFigure& f : outline.Figures) Figure(p_, RectPolygon(f.Points[0], f.Points[1]));
      eightHandles();
      break;
    case bkPage:
      Figure(p_, ToPolygon(outline.Figures[0].Points));
      eightHandles();
      break;
    default:
      // User blocks: the closed outline placed in R, never filled. Kinds 10..14
      // and user blocks missing from the list have no outline.
      p_.setBrush(Qt::NoBrush);
      for (const TFigure& f : outline.Figures) Figure(p_, ToPolygon(f.Points));
      eightHandles();
      break;
  }

  if (selected)
    for (const TPoint& h : handles) DrawHandle(h);

  if (kind != bkPoint) DrawBlockText(b);

  SetPen(true);
  p_.setBrush(Qt::NoBrush);
}

std::optional<TRect> ScreenTextRect(const Block& b, const TViewTransform& view,
                                    const TUserBlockList* userBlocks) {
  TRect tr;
  if (IsUserKind(b.Kind)) {
    const TUserBlock* ub = userBlocks ? userBlocks->GetBlock(b.Kind - bkUserFirst) : nullptr;
    if (!ub) return std::nullopt;
    const TPoint a = view.DiagramToScreen(b.TopLeft), c = view.DiagramToScreen(b.BottomRight);
    tr = ub->GetEditRect({a.X, a.Y, c.X, c.Y});
  } else {
    const std::optional<TRect> r = TextRect(b, userBlocks);
    if (!r) return std::nullopt;
    const TPoint a = view.DiagramToScreen(r->TopLeft()), c = view.DiagramToScreen(r->BottomRight());
    tr = {a.X, a.Y, c.X, c.Y};
  }
  if (tr.Right <= tr.Left || tr.Bottom <= tr.Top) return std::nullopt;
  return tr;
}

void TDiagramPainter::DrawBlockText(const Block& b) {
  if (b.Text.empty()) return;
  const std::optional<TRect> tr = ScreenTextRect(b, view_, userBlocks_);
  if (!tr) return;
  DrawWrappedText(p_, QRect(tr->Left, tr->Top, tr->Right - tr->Left, tr->Bottom - tr->Top),
                  DiagramToQString(b.Text), b.TextAlign);
}

void DrawWrappedText(QPainter& painter, const QRect& r, const QString& text, int align) {
  QString t = text;
  t.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  t.replace(QLatin1Char('\r'), QChar::LineSeparator);
  t.replace(QLatin1Char('\n'), QChar::LineSeparator);

  QTextOption opt;
  opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  opt.setAlignment(align == 1 ? Qt::AlignLeft : align == 2 ? Qt::AlignRight : Qt::AlignHCenter);
  QTextLayout layout(t, painter.font(), painter.device());
  layout.setTextOption(opt);
  layout.setCacheEnabled(false);
  layout.beginLayout();
  qreal y = 0;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(r.width());
    line.setPosition(QPointF(0, y));
    y += line.height();
    if (y > r.height() + line.height()) break;  // further lines lie below the clip
  }
  layout.endLayout();

  painter.save();
  painter.setClipRect(r, Qt::IntersectClip);
  painter.setPen(Qt::black);
  layout.draw(&painter, r.topLeft());
  painter.restore();
}

void TDiagramPainter::DrawArrowHead(TPoint p, TPoint q) {
  const double dx = double(q.X) - p.X, dy = double(q.Y) - p.Y;
  const double d = std::sqrt(dx * dx + dy * dy);
  double ux = 0, uy = 0;
  if (d != 0) {
    ux = dx / d;
    uy = dy / d;
  }
  const double a = 0.3490658503988659;  // 20 degrees
  const double len = 5.0 * ArrowScale;
  const double c = std::cos(a), s = std::sin(a);
  const TPoint w1{Round(p.X + len * (ux * c - uy * s)), Round(p.Y + len * (uy * c + ux * s))};
  const TPoint w2{Round(p.X + len * (ux * c + uy * s)), Round(p.Y + len * (uy * c - ux * s))};
  Stroke(p_, QPolygon({Q(p), Q(w1), Q(w2)}), true);
}

void TDiagramPainter::DrawLink(const TShem& diagram, const TShemObj* link, bool selected) {
  const Link& l = link->AsLink()->Data;
  const TPoint S = view_.DiagramToScreen(diagram.LinkEndPoint(l.SourcePos, l.Source));
  const TPoint E = view_.DiagramToScreen(diagram.LinkEndPoint(l.TargetPos, l.Target));
  SetPen(false);
  p_.setBrush(Qt::NoBrush);
  if (selected) {
    DrawHandle(S);
    DrawHandle(E);
  }
  if (l.LinkType & ltArrowTarget) DrawArrowHead(E, S);
  if (l.LinkType & ltArrowSource) DrawArrowHead(S, E);
  SetPen((l.LinkType & ltDotted) != 0);
  p_.drawLine(Q(S), Q(E));
  SetPen(true);
}

namespace {
void BeginInverting(QPainter& p) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setCompositionMode(QPainter::RasterOp_NotDestination);
  QPen pen(Qt::black, 0, Qt::DotLine, Qt::SquareCap);
  pen.setCosmetic(true);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
}
}  // namespace

void DrawInvertingLine(QPainter& painter, TPoint a, TPoint b) {
  BeginInverting(painter);
  painter.drawLine(Q(a), Q(b));
  painter.restore();
}

void DrawInvertingRect(QPainter& painter, TPoint a, TPoint b) {
  BeginInverting(painter);
  Stroke(painter, RectPolygon(a, b), true);
  painter.restore();
}
