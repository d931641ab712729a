// JPEG output of SaveTo (format 2): decoded by libjpeg (and QImage where
// available), compared with a compression made here with the same settings,
// and the library's error path.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <random>

#include "platform/bmpfile.h"
#include "platform/testbmp.h"
#include "vexolant/jpegwriter.h"
#include "vexolant/vxtest.h"

#ifdef VX_TEST_HAVE_QT
#include <QImage>
#endif

using vxtest::Library;
using vxtest::ReadFile;
using vxtest::TempDir;
using vxtest::WriteFile;

namespace {

struct JumpError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void JumpOut(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JumpError*>(cinfo->err)->jump, 1);
}

struct Image {
  int width = 0, height = 0, components = 0;
  std::vector<std::uint8_t> rgb;
};

bool DecodeJpeg(const std::vector<std::uint8_t>& bytes, Image* out) {
  jpeg_decompress_struct cinfo;
  JumpError err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = JumpOut;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  out->width = int(cinfo.output_width);
  out->height = int(cinfo.output_height);
  out->components = cinfo.num_components;
  out->rgb.resize(std::size_t(out->width) * std::size_t(out->height) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row =
        out->rgb.data() + std::size_t(cinfo.output_scanline) * std::size_t(out->width) * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

// The same compression done here with libjpeg's own memory destination.
std::vector<std::uint8_t> ReferenceJpeg(const platform::BmpFile& b) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &mem, &size);
  cinfo.image_width = JDIMENSION(b.Width());
  cinfo.image_height = JDIMENSION(b.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 50, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(std::size_t(b.Width()) * 3);
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const std::uint32_t c = b.PixelAt(x, y);
      row[std::size_t(x) * 3] = std::uint8_t(c);
      row[std::size_t(x) * 3 + 1] = std::uint8_t(c >> 8);
      row[std::size_t(x) * 3 + 2] = std::uint8_t(c >> 16);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(mem, mem + size);
  std::free(mem);
  return out;
}

// A smooth picture with a few hard edges, so quality 50 keeps it close.
testbmp::BmpDesc Picture(int bits, int w, int h) {
  testbmp::BmpDesc s;
  s.bits = bits;
  s.width = w;
  s.height = h;
  if (bits <= 8) {
    for (int i = 0; i < (1 << bits); ++i)
      s.palette.push_back(
          testbmp::Rgb(i * 255 / ((1 << bits) - 1), 128, 255 - i * 255 / ((1 << bits) - 1)));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) s.pixels.push_back(std::uint32_t((x * (1 << bits)) / w));
    return s;
  }
  if (bits == 16) {
    s.compression = 3;
    s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int r = x * 255 / w, g = y * 255 / h, b = (x + y) % 64 < 32 ? 200 : 60;
      if (bits == 16)
        s.pixels.push_back(std::uint32_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)));
      else if (bits == 24)
        s.pixels.push_back(testbmp::Raw24(r, g, b));
      else
        s.pixels.push_back(std::uint32_t((r << 16) | (g << 8) | b));
    }
  return s;
}

}  // namespace

TEST(JpegOutput, EveryDepthIsABaselineColourJpegCloseToTheBitmap) {
  TempDir dir("jpeg");
  for (int bits : {1, 4, 8, 16, 24, 32})
    // 400 by 300 at 24 and 32 bits: files that are mapped, whose rows go
    // to libjpeg where they lie.
    for (auto [w, h] :
         {std::pair{1, 1}, std::pair{17, 9}, std::pair{160, 120}, std::pair{400, 300}}) {
      SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h);
      const auto bmpBytes = testbmp::Build(Picture(bits, w, h));
      WriteFile(dir / "pic.bmp", bmpBytes);
      ASSERT_EQ(Library::Get().SaveTo(2, (dir / "pic.bmp").c_str()), 1)
          << Library::Get().GetLastErrorText();
      const auto jpg = ReadFile(dir / "pic.jpg");
      const platform::BmpFile bmp =
          platform::BmpFile::LoadFromMemory(bmpBytes.data(), bmpBytes.size());

      // Same bytes as libjpeg gives with these settings.
      ASSERT_EQ(jpg, ReferenceJpeg(bmp));
      // Baseline (SOF0), no progressive frame (SOF2).
      bool sof0 = false, sof2 = false;
      for (std::size_t i = 0; i + 1 < jpg.size(); ++i) {
        sof0 |= jpg[i] == 0xFF && jpg[i + 1] == 0xC0;
        sof2 |= jpg[i] == 0xFF && jpg[i + 1] == 0xC2;
      }
      EXPECT_TRUE(sof0);
      EXPECT_FALSE(sof2);

      Image img;
      ASSERT_TRUE(DecodeJpeg(jpg, &img));
      ASSERT_EQ(img.width, w);
      ASSERT_EQ(img.height, h);
      EXPECT_EQ(img.components, 3);
      double error = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const std::uint32_t c = bmp.PixelAt(x, y);
          const std::uint8_t* p = &img.rgb[std::size_t(y * w + x) * 3];
          error += std::abs(int(p[0]) - int(c & 255)) + std::abs(int(p[1]) - int((c >> 8) & 255)) +
                   std::abs(int(p[2]) - int(c >> 16));
        }
      EXPECT_LT(error / (3.0 * w * h), 20.0);
#ifdef VX_TEST_HAVE_QT
      QImage q(QString::fromStdString(dir / "pic.jpg"));
      ASSERT_FALSE(q.isNull());
      EXPECT_EQ(q.width(), w);
      EXPECT_EQ(q.height(), h);
#endif
    }
}

TEST(JpegOutput, LibraryFailureIsReportedAndReleased) {
  // Wider than a JPEG can be: libjpeg refuses it in jpeg_start_compress.
  std::vector<std::uint8_t> rgb(65535 * 3, 128);
  const platform::BmpFile wide = platform::BmpFile::MakeTrueColor(65535, 1, 24, rgb);
  try {
    vexolant::CompressJpeg(wide, 50);
    ADD_FAILURE() << "an oversized image was compressed";
  } catch (const vexolant::EJpegError& e) {
    EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
  }
  // The next compression works normally.
  const platform::BmpFile small =
      platform::BmpFile::MakeTrueColor(8, 8, 24, std::vector<std::uint8_t>(192, 200));
  EXPECT_EQ(vexolant::CompressJpeg(small, 50), ReferenceJpeg(small));

  // Through the C entry point the failure is a 0 with the text.
  TempDir dir("jpegfail");
  testbmp::BmpDesc s;
  s.width = 65535;
  s.height = 1;
  s.pixels.assign(65535, 0);
  WriteFile(dir / "wide.bmp", testbmp::Build(s));
  EXPECT_EQ(Library::Get().SaveTo(2, (dir / "wide.bmp").c_str()), 0);
  EXPECT_STRNE(Library::Get().GetLastErrorText(), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "wide.jpg"));
  EXPECT_EQ(Library::Get().SaveTo(1, (dir / "wide.bmp").c_str()), 1)
      << Library::Get().GetLastErrorText();
}
