#include "pascal/yeslabelindex.h"

#include <algorithm>
#include <cmath>

void TYesLabelIndex::Add(const TShemObj* label, TPoint centre, int64_t order) {
  if (byObj_.count(label)) return;
  byObj_[label] = labels_.size();
  labels_.push_back({centre, order, true});
  ++live_;
  built_ = false;
}

void TYesLabelIndex::Forget(const TShemObj* label) {
  auto it = byObj_.find(label);
  if (it == byObj_.end()) return;
  if (labels_[it->second].Live) --live_;
  labels_[it->second].Live = false;
  byObj_.erase(it);
}

int64_t TYesLabelIndex::CellOf(int32_t v, int32_t origin) const {
  return (int64_t(v) - origin) / cellSize_;  // v >= origin inside the box
}

void TYesLabelIndex::Build() {
  cells_.clear();
  if (labels_.empty()) {
    built_ = true;
    return;
  }
  box_ = {labels_[0].Centre.X, labels_[0].Centre.Y, labels_[0].Centre.X, labels_[0].Centre.Y};
  for (const Label& l : labels_) {
    box_.Left = Min(box_.Left, l.Centre.X);
    box_.Top = Min(box_.Top, l.Centre.Y);
    box_.Right = Max(box_.Right, l.Centre.X);
    box_.Bottom = Max(box_.Bottom, l.Centre.Y);
  }
  // About one label per cell.
  const double area = (double(box_.Right) - box_.Left + 1) * (double(box_.Bottom) - box_.Top + 1);
  cellSize_ = int32_t(std::clamp(std::ceil(std::sqrt(area / double(labels_.size()))), 16.0, 1e9));
  for (size_t i = 0; i < labels_.size(); ++i)
    cells_[CellKey(CellOf(labels_[i].Centre.X, box_.Left), CellOf(labels_[i].Centre.Y, box_.Top))]
        .push_back(i);
  built_ = true;
}

std::optional<TYesLabelIndex::Hit> TYesLabelIndex::Nearest(TPoint p) {
  if (!built_) Build();
  if (live_ == 0) return std::nullopt;
  // The query's cell, on the grid's lattice (it may lie outside the box).
  auto cellOf = [&](int32_t v, int32_t origin) {
    const int64_t d = int64_t(v) - origin;
    return d >= 0 ? d / cellSize_ : -((-d + cellSize_ - 1) / cellSize_);
  };
  const int64_t cx = cellOf(p.X, box_.Left), cy = cellOf(p.Y, box_.Top);
  const int64_t maxX = CellOf(box_.Right, box_.Left), maxY = CellOf(box_.Bottom, box_.Top);
  // Rings beyond this one hold no cell of the box.
  const int64_t lastRing = std::max({cx, maxX - cx, cy, maxY - cy, int64_t(0)});

  std::optional<Hit> best;
  auto visit = [&](int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x > maxX || y > maxY) return;
    auto it = cells_.find(CellKey(x, y));
    if (it == cells_.end()) return;
    for (size_t i : it->second) {
      const Label& l = labels_[i];
      if (!l.Live) continue;
      const Hit h{PointDistance(l.Centre, p), l.Order};
      if (!best || h.Distance < best->Distance ||
          (h.Distance == best->Distance && h.Order < best->Order))
        best = h;
    }
  };
  // Rings that miss the box entirely are skipped.
  const int64_t firstRing = std::max({int64_t(0), cx - maxX, -cx, cy - maxY, -cy});
  for (int64_t r = firstRing; r <= lastRing; ++r) {
    // Every point of ring r lies at least (r - 1) cells away from p; once
    // that exceeds the best truncated distance, no farther label can tie.
    if (best && (r - 1) * int64_t(cellSize_) > best->Distance) break;
    if (r == 0) {
      visit(cx, cy);
      continue;
    }
    const int64_t x0 = std::max(cx - r, int64_t(0)), x1 = std::min(cx + r, maxX);
    for (int64_t x = x0; x <= x1; ++x) {
      visit(x, cy - r);
      visit(x, cy + r);
    }
    const int64_t y0 = std::max(cy - r + 1, int64_t(0)), y1 = std::min(cy + r - 1, maxY);
    for (int64_t y = y0; y <= y1; ++y) {
      visit(cx - r, y);
      visit(cx + r, y);
    }
  }
  return best;
}
