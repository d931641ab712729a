#pragma once
// The commands of the "View" menu: the full-screen preview, the grid and the
// listing panel.

class TActionRegistry;
class TFullViewForm;
class TMainForm;

class TViewCommands {
 public:
  TViewCommands(TMainForm& form, TActionRegistry& actions);

  // The preview window, made once and hidden between uses; owned by the main
  // window.
  TFullViewForm* FullViewForm;

  // "Full-screen preview": the preview shows the active document modally;
  // the HandClosed cursor shows until it has opened, the default afterwards.
  void Fullscreen1Click();
  // The "Grid" check changed: the active document shows the grid or not.
  void Grid1Click(bool on);
  // The "Listing" check changed: the panel shows or hides.
  void Listing1Click(bool on);

 private:
  TMainForm& form_;
};
