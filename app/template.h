#pragma once
// One entry of the template menus: a diagram file offered for "insert" and
// "replace with template".

#include <string>

class TTemplate {
 public:
  // The menu caption: the file name without its folder and its extension.
  std::string Name;
  // The full path of the template's diagram file.
  std::string FileName;

  // An entry for the file at path, its name derived from the path.
  static TTemplate FromFile(const std::string& path) {
    TTemplate t;
    t.FileName = path;
    const size_t slash = path.find_last_of('/');
    t.Name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = t.Name.find_last_of('.');
    if (dot != std::string::npos) t.Name.erase(dot);
    return t;
  }
};
