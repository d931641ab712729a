// vexolant_peak FORMAT BITMAP [WARMUP_BITMAP]: loads libvexolant.so, calls
// SaveTo once (after one call on WARMUP_BITMAP, when given, so that tables
// built on first use are already there) and prints how far that call raised
// the process's resident memory above where it stood before, in KiB:
//   peak_kib <growth of the high-water mark over the resident size before>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vexolant/vexolant.h"

namespace {

// A "Name:   123 kB" line of /proc/self/status, in KiB.
long StatusKib(const char* name) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long value = -1;
  const std::size_t n = std::strlen(name);
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, name, n) == 0 && line[n] == ':') {
      value = std::strtol(line + n + 1, nullptr, 10);
      break;
    }
  std::fclose(f);
  return value;
}

// Lowers the high-water mark to the current resident size (Linux 4.0+).
void ResetHighWaterMark() {
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vexolant_peak FORMAT BITMAP [WARMUP_BITMAP]\n");
    return 2;
  }
  void* lib = dlopen(VEXOLANT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  auto saveTo = reinterpret_cast<VexolantSaveToFn>(dlsym(lib, "SaveTo"));
  auto lastError = reinterpret_cast<VexolantGetLastErrorTextFn>(dlsym(lib, "GetLastErrorText"));
  const unsigned char format = static_cast<unsigned char>(std::atoi(argv[1]));
  if (argc > 3 && saveTo(format, argv[3]) != 1) {
    std::fprintf(stderr, "warm-up failed: %s\n", lastError());
    return 1;
  }
  ResetHighWaterMark();
  const long before = StatusKib("VmRSS");
  if (saveTo(format, argv[2]) != 1) {
    std::fprintf(stderr, "SaveTo failed: %s\n", lastError());
    return 1;
  }
  const long peak = StatusKib("VmHWM");
  std::printf("peak_kib %ld\n", peak - before);
  return 0;
}
