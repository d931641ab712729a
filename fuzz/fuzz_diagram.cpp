// Any bytes given to the diagram reader: a clean refusal or a diagram that
// saves and loads back to the same bytes. Never a crash, a hang or a leak.
#include <cstdint>
#include <cstdlib>

#include "model/shem.h"
#include "model/stream.h"
#include "model/userblocklist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TUserBlockList list;
  TShem d;
  d.UserBlocks = &list;
  TByteViewStream in(data, size);
  if (!d.LoadFromStream(in)) {
    if (d.Count() != 0 || list.Count() != 0) std::abort();
    return 0;
  }
  if (!d.CheckIntegrity()) std::abort();
  for (int i = 0; i < d.Count(); ++i) {
    const TShemObj* o = d.GetObj(i);
    if (o->IsLink()) (void)d.TargetPoint(o);
  }
  TMemoryStream first;
  if (!d.SaveToStream(first)) return 0;
  TShem again;
  again.UserBlocks = &list;
  if (!again.LoadFromStream(first)) std::abort();
  TMemoryStream second;
  again.SaveToStream(second);
  if (first.Bytes() != second.Bytes()) std::abort();
  return 0;
}
