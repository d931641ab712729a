#pragma once
// TPlugInList: the import plug-ins of the program, loaded once at start from
// the "plugin" folder beside the program (never from a search path) and
// unloaded when the list goes. Standard C++ and dlopen only.

#include <string>
#include <vector>

#include "app/plugin.h"

class TPlugInList {
 public:
  TPlugInList() = default;
  TPlugInList(const TPlugInList&) = delete;
  TPlugInList& operator=(const TPlugInList&) = delete;
  ~TPlugInList() { Unload(); }

  // Loads every file under folder whose name contains ".so" (FindFiles
  // order). For each: load the library by its full path, find all four entry
  // points, call Init(programHandle), copy GetName and GetHint, keep
  // ImportFiles. A library that does not load or lacks an entry is closed
  // again and skipped with one line in log; the others go on.
  void Load(const std::string& folder, void* programHandle, std::vector<std::string>& log);
  // Unloads the libraries in list order and empties the list.
  void Unload();

  // The plug-ins in discovery order; the position is the menu entry's tag.
  const std::vector<TPlugIn>& Items() const { return items_; }
  int Count() const { return int(items_.size()); }
  // Calls ImportFiles of plug-in i; false when i is outside the list.
  bool Import(int i) const;

 private:
  std::vector<TPlugIn> items_;
};
