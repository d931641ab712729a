// The GIF87a writer: one file with a global colour table and its images, no
// extension blocks. The file is written front to back into a sink, the
// colour tables patched in at the end; a file on disk goes to a temporary
// file that takes the output path's name only when it is complete.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/bmpfile.h"
#include "vexolant/bytesink.h"
#include "vexolant/colortable.h"
#include "vexolant/gifsubimage.h"

namespace vexolant {

class TGifFile {
 public:
  TGifFile();

  // Appends an image that owns the bitmap and is not yet converted.
  void AddBitmap(std::unique_ptr<platform::BmpFile> bitmap);
  // Converts the images if needed and writes the whole file into out.
  void Save(TByteSink& out);
  // The whole file in memory.
  std::vector<std::uint8_t> SaveToMemory();
  // Writes the file beside path, then replaces the file at path with it.
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
  const TGifSubImage* globalSource_ = nullptr;  // the image whose table is the global one
};

}  // namespace vexolant
