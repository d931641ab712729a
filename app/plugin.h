#pragma once
// One import plug-in found in the "plugin" folder: a shared library bound by
// its four entry points Init, GetName, GetHint and ImportFiles. The main window
// loads the library, fills this record and releases the handle when it closes.

#include <string>

class TPlugIn {
 public:
  // Entry points as the library exports them (C linkage, default calling
  // convention). Init receives the program's own module handle, through which
  // a plug-in reaches the exported LoadFile; the texts of GetName and GetHint
  // stay owned by the plug-in and are copied.
  using TInitProc = void (*)(void* programHandle);
  using TGetTextProc = const char* (*)();
  // ImportFiles takes nothing and returns nothing; it is called each time the
  // plug-in's menu entry is chosen.
  using TImportProc = void (*)();

  // The caption of the import menu entry (the text of GetName).
  std::string Name;
  // The menu entry's hint (the text of GetHint).
  std::string Hint;
  // The loaded library as returned by dlopen (or QLibrary); not owned here.
  void* Handle = nullptr;
  // The address of the plug-in's ImportFiles.
  TImportProc ImportProc = nullptr;
};
