#pragma once
// Generated flowcharts for the translator's tests and benchmarks: a begin
// Ellipse, a random nesting of sequences, if-then, if-then-else, while and
// repeat, and an end Ellipse, drawn the way an editor would draw them
// (optionally with bent polylines, links ending on links, reversed arrows,
// shuffled object order and stray objects that raise messages).

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/shem.h"

struct FlowStyle {
  int maxDepth = 6;
  double bendShare = 0;           // links drawn through Point blocks
  bool bendDecisionExits = true;  // also links that leave a Rhomb
  double junctionShare = 0;       // joins drawn as a link ending on another link
  double reversedShare = 0;       // links stored target to source with LinkType 2
  double noiseShare = 0;          // links given another LinkType (0, 3, 5)
  double messyTextShare = 0;      // texts with blank lines, line breaks at the end, ";"
  int strays = 0;                 // stray objects that raise messages
  bool shuffle = false;           // object order shuffled
};

class FlowGen {
 public:
  FlowGen(uint32_t seed, FlowStyle style) : rng_(seed), st_(style) {}

  // The text the translation should emit for a clean drawing (no strays,
  // no noise, no messy texts), before indenting.
  std::string Expected;

  // Generates about `statements` blocks between begin and end into d.
  void Build(TShem& d, int statements) {
    const int begin = NewNode(bkEllipse, BeginText(), 0);
    Frag body = Seq(statements, 1);
    Expected = "begin\r\n" + body.code + "\r\nend;";
    Edge(begin, -1, body.entry);
    const int end = NewNode(bkEllipse, "end", 0);
    Connect(body.exits, end);
    AddStrays();
    Emit(d);
  }

 private:
  struct Node {
    int kind;
    std::string text;
    TRect rect;
  };
  struct Exit {
    int node;
    int branch;  // 0 plain, 1 yes, 2 no
  };
  struct Frag {
    int entry;
    std::vector<Exit> exits;
    std::string code;
  };
  static std::string Join(const std::string& a, const std::string& b) {
    return a + (!a.empty() && a.back() == ';' ? "" : ";") + "\r\n" + b;
  }
  struct EdgeRec {
    int from, to;
    TPoint fromPos, toPos;
  };

  double U() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
  int R(int n) { return int(rng_() % uint32_t(n)); }

  std::string BeginText() {
    static const char* const v[] = {"begin", "Begin", "BEGIN"};
    return v[R(3)];
  }
  std::string Statement() {
    const int i = int(nodes_.size());
    std::string t = "s" + std::to_string(i) + " := " + std::to_string(i);
    if (U() < st_.messyTextShare) {
      switch (R(6)) {
        case 0:
          t += ";";
          break;
        case 1:
          t += "\r\n";
          break;
        case 2:
          t = "a\r\n\r\n\r\n" + t;
          break;
        case 3:
          t = "";
          break;
        case 4:
          t += "\r\n\r\nx;\r\n";
          break;
        default:
          t = "\r\n" + t + "\r\r\n\n";
          break;
      }
    }
    return t;
  }

  int NewNode(int kind, std::string text, int depth) {
    const int row = rows_++;
    const int32_t x = int32_t(row / 1500) * 4000 + int32_t(std::min(depth, 30)) * 100;
    const int32_t y = int32_t(row % 1500) * 40 + 10;
    nodes_.push_back({kind, std::move(text), {x, y, x + 60, y + 20}});
    return int(nodes_.size()) - 1;
  }

  // A link from node `from` leaving by `branch` into `to`; a yes branch gets
  // its label beside the exit.
  void Edge(int from, int branch, int to) {
    TPoint fp{32767, 65535};
    if (branch > 0) {
      const bool yesRight = (from % 3) == 0;
      const bool right = (branch == 1) == yesRight;
      fp = right ? TPoint{65535, 32767} : TPoint{32767, 65535};
      if (branch == 1) {
        const TRect& r = nodes_[size_t(from)].rect;
        const TPoint e = right ? TPoint{r.Right, (r.Top + r.Bottom) / 2}
                               : TPoint{(r.Left + r.Right) / 2, r.Bottom};
        const TPoint c = right ? TPoint{e.X + 8, e.Y - 6} : TPoint{e.X + 8, e.Y + 6};
        labels_.push_back({bkText, "yes", {c.X - 5, c.Y - 3, c.X + 5, c.Y + 3}});
      }
    }
    edges_.push_back({from, to, fp, {32767, 0}});
  }
  void Connect(const std::vector<Exit>& exits, int to) {
    for (const Exit& e : exits) Edge(e.node, e.branch, to);
  }

  Frag Seq(int budget, int depth) {
    size_t before = nodes_.size();
    Frag f = Stmt(budget > 3 ? R(budget / 2) + 1 : budget, depth);
    budget -= int(nodes_.size() - before);
    while (budget > 0) {
      before = nodes_.size();
      Frag g = Stmt(budget > 3 ? R(budget / 2) + 1 : budget, depth);
      budget -= int(nodes_.size() - before);
      Connect(f.exits, g.entry);
      f.exits = g.exits;
      f.code = Join(f.code, g.code);
    }
    return f;
  }

  Frag Stmt(int budget, int depth) {
    const int kind = budget <= 1 || depth >= st_.maxDepth ? 0 : R(5);
    if (kind == 0) {
      const int s = NewNode(bkSquare, Statement(), depth);
      return {s, {{s, 0}}, nodes_[size_t(s)].text};
    }
    const std::string c = "c" + std::to_string(nodes_.size());
    const int r = NewNode(bkRhomb, c, depth);
    const int inner = budget - 1;
    switch (kind) {
      case 1: {  // if-then
        Frag b = Seq(inner, depth + 1);
        Edge(r, 1, b.entry);
        Frag f{r, b.exits, "if " + c + "\r\nthen\r\nbegin\r\n" + b.code + "\r\nend;"};
        f.exits.push_back({r, 2});
        return f;
      }
      case 2: {  // if-then-else
        Frag y = Seq(std::max(1, inner / 2), depth + 1);
        Frag n = Seq(std::max(1, inner - inner / 2), depth + 1);
        Edge(r, 1, y.entry);
        Edge(r, 2, n.entry);
        Frag f{r, y.exits,
               "if " + c + "\r\nthen\r\nbegin\r\n" + y.code + "\r\nend\r\nelse\r\nbegin\r\n" +
                   n.code + "\r\nend;"};
        f.exits.insert(f.exits.end(), n.exits.begin(), n.exits.end());
        return f;
      }
      case 3: {  // while
        Frag b = Seq(inner, depth + 1);
        Edge(r, 1, b.entry);
        Connect(b.exits, r);
        return {r, {{r, 2}}, "while " + c + " do\r\nbegin\r\n" + b.code + "\r\nend;"};
      }
      default: {  // repeat: the Rhomb comes after its body
        // The body starts with a plain statement: a body that starts with
        // another repeat would give its first block three incoming links,
        // which no pattern reduces.
        const int first = NewNode(bkSquare, Statement(), depth + 1);
        Frag b{first, {{first, 0}}, nodes_[size_t(first)].text};
        if (inner > 1) {
          Frag rest = Seq(inner - 1, depth + 1);
          Connect(b.exits, rest.entry);
          b.exits = rest.exits;
          b.code = Join(b.code, rest.code);
        }
        Connect(b.exits, r);
        Edge(r, 1, b.entry);
        return {b.entry, {{r, 2}}, "repeat\r\n" + b.code + "\r\nuntil not(" + c + ");"};
      }
    }
  }

  void AddStrays() {
    for (int i = 0; i < st_.strays; ++i) {
      const int n = int(nodes_.size());
      switch (R(6)) {
        case 0:  // a Square that leads nowhere
          NewNode(bkSquare, "stray", 0);
          break;
        case 1:  // a link in any direction between any two blocks
          edges_.push_back({R(n), R(n), {R(65536), R(65536)}, {R(65536), R(65536)}});
          noisy_.push_back(int(edges_.size()) - 1);
          break;
        case 2:  // a Rhomb with one way out
          edges_.push_back({NewNode(bkRhomb, "odd", 0), R(n), {32767, 65535}, {32767, 0}});
          break;
        case 3:  // a block that no rule merges
          nodes_[size_t(R(n))].kind = bkParallelogram;
          break;
        case 4:  // a label anywhere
          labels_.push_back({bkText, "yes", {R(60000), R(60000), 0, 0}});
          labels_.back().rect.Right = labels_.back().rect.Left + 10;
          labels_.back().rect.Bottom = labels_.back().rect.Top + 6;
          break;
        default:  // a polyline that ends in the air
          danglers_.push_back(R(n));
          break;
      }
    }
  }

  void Emit(TShem& d) {
    // Objects are collected with their ends as positions in `objs`, then
    // added in natural or shuffled order.
    struct Obj {
      bool link;
      std::unique_ptr<TBlock> block;
      int source = -1, target = -1;
      TPoint sp{}, tp{};
      uint8_t type = 1;
    };
    std::vector<Obj> objs;
    for (const Node& n : nodes_) {
      auto b = std::make_unique<TBlock>();
      b->Data.Kind = uint8_t(n.kind);
      b->Data.Text = n.text;
      b->Data.SetRect(n.rect);
      objs.push_back({false, std::move(b), -1, -1, {}, {}, 1});
    }
    for (const Node& n : labels_) {
      auto b = std::make_unique<TBlock>();
      b->Data.Kind = uint8_t(n.kind);
      b->Data.Text = n.text;
      b->Data.SetRect(n.rect);
      objs.push_back({false, std::move(b), -1, -1, {}, {}, 1});
    }
    auto point = [&](TPoint p) {
      objs.push_back({false, TBlock::NewPoint(p), -1, -1, {}, {}, 1});
      return int(objs.size()) - 1;
    };
    auto link = [&](int s, int t, TPoint sp, TPoint tp, uint8_t type) {
      if (U() < st_.reversedShare) {
        std::swap(s, t);
        std::swap(sp, tp);
        type = type == 1 ? 2 : type;
      }
      if (U() < st_.noiseShare) type = uint8_t(std::vector<int>{0, 3, 5}[size_t(R(3))]);
      objs.push_back({true, nullptr, s, t, sp, tp, type});
      return int(objs.size()) - 1;
    };
    std::vector<int> lastInto(nodes_.size(), -1);  // a link drawn into each node
    for (size_t i = 0; i < edges_.size(); ++i) {
      const EdgeRec& e = edges_[i];
      const bool noisy = std::find(noisy_.begin(), noisy_.end(), int(i)) != noisy_.end();
      const uint8_t type = noisy ? uint8_t(R(8)) : 1;
      if (!noisy && lastInto[size_t(e.to)] >= 0 && U() < st_.junctionShare) {
        // End on the link already drawn into the same block.
        link(e.from, lastInto[size_t(e.to)], e.fromPos, {R(65536), 0}, type);
        continue;
      }
      int from = e.from;
      TPoint fp = e.fromPos;
      if (U() < st_.bendShare &&
          (st_.bendDecisionExits || nodes_[size_t(e.from)].kind != bkRhomb)) {
        const TRect& r = nodes_[size_t(e.from)].rect;
        for (int k = 1 + R(3); k > 0; --k) {
          const int p = point({r.Right + 10 * k, r.Bottom + 5 * k});
          // Middle segments may carry no arrow; the arrowed ones decide.
          link(from, p, fp, {32767, 32767}, from == e.from || U() < 0.5 ? type : 0);
          from = p;
          fp = {32767, 32767};
        }
      }
      lastInto[size_t(e.to)] = link(from, e.to, fp, e.toPos, type);
    }
    for (int n : danglers_) {
      const int p = point({nodes_[size_t(n)].rect.Right + 30, nodes_[size_t(n)].rect.Top});
      link(n, p, {65535, 32767}, {32767, 32767}, 1);
    }

    std::vector<int> order(objs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    if (st_.shuffle)
      std::shuffle(order.begin(), order.end(), rng_);
    else  // as an editor's file holds them: blocks, then links, each in drawing order
      std::stable_partition(order.begin(), order.end(),
                            [&](int i) { return !objs[size_t(i)].link; });
    std::vector<TShemObj*> made(objs.size(), nullptr);
    for (int i : order) {
      Obj& o = objs[size_t(i)];
      if (!o.link) {
        made[size_t(i)] = d.GetObj(d.Add(std::move(o.block)));
      } else {
        made[size_t(i)] = d.GetObj(d.Add(std::make_unique<TLink>(o.type, o.sp, o.tp)));
      }
    }
    for (size_t i = 0; i < objs.size(); ++i) {
      if (!objs[i].link) continue;
      d.SetLinkEnd(made[i], LinkEnd::Source, made[size_t(objs[i].source)]);
      d.SetLinkEnd(made[i], LinkEnd::Target, made[size_t(objs[i].target)]);
    }
  }

  std::mt19937 rng_;
  FlowStyle st_;
  std::vector<Node> nodes_, labels_;
  std::vector<EdgeRec> edges_;
  std::vector<int> noisy_, danglers_;
  int rows_ = 0;
};
