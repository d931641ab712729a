#pragma once
// The two commands that open a dialog of the program as a whole, with or
// without a document: "Options" (standard block sizes and the background
// colour) and "&About". Both dialogs are created hidden with the main window
// and reused.

class TAbout;
class TActionRegistry;
class TMainForm;
class TOptionsForm;

class TDialogCommands {
 public:
  TDialogCommands(TMainForm& form, TActionRegistry& actions);

  TAbout* About1;
  TOptionsForm* OptionsForm1;

  // Shows the options dialog; on OK every document window and its in-place
  // editor take the new background colour.
  void Options1Click();
  void About1Click();

 private:
  TMainForm& form_;
};
