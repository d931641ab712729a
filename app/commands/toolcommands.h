#pragma once
// The buttons of the Standard and Special toolbars that have no menu entry of
// their own: the tool buttons (one exclusive group with the user block
// buttons), the text alignment buttons, Save, the preview and the listing
// button.

class TActionRegistry;
class TLinkToolHold;
class TMainForm;

class TToolCommands {
 public:
  TToolCommands(TMainForm& form, TActionRegistry& actions);

  // Press and hold on the link tools, with their palette.
  TLinkToolHold* LinkToolHold;

  // A tool button was clicked: the tool and block kind follow its tag.
  void ToolClick(int tag);
  // The documents chose a tool themselves: the buttons follow.
  void ToolChanged();
  // The text alignment buttons; tag is the alignment value.
  void TextAlignClick(int tag);

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
};
