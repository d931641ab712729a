#pragma once
// The Replace dialog: the Find dialog with a replacement text and the buttons
// "Replace" and "Replace All". Modeless; the search commands answer it.

#include "app/dialogs/finddialog.h"

class TReplaceDialog : public TFindDialog {
  Q_OBJECT

 public:
  explicit TReplaceDialog(QWidget* parent = nullptr);

  QLineEdit* ReplaceEdit = nullptr;
  QPushButton* ReplaceButton = nullptr;
  QPushButton* ReplaceAllButton = nullptr;

  QString ReplaceText() const;

 signals:
  void ReplaceRequested();
  void ReplaceAllRequested();

 protected:
  void UpdateButtons() override;
};
