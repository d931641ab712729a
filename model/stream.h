#pragma once
// One small byte-stream abstraction used everywhere a diagram or a user block
// record is read or written: files, undo snapshots, templates, the translator's
// working copy. Reads never throw: they report how many bytes they delivered,
// so a cut-off stream is a result the readers handle, not a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Little-endian numbers in byte buffers: the one definition the stream
// methods and the diagram file reader and writer share.
inline uint16_t LoadU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to n bytes into dst; returns the number read (0 at the end).
  virtual size_t Read(void* dst, size_t n) = 0;
  // Writes n bytes; returns false when they could not all be written.
  virtual bool Write(const void* src, size_t n) = 0;
  virtual uint64_t Position() const = 0;
  virtual bool Seek(uint64_t pos) = 0;
  virtual uint64_t Size() const = 0;

  uint64_t Remaining() const {
    auto p = Position(), s = Size();
    return p < s ? s - p : 0;
  }
  bool AtEnd() const { return Position() >= Size(); }

  // Little-endian helpers. ReadXxx return false (and leave the value) when the
  // stream ended first.
  bool ReadU8(uint8_t& v) { return Read(&v, 1) == 1; }
  bool ReadU16(uint16_t& v);
  bool ReadU32(uint32_t& v);
  bool ReadExact(void* dst, size_t n) { return Read(dst, n) == n; }
  bool WriteU8(uint8_t v) { return Write(&v, 1); }
  bool WriteU16(uint16_t v);
  bool WriteU32(uint32_t v);
  bool WriteString(const std::string& s) { return Write(s.data(), s.size()); }
};

// A growable in-memory stream.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : buf_(std::move(bytes)) {}
  size_t Read(void* dst, size_t n) override;
  bool Write(const void* src, size_t n) override;
  uint64_t Position() const override { return pos_; }
  bool Seek(uint64_t pos) override;
  uint64_t Size() const override { return buf_.size(); }

  const std::vector<uint8_t>& Bytes() const { return buf_; }
  std::vector<uint8_t>& Bytes() { return buf_; }
  void Clear() {
    buf_.clear();
    pos_ = 0;
  }

 private:
  std::vector<uint8_t> buf_;
  size_t pos_ = 0;
};

// A read-only view of bytes owned elsewhere.
class TByteViewStream : public TStream {
 public:
  TByteViewStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(void* dst, size_t n) override;
  bool Write(const void*, size_t) override { return false; }
  uint64_t Position() const override { return pos_; }
  bool Seek(uint64_t pos) override;
  uint64_t Size() const override { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Reads a whole file into memory. Returns false and sets error (with the
// system's reason) when the file cannot be read, is not a regular file or is
// larger than a diagram file can be (model/fileaccess.h).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out,
                   std::string* error = nullptr);

// Writes bytes to path through a temporary file in the same folder that is
// renamed over the target only after everything was written and flushed, so a
// failed save never destroys the previous file.
// A target that is a device, pipe or folder is refused.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                         std::string* error = nullptr);
