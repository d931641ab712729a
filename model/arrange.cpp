#include "model/arrange.h"

#include <algorithm>

namespace {
// One axis of a block: the leading and trailing edge.
struct TAxis {
  int32_t TPoint::*Coord;
  int32_t& Lead(Block& b) const { return b.TopLeft.*Coord; }
  int32_t& Trail(Block& b) const { return b.BottomRight.*Coord; }
  int32_t Size(Block& b) const { return Trail(b) - Lead(b); }
  // Puts the block's leading edge at lead with its size kept, shifted back
  // into 0..DiagramLimit where it would leave it.
  void MoveTo(Block& b, int64_t lead) const {
    const int64_t size = Size(b);
    const int64_t lo = std::min<int64_t>(0, size), hi = std::max<int64_t>(0, size);
    lead = std::clamp<int64_t>(lead, -lo, std::max<int64_t>(-lo, DiagramLimit - hi));
    Lead(b) = int32_t(lead);
    Trail(b) = int32_t(lead + size);
  }
};
constexpr TAxis kX{&TPoint::X};
constexpr TAxis kY{&TPoint::Y};

void SpaceEqually(const std::vector<Block*>& blocks, const TAxis& a) {
  if (blocks.size() < 2) return;
  std::vector<Block*> p = blocks;
  std::stable_sort(p.begin(), p.end(),
                   [&a](Block* l, Block* r) { return a.Lead(*l) < a.Lead(*r); });
  int64_t sum = 0, maxTrail = 0;
  for (Block* b : p) {
    sum += a.Size(*b);
    maxTrail = std::max<int64_t>(maxTrail, a.Trail(*b));
  }
  const int64_t span = maxTrail - a.Lead(*p.front());
  if (sum >= span) return;
  const int64_t gap = (span - sum) / int64_t(p.size() - 1);  // truncated toward zero
  for (size_t k = 1; k + 1 < p.size(); ++k) a.MoveTo(*p[k], int64_t(a.Trail(*p[k - 1])) + gap);
}

void AlignAxis(const std::vector<Block*>& blocks, TAlignMode mode, const TAxis& a) {
  if (mode == TAlignMode::NoChange || blocks.empty()) return;
  if (mode == TAlignMode::SpaceEqually) {
    SpaceEqually(blocks, a);
    return;
  }
  Block& ref = *blocks.front();
  const int32_t lead = a.Lead(ref), trail = a.Trail(ref);
  const int32_t centre = Round((double(lead) + trail) / 2);
  for (Block* b : blocks) {
    const int32_t size = a.Size(*b);
    if (mode == TAlignMode::Starts)
      a.MoveTo(*b, lead);
    else if (mode == TAlignMode::Ends)
      a.MoveTo(*b, int64_t(trail) - size);
    else
      a.MoveTo(*b, int64_t(centre) - Round(size / 2.0));
  }
}

void SizeAxis(const std::vector<Block*>& blocks, const TSizeChoice& c, const TAxis& a) {
  int64_t size = 0;
  switch (c.Mode) {
    case TSizeMode::NoChange:
      return;
    case TSizeMode::Largest:
      size = 0;
      for (Block* b : blocks) size = std::max<int64_t>(size, a.Size(*b));
      break;
    case TSizeMode::Smallest:
      size = DiagramLimit;
      for (Block* b : blocks) size = std::min<int64_t>(size, a.Size(*b));
      break;
    case TSizeMode::Value:
      if (!c.Value) return;
      size = *c.Value;
      break;
  }
  // A size below zero would turn a block inside out; none reaches past the limit.
  size = std::max<int64_t>(size, 0);
  for (Block* b : blocks) a.Trail(*b) = int32_t(std::min<int64_t>(DiagramLimit, a.Lead(*b) + size));
}

void SnapAxis(Block& b, const TAxis& a) {
  const int32_t lead = a.Lead(b);
  const int32_t rest = ((lead % GridStep) + GridStep) % GridStep;
  if (rest == 0) return;
  int64_t snapped = int64_t(lead) - rest + (rest * 2 > GridStep ? GridStep : 0);
  if (snapped + std::max(0, a.Size(b)) > DiagramLimit) snapped = int64_t(lead) - rest;
  a.MoveTo(b, snapped);
}
}  // namespace

void AlignBlocks(const std::vector<Block*>& blocks, TAlignMode horizontal, TAlignMode vertical) {
  AlignAxis(blocks, horizontal, kX);
  AlignAxis(blocks, vertical, kY);
}

void SizeBlocks(const std::vector<Block*>& blocks, TSizeChoice width, TSizeChoice height) {
  SizeAxis(blocks, width, kX);
  SizeAxis(blocks, height, kY);
}

void AlignBlocksToGrid(const std::vector<Block*>& blocks) {
  for (Block* b : blocks) {
    SnapAxis(*b, kX);
    SnapAxis(*b, kY);
  }
}

TRect InsertedBlockRect(TPoint at, int32_t w, int32_t h) {
  w = std::clamp(w, 0, DiagramLimit);
  h = std::clamp(h, 0, DiagramLimit);
  const int32_t x = std::clamp(at.X, 0, DiagramLimit - w);
  const int32_t y = std::clamp(at.Y, 0, DiagramLimit - h);
  return {x, y, x + w, y + h};
}
