// qvtool pascal: one translation of a diagram file into Pascal text.
#include <cstdio>
#include <iostream>

#include "commands.h"
#include "model/codepage.h"
#include "model/fileaccess.h"
#include "model/shem.h"
#include "model/stream.h"
#include "model/userblocklist.h"
#include "options.h"
#include "pascal/pascaltranslator.h"

int CmdPascal(const std::vector<std::string>& args) {
  std::vector<std::string> pos;
  int cp;
  std::vector<uint8_t> bytes;
  if (const int rc = ReadFirstArgument(args, 1, pos, cp, bytes); rc >= 0) return rc;
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
  const TPascalTranslation t = Translate(stream, &translationBlocks);
  for (const std::string& m : t.Messages)
    std::fprintf(stderr, "Error: %s\n", CodepageToUtf8(m, cp).c_str());
  for (const std::string& line : t.Lines) std::cout << CodepageToUtf8(line, cp) << '\n';
  std::cout.flush();
  return t.Emitted && std::cout.good() ? 0 : 1;
}
