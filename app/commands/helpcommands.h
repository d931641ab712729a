#pragma once
// The commands of the "&?" menu: the manual.

#include <QString>
#include <functional>

class QUrl;

class TActionRegistry;
class TMainForm;

class THelpCommands {
 public:
  THelpCommands(TMainForm& form, TActionRegistry& actions);

  // Opens the manual in the desktop's browser.
  void Contents1Click();
  // Where the manual lies: the folder named by QUORVALIN_MANUAL, else the
  // "manual" folder beside the program or the installed one; empty when none
  // holds it.
  QString HelpFile() const;
  // Hands a URL to the desktop (a browser for the manual); false when nothing
  // took it. Tests put their own in.
  std::function<bool(const QUrl&)> OpenUrl;

 private:
  TMainForm& form_;
};
