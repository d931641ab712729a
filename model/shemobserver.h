#pragma once
// Told by a diagram when objects leave it, so that whoever keeps references
// to them (a selection, the block being edited, objects being dragged) lets go
// before the objects are freed, instead of checking addresses later.

#include <vector>

class TShemObj;

class TShemObserver {
 public:
  virtual ~TShemObserver() = default;
  // These objects are out of the diagram and are freed right after the call.
  virtual void ObjectsDeleted(const std::vector<TShemObj*>& gone) = 0;
  // Every object went at once (cleared, or replaced by a load).
  virtual void AllObjectsDeleted() = 0;
};
