// The three exported entry points of libvexolant.so. No C++ exception leaves
// them: every failure becomes a result of 0 and a text for GetLastErrorText.
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/bmpfile.h"
#include "vexolant/giffile.h"
#include "vexolant/jpegwriter.h"
#include "vexolant/outputfile.h"
#include "vexolant/vexolant.h"

#define VEXOLANT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const char FilterText[] = "GIF-files (*.gif)|*.gif|JPEG-files (*.jpg)|*.jpg|";

constexpr unsigned char FormatGif = 1;
constexpr unsigned char FormatJpeg = 2;
constexpr int JpegQuality = 50;

// The text of the last failure. Calls come one at a time from the editor's
// thread; this is the only thing kept from one call to the next.
std::string& LastError() {
  static std::string text;
  return text;
}

// The output path for a bitmap; a bitmap whose own name ends in the output
// extension would be replaced by its export, so it is refused.
std::string OutputPath(const std::string& bitmapPath, const char* ext) {
  std::string out = vexolant::OutputPathFor(bitmapPath, ext);
  if (out == bitmapPath)
    throw std::runtime_error("The bitmap file \"" + bitmapPath +
                             "\" would be replaced by its own export");
  return out;
}

void SaveGif(const std::string& bitmapPath) {
  const std::string outPath = OutputPath(bitmapPath, ".gif");
  auto bitmap = std::make_unique<platform::BmpFile>(platform::BmpFile::LoadFromFile(bitmapPath));
  vexolant::TGifFile gif;
  gif.AddBitmap(std::move(bitmap));
  gif.SaveToFile(outPath);
}

void SaveJpeg(const std::string& bitmapPath) {
  const std::string outPath = OutputPath(bitmapPath, ".jpg");
  const platform::BmpFile bitmap = platform::BmpFile::LoadFromFile(bitmapPath);
  vexolant::TOutputFile file(outPath);
  vexolant::WriteJpeg(bitmap, JpegQuality, file);
  file.Commit();
}

}  // namespace

VEXOLANT_EXPORT const char* GetFilter() { return FilterText; }

VEXOLANT_EXPORT unsigned char SaveTo(unsigned char format, const char* path) {
  try {
    LastError().clear();
    if (format != FormatGif && format != FormatJpeg) {
      LastError() = "Unknown graphic format number " + std::to_string(format);
      return 0;
    }
    if (!path || !*path) {
      LastError() = "No bitmap file name given";
      return 0;
    }
    if (format == FormatGif)
      SaveGif(path);
    else
      SaveJpeg(path);
    return 1;
  } catch (const std::bad_alloc&) {
    LastError() = "Not enough memory to export the picture";
  } catch (const std::exception& e) {
    try {
      LastError() = e.what();
    } catch (...) {
    }
  } catch (...) {
    try {
      LastError() = "Unknown failure while exporting the picture";
    } catch (...) {
    }
  }
  return 0;
}

VEXOLANT_EXPORT const char* GetLastErrorText() { return LastError().c_str(); }
