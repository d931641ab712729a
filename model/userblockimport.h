#pragma once
// Import of one user block from its text description:
//   line 1: the name (the whole line)
//   line 2: outline points "X,Y;X,Y;..." (blanks allowed around each number,
//           no ";" after the last pair)
//   line 3: text rectangle "Left,Top,Right,Bottom" (blanks may precede a
//           number but not follow it)
//   line 4: the name of a bitmap file whose top-left 16x16 pixels become the
//           tool image; a relative name is taken from the description's folder
// Further lines are ignored. Numbers use the program's integer syntax (see
// TryStrToInt). The identity comes from the clock; the clock, the random
// generator and the bitmap loader can be replaced, so tests fix them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/userblock.h"

class TUserBlockList;

// The program's integer syntax: leading blanks, an optional sign, then decimal
// digits or "$" and hexadecimal digits, nothing after them. Decimal values
// must fit a signed 32-bit integer; hexadecimal ones up to $FFFFFFFF are taken
// as 32-bit patterns ($FFFFFFFF is -1).
bool TryStrToInt(const std::string& text, int32_t& value);
// The conversion error for a text that is no integer:
// "'<text>' is not a valid integer value".
std::string NotAnIntegerMessage(const std::string& text);

// Local calendar time with milliseconds.
struct TImportClock {
  int Year = 2000, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Id1 of an imported block: seconds in a calendar of twelve 31-day months
// since 2000, in wrapping 32-bit arithmetic.
uint32_t UserBlockId1(const TImportClock& now);

// A picture read through the loader: its size and a pixel accessor giving
// 0xRRGGBB for 0 <= x < Width, 0 <= y < Height (row 0 at the top).
struct TToolImageSource {
  int Width = 0;
  int Height = 0;
  std::function<uint32_t(int x, int y)> PixelRgb;
};

// Loads the picture named fileName; on failure returns false with a message.
using TToolImageLoader =
    std::function<bool(const std::string& fileName, TToolImageSource& image, std::string* error)>;

// What an import takes from the outside. Empty members use the defaults: the
// local clock; a generator seeded from the system clock; the BMP file reader.
struct TUserBlockImportEnv {
  std::function<TImportClock()> Clock;
  // A pseudo-random value with 0 <= value < range; 0 when range is 0.
  std::function<uint32_t(uint32_t range)> Random;
  TToolImageLoader LoadToolImage;
};

TImportClock LocalClockNow();
// The loader used when none is given: reads Windows bitmap files.
TToolImageLoader DefaultToolImageLoader();

// Builds a block from description text. baseDir (may be empty) is the folder
// against which a relative bitmap name is resolved. Returns false, with the
// reason in error, when the description is refused.
bool ParseUserBlockDescription(const std::string& text, const std::string& baseDir,
                               const TUserBlockImportEnv& env, std::unique_ptr<TUserBlock>& block,
                               std::string* error);

// Reads the description file, builds the block and adds it to list. Returns
// false, with the reason in error and the list unchanged, when the file or
// the description is refused. On success index (when given) receives the new
// entry's position, or -1 when a block with the same key was in the list
// already (the list keeps its own).
bool ImportUserBlockFromText(const std::string& fileName, TUserBlockList& list, int* index,
                             std::string* error, const TUserBlockImportEnv& env = {});
