#include "app/dialogs/sizef.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialogs/radiogroup.h"

namespace {
constexpr int kValueItem = 3;  // "Width:" and "Height:"
constexpr int kMaxDigits = 6;
}  // namespace

TSizeF::TSizeF(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SizeF"));
  setWindowTitle(QStringLiteral("Size"));
  setFixedSize(384, 151);
  RadioGroup1 =
      new TRadioGroup(QStringLiteral("Width"),
                      {"Not change", "Grow to largest", "Shrink to smallest", "Width:"}, this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(8, 4, 180, 106);
  RadioGroup2 =
      new TRadioGroup(QStringLiteral("Height"),
                      {"Not change", "Grow to largest", "Shrink to smallest", "Height:"}, this);
  RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
  RadioGroup2->setGeometry(196, 4, 180, 106);
  Edit1 = new QLineEdit(RadioGroup1);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit2 = new QLineEdit(RadioGroup2);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  for (QLineEdit* box : {Edit1, Edit2}) {
    box->setGeometry(96, 76, 76, 21);
    box->installEventFilter(this);
  }
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(108, 118, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(201, 118, 75, 25);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  FormShow();
}

void TSizeF::FormShow() {
  RadioGroup1->SetItemIndex(0);
  RadioGroup2->SetItemIndex(0);
  Edit1->clear();
  Edit2->clear();
}

void TSizeF::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

bool TSizeF::Edit1KeyPress(const QLineEdit* box, QChar c) const {
  if (c == QChar('\b')) return false;
  if (c >= QChar('0') && c <= QChar('9')) return box->text().size() >= kMaxDigits;
  return true;
}

bool TSizeF::Edit1KeyDown(int key) const {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    // Moving between controls and closing the dialog are not typing.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return false;
    default:
      return true;
  }
}

void TSizeF::Edit1Enter(const QLineEdit* box) {
  (box == Edit1 ? RadioGroup1 : RadioGroup2)->SetItemIndex(kValueItem);
}

bool TSizeF::eventFilter(QObject* watched, QEvent* e) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box || (box != Edit1 && box != Edit2)) return QDialog::eventFilter(watched, e);
  if (e->type() == QEvent::FocusIn) {
    Edit1Enter(box);
  } else if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const QString text = k->text();
    // A key that types one character is judged by the character, the
    // others by the key.
    if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar('\b')))
      return Edit1KeyPress(box, text[0]);
    return Edit1KeyDown(k->key());
  }
  return QDialog::eventFilter(watched, e);
}
