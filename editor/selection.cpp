#include "editor/selection.h"

#include <algorithm>

#include "model/shem.h"

TSelection::TSelection(TShem& diagram) : diagram_(diagram) { diagram_.AddObserver(this); }

TSelection::~TSelection() { diagram_.RemoveObserver(this); }

void TSelection::Add(TShemObj* obj) {
  if (!obj || Contains(obj) || !diagram_.Contains(obj)) return;
  items_.push_back(obj);
  members_.insert(obj);
}

void TSelection::Remove(const TShemObj* obj) {
  if (members_.erase(obj) == 0) return;
  items_.erase(std::find(items_.begin(), items_.end(), obj));
}

void TSelection::Clear() {
  items_.clear();
  members_.clear();
}

void TSelection::Assign(const std::vector<TShemObj*>& objs) {
  Clear();
  items_.reserve(objs.size());
  for (TShemObj* o : objs) Add(o);
}

int TSelection::BlockCount() const {
  return int(
      std::count_if(items_.begin(), items_.end(), [](const TShemObj* o) { return o->IsBlock(); }));
}

void TSelection::ObjectsDeleted(const std::vector<TShemObj*>& gone) {
  bool any = false;
  for (const TShemObj* o : gone) any |= members_.erase(o) != 0;
  if (!any) return;
  std::erase_if(items_, [this](const TShemObj* o) { return !members_.count(o); });
}
