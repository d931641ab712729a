#pragma once
// A user-defined block shape: a closed polygon in percent of the block's
// rectangle, a text rectangle in percent and a 16x16 monochrome tool image.
// The binary record ("UBHead01") is shared by ".blu" files and diagram files.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/geometry.h"

class TStream;

// One outline point in percent of the block's width and height; the record
// keeps each coordinate in one byte.
struct TPercentPoint {
  uint8_t X = 0;
  uint8_t Y = 0;
  friend bool operator==(const TPercentPoint&, const TPercentPoint&) = default;
};

// The tool image as a 16 by 16 bitmap of 0xRRGGBB pixels, row by row: black
// where the bit is set, white elsewhere.
struct TToolBitmap {
  static constexpr int Width = 16;
  static constexpr int Height = 16;
  static constexpr uint32_t Black = 0x000000;
  static constexpr uint32_t White = 0xFFFFFF;
  std::array<uint32_t, Width * Height> Rgb{};
  uint32_t Pixel(int x, int y) const { return Rgb[size_t(y * Width + x)]; }
};

class TUserBlock {
 public:
  static constexpr int MaxPoints = 255;

  std::string Name;
  uint32_t Id1 = 0;
  uint32_t Id2 = 0;
  uint8_t PointCount = 0;
  std::array<TPercentPoint, MaxPoints> Points{};  // Points[0] is point 1
  uint8_t EditLeft = 0;
  uint8_t EditTop = 0;
  uint8_t EditRight = 0;
  uint8_t EditBottom = 0;
  // Word i is pixel column i; bit 15 is the top row, bit 0 the bottom row;
  // a set bit is black.
  std::array<uint16_t, 16> ToolImage{};

  // Appends a point; returns false (and changes nothing) when 255 points are
  // already there.
  bool AddPoint(TPercentPoint p);
  void SetEditRect(uint8_t left, uint8_t top, uint8_t right, uint8_t bottom);
  // Reads columns 0..15 and rows 0..15 through pixelRgb(x, y) -> 0xRRGGBB; a
  // pixel that is not pure white sets its bit. Pixels outside width/height
  // count as white.
  template <class PixelFn>
  void SetToolImage(int width, int height, PixelFn pixelRgb) {
    for (int x = 0; x < 16; ++x) {
      uint16_t w = 0;
      for (int y = 0; y < 16; ++y)
        if (x < width && y < height && (pixelRgb(x, y) & 0xFFFFFFu) != 0xFFFFFFu)
          w = uint16_t(w | (1u << (15 - y)));
      ToolImage[size_t(x)] = w;
    }
  }
  // True when pixel (x, y) of the tool image is black (false outside 16x16).
  bool ToolImagePixel(int x, int y) const;
  // A new 16x16 bitmap of the tool image.
  TToolBitmap GetToolImage() const;

  // Id2 and Id1 as 8 upper-case hex digits each, joined by "-".
  std::string KeyText() const;
  static std::string KeyOf(uint32_t id1, uint32_t id2);

  // The outline points placed in a rectangle: (trunc(sx*X + L), trunc(sy*Y + T))
  // with sx = (R-L)*0.01, sy = (B-T)*0.01.
  std::vector<TPoint> PlacePoints(const TRect& r) const;
  // Hands the closed outline placed in r to a canvas: moveTo(point 1), then
  // lineTo(point 2) ... lineTo(last point) and lineTo(point 1). Never fills;
  // a block without points draws nothing.
  template <class MoveToFn, class LineToFn>
  void DrawOutline(const TRect& r, MoveToFn moveTo, LineToFn lineTo) const {
    const std::vector<TPoint> pts = PlacePoints(r);
    if (pts.empty()) return;
    moveTo(pts.front());
    for (size_t i = 1; i < pts.size(); ++i) lineTo(pts[i]);
    lineTo(pts.front());
  }
  // Even-odd inside test of the placed outline.
  bool IsPointIn(const TRect& r, TPoint p) const;
  // The text rectangle placed in r (2 units inside the placed edit rectangle).
  TRect GetEditRect(const TRect& r) const;
  // Whether p lies within 3 units of the placed outline; q is the snapped point
  // (p itself when nothing is found). Edges are tried from the closing edge on
  // and the first one near enough wins.
  void BorderOfPoint(const TRect& r, TPoint p, bool& found, TPoint& q) const;

  // One record. ReadFromStream returns 0 on success, 1 when the name is cut
  // off, 255 for a wrong header or a record cut short.
  // The block is changed only when the whole record was read.
  int ReadFromStream(TStream& s);
  // A record ends its name at a 0 byte, so a name holding one is written only
  // up to it (and RecordLength counts only that part).
  bool WriteToStream(TStream& s) const;
  // 58 + name length + 2 * PointCount.
  uint32_t RecordLength() const;
};
