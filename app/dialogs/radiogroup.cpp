#include "app/dialogs/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  auto* column = new QVBoxLayout(this);
  column->setSpacing(2);
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setObjectName(QStringLiteral("Item%1").arg(i));
    group_->addButton(b, i);
    column->addWidget(b);
  }
  column->addStretch();
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* b = group_->button(index)) b->setChecked(true);
}

QRadioButton* TRadioGroup::Item(int index) const {
  return qobject_cast<QRadioButton*>(group_->button(index));
}

int TRadioGroup::Count() const { return int(group_->buttons().size()); }
