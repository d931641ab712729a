#pragma once
// The commands of the "&Window" menu: cascade, tile, arrange icons, minimize
// all, and the list of open documents with the active one checked.

class QMenu;
class TActionRegistry;
class TMainForm;

class TWindowCommands {
 public:
  TWindowCommands(TMainForm& form, TActionRegistry& actions);

  void Cascade1Click();
  void Tile1Click();
  // Lines the minimised windows up along the bottom of the area.
  void ArrangeIcons1Click();
  // Minimises every document window, last to first.
  void MinimizeAll1Click();
  // The menu opens: the open documents are listed after the commands.
  void WindowItemClick();

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
};
