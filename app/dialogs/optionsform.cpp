#include "app/dialogs/optionsform.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/modalquestions.h"
#include "model/shemobj.h"

namespace {
constexpr int EmptySizeValue = 20;

// A size box that reads an emptied text as 20 when it is left.
class TSizeSpinBox : public QSpinBox {
 public:
  TSizeSpinBox(int low, int high) {
    setRange(low, high);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  }
  void fixup(QString& input) const override {
    if (input.trimmed().isEmpty())
      input = QString::number(EmptySizeValue);
    else
      QSpinBox::fixup(input);
  }
};

std::optional<QColor> AskColor(QWidget* parent, QColor initial) {
  QColorDialog dialog(initial, parent);
  if (Questions().ShowModal(&dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor();
}
}  // namespace

int TOptionsForm::KindOfEntry(int entry) { return entry < bkPoint ? entry : entry + 1; }

TOptionsForm::TOptionsForm(TEditorState& state, QWidget* parent)
    : QDialog(parent), ChooseColor(AskColor), state_(state) {
  setObjectName(QStringLiteral("OptionsForm"));
  setWindowTitle(QStringLiteral("Options"));

  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(false);
  ComboBox1->addItems({"Square", "Ellipse", "Rhomb", "Parallelogram", "Text", "Comments",
                       "Document", "Predefined process", "Page divider"});
  ComboBox1->setAccessibleName(QStringLiteral("Type of block"));
  SpinEdit1 = new TSizeSpinBox(20, 255);
  SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  SpinEdit1->setAccessibleName(QStringLiteral("Width"));
  SpinEdit2 = new TSizeSpinBox(10, 255);
  SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
  SpinEdit2->setAccessibleName(QStringLiteral("Height"));
  Panel1 = new QPushButton(QStringLiteral("Change"));
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setAccessibleName(QStringLiteral("Background color"));
  Panel1->setFlat(true);
  Panel1->setAutoFillBackground(true);
  OKButton = new QPushButton(QStringLiteral("OK"));
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"));
  CancelButton->setObjectName(QStringLiteral("CancelButton"));

  auto* sizes = new QGridLayout;
  sizes->addWidget(new QLabel(QStringLiteral("Size of standard block.")), 0, 0, 1, 3);
  sizes->addWidget(new QLabel(QStringLiteral("Type of block")), 1, 0);
  sizes->addWidget(new QLabel(QStringLiteral("Width")), 1, 1);
  sizes->addWidget(new QLabel(QStringLiteral("Height")), 1, 2);
  sizes->addWidget(ComboBox1, 2, 0);
  sizes->addWidget(SpinEdit1, 2, 1);
  sizes->addWidget(SpinEdit2, 2, 2);
  sizes->setColumnStretch(0, 1);
  auto* color = new QHBoxLayout;
  color->addWidget(new QLabel(QStringLiteral("Background color")));
  color->addWidget(Panel1);
  color->addStretch();
  color->addWidget(OKButton);
  color->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sizes);
  layout->addLayout(color);
  resize(270, 121);

  connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
  connect(SpinEdit1, &QSpinBox::editingFinished, this, [this] { SpinEditExit(); });
  connect(SpinEdit2, &QSpinBox::editingFinished, this, [this] { SpinEditExit(); });
  connect(Panel1, &QPushButton::clicked, this, [this] { Panel1Click(); });
  connect(OKButton, &QPushButton::clicked, this, &TOptionsForm::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TOptionsForm::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TOptionsForm::FormShow() {
  Sizes = state_.StandardBlockSizes;
  Color = state_.BackgroundColor;
  if (ComboBox1->currentIndex() == 0)
    ComboBox1Change();
  else
    ComboBox1->setCurrentIndex(0);
  ShowColor();
}

void TOptionsForm::ComboBox1Change() {
  const auto& [w, h] = Sizes[size_t(KindOfEntry(std::max(0, ComboBox1->currentIndex())))];
  SpinEdit1->setValue(w);
  SpinEdit2->setValue(h);
}

void TOptionsForm::SpinEditExit() {
  for (QSpinBox* box : {SpinEdit1, SpinEdit2}) {
    const QString text = box->cleanText().trimmed();
    bool number = false;
    const int v = text.toInt(&number);
    if (text.isEmpty())
      box->setValue(EmptySizeValue);
    else if (number)
      box->setValue(std::clamp(v, box->minimum(), box->maximum()));
    else
      box->interpretText();  // not a number: the box keeps its last value
  }
  Sizes[size_t(KindOfEntry(std::max(0, ComboBox1->currentIndex())))] = {SpinEdit1->value(),
                                                                        SpinEdit2->value()};
}

void TOptionsForm::Panel1Click() {
  if (!ChooseColor) return;
  if (const std::optional<QColor> c = ChooseColor(this, Color)) {
    Color = *c;
    ShowColor();
  }
}

void TOptionsForm::ShowColor() {
  QPalette pal = Panel1->palette();
  pal.setColor(QPalette::Button, Color);
  pal.setColor(QPalette::Window, Color);
  pal.setColor(QPalette::ButtonText, qGray(Color.rgb()) < 128 ? Qt::white : Qt::black);
  Panel1->setPalette(pal);
}

void TOptionsForm::accept() {
  // A size still being typed counts as left.
  SpinEditExit();
  state_.StandardBlockSizes = Sizes;
  state_.BackgroundColor = Color;
  QDialog::accept();
}
