// Output file helpers of the export library: the output path derived from
// the bitmap path, and writing a file built in memory so that a failure never
// leaves a partly written or destroyed file at the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

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

// Writes size bytes to a temporary file beside path and renames it over path.
// Throws EWriteError; on failure the file at path is left as it was.
void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace vexolant
