#include "model/codepage.h"

#include <array>

namespace {
// Upper halves (0x80..0xFF). Bytes the code page leaves undefined map to the
// C1 control of the same number, so every byte survives a round trip.
constexpr std::array<char16_t, 128> kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0..0xFF: А..я
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F};

constexpr std::array<char16_t, 32> kCp1252Low = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}
}  // namespace

char32_t ByteToUnicode(uint8_t b, int codePage) {
  if (b < 0x80) return b;
  if (codePage == 1252) return b >= 0xA0 ? char32_t(b) : char32_t(kCp1252Low[b - 0x80]);
  return kCp1251[b - 0x80];
}

uint8_t UnicodeToByte(char32_t c, int codePage) {
  if (c < 0x80) return uint8_t(c);
  if (codePage == 1252) {
    if (c >= 0xA0 && c <= 0xFF) return uint8_t(c);
    for (size_t i = 0; i < kCp1252Low.size(); ++i)
      if (kCp1252Low[i] == c) return uint8_t(0x80 + i);
    return '?';
  }
  if (c >= 0x0410 && c <= 0x044F) return uint8_t(0xC0 + (c - 0x0410));
  for (size_t i = 0; i < 64; ++i)
    if (kCp1251[i] == c) return uint8_t(0x80 + i);
  return '?';
}

std::u32string DecodeCodepage(const std::string& bytes, int codePage) {
  std::u32string out;
  out.reserve(bytes.size());
  for (char ch : bytes) out += ByteToUnicode(uint8_t(ch), codePage);
  return out;
}

std::string EncodeCodepage(const std::u32string& text, int codePage) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out += char(UnicodeToByte(c, codePage));
  return out;
}

std::string CodepageToUtf8(const std::string& bytes, int codePage) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) AppendUtf8(out, ByteToUnicode(uint8_t(ch), codePage));
  return out;
}

std::string Utf8ToCodepage(const std::string& s, int codePage, std::u32string* lost) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const uint8_t b = uint8_t(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = len > 0 && i + size_t(len) <= s.size();
    for (int k = 1; ok && k < len; ++k) {
      const uint8_t cb = uint8_t(s[i + size_t(k)]);
      if ((cb & 0xC0) != 0x80)
        ok = false;
      else
        c = (c << 6) | (cb & 0x3F);
    }
    if (!ok) {
      out += '?';
      if (lost) *lost += U'\uFFFD';
      ++i;
      continue;
    }
    const uint8_t byte = UnicodeToByte(c, codePage);
    if (lost && byte == '?' && c != U'?') *lost += c;
    out += char(byte);
    i += size_t(len);
  }
  return out;
}
