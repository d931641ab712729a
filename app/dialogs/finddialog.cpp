#include "app/dialogs/finddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FindDialog"));
  setWindowTitle(QStringLiteral("Find"));
  setModal(false);

  FindEdit = new QLineEdit;
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"));
  findLabel->setBuddy(FindEdit);
  MatchCase = new QCheckBox(QStringLiteral("Match &case"));
  MatchCase->setObjectName(QStringLiteral("MatchCase"));

  FindNextButton = new QPushButton(QStringLiteral("&Find Next"));
  FindNextButton->setObjectName(QStringLiteral("FindNextButton"));
  FindNextButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"));
  CancelButton->setObjectName(QStringLiteral("CancelButton"));

  fields_ = new QGridLayout;
  fields_->addWidget(findLabel, 0, 0);
  fields_->addWidget(FindEdit, 0, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(fields_);
  left->addStretch();
  left->addWidget(MatchCase);
  buttons_ = new QVBoxLayout;
  buttons_->addWidget(FindNextButton);
  buttons_->addWidget(CancelButton);
  buttons_->addStretch();
  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addLayout(buttons_);

  connect(FindNextButton, &QPushButton::clicked, this, [this] {
    if (!FindText().isEmpty()) emit FindNextRequested();
  });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
  connect(FindEdit, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  UpdateButtons();
}

QString TFindDialog::FindText() const { return FindEdit->text(); }

bool TFindDialog::CaseSensitive() const { return MatchCase->isChecked(); }

void TFindDialog::UpdateButtons() { FindNextButton->setEnabled(!FindText().isEmpty()); }
