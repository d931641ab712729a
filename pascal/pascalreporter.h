#pragma once
// Where the translator's messages go. The export window shows each one as a
// message box captioned "Error"; qvtool and the tests collect them.

#include <string>
#include <vector>

class TPascalReporter {
 public:
  virtual ~TPascalReporter() = default;
  virtual void Error(const std::string& message) = 0;
};

// Keeps the messages in the order they were raised.
class TMessageCollector : public TPascalReporter {
 public:
  void Error(const std::string& message) override { Messages.push_back(message); }
  std::vector<std::string> Messages;
};
