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
    "usage: qvtool dump FILE.fgd | build IN.json OUT.fgd | check FILE.fgd | pascal FILE.fgd"
    " [--codepage 1251|1252]";
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
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
