#pragma once
// The commands of the "&?" menu: the manual.

#include <QString>

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

 private:
  TMainForm& form_;
};
