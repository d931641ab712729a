// Writes the example diagrams bundled in examples/: a loop, a decision and a
// diagram with user blocks of its own. Run: qv_make_examples <folder>.
#include <cstdio>
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
  TShemObj* Link(TShemObj* from, TPoint fromPos, TShemObj* to, TPoint toPos,
                 uint8_t type = ltArrowTarget) {
    return d.GetObj(d.AddLink(std::make_unique<TLink>(type, fromPos, toPos), from, to));
  }
  bool Save(const std::string& path) {
    d.SortObjects();
    std::string error;
    if (d.SaveToFile(path, &error)) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
  }
};

// The sum of 1..n: a counting loop whose way back is a bent link.
bool Loop(const std::string& path) {
  Builder b;
  TShemObj* start = b.Block(bkEllipse, {160, 10, 240, 30}, "Start");
  TShemObj* read = b.Block(bkParallelogram, {145, 50, 255, 75}, "Read n");
  TShemObj* init = b.Block(bkSquare, {150, 95, 250, 120}, "s := 0;\r\ni := 1");
  TShemObj* cond = b.Block(bkRhomb, {150, 140, 250, 180}, "i <= n");
  TShemObj* body = b.Block(bkSquare, {150, 205, 250, 235}, "s := s + i;\r\ni := i + 1");
  TShemObj* write = b.Block(bkParallelogram, {290, 150, 400, 170}, "Write s");
  TShemObj* end = b.Block(bkEllipse, {305, 200, 385, 220}, "End");
  b.Block(bkText, {205, 182, 235, 194}, "yes", 1);
  b.Block(bkText, {255, 146, 285, 158}, "no", 1);
  TShemObj* note = b.Block(bkComment, {280, 240, 380, 265}, "runs n times", 1);
  b.Link(start, Bottom, read, Top);
  b.Link(read, Bottom, init, Top);
  TShemObj* entry = b.Link(init, Bottom, cond, Top);
  b.Link(cond, Bottom, body, Top);
  // Back from the body to the entry of the test, round the left side.
  TShemObj* p1 = b.Point({120, 220});
  TShemObj* p2 = b.Point({120, 130});
  b.Link(body, Left, p1, PosCentre, 0);
  b.Link(p1, PosCentre, p2, PosCentre, 0);
  b.Link(p2, PosCentre, entry, {32767, 0});
  b.Link(cond, Right, write, Left);
  b.Link(write, Bottom, end, Top);
  b.Link(body, Right, note, Left, ltDotted);
  return b.Save(path);
}

// The larger of two numbers: a decision whose branches meet at a link point.
bool Decision(const std::string& path) {
  Builder b;
  TShemObj* start = b.Block(bkEllipse, {200, 10, 280, 30}, "Start");
  TShemObj* read = b.Block(bkParallelogram, {180, 50, 300, 75}, "Read a, b");
  TShemObj* cond = b.Block(bkRhomb, {190, 95, 290, 135}, "a > b");
  TShemObj* yes = b.Block(bkSquare, {80, 150, 180, 175}, "m := a");
  TShemObj* no = b.Block(bkSquare, {300, 150, 400, 175}, "m := b");
  TShemObj* merge = b.Point({240, 200});
  TShemObj* report = b.Block(bkDocument, {180, 220, 300, 255}, "Report m");
  TShemObj* log = b.Block(bkProcess, {180, 275, 300, 300}, "Log(m)");
  TShemObj* end = b.Block(bkEllipse, {200, 320, 280, 340}, "End");
  TShemObj* page = b.Block(bkPage, {380, 310, 410, 340}, "A");
  b.Block(bkText, {150, 100, 185, 112}, "yes", 2);
  b.Block(bkText, {295, 100, 330, 112}, "no", 1);
  b.Link(start, Bottom, read, Top);
  b.Link(read, Bottom, cond, Top);
  b.Link(cond, Left, yes, Top);
  b.Link(cond, Right, no, Top);
  b.Link(yes, Bottom, merge, PosCentre, 0);
  b.Link(no, Bottom, merge, PosCentre, 0);
  b.Link(merge, PosCentre, report, Top);
  b.Link(report, {32767, 50000}, log, Top);
  b.Link(log, Bottom, end, Top);
  b.Link(log, Right, page, Left, ltArrowTarget | ltDotted);
  return b.Save(path);
}

// Two user blocks carried in the file itself: a preparation hexagon and a
// display shape.
bool UserBlocks(const std::string& path) {
  Builder b;
  auto hexagon = std::make_unique<TUserBlock>();
  hexagon->Name = "Preparation";
  hexagon->Id1 = 0x51A70001;
  hexagon->Id2 = 0x00000001;
  for (TPercentPoint p : {TPercentPoint{15, 0}, {85, 0}, {100, 50}, {85, 100}, {15, 100}, {0, 50}})
    hexagon->AddPoint(p);
  hexagon->SetEditRect(15, 5, 85, 95);
  hexagon->ToolImage = {0x0000, 0x0180, 0x0240, 0x0420, 0x0810, 0x1008, 0x1008, 0x1008,
                        0x1008, 0x1008, 0x1008, 0x0810, 0x0420, 0x0240, 0x0180, 0x0000};
  auto display = std::make_unique<TUserBlock>();
  display->Name = "Display";
  display->Id1 = 0x51A70002;
  display->Id2 = 0x00000001;
  for (TPercentPoint p :
       {TPercentPoint{20, 0}, {85, 0}, {100, 25}, {100, 75}, {85, 100}, {20, 100}, {0, 50}})
    display->AddPoint(p);
  display->SetEditRect(20, 5, 85, 95);
  display->ToolImage = {0x0000, 0x0100, 0x0280, 0x0440, 0x0820, 0x1010, 0x1FF0, 0x1010,
                        0x1010, 0x1010, 0x1010, 0x1010, 0x0820, 0x07C0, 0x0000, 0x0000};
  b.userBlocks.Add(std::move(hexagon));
  b.userBlocks.Add(std::move(display));

  TShemObj* start = b.Block(bkEllipse, {170, 10, 250, 30}, "Start");
  TShemObj* prep = b.Block(bkUserFirst + 0, {140, 50, 280, 80}, "for i := 1 to 10");
  TShemObj* work = b.Block(bkSquare, {160, 100, 260, 125}, "x := f(i)");
  TShemObj* show = b.Block(bkUserFirst + 1, {150, 145, 270, 175}, "Show x");
  TShemObj* end = b.Block(bkEllipse, {170, 195, 250, 215}, "End");
  b.Link(start, Bottom, prep, Top);
  b.Link(prep, Bottom, work, Top);
  b.Link(work, Bottom, show, Top);
  b.Link(show, Bottom, end, Top);
  return b.Save(path);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qv_make_examples <folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = Loop(dir + "/loop.fgd") && Decision(dir + "/decision.fgd") &&
                  UserBlocks(dir + "/userblock.fgd");
  return ok ? 0 : 1;
}
