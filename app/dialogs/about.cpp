#include "app/dialogs/about.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/icons.h"

#ifndef QUORVALIN_VERSION
#error "QUORVALIN_VERSION comes from the build (the project version)"
#endif

QString ProgramVersion() { return QStringLiteral(QUORVALIN_VERSION); }

QString CompleteVersionLabel(const QString& label, const QString& version) {
  const qsizetype colon = label.indexOf(QLatin1Char(':'));
  if (colon < 0) return label;
  return label.left(colon + 1) + QLatin1Char(' ') + version;
}

TAbout::TAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("About"));
  setWindowTitle(QStringLiteral("About ... "));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  ProgramIcon = new QLabel;
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(::ProgramIcon().pixmap(32, 32));
  ProgramIcon->setFixedSize(32, 32);
  ProductName = new QLabel(QStringLiteral("Block-diagram editor"));
  ProductName->setObjectName(QStringLiteral("ProductName"));
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = new QLabel(QStringLiteral("Version:"));
  Version->setObjectName(QStringLiteral("Version"));
  Version->setTextInteractionFlags(Qt::TextSelectableByMouse);
  OKButton = new QPushButton(QStringLiteral("OK"));
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(ProductName, 0, 1);
  grid->addWidget(Version, 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();
  grid->addLayout(buttons, 3, 0, 1, 2);
  setFixedSize(298, 151);

  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAbout::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TAbout::FormShow() {
  Version->setText(CompleteVersionLabel(Version->text(), ProgramVersion()));
}
