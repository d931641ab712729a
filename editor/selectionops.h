#pragma once
// The work of the selection commands on a diagram and a list of its objects,
// without any window: bounds, pruning a selection to what can be copied, the
// copy order, copying with an offset, and merging chains of rectangles.
// Standard C++ only, so it is tested and measured without a display.

#include <vector>

#include "model/geometry.h"

class TShem;
class TShemObj;

// Block coordinates stay within 0..DiagramMax: the file stores 16 bits.
constexpr int32_t DiagramMax = 65535;

// The union of the rectangles of the blocks among objs; links do not count.
// (65535, 65535, 0, 0) when there is no block.
TRect BlockBounds(const std::vector<TShemObj*>& objs);

// The shift nearest to want (per axis) that keeps bounds, shifted, within
// 0..DiagramMax; bounds scaled by `scale` for a shift in pixels. An empty
// bounds (no blocks) takes want as it is.
TPoint ClampShift(const TRect& bounds, TPoint want, int scale = 1);

// Removes from sel what cannot be copied with it: links with an end outside
// sel (with the Point block at their other end), and Point blocks whose links
// are not both in sel. Passes repeat as long as one removes a link.
void PruneForCopy(const TShem& d, std::vector<TShemObj*>& sel);

// The order in which Copy writes sel: blocks first, then every link after the
// selected links it hangs on; both by the exchange procedure of the diagram's
// own sort.
void OrderForCopy(std::vector<TShemObj*>& sel);

// Appends copies of objs to `to`: a block with both corners moved by offset,
// a link whose two ends were copied before it, joined to those copies (other
// links are left out). With blocksFirst all blocks are copied before the
// first link. Returns the copies, parallel to objs (null where none).
std::vector<TShemObj*> CopyObjects(TShem& to, const std::vector<TShemObj*>& objs, TPoint offset,
                                   bool blocksFirst);

// Merges every chain of rectangles joined by single arrows into its first
// rectangle (texts joined with ";" and CR LF, the other links moved over).
// Returns the number of rectangles merged away.
int JoinSquareChains(TShem& d);
