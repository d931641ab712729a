// vexolant_peak FORMAT BITMAP [WARMUP_BITMAP]: loads libvexolant.so, calls
// SaveTo once (after one call on WARMUP_BITMAP, when given, so that tables
// built on first use are already there) and prints, in KiB, how far that
// call raised the process's resident memory (the kernel's count, which is
// only exact to a few hundred KiB, and includes code paged in), and exactly
// how far it raised the bytes taken from the heap (malloc and new, counted
// here; the bitmap file's mapping is no part of it):
//   peak_kib <growth of the high-water mark over the resident size before>
//   heap_kib <highest heap use during the call over the use before>
#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vexolant/vexolant.h"

// Every allocation of the process, the library's included, goes through
// these and is counted by its usable size.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

std::size_t heapNow = 0, heapPeak = 0;

void* Counted(void* p) {
  if (p) {
    heapNow += malloc_usable_size(p);
    if (heapNow > heapPeak) heapPeak = heapNow;
  }
  return p;
}

void Uncount(void* p) {
  if (p) heapNow -= malloc_usable_size(p);
}

}  // namespace

extern "C" {
void* malloc(std::size_t n) { return Counted(__libc_malloc(n)); }
void* calloc(std::size_t n, std::size_t size) { return Counted(__libc_calloc(n, size)); }
void* realloc(void* p, std::size_t n) {
  Uncount(p);
  return Counted(__libc_realloc(p, n));
}
void free(void* p) {
  Uncount(p);
  __libc_free(p);
}
void* memalign(std::size_t align, std::size_t n) { return Counted(__libc_memalign(align, n)); }
void* aligned_alloc(std::size_t align, std::size_t n) { return memalign(align, n); }
int posix_memalign(void** out, std::size_t align, std::size_t n) {
  void* p = memalign(align, n);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
}

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
  const std::size_t heapBefore = heapNow;
  heapPeak = heapNow;
  if (saveTo(format, argv[2]) != 1) {
    std::fprintf(stderr, "SaveTo failed: %s\n", lastError());
    return 1;
  }
  const long peak = StatusKib("VmHWM");
  std::printf("peak_kib %ld\nheap_kib %zu\n", peak - before, (heapPeak - heapBefore) / 1024);
  return 0;
}
