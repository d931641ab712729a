#pragma once
// TShem: one diagram, an ordered list of objects that is at once the drawing
// order, the file order and the index space of the file, with the operations
// that keep links consistent as objects come and go.
//
// Inside, the list is a slot array in which deleted entries leave holes that
// are squeezed out lazily, and every object knows the links attached to it.
// That keeps deletion, IndexOf and NextLinkTo cheap on large diagrams while
// giving exactly the answers of a plain list walked from the start.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/geometry.h"
#include "model/ptrset.h"
#include "model/shemobj.h"

class ListView;
class TShemObserver;
class TStream;
class TUserBlockList;

// Raised for an index outside the object list (the caller's error).
class EListIndexError : public std::out_of_range {
 public:
  explicit EListIndexError(int index);
};

class TShem {
 public:
  explicit TShem(ListView* listView = nullptr);
  TShem(const TShem&) = delete;
  TShem& operator=(const TShem&) = delete;
  virtual ~TShem();

  // The application's user block list (not owned); may be null.
  TUserBlockList* UserBlocks = nullptr;
  ListView* GetListView() const { return listView_; }
  void SetListView(ListView* lv) { listView_ = lv; }
  // Observers are told of deletions until they are removed (not owned).
  void AddObserver(TShemObserver* o);
  void RemoveObserver(TShemObserver* o);

  void Clear();
  int Add(uint8_t objType, std::unique_ptr<TBlock> block);
  int Add(std::unique_ptr<TBlock> block) { return Add(otBlock, std::move(block)); }
  int Add(std::unique_ptr<TLink> link);
  void Insert(int index, std::unique_ptr<TBlock> block);
  void Insert(int index, std::unique_ptr<TLink> link);
  TShemObj* GetObj(int index) const;
  int Count() const { return int(slots_.size() - dead_); }
  // Index of obj, or -1 when obj is not (or no longer) in this diagram; a
  // reference to an object that was deleted is answered safely.
  int IndexOf(const TShemObj* obj) const;
  bool Contains(const TShemObj* obj) const { return live_.Contains(obj); }
  void Delete(int index);
  void Remove(TShemObj* obj);
  // First link after After (from the start when After is null or not in the
  // list) whose Source or Target is obj; -1 when none.
  int NextLinkTo(const TShemObj* after, const TShemObj* obj) const;
  // The same, as the object (null when none).
  TShemObj* NextLinkObjTo(const TShemObj* after, const TShemObj* obj) const;
  // All links attached to obj, in list order, each once.
  std::vector<TShemObj*> LinksOf(const TShemObj* obj) const;

  // End point of a link end at pos on obj (a block, or a link followed through
  // the links it hangs on). Links attached in a cycle yield (0, 0) for the
  // ends that cannot be resolved, never an endless walk.
  TPoint LinkEndPoint(TPoint pos, const TShemObj* obj) const;
  TPoint SourcePoint(const TShemObj* link) const;
  TPoint TargetPoint(const TShemObj* link) const;

  // Hit tests (model coordinates); each walks the list from index 0 and
  // reports the first object that passes.
  TShemObj* ObjectAt(TPoint p) const;
  // First object after `after` (from the start when null) touching r
  // (Left <= Right, Top <= Bottom).
  TShemObj* NextInRect(const TShemObj* after, const TRect& r) const;
  void BorderPointAt(TPoint p, TShemObj*& obj, TPoint& q) const;
  void HandleAt(TPoint p, TShemObj*& obj, int& handle) const;
  void LinkEndAt(TPoint p, TShemObj*& obj, bool& isSource) const;

  TShemObj* FindText(const TShemObj* after, const std::string& what, bool caseSensitive) const;
  TShemObj* ReplaceText(const TShemObj* after, const std::string& what, bool caseSensitive,
                        const std::string& with);
  TRect Bounds() const;
  void FillListView();
  void AddListItem(TShemObj* obj);
  void InsertCopies(const TShem& from, TPoint offset, std::vector<TShemObj*>* newObjects);
  void SortObjects();
  void ChangeKind(TShemObj* obj, int newKind);

  // True when making link's end (source or target) hang on newEnd would close
  // a cycle of links attached to links (newEnd is link or hangs on it).
  bool WouldCycle(const TShemObj* link, const TShemObj* newEnd) const;

  // Diagram stream (file format "FileQuorvalinEditorV").
  bool SaveToStream(TStream& s) const;
  bool LoadFromStream(TStream& s);
  bool LoadFromFile(const std::string& fileName, std::string* error = nullptr);
  bool SaveToFile(const std::string& fileName, std::string* error = nullptr) const;

  // Internal consistency check for tests: slots, owners and the attached-link
  // index agree with the link records.
  bool CheckIntegrity() const;

 private:
  friend class LinkEndRef;
  int AddEntry(TShemObj* e);
  void InsertEntry(int index, TShemObj* e);
  void Register(TShemObj* e);
  void RelinkEnd(TShemObj* linkEntry, TShemObj* oldEnd, TShemObj* newEnd);
  // IndexOf for an object known not to be freed (a live entry, or the end of
  // a live link).
  int IndexOfLive(const TShemObj* obj) const;
  void Compact() const;
  void MarkDead(size_t slot);
  size_t DeadBefore(size_t slot) const;
  size_t SlotOfIndex(int index) const;
  void DeleteEntry(TShemObj* e);
  void ReplaceContents(TShem& from);
  std::pair<TPoint, TPoint> LinkEnds(const TShemObj* link) const;

  void NotifyAllDeleted();

  ListView* listView_ = nullptr;
  std::vector<TShemObserver*> observers_;
  // Slot array; deleted entries are null until Compact squeezes them out.
  mutable std::vector<TShemObj*> slots_;
  mutable size_t dead_ = 0;
  mutable std::vector<uint32_t> deadTree_;  // Fenwick tree of holes, 1-based
  mutable size_t lookups_ = 0;
  // Every entry in the list, so that references kept elsewhere (a selection,
  // the last search result) can be asked about after a deletion.
  TPtrSet live_;
};
