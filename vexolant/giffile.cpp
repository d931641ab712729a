#include "vexolant/giffile.h"

#include "vexolant/gifexceptions.h"
#include "vexolant/outputfile.h"

namespace vexolant {

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void PutTable(TByteSink& out, const TColorTable& table) {
  out.Write(table.Triples.data(), std::size_t(table.Count) * 3);
}

void PatchTable(TByteSink& out, std::uint64_t at, const TColorTable& table) {
  out.WriteAt(at, table.Triples.data(), std::size_t(table.Count) * 3);
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
      globalSource_ = converted.get();
    } else {
      converted->HasLocalTable = true;
    }
    while ((1 << GlobalTableSizeExponent) < GlobalTable.Count) ++GlobalTableSizeExponent;
    if (converted->Width > ScreenWidth) ScreenWidth = converted->Width;
    if (converted->Height > ScreenHeight) ScreenHeight = converted->Height;
    image = std::move(converted);  // disposes of the old image
  }
}

std::uint8_t TGifFile::ScreenFlags() const {
  const int k = ColorCountExponent(GlobalTable.Count);
  if (k == 0) throw EGifException("unexpected number of colors");
  return std::uint8_t(0x80 + (k - 1) * 16 + (GlobalTableSizeExponent - 1));
}

// A colour table's entries may still grow while its image's data is written
// (see TGifSubImage::Convert), so each table is written where it belongs
// with the entries known so far and written again, complete, afterwards.
void TGifFile::Save(TByteSink& out) {
  if (Images.empty()) throw EGifException("GIF file has no image");
  if (!Images.front()->Converted()) ConvertImages();

  std::vector<std::uint8_t> head(Header, Header + 6);
  PutU16(head, ScreenWidth);
  PutU16(head, ScreenHeight);
  head.push_back(ScreenFlags());
  head.push_back(BackgroundIndex);
  head.push_back(AspectRatio);
  out.Write(head.data(), head.size());
  const std::uint64_t globalAt = out.Position();
  PutTable(out, GlobalTable);

  for (auto& image : Images) {
    std::vector<std::uint8_t> descriptor = {0x2C};
    PutU16(descriptor, image->Left);
    PutU16(descriptor, image->Top);
    PutU16(descriptor, image->Width);
    PutU16(descriptor, image->Height);
    descriptor.push_back(image->DescriptorFlags());
    out.Write(descriptor.data(), descriptor.size());
    const std::uint64_t localAt = out.Position();
    if (image->HasLocalTable) PutTable(out, image->ColorTable);
    image->WriteData(out);
    if (image->HasLocalTable) {
      PatchTable(out, localAt, image->ColorTable);
    } else if (image.get() == globalSource_) {
      GlobalTable = image->ColorTable;
      PatchTable(out, globalAt, GlobalTable);
    }
  }
  out.Put(0x3B);
}

std::vector<std::uint8_t> TGifFile::SaveToMemory() {
  TMemorySink sink;
  Save(sink);
  return std::move(sink.Bytes);
}

void TGifFile::SaveToFile(const std::string& path) {
  TOutputFile file(path);
  Save(file);
  file.Commit();
}

}  // namespace vexolant
