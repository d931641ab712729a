// Any bytes given to the user block file reader: every record it keeps writes
// back and reads again to the same block.
#include <cstdint>
#include <cstdlib>

#include "model/stream.h"
#include "model/userblocklist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TUserBlockList list;
  TByteViewStream in(data, size);
  list.LoadFromStream(in);
  TMemoryStream out;
  list.SaveToStream(out);
  TUserBlockList again;
  out.Seek(0);
  again.LoadFromStream(out);
  if (again.Count() != list.Count()) std::abort();
  for (int i = 0; i < list.Count(); ++i) {
    const TUserBlock* a = list.GetBlock(i);
    const TUserBlock* b = again.GetBlock(i);
    if (a->KeyText() != b->KeyText() || a->PointCount != b->PointCount || a->Name != b->Name)
      std::abort();
    bool found = false;
    TPoint q;
    a->BorderOfPoint({0, 0, 100, 100}, {50, 50}, found, q);
    (void)a->IsPointIn({0, 0, 100, 100}, {50, 50});
  }
  return 0;
}
