#pragma once
// The "User blocks list" command: opens the user block list window, made once
// with the main window, on the application's list of user blocks, and keeps
// the User blocks toolbar and the listing icons in step with its changes.

#include <string>

#include "app/dialogs/ublview.h"

class TActionRegistry;
class TMainForm;

class TUserBlockCommands : public TUserBlockHost {
 public:
  TUserBlockCommands(TMainForm& form, TActionRegistry& actions);

  // Owned by the main window.
  TUBLView* UBLView;

  // Clears the window's modified flag and shows it modally.
  void Userblockslist1Click();

  // --- TUserBlockHost
  TUserBlockList& Blocks() override;
  int DocumentCount() const override;
  QString LastDirectory() const override;
  QString ProgramDir() const override;
  QString UserDataDir() const override;
  void AddUserBlockButton(const TUserBlock& block, int index) override;
  void RebuildUserBlockToolbar() override;

 private:
  TMainForm& form_;
  std::string chosenKey_;  // key of the user block the create-block tool makes
};
