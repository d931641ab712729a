#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "model/stream.h"
#include "model/userblocklist.h"
#include "testdiagrams.h"

namespace {
const std::string kMagic = "FileQuorvalinEditorV";

std::vector<uint8_t> Save(const TShem& d) {
  TMemoryStream s;
  EXPECT_TRUE(d.SaveToStream(s));
  return s.Bytes();
}

std::vector<uint8_t> Bytes(const std::string& head, std::initializer_list<int> tail) {
  std::vector<uint8_t> v(head.begin(), head.end());
  for (int b : tail) v.push_back(uint8_t(b));
  return v;
}

bool Load(TShem& d, const std::vector<uint8_t>& bytes) {
  TMemoryStream s(bytes);
  return d.LoadFromStream(s);
}

std::unique_ptr<TUserBlock> Diamond(uint32_t id1, uint32_t id2) {
  auto ub = std::make_unique<TUserBlock>();
  ub->Name = "Loop";
  ub->Id1 = id1;
  ub->Id2 = id2;
  for (TPercentPoint p : {TPercentPoint{0, 50}, {50, 0}, {100, 50}, {50, 100}}) ub->AddPoint(p);
  ub->SetEditRect(10, 10, 90, 90);
  return ub;
}
}  // namespace

TEST(DiagramStream, ExactBytes) {
  TShem empty;
  EXPECT_EQ(Save(empty), Bytes(kMagic, {'2'}));

  TShem one;
  AddBlock(one, bkSquare, {10, 20, 90, 40}, "A");
  EXPECT_EQ(Save(one), Bytes(kMagic, {'2', 0x00, 0x00, 0x41, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x5A,
                                      0x00, 0x28, 0x00}));

  TShem flags;
  TShemObj* b = AddBlock(flags, bkDocument, {0, 0, 1, 1});
  b->AsBlock()->Data.Dotted = b->AsBlock()->Data.Filled = true;
  b->AsBlock()->Data.TextAlign = 2;
  EXPECT_EQ(Save(flags)[22], 0xB7);

  TShem linked;
  TShemObj* x = AddBlock(linked, bkSquare, {0, 0, 1, 1});
  TShemObj* y = AddBlock(linked, bkSquare, {0, 0, 1, 1});
  AddLink(linked, x, y, {32767, 65535}, {1, 2}, 5);
  const auto bytes = Save(linked);
  const std::vector<uint8_t> link(bytes.end() - 14, bytes.end());
  EXPECT_EQ(link, (std::vector<uint8_t>{1, 5, 0, 0, 1, 0, 0xFF, 0x7F, 0xFF, 0xFF, 1, 0, 2, 0}));
}

TEST(DiagramStream, RoundTripsGeneratedDiagramsByteForByte) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    TShem d;
    BuildDiagram(d, GenerateObjects(rng, 1 + int(rng() % 150), 0.5, 0.2, 0.2));
    d.SortObjects();
    const auto first = Save(d);
    TShem back;
    ASSERT_TRUE(Load(back, first));
    ASSERT_EQ(back.Count(), d.Count());
    ASSERT_EQ(Save(back), first);
    ASSERT_TRUE(back.CheckIntegrity());
  }
  // Texts of any length.
  TShem big;
  AddBlock(big, bkSquare, {0, 0, 10, 10}, std::string(70000, 'x') + "\r\ny");
  TShem back;
  ASSERT_TRUE(Load(back, Save(big)));
  EXPECT_EQ(back.GetObj(0)->AsBlock()->Data.Text.size(), 70003u);
}

TEST(DiagramStream, ForwardReferencesAndSorting) {
  // A link record before the blocks it joins, then the blocks.
  auto bytes = Bytes(kMagic, {'2', 1, 1, 1, 0, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  for (const char* text : {"A", "B"}) {
    bytes.insert(bytes.end(), {0, 0, uint8_t(text[0]), 0, 0, 0, 0, 0, 10, 0, 10, 0});
  }
  TShem d;
  ASSERT_TRUE(Load(d, bytes));
  ASSERT_EQ(d.Count(), 3);
  EXPECT_EQ(d.GetObj(0)->AsBlock()->Data.Text, "A");
  EXPECT_EQ(d.GetObj(1)->AsBlock()->Data.Text, "B");
  const Link& l = d.GetObj(2)->AsLink()->Data;
  EXPECT_EQ(l.Source.Get(), d.GetObj(0));
  EXPECT_EQ(l.Target.Get(), d.GetObj(1));
  EXPECT_EQ(l.TargetPos, (TPoint{65535, 65535}));
}

TEST(DiagramStream, UserBlockSection) {
  TUserBlockList list;
  list.Add(Diamond(4096, 255));
  list.Add(Diamond(7, 8));
  TShem d;
  d.UserBlocks = &list;
  AddBlock(d, bkUserFirst + 1, {0, 0, 50, 50}, "u");
  AddBlock(d, bkUserFirst + 1, {0, 0, 50, 50}, "v");
  AddBlock(d, bkUserFirst + 0, {0, 0, 50, 50}, "w");
  const auto bytes = Save(d);
  ASSERT_EQ(bytes[20], '3');
  // One record per user-kind block: three records of 70 bytes each.
  EXPECT_EQ(bytes[21] | (bytes[22] << 8), 210);

  // Into an empty list: the section adds its two distinct blocks in order.
  TUserBlockList other;
  other.Add(Diamond(1, 1));
  TShem e;
  e.UserBlocks = &other;
  ASSERT_TRUE(Load(e, bytes));
  ASSERT_EQ(other.Count(), 3);
  EXPECT_EQ(other.GetBlock(1)->KeyText(), "00000008-00000007");
  EXPECT_EQ(e.GetObj(0)->AsBlock()->Data.Kind, bkUserFirst + 1);
  EXPECT_EQ(e.GetObj(2)->AsBlock()->Data.Kind, bkUserFirst + 2);

  // Into the list it came from: nothing is added, blocks map to the entries.
  TShem f;
  f.UserBlocks = &list;
  ASSERT_TRUE(Load(f, bytes));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(f.GetObj(2)->AsBlock()->Data.Kind, bkUserFirst);

  // A kind-15 block whose key is nowhere gives kind 14.
  auto lone = Bytes(kMagic, {'2', 0, 0x0F, 1, 0, 0, 0, 2, 0, 0, 0, 'q', 0, 0, 0, 0, 0, 5, 0, 5, 0});
  TShem g;
  g.UserBlocks = &list;
  ASSERT_TRUE(Load(g, lone));
  EXPECT_EQ(g.GetObj(0)->AsBlock()->Data.Kind, 14);
  EXPECT_EQ(g.GetObj(0)->AsBlock()->Data.Text, "q");
}

TEST(DiagramStream, RefusalsLeaveTheDiagramAndListUntouched) {
  TUserBlockList list;
  list.Add(Diamond(1, 2));
  TShem d;
  d.UserBlocks = &list;
  AddBlock(d, bkSquare, {1, 2, 3, 4}, "keep");
  const auto before = Save(d);

  const std::vector<std::vector<uint8_t>> bad = {
      {},                                                              // empty
      std::vector<uint8_t>(kMagic.begin(), kMagic.end() - 1),          // short magic
      Bytes("FileQuorvalinEditorX", {'2'}),                            // wrong magic
      Bytes(kMagic, {'2', 7}),                                         // unknown record type
      Bytes(kMagic, {'2', 0, 0, 'a', 'b'}),                            // text runs to the end
      Bytes(kMagic, {'2', 0, 0, 0, 1, 0, 2}),                          // coordinates cut short
      Bytes(kMagic, {'2', 1, 0, 0, 0}),                                // link cut short
      Bytes(kMagic, {'2', 1, 0, 5, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}),  // index past the list
      Bytes(kMagic, {'2', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),  // link on itself
      Bytes(kMagic, {'3', 9, 0, 0}),                                   // section length cut short
      Bytes(kMagic, {'3', 4, 0, 0, 0, 1, 2, 3, 4}),                    // section that is no record
      Bytes(kMagic, {'3', 200, 0, 0, 0, 1}),  // section longer than the stream
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(Load(d, bad[i])) << "case " << i;
    EXPECT_EQ(Save(d), before) << "case " << i;
    EXPECT_EQ(list.Count(), 1) << "case " << i;
  }

  // Two links hanging on each other; a third link joining them to a block.
  auto cycle = Bytes(kMagic, {'2', 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0});
  cycle.insert(cycle.end(), {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  cycle.insert(cycle.end(), {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(Load(d, cycle));
  EXPECT_EQ(Save(d), before);

  // The right magic with an unknown version is an empty diagram.
  EXPECT_TRUE(Load(d, Bytes(kMagic, {'9', 0, 0, 'x'})));
  EXPECT_EQ(d.Count(), 0);
  EXPECT_TRUE(Load(d, Bytes(kMagic, {})));
  EXPECT_EQ(d.Count(), 0);
}

TEST(DiagramStream, SavingRefusesWhatTheFormatCannotHold) {
  // A link whose end lies past index 65535 cannot be indexed in 16 bits.
  TShem d;
  for (int i = 0; i < 65537; ++i) AddBlock(d, bkSquare, {0, 0, 1, 1});
  AddLink(d, d.GetObj(0), d.GetObj(65536));
  TMemoryStream s;
  EXPECT_FALSE(d.SaveToStream(s));
  // Coordinates outside 0..65535 are clamped, not wrapped.
  TShem c;
  AddBlock(c, bkSquare, {-5, 0, 70000, 10});
  const auto bytes = Save(c);
  EXPECT_EQ(bytes[24] | (bytes[25] << 8), 0);
  EXPECT_EQ(bytes[28] | (bytes[29] << 8), 65535);
}

TEST(DiagramStream, FilesAreReplacedOnlyByACompleteSave) {
  char dir[] = "/tmp/qvstreamXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/a.fgd";
  TShem d;
  AddBlock(d, bkSquare, {1, 2, 3, 4}, "saved");
  std::string error;
  ASSERT_TRUE(d.SaveToFile(path, &error)) << error;
  TShem back;
  ASSERT_TRUE(back.LoadFromFile(path, &error)) << error;
  EXPECT_EQ(back.GetObj(0)->AsBlock()->Data.Text, "saved");

  // A save that cannot be written leaves the old file and says why.
  if (geteuid() != 0) {
    chmod(dir, 0500);
    AddBlock(d, bkSquare, {1, 2, 3, 4}, "more");
    EXPECT_FALSE(d.SaveToFile(path, &error));
    EXPECT_FALSE(error.empty());
    chmod(dir, 0700);
    ASSERT_TRUE(back.LoadFromFile(path, &error));
    EXPECT_EQ(back.Count(), 1);
  }
  EXPECT_FALSE(d.SaveToFile(std::string(dir) + "/missing/x.fgd", &error));
  EXPECT_FALSE(back.LoadFromFile(std::string(dir) + "/missing.fgd", &error));
  EXPECT_NE(error.find("missing.fgd"), std::string::npos);
  EXPECT_EQ(back.Count(), 1);
  std::remove(path.c_str());
  rmdir(dir);
}
