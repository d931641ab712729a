#pragma once
// TWatchedObject: a reference to one object of a diagram that lets go (turns
// null) when the diagram deletes the object or replaces all of them, e.g. the
// block whose handle is being dragged when an Undo swaps the diagram.

#include "model/shem.h"
#include "model/shemobserver.h"

class TWatchedObject : private TShemObserver {
 public:
  explicit TWatchedObject(TShem& diagram) : diagram_(diagram) { diagram_.AddObserver(this); }
  ~TWatchedObject() override { diagram_.RemoveObserver(this); }
  TWatchedObject(const TWatchedObject&) = delete;
  TWatchedObject& operator=(const TWatchedObject&) = delete;

  TShemObj* Get() const { return obj_; }
  void Set(TShemObj* obj) { obj_ = obj; }

 private:
  void ObjectsDeleted(const std::vector<TShemObj*>& gone) override {
    if (!obj_) return;
    for (const TShemObj* o : gone)
      if (o == obj_) obj_ = nullptr;
  }
  void AllObjectsDeleted() override { obj_ = nullptr; }

  TShem& diagram_;
  TShemObj* obj_ = nullptr;
};
