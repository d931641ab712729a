#pragma once
// The rewriting passes written down literally: every pass scans the object
// list from index 0, applies its rule at the first object where it applies
// and starts again at 0. Slow (a full scan per rewrite) and kept only as the
// reference that the translator's passes are compared with.

#include <string>
#include <unordered_set>
#include <vector>

#include "model/geometry.h"
#include "model/shem.h"

class LiteralPasses {
 public:
  explicit LiteralPasses(TShem& d) : d_(d) {}
  std::vector<std::string> Messages;
  std::unordered_set<const TShemObj*> Marks;

  void JoinAdjacentPoints() {
    while (ScanOnce([&](TShemObj* k) {
      if (!k->IsLink() || !Src(k)->IsPointBlock() || !Tgt(k)->IsPointBlock()) return false;
      TShemObj* p1 = Src(k);
      TShemObj* p2 = Tgt(k);
      if (First(k)) Marks.insert(p1);
      for (TShemObj* h = First(k); h; h = Next(h, k)) Reattach(h, k, p1);
      for (TShemObj* l = First(p2); l; l = Next(l, p2)) Reattach(l, p2, p1);
      if (Marks.count(p2)) Marks.insert(p1);
      SetEnd(k, LinkEnd::Source, nullptr);
      SetEnd(k, LinkEnd::Target, nullptr);
      Remove(k);
      Remove(p2);
      return true;
    })) {
    }
  }

  void DissolveBendPoints() {
    for (bool again = true; again;) {
      again = false;
      for (int i = 0; i < d_.Count(); ++i) {
        TShemObj* p = d_.GetObj(i);
        if (!p->IsPointBlock() || Marks.count(p)) continue;
        TShemObj* la = First(p);
        if (!la) {
          Remove(p);
          --i;
          continue;
        }
        TShemObj* lb = Next(la, p);
        if (!lb) continue;  // a single link: left alone
        auto nl = std::make_unique<TLink>();
        TShemObj* nlSource;
        TShemObj* nlTarget;
        if (L(la).Source.Get() == p) {
          nlSource = L(la).Target.Get();
          nl->Data.SourcePos = L(la).TargetPos;
          nl->Data.LinkType = Swap(L(la).LinkType);
          SetEnd(la, LinkEnd::Target, nullptr);
        } else {
          nlSource = L(la).Source.Get();
          nl->Data.SourcePos = L(la).SourcePos;
          nl->Data.LinkType = L(la).LinkType;
          SetEnd(la, LinkEnd::Source, nullptr);
        }
        if (L(lb).Source.Get() == p) {
          nlTarget = L(lb).Target.Get();
          nl->Data.TargetPos = L(lb).TargetPos;
          if (nl->Data.LinkType == 0 || nl->Data.LinkType == 3) nl->Data.LinkType = L(lb).LinkType;
          SetEnd(lb, LinkEnd::Target, nullptr);
        } else {
          nlTarget = L(lb).Source.Get();
          nl->Data.TargetPos = L(lb).SourcePos;
          if (nl->Data.LinkType == 0 || nl->Data.LinkType == 3)
            nl->Data.LinkType = Swap(L(lb).LinkType);
          SetEnd(lb, LinkEnd::Source, nullptr);
        }
        TShemObj* l0 = d_.GetObj(d_.AddLink(std::move(nl), nlSource, nlTarget));
        for (TShemObj* h = First(la); h; h = Next(h, la)) {
          if (L(h).Source.Get() == la) {
            SetEnd(h, LinkEnd::Source, l0);
            L(h).SourcePos = ScalePoint(L(h).SourcePos, 0.5);
          }
          if (L(h).Target.Get() == la) {
            SetEnd(h, LinkEnd::Target, l0);
            L(h).TargetPos = ScalePoint(L(h).TargetPos, 0.5);
          }
        }
        for (TShemObj* h = First(lb); h; h = Next(h, lb)) {
          if (L(h).Source.Get() == lb) {
            SetEnd(h, LinkEnd::Source, l0);
            L(h).SourcePos = PointAdd({32766, 32766}, ScalePoint(L(h).SourcePos, 0.5));
          }
          if (L(h).Target.Get() == lb) {
            SetEnd(h, LinkEnd::Target, l0);
            L(h).TargetPos = PointAdd({32766, 32766}, ScalePoint(L(h).TargetPos, 0.5));
          }
        }
        Remove(p);
        again = true;
        break;
      }
    }
  }

  void MakeJunctionPoints() {
    while (ScanOnce([&](TShemObj* k) {
      if (!k->IsLink() || !First(k)) return false;
      const TPoint mid = d_.LinkEndPoint({32767, 32767}, k);
      auto b = std::make_unique<TBlock>();
      b->Data.Kind = bkPoint;
      b->Data.TopLeft = mid;
      b->Data.BottomRight = {mid.X + 2, mid.Y + 2};
      d_.Insert(0, std::move(b));
      TShemObj* np = d_.GetObj(0);
      d_.AddLink(std::make_unique<TLink>(L(k).LinkType, L(k).SourcePos, TPoint{32767, 32767}),
                 L(k).Source, np);
      SetEnd(k, LinkEnd::Source, np);
      L(k).SourcePos = {32767, 32767};
      for (TShemObj* h = First(k); h; h = Next(h, k)) {
        if (L(h).Source.Get() == k) {
          SetEnd(h, LinkEnd::Source, np);
          L(h).SourcePos = {32767, 32767};
        }
        if (L(h).Target.Get() == k) {
          SetEnd(h, LinkEnd::Target, np);
          L(h).TargetPos = {32767, 32767};
        }
      }
      return true;
    })) {
    }
  }

  void ForwardJunctionPoints() {
    bool stop = false;
    while (!stop && ScanOnce([&](TShemObj* p) {
      if (stop || !p->IsPointBlock()) return false;
      TShemObj* o = FirstOut(p);
      if (!o) {
        Messages.push_back("No outgoing link");
        stop = true;
        return false;
      }
      TShemObj* t = Far(o, p);
      if (First(o)) return false;
      for (TShemObj* l = First(p); l; l = Next(l, p)) {
        if (l == o) continue;
        if (L(l).Source.Get() == p) {
          SetEnd(l, LinkEnd::Source, t);
          L(l).SourcePos = {32767, 0};
          L(l).LinkType = 2;
        }
        if (L(l).Target.Get() == p) {
          SetEnd(l, LinkEnd::Target, t);
          L(l).TargetPos = {32767, 0};
          L(l).LinkType = 1;
        }
      }
      SetEnd(o, LinkEnd::Source, nullptr);
      SetEnd(o, LinkEnd::Target, nullptr);
      Remove(o);
      Remove(p);
      return true;
    })) {
    }
  }

  void MergeSequences() {
    bool stop = false;
    while (!stop && ScanOnce([&](TShemObj* r) {
      if (stop || !IsKind(r, bkSquare)) return false;
      TShemObj* o = FirstOut(r);
      if (!o) {
        Messages.push_back("No outgoing link");
        stop = true;
        return false;
      }
      TShemObj* b = Far(o, r);
      if (!IsKind(b, bkSquare) || CountIn(b) != 1 || First(o)) return false;
      std::string& t = Text(r);
      for (size_t at; (at = t.find("\r\n\r\n")) != std::string::npos;) t.replace(at, 4, "\r\n");
      if (t.size() >= 2 && t.substr(t.size() - 2) == "\r\n") t.erase(t.size() - 2);
      if (t.empty() || t.back() != ';') t += ";";
      t = t + "\r\n" + Text(b);
      for (TShemObj* l = First(b); l; l = Next(l, b)) {
        if (l == o) continue;
        if (L(l).Source.Get() == b) SetEnd(l, LinkEnd::Source, r);
        if (L(l).Target.Get() == b) SetEnd(l, LinkEnd::Target, r);
      }
      Remove(b);
      return true;
    })) {
    }
  }

  void ReduceDecisions() {
    for (bool again = true; again;) {
      again = false;
      for (int i = 0; i < d_.Count(); ++i) {
        TShemObj* r = d_.GetObj(i);
        if (!IsKind(r, bkRhomb)) continue;
        std::vector<TShemObj*> outs, others;
        for (TShemObj* l = First(r); l; l = Next(l, r)) {
          if (LeadsOut(l, r)) {
            outs.push_back(l);
            if (outs.size() == 3) {
              Messages.push_back("More then 2 outgoing links");
              return;
            }
          } else {
            others.push_back(l);
          }
        }
        if (outs.size() < 2) {
          Messages.push_back("Have only 1 incoming link");
          return;
        }
        auto exitOf = [&](TShemObj* l) {
          return d_.LinkEndPoint(
              L(l).Source.Get() == r && L(l).LinkType == 1 ? L(l).SourcePos : L(l).TargetPos, r);
        };
        const TPoint e1 = exitOf(outs[0]), e2 = exitOf(outs[1]);
        int nearest = 65535;
        bool haveBest = false;
        TPoint best;
        for (int j = 0; j < d_.Count(); ++j) {
          TShemObj* y = d_.GetObj(j);
          if (!IsKind(y, bkText) || Text(y) != "yes") continue;
          const TPoint c = MidPoint(y->AsBlock()->Data.TopLeft, y->AsBlock()->Data.BottomRight);
          for (TPoint e : {e1, e2})
            if (PointDistance(c, e) < nearest) {
              nearest = PointDistance(c, e);
              best = e;
              haveBest = true;
            }
        }
        const bool firstYes = haveBest && PointsEqual(best, e1);
        TShemObj* yes = firstYes ? outs[0] : outs[1];
        TShemObj* no = firstYes ? outs[1] : outs[0];
        TShemObj* by = Far(yes, r);
        TShemObj* bn = Far(no, r);
        TShemObj* jy = NextOf(by);
        TShemObj* jn = NextOf(bn);
        const std::string cond = Text(r);
        bool applied = false;
        if (bn->IsBlock() && bn == jy && NotRhombBlock(by)) {
          Text(r) = "if " + cond + "\r\nthen\r\nbegin\r\n" + Text(by) + "\r\nend;";
          Remove(by);
          r->AsBlock()->Data.Kind = bkSquare;
          applied = true;
        } else if (jy && jy == jn && jy->IsBlock() && NotRhombBlock(bn) && NotRhombBlock(by) &&
                   !jy->IsPointBlock() && jy != by && jy != bn) {
          Text(r) = "if " + cond + "\r\nthen\r\nbegin\r\n" + Text(by) +
                    "\r\nend\r\nelse\r\nbegin\r\n" + Text(bn) + "\r\nend;";
          Remove(by);
          if (InList(bn)) Remove(bn);
          r->AsBlock()->Data.Kind = bkSquare;
          d_.AddLink(std::make_unique<TLink>(1, TPoint{32767, 65535}, TPoint{32767, 0}), r, jy);
          applied = true;
        } else if (jy == r && by->IsBlock()) {
          const int k = CountIn(by);
          if (others.size() >= 2 && k == 1 && by != r) {
            Text(r) = "while " + cond + " do\r\nbegin\r\n" + Text(by) + "\r\nend;";
            Remove(by);
            r->AsBlock()->Data.Kind = bkSquare;
            applied = true;
          } else if (others.size() < 2 && k == 2) {
            Text(by) = "repeat\r\n" + Text(by) + "\r\nuntil not(" + cond + ");";
            if (L(no).Source.Get() == r && L(no).LinkType == 1)
              SetEnd(no, LinkEnd::Source, by);
            else
              SetEnd(no, LinkEnd::Target, by);
            Remove(r);
            applied = true;
          }
        }
        if (applied) {
          MergeSequences();
          again = true;
          break;
        }
      }
    }
  }

 private:
  template <class Rule>
  bool ScanOnce(Rule rule) {
    for (int i = 0; i < d_.Count(); ++i)
      if (rule(d_.GetObj(i))) return true;
    return false;
  }
  static Link& L(TShemObj* o) { return o->AsLink()->Data; }
  static TShemObj* Src(TShemObj* o) { return o->AsLink()->Data.Source.Get(); }
  static TShemObj* Tgt(TShemObj* o) { return o->AsLink()->Data.Target.Get(); }
  static std::string& Text(TShemObj* o) { return o->AsBlock()->Data.Text; }
  static bool IsKind(TShemObj* o, int kind) {
    return o && o->IsBlock() && o->AsBlock()->Data.Kind == kind;
  }
  static bool NotRhombBlock(TShemObj* o) {
    return o && o->IsBlock() && o->AsBlock()->Data.Kind != bkRhomb;
  }
  static uint8_t Swap(uint8_t t) { return t == 1 ? 2 : t == 2 ? 1 : t; }
  static bool LeadsOut(TShemObj* l, TShemObj* x) {
    return (Src(l) == x && L(l).LinkType == 1) || (Tgt(l) == x && L(l).LinkType == 2);
  }
  static bool LeadsIn(TShemObj* l, TShemObj* x) {
    return (Tgt(l) == x && L(l).LinkType == 1) || (Src(l) == x && L(l).LinkType == 2);
  }
  static TShemObj* Far(TShemObj* l, TShemObj* x) { return Src(l) == x ? Tgt(l) : Src(l); }
  void SetEnd(TShemObj* l, LinkEnd end, TShemObj* to) { d_.SetLinkEnd(l, end, to); }
  void Reattach(TShemObj* l, TShemObj* from, TShemObj* to) {
    if (Src(l) == from) SetEnd(l, LinkEnd::Source, to);
    if (Tgt(l) == from) SetEnd(l, LinkEnd::Target, to);
  }
  TShemObj* First(TShemObj* x) const { return d_.NextLinkObjTo(nullptr, x); }
  TShemObj* Next(TShemObj* after, TShemObj* x) const { return d_.NextLinkObjTo(after, x); }
  TShemObj* FirstOut(TShemObj* x) const {
    for (TShemObj* l = First(x); l; l = Next(l, x))
      if (LeadsOut(l, x)) return l;
    return nullptr;
  }
  TShemObj* NextOf(TShemObj* x) const {
    TShemObj* l = x ? FirstOut(x) : nullptr;
    return l ? Far(l, x) : nullptr;
  }
  int CountIn(TShemObj* x) const {
    int n = 0;
    for (TShemObj* l = First(x); l; l = Next(l, x)) n += LeadsIn(l, x);
    return n;
  }
  bool InList(TShemObj* x) const {
    for (int i = 0; i < d_.Count(); ++i)
      if (d_.GetObj(i) == x) return true;
    return false;
  }
  // Removes o and forgets the marks of everything that went with it.
  void Remove(TShemObj* o) {
    d_.Remove(o);
    std::unordered_set<const TShemObj*> live;
    for (int i = 0; i < d_.Count(); ++i) live.insert(d_.GetObj(i));
    for (auto it = Marks.begin(); it != Marks.end();)
      it = live.count(*it) ? std::next(it) : Marks.erase(it);
  }

  TShem& d_;
};
