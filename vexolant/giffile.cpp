#include "vexolant/giffile.h"

#include "vexolant/gifexceptions.h"
#include "vexolant/outputfile.h"

namespace vexolant {

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void PutTable(std::vector<std::uint8_t>& out, const TColorTable& table) {
  out.insert(out.end(), table.Triples.begin(),
             table.Triples.begin() + std::ptrdiff_t(table.Count) * 3);
}

}  // namespace

TGifFile::TGifFile() = default;

void TGifFile::AddBitmap(std::unique_ptr<platform::BmpFile> bitmap) {
  Images.push_back(std::make_unique<TGifSubImage>(this, std::move(bitmap)));
}

void TGifFile::ConvertImages() {
  for (auto& image : Images) {
    if (image->Converted()) continue;
    std::unique_ptr<TGifSubImage> converted = image->Convert();
    if (GlobalTable.Count == 0) {
      GlobalTable = converted->ColorTable;
    } else {
      converted->HasLocalTable = true;
    }
    while ((1 << GlobalTableSizeExponent) < GlobalTable.Count) ++GlobalTableSizeExponent;
    if (converted->Width > ScreenWidth) ScreenWidth = converted->Width;
    if (converted->Height > ScreenHeight) ScreenHeight = converted->Height;
    image = std::move(converted);  // disposes of the old image and its bitmap
  }
}

std::uint8_t TGifFile::ScreenFlags() const {
  const int k = ColorCountExponent(GlobalTable.Count);
  if (k == 0) throw EGifException("unexpected number of colors");
  return std::uint8_t(0x80 + (k - 1) * 16 + (GlobalTableSizeExponent - 1));
}

std::vector<std::uint8_t> TGifFile::SaveToMemory() {
  if (Images.empty()) throw EGifException("GIF file has no image");
  if (!Images.front()->Converted()) ConvertImages();

  std::vector<std::uint8_t> out;
  out.insert(out.end(), Header, Header + 6);
  PutU16(out, ScreenWidth);
  PutU16(out, ScreenHeight);
  out.push_back(ScreenFlags());
  out.push_back(BackgroundIndex);
  out.push_back(AspectRatio);
  PutTable(out, GlobalTable);

  for (auto& image : Images) {
    out.push_back(0x2C);
    if (!image->CompressedData) image->Compress();
    PutU16(out, image->Left);
    PutU16(out, image->Top);
    PutU16(out, image->Width);
    PutU16(out, image->Height);
    out.push_back(image->DescriptorFlags());
    if (image->HasLocalTable) PutTable(out, image->ColorTable);

    const TByteBuffer& data = *image->CompressedData;
    out.reserve(out.size() + data.Size() + data.BlockCount() + 3);
    out.push_back(std::uint8_t(image->MinCodeSize));
    for (std::size_t b = 0; b < data.BlockCount(); ++b) {
      const std::size_t n = data.BlockLength(b);
      out.push_back(std::uint8_t(n));
      out.insert(out.end(), data.BlockData(b), data.BlockData(b) + n);
    }
    out.push_back(0);
  }
  out.push_back(0x3B);
  return out;
}

void TGifFile::SaveToFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = SaveToMemory();
  WriteWholeFile(path, bytes.data(), bytes.size());
}

}  // namespace vexolant
