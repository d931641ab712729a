#pragma once
// The objects of a diagram: TShemObj (one list entry and an object's identity)
// owning a TBlock (a shape with text) or a TLink (a line between two objects).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/geometry.h"

class TShem;
class TShemObj;
class TLink;

// Block kinds 0..9; 15 + n is user block n of the application's list.
enum TBlockKind : uint8_t {
  bkSquare = 0,
  bkEllipse = 1,
  bkRhomb = 2,
  bkParallelogram = 3,
  bkPoint = 4,
  bkText = 5,
  bkComment = 6,
  bkDocument = 7,
  bkProcess = 8,
  bkPage = 9,
  bkUserFirst = 15,
};
constexpr int BuiltInKindCount = 10;
// The kind-name table, in kind order ("Square" ... "Page").
extern const char* const KindNames[BuiltInKindCount];
inline bool IsUserKind(int kind) { return kind >= bkUserFirst; }

// LinkType bits.
enum : uint8_t { ltArrowTarget = 1, ltArrowSource = 2, ltDotted = 4 };

// Object types of TShemObj::ObjType.
enum : uint8_t { otBlock = 0, otLink = 1 };

// Attachment positions run 0..65535 across the attached object.
constexpr int32_t PosMax = 65535;
constexpr TPoint PosCentre{32767, 32767};

struct Block {
  uint8_t Kind = 0;
  std::string Text;       // 8-bit text, lines separated by CR LF, never holds a 0 byte
  uint8_t TextAlign = 0;  // 0 centred, 1 left, 2 right (3 drawn centred)
  bool Filled = false;
  bool Dotted = false;
  TPoint TopLeft;
  TPoint BottomRight;

  TRect Rect() const { return {TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y}; }
  void SetRect(const TRect& r) {
    TopLeft = r.TopLeft();
    BottomRight = r.BottomRight();
  }
};

class TBlock {
 public:
  TBlock() = default;
  explicit TBlock(Block data) : Data(std::move(data)) {}
  // A Point block: 2 by 2 units around p.
  static std::unique_ptr<TBlock> NewPoint(TPoint p);
  Block Data;
};

// Which end of a link.
enum class LinkEnd : uint8_t { Source, Target };

// One end of a link: the object it is attached to. It reads like a plain
// TShemObj pointer, but only the diagram that holds the link sets it
// (TShem::AddLink, TShem::SetLinkEnd), after checking that the object is a
// live member of that same diagram and that no cycle of links hanging on links
// is closed. An end cannot be copied, so a Link record taken from one diagram
// can never carry references into another: a copy is made field by field
// (TLink::CopyShape) and gets its ends from the diagram it joins.
class LinkEndRef {
 public:
  LinkEndRef() = default;
  LinkEndRef(const LinkEndRef&) = delete;
  LinkEndRef& operator=(const LinkEndRef&) = delete;
  operator TShemObj*() const { return obj_; }  // NOLINT: reads like a pointer
  TShemObj* operator->() const { return obj_; }
  TShemObj* Get() const { return obj_; }

 private:
  friend class TShem;
  TShemObj* obj_ = nullptr;
};

struct Link {
  uint8_t LinkType = 0;
  LinkEndRef Source;
  LinkEndRef Target;
  TPoint SourcePos;
  TPoint TargetPos;

  LinkEndRef& End(LinkEnd e) { return e == LinkEnd::Source ? Source : Target; }
  const LinkEndRef& End(LinkEnd e) const { return e == LinkEnd::Source ? Source : Target; }
  TPoint& Pos(LinkEnd e) { return e == LinkEnd::Source ? SourcePos : TargetPos; }
};

class TLink {
 public:
  TLink() = default;
  TLink(uint8_t linkType, TPoint sourcePos, TPoint targetPos) {
    Data.LinkType = linkType;
    Data.SourcePos = sourcePos;
    Data.TargetPos = targetPos;
  }
  TLink(const TLink&) = delete;
  TLink& operator=(const TLink&) = delete;
  // A detached link with the type and positions of d; its ends are empty.
  static std::unique_ptr<TLink> CopyShape(const Link& d) {
    return std::make_unique<TLink>(d.LinkType, d.SourcePos, d.TargetPos);
  }
  Link Data;
};

class TShemObj {
 public:
  TShemObj(std::unique_ptr<TBlock> b);
  TShemObj(std::unique_ptr<TLink> l);
  TShemObj(const TShemObj&) = delete;
  TShemObj& operator=(const TShemObj&) = delete;
  ~TShemObj();

  uint8_t ObjType;
  bool IsBlock() const { return ObjType == otBlock; }
  bool IsLink() const { return ObjType == otLink; }
  // The owned object; AsBlock/AsLink return nullptr for the other sort.
  TBlock* AsBlock() const { return block_.get(); }
  TLink* AsLink() const { return link_.get(); }
  bool IsPointBlock() const { return block_ && block_->Data.Kind == bkPoint; }

  TShem* Owner() const { return owner_; }

 private:
  friend class TShem;
  std::unique_ptr<TBlock> block_;
  std::unique_ptr<TLink> link_;
  TShem* owner_ = nullptr;
  size_t slot_ = 0;      // position in the owner's slot array
  bool doomed_ = false;  // marked by a deletion in progress
  // Links of the owner diagram whose Source or Target is this object (a link
  // with both ends here is listed twice).
  std::vector<TShemObj*> referrers_;
};
