#include "app/templateops.h"

#include "model/shem.h"

bool LoadTemplate(const std::string& fileName, TShem& into, std::string* error) {
  if (!into.LoadFromFile(fileName, error)) return false;
  if (!HasBlocks(into)) return true;
  const TPoint shift = into.Bounds().TopLeft();
  for (int i = 0; i < into.Count(); ++i) {
    if (TBlock* blk = into.GetObj(i)->AsBlock()) {
      blk->Data.TopLeft = PointSub(blk->Data.TopLeft, shift);
      blk->Data.BottomRight = PointSub(blk->Data.BottomRight, shift);
    }
  }
  return true;
}

bool HasBlocks(const TShem& tmpl) {
  for (int i = 0; i < tmpl.Count(); ++i)
    if (tmpl.GetObj(i)->IsBlock()) return true;
  return false;
}

TPoint TemplateSize(const TShem& tmpl) {
  return HasBlocks(tmpl) ? tmpl.Bounds().BottomRight() : TPoint{0, 0};
}

namespace {

void MoveBlock(Block& d, TPoint by) {
  d.TopLeft = PointAdd(d.TopLeft, by);
  d.BottomRight = PointAdd(d.BottomRight, by);
}

}  // namespace

std::vector<TShemObj*> ReplaceBlockWithTemplate(TShem& doc, TShemObj* b, const TShem& tmpl) {
  std::vector<TShemObj*> made;
  if (!b || !b->IsBlock() || !doc.Contains(b) || !HasBlocks(tmpl)) return made;
  const TRect r = b->AsBlock()->Data.Rect();
  const TPoint size = TemplateSize(tmpl);
  const int32_t dx = size.X - (r.Right - r.Left);
  const int32_t dy = size.Y - (r.Bottom - r.Top);

  // Make room: first down, then right, each judged against b's own edges.
  for (int i = 0; i < doc.Count(); ++i)
    if (TBlock* o = doc.GetObj(i)->AsBlock(); o && o->Data.TopLeft.Y > r.Top)
      MoveBlock(o->Data, {0, dy});
  for (int i = 0; i < doc.Count(); ++i)
    if (TBlock* o = doc.GetObj(i)->AsBlock(); o && o->Data.TopLeft.X > r.Left)
      MoveBlock(o->Data, {dx, 0});

  doc.InsertCopies(tmpl, r.TopLeft(), &made);
  TShemObj* top = nullptr;
  TShemObj* bottom = nullptr;
  for (TShemObj* o : made) {
    const TBlock* blk = o->AsBlock();
    if (!blk) continue;
    if (!top || blk->Data.TopLeft.Y < top->AsBlock()->Data.TopLeft.Y) top = o;
    if (!bottom || blk->Data.BottomRight.Y > bottom->AsBlock()->Data.BottomRight.Y) bottom = o;
  }

  // Each link end at b goes to the top-most or the bottom-most new block by
  // where that end meets b: below the centre line (2y > top + bottom, the
  // exact half) means the lower half.
  const TShemObj* after = nullptr;
  while (TShemObj* link = doc.NextLinkObjTo(after, b)) {
    Link& d = link->AsLink()->Data;
    for (LinkEnd end : {LinkEnd::Source, LinkEnd::Target}) {
      if (d.End(end).Get() != b) continue;
      const TPoint p = doc.LinkEndPoint(d.Pos(end), b);
      doc.SetLinkEnd(link, end, 2 * p.Y > r.Top + r.Bottom ? bottom : top);
    }
    after = link;
  }
  doc.Remove(b);
  return made;
}
