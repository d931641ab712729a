// A tiny import plug-in for the tests. Built several times: with QV_NAME for
// its caption, without GetHint when QV_NO_HINT is defined. ImportFiles opens
// the file named through TestPluginSetFile with the program's LoadFile.
#include <string>

#include "qvplugin.h"

#ifndef QV_NAME
#define QV_NAME "Test import"
#endif

namespace {
void* g_program = nullptr;
int g_inits = 0;
int g_imports = 0;
std::string g_file;
}  // namespace

extern "C" {

QV_PLUGIN_EXPORT void Init(void* programHandle) {
  g_program = programHandle;
  ++g_inits;
}

QV_PLUGIN_EXPORT const char* GetName(void) { return QV_NAME; }

#ifndef QV_NO_HINT
QV_PLUGIN_EXPORT const char* GetHint(void) { return QV_NAME " hint"; }
#endif

QV_PLUGIN_EXPORT void ImportFiles(void) {
  ++g_imports;
  if (QvLoadFileProc load = QvFindLoadFile(g_program)) load(g_file.c_str());
}

// What the tests look at and set.
QV_PLUGIN_EXPORT void TestPluginSetFile(const char* f) { g_file = f; }
QV_PLUGIN_EXPORT void* TestPluginProgram(void) { return g_program; }
QV_PLUGIN_EXPORT int TestPluginInits(void) { return g_inits; }
QV_PLUGIN_EXPORT int TestPluginImports(void) { return g_imports; }
}
