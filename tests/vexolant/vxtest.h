// Test helpers: the library loaded with dlopen as the editor loads it, a
// scratch folder, and whole-file reads and writes.
#pragma once

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "vexolant/vexolant.h"

namespace vxtest {

struct Library {
  void* handle = nullptr;
  VexolantGetFilterFn GetFilter = nullptr;
  VexolantSaveToFn SaveTo = nullptr;
  VexolantGetLastErrorTextFn GetLastErrorText = nullptr;

  static Library& Get() {
    static Library lib;
    return lib;
  }

 private:
  Library() {
    handle = dlopen(VEXOLANT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
    GetFilter = reinterpret_cast<VexolantGetFilterFn>(dlsym(handle, "GetFilter"));
    SaveTo = reinterpret_cast<VexolantSaveToFn>(dlsym(handle, "SaveTo"));
    GetLastErrorText =
        reinterpret_cast<VexolantGetLastErrorTextFn>(dlsym(handle, "GetLastErrorText"));
    if (!GetFilter || !SaveTo || !GetLastErrorText) throw std::runtime_error("missing export");
  }
};

class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    path_ =
        std::filesystem::temp_directory_path() /
        ("vexolant-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
}

}  // namespace vxtest
