#pragma once
// The commands of the "View" menu: the scale, the full-screen preview, the
// grid, the listing panel, the status bar and the toolbars.

#include <Qt>

class TActionRegistry;
class TFullViewForm;
class TMainForm;

class TViewCommands {
 public:
  TViewCommands(TMainForm& form, TActionRegistry& actions);

  // The preview window, made once and hidden between uses; owned by the main
  // window.
  TFullViewForm* FullViewForm;

  // A "Scale" entry: the active document shows at scale (1, 2, 4 or 8).
  void ZoomClick(int scale);
  // "View" opens: "Grid" follows the active document.
  void ViewItemClick();
  // "Scale" opens: an open text edit is committed, the document's scale checked.
  void ScaleItemClick();
  // "Toolbars" opens: each entry is checked as its toolbar shows.
  void ToolbarsItemClick();

  // "Full-screen preview": the preview shows the active document modally;
  // the HandClosed cursor shows until it has opened, the default afterwards.
  void Fullscreen1Click();
  // The "Grid" check changed: the active document shows the grid or not.
  void Grid1Click(bool on);
  // The "Listing" check changed: the panel shows or hides.
  void Listing1Click(bool on);
  // A row of the listing panel was double-clicked: the active document
  // scrolls its block to the centre.
  void ListingDblClick(int row);
  // A key pressed in the listing panel goes to the active document.
  void ListingKeyDown(int key, Qt::KeyboardModifiers modifiers);

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
};
