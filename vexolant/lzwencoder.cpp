#include "vexolant/lzwencoder.h"

#include <memory>
#include <stdexcept>

#include "vexolant/codetable.h"
#include "vexolant/encodedbytes.h"

namespace vexolant {

void CompressLzw(const std::uint8_t* pixels, std::size_t count, unsigned minCodeSize,
                 TByteBuffer& out) {
  if (count == 0) throw std::invalid_argument("an image needs at least one pixel");
  if (minCodeSize < 2 || minCodeSize > 8)
    throw std::invalid_argument("LZW minimum code size out of range");

  auto table = std::make_unique<TCodeTable>(minCodeSize);
  TEncodedBytes bits(out);
  out.Reserve(out.Size() + count / 4 + 64);

  const std::uint8_t* p = pixels;
  const std::uint8_t* const end = pixels + count;

  bits.Put(table->ClearCode(), table->Width());
  unsigned prev = *p++;
  bits.Put(prev, table->Width());

  while (p != end) {
    // The entry for the string just written followed by this pixel goes
    // in first, so the string that starts here may already use it.
    const std::uint8_t k = *p++;
    unsigned current = k;
    table->Add(prev, k);
    while (p != end) {
      const int next = table->Find(current, *p);
      if (next == TCodeTable::NotFound) break;
      current = unsigned(next);
      ++p;
    }
    bits.Put(current, table->Width());
    prev = current;
    if (table->Full() && p != end) {
      bits.Put(table->ClearCode(), table->Width());
      table->Reset();
      prev = *p++;
      bits.Put(prev, table->Width());
    }
  }

  // A decoder adds its entries one code later than this encoder, and so
  // widens its codes one entry earlier: when the next free code has just
  // reached 2 to the width, it reads the end code one bit wider than the
  // codes before it. Writing the end code at the width it reads keeps the
  // stream from ending with a code that runs past the data.
  unsigned endWidth = table->Width();
  if (!table->Full() && table->NextFree() == (1u << endWidth) && endWidth < 12) ++endWidth;
  bits.Put(table->EndCode(), endWidth);
  bits.Flush();
  out.Close();
}

}  // namespace vexolant
