#include "app/pluginlist.h"

#include <dlfcn.h>

#include "platform/findfiles.h"

namespace {

const char* DlError() {
  const char* e = dlerror();
  return e ? e : "unknown error";
}

}  // namespace

void TPlugInList::Load(const std::string& folder, void* programHandle,
                       std::vector<std::string>& log) {
  for (const std::string& path : FindFiles(folder, ".so")) {
    // Bound now, so that a library with unresolved symbols fails here and
    // not later inside a call; local, so that plug-ins cannot see each other.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      log.push_back("import plug-in " + path + " skipped: " + DlError());
      continue;
    }
    void* entries[4];
    const char* names[4] = {"Init", "GetName", "GetHint", "ImportFiles"};
    std::string missing;
    for (int k = 0; k < 4; ++k) {
      entries[k] = dlsym(handle, names[k]);
      if (!entries[k]) missing += missing.empty() ? names[k] : std::string(", ") + names[k];
    }
    if (!missing.empty()) {
      log.push_back("import plug-in " + path + " skipped: no entry point " + missing);
      dlclose(handle);
      continue;
    }
    reinterpret_cast<TPlugIn::TInitProc>(entries[0])(programHandle);
    const char* name = reinterpret_cast<TPlugIn::TGetTextProc>(entries[1])();
    const char* hint = reinterpret_cast<TPlugIn::TGetTextProc>(entries[2])();
    TPlugIn p;
    p.Name = name ? name : "";
    p.Hint = hint ? hint : "";
    p.Handle = handle;
    p.ImportProc = reinterpret_cast<TPlugIn::TImportProc>(entries[3]);
    items_.push_back(std::move(p));
  }
}

void TPlugInList::Unload() {
  for (TPlugIn& p : items_)
    if (p.Handle) dlclose(p.Handle);
  items_.clear();
}

bool TPlugInList::Import(int i) const {
  if (i < 0 || i >= Count() || !items_[size_t(i)].ImportProc) return false;
  items_[size_t(i)].ImportProc();
  return true;
}
