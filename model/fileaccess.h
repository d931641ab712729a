#pragma once
// What the program and qvtool read and write as files: only regular files,
// and never more than a diagram file can hold. Devices (/dev/zero), pipes
// and folders are refused with a reason instead of being read without end
// or replaced by a file.

#include <cstdint>
#include <string>
#include <vector>

// A diagram file counts its sizes in 32 bits (the user block section length,
// each user block record's length), so no file beyond 2^32 - 1 bytes is one.
// No input file larger than that is read, descriptions included.
constexpr uint64_t kMaxInputFileBytes = 0xFFFFFFFFu;

// True when path could be read by ReadInputFile: it opens, is a regular file
// and is not larger than `limit`. Otherwise false with the same reason.
bool CheckInputFile(const std::string& path, std::string& error,
                    uint64_t limit = kMaxInputFileBytes);

// Reads the whole of path into out. Returns false with a reason naming the
// file when it cannot be opened or read, is not a regular file (a device, a
// pipe, a folder) or holds more than `limit` bytes; reading stops at the
// limit even when the file grows meanwhile.
bool ReadInputFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
                   uint64_t limit = kMaxInputFileBytes);

// True when path may be written by replacing it: it does not exist yet or is
// a regular file (through any symbolic links). A device, pipe, socket or
// folder is refused with a reason, so that saving never puts a file in its
// place.
bool CanReplaceFile(const std::string& path, std::string& error);
