#include "model/userblocklist.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <stdexcept>

#include "model/stream.h"

namespace {

std::unique_ptr<TUserBlock> Block(const std::string& name, uint32_t id1, uint32_t id2,
                                  int points = 3) {
  auto b = std::make_unique<TUserBlock>();
  b->Name = name;
  b->Id1 = id1;
  b->Id2 = id2;
  for (int i = 0; i < points; ++i) b->AddPoint({uint8_t(i * 10), uint8_t(100 - i * 10)});
  b->ToolImage[3] = uint16_t(id1);
  return b;
}

std::vector<uint8_t> Records(std::initializer_list<const TUserBlock*> blocks) {
  TMemoryStream s;
  for (const TUserBlock* b : blocks) b->WriteToStream(s);
  return s.Bytes();
}

std::vector<std::string> Names(const TUserBlockList& l) {
  std::vector<std::string> n;
  for (int i = 0; i < l.Count(); ++i) n.push_back(l.GetBlock(i)->Name);
  return n;
}

}  // namespace

TEST(UserBlockList, AddLookUpDelete) {
  TUserBlockList l;
  EXPECT_EQ(l.Add(Block("a", 1, 2)), 0);
  EXPECT_EQ(l.Add(Block("b", 2, 1)), 1);  // same numbers, other order: another key
  EXPECT_EQ(l.Add(Block("c", 1, 2)), -1);
  EXPECT_EQ(l.Add(nullptr), -1);
  EXPECT_EQ(l.Add(Block("d", 7, 0)), 2);
  EXPECT_EQ(Names(l), (std::vector<std::string>{"a", "b", "d"}));

  EXPECT_EQ(l.IndexOfIds(2, 1), 1);
  EXPECT_EQ(l.IndexOfIds(3, 3), -1);
  EXPECT_EQ(l.IndexOfKey("00000000-00000007"), 2);
  EXPECT_EQ(l.IndexOfKey("00000002-00000001"), 0);
  EXPECT_EQ(l.Add(Block("e", 0xAB, 0xC0000000)), 3);
  EXPECT_EQ(l.IndexOfKey("C0000000-000000AB"), 3);
  for (const char* notKey : {"c0000000-000000ab", "C0000000-000000AB ", "C0000000+000000AB", ""})
    EXPECT_EQ(l.IndexOfKey(notKey), -1) << notKey;
  l.Delete(3);
  EXPECT_EQ(l.GetBlock(-1), nullptr);
  EXPECT_EQ(l.GetBlock(l.Count()), nullptr);

  l.Delete(0);  // later entries move up
  EXPECT_EQ(Names(l), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(l.IndexOfIds(7, 0), 1);
  EXPECT_THROW(l.Delete(2), std::out_of_range);
  EXPECT_THROW(l.Delete(-1), std::out_of_range);
  EXPECT_EQ(l.Count(), 2);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(UserBlockList, LoadKeepsFirstOfRepeatedRecords) {
  auto a = Block("first", 10, 20), b = Block("other", 11, 20), a2 = Block("second", 10, 20, 5);
  const std::vector<uint8_t> bytes = Records({a.get(), b.get(), a.get(), a2.get()});
  TUserBlockList l;
  TByteViewStream s(bytes.data(), bytes.size());
  l.LoadFromStream(s);
  ASSERT_EQ(Names(l), (std::vector<std::string>{"first", "other"}));
  EXPECT_EQ(l.GetBlock(0)->PointCount, 3);

  // Loading the same records again adds nothing.
  TByteViewStream again(bytes.data(), bytes.size());
  l.LoadFromStream(again);
  EXPECT_EQ(l.Count(), 2);
}

TEST(UserBlockList, LoadSkipsBadHeaderAndStopsAtCutRecord) {
  auto a = Block("a", 1, 1), b = Block("b", 2, 2), c = Block("c", 3, 3);
  // A 12-byte record with a wrong header, then a good one: reading goes on
  // right after the 12 bytes.
  std::vector<uint8_t> bytes = {12, 0, 0, 0, 'U', 'B', 'H', 'e', 'a', 'd', '0', '2'};
  const std::vector<uint8_t> good = Records({a.get(), b.get()});
  bytes.insert(bytes.end(), good.begin(), good.end());
  // A last record cut short is not added.
  const std::vector<uint8_t> last = Records({c.get()});
  bytes.insert(bytes.end(), last.begin(), last.end() - 1);

  TUserBlockList l;
  TMemoryStream s(bytes);
  l.LoadFromStream(s);
  EXPECT_EQ(Names(l), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(s.AtEnd());
}

TEST(UserBlockList, ArbitraryBytesNeverHangOrCrash) {
  // Damaged files: random bytes, and sound records with random bytes changed.
  auto a = Block("abc", 5, 6, 4), b = Block("de", 7, 8, 0);
  const std::vector<uint8_t> good = Records({a.get(), b.get()});
  std::mt19937 gen(12345);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes = good;
    if (round % 2) {
      bytes.resize(gen() % 300);
      for (auto& x : bytes) x = uint8_t(gen());
    } else {
      for (int k = 0; k < 3; ++k) bytes[gen() % bytes.size()] = uint8_t(gen());
      bytes.resize(gen() % (bytes.size() + 1));
    }
    TUserBlockList l;
    TMemoryStream s(bytes);
    l.LoadFromStream(s);
    ASSERT_TRUE(s.AtEnd());
    ASSERT_LE(l.Count(), 2);
    // What was loaded writes back as whole records of the stated length.
    TMemoryStream out;
    ASSERT_TRUE(l.SaveToStream(out));
    size_t pos = 0;
    for (int i = 0; i < l.Count(); ++i) pos += l.GetBlock(i)->RecordLength();
    ASSERT_EQ(pos, out.Bytes().size());
  }
}

TEST(UserBlockList, FileRoundTrip) {
  char dir[] = "/tmp/qv_ubl_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/UserBlock.blu";

  TUserBlockList l;
  l.Add(Block("one", 1, 0xFFFFFFFF, 4));
  l.Add(Block("two", 2, 0, 0));
  l.GetBlock(1)->SetEditRect(1, 2, 3, 4);
  std::string err;
  ASSERT_TRUE(l.SaveToFile(path, &err)) << err;

  TUserBlockList r;
  ASSERT_TRUE(r.LoadFromFile(path));
  ASSERT_EQ(r.Count(), 2);
  for (int i = 0; i < 2; ++i) {
    const TUserBlock &x = *l.GetBlock(i), &y = *r.GetBlock(i);
    EXPECT_EQ(y.KeyText(), x.KeyText());
    EXPECT_EQ(y.Name, x.Name);
    EXPECT_EQ(y.PointCount, x.PointCount);
    EXPECT_EQ(y.Points, x.Points);
    EXPECT_EQ(y.EditBottom, x.EditBottom);
    EXPECT_EQ(y.ToolImage, x.ToolImage);
  }

  TUserBlockList none;
  EXPECT_FALSE(none.LoadFromFile(std::string(dir) + "/missing.blu"));
  EXPECT_FALSE(none.LoadFromFile(dir));  // a folder
  EXPECT_FALSE(l.SaveToFile(std::string(dir) + "/no/such/folder.blu", &err));
  EXPECT_FALSE(err.empty());
  std::remove(path.c_str());
  rmdir(dir);
}
