#pragma once
// The commands that arrange the selected blocks of the active document: the
// Align palette and dialog, the Size dialog, Align to Grid, "Replace to" a
// block kind and "Insert " a standard block where the context menu opened.
// Each does nothing without an active document.

#include <vector>

#include "model/arrange.h"

class QString;
class TActionRegistry;
class TAlignF;
class TChildD;
class TMainForm;
class TSizeF;

class TArrangeCommands {
 public:
  TArrangeCommands(TMainForm& form, TActionRegistry& actions);
  ~TArrangeCommands();

  // Records the undo snapshot, then aligns the selected blocks (link points
  // too) on the first of them.
  void AlignSelection(TAlignMode horizontal, TAlignMode vertical);
  void AligntoGrid1Click();
  // The Align and Size dialogs, shown modally; OK applies their choice.
  void Align1Click();
  void Size1Click();
  // Gives every selected block but link points the kind.
  void ReplaceToBlock(int kind);
  // A standard block of the kind at the point of the last press, opened for
  // typing; then the select tool.
  void InsertBlock(int kind);

  TAlignF* AlignF() const { return alignF_; }
  TSizeF* SizeF() const { return sizeF_; }

 private:
  // The selected blocks of d, with or without the link points.
  static std::vector<Block*> SelectedBlocks(TChildD& d, bool withPoints);
  // The number in a Size box: none for an empty box; false (after telling the
  // user) for text that is no whole number.
  bool ReadSizeBox(const QString& text, TSizeChoice& choice);

  TMainForm& form_;
  TAlignF* alignF_;
  TSizeF* sizeF_;
};
