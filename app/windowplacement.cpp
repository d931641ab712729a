#include "app/windowplacement.h"

#include <algorithm>

QRect CascadeRect(QSize area, int count, int step) {
  const int w = std::max(0, area.width()), h = std::max(0, area.height());
  step = std::max(1, step);
  const int steps = std::min(w, h) / (3 * step);
  const int offset = step * (std::max(0, count) % (steps + 1));
  return QRect(offset, offset, w - step * steps, h - step * steps);
}

namespace {
qint64 OverlapArea(const QRect& a, const QRect& b) {
  const QRect i = a.intersected(b);
  return i.isEmpty() ? 0 : qint64(i.width()) * i.height();
}
}  // namespace

QRect FitOnScreens(const QRect& window, const QList<QRect>& screens) {
  if (screens.isEmpty()) return window;
  for (const QRect& s : screens)
    if (s.contains(window)) return window;
  const QRect* best = &screens.first();
  qint64 bestArea = OverlapArea(window, *best);
  for (const QRect& s : screens) {
    const qint64 a = OverlapArea(window, s);
    if (a > bestArea) {
      best = &s;
      bestArea = a;
    }
  }
  const QRect& s = *best;
  QRect r(window.topLeft(), window.size().boundedTo(s.size()));
  r.moveLeft(std::clamp(r.left(), s.left(), s.right() + 1 - r.width()));
  r.moveTop(std::clamp(r.top(), s.top(), s.bottom() + 1 - r.height()));
  return r;
}
