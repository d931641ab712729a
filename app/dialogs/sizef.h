#pragma once
// TSizeF: the Size dialog. Each group chooses a common width or height for
// the selected blocks, the last item with a number typed into the box beside
// it. Every time it shows, both groups start at "Not change" with empty
// boxes. The boxes take at most six digits; a box taking the focus chooses
// its group's last item.

#include <QDialog>

class QLineEdit;
class QPushButton;
class TRadioGroup;

class TSizeF : public QDialog {
  Q_OBJECT

 public:
  explicit TSizeF(QWidget* parent = nullptr);

  TRadioGroup* RadioGroup1;  // "Width"
  TRadioGroup* RadioGroup2;  // "Height"
  QLineEdit* Edit1;          // beside "Width:"
  QLineEdit* Edit2;          // beside "Height:"
  QPushButton* Button1;      // "OK"
  QPushButton* Button2;      // "Cancel"

  void FormShow();
  // The key handlers of both boxes: true when the key or character is
  // dropped. Characters: digits (while the box holds at most five
  // characters) and Backspace. Other keys: Enter, Home, Left, Right, Delete,
  // and Tab and Escape, which move on or close the dialog.
  bool Edit1KeyPress(const QLineEdit* box, QChar c) const;
  bool Edit1KeyDown(int key) const;
  // A box took the focus: its group chooses "Width:" or "Height:".
  void Edit1Enter(const QLineEdit* box);

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
};
