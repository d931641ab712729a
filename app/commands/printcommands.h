#pragma once
// Print, Print preview and Page setup of the "&File" menu. One printer is
// kept for the run, so the choices of the print dialog and of the page set-up
// carry over from one print to the next.

#include <QPrinter>
#include <memory>

#include "app/printing.h"

class TActionRegistry;
class TChildD;
class TMainForm;

class TPrintCommands {
 public:
  TPrintCommands(TMainForm& form, TActionRegistry& actions);

  QPrinter& Printer() { return *printer_; }
  TPrintScaling Scaling = TPrintScaling::FitToPage;
  // More pages than this ask before printing.
  static constexpr int ManyPages = 50;

  // The print dialog, then the active document on the chosen printer.
  void Print1Click();
  // The preview dialog over the same drawing.
  void PrintPreview1Click();
  // The page set-up form: orientation and scaling.
  void PageSetup1Click();
  // Prints doc on the kept printer as it is set up; false when nothing was
  // printed (refused, or the printer failed; a failure is reported).
  bool PrintDocument(TChildD* doc);

 private:
  TPrintJob JobFor(const TChildD* doc) const;

  TMainForm& form_;
  std::unique_ptr<QPrinter> printer_;
};
