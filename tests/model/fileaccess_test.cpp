// Reading and writing diagram files refuses what is not a regular file and
// what no diagram can be, with a reason, instead of reading without end or
// putting a file in the place of a device, pipe or folder.
#include "model/fileaccess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "model/shem.h"
#include "model/stream.h"
#include "model/testdiagrams.h"

namespace {
struct TTempFolder {
  std::string path;
  TTempFolder() {
    char name[] = "/tmp/qvfilesXXXXXX";
    if (mkdtemp(name)) path = name;
  }
  ~TTempFolder() { std::filesystem::remove_all(path); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
};

bool IsFifo(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}
}  // namespace

TEST(FileAccess, ReadingRefusesDevicesPipesFoldersAndFilesBeyondAnyDiagram) {
  TTempFolder dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string fifo = dir / "pipe.fgd";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Larger than any diagram, but sparse: nothing is written or read.
  const std::string huge = dir / "huge.fgd";
  {
    const int fd = ::open(huge.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(kMaxInputFileBytes) + 1), 0);
    ::close(fd);
  }
  std::vector<uint8_t> bytes;
  std::string error;
  TShem d;
  for (const std::string& path : {std::string("/dev/zero"), fifo, dir.path}) {
    EXPECT_FALSE(ReadWholeFile(path, bytes, &error)) << path;
    EXPECT_NE(error.find("\"" + path + "\" is not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(d.LoadFromFile(path, &error)) << path;
    EXPECT_FALSE(CheckInputFile(path, error)) << path;
  }
  EXPECT_FALSE(d.LoadFromFile(huge, &error));
  EXPECT_NE(error.find("is larger than 4294967295 bytes"), std::string::npos) << error;
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(CheckInputFile(dir / "missing.fgd", error));
  EXPECT_NE(error.find("Cannot open"), std::string::npos) << error;

  // A smaller limit applies the same way; a file within it reads whole.
  AddBlock(d, bkSquare, {1, 2, 30, 40}, "kept");
  const std::string good = dir / "good.fgd";
  ASSERT_TRUE(d.SaveToFile(good, &error)) << error;
  EXPECT_TRUE(CheckInputFile(good, error));
  ASSERT_TRUE(ReadInputFile(good, bytes, error));
  EXPECT_FALSE(CheckInputFile(good, error, bytes.size() - 1));
  std::vector<uint8_t> cut;
  EXPECT_FALSE(ReadInputFile(good, cut, error, bytes.size() - 1));
  EXPECT_TRUE(cut.empty());
  TShem back;
  ASSERT_TRUE(back.LoadFromFile(good, &error)) << error;
  EXPECT_EQ(back.Count(), 1);
}

TEST(FileAccess, SavingRefusesToReplaceAPipeAFolderOrADevice) {
  TTempFolder dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string fifo = dir / "pipe.fgd";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folder = dir / "folder.fgd";
  std::filesystem::create_directory(folder);
  TShem d;
  AddBlock(d, bkSquare, {1, 2, 30, 40}, "text");
  std::string error;
  for (const std::string& path : {fifo, folder, std::string("/dev/null")}) {
    error.clear();
    EXPECT_FALSE(d.SaveToFile(path, &error)) << path;
    EXPECT_NE(error.find("\"" + path + "\" is not a regular file"), std::string::npos) << error;
  }
  EXPECT_TRUE(IsFifo(fifo));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  // Nothing was left beside them.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                          std::filesystem::directory_iterator()),
            2);

  // A link to a regular file and a new name are fine.
  const std::string file = dir / "file.fgd";
  EXPECT_TRUE(d.SaveToFile(file, &error)) << error;
  std::filesystem::create_symlink(file, dir / "link.fgd");
  EXPECT_TRUE(CanReplaceFile(dir / "link.fgd", error));
  EXPECT_TRUE(CanReplaceFile(dir / "new.fgd", error));
}
