#pragma once
// One entry of the template menus: a diagram file offered for "insert" and
// "replace with template". TTemplateList finds them and names them.

#include <string>

class TTemplate {
 public:
  // The menu caption: the file name without its folder, up to its ".fgd".
  std::string Name;
  // The full path of the template's diagram file.
  std::string FileName;
};
