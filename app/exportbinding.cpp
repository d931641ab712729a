#include "app/exportbinding.h"

#include <dlfcn.h>

#include <climits>

bool TExportBinding::Load(const std::string& programDir, std::string* error) {
  auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return false;
  };
  if (Bound()) return true;
  // An absolute path makes dlopen take the file as named and nothing else.
  if (programDir.empty() || programDir.front() != '/')
    return fail("The program folder \"" + programDir + "\" is not an absolute path");
  std::string path = programDir;
  if (path.back() != '/') path += '/';
  path += LibraryName;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    return fail(why ? why : "Can not load \"" + path + "\"");
  }
  auto getFilter = reinterpret_cast<TGetText>(dlsym(handle, "GetFilter"));
  auto saveTo = reinterpret_cast<TSaveTo>(dlsym(handle, "SaveTo"));
  if (!getFilter || !saveTo) {
    dlclose(handle);
    return fail("\"" + path + "\" lacks GetFilter or SaveTo");
  }
  const char* text = getFilter();
  filter_ = text ? text : "";
  saveTo_ = saveTo;
  lastError_ = reinterpret_cast<TGetText>(dlsym(handle, "GetLastErrorText"));
  return true;  // the handle stays open for the rest of the run
}

std::vector<TExportBinding::TFormat> TExportBinding::ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t from = 0;
  while (from < filter.size()) {
    const size_t bar = filter.find('|', from);
    const size_t to = bar == std::string::npos ? filter.size() : bar;
    parts.push_back(filter.substr(from, to - from));
    from = to + 1;
  }
  std::vector<TFormat> formats;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFormat f;
    f.Number = int(i / 2 + 1);
    f.Description = parts[i];
    f.Wildcard = parts[i + 1];
    const size_t dot = f.Wildcard.find_last_of('.');
    if (dot != std::string::npos) f.Extension = f.Wildcard.substr(dot);
    formats.push_back(std::move(f));
  }
  return formats;
}

bool TExportBinding::SaveTo(int number, const std::string& bitmapPath, std::string& error) const {
  if (!saveTo_) {
    error = "The graphic export library is not loaded";
    return false;
  }
  if (number < 1 || number > UCHAR_MAX) {
    error = "Unknown graphic format number " + std::to_string(number);
    return false;
  }
  if (saveTo_(static_cast<unsigned char>(number), bitmapPath.c_str())) return true;
  const char* why = lastError_ ? lastError_() : nullptr;
  error = why && *why ? why : "The graphic export library could not write the picture";
  return false;
}
