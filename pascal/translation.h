#pragma once
// The rewriting passes that collapse the working copy of a diagram, structure
// by structure, into blocks whose text is Pascal.
//
// Each pass is defined as a fixed-point loop: scan the list from index 0,
// apply the rule at the first object where it applies, start again at 0, and
// stop when a whole scan applied nothing. Done literally that costs a full
// scan per rewrite. Here every pass keeps the objects whose rule might apply
// in a queue ordered by list position, and a rewrite puts back only the
// objects whose answer it can have changed: the objects it touched and their
// neighbours (the ends of their links, and the links hanging on them). An
// object the scan would skip stays out of the queue until something near it
// changes, so taking the earliest queued object that the rule accepts is the
// same as the literal scan's first hit, and the passes produce the same
// diagram, the same junction marks and the same messages.

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/shem.h"
#include "pascal/yeslabelindex.h"

class TTranslation {
 public:
  // Works on d (a freshly loaded working copy) until destroyed; d must not be
  // changed by anyone else meanwhile.
  TTranslation(TShem& d, std::vector<std::string>& messages);

  void JoinAdjacentPoints();
  void DissolveBendPoints();
  void MakeJunctionPoints();
  void ForwardJunctionPoints();
  void MergeSequences();
  void ReduceDecisions();

  // The junction mark of a Point block (kept here, not in the block).
  bool HasJunctionMark(const TShemObj* obj) const { return marks_.count(obj) != 0; }

 private:
  using Entry = std::pair<int64_t, TShemObj*>;
  // Objects in list order; entries of deleted objects are dropped when met.
  class Queue {
   public:
    explicit Queue(const TTranslation& t) : t_(t) {}
    void Push(TShemObj* o);
    void PushEntry(const Entry& e) { heap_.push(e); }
    TShemObj* Top();  // earliest live object, or null
    void Pop() { heap_.pop(); }
    void Clear() { heap_ = {}; }

   private:
    const TTranslation& t_;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap_;
  };

  bool Alive(const TShemObj* o) const { return o && keys_.count(o) != 0; }
  int64_t KeyOf(const TShemObj* o) const { return keys_.at(o); }

  // Changes that record what they touched.
  void SetEnd(TShemObj* link, bool source, TShemObj* to);
  void SetType(TShemObj* link, uint8_t type);
  void SetKind(TShemObj* block, uint8_t kind);
  void SetText(TShemObj* block, std::string text);
  TShemObj* Append(std::unique_ptr<TLink> link, TShemObj* source, TShemObj* target);
  TShemObj* InsertFirst(std::unique_ptr<TBlock> block);
  // Deletes obj with everything the diagram deletes with it.
  void Delete(TShemObj* obj);
  // Re-queues whatever the recorded changes may have made eligible.
  void Flush();
  void Offer(TShemObj* o);
  void PushAll(Queue& q, const std::function<bool(const TShemObj*)>& wanted);

  // One rule application each.
  void JoinAt(TShemObj* k);
  void DissolveAt(TShemObj* p, TShemObj* la, TShemObj* lb);
  void SplitAt(TShemObj* k);
  void MergeAt(TShemObj* r, TShemObj* o, TShemObj* b);
  bool ReduceAt(TShemObj* r, TShemObj* yes, TShemObj* no, bool haveI2);
  // Runs MergeSequences from the current queue state; false when it ended
  // with a message.
  bool RunMerge();
  bool IsYesLabel(const TShemObj* o) const;
  TShemObj* Next(const TShemObj* x) const;

  TShem& d_;
  std::vector<std::string>& messages_;                 // raised messages, in order
  std::unordered_map<const TShemObj*, int64_t> keys_;  // order keys of live objects
  int64_t minKey_ = 0, maxKey_ = -1;
  std::unordered_set<const TShemObj*> marks_;
  // Length of the prefix of a Square's text known to be normalised and
  // ending with ";", so that merging into it rescans only the new part.
  std::unordered_map<const TShemObj*, size_t> clean_;
  std::vector<TShemObj*> touched_;
  bool labelsChanged_ = false;

  Queue links_, points_, squares_, rhombs_;
  bool linksOn_ = false, pointsOn_ = false, squaresOn_ = false, rhombsOn_ = false;
  std::vector<Entry> allRhombs_;
  TYesLabelIndex labels_;
  bool labelsOn_ = false;
};

// The rule's vocabulary, shared with the export window's callers.
namespace pascalrules {
bool LeadsOut(const TShemObj* link, const TShemObj* x);
bool LeadsIn(const TShemObj* link, const TShemObj* x);
// The other end of link seen from x.
TShemObj* FarEnd(const TShemObj* link, const TShemObj* x);
uint8_t Swap12(uint8_t type);
// CR LF CR LF collapsed to CR LF until none is left, from position from on;
// the text before from must not end with CR LF.
void CollapseBlankLines(std::string& text, size_t from = 0);
}  // namespace pascalrules
