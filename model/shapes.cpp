#include "model/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/blockframe.h"
#include "model/userblocklist.h"

namespace {

TRect Shrunk(TRect r, int32_t n) {
  ShrinkRect(n, r);
  return r;
}
}  // namespace

const char* const KindNames[BuiltInKindCount] = {"Square",  "Ellipse", "Rhomb",   "Parallelogram",
                                                 "Point",   "Text",    "Comment", "Document",
                                                 "Process", "Page"};

double DocumentWave(const TBlockFrame& f, double x) {
  if (f.w == 0) return f.B;  // a zero-width document has a flat bottom
  const double t = x - f.L;
  return f.B - (f.h / 4) * t / f.w + (f.h / 16) * std::sin(2 * kPi * t / f.w);
}

int32_t DocumentWaveY(const TRect& r, int32_t x) { return Trunc(DocumentWave(TBlockFrame(r), x)); }

TOutline BlockOutline(int kind, const TRect& r, const TUserBlockList* userBlocks) {
  const TBlockFrame d(r);
  TOutline o;
  auto add = [&o](TFigure::Type t, std::vector<TPoint> pts) {
    o.Figures.push_back({t, std::move(pts)});
  };
  switch (kind) {
    case bkSquare:
      add(TFigure::Rectangle, {{d.L, d.T}, {d.R, d.B}});
      break;
    case bkEllipse:
    case bkPoint:
      add(TFigure::Ellipse, {{d.L, d.T}, {d.R, d.B}});
      break;
    case bkRhomb:
      add(TFigure::Polygon, {{d.cx, d.T}, {d.L, d.cy}, {d.cx, d.B}, {d.R, d.cy}});
      break;
    case bkParallelogram:
      add(TFigure::Polygon,
          {{d.L, d.B}, {Round(d.L + d.w / 6), d.T}, {d.R, d.T}, {Round(d.R - d.w / 6), d.B}});
      break;
    case bkComment: {
      const int32_t x = d.L + Trunc(d.w / 10);
      add(TFigure::Polyline, {{x, d.T}, {d.L, d.T}, {d.L, d.B}, {x, d.B}});
      break;
    }
    case bkDocument: {
      const int32_t sideEnd = d.T + Trunc(d.h - 2 * d.h / 8);
      add(TFigure::Polyline, {{d.L, d.B}, {d.L, d.T}, {d.R, d.T}, {d.R, sideEnd}});
      std::vector<TPoint> wave;
      for (int64_t x = d.L; x <= d.R; ++x)
        wave.push_back({int32_t(x), DocumentWaveY(r, int32_t(x))});
      // Filled area: down the left side, across the top, down the right side,
      // then back along the wave.
      o.FillPolygon = {{d.L, d.T}, {d.R, d.T}, {d.R, sideEnd}};
      for (auto it = wave.rbegin(); it != wave.rend(); ++it) o.FillPolygon.push_back(*it);
      add(TFigure::Polyline, std::move(wave));
      break;
    }
    case bkProcess:
      add(TFigure::Rectangle, {{d.L, d.T}, {d.R, d.B}});
      add(TFigure::Rectangle, {{Trunc(d.L + d.w / 10), d.T}, {Trunc(d.R - d.w / 10), d.B}});
      break;
    case bkPage: {
      const int32_t y = Trunc(d.B - d.h / 3);
      add(TFigure::Polygon,
          {{d.L, d.T}, {d.R, d.T}, {d.R, y}, {Trunc((double(d.L) + d.R) / 2), d.B}, {d.L, y}});
      break;
    }
    default:
      if (IsUserKind(kind) && userBlocks) {
        if (const TUserBlock* ub = userBlocks->GetBlock(kind - bkUserFirst);
            ub && ub->PointCount > 0)
          add(TFigure::Polygon, ub->PlacePoints(r));
      }
      break;  // Text, 10..14: no outline
  }
  return o;
}

std::optional<TRect> TextRect(const Block& b, const TUserBlockList* userBlocks) {
  const TRect r = b.Rect();
  const TBlockFrame d(r);
  switch (b.Kind) {
    case bkSquare:
    case bkComment:
      return Shrunk(r, 2);
    case bkText:
      return r;
    case bkEllipse: {
      const double a = d.w / 2, bb = d.h / 2;
      const int32_t ax = Round(a / std::sqrt(2.0)), by = Round(bb / std::sqrt(2.0));
      return Shrunk({d.cx - ax, d.cy - by, d.cx + ax, d.cy + by}, 4);
    }
    case bkRhomb: {
      const TPoint tl = MidPoint({d.cx, d.T}, {d.L, d.cy});
      const TPoint br = MidPoint({d.cx, d.B}, {d.R, d.cy});
      return Shrunk({tl.X, tl.Y, br.X, br.Y}, 2);
    }
    case bkParallelogram:
      return Shrunk({Round(d.L + d.w / 6), d.T, Round(d.R - d.w / 6), d.B}, 2);
    case bkDocument:
      return Shrunk({d.L, d.T, d.R, Trunc(d.B - d.h / 4)}, 2);
    case bkProcess:
      return Shrunk({Trunc(d.L + d.w / 10), d.T, Trunc(d.R - d.w / 10), d.B}, 2);
    case bkPage:
      return Shrunk({d.L, d.T, d.R, Trunc(d.B - d.h / 3)}, 2);
    default:
      if (IsUserKind(b.Kind) && userBlocks)
        if (const TUserBlock* ub = userBlocks->GetBlock(b.Kind - bkUserFirst))
          return ub->GetEditRect(r);
      return std::nullopt;  // Point, 10..14, missing user block
  }
}

TPoint NearestConnectionPoint(const Block& b, TPoint p) {
  const TBlockFrame d(b.Rect());
  TPoint pts[4] = {{d.L, d.cy}, {d.R, d.cy}, {d.cx, d.T}, {d.cx, d.B}};
  if (b.Kind == bkParallelogram) {
    const int32_t k = Round(d.w / 12);
    pts[0].X += k;
    pts[2].X += k;
    pts[1].X -= k;
    pts[3].X -= k;
  } else if (b.Kind == bkDocument) {
    const int32_t k = Round(d.h / 8);
    pts[1].Y -= k;
    pts[3].Y -= k;
  }
  int best = 0;
  int64_t bestD = 0;
  for (int i = 0; i < 4; ++i) {
    const int64_t dx = int64_t(pts[i].X) - p.X, dy = int64_t(pts[i].Y) - p.Y;
    const int64_t dd = dx * dx + dy * dy;
    if (i == 0 || dd < bestD) {
      best = i;
      bestD = dd;
    }
  }
  return pts[best];
}

TPoint PositionOnRect(TPoint pos, const TRect& r) {
  return {r.Left + Round(pos.X / 65535.0 * (double(r.Right) - r.Left)),
          r.Top + Round(pos.Y / 65535.0 * (double(r.Bottom) - r.Top))};
}

TPoint PositionOnSegment(TPoint pos, TPoint a, TPoint b) {
  const double f = pos.X / 65535.0;
  return {a.X + Round(f * (double(b.X) - a.X)), a.Y + Round(f * (double(b.Y) - a.Y))};
}

TPoint AttachmentPosition(TPoint p, TPoint a, TPoint b, bool onLink) {
  const TPoint dlt = PointSub(p, a);
  if (onLink) {
    int32_t x = 0;
    if (b.X == a.X) {
      if (b.Y != a.Y) x = Round(double(dlt.Y) * 65535 / (double(b.Y) - a.Y));
    } else {
      x = Round(double(dlt.X) * 65535 / (double(b.X) - a.X));
    }
    return {x, dlt.Y};
  }
  return {b.X == a.X ? 0 : Round(double(dlt.X) * 65535 / (double(b.X) - a.X)),
          b.Y == a.Y ? 0 : Round(double(dlt.Y) * 65535 / (double(b.Y) - a.Y))};
}

TPoint PositionForKind(TPoint pos, int newKind) {
  int32_t x = pos.X, y = pos.Y;
  switch (newKind) {
    case bkSquare:
    case bkProcess:
      if (!(x == 0 || x == 65535 || y == 0 || y == 65535)) x = x <= 32767 ? 0 : 65535;
      break;
    case bkEllipse: {
      const double dx = double(x) - 32767, dy = double(y) - 32767;
      if (std::fabs(std::sqrt(dx * dx + dy * dy) - 32767) > 2) {
        const double root = std::sqrt((65535.0 - x) * double(x));
        y = y > 32767 ? Trunc(32767 + root) : Trunc(32767 - root);
      }
      break;
    }
    case bkRhomb: {
      const double dx = std::fabs(double(x) - 32767);
      y = y < 32767 ? Trunc(dx) : Trunc(65535 - dx);
      break;
    }
    case bkParallelogram:
      if (x < 10923 && y != 65535)
        y = Trunc(65535 - 6.0 * x);
      else if (x > 54612 && y != 0)
        y = Trunc(65535 - 6.0 * (double(x) - 54612));
      else if (x >= 10923 && x <= 54612)
        y = y <= 32767 ? 0 : 65535;
      break;
    case bkComment:
      x = Min(x, 6553);
      if (x != 0) y = y < 32767 ? 0 : 65535;
      break;
    case bkDocument:
      if (x == 0 || y == 0) break;
      if (x == 65535 && y <= 49151) break;
      y = Trunc(65535 - x / 4.0 + 4095 * std::sin(2 * kPi * x / 65535.0));
      break;
    case bkPage:
      if (y < 43690) {
        if (y != 0) x = x < 32767 ? 0 : 65535;
      } else {
        y = Trunc(65535 - 2.0 * std::abs(double(x) - 32767) / 3);
      }
      break;
    default:
      break;  // user kinds keep their ends
  }
  // Positions are 16-bit: the slanted and wavy edges may land just outside.
  return {std::clamp(x, 0, 65535), std::clamp(y, 0, 65535)};
}
