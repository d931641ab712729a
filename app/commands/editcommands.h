#pragma once
// The commands of the "&Edit" menu: undo, the clipboard, delete, select all,
// join squares and duplicate. While a block's text is open in the in-place
// editor, undo, delete and the clipboard commands act on that text and the
// system clipboard instead of the diagram.

class TActionRegistry;
class TChildD;
class TMainForm;

class TEditCommands {
 public:
  TEditCommands(TMainForm& form, TActionRegistry& actions);

  void Undo1Click();
  void Redo1Click();
  // The busy cursor shows while the selection goes.
  void Delete1Click();
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void SelectAll1Click();
  void JoinSquare1Click();
  void Duplicate1Click();
  // Outside the open menu every item with an operation is enabled exactly
  // while a document is active.
  void ReleaseItems();
  // The menu opens while a block's text is open in the editor: Undo, Cut,
  // Copy, Delete and Paste follow the editor's undo, selection and the
  // system clipboard.
  void FollowEditor();

 private:
  // The active document, or null; every command does nothing without one.
  TChildD* Active() const;

  TMainForm& form_;
  TActionRegistry& actions_;
  bool menuOpen_ = false;
};
