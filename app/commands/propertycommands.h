#pragma once
// The Properties command of the document context menu: the one selected
// object's properties in the block or link dialog, applied on OK. The two
// dialogs are created hidden with the main window and reused.

class TActionRegistry;
class TBlockProp;
class TChildD;
class TLinkPropForm;
class TMainForm;
class TShemObj;

class TPropertyCommands {
 public:
  TPropertyCommands(TMainForm& form, TActionRegistry& actions);

  TBlockProp* BlockProp1;
  TLinkPropForm* LinkPropForm1;

  // Acts only when exactly one object is selected. A link gets the link
  // dialog, a block the block dialog. A link point has no properties of its
  // own to edit: its kind must stay that of a point, so nothing opens.
  void Properties1Click();

 private:
  void EditLink(TChildD& d, TShemObj* link);
  void EditBlock(TChildD& d, TShemObj* block);

  TMainForm& form_;
};
