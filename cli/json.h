#pragma once
// A small JSON value with a strict parser and a compact writer, enough for
// qvtool's diagram documents. Numbers are kept as 64-bit integers when they
// are integral; other numbers are refused by the diagram reader.

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class JsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Json {
 public:
  enum class Type { Null, Bool, Int, Double, String, Array, Object };

  Json() = default;
  static Json Bool(bool b);
  static Json Int(int64_t v);
  static Json Str(std::string s);
  static Json Arr();
  static Json Obj();

  Type GetType() const { return type_; }
  bool IsInt() const { return type_ == Type::Int; }
  bool IsString() const { return type_ == Type::String; }
  bool IsArray() const { return type_ == Type::Array; }
  bool IsObject() const { return type_ == Type::Object; }
  bool IsBool() const { return type_ == Type::Bool; }

  bool AsBool() const { return bool_; }
  int64_t AsInt() const { return int_; }
  const std::string& AsString() const { return str_; }
  const std::vector<Json>& Items() const { return items_; }
  // Object members in document order.
  const std::vector<std::pair<std::string, Json>>& Members() const { return members_; }
  const Json* Find(const std::string& key) const;

  Json& Push(Json v);
  Json& Set(const std::string& key, Json v);

  // Parses a whole document; throws JsonError with a position on bad input.
  static Json Parse(const std::string& text);
  std::string Dump() const;

 private:
  Type type_ = Type::Null;
  bool bool_ = false;
  int64_t int_ = 0;
  double dbl_ = 0;
  std::string str_;
  std::vector<Json> items_;
  std::vector<std::pair<std::string, Json>> members_;
  friend class JsonParser;
};
