#pragma once
// The Find dialog: a search text, the match-case option and "Find Next". It
// searches forward only, so it offers neither whole words nor a direction.
// It is modeless; the search commands answer its requests.

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class TFindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDialog(QWidget* parent = nullptr);

  QLineEdit* FindEdit;
  QCheckBox* MatchCase;
  QPushButton* FindNextButton;
  QPushButton* CancelButton;

  QString FindText() const;
  bool CaseSensitive() const;

 signals:
  void FindNextRequested();

 protected:
  // The buttons that act on the text are enabled exactly while there is text.
  virtual void UpdateButtons();
  QGridLayout* fields_;
  QVBoxLayout* buttons_;
};
