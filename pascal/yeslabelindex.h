#pragma once
// The "yes" labels of a diagram in a uniform grid, for the question the
// decision rule asks of every Rhomb: which label lies nearest to an exit
// point, by truncated distance, the earliest label winning ties.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "model/geometry.h"

class TShemObj;

class TYesLabelIndex {
 public:
  struct Hit {
    int32_t Distance;  // PointDistance from the label's centre
    int64_t Order;     // the label's order key; smaller is earlier in the list
  };

  // Labels must be added before the first query.
  void Add(const TShemObj* label, TPoint centre, int64_t order);
  // The label stops counting (it was deleted or its text changed).
  void Forget(const TShemObj* label);
  // Nearest live label to p: smallest distance, then smallest order.
  std::optional<Hit> Nearest(TPoint p);
  bool Empty() const { return live_ == 0; }

 private:
  struct Label {
    TPoint Centre;
    int64_t Order;
    bool Live;
  };
  void Build();
  int64_t CellKey(int64_t cx, int64_t cy) const { return (cx << 32) ^ (cy & 0xffffffff); }
  int64_t CellOf(int32_t v, int32_t origin) const;

  std::vector<Label> labels_;
  std::unordered_map<const TShemObj*, size_t> byObj_;
  std::unordered_map<int64_t, std::vector<size_t>> cells_;
  size_t live_ = 0;
  bool built_ = false;
  int32_t cellSize_ = 64;
  TRect box_{};  // bounding box of all centres
};
