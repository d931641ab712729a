#include "json.h"

#include <cmath>
#include <cstdio>

#include "model/codepage.h"

Json Json::Bool(bool b) {
  Json j;
  j.type_ = Type::Bool;
  j.bool_ = b;
  return j;
}
Json Json::Int(int64_t v) {
  Json j;
  j.type_ = Type::Int;
  j.int_ = v;
  return j;
}
Json Json::Str(std::string s) {
  Json j;
  j.type_ = Type::String;
  j.str_ = std::move(s);
  return j;
}
Json Json::Arr() {
  Json j;
  j.type_ = Type::Array;
  return j;
}
Json Json::Obj() {
  Json j;
  j.type_ = Type::Object;
  return j;
}

const Json* Json::Find(const std::string& key) const {
  for (const auto& [k, v] : members_)
    if (k == key) return &v;
  return nullptr;
}

Json& Json::Push(Json v) {
  items_.push_back(std::move(v));
  return items_.back();
}

Json& Json::Set(const std::string& key, Json v) {
  for (auto& [k, old] : members_)
    if (k == key) return old = std::move(v);
  members_.emplace_back(key, std::move(v));
  return members_.back().second;
}

class JsonParser {
 public:
  explicit JsonParser(const std::string& t) : t_(t) {}

  Json Document() {
    Json v = Value(0);
    Space();
    if (i_ != t_.size()) Fail("unexpected text after the document");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw JsonError("JSON error at offset " + std::to_string(i_) + ": " + what);
  }
  void Space() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r'))
      ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < t_.size() && t_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Eat(c)) Fail(std::string("expected '") + c + "'");
  }
  Json Value(int depth) {
    if (depth > 200) Fail("nesting too deep");
    Space();
    if (i_ >= t_.size()) Fail("unexpected end");
    const char c = t_[i_];
    if (c == '{') {
      ++i_;
      Json o = Json::Obj();
      if (Eat('}')) return o;
      do {
        Space();
        if (i_ >= t_.size() || t_[i_] != '"') Fail("expected a member name");
        std::string key = String();
        Expect(':');
        if (o.Find(key)) Fail("duplicate member \"" + key + "\"");
        o.Set(key, Value(depth + 1));
      } while (Eat(','));
      Expect('}');
      return o;
    }
    if (c == '[') {
      ++i_;
      Json a = Json::Arr();
      if (Eat(']')) return a;
      do a.Push(Value(depth + 1));
      while (Eat(','));
      Expect(']');
      return a;
    }
    if (c == '"') return Json::Str(String());
    if (t_.compare(i_, 4, "true") == 0) {
      i_ += 4;
      return Json::Bool(true);
    }
    if (t_.compare(i_, 5, "false") == 0) {
      i_ += 5;
      return Json::Bool(false);
    }
    if (t_.compare(i_, 4, "null") == 0) {
      i_ += 4;
      return Json();
    }
    if (c == '-' || (c >= '0' && c <= '9')) return Number();
    Fail("unexpected character");
  }
  Json Number() {
    const size_t start = i_;
    if (t_[i_] == '-') ++i_;
    if (i_ >= t_.size() || t_[i_] < '0' || t_[i_] > '9') Fail("bad number");
    while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
    bool integral = true;
    if (i_ < t_.size() && (t_[i_] == '.' || t_[i_] == 'e' || t_[i_] == 'E')) {
      integral = false;
      if (t_[i_] == '.') {
        ++i_;
        while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
      }
      if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
        ++i_;
        if (i_ < t_.size() && (t_[i_] == '+' || t_[i_] == '-')) ++i_;
        while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
      }
    }
    const std::string s = t_.substr(start, i_ - start);
    Json j;
    if (integral && s.size() <= 18) {
      j.type_ = Json::Type::Int;
      j.int_ = std::stoll(s);
    } else {
      j.type_ = Json::Type::Double;
      j.dbl_ = std::strtod(s.c_str(), nullptr);
    }
    return j;
  }
  unsigned Hex4() {
    if (i_ + 4 > t_.size()) Fail("bad \\u escape");
    unsigned v = 0;
    for (int k = 0; k < 4; ++k) {
      const char h = t_[i_++];
      v <<= 4;
      if (h >= '0' && h <= '9')
        v |= unsigned(h - '0');
      else if (h >= 'a' && h <= 'f')
        v |= unsigned(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F')
        v |= unsigned(h - 'A' + 10);
      else
        Fail("bad \\u escape");
    }
    return v;
  }

  std::string String() {
    ++i_;  // opening quote
    std::string out;
    for (;;) {
      if (i_ >= t_.size()) Fail("unterminated string");
      const char c = t_[i_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= t_.size()) Fail("unterminated string");
      const char e = t_[i_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned c1 = Hex4();
          if (c1 >= 0xD800 && c1 <= 0xDBFF) {
            if (t_.compare(i_, 2, "\\u") != 0) Fail("lone surrogate");
            i_ += 2;
            const unsigned c2 = Hex4();
            if (c2 < 0xDC00 || c2 > 0xDFFF) Fail("lone surrogate");
            c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
          } else if (c1 >= 0xDC00 && c1 <= 0xDFFF) {
            Fail("lone surrogate");
          }
          AppendUtf8(out, c1);
          break;
        }
        default:
          Fail("bad escape");
      }
    }
  }

  const std::string& t_;
  size_t i_ = 0;
};

Json Json::Parse(const std::string& text) { return JsonParser(text).Document(); }

namespace {
void DumpString(std::string& out, const std::string& s) {
  out += '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += char(c);
        }
    }
  }
  out += '"';
}

void DumpValue(std::string& out, const Json& j) {
  switch (j.GetType()) {
    case Json::Type::Null:
      out += "null";
      break;
    case Json::Type::Bool:
      out += j.AsBool() ? "true" : "false";
      break;
    case Json::Type::Int:
      out += std::to_string(j.AsInt());
      break;
    case Json::Type::Double:
      out += "0";
      break;  // never written by qvtool
    case Json::Type::String:
      DumpString(out, j.AsString());
      break;
    case Json::Type::Array: {
      out += '[';
      bool first = true;
      for (const Json& v : j.Items()) {
        if (!first) out += ',';
        first = false;
        DumpValue(out, v);
      }
      out += ']';
      break;
    }
    case Json::Type::Object: {
      out += '{';
      bool first = true;
      for (const auto& [k, v] : j.Members()) {
        if (!first) out += ',';
        first = false;
        DumpString(out, k);
        out += ':';
        DumpValue(out, v);
      }
      out += '}';
      break;
    }
  }
}
}  // namespace

std::string Json::Dump() const {
  std::string out;
  DumpValue(out, *this);
  return out;
}
