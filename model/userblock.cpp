#include "model/userblock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/stream.h"

namespace {

// The record header that starts every user block record.
constexpr char kHeader[8] = {'U', 'B', 'H', 'e', 'a', 'd', '0', '1'};
// Distance in units within which a point snaps to the outline.
constexpr int32_t kSnap = 3;
// Space kept between the placed edit rectangle and the text.
constexpr int32_t kEditMargin = 2;

// The part of the name that a record can hold: a record ends the name at its
// first 0 byte, so anything after one would come back as garbage.
size_t StoredNameLength(const std::string& name) {
  const size_t zero = name.find('\0');
  return zero == std::string::npos ? name.size() : zero;
}

// Percent-to-units scale of a rectangle side, as the placing formula wants it.
struct TPlacement {
  double Sx, Sy;
  int32_t L, T;
  explicit TPlacement(const TRect& r)
      : Sx((double(r.Right) - r.Left) * 0.01),
        Sy((double(r.Bottom) - r.Top) * 0.01),
        L(r.Left),
        T(r.Top) {}
  int32_t X(int percent) const { return Trunc(Sx * percent + L); }
  int32_t Y(int percent) const { return Trunc(Sy * percent + T); }
};

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

bool TUserBlock::AddPoint(TPercentPoint p) {
  if (PointCount >= MaxPoints) return false;
  Points[PointCount] = p;
  ++PointCount;
  return true;
}

void TUserBlock::SetEditRect(uint8_t left, uint8_t top, uint8_t right, uint8_t bottom) {
  EditLeft = left;
  EditTop = top;
  EditRight = right;
  EditBottom = bottom;
}

bool TUserBlock::ToolImagePixel(int x, int y) const {
  if (x < 0 || x >= 16 || y < 0 || y >= 16) return false;
  return (ToolImage[size_t(x)] >> (15 - y)) & 1u;
}

TToolBitmap TUserBlock::GetToolImage() const {
  TToolBitmap bmp;
  for (int y = 0; y < TToolBitmap::Height; ++y)
    for (int x = 0; x < TToolBitmap::Width; ++x)
      bmp.Rgb[size_t(y * TToolBitmap::Width + x)] =
          ToolImagePixel(x, y) ? TToolBitmap::Black : TToolBitmap::White;
  return bmp;
}

std::string TUserBlock::KeyOf(uint32_t id1, uint32_t id2) {
  char buf[20];
  std::snprintf(buf, sizeof buf, "%08X-%08X", unsigned(id2), unsigned(id1));
  return buf;
}

std::string TUserBlock::KeyText() const { return KeyOf(Id1, Id2); }

std::vector<TPoint> TUserBlock::PlacePoints(const TRect& r) const {
  const TPlacement pl(r);
  std::vector<TPoint> out;
  out.reserve(PointCount);
  for (int i = 0; i < PointCount; ++i)
    out.push_back({pl.X(Points[size_t(i)].X), pl.Y(Points[size_t(i)].Y)});
  return out;
}

bool TUserBlock::IsPointIn(const TRect& r, TPoint p) const {
  const std::vector<TPoint> pts = PlacePoints(r);
  const size_t n = pts.size();
  bool inside = false;
  // Edges from point j to point i, starting with the closing edge (last -> first).
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPoint a = pts[j], b = pts[i];
    if ((a.Y < p.Y) != (b.Y < p.Y)) {
      // a.Y != b.Y here, so the quotient is defined.
      const double crossX = a.X + (double(p.Y) - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y);
      if (p.X < crossX) inside = !inside;
    }
  }
  return inside;
}

TRect TUserBlock::GetEditRect(const TRect& r) const {
  const TPlacement pl(r);
  return {pl.X(EditLeft) + kEditMargin, pl.Y(EditTop) + kEditMargin, pl.X(EditRight) - kEditMargin,
          pl.Y(EditBottom) - kEditMargin};
}

void TUserBlock::BorderOfPoint(const TRect& r, TPoint p, bool& found, TPoint& q) const {
  found = false;
  q = p;
  const std::vector<TPoint> pts = PlacePoints(r);
  const size_t n = pts.size();
  // 64-bit comparisons: the placed points may lie anywhere in the int32 range.
  const int64_t px = p.X, py = p.Y;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    TPoint a = pts[j], b = pts[i];
    if (b.X < a.X) std::swap(a, b);
    if (px < int64_t(a.X) - kSnap || px > int64_t(b.X) + kSnap) continue;
    const int32_t yLo = Min(a.Y, b.Y), yHi = Max(a.Y, b.Y);
    if (a.X == b.X) {
      if (py >= int64_t(yLo) - kSnap && py <= int64_t(yHi) + kSnap) {
        found = true;
        q = {a.X, Clamp(p.Y, yLo, yHi)};
        return;
      }
      continue;
    }
    const TRect line{a.X, a.Y, b.X, b.Y};
    const int64_t y = LineYAtX(p.X, line);
    if ((y > py ? y - py : py - y) <= kSnap) {
      found = true;
      const int32_t qx = Clamp(p.X, a.X, b.X);
      q = {qx, LineYAtX(qx, line)};
      return;
    }
  }
}

uint32_t TUserBlock::RecordLength() const {
  return uint32_t(58 + StoredNameLength(Name) + 2 * size_t(PointCount));
}

int TUserBlock::ReadFromStream(TStream& s) {
  uint32_t length = 0;
  if (!s.ReadU32(length)) return 255;  // the length only tells where the record ends; not needed

  char header[8];
  if (s.Read(header, sizeof header) != sizeof header ||
      std::memcmp(header, kHeader, sizeof header) != 0)
    return 255;

  std::string name;
  for (;;) {
    uint8_t c;
    if (!s.ReadU8(c)) return 1;
    if (c == 0) break;
    name.push_back(char(c));
  }

  uint32_t id1, id2;
  uint8_t count;
  if (!s.ReadU32(id1) || !s.ReadU32(id2) || !s.ReadU8(count)) return 255;
  std::array<TPercentPoint, MaxPoints> pts{};
  for (int i = 0; i < count; ++i)
    if (!s.ReadU8(pts[size_t(i)].X) || !s.ReadU8(pts[size_t(i)].Y)) return 255;
  uint8_t edit[4];
  if (!s.ReadExact(edit, sizeof edit)) return 255;
  std::array<uint16_t, 16> image{};
  for (auto& w : image)
    if (!s.ReadU16(w)) return 255;

  // Only a complete record changes the block.
  Name = std::move(name);
  Id1 = id1;
  Id2 = id2;
  PointCount = count;
  Points = pts;
  SetEditRect(edit[0], edit[1], edit[2], edit[3]);
  ToolImage = image;
  return 0;
}

bool TUserBlock::WriteToStream(TStream& s) const {
  const size_t nameLen = StoredNameLength(Name);
  // Assemble the record first so that the stream sees one write.
  TMemoryStream rec;
  bool ok = rec.WriteU32(RecordLength()) && rec.Write(kHeader, sizeof kHeader) &&
            rec.Write(Name.data(), nameLen) && rec.WriteU8(0) && rec.WriteU32(Id1) &&
            rec.WriteU32(Id2) && rec.WriteU8(PointCount);
  for (int i = 0; ok && i < PointCount; ++i)
    ok = rec.WriteU8(Points[size_t(i)].X) && rec.WriteU8(Points[size_t(i)].Y);
  ok = ok && rec.WriteU8(EditLeft) && rec.WriteU8(EditTop) && rec.WriteU8(EditRight) &&
       rec.WriteU8(EditBottom);
  for (size_t i = 0; ok && i < ToolImage.size(); ++i) ok = rec.WriteU16(ToolImage[i]);
  return ok && s.Write(rec.Bytes().data(), rec.Bytes().size());
}
