#include "app/pagesetupform.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QGroupBox* Group(const QString& title, QRadioButton* a, QRadioButton* b) {
  auto* box = new QGroupBox(title);
  auto* l = new QVBoxLayout(box);
  l->addWidget(a);
  l->addWidget(b);
  return box;
}
}  // namespace

TPageSetupForm::TPageSetupForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PageSetupForm"));
  setWindowTitle(QStringLiteral("Page setup"));
  PortraitButton = new QRadioButton(QStringLiteral("&Portrait"));
  LandscapeButton = new QRadioButton(QStringLiteral("&Landscape"));
  FitButton = new QRadioButton(QStringLiteral("&Fit to page"));
  OneToOneButton = new QRadioButton(QStringLiteral("&One to one across pages"));
  PortraitButton->setObjectName(QStringLiteral("PortraitButton"));
  LandscapeButton->setObjectName(QStringLiteral("LandscapeButton"));
  FitButton->setObjectName(QStringLiteral("FitButton"));
  OneToOneButton->setObjectName(QStringLiteral("OneToOneButton"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(QStringLiteral("Orientation"), PortraitButton, LandscapeButton));
  layout->addWidget(Group(QStringLiteral("Scaling"), FitButton, OneToOneButton));
  layout->addWidget(buttons);
  SetChoice(QPageLayout::Portrait, TPrintScaling::FitToPage);
}

void TPageSetupForm::SetChoice(QPageLayout::Orientation orientation, TPrintScaling scaling) {
  (orientation == QPageLayout::Landscape ? LandscapeButton : PortraitButton)->setChecked(true);
  (scaling == TPrintScaling::OneToOne ? OneToOneButton : FitButton)->setChecked(true);
}

QPageLayout::Orientation TPageSetupForm::Orientation() const {
  return LandscapeButton->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

TPrintScaling TPageSetupForm::Scaling() const {
  return OneToOneButton->isChecked() ? TPrintScaling::OneToOne : TPrintScaling::FitToPage;
}
