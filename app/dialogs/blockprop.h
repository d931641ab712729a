#pragma once
// TBlockProp, "Properties of block": edits a copy of one block record (kind,
// text, fill, dotted outline, position and size). The caller puts the record
// into Data, shows the dialog modally and, on OK, takes Data back.

#include <QDialog>
#include <array>

#include "model/shemobj.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolBar;

class TBlockProp : public QDialog {
  Q_OBJECT

 public:
  explicit TBlockProp(QWidget* parent = nullptr);

  // The record being edited.
  Block Data;

  // The kinds of the nine kind buttons, left to right (the link point has none).
  static constexpr std::array<uint8_t, 9> KindTags = {0, 1, 2, 3, 5, 6, 7, 8, 9};
  // Which flags a kind admits: filling for the closed standard shapes and the
  // page divider while the outline is solid, a dotted outline for all but
  // free text and comments.
  static bool FillAllowed(int kind, bool dotted);
  static bool DottedAllowed(int kind);

  // --- controls
  QToolBar* ToolBar1;
  std::array<QAction*, 9> KindButtons{};
  QActionGroup* KindGroup;
  QPlainTextEdit* Memo1;
  QSpinBox* LeftEdit;
  QSpinBox* TopEdit;
  QSpinBox* WidthEdit;
  QSpinBox* HeightEdit;
  QCheckBox* FillBox;
  QCheckBox* DottedBox;
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // Shows Data in the controls (done on every show).
  void FormShow();
  // The handlers, one per control.
  void KindButtonClick(int tag);
  void Memo1Change();
  void LeftEditChange();
  void TopEditChange();
  void WidthEditChange();
  void HeightEditChange();
  void DottedBoxClick();
  void FillBoxClick();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  // Enables and checks the two boxes from Data; a disabled box is unchecked
  // and its flag cleared.
  void UpdateBoxes();
  // The box's number, or its lower limit when its text is not one.
  static int BoxValue(const QSpinBox* box);
  bool showing_ = false;  // FormShow at work: the change handlers keep still
};
