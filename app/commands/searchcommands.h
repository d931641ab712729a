#pragma once
// The search commands of the "&Edit" menu: the modeless Find and Replace
// dialogs (only one of them is open at a time, and both close when no
// document is active) and their requests, Find Next, Replace and Replace All,
// on the texts of the active document. Each search starts after the first
// selected object and goes forward.

class TActionRegistry;
class TChildD;
class TFindDialog;
class TMainForm;
class TReplaceDialog;

class TSearchCommands {
 public:
  TSearchCommands(TMainForm& form, TActionRegistry& actions);
  ~TSearchCommands();

  TFindDialog* FindDialog1;
  TReplaceDialog* ReplaceDialog1;

  // "&Find": closes the Replace dialog and shows the Find dialog.
  void Find1Click();
  // "&Replace": shows the Replace dialog and closes the Find dialog.
  void Replace1Click();
  // The next block whose text holds the dialog's search text becomes the
  // selection and is scrolled into view; otherwise "Search string not found".
  void FindNext(const TFindDialog& from);
  // Replaces in the next block that holds the search text and selects it.
  void ReplaceNext();
  // Replaces in every block from the start point to the end, quietly.
  void ReplaceAll();
  // Closes both dialogs (no document is active any more).
  void CloseDialogs();

 private:
  // The active document, with its in-place editor's text committed; null
  // when none is active.
  TChildD* Active() const;
  // After a replacement: the document is modified and its listing refilled.
  void Changed(TChildD& d) const;
  // False, after telling the user, when the replacement holds the search text.
  bool ReplacementAllowed() const;
  void NotFound() const;

  TMainForm& form_;
};
