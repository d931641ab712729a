// qvtool: batch commands on diagram files for scripts and tests.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

namespace {
const char* const kUsage =
    "usage: qvtool COMMAND ARGS [--codepage 1251|1252]\n"
    "  dump FILE.fgd                    the diagram as JSON on standard output\n"
    "  build [--strict] IN.json OUT.fgd a diagram file from JSON; warns for each text\n"
    "                                   that loses characters to the code page, and\n"
    "                                   with --strict fails instead, writing nothing\n"
    "  check FILE.fgd                   \"ok N objects\", or why the file is no diagram\n"
    "  pascal FILE.fgd                  the diagram's Pascal statements\n"
#ifdef QV_WITH_EXPORT
    "  export FILE.fgd OUT.EXT [--scale 1|2|4|8]\n"
    "                                   the diagram as a picture; EXT is bmp, png,\n"
    "                                   svg, pdf, gif or jpg (scale 1 by default)\n"
#endif
    "  help, --help, -h                 this text\n"
    "Texts are converted between UTF-8 and the code page (1251 by default).\n"
    "Exit codes: 0 done, 1 failed, 2 usage error.";

bool AsksForHelp(const std::vector<std::string>& args) {
  if (!args.empty() && args.front() == "help") return true;
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (AsksForHelp(args)) {
    std::printf("%s\n", kUsage);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  if (args.empty()) {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
  }
  const std::string cmd = args.front();
  args.erase(args.begin());
  try {
    int rc = -1;
    if (cmd == "dump")
      rc = CmdDump(args);
    else if (cmd == "build")
      rc = CmdBuild(args);
    else if (cmd == "check")
      rc = CmdCheck(args);
    else if (cmd == "pascal")
      rc = CmdPascal(args);
#ifdef QV_WITH_EXPORT
    else if (cmd == "export")
      rc = CmdExport(args);
#endif
    if (rc == 2 || rc < 0) {
      std::fprintf(stderr, "%s\n", kUsage);
      return 2;
    }
    return rc;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qvtool: %s\n", e.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "qvtool: unexpected failure\n");
    return 1;
  }
}
