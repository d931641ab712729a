// The GIF87a writer: one file with a global colour table and its images, no
// extension blocks. The whole file is built in memory before anything is
// written to the output path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bmpfile.h"
#include "vexolant/colortable.h"
#include "vexolant/gifsubimage.h"

namespace vexolant {

class TGifFile {
 public:
  TGifFile();

  // Appends an image that owns the bitmap and is not yet converted.
  void AddBitmap(std::unique_ptr<platform::BmpFile> bitmap);
  // Converts the images if needed and builds the whole file in memory.
  std::vector<std::uint8_t> SaveToMemory();
  // Builds the file in memory, then replaces the file at path with it.
  void SaveToFile(const std::string& path);

  // The packed flags byte of the logical screen descriptor; throws
  // EGifException "unexpected number of colors" for a global count that
  // is not a power of two from 2 to 256.
  std::uint8_t ScreenFlags() const;

  std::uint8_t Header[6] = {0x47, 0x49, 0x46, 0x38, 0x37, 0x61};  // "GIF87a"
  std::uint16_t ScreenWidth = 0;
  std::uint16_t ScreenHeight = 0;
  std::uint8_t BackgroundIndex = 0;
  std::uint8_t AspectRatio = 0;
  bool HasGlobalTable = true;
  int GlobalTableSizeExponent = 1;
  TColorTable GlobalTable;
  std::vector<std::unique_ptr<TGifSubImage>> Images;

 private:
  void ConvertImages();
};

}  // namespace vexolant
