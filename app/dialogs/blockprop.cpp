#include "app/dialogs/blockprop.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/icons.h"
#include "editor/diagramtext.h"

namespace {
constexpr int MaxCoordinate = 65535;

// A spin box whose handlers hear every change of its text, also one that is
// not a number yet.
class TNumberBox : public QSpinBox {
 public:
  QLineEdit* Field() const { return lineEdit(); }
};

QSpinBox* SpinBox(const char* name, int low, int high) {
  auto* box = new TNumberBox;
  box->setObjectName(QString::fromUtf8(name));
  box->setRange(low, high);
  box->setAccessibleName(QString::fromUtf8(name).remove(QStringLiteral("Edit")));
  return box;
}

// A panel with a caption and two labelled boxes side by side.
QGroupBox* Panel(const char* caption, const char* first, QSpinBox* a, const char* second,
                 QSpinBox* b) {
  auto* panel = new QGroupBox(QString::fromUtf8(caption));
  auto* grid = new QGridLayout(panel);
  grid->addWidget(new QLabel(QString::fromUtf8(first)), 0, 0);
  grid->addWidget(new QLabel(QString::fromUtf8(second)), 0, 1);
  grid->addWidget(a, 1, 0);
  grid->addWidget(b, 1, 1);
  return panel;
}
}  // namespace

bool TBlockProp::FillAllowed(int kind, bool dotted) {
  const bool closedShape = (kind >= bkSquare && kind <= bkParallelogram) || kind == bkPage;
  return closedShape && !dotted;
}

bool TBlockProp::DottedAllowed(int kind) { return kind != bkText && kind != bkComment; }

TBlockProp::TBlockProp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("BlockProp"));
  setWindowTitle(QStringLiteral("Properties of block"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  ToolBar1 = new QToolBar;
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  // Packed, so that the nine buttons fit into the dialog's 220 pixels.
  ToolBar1->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
  KindGroup = new QActionGroup(this);
  KindGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const QList<QIcon> icons = KindIcons();
  // What the buttons are called by tooltips and screen readers.
  const char* const names[] = {"Rectangle",  "Ellipse",  "Rhomb",   "Parallelogram", "Text",
                               "Commentary", "Document", "Process", "Divider"};
  for (size_t i = 0; i < KindTags.size(); ++i) {
    const int tag = KindTags[i];
    QAction* a = ToolBar1->addAction(icons.value(tag), QString::fromUtf8(names[i]));
    if (QWidget* button = ToolBar1->widgetForAction(a)) {
      button->setAccessibleName(QString::fromUtf8(names[i]));
      button->setFixedSize(22, 22);
    }
    a->setObjectName(QStringLiteral("KindButton%1").arg(tag));
    a->setCheckable(true);
    a->setData(tag);
    KindGroup->addAction(a);
    KindButtons[i] = a;
    connect(a, &QAction::triggered, this, [this, tag] { KindButtonClick(tag); });
  }

  Memo1 = new QPlainTextEdit;
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setTabChangesFocus(true);
  LeftEdit = SpinBox("LeftEdit", 0, MaxCoordinate);
  TopEdit = SpinBox("TopEdit", 0, MaxCoordinate);
  WidthEdit = SpinBox("WidthEdit", 3, 600);
  HeightEdit = SpinBox("HeightEdit", 3, 600);
  FillBox = new QCheckBox(QStringLiteral("Filling interior "));
  FillBox->setObjectName(QStringLiteral("FillBox"));
  DottedBox = new QCheckBox(QStringLiteral("Dotted outline "));
  DottedBox->setObjectName(QStringLiteral("DottedBox"));
  OKButton = new QPushButton(QStringLiteral("OK"));
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"));
  CancelButton->setObjectName(QStringLiteral("CancelButton"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ToolBar1);
  layout->addWidget(Memo1);
  layout->addWidget(Panel("Position", "Left", LeftEdit, "Top", TopEdit));
  layout->addWidget(Panel("Size", "Width", WidthEdit, "Height", HeightEdit));
  layout->addWidget(FillBox);
  layout->addWidget(DottedBox);
  layout->addLayout(buttons);
  setFixedWidth(220);

  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
  auto onText = [this](QSpinBox* box, void (TBlockProp::*handler)()) {
    connect(static_cast<TNumberBox*>(box)->Field(), &QLineEdit::textChanged, this,
            [this, handler] { (this->*handler)(); });
  };
  onText(LeftEdit, &TBlockProp::LeftEditChange);
  onText(TopEdit, &TBlockProp::TopEditChange);
  onText(WidthEdit, &TBlockProp::WidthEditChange);
  onText(HeightEdit, &TBlockProp::HeightEditChange);
  connect(DottedBox, &QCheckBox::clicked, this, [this] { DottedBoxClick(); });
  connect(FillBox, &QCheckBox::clicked, this, [this] { FillBoxClick(); });
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TBlockProp::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TBlockProp::FormShow() {
  showing_ = true;
  QString text = DiagramToQString(Data.Text);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  Memo1->setPlainText(text);
  UpdateBoxes();
  for (QAction* a : KindButtons) a->setChecked(false);
  for (QAction* a : KindButtons)
    if (a->data().toInt() == Data.Kind) a->setChecked(true);
  LeftEdit->setValue(Data.TopLeft.X);
  TopEdit->setValue(Data.TopLeft.Y);
  WidthEdit->setValue(Data.BottomRight.X - Data.TopLeft.X);
  HeightEdit->setValue(Data.BottomRight.Y - Data.TopLeft.Y);
  showing_ = false;
}

void TBlockProp::UpdateBoxes() {
  const QSignalBlocker quiet1(FillBox), quiet2(DottedBox);
  const bool dottedOn = DottedAllowed(Data.Kind);
  DottedBox->setEnabled(dottedOn);
  DottedBox->setChecked(dottedOn && Data.Dotted);
  Data.Dotted = DottedBox->isChecked();
  const bool fillOn = FillAllowed(Data.Kind, Data.Dotted);
  FillBox->setEnabled(fillOn);
  FillBox->setChecked(fillOn && Data.Filled);
  Data.Filled = FillBox->isChecked();
}

void TBlockProp::KindButtonClick(int tag) {
  Data.Kind = uint8_t(tag);
  UpdateBoxes();
}

void TBlockProp::Memo1Change() {
  if (showing_) return;
  QString text = Memo1->toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  Data.Text = QStringToDiagram(text);
}

int TBlockProp::BoxValue(const QSpinBox* box) {
  bool ok = false;
  const int v = box->cleanText().toInt(&ok);
  return ok ? std::clamp(v, box->minimum(), box->maximum()) : box->minimum();
}

// The far edge stays within the coordinates a file can hold.
void TBlockProp::LeftEditChange() {
  if (showing_) return;
  Data.TopLeft.X = BoxValue(LeftEdit);
  Data.BottomRight.X = std::min(MaxCoordinate, Data.TopLeft.X + BoxValue(WidthEdit));
}

void TBlockProp::TopEditChange() {
  if (showing_) return;
  Data.TopLeft.Y = BoxValue(TopEdit);
  Data.BottomRight.Y = std::min(MaxCoordinate, Data.TopLeft.Y + BoxValue(HeightEdit));
}

void TBlockProp::WidthEditChange() {
  if (showing_) return;
  Data.BottomRight.X = std::min(MaxCoordinate, Data.TopLeft.X + BoxValue(WidthEdit));
}

void TBlockProp::HeightEditChange() {
  if (showing_) return;
  Data.BottomRight.Y = std::min(MaxCoordinate, Data.TopLeft.Y + BoxValue(HeightEdit));
}

void TBlockProp::DottedBoxClick() {
  Data.Dotted = DottedBox->isChecked();
  UpdateBoxes();
}

void TBlockProp::FillBoxClick() { Data.Filled = FillBox->isChecked(); }
