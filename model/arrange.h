#pragma once
// Arranging blocks: aligning edges and centres, spacing equally, sizing to a
// common width or height, snapping to the grid, and the rectangle of a newly
// inserted block. Every result keeps blocks within 0..DiagramLimit with
// right >= left and bottom >= top, because the file stores 16-bit values.

#include <cstdint>
#include <optional>
#include <vector>

#include "model/geometry.h"
#include "model/shemobj.h"

inline constexpr int32_t DiagramLimit = 65535;
inline constexpr int32_t GridStep = 5;

// One axis of an alignment. The numbers are the items of the Align dialog's
// groups: for the horizontal axis lefts, centres, rights; for the vertical
// axis tops, centres, bottoms.
enum class TAlignMode : uint8_t {
  NoChange = 0,
  Starts = 1,
  Centers = 2,
  Ends = 3,
  SpaceEqually = 4,
};

// Aligns blocks (the first is the reference) horizontally, then vertically.
// Space equally sorts copies by the leading edge: the first and the last stay
// and the others follow one another at a gap of (span - widths) / (n - 1)
// truncated, only when the widths together are below the span.
void AlignBlocks(const std::vector<Block*>& blocks, TAlignMode horizontal, TAlignMode vertical);

// One axis of the Size command: the items of the Size dialog's groups.
enum class TSizeMode : uint8_t { NoChange = 0, Largest = 1, Smallest = 2, Value = 3 };
struct TSizeChoice {
  TSizeChoice() = default;
  TSizeChoice(TSizeMode mode, std::optional<int64_t> value = std::nullopt)
      : Mode(mode), Value(value) {}
  TSizeMode Mode = TSizeMode::NoChange;
  std::optional<int64_t> Value;  // for Value; none leaves the axis unchanged
};
// Gives blocks a common width and height; the right and bottom edges move.
void SizeBlocks(const std::vector<Block*>& blocks, TSizeChoice width, TSizeChoice height);

// Moves each block so that its left and top edges lie on the nearest
// multiple of GridStep (sizes kept; the lower multiple where the nearer one
// would push the block past the limit).
void AlignBlocksToGrid(const std::vector<Block*>& blocks);

// The rectangle of a new block of size (w, h) whose top-left corner is at,
// moved back inside the diagram's range where it would reach past it.
TRect InsertedBlockRect(TPoint at, int32_t w, int32_t h);
