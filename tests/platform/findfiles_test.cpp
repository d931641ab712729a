#include "platform/findfiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A fresh folder tree, removed again at the end of the test.
class FindFilesTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("qv-findfiles-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  void Touch(const std::string& rel) {
    const fs::path p = root_ / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
  }
  std::string Root() const { return root_.string(); }
  std::string Path(const std::string& rel) const { return Root() + "/" + rel; }

  fs::path root_;
};

TEST(ContainsNoCase, MatchesAnywhereWithoutRegardToCase) {
  EXPECT_TRUE(ContainsNoCase("x.so", ".so"));
  EXPECT_TRUE(ContainsNoCase("x.so.old", ".so"));
  EXPECT_TRUE(ContainsNoCase("LOOP.FGD", ".fgd"));
  EXPECT_TRUE(ContainsNoCase("a.fgd", ".FGD"));
  EXPECT_TRUE(ContainsNoCase("anything", ""));
  EXPECT_FALSE(ContainsNoCase("x.s", ".so"));
  EXPECT_FALSE(ContainsNoCase("xso", ".so"));
  EXPECT_FALSE(ContainsNoCase("", ".so"));
}

TEST_F(FindFilesTree, FilesOfAFolderComeBeforeThoseOfItsSubfolders) {
  Touch("Loops/C.fgd");
  Touch("Loops/B.fgd");
  Touch("Zeta.fgd");
  Touch("A.fgd");
  Touch("Loops/Counted/D.fgd");
  Touch("Branches/E.fgd");
  const std::vector<std::string> expected = {Path("A.fgd"),          Path("Zeta.fgd"),
                                             Path("Branches/E.fgd"), Path("Loops/B.fgd"),
                                             Path("Loops/C.fgd"),    Path("Loops/Counted/D.fgd")};
  EXPECT_EQ(FindFiles(Root(), ".fgd"), expected);
  // A trailing separator on the folder gives the same paths.
  EXPECT_EQ(FindFiles(Root() + "/", ".fgd"), expected);
}

TEST_F(FindFilesTree, PatternIsContainedAnywhereAndCaseIsIgnored) {
  Touch("one.so");
  Touch("TWO.SO");
  Touch("three.so.old");
  Touch("four.txt");
  Touch("fiveso");
  EXPECT_EQ(FindFiles(Root(), ".so"),
            (std::vector<std::string>{Path("one.so"), Path("three.so.old"), Path("TWO.SO")}));
}

TEST_F(FindFilesTree, DotNamesAndNonMatchingFoldersAreSkipped) {
  Touch(".hidden.fgd");
  Touch(".cache/inside.fgd");
  Touch("shown.fgd");
  // A folder whose own name matches is searched but never listed as a file.
  Touch("dir.fgd/inner.fgd");
  fs::create_directories(root_ / "empty.fgd");
  EXPECT_EQ(FindFiles(Root(), ".fgd"),
            (std::vector<std::string>{Path("shown.fgd"), Path("dir.fgd/inner.fgd")}));
}

TEST_F(FindFilesTree, MissingFolderAndSpecialFilesGiveNothing) {
  EXPECT_TRUE(FindFiles(Path("no-such-folder"), ".fgd").empty());
  EXPECT_TRUE(FindFiles("", ".fgd").empty());
  // A named pipe would block whoever reads it: it is no file to offer.
  ASSERT_EQ(::mkfifo((root_ / "pipe.fgd").c_str(), 0600), 0);
  Touch("real.fgd");
  EXPECT_EQ(FindFiles(Root(), ".fgd"), (std::vector<std::string>{Path("real.fgd")}));
}

TEST_F(FindFilesTree, SymbolicLinksAreFollowedButACycleEnds) {
  Touch("sub/a.fgd");
  fs::create_directory_symlink(root_, root_ / "sub" / "loop");
  fs::create_symlink(root_ / "sub" / "a.fgd", root_ / "link.fgd");
  fs::create_symlink(root_ / "gone.fgd", root_ / "broken.fgd");
  EXPECT_EQ(FindFiles(Root(), ".fgd"),
            (std::vector<std::string>{Path("link.fgd"), Path("sub/a.fgd")}));
}

}  // namespace
