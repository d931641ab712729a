// qvtool export run as a separate process: every picture type, the scale,
// the refusal of pictures too large to write and the exit codes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/tempdirtest.h"

namespace {
struct ToolRun {
  int code;
  std::string err;
};

class QvtoolExport : public TempDirTest {
 protected:
  // Without a display: DISPLAY and WAYLAND_DISPLAY are taken away.
  ToolRun Qvtool(const std::string& args) const {
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                            std::string(QVTOOL_PATH) + " " + args + " >/dev/null 2>" + Path("err") +
                            " </dev/null";
    const int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st), Read("err")};
  }
  // A diagram file of squares with the given rectangles, built by qvtool.
  void Diagram(const std::string& name, const std::string& rects) {
    std::string objects;
    int i = 0;
    std::stringstream in(rects);
    std::string r;
    while (std::getline(in, r, ';')) {
      if (i) objects += ",";
      objects += R"({"index":)" + std::to_string(i++) +
                 R"(,"type":"block","kind":0,"text":"t","textalign":0,"filled":false,)"
                 R"("dotted":false,"rect":[)" +
                 r + "]}";
    }
    std::ofstream(Path(name + ".json"))
        << R"({"format":"quorvalin-diagram","version":2,"userblocks":[],"objects":[)" << objects
        << "]}";
    ASSERT_EQ(Qvtool("build " + Path(name + ".json") + " " + Path(name)).code, 0);
  }
};

unsigned U16le(const std::string& b, size_t at) {
  return unsigned(uint8_t(b[at])) | unsigned(uint8_t(b[at + 1])) << 8;
}
unsigned U32be(const std::string& b, size_t at) {
  return unsigned(uint8_t(b[at])) << 24 | unsigned(uint8_t(b[at + 1])) << 16 |
         unsigned(uint8_t(b[at + 2])) << 8 | unsigned(uint8_t(b[at + 3]));
}

// Width and height as each file type records them; 0, 0 when unreadable.
std::pair<unsigned, unsigned> PictureSize(const std::string& b, const std::string& type) {
  if (type == "gif" && b.rfind("GIF87a", 0) == 0) return {U16le(b, 6), U16le(b, 8)};
  if (type == "png" && b.size() > 24 && b.compare(1, 3, "PNG") == 0)
    return {U32be(b, 16), U32be(b, 20)};
  if (type == "bmp" && b.size() > 26 && b.rfind("BM", 0) == 0)
    return {U16le(b, 18) | U16le(b, 20) << 16, U16le(b, 22) | U16le(b, 24) << 16};
  if (type == "jpg" && b.rfind("\xFF\xD8", 0) == 0) {
    for (size_t at = 2; at + 9 < b.size();) {
      if (uint8_t(b[at]) != 0xFF) break;
      const unsigned marker = uint8_t(b[at + 1]);
      const unsigned len = unsigned(uint8_t(b[at + 2])) << 8 | uint8_t(b[at + 3]);
      if (marker == 0xC0)
        return {unsigned(uint8_t(b[at + 7])) << 8 | uint8_t(b[at + 8]),
                unsigned(uint8_t(b[at + 5])) << 8 | uint8_t(b[at + 6])};
      at += 2 + len;
    }
  }
  return {0, 0};
}
}  // namespace

TEST_F(QvtoolExport, WritesEveryTypeAtTheChosenScaleWithoutADisplay) {
  Diagram("d.fgd", "10,20,90,40;0,0,80,20");
  // Blocks span (0, 0)-(90, 40), plus a margin of 10 units on every side.
  for (const std::string type : {"bmp", "png", "gif", "jpg"}) {
    for (int scale : {1, 2}) {
      const std::string out = "p" + std::to_string(scale) + "." + type;
      const ToolRun r =
          Qvtool("export " + Path("d.fgd") + " " + Path(out) + " --scale " + std::to_string(scale));
      ASSERT_EQ(r.code, 0) << type << ": " << r.err;
      EXPECT_EQ(r.err, "");
      const auto size = PictureSize(Read(out), type);
      EXPECT_EQ(size.first, 110u * unsigned(scale) + 1) << out;
      EXPECT_EQ(size.second, 60u * unsigned(scale) + 1) << out;
    }
  }
  ASSERT_EQ(Qvtool("export " + Path("d.fgd") + " " + Path("v.svg")).code, 0);
  EXPECT_NE(Read("v.svg").find("viewBox=\"0 0 111 61\""), std::string::npos);
  ASSERT_EQ(Qvtool("export " + Path("d.fgd") + " " + Path("v.pdf") + " --scale 4").code, 0);
  EXPECT_EQ(Read("v.pdf").rfind("%PDF-", 0), 0u);
  // No bitmap is left behind by the library formats, and an upper-case
  // extension picks its type as well.
  const ToolRun r = Qvtool("export " + Path("d.fgd") + " " + Path("only.GIF"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(PictureSize(Read("only.GIF"), "gif").first, 111u);
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir_))
    if (e.path().filename().string().rfind("only", 0) == 0)
      names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"only.GIF"});
}

TEST_F(QvtoolExport, RefusesPicturesTooLargeNamingTheSizeAndTheScaleThatFits) {
  Diagram("wide.fgd", "0,0,10,10;19000,9000,20000,10000");
  ToolRun r = Qvtool("export " + Path("wide.fgd") + " " + Path("w.png") + " --scale 2");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("40041 x 20041 pixels"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("largest scale that fits is x1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--scale 1"), std::string::npos) << r.err;
  EXPECT_FALSE(Exists("w.png"));

  Diagram("huge.fgd", "0,0,10,10;65520,65520,65535,65535");
  r = Qvtool("export " + Path("huge.fgd") + " " + Path("h.gif"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("65556 x 65556 pixels at scale x1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("does not fit even at scale x1"), std::string::npos) << r.err;
  EXPECT_FALSE(Exists("h.gif"));
}

TEST_F(QvtoolExport, ExitCodesForUsageAndInputErrors) {
  Diagram("d.fgd", "10,10,50,50");
  const std::string in = Path("d.fgd");
  EXPECT_EQ(Qvtool("export " + in).code, 2);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("x.png") + " --scale 3").code, 2);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("x.png") + " --scale").code, 2);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("x.tif")).code, 2);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("noextension")).code, 2);
  EXPECT_EQ(Qvtool("export " + Path("absent.fgd") + " " + Path("x.png")).code, 1);
  std::ofstream(Path("junk.fgd")) << "not a diagram";
  const ToolRun junk = Qvtool("export " + Path("junk.fgd") + " " + Path("x.png"));
  EXPECT_EQ(junk.code, 1);
  EXPECT_NE(junk.err.find("is not a diagram file"), std::string::npos) << junk.err;
  // A folder in the output's place is not replaced.
  ASSERT_EQ(mkdir(Path("dir.png").c_str(), 0755), 0);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("dir.png")).code, 1);
  EXPECT_EQ(Qvtool("export " + in + " " + Path("x.png")).code, 0);
  EXPECT_TRUE(Exists("x.png"));
}
