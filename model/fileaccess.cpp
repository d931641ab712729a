#include "model/fileaccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string TooLarge(const std::string& path, uint64_t limit) {
  return Quoted(path) + " is larger than " + std::to_string(limit) +
         " bytes, the most a diagram file can address with its 32-bit sizes";
}

// Opens path for reading and checks it is a regular file within the limit;
// the descriptor is -1 on failure, with the reason in error.
int OpenChecked(const std::string& path, std::string& error, uint64_t limit, uint64_t& size) {
  // Non-blocking, so that opening a pipe nobody writes to returns at once;
  // it is refused below like every other file that is not a regular one.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error = "Cannot open " + Quoted(path) + ": " + std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    error = "Cannot read " + Quoted(path) + ": " + std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    error = Quoted(path) + " is not a regular file";
  } else if (st.st_size < 0 || uint64_t(st.st_size) > limit) {
    error = TooLarge(path, limit);
  } else {
    size = uint64_t(st.st_size);
    return fd;
  }
  ::close(fd);
  return -1;
}
}  // namespace

bool CheckInputFile(const std::string& path, std::string& error, uint64_t limit) {
  uint64_t size = 0;
  const Fd fd(OpenChecked(path, error, limit, size));
  return fd.get() >= 0;
}

bool ReadInputFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
                   uint64_t limit) {
  out.clear();
  uint64_t size = 0;
  const Fd fd(OpenChecked(path, error, limit, size));
  if (fd.get() < 0) return false;
  ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  out.reserve(size_t(size));
  uint8_t chunk[1 << 16];
  for (;;) {
    const ssize_t k = ::read(fd.get(), chunk, sizeof chunk);
    if (k < 0) {
      if (errno == EINTR) continue;
      error = "Cannot read " + Quoted(path) + ": " + std::strerror(errno);
      out.clear();
      return false;
    }
    if (k == 0) return true;
    if (uint64_t(out.size()) + uint64_t(k) > limit) {  // it grew while being read
      error = TooLarge(path, limit);
      out.clear();
      return false;
    }
    out.insert(out.end(), chunk, chunk + k);
  }
}

bool CanReplaceFile(const std::string& path, std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;
    error = "Cannot write " + Quoted(path) + ": " + std::strerror(errno);
    return false;
  }
  if (S_ISREG(st.st_mode)) return true;
  error = Quoted(path) + " is not a regular file";
  return false;
}
