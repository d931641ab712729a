#pragma once
// TSelection: the selected objects of one diagram, in the order in which they
// were selected. It refers to the diagram's objects without owning them and
// watches the diagram, so an object that is deleted leaves the selection
// before it is freed.

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "model/shemobserver.h"

class TShem;
class TShemObj;

class TSelection : private TShemObserver {
 public:
  explicit TSelection(TShem& diagram);
  ~TSelection() override;
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

  // Appends obj unless it is selected already; only objects of the diagram.
  void Add(TShemObj* obj);
  void Remove(const TShemObj* obj);
  void Clear();
  // The selection becomes objs, in their order (each once, only objects of
  // the diagram).
  void Assign(const std::vector<TShemObj*>& objs);
  bool Contains(const TShemObj* obj) const { return members_.count(obj) != 0; }
  bool Empty() const { return items_.empty(); }
  int Count() const { return int(items_.size()); }
  // The selected blocks (links do not count).
  int BlockCount() const;
  const std::vector<TShemObj*>& Items() const { return items_; }
  std::vector<TShemObj*>::const_iterator begin() const { return items_.begin(); }
  std::vector<TShemObj*>::const_iterator end() const { return items_.end(); }
  TShemObj* operator[](size_t i) const { return items_[i]; }

 private:
  void ObjectsDeleted(const std::vector<TShemObj*>& gone) override;
  void AllObjectsDeleted() override { Clear(); }

  TShem& diagram_;
  std::vector<TShemObj*> items_;
  std::unordered_set<const TShemObj*> members_;
};
