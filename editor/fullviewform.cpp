#include "editor/fullviewform.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "editor/childd.h"
#include "editor/cursors.h"

namespace {
// Diagram coordinates stay within 0..65535; a pan never asks a scroll bar for
// more (the bar then keeps within its own range).
constexpr int kDiagramMax = 65535;

int PannedPosition(int position, int from, int to) {
  return std::min(std::max(0, position + from - to), kDiagramMax);
}
}  // namespace

TFullViewForm::TFullViewForm(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint) {
  // FormCreate: a window without a title bar, the size of the screen (the
  // window manager, if any, keeps its frame).
  setObjectName(QStringLiteral("FullViewForm"));
  setWindowTitle(QStringLiteral("Full-screen preview"));
  setAccessibleName(windowTitle());
  setModal(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->setAccessibleName(QStringLiteral("Preview scale"));
  x11 = AddScaleItem("x11", "x 1", 1);
  x21 = AddScaleItem("x21", "x 2", 2);
  x41 = AddScaleItem("x41", "x 4", 4);
  x81 = AddScaleItem("x81", "x 8", 8);
  x11->setChecked(true);
  PopupMenu1->addSeparator();
  Exit1 = PopupMenu1->addAction(QStringLiteral("Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
}

QAction* TFullViewForm::AddScaleItem(const char* name, const char* caption, int scale) {
  QAction* a = PopupMenu1->addAction(QString::fromLatin1(caption));
  a->setObjectName(QString::fromLatin1(name));
  a->setData(scale);
  a->setCheckable(true);
  connect(a, &QAction::triggered, this, [this, a] { x11Click(a); });
  return a;
}

TViewTransform TFullViewForm::Transform() const {
  if (!PreviewDocument) return {};
  return {{0, 0}, PreviewDocument->Origin, PreviewDocument->Scale};
}

void TFullViewForm::UpdatePreviewArea() {
  if (!PreviewDocument) {
    PreviewArea = {};
    return;
  }
  const TPoint origin = PreviewDocument->Origin;
  const TPoint extent = ScalePoint({PreviewWidth, PreviewHeight}, 1.0 / PreviewDocument->Scale);
  const TPoint end = PointAdd(origin, extent);
  PreviewArea = {origin.X, origin.Y, end.X, end.Y};
}

QColor TFullViewForm::FaceColor() const { return palette().color(QPalette::Window); }

void TFullViewForm::TakeDocumentFont() {
  if (PreviewDocument) font_ = PreviewDocument->CanvasFont();
}

void TFullViewForm::PlaceOnScreen() {
  // The screen of the main window; the geometry is set as well as the state,
  // so that the preview covers the screen also when no window manager acts
  // on the maximised state.
  QScreen* screen = nullptr;
  if (PreviewDocument && PreviewDocument->window()) screen = PreviewDocument->window()->screen();
  if (!screen && parentWidget()) screen = parentWidget()->window()->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  setScreen(screen);
  setGeometry(screen->availableGeometry());
  setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) |
                 Qt::WindowMaximized);
}

void TFullViewForm::setVisible(bool visible) {
  if (visible && !isVisible()) PlaceOnScreen();
  QDialog::setVisible(visible);
}

void TFullViewForm::FormShow() {
  PreviewDragging = false;
  UpdatePreviewArea();
  TakeDocumentFont();
  setCursor(AppCursor(TCursor::Hand));
  setFocus();
  update();
}

void TFullViewForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
  opening_ = true;
}

void TFullViewForm::FormPaint(QPainter& painter) {
  const QColor face = FaceColor();
  painter.fillRect(rect(), face);
  if (!PreviewDocument) return;
  painter.setFont(font_);
  TDiagramPainter dp(painter, Transform(), face, PreviewDocument->Diagram.UserBlocks);
  dp.DrawObjects(PreviewDocument->Diagram, PreviewArea, nullptr);
}

void TFullViewForm::paintEvent(QPaintEvent*) {
  {
    QPainter p(this);
    FormPaint(p);
  }
  if (opening_) {
    opening_ = false;
    emit Opened();
  }
}

bool TFullViewForm::FormKeyDown(int key) {
  if (key != Qt::Key_Escape) return false;
  Exit1Click();
  return true;
}

void TFullViewForm::keyPressEvent(QKeyEvent* e) {
  // Escape ends the display with OK here, not with the dialog's Cancel.
  if (!FormKeyDown(e->key())) e->ignore();
}

void TFullViewForm::FormMouseDown(int x, int y) {
  setCursor(AppCursor(TCursor::HandClosed));
  PreviewDragStart = {x, y};
  PreviewDragging = true;
}

void TFullViewForm::FormMouseMove(int x, int y) {
  if (!PreviewDragging || !PreviewDocument) return;
  setCursor(AppCursor(TCursor::HandClosed));
  TChildD& doc = *PreviewDocument;
  {
    // Both bars move first; the document is redrawn when the preview ends.
    const QSignalBlocker quiet1(doc.ScrollBar1), quiet2(doc.ScrollBar2);
    doc.ScrollBar1->setValue(PannedPosition(doc.ScrollBar1->value(), PreviewDragStart.X, x));
    doc.ScrollBar2->setValue(PannedPosition(doc.ScrollBar2->value(), PreviewDragStart.Y, y));
  }
  doc.Origin = {doc.ScrollBar1->value(), doc.ScrollBar2->value()};
  PreviewDragStart = {x, y};
  UpdatePreviewArea();
  update();
}

void TFullViewForm::FormMouseUp() {
  PreviewDragging = false;
  setCursor(AppCursor(TCursor::Hand));
}

void TFullViewForm::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseDown(p.x(), p.y());
}

void TFullViewForm::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseMove(p.x(), p.y());
}

void TFullViewForm::mouseReleaseEvent(QMouseEvent* e) {
  FormMouseUp();
  // The right button pans like the others and opens the menu where it is
  // released.
  if (e->button() == Qt::RightButton) PopupMenu1->popup(e->globalPosition().toPoint());
}

void TFullViewForm::contextMenuEvent(QContextMenuEvent* e) {
  // A right press comes here too (before its release); only the keyboard's
  // menu key opens the menu at once.
  e->accept();
  if (e->reason() != QContextMenuEvent::Mouse) PopupMenu1->popup(e->globalPos());
}

void TFullViewForm::PopupMenu1Popup() {
  const int scale = PreviewDocument ? PreviewDocument->Scale : 0;
  for (QAction* a : {x11, x21, x41, x81}) a->setChecked(a->data().toInt() == scale);
}

void TFullViewForm::x11Click(QAction* item) {
  if (!PreviewDocument || !item) return;
  PreviewDocument->Scale = uint8_t(item->data().toInt());
  PreviewDocument->UpdateScrollRanges();
  UpdatePreviewArea();
  TakeDocumentFont();
  PopupMenu1Popup();
  update();
}

void TFullViewForm::Exit1Click() { accept(); }

void TFullViewForm::done(int result) {
  PreviewDragging = false;
  // The document's own view was left as it was while the preview changed its
  // origin and scale; it shows them from now on.
  if (PreviewDocument) PreviewDocument->Redraw();
  QDialog::done(result);
}
