// qvtool's dump, build and check commands.
#include "commands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "diagramjson.h"
#include "model/codepage.h"
#include "model/fileaccess.h"
#include "model/shem.h"
#include "model/stream.h"
#include "model/userblocklist.h"
#include "options.h"

bool ParseCommonArgs(const std::vector<std::string>& args, std::vector<std::string>& positional,
                     int& codePage) {
  codePage = DefaultCodePage;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--codepage") {
      if (i + 1 >= args.size()) return false;
      const std::string& v = args[++i];
      if (v == "1251")
        codePage = 1251;
      else if (v == "1252")
        codePage = 1252;
      else
        return false;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return false;
    } else {
      positional.push_back(args[i]);
    }
  }
  return true;
}

namespace {
// Loads a diagram file with a fresh user block list; prints the reason and
// returns false when it cannot.
bool LoadDiagram(const std::string& file, TShem& d, TUserBlockList& list) {
  d.UserBlocks = &list;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadInputFile(file, bytes, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  TByteViewStream s(bytes.data(), bytes.size());
  if (!d.LoadFromStream(s)) {
    std::fprintf(stderr, "\"%s\" is not a diagram file\n", file.c_str());
    return false;
  }
  return true;
}

// The prologue of the commands that take one diagram file: parse the
// arguments, load the file. Returns -1 when the caller may go on, else the
// exit code.
int LoadSingleFile(const std::vector<std::string>& args, TShem& d, TUserBlockList& list, int& cp) {
  std::vector<std::string> pos;
  if (!ParseCommonArgs(args, pos, cp) || pos.size() != 1) return 2;
  return LoadDiagram(pos[0], d, list) ? -1 : 1;
}

// Names each character once, in the order of first appearance, as text and
// as code points: "пр" (U+043F U+0440). U+FFFD stands for bytes that were
// not UTF-8.
std::string DescribeCharacters(const std::u32string& chars) {
  std::u32string seen;
  for (char32_t c : chars)
    if (seen.find(c) == std::u32string::npos) seen += c;
  std::string text, codes;
  for (char32_t c : seen) {
    AppendUtf8(text, c);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%sU+%04X", codes.empty() ? "" : " ", unsigned(c));
    codes += buf;
  }
  return "\"" + text + "\" (" + codes + ")";
}

// Removes every occurrence of flag from args; true when there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
  bool found = false;
  for (auto it = args.begin(); it != args.end();) {
    if (*it == flag) {
      it = args.erase(it);
      found = true;
    } else {
      ++it;
    }
  }
  return found;
}
}  // namespace

int ReadFirstArgument(const std::vector<std::string>& args, size_t count,
                      std::vector<std::string>& positional, int& codePage,
                      std::vector<uint8_t>& bytes) {
  if (!ParseCommonArgs(args, positional, codePage) || positional.size() != count) return 2;
  std::string error;
  if (!ReadInputFile(positional[0], bytes, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return -1;
}

int CmdDump(const std::vector<std::string>& args) {
  TUserBlockList list;
  TShem d;
  int cp;
  if (const int rc = LoadSingleFile(args, d, list, cp); rc >= 0) return rc;
  std::cout << FormatDiagramJson(DiagramToJson(d, list, cp));
  return std::cout.good() ? 0 : 1;
}

int CmdCheck(const std::vector<std::string>& args) {
  TUserBlockList list;
  TShem d;
  int cp;
  if (const int rc = LoadSingleFile(args, d, list, cp); rc >= 0) return rc;
  std::printf("ok %d objects\n", d.Count());
  return 0;
}

int CmdBuild(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  const bool strict = TakeFlag(args, "--strict");
  std::vector<std::string> pos;
  int cp;
  std::vector<uint8_t> bytes;
  if (const int rc = ReadFirstArgument(args, 2, pos, cp, bytes); rc >= 0) return rc;
  std::string error;
  Json doc;
  try {
    doc = Json::Parse(std::string(bytes.begin(), bytes.end()));
  } catch (const JsonError& e) {
    std::fprintf(stderr, "%s: %s\n", pos[0].c_str(), e.what());
    return 1;
  }
  TUserBlockList list;
  TShem d;
  d.UserBlocks = &list;
  std::vector<TTextLoss> losses;
  if (!JsonToDiagram(doc, d, list, cp, error, &losses)) {
    std::fprintf(stderr, "%s: %s\n", pos[0].c_str(), error.c_str());
    return 1;
  }
  for (const TTextLoss& loss : losses)
    std::fprintf(stderr, "%s: %s%s: code page %d cannot hold %s%s\n", pos[0].c_str(),
                 strict ? "" : "warning: ", loss.Where.c_str(), cp,
                 DescribeCharacters(loss.Lost).c_str(), strict ? "" : "; they became \"?\"");
  if (strict && !losses.empty()) return 1;
  if (!CanReplaceFile(pos[1], error) || !d.SaveToFile(pos[1], &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
