#include "vexolant/outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vexolant {

std::string OutputPathFor(const std::string& bitmapPath, const std::string& ext) {
  const std::size_t slash = bitmapPath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = bitmapPath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return bitmapPath + ext;
  return bitmapPath.substr(0, dot) + ext;
}

namespace {

[[noreturn]] void Fail(const std::string& path, int err) {
  throw EWriteError("Cannot write file \"" + path + "\": " + std::strerror(err));
}

// Permissions for a new file: those of the file it replaces, or 0666 less
// the process's umask (read back from /proc so as not to change it).
mode_t ModeFor(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = 022;
  if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned m;
      if (std::sscanf(line, "Umask: %o", &m) == 1) {
        mask = mode_t(m);
        break;
      }
    }
    std::fclose(f);
  }
  return 0666 & ~mask;
}

}  // namespace

void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::vector<char> tmp(path.begin(), path.end());
  const char suffix[] = ".vxtmp-XXXXXX";
  tmp.insert(tmp.end(), suffix, suffix + sizeof suffix);  // with the terminating zero
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) Fail(path, errno);
  const std::string tmpPath(tmp.data());

  int err = 0;
  const std::uint8_t* p = data;
  std::size_t left = size;
  while (left > 0 && err == 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno != EINTR) err = errno;
    } else {
      p += n;
      left -= std::size_t(n);
    }
  }
  if (err == 0 && ::fchmod(fd, ModeFor(path)) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(tmpPath.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmpPath.c_str());
    Fail(path, err);
  }
}

}  // namespace vexolant
