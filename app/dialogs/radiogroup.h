#pragma once
// TRadioGroup: a captioned frame of radio buttons, one item chosen, read and
// set by its item number as the dialogs' callers expect.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // The chosen item, or -1 when none is.
  int ItemIndex() const;
  void SetItemIndex(int index);
  QRadioButton* Item(int index) const;
  int Count() const;

 private:
  QButtonGroup* group_;
};
