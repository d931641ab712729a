#pragma once
// TAlignF: the Align dialog. Two groups choose how the selected blocks line
// up horizontally and vertically; both start at "No change" every time the
// dialog shows.

#include <QDialog>

class QPushButton;
class TRadioGroup;

class TAlignF : public QDialog {
  Q_OBJECT

 public:
  explicit TAlignF(QWidget* parent = nullptr);

  TRadioGroup* RadioGroup1;  // "Horizontal:"
  TRadioGroup* RadioGroup2;  // "Vertical:"
  QPushButton* Button1;      // "OK"
  QPushButton* Button2;      // "Cancel"

  void FormShow();

 protected:
  void showEvent(QShowEvent* e) override;
};
