#pragma once
// The list of objects beside a diagram (name, position, size), seen from the
// model. The window layer implements it with a real list control; the model
// only appends and clears.

#include <string>

class TShemObj;

class ListView {
 public:
  virtual ~ListView() = default;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void Clear() = 0;
  virtual void Append(const std::string& caption, int imageIndex, const std::string& position,
                      const std::string& size, TShemObj* obj) = 0;
  virtual bool Visible() const = 0;
};
