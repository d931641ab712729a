#pragma once
// The commands of the "View" menu: the grid and the listing panel.

class TActionRegistry;
class TMainForm;

class TViewCommands {
 public:
  TViewCommands(TMainForm& form, TActionRegistry& actions);

  // The "Grid" check changed: the active document shows the grid or not.
  void Grid1Click(bool on);
  // The "Listing" check changed: the panel shows or hides.
  void Listing1Click(bool on);

 private:
  TMainForm& form_;
};
