#include "model/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "model/fileaccess.h"

bool TStream::ReadU16(uint16_t& v) {
  uint8_t b[2];
  if (Read(b, 2) != 2) return false;
  v = LoadU16(b);
  return true;
}

bool TStream::ReadU32(uint32_t& v) {
  uint8_t b[4];
  if (Read(b, 4) != 4) return false;
  v = LoadU32(b);
  return true;
}

bool TStream::WriteU16(uint16_t v) {
  uint8_t b[2];
  StoreU16(b, v);
  return Write(b, 2);
}

bool TStream::WriteU32(uint32_t v) {
  uint8_t b[4];
  StoreU32(b, v);
  return Write(b, 4);
}

size_t TMemoryStream::Read(void* dst, size_t n) {
  if (pos_ >= buf_.size()) return 0;
  const size_t k = std::min(n, buf_.size() - pos_);
  std::memcpy(dst, buf_.data() + pos_, k);
  pos_ += k;
  return k;
}

bool TMemoryStream::Write(const void* src, size_t n) {
  if (n == 0) return true;
  if (pos_ + n > buf_.size()) buf_.resize(pos_ + n);
  std::memcpy(buf_.data() + pos_, src, n);
  pos_ += n;
  return true;
}

bool TMemoryStream::Seek(uint64_t pos) {
  if (pos > buf_.size()) return false;
  pos_ = size_t(pos);
  return true;
}

size_t TByteViewStream::Read(void* dst, size_t n) {
  if (pos_ >= size_) return 0;
  const size_t k = std::min(n, size_ - pos_);
  std::memcpy(dst, data_ + pos_, k);
  pos_ += k;
  return k;
}

bool TByteViewStream::Seek(uint64_t pos) {
  if (pos > size_) return false;
  pos_ = size_t(pos);
  return true;
}

namespace {
void SetError(std::string* error, const std::string& what, const std::string& path, int err) {
  if (error) *error = what + " \"" + path + "\": " + std::strerror(err);
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error) {
  std::string reason;
  if (ReadInputFile(path, out, reason)) return true;
  if (error) *error = reason;
  return false;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error) {
  // A device, pipe or folder under that name is never replaced by a file.
  std::string reason;
  if (!CanReplaceFile(path, reason)) {
    if (error) *error = reason;
    return false;
  }
  std::string tmpl = path + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    SetError(error, "Cannot create a file beside", path, errno);
    return false;
  }
  const std::string tmp(name.data());
  size_t done = 0;
  int err = 0;
  while (done < bytes.size()) {
    const ssize_t k = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (k < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    done += size_t(k);
  }
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  // Keep the permissions of the file being replaced, or the usual 0666 & ~umask.
  struct stat st {};
  if (err == 0) {
    if (::stat(path.c_str(), &st) == 0) {
      ::fchmod(fd, st.st_mode & 07777);
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(fd, 0666 & ~mask);
    }
  }
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tmp.c_str());
    SetError(error, "Cannot write", path, err);
    return false;
  }
  return true;
}
