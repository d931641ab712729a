#pragma once
// TAbout, "About ... ": the program's icon and title and the line "Version:"
// completed with the version of this build when the box is shown.

#include <QDialog>

class QLabel;
class QPushButton;

// The version this program was built as (the project version).
QString ProgramVersion();
// The label's text up to and including its ":", a blank and the version; a
// label without ":" stays as it is.
QString CompleteVersionLabel(const QString& label, const QString& version);

class TAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TAbout(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QPushButton* OKButton;

  void FormShow();

 protected:
  void showEvent(QShowEvent* e) override;
};
