#include "app/dialogs/replacedialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(QWidget* parent) : TFindDialog(parent) {
  setObjectName(QStringLiteral("ReplaceDialog"));
  setWindowTitle(QStringLiteral("Replace"));

  ReplaceEdit = new QLineEdit;
  ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
  auto* label = new QLabel(QStringLiteral("Re&place with:"));
  label->setBuddy(ReplaceEdit);
  fields_->addWidget(label, 1, 0);
  fields_->addWidget(ReplaceEdit, 1, 1);

  ReplaceButton = new QPushButton(QStringLiteral("&Replace"));
  ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
  ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"));
  ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
  buttons_->insertWidget(1, ReplaceButton);
  buttons_->insertWidget(2, ReplaceAllButton);
  setTabOrder(FindEdit, ReplaceEdit);

  connect(ReplaceButton, &QPushButton::clicked, this, [this] {
    if (!FindText().isEmpty()) emit ReplaceRequested();
  });
  connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
    if (!FindText().isEmpty()) emit ReplaceAllRequested();
  });
  UpdateButtons();
}

QString TReplaceDialog::ReplaceText() const { return ReplaceEdit->text(); }

void TReplaceDialog::UpdateButtons() {
  TFindDialog::UpdateButtons();
  const bool any = !FindText().isEmpty();
  if (ReplaceButton) ReplaceButton->setEnabled(any);
  if (ReplaceAllButton) ReplaceAllButton->setEnabled(any);
}
