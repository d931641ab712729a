#include "model/shemobj.h"

std::unique_ptr<TBlock> TBlock::NewPoint(TPoint p) {
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = bkPoint;
  b->Data.TopLeft = {p.X - 1, p.Y - 1};
  b->Data.BottomRight = {p.X + 1, p.Y + 1};
  return b;
}

TShemObj::TShemObj(std::unique_ptr<TBlock> b) : ObjType(otBlock), block_(std::move(b)) {}
TShemObj::TShemObj(std::unique_ptr<TLink> l) : ObjType(otLink), link_(std::move(l)) {}
TShemObj::~TShemObj() = default;
