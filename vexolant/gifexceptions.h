// Failure types of the GIF writer and of its byte arrays.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace vexolant {

// A failure of the GIF writer itself (colour counts it cannot write).
class EGifException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A byte array read or written outside its bounds.
class EIndexOutOfBounds : public std::runtime_error {
 public:
  EIndexOutOfBounds() : std::runtime_error("Dynamic array index out of bounds") {}
};

// A byte array whose block of memory could not be obtained.
class ENotEnoughMemory : public std::runtime_error {
 public:
  explicit ENotEnoughMemory(std::size_t requested)
      : std::runtime_error(
            "error in TBigByteArray.create: Not enough contiguous memory available\r\n"
            " requested memory block: " +
            std::to_string(requested) + " bytes") {}
};

}  // namespace vexolant
