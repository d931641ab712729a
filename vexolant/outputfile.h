// Output file helpers of the export library: the output path derived from
// the bitmap path, and an output file that is written beside the target and
// only takes the target's name when it is complete, so that a failure never
// leaves a partly written or destroyed file at the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "vexolant/bytesink.h"

namespace vexolant {

// A file that could not be written.
class EWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bitmap path with its extension replaced: the part of the last path
// component from its last "." on becomes ext; a last component without "."
// gets ext appended (a "." in a folder name does not count).
std::string OutputPathFor(const std::string& bitmapPath, const std::string& ext);

// A new file for path: the bytes go, through a buffer of a few dozen
// kilobytes, into a temporary file in path's folder, which Commit renames
// over path. Destroyed without Commit, it removes the temporary file and
// path is left as it was. Failures throw EWriteError.
class TOutputFile : public TByteSink {
 public:
  explicit TOutputFile(const std::string& path);
  ~TOutputFile() override;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  void Write(const std::uint8_t* data, std::size_t n) override;
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) override;
  std::uint64_t Position() const override { return written_ + used_; }
  // Writes what is buffered, gives the file the permissions a new file (or
  // the file it replaces) has, and renames it over path.
  void Commit();

 private:
  static constexpr std::size_t BufferSize = 64 * 1024;
  void Flush();
  [[noreturn]] void Fail(int err) const;

  std::string path_;
  std::string tmpPath_;
  int fd_ = -1;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;  // bytes already in the file
};

// Writes size bytes to a temporary file beside path and renames it over path.
// Throws EWriteError; on failure the file at path is left as it was.
void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace vexolant
