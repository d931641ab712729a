/* The C interface between Quorvalin and its import plug-ins.

   An import plug-in is a shared library in the folder "plugin" beside the
   program. It exports four functions with C linkage, which the program looks
   up by name right after loading the library:

     void Init(void* programHandle)   called once, first
     const char* GetName(void)        caption of the plug-in's entry under
                                      File > Import; called once, copied
     const char* GetHint(void)        the entry's hint; called once, copied
     void ImportFiles(void)           called each time the entry is chosen

   The texts stay owned by the plug-in. programHandle is the program's own
   module (as from dlopen(NULL, ...)); through it the plug-in finds the
   program's exported LoadFile, which opens a diagram file in the editor:
   QvFindLoadFile below does that. A library without all four entries, or one
   that does not load, is skipped and gets no menu entry. */
#ifndef QUORVALIN_QVPLUGIN_H
#define QUORVALIN_QVPLUGIN_H

#include <dlfcn.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QV_PLUGIN_EXPORT __attribute__((visibility("default")))

typedef void (*QvInitProc)(void* programHandle);
typedef const char* (*QvGetTextProc)(void);
typedef void (*QvImportFilesProc)(void);
/* The program's LoadFile: opens the named diagram file (8-bit file name). */
typedef void (*QvLoadFileProc)(const char* fileName);

/* The entry points a plug-in defines. */
QV_PLUGIN_EXPORT void Init(void* programHandle);
QV_PLUGIN_EXPORT const char* GetName(void);
QV_PLUGIN_EXPORT const char* GetHint(void);
QV_PLUGIN_EXPORT void ImportFiles(void);

/* The program's LoadFile reached through the handle given to Init, or NULL. */
static inline QvLoadFileProc QvFindLoadFile(void* programHandle) {
  return programHandle ? (QvLoadFileProc)dlsym(programHandle, "LoadFile") : (QvLoadFileProc)0;
}

#ifdef __cplusplus
}
#endif

#endif
