#pragma once
// The "Page setup" form: the page orientation and how a diagram is laid onto
// paper (fitted to one page, or one to one across as many pages as needed).

#include <QDialog>
#include <QPageLayout>

#include "app/printing.h"

class QRadioButton;

class TPageSetupForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPageSetupForm(QWidget* parent = nullptr);

  QRadioButton* PortraitButton;
  QRadioButton* LandscapeButton;
  QRadioButton* FitButton;
  QRadioButton* OneToOneButton;

  void SetChoice(QPageLayout::Orientation orientation, TPrintScaling scaling);
  QPageLayout::Orientation Orientation() const;
  TPrintScaling Scaling() const;
};
