// The output file (written beside its target, patched, renamed when
// complete) and what the writers do when their output fails.
#include "vexolant/outputfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "platform/bmpfile.h"
#include "vexolant/jpegwriter.h"
#include "vexolant/vxtest.h"

using vexolant::EWriteError;
using vexolant::TOutputFile;
using vxtest::ReadFile;
using vxtest::TempDir;
using vxtest::WriteFile;

namespace {

std::size_t FilesIn(const TempDir& dir) {
  std::size_t n = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) n += e.is_regular_file();
  return n;
}

}  // namespace

TEST(OutputFile, BytesAndPatchesReachTheTargetOnlyOnCommit) {
  TempDir dir("outfile");
  const std::string target = dir / "pic.gif";
  WriteFile(target, {'o', 'l', 'd'});

  // Pieces small and large, so the buffer is flushed in between; patches
  // in the part already written and in the part still buffered.
  std::vector<std::uint8_t> expected(200000);
  std::iota(expected.begin(), expected.end(), 0);
  {
    TOutputFile file(target);
    std::size_t at = 0;
    for (std::size_t piece : {std::size_t(13), std::size_t(70000), std::size_t(1), std::size_t(0),
                              std::size_t(100000)}) {
      file.Write(expected.data() + at, piece);
      at += piece;
      EXPECT_EQ(file.Position(), at);
    }
    file.Write(expected.data() + at, expected.size() - at);
    const std::uint8_t early[3] = {0xAA, 0xBB, 0xCC}, late[2] = {0xDD, 0xEE};
    file.WriteAt(13, early, 3);
    file.WriteAt(expected.size() - 2, late, 2);
    std::copy(early, early + 3, expected.begin() + 13);
    std::copy(late, late + 2, expected.end() - 2);
    EXPECT_THROW(file.WriteAt(expected.size() - 1, late, 2), std::out_of_range);
    EXPECT_EQ(ReadFile(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(FilesIn(dir), 2u);  // the target and the temporary file
    file.Commit();
  }
  EXPECT_EQ(ReadFile(target), expected);
  EXPECT_EQ(FilesIn(dir), 1u);

  // Given up before Commit: the target stays, the temporary file goes.
  {
    TOutputFile file(target);
    file.Write(expected.data(), 100);
  }
  EXPECT_EQ(ReadFile(target), expected);
  EXPECT_EQ(FilesIn(dir), 1u);

  // A folder that does not exist.
  try {
    TOutputFile file(dir / "no/such/folder.gif");
    ADD_FAILURE() << "a file was created in a missing folder";
  } catch (const EWriteError& e) {
    EXPECT_NE(std::string(e.what()).find("folder.gif"), std::string::npos) << e.what();
  }
}

// A failing output inside libjpeg's destination: the failure comes back with
// its own text, nothing is left half done, and the next compression works.
TEST(OutputFile, JpegOutputThatFailsIsReported) {
  struct FailingSink : vexolant::TByteSink {
    std::size_t limit, written = 0;
    explicit FailingSink(std::size_t n) : limit(n) {}
    void Write(const std::uint8_t*, std::size_t n) override {
      if (written + n > limit) throw EWriteError("disk full");
      written += n;
    }
    void WriteAt(std::uint64_t, const std::uint8_t*, std::size_t) override {}
    std::uint64_t Position() const override { return written; }
  };
  std::vector<std::uint8_t> rgb(std::size_t(600) * 400 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 7 + i / 1800);
  const auto bmp = platform::BmpFile::MakeTrueColor(600, 400, 24, rgb);
  const std::size_t size = vexolant::CompressJpeg(bmp, 50).size();
  ASSERT_GT(size, 70000u);  // more than one buffer of the destination
  for (std::size_t limit : {std::size_t(0), std::size_t(65536), size - 1}) {
    FailingSink sink(limit);
    try {
      vexolant::WriteJpeg(bmp, 50, sink);
      ADD_FAILURE() << "limit " << limit;
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "disk full");
    }
  }
  EXPECT_EQ(vexolant::CompressJpeg(bmp, 50).size(), size);
}
