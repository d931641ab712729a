#pragma once
// One import plug-in found in the "plugin" folder: a shared library bound by
// its four entry points Init, GetName, GetHint and ImportFiles (the C
// interface of plugins/include/qvplugin.h). TPlugInList loads the library,
// fills this record and releases the handle when it is unloaded.

#include <string>

#include "qvplugin.h"

class TPlugIn {
 public:
  using TInitProc = QvInitProc;
  using TGetTextProc = QvGetTextProc;
  // ImportFiles takes nothing and returns nothing; it is called each time the
  // plug-in's menu entry is chosen.
  using TImportProc = QvImportFilesProc;

  // The caption of the import menu entry (the text of GetName).
  std::string Name;
  // The menu entry's hint (the text of GetHint).
  std::string Hint;
  // The loaded library as returned by dlopen; owned by the plug-in list.
  void* Handle = nullptr;
  // The address of the plug-in's ImportFiles.
  TImportProc ImportProc = nullptr;
};
