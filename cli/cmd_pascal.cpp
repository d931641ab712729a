// qvtool pascal: one translation of a diagram file into Pascal text.
#include <cstdio>
#include <iostream>

#include "commands.h"
#include "fileaccess.h"
#include "model/codepage.h"
#include "model/shem.h"
#include "model/stream.h"
#include "options.h"
#include "pascal/pascaltranslator.h"
#include "userblocks/userblocklist.h"

namespace {
// Prints each message at once, so that standard error keeps their order.
class StderrReporter : public TPascalReporter {
 public:
  explicit StderrReporter(int codePage) : codePage_(codePage) {}
  void Error(const std::string& message) override {
    std::fprintf(stderr, "Error: %s\n", CodepageToUtf8(message, codePage_).c_str());
  }

 private:
  int codePage_;
};
}  // namespace

int CmdPascal(const std::vector<std::string>& args) {
  std::vector<std::string> pos;
  int cp;
  if (!ParseCommonArgs(args, pos, cp) || pos.size() != 1) return 2;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadInputFile(pos[0], bytes, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  // The window translates whatever its stream holds; a command line tool
  // refuses a file that is no diagram instead of reporting a missing begin.
  TUserBlockList userBlocks;
  {
    TShem probe;
    probe.UserBlocks = &userBlocks;
    TMemoryStream s(bytes);
    if (!probe.LoadFromStream(s)) {
      std::fprintf(stderr, "\"%s\" is not a diagram file\n", pos[0].c_str());
      return 1;
    }
  }
  TUserBlockList translationBlocks;
  TMemoryStream stream(std::move(bytes));
  TPascalTranslator translator;
  StderrReporter reporter(cp);
  const bool emitted = translator.FormShow(stream, reporter, &translationBlocks);
  for (const std::string& line : translator.Lines) std::cout << CodepageToUtf8(line, cp) << '\n';
  std::cout.flush();
  return emitted && std::cout.good() ? 0 : 1;
}
