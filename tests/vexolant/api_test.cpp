// The exported entry points, called through dlopen/dlsym.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "platform/testbmp.h"
#include "vexolant/vxtest.h"

using vxtest::Library;
using vxtest::ReadFile;
using vxtest::TempDir;
using vxtest::WriteFile;

namespace {

std::vector<std::uint8_t> SmallBitmap() {
  testbmp::BmpDesc s;
  s.width = 3;
  s.height = 2;
  s.pixels = {testbmp::Raw24(255, 0, 0),     testbmp::Raw24(0, 0, 0),
              testbmp::Raw24(255, 255, 255), testbmp::Raw24(255, 255, 255),
              testbmp::Raw24(0, 0, 255),     testbmp::Raw24(0, 0, 0)};
  return testbmp::Build(s);
}

}  // namespace

TEST(VexolantApi, ExportsExactlyTheThreeEntryPoints) {
  const std::string cmd = std::string("nm -D --defined-only '") + VEXOLANT_LIBRARY_PATH + "'";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::set<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof line, p)) {
    char addr[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", addr, type, name) == 3) names.insert(name);
  }
  ASSERT_EQ(pclose(p), 0);
  EXPECT_EQ(names, (std::set<std::string>{"GetFilter", "SaveTo", "GetLastErrorText"}));
}

TEST(VexolantApi, FilterTextIsConstant) {
  Library& lib = Library::Get();
  const char* a = lib.GetFilter();
  const char* b = lib.GetFilter();
  EXPECT_EQ(a, b);
  EXPECT_STREQ(a, "GIF-files (*.gif)|*.gif|JPEG-files (*.jpg)|*.jpg|");
  EXPECT_EQ(a[std::strlen(a) - 1], '|');
}

TEST(VexolantApi, UnknownFormatsWriteNothing) {
  Library& lib = Library::Get();
  TempDir dir("formats");
  const auto bmp = SmallBitmap();
  WriteFile(dir / "chart.bmp", bmp);
  for (unsigned format : {0u, 3u, 255u}) {
    EXPECT_EQ(lib.SaveTo(static_cast<unsigned char>(format), (dir / "chart.bmp").c_str()), 0)
        << format;
    EXPECT_STRNE(lib.GetLastErrorText(), "");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  EXPECT_EQ(ReadFile(dir / "chart.bmp"), bmp);
}

TEST(VexolantApi, OutputPathReplacesTheExtensionOfTheFileName) {
  Library& lib = Library::Get();
  TempDir dir("paths");
  const auto bmp = SmallBitmap();
  std::filesystem::create_directories(dir.Path() / "dir.with.dot");
  struct Case {
    std::string input, gif, jpg;
  } cases[] = {
      {"chart.bmp", "chart.gif", "chart.jpg"},
      {"dir.with.dot/chart", "dir.with.dot/chart.gif", "dir.with.dot/chart.jpg"},
      {"a.b.bmp", "a.b.gif", "a.b.jpg"},
      {"dir.with.dot/plain.BMP", "dir.with.dot/plain.gif", "dir.with.dot/plain.jpg"},
  };
  for (const Case& c : cases) {
    WriteFile(dir / c.input, bmp);
    ASSERT_EQ(lib.SaveTo(1, (dir / c.input).c_str()), 1) << lib.GetLastErrorText();
    EXPECT_STREQ(lib.GetLastErrorText(), "");
    ASSERT_EQ(lib.SaveTo(2, (dir / c.input).c_str()), 1) << lib.GetLastErrorText();
    const auto gif = ReadFile(dir / c.gif);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF87a");
    const auto jpg = ReadFile(dir / c.jpg);
    ASSERT_GE(jpg.size(), 4u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(ReadFile(dir / c.input), bmp);  // the bitmap stays unchanged
  }
  // Nothing else appeared (no temporary files left behind).
  std::size_t files = 0;
  for (auto& e : std::filesystem::recursive_directory_iterator(dir.Path()))
    files += e.is_regular_file();
  EXPECT_EQ(files, 4u * 3u);
}

TEST(VexolantApi, FailuresReturnZeroWithATextAndKeepTheOldFile) {
  Library& lib = Library::Get();
  TempDir dir("failures");

  // A missing bitmap.
  EXPECT_EQ(lib.SaveTo(1, (dir / "missing.bmp").c_str()), 0);
  EXPECT_NE(std::string(lib.GetLastErrorText()).find("missing.bmp"), std::string::npos);
  EXPECT_EQ(lib.SaveTo(2, nullptr), 0);
  EXPECT_STRNE(lib.GetLastErrorText(), "");

  // A malformed bitmap beside an existing output: the old file stays.
  std::vector<std::uint8_t> broken = SmallBitmap();
  broken.resize(broken.size() - 6);  // into the pixels of the last row, past its padding
  WriteFile(dir / "chart.bmp", broken);
  const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
  WriteFile(dir / "chart.gif", old);
  WriteFile(dir / "chart.jpg", old);
  for (unsigned char format : {1, 2}) {
    EXPECT_EQ(lib.SaveTo(format, (dir / "chart.bmp").c_str()), 0);
    EXPECT_NE(std::string(lib.GetLastErrorText()).find("pixel data"), std::string::npos)
        << lib.GetLastErrorText();
  }
  EXPECT_EQ(ReadFile(dir / "chart.gif"), old);
  EXPECT_EQ(ReadFile(dir / "chart.jpg"), old);

  // An output that cannot be replaced (a folder of that name).
  WriteFile(dir / "pic.bmp", SmallBitmap());
  std::filesystem::create_directories(dir.Path() / "pic.gif" / "inside");
  EXPECT_EQ(lib.SaveTo(1, (dir / "pic.bmp").c_str()), 0);
  EXPECT_NE(std::string(lib.GetLastErrorText()).find("pic.gif"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "pic.gif" / "inside"));

  // A bitmap named like its own output is not overwritten by the export.
  WriteFile(dir / "same.gif", SmallBitmap());
  EXPECT_EQ(lib.SaveTo(1, (dir / "same.gif").c_str()), 0);
  EXPECT_NE(std::string(lib.GetLastErrorText()).find("same.gif"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "same.gif"), SmallBitmap());
  EXPECT_EQ(lib.SaveTo(2, (dir / "same.gif").c_str()), 1);  // same.jpg beside it
  std::filesystem::remove(dir / "same.gif");
  std::filesystem::remove(dir / "same.jpg");

  // A success afterwards replaces the old file and clears the text.
  WriteFile(dir / "chart.bmp", SmallBitmap());
  EXPECT_EQ(lib.SaveTo(1, (dir / "chart.bmp").c_str()), 1);
  EXPECT_STREQ(lib.GetLastErrorText(), "");
  EXPECT_NE(ReadFile(dir / "chart.gif"), old);
  std::size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.is_regular_file();
  EXPECT_EQ(files, 4u);  // chart.bmp, chart.gif, chart.jpg, pic.bmp: no temporary left
}
