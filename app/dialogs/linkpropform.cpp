#include "app/dialogs/linkpropform.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {
constexpr int LinkTypeCount = 8;

// The drop-down list draws its entries itself; the closed box shows the
// selected entry the same way.
class TLinkTypeDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
    DrawLinkTypeEntry(*p, o.rect, i.row(), o.state & QStyle::State_Selected,
                      o.palette.color(QPalette::Base), o.palette.color(QPalette::Highlight));
  }
  QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex&) const override {
    return {o.rect.width(), TLinkPropForm::EntryHeight};
  }
};

class TLinkTypeBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QComboBox::paintEvent(e);
    QStyleOptionComboBox o;
    initStyleOption(&o);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, this);
    QPainter p(this);
    DrawLinkTypeEntry(p, field, currentIndex(), false, palette().color(QPalette::Base),
                      palette().color(QPalette::Highlight));
  }
};
}  // namespace

void DrawLinkTypeEntry(QPainter& p, const QRect& r, int n, bool selected, const QColor& background,
                       const QColor& selection) {
  // The rectangle's right and bottom edges lie just outside it.
  const int left = r.left(), top = r.top(), right = r.left() + r.width(),
            bottom = r.top() + r.height();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(r, selected ? selection : background);
  if (n >= 0) {
    QPen pen(selected ? Qt::white : Qt::black);
    pen.setWidth(0);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int m = (top + bottom) / 2;
    // Each arrowhead is a closed outline of three sides, drawn side by side so
    // that every corner pixel is set.
    auto arrowhead = [&p](QPoint tip, QPoint back1, QPoint back2) {
      p.drawLine(tip, back1);
      p.drawLine(back1, back2);
      p.drawLine(back2, tip);
    };
    if ((n % 4) & 1)
      arrowhead(QPoint(right - 3, m), QPoint(right - 10, m - 3), QPoint(right - 10, m + 3));
    if ((n % 4) & 2)
      arrowhead(QPoint(left + 3, m), QPoint(left + 10, m - 3), QPoint(left + 10, m + 3));
    pen.setStyle(n > 3 ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    p.drawLine(left + 3, m, right - 3, m);
  }
  p.restore();
}

TLinkPropForm::TLinkPropForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("LinkPropForm"));
  setWindowTitle(QStringLiteral("Properties of link"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  ComboBox1 = new TLinkTypeBox;
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setAccessibleName(QStringLiteral("Type of link"));
  for (int t = 0; t < LinkTypeCount; ++t) {
    ComboBox1->addItem(QString());
    // Read aloud instead of the picture.
    QString spoken = QLatin1String(t > 3 ? "dotted" : "solid");
    if ((t % 4) & 2) spoken += QLatin1String(", arrow at the start");
    if ((t % 4) & 1) spoken += QLatin1String(", arrow at the end");
    ComboBox1->setItemData(t, spoken, Qt::AccessibleTextRole);
  }
  ComboBox1->setItemDelegate(new TLinkTypeDelegate(ComboBox1));
  OKButton = new QPushButton(QStringLiteral("OK"));
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"));
  CancelButton->setObjectName(QStringLiteral("CancelButton"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ComboBox1);
  layout->addLayout(buttons);
  setFixedWidth(194);

  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int TLinkPropForm::LinkType() const { return ComboBox1->currentIndex(); }

void TLinkPropForm::SetLinkType(int t) {
  ComboBox1->setCurrentIndex(t >= 0 && t < LinkTypeCount ? t : 0);
}
