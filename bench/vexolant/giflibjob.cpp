#include "giflibjob.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#ifdef VX_BENCH_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace vxbench {

#ifndef VX_BENCH_HAVE_GIFLIB

bool HaveGiflib() { return false; }
bool GiflibSave(const std::string&, const std::string&) { return false; }

#else

bool HaveGiflib() { return true; }

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    EGifCloseFile(g, &err);
  }
};

}  // namespace

bool GiflibSave(const std::string& bmpPath, const std::string& gifPath) {
  // The whole file in one read, as a small C program would do it.
  std::FILE* f = std::fopen(bmpPath.c_str(), "rb");
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::rewind(f);
  std::unique_ptr<std::uint8_t[]> file(new std::uint8_t[std::size_t(size)]);
  const bool read = std::fread(file.get(), 1, std::size_t(size), f) == std::size_t(size);
  std::fclose(f);
  if (!read || size < 54) return false;
  const std::uint8_t* d = file.get();
  const int w = int(U32(d + 18)), h = int(U32(d + 22)), bits = d[28];
  const std::size_t offBits = U32(d + 10);
  const std::size_t stride = ((std::size_t(w) * std::size_t(bits) + 31) / 32) * 4;
  if (bits != 8 && bits != 24) return false;

  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  if (bits == 8) {
    for (int i = 0; i < 256; ++i) {
      const std::uint8_t* e = d + 54 + 4 * i;
      map->Colors[i] = GifColorType{e[2], e[1], e[0]};
    }
  } else {
    for (int i = 0; i < 256; ++i)
      map->Colors[i] = i < 216 ? GifColorType{GifByteType(i / 36 * 51), GifByteType(i / 6 % 6 * 51),
                                              GifByteType(i % 6 * 51)}
                               : GifColorType{0, 0, 0};
  }

  int err = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(gifPath.c_str(), false, &err));
  bool ok = gif && EGifPutScreenDesc(gif.get(), w, h, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) == GIF_OK;
  GifFreeMapObject(map);

  std::vector<GifPixelType> line(static_cast<std::size_t>(w));
  std::uint8_t level[256];
  for (int v = 0; v < 256; ++v) level[v] = std::uint8_t((v + 25) / 51);
  for (int y = 0; ok && y < h; ++y) {
    std::uint8_t* row = file.get() + offBits + std::size_t(h - 1 - y) * stride;
    GifPixelType* px = row;  // 8 bits: the file's row itself
    if (bits == 24) {
      std::uint32_t last = 0xFFFFFFFF;
      GifPixelType index = 0;
      for (int x = 0; x < w; ++x, row += 3) {
        const std::uint32_t c =
            std::uint32_t(row[0]) | std::uint32_t(row[1]) << 8 | std::uint32_t(row[2]) << 16;
        if (c != last) {
          last = c;
          index = GifPixelType(level[row[2]] * 36 + level[row[1]] * 6 + level[row[0]]);
        }
        line[std::size_t(x)] = index;
      }
      px = line.data();
    }
    ok = EGifPutLine(gif.get(), px, w) == GIF_OK;
  }
  if (!gif) return false;
  const int closed = EGifCloseFile(gif.release(), &err);
  return ok && closed == GIF_OK;
}

#endif

}  // namespace vxbench
