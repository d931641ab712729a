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
  // True when pixel (x, y) of the tool image is black.
  bool ToolImagePixel(int x, int y) const;

  // Id2 and Id1 as 8 upper-case hex digits each, joined by "-".
  std::string KeyText() const;
  static std::string KeyOf(uint32_t id1, uint32_t id2);

  // The outline points placed in a rectangle: (trunc(sx*X + L), trunc(sy*Y + T))
  // with sx = (R-L)*0.01, sy = (B-T)*0.01.
  std::vector<TPoint> PlacePoints(const TRect& r) const;
  // Even-odd inside test of the placed outline.
  bool IsPointIn(const TRect& r, TPoint p) const;
  // The text rectangle placed in r (2 units inside the placed edit rectangle).
  TRect GetEditRect(const TRect& r) const;
  // Whether p lies within 3 units of the placed outline; q is the snapped point.
  void BorderOfPoint(const TRect& r, TPoint p, bool& found, TPoint& q) const;

  // One record. ReadFromStream returns 0 on success, 1 when the name is cut
  // off, 255 for a wrong header or a record cut short.
  int ReadFromStream(TStream& s);
  bool WriteToStream(TStream& s) const;
  // 58 + name length + 2 * PointCount.
  uint32_t RecordLength() const;
};
