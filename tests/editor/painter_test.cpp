// Pixels of the diagram painter: outlines, handles, fills, arrowheads, text.
#include <QPainter>
#include <cmath>
#include <set>

#include "editor/diagrampainter.h"
#include "guitestenv.h"
#include "model/shapes.h"
#include "model/shem.h"

namespace {
const QColor kWindow(192, 192, 192);

struct Canvas {
  QImage img{240, 160, QImage::Format_RGB32};
  TViewTransform view{{0, 0}, {0, 0}, 2};
  Canvas() { img.fill(kWindow); }
  // Runs f with a painter on the image.
  template <class F>
  void Paint(F f) {
    QPainter p(&img);
    QFont font;
    font.setPointSize(8);
    p.setFont(font);
    TDiagramPainter dp(p, view, kWindow, nullptr);
    f(dp);
  }
};

Block MakeBlock(int kind, TRect r, std::string text = "", uint8_t align = 0) {
  Block b;
  b.Kind = uint8_t(kind);
  b.SetRect(r);
  b.Text = std::move(text);
  b.TextAlign = align;
  return b;
}

// A handle: the 4 by 4 square from (x - 2, y - 2) entirely black.
bool HandleAt(const QImage& img, int x, int y) {
  for (int dy = -2; dy < 2; ++dy)
    for (int dx = -2; dx < 2; ++dx)
      if (!IsBlack(img, x + dx, y + dy)) return false;
  return true;
}

int BlackIn(const QImage& img, QRect r, int skipRow = -1) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (y != skipRow && IsBlack(img, x, y)) ++n;
  return n;
}

int InkIn(const QImage& img, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsInk(img, x, y);
  return n;
}

// Block (10,10)-(50,30) at scale 2: R = (20,20)-(100,60).
constexpr TRect kRect{10, 10, 50, 30};
constexpr int L = 20, T = 20, Rt = 100, B = 60, MX = 60, MY = 40;
}  // namespace

TEST(Painter, TransformRoundsHalvesToEvenAndMapsBothWays) {
  TViewTransform v{{10, 20}, {100, 200}, 2};
  EXPECT_EQ(v.DiagramToScreen({100, 200}), (TPoint{10, 20}));
  EXPECT_EQ(v.DiagramToScreen({103, 201}), (TPoint{16, 22}));
  // 3 / 2 = 1.5 rounds to 2, 5 / 2 = 2.5 rounds to 2 as well.
  EXPECT_EQ(v.ScreenToDiagram({13, 25}), (TPoint{102, 202}));
  v.Scale = 8;
  EXPECT_EQ(v.ScreenToDiagram({10 + 12, 20 + 4}), (TPoint{102, 200}));  // 1.5 -> 2, 0.5 -> 0
  for (int s : {1, 2, 4, 8}) {
    v.Scale = s;
    EXPECT_EQ(v.ScreenToDiagram(v.DiagramToScreen({777, 65535})), (TPoint{777, 65535}));
  }
  EXPECT_EQ(FontSizeForScale(1), 5);
  EXPECT_EQ(FontSizeForScale(2), 8);
  EXPECT_EQ(FontSizeForScale(4), 20);
  EXPECT_EQ(FontSizeForScale(8), 40);
  EXPECT_EQ(FontSizeForScale(3), 0);
}

TEST(Painter, EightHandleKindsShowCornersAndSideMiddles) {
  for (int kind :
       {int(bkSquare), int(bkText), int(bkComment), int(bkDocument), int(bkProcess), int(bkPage)}) {
    SCOPED_TRACE(kind);
    Canvas c;
    c.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(kind, kRect), true); });
    for (auto [x, y] :
         {std::pair{L, T}, {MX, T}, {Rt, T}, {Rt, MY}, {Rt, B}, {MX, B}, {L, B}, {L, MY}})
      EXPECT_TRUE(HandleAt(c.img, x, y)) << x << "," << y;
    // Exactly 4 by 4: the ring around the top-left handle is not black
    // beyond the outline itself.
    EXPECT_FALSE(IsBlack(c.img, L - 3, T - 3));
    EXPECT_FALSE(IsBlack(c.img, L + 2, T - 2));

    Canvas plain;
    plain.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(kind, kRect), false); });
    EXPECT_FALSE(HandleAt(plain.img, L, T));
    EXPECT_FALSE(HandleAt(plain.img, MX, B));
  }
}

TEST(Painter, EllipseRhombAndParallelogramHandles) {
  for (int kind : {int(bkEllipse), int(bkRhomb)}) {
    SCOPED_TRACE(kind);
    Canvas c;
    c.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(kind, kRect), true); });
    for (auto [x, y] : {std::pair{MX, T}, {Rt, MY}, {MX, B}, {L, MY}})
      EXPECT_TRUE(HandleAt(c.img, x, y));
    for (auto [x, y] : {std::pair{L, T}, {Rt, T}, {Rt, B}, {L, B}})
      EXPECT_FALSE(HandleAt(c.img, x, y));
  }
  Canvas c;
  c.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(bkParallelogram, kRect), true); });
  // Vertices (20,60), (33,20), (100,20), (87,60) and the middles of the sides.
  const int t = Round(L + 80.0 / 6), u = Round(Rt - 80.0 / 6);
  for (auto [x, y] : {std::pair{L, B},
                      {t, T},
                      {Rt, T},
                      {u, B},
                      {Round((L + t) * 0.5), MY},
                      {Round((t + Rt) * 0.5), T},
                      {Round((Rt + u) * 0.5), MY},
                      {Round((u + L) * 0.5), B}})
    EXPECT_TRUE(HandleAt(c.img, x, y)) << x << "," << y;
  EXPECT_FALSE(HandleAt(c.img, L, T));
  EXPECT_FALSE(HandleAt(c.img, Rt, B));
}

TEST(Painter, LinkPointIsABlackDiscWhenSelectedAndHasNoHandles) {
  const TRect pt{49, 39, 51, 41};  // screen (98,78)-(102,82)
  Canvas sel, plain;
  sel.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(bkPoint, pt), true); });
  plain.Paint([&](TDiagramPainter& p) { p.DrawBlock(MakeBlock(bkPoint, pt), false); });
  EXPECT_TRUE(IsBlack(sel.img, 100, 80));
  EXPECT_EQ(QColor(plain.img.pixel(100, 80)), kWindow);
  EXPECT_GT(BlackIn(plain.img, QRect(96, 76, 9, 9)), 4);  // the outline is there
  EXPECT_EQ(BlackIn(sel.img, QRect(90, 70, 21, 21)) - BlackIn(sel.img, QRect(98, 78, 5, 5)), 0);
}

TEST(Painter, FilledInteriorHidesWhatLiesBehindInTheWindowColour) {
  // A selected ellipse, then a rectangle over its right half.
  auto draw = [](bool filled, bool dotted) {
    Canvas c;
    Block rect = MakeBlock(bkSquare, {30, 5, 70, 35});
    rect.Filled = filled;
    rect.Dotted = dotted;
    c.Paint([&](TDiagramPainter& p) {
      p.DrawBlock(MakeBlock(bkEllipse, kRect), true);
      p.DrawBlock(rect, false);
    });
    return c.img;
  };
  // The ellipse's right handle (100, 40) and its outline lie inside the rectangle.
  const QImage filled = draw(true, false);
  EXPECT_EQ(QColor(filled.pixel(100, 40)), kWindow);
  EXPECT_EQ(BlackIn(filled, QRect(70, 22, 40, 36)), 0);
  const QImage open = draw(false, false);
  EXPECT_TRUE(HandleAt(open, 100, 40));
  // A dotted outline is never filled.
  const QImage dotted = draw(true, true);
  EXPECT_TRUE(HandleAt(dotted, 100, 40));
}

TEST(Painter, DocumentDottedBottomSkipsFourColumnsAfterMultiplesOfFour) {
  // Blocks whose left edge lands on column 20, 22 and -10 (partly outside).
  for (int origin : {0, -1, 15}) {
    SCOPED_TRACE(origin);
    Canvas solid, dotted;
    solid.view.Origin = dotted.view.Origin = {origin, 0};
    const Block plain = MakeBlock(bkDocument, kRect);
    Block b = plain;
    b.Dotted = true;
    solid.Paint([&](TDiagramPainter& p) { p.DrawBlock(plain, false); });
    dotted.Paint([&](TDiagramPainter& p) { p.DrawBlock(b, false); });
    const TPoint tl = solid.view.DiagramToScreen(kRect.TopLeft()),
                 br = solid.view.DiagramToScreen(kRect.BottomRight());
    const TRect R{tl.X, tl.Y, br.X, br.Y};
    // The rule as stated: walk the columns, skipping four after every
    // column that is a multiple of 4.
    std::set<int> drawn;
    for (int x = R.Left; x <= R.Right; ++x) {
      drawn.insert(x);
      if (x % 4 == 0) x += 4;
    }
    for (int x = std::max(R.Left + 1, 0); x < R.Right; ++x) {
      const int y = DocumentWaveY(R, x);
      EXPECT_TRUE(IsBlack(solid.img, x, y)) << x;
      EXPECT_EQ(IsBlack(dotted.img, x, y), drawn.count(x) == 1) << x;
    }
  }
}

TEST(Painter, ArrowheadsFollowTheLinkTypeAndStaySolidOnDottedLinks) {
  // Source end (40,110), target end (160,110) on the screen.
  auto draw = [](uint8_t type) {
    TShem d;
    auto add = [&d](TRect r) {
      auto b = std::make_unique<TBlock>();
      b->Data.SetRect(r);
      return d.GetObj(d.Add(std::move(b)));
    };
    TShemObj* a = add({10, 50, 20, 60});
    TShemObj* z = add({80, 50, 90, 60});
    TShemObj* link = d.GetObj(
        d.AddLink(std::make_unique<TLink>(type, TPoint{PosMax, 32767}, TPoint{0, 32767}), a, z));
    Canvas c;
    c.Paint([&](TDiagramPainter& p) { p.DrawLink(d, link, false); });
    return c.img;
  };
  const QRect atTarget(150, 105, 10, 11), atSource(41, 105, 10, 11);
  for (uint8_t type = 0; type < 8; ++type) {
    SCOPED_TRACE(int(type));
    const QImage img = draw(type);
    // Wings 10 pixels from the tip at 20 degrees: (151, 107) and (151, 113).
    EXPECT_EQ(IsBlack(img, 151, 107) && IsBlack(img, 151, 113), (type & 1) != 0);
    EXPECT_EQ(IsBlack(img, 49, 107) && IsBlack(img, 49, 113), (type & 2) != 0);
    // Dotted links leave gaps along the line; solid ones none.
    int gaps = 0;
    for (int x = 60; x <= 140; ++x) gaps += !IsBlack(img, x, 110);
    if (type & 4)
      EXPECT_GT(gaps, 20);
    else
      EXPECT_EQ(gaps, 0);
    // The arrowhead itself is solid whatever the line: same pixels off the line's row.
    const QImage solid = draw(type & 3);
    EXPECT_EQ(BlackIn(img, atTarget, 110), BlackIn(solid, atTarget, 110));
    EXPECT_EQ(BlackIn(img, atSource, 110), BlackIn(solid, atSource, 110));
  }
}

TEST(Painter, LinkWithCoincidingEndsShowsNoArrowhead) {
  TShem d;
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect({10, 10, 90, 70});
  TShemObj* blk = d.GetObj(d.Add(std::move(b)));
  TShemObj* link = d.GetObj(d.AddLink(std::make_unique<TLink>(3, PosCentre, PosCentre), blk, blk));
  Canvas c;
  c.Paint([&](TDiagramPainter& p) { p.DrawLink(d, link, false); });
  EXPECT_LE(BlackIn(c.img, QRect(80 - 12, 80 - 12, 25, 25)), 1);
}

TEST(Painter, TextIsAlignedWrappedAndClipped) {
  auto inkSpan = [](const QImage& img, QRect r) {
    int lo = 1 << 30, hi = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (IsInk(img, x, y)) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
    return std::pair{lo, hi};
  };
  auto draw = [](uint8_t align, std::string text = "ab") {
    Canvas c;
    c.Paint([&](TDiagramPainter& p) {
      p.DrawBlock(MakeBlock(bkText, {10, 10, 110, 70}, text, align), false);
    });
    return c.img;
  };
  const QRect inside(21, 21, 198, 118);
  const auto centre = inkSpan(draw(0), inside);
  ASSERT_GE(centre.second, 0) << "no text drawn";
  EXPECT_EQ(draw(3), draw(0));  // 3 is drawn centred
  EXPECT_NE(draw(1), draw(0));
  EXPECT_LT(inkSpan(draw(1), inside).first, centre.first);
  EXPECT_GT(inkSpan(draw(2), inside).second, centre.second);
  EXPECT_NEAR((centre.first + centre.second) / 2.0, 120, 6);

  // A long text wraps onto several lines and nothing spills out of the rectangle.
  const QImage many = draw(1, std::string(400, 'W') + " end\r\nnext");
  EXPECT_EQ(InkIn(many, QRect(0, 0, 240, 20)), 0);
  EXPECT_EQ(InkIn(many, QRect(0, 140, 240, 20)), 0);
  EXPECT_EQ(InkIn(many, QRect(220, 0, 20, 160)), 0);
  int inkRows = 0;
  for (int y = 20; y < 140; ++y) inkRows += InkIn(many, QRect(20, y, 200, 1)) > 0;
  EXPECT_GT(inkRows, 60);  // most of the height is covered by wrapped lines
}

TEST(Painter, DragFeedbackInvertsDottedAndLeavesTheRestAlone) {
  QImage img(60, 40, QImage::Format_RGB32);
  img.fill(kWindow);
  for (int x = 0; x < 60; ++x) img.setPixel(x, 20, qRgb(0, 0, 0));  // a black line under the frame
  const QImage before = img;
  {
    QPainter p(&img);
    DrawInvertingRect(p, {10, 5}, {50, 30});
  }
  int inverted = 0, kept = 0;
  for (int x = 10; x <= 50; ++x) {
    const QRgb now = img.pixel(x, 5), was = before.pixel(x, 5);
    if (now == (~was | 0xFF000000u))
      ++inverted;
    else if (now == was)
      ++kept;
  }
  EXPECT_EQ(inverted + kept, 41);  // every pixel is either inverted or untouched
  EXPECT_GT(inverted, 8);          // dotted: some of each
  EXPECT_GT(kept, 8);
  // Where the frame crosses the black line, inverted pixels turn white.
  EXPECT_TRUE(img.pixel(10, 20) == qRgb(255, 255, 255) || img.pixel(10, 20) == qRgb(0, 0, 0));
  // Nothing inside or outside the frame changes.
  EXPECT_EQ(img.pixel(30, 15), before.pixel(30, 15));
  EXPECT_EQ(img.pixel(5, 20), before.pixel(5, 20));
  // Drawing it again restores the picture.
  {
    QPainter p(&img);
    DrawInvertingRect(p, {10, 5}, {50, 30});
  }
  EXPECT_EQ(img, before);
}
