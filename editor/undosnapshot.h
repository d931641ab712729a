#pragma once
// TUndoSnapshot: the single undo step of a document, one whole diagram kept
// in the diagram stream format. Undo and Redo both exchange the diagram with
// the snapshot; the diagram tells its observers (the selection, the edited
// block) that its objects were replaced.

#include "model/stream.h"

class TShem;

class TUndoSnapshot {
 public:
  // Takes the diagram as the new snapshot: Undo is offered, Redo no longer.
  void Save(const TShem& diagram);
  // Exchanges the diagram with the snapshot and turns Undo into Redo and
  // back; false (nothing changes) before the first snapshot or when the
  // snapshot does not read back.
  bool Swap(TShem& diagram);
  bool CanUndo() const { return canUndo_; }
  bool CanRedo() const { return canRedo_; }
  bool Empty() const { return !taken_; }
  // Bytes held by the snapshot.
  size_t Size() const { return stream_.Size(); }

 private:
  TMemoryStream stream_;
  bool taken_ = false;
  bool canUndo_ = false;
  bool canRedo_ = false;
};
