#include "editor/undosnapshot.h"

#include <utility>

#include "model/shem.h"

void TUndoSnapshot::Save(const TShem& diagram) {
  stream_.Clear();
  diagram.SaveToStream(stream_);
  taken_ = true;
  canUndo_ = true;
  canRedo_ = false;
}

bool TUndoSnapshot::Swap(TShem& diagram) {
  if (!taken_) return false;
  TMemoryStream current;
  diagram.SaveToStream(current);
  // The diagram keeps its objects unless the snapshot reads back whole.
  stream_.Seek(0);
  if (!diagram.LoadFromStream(stream_)) return false;
  stream_ = std::move(current);
  canUndo_ = !canUndo_;
  canRedo_ = !canRedo_;
  return true;
}
