// Writes the diagram templates that ship with the editor into a folder:
// loops, decisions, input and output, each a small fragment whose top-most
// block is where the flow enters and whose bottom-most block is where it
// leaves, so that "Replace to" > "Templates" puts the replaced block's links
// in the right places. Run: qv_make_templates <folder>.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "model/shem.h"
#include "model/userblocklist.h"

namespace {
constexpr TPoint Top{32767, 0}, Bottom{32767, PosMax}, Left{0, 32767}, Right{PosMax, 32767};

struct Builder {
  TUserBlockList userBlocks;
  TShem d;
  Builder() { d.UserBlocks = &userBlocks; }

  TShemObj* Block(int kind, TRect r, const std::string& text = "", uint8_t align = 0) {
    auto b = std::make_unique<TBlock>();
    b->Data.Kind = uint8_t(kind);
    b->Data.SetRect(r);
    b->Data.Text = text;
    b->Data.TextAlign = align;
    return d.GetObj(d.Add(std::move(b)));
  }
  TShemObj* Point(TPoint p) { return d.GetObj(d.Add(TBlock::NewPoint(p))); }
  void Label(TRect r, const char* text) { Block(bkText, r, text, 1); }
  // A link with an arrowhead; a bare line when it ends on a link point.
  void Link(TShemObj* from, TPoint fromPos, TShemObj* to, TPoint toPos) {
    const uint8_t type = to->IsPointBlock() ? 0 : ltArrowTarget;
    d.AddLink(std::make_unique<TLink>(type, fromPos, toPos), from, to);
  }
  // A line through link points, ending with an arrowhead unless on a point.
  void Path(TShemObj* from, TPoint fromPos, std::initializer_list<TShemObj*> via, TShemObj* to,
            TPoint toPos) {
    TShemObj* prev = from;
    TPoint prevPos = fromPos;
    for (TShemObj* p : via) {
      Link(prev, prevPos, p, PosCentre);
      prev = p;
      prevPos = PosCentre;
    }
    Link(prev, prevPos, to, toPos);
  }
  bool Save(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    d.SortObjects();
    std::string error;
    if (d.SaveToFile(path.string(), &error)) return true;
    std::fprintf(stderr, "%s: %s\n", path.string().c_str(), error.c_str());
    return false;
  }
};

using Path = std::filesystem::path;

bool Program(const Path& p) {
  Builder b;
  TShemObj* begin = b.Block(bkEllipse, {20, 0, 100, 20}, "begin");
  TShemObj* body = b.Block(bkSquare, {10, 40, 110, 65}, "statements");
  TShemObj* end = b.Block(bkEllipse, {20, 85, 100, 105}, "end");
  b.Link(begin, Bottom, body, Top);
  b.Link(body, Bottom, end, Top);
  return b.Save(p);
}

// Test first: the body runs while the condition holds.
bool WhileLoop(const Path& p) {
  Builder b;
  TShemObj* cond = b.Block(bkRhomb, {30, 0, 130, 40}, "condition");
  TShemObj* body = b.Block(bkSquare, {30, 65, 130, 90}, "statements");
  b.Label({85, 44, 115, 56}, "yes");
  b.Label({133, 6, 163, 18}, "no");
  b.Link(cond, Bottom, body, Top);
  b.Path(body, Left, {b.Point({10, 77}), b.Point({10, 20})}, cond, Left);
  TShemObj* exit = b.Point({80, 120});
  b.Path(cond, Right, {b.Point({160, 20}), b.Point({160, 110}), b.Point({80, 110})}, exit,
         PosCentre);
  return b.Save(p);
}

// Body first, then the test; back to the body until the condition holds.
bool RepeatUntil(const Path& p) {
  Builder b;
  TShemObj* body = b.Block(bkSquare, {30, 0, 130, 25}, "statements");
  TShemObj* cond = b.Block(bkRhomb, {30, 45, 130, 85}, "condition");
  b.Label({0, 52, 28, 64}, "no");
  b.Label({85, 88, 115, 100}, "yes");
  b.Link(body, Bottom, cond, Top);
  b.Path(cond, Left, {b.Point({10, 65}), b.Point({10, 12})}, body, Left);
  b.Link(cond, Bottom, b.Point({80, 115}), PosCentre);
  return b.Save(p);
}

// A counter from 1 to n.
bool CountedLoop(const Path& p) {
  Builder b;
  TShemObj* init = b.Block(bkSquare, {30, 0, 130, 20}, "i := 1");
  TShemObj* cond = b.Block(bkRhomb, {30, 40, 130, 80}, "i <= n");
  TShemObj* body = b.Block(bkSquare, {30, 105, 130, 135}, "statements;\r\ni := i + 1");
  b.Label({85, 84, 115, 96}, "yes");
  b.Label({133, 46, 163, 58}, "no");
  b.Link(init, Bottom, cond, Top);
  b.Link(cond, Bottom, body, Top);
  b.Path(body, Left, {b.Point({10, 120}), b.Point({10, 60})}, cond, Left);
  TShemObj* exit = b.Point({80, 165});
  b.Path(cond, Right, {b.Point({160, 60}), b.Point({160, 155}), b.Point({80, 155})}, exit,
         PosCentre);
  return b.Save(p);
}

bool IfThen(const Path& p) {
  Builder b;
  TShemObj* cond = b.Block(bkRhomb, {0, 0, 100, 40}, "condition");
  TShemObj* then = b.Block(bkSquare, {120, 45, 220, 70}, "statements");
  b.Label({103, 6, 133, 18}, "yes");
  b.Label({55, 44, 85, 56}, "no");
  TShemObj* merge = b.Point({50, 100});
  b.Path(cond, Right, {b.Point({170, 20})}, then, Top);
  b.Link(cond, Bottom, merge, PosCentre);
  b.Path(then, Bottom, {b.Point({170, 95})}, merge, PosCentre);
  return b.Save(p);
}

bool IfThenElse(const Path& p) {
  Builder b;
  TShemObj* cond = b.Block(bkRhomb, {60, 0, 160, 40}, "condition");
  TShemObj* yes = b.Block(bkSquare, {0, 55, 100, 80}, "statements 1");
  TShemObj* no = b.Block(bkSquare, {120, 55, 220, 80}, "statements 2");
  b.Label({25, 6, 55, 18}, "yes");
  b.Label({165, 6, 195, 18}, "no");
  TShemObj* merge = b.Point({110, 105});
  b.Path(cond, Left, {b.Point({50, 20})}, yes, Top);
  b.Path(cond, Right, {b.Point({170, 20})}, no, Top);
  b.Path(yes, Bottom, {b.Point({50, 100})}, merge, PosCentre);
  b.Path(no, Bottom, {b.Point({170, 100})}, merge, PosCentre);
  return b.Save(p);
}

bool Read(const Path& p) {
  Builder b;
  b.Block(bkParallelogram, {0, 0, 110, 25}, "Read(x)");
  return b.Save(p);
}

bool Write(const Path& p) {
  Builder b;
  b.Block(bkParallelogram, {0, 0, 110, 25}, "Write(x)");
  return b.Save(p);
}

bool ReadProcessWrite(const Path& p) {
  Builder b;
  TShemObj* in = b.Block(bkParallelogram, {0, 0, 110, 25}, "Read(x)");
  TShemObj* work = b.Block(bkSquare, {5, 45, 105, 70}, "y := f(x)");
  TShemObj* out = b.Block(bkParallelogram, {0, 90, 110, 115}, "Write(y)");
  b.Link(in, Bottom, work, Top);
  b.Link(work, Bottom, out, Top);
  return b.Save(p);
}

bool Report(const Path& p) {
  Builder b;
  TShemObj* work = b.Block(bkSquare, {0, 0, 100, 25}, "statements");
  TShemObj* doc = b.Block(bkDocument, {0, 45, 100, 80}, "Report");
  b.Link(work, Bottom, doc, Top);
  return b.Save(p);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qv_make_templates <folder>\n");
    return 2;
  }
  const Path dir = argv[1];
  const bool ok = Program(dir / "Program.fgd") && WhileLoop(dir / "Loops" / "While loop.fgd") &&
                  RepeatUntil(dir / "Loops" / "Repeat until.fgd") &&
                  CountedLoop(dir / "Loops" / "Counted loop.fgd") &&
                  IfThen(dir / "Decisions" / "If then.fgd") &&
                  IfThenElse(dir / "Decisions" / "If then else.fgd") &&
                  Read(dir / "Input and output" / "Read.fgd") &&
                  Write(dir / "Input and output" / "Write.fgd") &&
                  ReadProcessWrite(dir / "Input and output" / "Read, process, write.fgd") &&
                  Report(dir / "Input and output" / "Report.fgd");
  return ok ? 0 : 1;
}
