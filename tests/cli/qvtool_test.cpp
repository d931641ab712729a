// qvtool run as a separate process, as scripts use it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/json.h"
#include "tests/cli/tempdirtest.h"

namespace {
struct ToolRun {
  int code;
  std::string out, err;
};

class QvtoolTest : public TempDirTest {
 protected:
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  // Runs qvtool; `limits` caps its memory at 1 GiB and its time at a minute,
  // so that a reader that does not stop fails instead of taking the machine.
  // (AddressSanitizer reserves far more address space than any cap, so a
  // sanitizer build keeps only the time limit.)
  ToolRun Qvtool(const std::string& args, bool limits = false) const {
#if defined(__SANITIZE_ADDRESS__)
    const std::string prefix = limits ? "exec timeout 60 " : "";
#else
    const std::string prefix = limits ? "ulimit -v 1048576; exec timeout 60 " : "";
#endif
    const std::string cmd = prefix + std::string(QVTOOL_PATH) + " " + args + " >" + Path("out") +
                            " 2>" + Path("err") + " </dev/null";
    const int st = std::system(cmd.c_str());
    auto slurp = [&](const std::string& n) {
      std::ifstream f(Path(n), std::ios::binary);
      std::stringstream ss;
      ss << f.rdbuf();
      return ss.str();
    };
    return {WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st), slurp("out"), slurp("err")};
  }
};

const char* kSample = R"({"format":"quorvalin-diagram","version":2,
 "userblocks":[{"key":"000000FF-00001000","name":"Loop","id1":4096,"id2":255,
   "points":[[0,50],[50,0],[100,50],[50,100]],"edit":[10,10,90,90],
   "toolimage":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16]}],
 "objects":[
  {"index":0,"type":"link","linktype":1,"source":1,"target":2,"sourcepos":[32767,65535],"targetpos":[32767,0]},
  {"index":1,"type":"block","kind":0,"text":"A \u00ab\u043f\u0440\u0438\u0432\u0435\u0442\u00bb\r\nx","textalign":1,"filled":true,"dotted":false,"rect":[10,20,90,40]},
  {"index":2,"type":"block","kind":15,"userblock":"000000FF-00001000","text":"","textalign":0,"filled":false,"dotted":true,"rect":[0,0,80,20]}]})";
}  // namespace

TEST_F(QvtoolTest, BuildDumpRoundTrip) {
  Write("in.json", kSample);
  ToolRun r = Qvtool("build " + Path("in.json") + " " + Path("a.fgd"));
  ASSERT_EQ(r.code, 0) << r.err;
  r = Qvtool("check " + Path("a.fgd"));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "ok 3 objects\n");
  r = Qvtool("dump " + Path("a.fgd"));
  ASSERT_EQ(r.code, 0) << r.err;
  const Json doc = Json::Parse(r.out);
  EXPECT_EQ(doc.Find("version")->AsInt(), 3);
  const auto& objs = doc.Find("objects")->Items();
  ASSERT_EQ(objs.size(), 3u);
  // Loading sorts the blocks before the link.
  EXPECT_EQ(objs[0].Find("text")->AsString(),
            "A \u00ab\u043f\u0440\u0438\u0432\u0435\u0442\u00bb\r\nx");
  EXPECT_EQ(objs[0].Find("textalign")->AsInt(), 1);
  EXPECT_TRUE(objs[0].Find("filled")->AsBool());
  EXPECT_EQ(objs[1].Find("userblock")->AsString(), "000000FF-00001000");
  EXPECT_TRUE(objs[1].Find("dotted")->AsBool());
  EXPECT_EQ(objs[2].Find("source")->AsInt(), 0);
  EXPECT_EQ(objs[2].Find("target")->AsInt(), 1);
  EXPECT_EQ(doc.Find("userblocks")->Items()[0].Find("toolimage")->Items()[15].AsInt(), 16);

  // The dump builds the same file again, byte for byte.
  Write("again.json", r.out);
  ASSERT_EQ(Qvtool("build " + Path("again.json") + " " + Path("b.fgd")).code, 0);
  ASSERT_EQ(Qvtool("dump " + Path("b.fgd")).out, r.out);
  std::ifstream a(Path("a.fgd"), std::ios::binary), b(Path("b.fgd"), std::ios::binary);
  std::stringstream sa, sb;
  sa << a.rdbuf();
  sb << b.rdbuf();
  // a.fgd was written in the JSON's order (link first); b.fgd in sorted order.
  EXPECT_EQ(sa.str().size(), sb.str().size());

  // Under code page 1252 the Cyrillic letters cannot be held and become "?".
  ASSERT_EQ(Qvtool("build --codepage 1252 " + Path("in.json") + " " + Path("c.fgd")).code, 0);
  r = Qvtool("dump " + Path("c.fgd") + " --codepage 1252");
  EXPECT_NE(r.out.find("A \u00ab??????\u00bb"), std::string::npos) << r.out;
}

TEST_F(QvtoolTest, UsageErrorsAndRefusals) {
  EXPECT_EQ(Qvtool("").code, 2);
  EXPECT_EQ(Qvtool("frobnicate x").code, 2);
  EXPECT_EQ(Qvtool("dump").code, 2);
  EXPECT_EQ(Qvtool("dump a b").code, 2);
  EXPECT_EQ(Qvtool("check x --codepage 866").code, 2);
  ToolRun r = Qvtool("check " + Path("nothing.fgd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("nothing.fgd"), std::string::npos);
  Write("text.fgd", "hello, not a diagram");
  EXPECT_EQ(Qvtool("check " + Path("text.fgd")).code, 1);

  const std::vector<std::pair<std::string, std::string>> bad = {
      {"not json", "JSON error"},
      {R"({"format":"other","objects":[]})", "format"},
      {R"({"format":"quorvalin-diagram","objects":[{"type":"block","kind":0,"rect":[0,0,70000,5]}]})",
       "rect"},
      {R"({"format":"quorvalin-diagram","objects":[{"type":"block","kind":15,"userblock":"00000001-00000002","rect":[0,0,1,1]}]})",
       "00000001-00000002"},
      {R"({"format":"quorvalin-diagram","objects":[{"type":"block","kind":0,"rect":[0,0,1,1]},
          {"type":"link","source":0,"target":5,"sourcepos":[0,0],"targetpos":[0,0]}]})",
       "target"},
      {R"({"format":"quorvalin-diagram","objects":[{"type":"block","kind":0,"rect":[0,0,1,1]},
          {"type":"link","source":0,"target":2,"sourcepos":[0,0],"targetpos":[0,0]},
          {"type":"link","source":0,"target":1,"sourcepos":[0,0],"targetpos":[0,0]}]})",
       "cycle"},
      {R"({"format":"quorvalin-diagram","objects":[{"type":"link","source":0,"target":0,"sourcepos":[0,0],"targetpos":[0,0]}]})",
       "itself"},
  };
  for (const auto& [json, why] : bad) {
    Write("bad.json", json);
    r = Qvtool("build " + Path("bad.json") + " " + Path("bad.fgd"));
    EXPECT_EQ(r.code, 1) << json;
    EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
    EXPECT_NE(access(Path("bad.fgd").c_str(), F_OK), 0) << "nothing is written for " << json;
  }
}

TEST_F(QvtoolTest, ArbitraryBytesNeverCrashTheReader) {
  Write("in.json", kSample);
  ASSERT_EQ(Qvtool("build " + Path("in.json") + " " + Path("a.fgd")).code, 0);
  std::ifstream f(Path("a.fgd"), std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  const std::string good = ss.str();
  std::mt19937 rng(99);
  for (int i = 0; i < 40; ++i) {
    std::string mutated = good;
    for (int k = 0; k < 1 + int(rng() % 6); ++k)
      mutated[20 + rng() % (mutated.size() - 20)] = char(rng());
    if (i % 4 == 0) mutated.resize(20 + rng() % (mutated.size() - 20));
    Write("m.fgd", mutated);
    const ToolRun r = Qvtool("dump " + Path("m.fgd"));
    EXPECT_TRUE(r.code == 0 || r.code == 1) << "exit " << r.code;
    if (r.code == 0) {
      EXPECT_NO_THROW(Json::Parse(r.out));
    }
  }
}

TEST_F(QvtoolTest, PascalTranslation) {
  ASSERT_EQ(Qvtool("build " + std::string(QV_EXAMPLES_DIR) + "/sum.json " + Path("sum.fgd")).code,
            0);
  ToolRun r = Qvtool("pascal " + Path("sum.fgd"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "begin\n  s := 0;\n  i := 1;\n  while i <= n do\n  begin\n    s := s + i;\n    i := i "
            "+ 1\n  end;\nend;\n");

  // Without a begin block: the message on standard error, exit 1.
  Write("nobegin.json", R"({"format":"quorvalin-diagram","objects":[
    {"type":"block","kind":0,"text":"a := 1","rect":[0,0,80,20]}]})");
  ASSERT_EQ(Qvtool("build " + Path("nobegin.json") + " " + Path("nobegin.fgd")).code, 0);
  r = Qvtool("pascal " + Path("nobegin.fgd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Error: Can not find \"begin\""), std::string::npos) << r.err;
  EXPECT_EQ(Qvtool("pascal").code, 2);
}

TEST_F(QvtoolTest, HelpPrintsUsageAndSucceeds) {
  for (const std::string args : {"--help", "-h", "help", "dump --help", "build -h x.json y.fgd"}) {
    const ToolRun r = Qvtool(args);
    EXPECT_EQ(r.code, 0) << args;
    EXPECT_EQ(r.out.rfind("usage: qvtool", 0), 0u) << args << ": " << r.out;
    EXPECT_NE(r.out.find("--strict"), std::string::npos);
    EXPECT_EQ(r.err, "") << args;
  }
  // Anything else unknown stays a usage error, reported on standard error.
  for (const std::string args :
       {"--frobnicate", "helpme", "check --verbose x.fgd", "dump --strict x"}) {
    const ToolRun r = Qvtool(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(r.err.rfind("usage: qvtool", 0), 0u) << args << ": " << r.err;
  }
}

TEST_F(QvtoolTest, OnlyRegularFilesOfAddressableSizeAreRead) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  ASSERT_EQ(::mkdir(Path("folder").c_str(), 0700), 0);
  for (const std::string cmd : {"check", "dump", "pascal"}) {
    for (const std::string& file : {std::string("/dev/zero"), Path("pipe"), Path("folder")}) {
      const ToolRun r = Qvtool(cmd + " " + file, true);
      EXPECT_EQ(r.code, 1) << cmd << " " << file;
      EXPECT_NE(r.err.find("\"" + file + "\" is not a regular file"), std::string::npos)
          << cmd << " " << file << ": " << r.err;
    }
  }
  ToolRun r = Qvtool("build /dev/zero " + Path("z.fgd"), true);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("is not a regular file"), std::string::npos) << r.err;
  EXPECT_NE(access(Path("z.fgd").c_str(), F_OK), 0);

  // Nor does build put a file in the place of a pipe or a folder.
  Write("in.json", kSample);
  for (const std::string& target : {Path("pipe"), Path("folder")}) {
    r = Qvtool("build " + Path("in.json") + " " + target, true);
    EXPECT_EQ(r.code, 1) << target;
    EXPECT_NE(r.err.find("\"" + target + "\" is not a regular file"), std::string::npos) << r.err;
  }
  struct stat st {};
  ASSERT_EQ(::stat(Path("pipe").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  // One byte beyond what 32-bit sizes can address: refused before reading
  // (the file is sparse, so it costs no disk).
  const int fd = ::open(Path("huge.fgd").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t(1) << 32), 0);
  ::close(fd);
  for (const std::string& args :
       {"check " + Path("huge.fgd"), "build " + Path("huge.fgd") + " " + Path("h.fgd")}) {
    r = Qvtool(args, true);
    EXPECT_EQ(r.code, 1) << args;
    EXPECT_NE(r.err.find("is larger than 4294967295 bytes"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("32-bit"), std::string::npos) << r.err;
  }
}

TEST_F(QvtoolTest, BuildReportsTextsThatLoseCharactersToTheCodePage) {
  // objects[0]: all Latin-1, fits 1252 but not 1251; objects[1]: Cyrillic and
  // a Greek letter; objects[2]: a raw byte that is no UTF-8; the user block's
  // name: a CJK character.
  Write("in.json",
        "{\"format\":\"quorvalin-diagram\",\"userblocks\":[{\"name\":\"Loop \\u4e2d\","
        "\"id1\":1,\"id2\":2,\"points\":[],\"edit\":[0,0,100,100]}],\"objects\":["
        "{\"type\":\"block\",\"kind\":0,\"text\":\"caf\\u00e9\",\"rect\":[0,0,80,20]},"
        "{\"type\":\"block\",\"kind\":0,\"text\":\"\\u043f\\u0440\\u043f \\u03a9\","
        "\"rect\":[0,0,80,20]},"
        "{\"type\":\"block\",\"kind\":0,\"text\":\"a\xff\",\"rect\":[0,0,80,20]},"
        "{\"type\":\"block\",\"kind\":0,\"text\":\"plain ?\",\"rect\":[0,0,80,20]}]}");
  ToolRun r = Qvtool("build --codepage 1252 " + Path("in.json") + " " + Path("a.fgd"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find("objects[0]"), std::string::npos) << r.err;
  EXPECT_NE(
      r.err.find("warning: objects[1] text: code page 1252 cannot hold \"\u043f\u0440\u03a9\" "
                 "(U+043F U+0440 U+03A9)"),
      std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("objects[2] text: code page 1252 cannot hold \"\uFFFD\" (U+FFFD)"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("userblocks[0] name: code page 1252 cannot hold \"\u4e2d\" (U+4E2D)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("objects[3]"), std::string::npos) << "a \"?\" typed as such is no loss";
  r = Qvtool("dump --codepage 1252 " + Path("a.fgd"));
  EXPECT_NE(r.out.find("\"??? ?\""), std::string::npos) << r.out;

  // Under 1251 the Latin-1 letter is the loss instead.
  r = Qvtool("build " + Path("in.json") + " " + Path("b.fgd"));
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.err.find("objects[0] text: code page 1251 cannot hold \"\u00e9\""), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("objects[1] text: code page 1251 cannot hold \"\u03a9\""), std::string::npos)
      << r.err;

  // --strict: the same reports as errors, exit 1, the target untouched.
  Write("c.fgd", "previous");
  r = Qvtool("build --strict " + Path("in.json") + " " + Path("c.fgd"));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("objects[1] text: code page 1251 cannot hold"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
  EXPECT_EQ(Read("c.fgd"), "previous");
  r = Qvtool("build " + Path("in.json") + " --strict " + Path("d.fgd") + " --codepage 1252");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(access(Path("d.fgd").c_str(), F_OK), 0);

  // A text the code page holds whole builds under --strict without a word.
  Write("ok.json",
        "{\"format\":\"quorvalin-diagram\",\"objects\":[{\"type\":\"block\",\"kind\":0,"
        "\"text\":\"\\u043f\\u0440\\u0438\\u0432\\u0435\\u0442?\",\"rect\":[0,0,80,20]}]}");
  r = Qvtool("build --strict " + Path("ok.json") + " " + Path("e.fgd"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Qvtool("check " + Path("e.fgd")).out, "ok 1 objects\n");
}
