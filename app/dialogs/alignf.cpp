#include "app/dialogs/alignf.h"

#include <QPushButton>

#include "app/dialogs/radiogroup.h"

TAlignF::TAlignF(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AlignF"));
  setWindowTitle(QStringLiteral("Align"));
  setFixedSize(322, 175);
  RadioGroup1 =
      new TRadioGroup(QStringLiteral("Horizontal:"),
                      {"No change", "Left sides", "Centers", "Right sides", "Space equally"}, this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(8, 4, 149, 130);
  RadioGroup2 = new TRadioGroup(QStringLiteral("Vertical:"),
                                {"No change", "Tops", "Centers", "Bottoms", "Space equally"}, this);
  RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
  RadioGroup2->setGeometry(165, 4, 149, 130);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(76, 142, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(171, 142, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  FormShow();
}

void TAlignF::FormShow() {
  RadioGroup1->SetItemIndex(0);
  RadioGroup2->SetItemIndex(0);
}

void TAlignF::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}
