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

// Writes all n bytes at offset (or at the file position when offset < 0);
// 0 or the error number.
int WriteAll(int fd, const std::uint8_t* p, std::size_t n, off_t offset) {
  while (n > 0) {
    const ssize_t w = offset < 0 ? ::write(fd, p, n) : ::pwrite(fd, p, n, offset);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (w == 0) return EIO;
    p += w;
    n -= std::size_t(w);
    if (offset >= 0) offset += off_t(w);
  }
  return 0;
}

}  // namespace

TOutputFile::TOutputFile(const std::string& path) : path_(path) {
  std::vector<char> tmp(path.begin(), path.end());
  const char suffix[] = ".vxtmp-XXXXXX";
  tmp.insert(tmp.end(), suffix, suffix + sizeof suffix);  // with the terminating zero
  fd_ = ::mkstemp(tmp.data());
  if (fd_ < 0) Fail(errno);
  tmpPath_ = tmp.data();
  buffer_.reset(new std::uint8_t[BufferSize]);
}

TOutputFile::~TOutputFile() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(tmpPath_.c_str());
  }
}

void TOutputFile::Fail(int err) const {
  throw EWriteError("Cannot write file \"" + path_ + "\": " + std::strerror(err));
}

void TOutputFile::Flush() {
  if (used_ == 0) return;
  if (const int err = WriteAll(fd_, buffer_.get(), used_, -1)) Fail(err);
  written_ += used_;
  used_ = 0;
}

void TOutputFile::Write(const std::uint8_t* data, std::size_t n) {
  if (fd_ < 0) throw std::logic_error("write to a committed file");
  if (n <= BufferSize - used_) {
    std::memcpy(buffer_.get() + used_, data, n);
    used_ += n;
    return;
  }
  Flush();
  if (n >= BufferSize) {
    if (const int err = WriteAll(fd_, data, n, -1)) Fail(err);
    written_ += n;
  } else {
    std::memcpy(buffer_.get(), data, n);
    used_ = n;
  }
}

void TOutputFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) {
  if (fd_ < 0) throw std::logic_error("write to a committed file");
  if (offset > Position() || n > Position() - offset)
    throw std::out_of_range("patch past the bytes written");
  Flush();
  if (const int err = WriteAll(fd_, data, n, off_t(offset))) Fail(err);
}

void TOutputFile::Commit() {
  if (fd_ < 0) throw std::logic_error("file committed twice");
  Flush();
  int err = 0;
  if (::fchmod(fd_, ModeFor(path_)) != 0) err = errno;
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && ::rename(tmpPath_.c_str(), path_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmpPath_.c_str());
    Fail(err);
  }
}

void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  TOutputFile file(path);
  file.Write(data, size);
  file.Commit();
}

}  // namespace vexolant
