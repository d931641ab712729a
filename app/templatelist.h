#pragma once
// TTemplateList: the diagram templates found at start in the "template"
// folder beside the program and its subfolders. Standard C++ only.

#include <string>
#include <vector>

#include "app/template.h"

class TTemplateList {
 public:
  struct TEntry {
    TTemplate Template;
    // The subfolders between the template folder and the file, outermost
    // first ({"Loops", "Counted"} two levels down; empty directly inside).
    std::vector<std::string> Folders;
  };

  // Finds every file under folder whose name contains ".fgd" (FindFiles
  // order: a folder's files before its subfolders'). Each becomes an entry
  // named by its file name up to the first ".fgd". A missing folder gives none.
  void Load(const std::string& folder);
  void Clear() { items_.clear(); }

  // The templates in discovery order; the position is the tag of both menu
  // entries of a template.
  const std::vector<TEntry>& Items() const { return items_; }
  int Count() const { return int(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // The caption of a template file: its name up to the first ".fgd" (letter
  // case ignored), the whole name when there is none.
  static std::string NameOf(const std::string& fileName);

 private:
  std::vector<TEntry> items_;
};
