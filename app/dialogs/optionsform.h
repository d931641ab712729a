#pragma once
// TOptionsForm, "Options": the standard sizes of the nine standard block
// types and the background colour of the document windows. It edits working
// copies; OK writes them to the application state, Cancel drops them.

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>

#include "editor/editorstate.h"

class QComboBox;
class QPushButton;
class QSpinBox;

class TOptionsForm : public QDialog {
  Q_OBJECT

 public:
  TOptionsForm(TEditorState& state, QWidget* parent = nullptr);

  // The block kind that list entry e stands for (the link point has none).
  static int KindOfEntry(int entry);

  // Asks for a colour, starting from the given one; empty when cancelled.
  // The colour dialog by default; tests put their own in.
  std::function<std::optional<QColor>(QWidget* parent, QColor initial)> ChooseColor;

  // --- working copies
  TBlockSizes Sizes;
  QColor Color;

  // --- controls
  QComboBox* ComboBox1;  // the block types
  QSpinBox* SpinEdit1;   // width
  QSpinBox* SpinEdit2;   // height
  QPushButton* Panel1;   // shows the colour; a click changes it
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // Fills the working copies and controls from the state (done on every show).
  void FormShow();
  void ComboBox1Change();
  // Leaving a size box: an empty box becomes 20, then the selected type's
  // working size takes both boxes' values.
  void SpinEditExit();
  void Panel1Click();
  // OK: the state takes the working copies and the dialog closes with OK.
  void accept() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void ShowColor();
  TEditorState& state_;
};
