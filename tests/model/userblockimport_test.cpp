#include "model/userblockimport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "model/userblocklist.h"

namespace {

// A fixed clock, a recording generator and a picture loader that serves a
// checkerboard and remembers the name it was asked for.
struct TFakeEnv {
  TImportClock Now{2001, 2, 3, 4, 5, 6, 7};
  uint32_t RandomRange = 0;
  int RandomCalls = 0;
  std::string AskedBitmap;
  bool BitmapFails = false;

  TUserBlockImportEnv Env() {
    TUserBlockImportEnv e;
    e.Clock = [this] { return Now; };
    e.Random = [this](uint32_t range) {
      ++RandomCalls;
      RandomRange = range;
      return range - 1;
    };
    e.LoadToolImage = [this](const std::string& name, TToolImageSource& img, std::string* error) {
      AskedBitmap = name;
      if (BitmapFails) {
        *error = "bitmap broken";
        return false;
      }
      img.Width = 20;
      img.Height = 20;
      img.PixelRgb = [](int x, int y) -> uint32_t { return (x + y) % 2 ? 0x000000 : 0xFFFFFF; };
      return true;
    };
    return e;
  }
};

// The block parsed from text, or null with the reason in error.
std::unique_ptr<TUserBlock> Parse(const std::string& text, const std::string& baseDir,
                                  const TUserBlockImportEnv& env, std::string& error) {
  std::unique_ptr<TUserBlock> b;
  const bool ok = ParseUserBlockDescription(text, baseDir, env, b, &error);
  EXPECT_EQ(ok, b != nullptr);
  return b;
}

std::string ParseError(const std::string& text) {
  TFakeEnv f;
  std::string error;
  EXPECT_EQ(Parse(text, "", f.Env(), error), nullptr) << text;
  return error;
}

struct Imported {
  bool ok = false;
  int index = -2;
  std::string error;
};

Imported Import(const std::string& file, TUserBlockList& list, const TUserBlockImportEnv& env) {
  Imported r;
  r.ok = ImportUserBlockFromText(file, list, &r.index, &r.error, env);
  return r;
}

// A 24-bit bottom-up Windows bitmap; pixel(x, y) gives 0xRRGGBB, row 0 on top.
template <class Fn>
void WriteBmp24(const std::string& path, int w, int h, Fn pixel) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> f;
  auto u16 = [&](uint32_t v) {
    f.push_back(uint8_t(v));
    f.push_back(uint8_t(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  f.push_back('B');
  f.push_back('M');
  u32(uint32_t(54 + stride * h));
  u32(0);
  u32(54);
  u32(40);
  u32(uint32_t(w));
  u32(uint32_t(h));
  u16(1);
  u16(24);
  u32(0);
  u32(uint32_t(stride * h));
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t c = pixel(x, y);
      f.push_back(uint8_t(c));
      f.push_back(uint8_t(c >> 8));
      f.push_back(uint8_t(c >> 16));
    }
    for (int k = w * 3; k < stride; ++k) f.push_back(0);
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
}

}  // namespace

TEST(IntegerSyntax, AcceptsAndRefuses) {
  const std::pair<const char*, int32_t> good[] = {{"12", 12},
                                                  {"  7", 7},
                                                  {"+5", 5},
                                                  {"-3", -3},
                                                  {"$FF", 255},
                                                  {"$ff", 255},
                                                  {"-$10", -16},
                                                  {"007", 7},
                                                  {"2147483647", 2147483647},
                                                  {"-2147483648", INT32_MIN},
                                                  {"$FFFFFFFF", -1}};
  for (const auto& [text, want] : good) {
    int32_t v = 0;
    EXPECT_TRUE(TryStrToInt(text, v)) << text;
    EXPECT_EQ(v, want) << text;
  }
  for (const char* text : {"", " ", "12 ", "1.5", "$", "-", "0x10", "abc", "1e3", "--1", "$G",
                           "2147483648", "$100000000", "99999999999999999999"}) {
    int32_t v = 0;
    EXPECT_FALSE(TryStrToInt(text, v)) << "'" << text << "'";
  }
  EXPECT_EQ(NotAnIntegerMessage("4x"), "'4x' is not a valid integer value");
}

TEST(UserBlockImport, ClockGivesTheIdentity) {
  // ((((((1 * 12 + 2) * 31 + 3) * 24 + 4) * 60 + 5) * 60 + 6), worked by hand.
  EXPECT_EQ(UserBlockId1({2001, 2, 3, 4, 5, 6, 0}), 37771506u);
  // Before 2000 the count wraps around 32 bits: -1 year + 1 month = -11 months.
  const int64_t months = -11, secs = ((((months * 31 + 1) * 24) * 60) * 60);
  EXPECT_EQ(UserBlockId1({1999, 1, 1, 0, 0, 0, 0}), uint32_t(secs));

  TFakeEnv f;
  std::string error;
  auto b = Parse("n\n0,0;1,1\n1,1,2,2\nt.bmp\n", "", f.Env(), error);
  ASSERT_NE(b, nullptr) << error;
  EXPECT_EQ(b->Id1, 37771506u);
  EXPECT_EQ(f.RandomRange, 7u * 65535u);
  EXPECT_EQ(b->Id2, 7u * 65535u - 1);

  // At millisecond 0 the range is empty and Id2 is 0.
  f.Now.Millisecond = 0;
  f.RandomCalls = 0;
  b = Parse("n\n0,0;1,1\n1,1,2,2\nt.bmp\n", "", f.Env(), error);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Id2, 0u);
  EXPECT_EQ(f.RandomCalls, 0);
}

TEST(UserBlockImport, ReadsAllFourLines) {
  TFakeEnv f;
  std::string error;
  auto b =
      Parse("My rhomb \r\n 0 , 50; 50,0 ;100,50;$32,100\r\n 10,$14, 90,80\r\nimg/r.bmp\r\nextra\n",
            "/data", f.Env(), error);
  ASSERT_NE(b, nullptr) << error;
  EXPECT_EQ(b->Name, "My rhomb ");
  ASSERT_EQ(b->PointCount, 4);
  EXPECT_EQ(b->Points[0], (TPercentPoint{0, 50}));
  EXPECT_EQ(b->Points[1], (TPercentPoint{50, 0}));
  EXPECT_EQ(b->Points[3], (TPercentPoint{50, 100}));
  EXPECT_EQ(b->EditLeft, 10);
  EXPECT_EQ(b->EditTop, 20);
  EXPECT_EQ(b->EditRight, 90);
  EXPECT_EQ(b->EditBottom, 80);
  EXPECT_EQ(f.AskedBitmap, "/data/img/r.bmp");
  // Checkerboard: pixel (0, 0) white, (1, 0) black -> column 0 has the odd rows.
  EXPECT_EQ(b->ToolImage[0], 0x5555);
  EXPECT_EQ(b->ToolImage[1], 0xAAAA);

  // An absolute name is used as it is.
  b = Parse("n\n1,2\n1,2,3,4\n/abs/t.bmp", "/data", f.Env(), error);
  ASSERT_NE(b, nullptr) << error;
  EXPECT_EQ(f.AskedBitmap, "/abs/t.bmp");
}

TEST(UserBlockImport, RefusesBadDescriptions) {
  // A ";" after the last pair leaves an empty number.
  EXPECT_EQ(ParseError("n\n0,0;100,0;100,100;\n1,1,2,2\nt.bmp"), "'' is not a valid integer value");
  EXPECT_EQ(ParseError("n\n0,0;5\n1,1,2,2\nt.bmp"), "'' is not a valid integer value");
  EXPECT_EQ(ParseError("n\n0,0;1,2,3\n1,1,2,2\nt.bmp"), "'2,3' is not a valid integer value");
  EXPECT_EQ(ParseError("n\n0,0;a,1\n1,1,2,2\nt.bmp"), "'a' is not a valid integer value");
  // Blanks may precede a number of line 3 but not follow it.
  EXPECT_EQ(ParseError("n\n0,0\n1 ,1,2,2\nt.bmp"), "'1 ' is not a valid integer value");
  EXPECT_EQ(ParseError("n\n0,0\n1,1,2\nt.bmp"), "'' is not a valid integer value");
  EXPECT_EQ(ParseError("n\n0,0\n1,1,2,2,3\nt.bmp"), "'2,3' is not a valid integer value");

  // Values that do not fit a byte.
  EXPECT_NE(ParseError("n\n0,256\n1,1,2,2\nt.bmp").find("256"), std::string::npos);
  EXPECT_NE(ParseError("n\n0,-1\n1,1,2,2\nt.bmp").find("-1"), std::string::npos);
  EXPECT_NE(ParseError("n\n0,0\n1,1,2,$100\nt.bmp").find("256"), std::string::npos);
  EXPECT_NE(ParseError("n\n0,0\n1,1\n").find("four lines"), std::string::npos);

  // 255 points fit, 256 do not.
  std::string pts;
  for (int i = 0; i < 255; ++i) pts += (i ? ";" : "") + std::to_string(i) + ",1";
  TFakeEnv f;
  std::string error;
  auto b = Parse("n\n" + pts + "\n1,1,2,2\nt.bmp", "", f.Env(), error);
  ASSERT_NE(b, nullptr) << error;
  EXPECT_EQ(b->PointCount, 255);
  EXPECT_NE(ParseError("n\n" + pts + ";0,0\n1,1,2,2\nt.bmp").find("255"), std::string::npos);

  f.BitmapFails = true;
  EXPECT_EQ(Parse("n\n0,0\n1,1,2,2\nt.bmp", "", f.Env(), error), nullptr);
  EXPECT_EQ(error, "bitmap broken");
}

TEST(UserBlockImport, AddsToTheListOnce) {
  char dir[] = "/tmp/qv_ubi_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string good = std::string(dir) + "/block.txt", bad = std::string(dir) + "/bad.txt";
  std::ofstream(good) << "Box\n0,0;100,0;100,100;0,100\n5,5,95,95\ntool.bmp\n";
  std::ofstream(bad) << "Box\n0,0;100,0;\n5,5,95,95\ntool.bmp\n";

  TFakeEnv f;
  TUserBlockList list;
  Imported r = Import(good, list, f.Env());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.index, 0);
  EXPECT_EQ(f.AskedBitmap, std::string(dir) + "/tool.bmp");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetBlock(0)->Name, "Box");

  // The same clock reading gives the same key: the list keeps its entry.
  list.GetBlock(0)->Name = "kept";
  r = Import(good, list, f.Env());
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.index, -1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetBlock(0)->Name, "kept");

  f.Now.Second = 7;
  r = Import(bad, list, f.Env());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "'' is not a valid integer value");
  r = Import(std::string(dir) + "/missing.txt", list, f.Env());
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(list.Count(), 1);

  std::remove(good.c_str());
  std::remove(bad.c_str());
  rmdir(dir);
}

TEST(UserBlockImport, ToolImageFromBitmapFile) {
  char dir[] = "/tmp/qv_ubb_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string txt = std::string(dir) + "/b.txt", bmp = std::string(dir) + "/tool.bmp";
  // 17 by 18 pixels: rows need padding, and the picture is larger than 16x16.
  WriteBmp24(bmp, 17, 18, [](int x, int y) -> uint32_t {
    if (x == 0 && (y == 0 || y == 15)) return 0x000000;
    if (x == 1 && y == 0) return 0xFFFEFF;    // almost white counts as black
    if (x == 16 || y >= 16) return 0x123456;  // outside the 16x16 corner
    return 0xFFFFFF;
  });
  std::ofstream(txt) << "B\n0,0;100,0;50,100\n10,10,90,50\ntool.bmp\n";

  TFakeEnv f;
  TUserBlockImportEnv env = f.Env();
  env.LoadToolImage = nullptr;  // the built-in bitmap reader
  TUserBlockList list;
  Imported r = Import(txt, list, env);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_GE(r.index, 0);
  const TUserBlock& b = *list.GetBlock(r.index);
  EXPECT_EQ(b.ToolImage[0], 0x8001);
  EXPECT_EQ(b.ToolImage[1], 0x8000);
  for (int x = 2; x < 16; ++x) EXPECT_EQ(b.ToolImage[size_t(x)], 0) << x;

  std::remove(bmp.c_str());
  r = Import(txt, list, env);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("tool.bmp"), std::string::npos) << r.error;
  EXPECT_EQ(list.Count(), 1);
  std::remove(txt.c_str());
  rmdir(dir);
}
