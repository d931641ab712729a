#include "model/userblockimport.h"

#include <chrono>
#include <ctime>
#include <random>
#include <vector>

#include "model/stream.h"
#include "model/userblocklist.h"
#include "platform/bmpfile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Lines ended by CR LF, LF or a lone CR; a last line without an end counts,
// an end at the very end of the text does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(cur));
      cur.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(std::move(cur));
  return lines;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t p = s.find(sep, start);
    if (p == std::string::npos) {
      parts.push_back(s.substr(start));
      return parts;
    }
    parts.push_back(s.substr(start, p - start));
    start = p + 1;
  }
}

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

// A description value kept in one byte of the record.
bool ByteValue(const std::string& text, int line, uint8_t& value, std::string* error) {
  int32_t v = 0;
  if (!TryStrToInt(text, v)) return Fail(error, NotAnIntegerMessage(text));
  if (v < 0 || v > 255)
    return Fail(error, "The value " + std::to_string(v) + " in line " + std::to_string(line) +
                           " of the user block description does not fit into a byte (0 to 255)");
  value = uint8_t(v);
  return true;
}

std::string ResolveAgainst(const std::string& baseDir, const std::string& name) {
  if (baseDir.empty() || name.empty() || name[0] == '/') return name;
  return baseDir.back() == '/' ? baseDir + name : baseDir + "/" + name;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

uint32_t DefaultRandom(uint32_t range) {
  if (range == 0) return 0;
  std::mt19937 gen(uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
  return std::uniform_int_distribution<uint32_t>(0, range - 1)(gen);
}

}  // namespace

bool TryStrToInt(const std::string& text, int32_t& value) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const bool hex = i < n && text[i] == '$';
  if (hex) ++i;
  if (i >= n) return false;
  uint64_t acc = 0;
  for (; i < n; ++i) {
    const int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return false;
    acc = acc * (hex ? 16 : 10) + uint64_t(d);
    if (acc > 0xFFFFFFFFull) return false;
  }
  int64_t v;
  if (hex) {
    v = int64_t(int32_t(uint32_t(acc)));  // a 32-bit pattern
  } else {
    v = int64_t(acc);
    if (v > 2147483648LL || (v == 2147483648LL && !negative)) return false;
  }
  value = int32_t(negative ? -v : v);
  return true;
}

std::string NotAnIntegerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

uint32_t UserBlockId1(const TImportClock& c) {
  uint32_t v = uint32_t(c.Year) - 2000u;
  v = v * 12u + uint32_t(c.Month);
  v = v * 31u + uint32_t(c.Day);
  v = v * 24u + uint32_t(c.Hour);
  v = v * 60u + uint32_t(c.Minute);
  v = v * 60u + uint32_t(c.Second);
  return v;
}

TImportClock LocalClockNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  TImportClock c;
  c.Year = tm.tm_year + 1900;
  c.Month = tm.tm_mon + 1;
  c.Day = tm.tm_mday;
  c.Hour = tm.tm_hour;
  c.Minute = tm.tm_min;
  c.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  c.Millisecond = int(ms < 0 ? ms + 1000 : ms);
  return c;
}

bool ParseUserBlockDescription(const std::string& text, const std::string& baseDir,
                               const TUserBlockImportEnv& env, std::unique_ptr<TUserBlock>& out,
                               std::string* error) {
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.size() < 4)
    return Fail(error,
                "A user block description needs four lines: the name, the points, the text "
                "rectangle and the tool image file; this one has " +
                    std::to_string(lines.size()));

  auto block = std::make_unique<TUserBlock>();
  // A record ends the name at a 0 byte; keep what will survive a save.
  block->Name = lines[0].substr(0, lines[0].find('\0'));

  for (const std::string& pair : Split(lines[1], ';')) {
    const size_t comma = pair.find(',');
    const std::string xText = TrimBlanks(pair.substr(0, comma));
    const std::string yText =
        comma == std::string::npos ? std::string() : TrimBlanks(pair.substr(comma + 1));
    TPercentPoint p;
    if (!ByteValue(xText, 2, p.X, error) || !ByteValue(yText, 2, p.Y, error)) return false;
    if (!block->AddPoint(p))
      return Fail(error, "A user block description can have at most " +
                             std::to_string(TUserBlock::MaxPoints) + " points");
  }

  // Four numbers: the last one is everything after the third comma.
  std::string rest = lines[2];
  uint8_t edit[4];
  for (int k = 0; k < 4; ++k) {
    const size_t comma = k < 3 ? rest.find(',') : std::string::npos;
    if (!ByteValue(rest.substr(0, comma), 3, edit[k], error)) return false;
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
  }
  block->SetEditRect(edit[0], edit[1], edit[2], edit[3]);

  const TToolImageLoader load = env.LoadToolImage ? env.LoadToolImage : DefaultToolImageLoader();
  const std::string bitmapName = ResolveAgainst(baseDir, lines[3]);
  TToolImageSource image;
  std::string loadError;
  if (!load(bitmapName, image, &loadError))
    return Fail(error, loadError.empty() ? "Can not load the tool image \"" + bitmapName + "\""
                                         : loadError);
  if (image.Width > 0 && image.Height > 0 && !image.PixelRgb)
    return Fail(error, "The tool image \"" + bitmapName + "\" has no pixels");
  block->SetToolImage(image.Width, image.Height,
                      [&](int x, int y) { return image.PixelRgb(x, y); });

  const TImportClock now = env.Clock ? env.Clock() : LocalClockNow();
  block->Id1 = UserBlockId1(now);
  const uint32_t range = now.Millisecond > 0 ? uint32_t(now.Millisecond) * 65535u : 0u;
  if (range == 0) {
    block->Id2 = 0;
  } else {
    const uint32_t r = env.Random ? env.Random(range) : DefaultRandom(range);
    block->Id2 = r < range ? r : r % range;  // keep a replaced generator inside its range
  }
  out = std::move(block);
  return true;
}

bool ImportUserBlockFromText(const std::string& fileName, TUserBlockList& list, int* index,
                             std::string* error, const TUserBlockImportEnv& env) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes, error)) return false;
  const std::string text(bytes.begin(), bytes.end());
  std::unique_ptr<TUserBlock> block;
  if (!ParseUserBlockDescription(text, FolderOf(fileName), env, block, error)) return false;
  const int at = list.Add(std::move(block));
  if (index) *index = at;
  return true;
}

TToolImageLoader DefaultToolImageLoader() {
  return [](const std::string& fileName, TToolImageSource& image, std::string* error) {
    std::unique_ptr<platform::BmpFile> loaded;
    if (!platform::BmpFile::TryLoadFromFile(fileName, loaded, error)) return false;
    std::shared_ptr<const platform::BmpFile> bmp = std::move(loaded);
    image.Width = bmp->Width();
    image.Height = bmp->Height();
    image.PixelRgb = [bmp](int x, int y) -> uint32_t {
      const platform::ColorValue c = bmp->PixelAt(x, y);
      return uint32_t(platform::RedOf(c)) << 16 | uint32_t(platform::GreenOf(c)) << 8 |
             platform::BlueOf(c);
    };
    return true;
  };
}
