#include "vexolant/lzwencoder.h"

#include <array>
#include <stdexcept>

#include "vexolant/codetable.h"

namespace vexolant {

TLzwEncoder::TLzwEncoder(unsigned minCodeSize, TBlockOutput& out) : bits_(out) {
  if (minCodeSize < 2 || minCodeSize > 8)
    throw std::invalid_argument("LZW minimum code size out of range");
  table_ = std::make_unique<TCodeTable>(minCodeSize);
}

TLzwEncoder::~TLzwEncoder() = default;

namespace {

const std::uint8_t* IdentityMap() {
  static const auto map = [] {
    std::array<std::uint8_t, 256> m{};
    for (unsigned i = 0; i < 256; ++i) m[i] = std::uint8_t(i);
    return m;
  }();
  return map.data();
}

}  // namespace

// The coding of one sequence, resumable at any index: a string that reaches
// the end of a piece stays in current_ and is extended by the next piece.
void TLzwEncoder::Feed(const std::uint8_t* p, std::size_t n, const std::uint8_t* map) {
  if (!map) map = IdentityMap();
  const std::uint8_t* const begin = p;
  const std::uint8_t* const end = p + n;
  if (p == end) return;
  TCodeTable& table = *table_;
  if (!started_) {
    bits_.Put(table.ClearCode(), table.Width());
    prev_ = map[*p++];
    bits_.Put(prev_, table.Width());
    started_ = true;
  }
  unsigned current = current_;
  bool inString = inString_;
  while (p != end) {
    if (!inString) {
      // The entry for the string just written followed by this pixel goes
      // in first, so the string that starts here may already use it.
      const std::uint8_t k = map[*p++];
      current = k;
      table.Add(prev_, k);
      inString = true;
    }
    // current's string ends with p[-1] (with last_ at the start of a piece).
    unsigned last = p == begin ? last_ : map[p[-1]];
    while (p != end) {
      const unsigned px = map[*p];
      if (px == last) {
        const unsigned next = table.SameNext(current);
        if (next == 0) break;
        current = next;
      } else {
        const int next = table.Find(current, std::uint8_t(px));
        if (next == TCodeTable::NotFound) break;
        current = unsigned(next);
        last = px;
      }
      ++p;
    }
    if (p == end) break;  // the string may go on in the next piece
    bits_.Put(current, table.Width());
    prev_ = current;
    inString = false;
    if (table.Full()) {  // and pixels remain: *p is one
      bits_.Put(table.ClearCode(), table.Width());
      table.Reset();
      prev_ = map[*p++];
      bits_.Put(prev_, table.Width());
    }
  }
  current_ = current;
  inString_ = inString;
  last_ = map[end[-1]];
}

void TLzwEncoder::Finish() {
  if (!started_) throw std::invalid_argument("an image needs at least one pixel");
  TCodeTable& table = *table_;
  if (inString_) {
    bits_.Put(current_, table.Width());
    prev_ = current_;
    inString_ = false;
  }
  // A decoder adds its entries one code later than this encoder, and so
  // widens its codes one entry earlier: when the next free code has just
  // reached 2 to the width, it reads the end code one bit wider than the
  // codes before it. Writing the end code at the width it reads keeps the
  // stream from ending with a code that runs past the data.
  unsigned endWidth = table.Width();
  if (!table.Full() && table.NextFree() == (1u << endWidth) && endWidth < 12) ++endWidth;
  bits_.Put(table.EndCode(), endWidth);
  bits_.Flush();
}

namespace {

class BufferOutput : public TBlockOutput {
 public:
  explicit BufferOutput(TByteBuffer& buffer) : buffer_(buffer) {}
  void PutBlock(const std::uint8_t* data, std::size_t n) override { buffer_.Append(data, n); }

 private:
  TByteBuffer& buffer_;
};

}  // namespace

void CompressLzw(const std::uint8_t* pixels, std::size_t count, unsigned minCodeSize,
                 TByteBuffer& out) {
  if (count == 0) throw std::invalid_argument("an image needs at least one pixel");
  BufferOutput output(out);
  TLzwEncoder encoder(minCodeSize, output);
  out.Reserve(out.Size() + count / 4 + 64);
  encoder.Feed(pixels, count);
  encoder.Finish();
  out.Close();
}

}  // namespace vexolant
