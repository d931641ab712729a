#pragma once
// "&Export" > "to Pascal": the active document's diagram goes into the Pascal
// window's stream and the window shows its translation modally. The window's
// messages and modal run go through the question interface, its text through
// the program's one diagram text conversion.

class TActionRegistry;
class TExpForm;
class TMainForm;

class TPascalExport {
 public:
  TPascalExport(TMainForm& form, TActionRegistry& actions);

  // Made once and hidden between uses; owned by the main window.
  TExpForm* ExpForm;

  // Nothing without an active document.
  void ExportPascal1Click();

 private:
  TMainForm& form_;
};
