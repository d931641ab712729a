#include "jsonconvert.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagramjson.h"
#include "json.h"
#include "model/shem.h"
#include "model/userblocklist.h"

namespace fs = std::filesystem;

bool ConvertJsonFile(const std::string& jsonFile, const std::string& fgdFile, int codePage,
                     std::string& error) {
  std::ifstream in(jsonFile, std::ios::binary);
  if (!in) {
    error = jsonFile + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  Json doc;
  try {
    doc = Json::Parse(text.str());
  } catch (const JsonError& e) {
    error = jsonFile + ": " + e.what();
    return false;
  }
  TUserBlockList list;
  TShem d;
  d.UserBlocks = &list;
  std::string why;
  if (!JsonToDiagram(doc, d, list, codePage, why)) {
    error = jsonFile + ": " + why;
    return false;
  }
  if (!d.SaveToFile(fgdFile, &why)) {
    error = fgdFile + ": " + why;
    return false;
  }
  return true;
}

std::string ImportTargetName(const std::string& jsonFile) {
  std::string base = jsonFile;
  if (base.size() >= 5) {
    std::string ext = base.substr(base.size() - 5);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".json") base.erase(base.size() - 5);
  }
  auto taken = [](const std::string& name) {
    std::error_code ec;
    // Anything there, a dangling link included, or a name that cannot even
    // be looked at, is not a name to write to.
    return fs::symlink_status(name, ec).type() != fs::file_type::not_found;
  };
  std::string name = base + ".fgd";
  for (int n = 2; taken(name); ++n) {
    if (n > 9999) return {};
    name = base + " (" + std::to_string(n) + ").fgd";
  }
  return name;
}
