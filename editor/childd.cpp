#include "editor/childd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTextOption>
#include <QWheelEvent>
#include <algorithm>

#include "editor/cursors.h"
#include "editor/diagramaccessible.h"
#include "editor/diagramtext.h"
#include "editor/documenthost.h"
#include "editor/modalquestions.h"
#include "editor/tools/createblocktool.h"
#include "editor/tools/edittexttool.h"
#include "editor/tools/linkpointstool.h"
#include "editor/tools/linktool.h"
#include "editor/tools/movedocumenttool.h"
#include "editor/tools/selecttool.h"
#include "model/listview.h"
#include "model/shemobserver.h"

namespace {
QScrollBar* NewScrollBar(Qt::Orientation o, QWidget* parent) {
  auto* s = new QScrollBar(o, parent);
  s->setFocusPolicy(Qt::NoFocus);
  s->setRange(0, 0);
  s->setPageStep(10);
  s->setSingleStep(1);
  return s;
}

// One notch of the wheel (120 eighths of a degree) scrolls this many pixels
// per line that the desktop asks a notch to scroll.
constexpr int kWheelLinePixels = 16;
constexpr int kWheelNotch = 120;

// The scales the view steps through, smallest first.
constexpr int kScales[] = {1, 2, 4, 8};

// The next scale up (steps > 0) or down (steps < 0), staying within 1 to 8.
int SteppedScale(int scale, int steps) {
  for (; steps > 0; --steps) {
    const int* up = std::upper_bound(std::begin(kScales), std::end(kScales), scale);
    if (up != std::end(kScales)) scale = *up;
  }
  for (; steps < 0; ++steps) {
    const int* down = std::lower_bound(std::begin(kScales), std::end(kScales), scale);
    if (down != std::begin(kScales)) scale = *(down - 1);
  }
  return scale;
}

// Whole notches taken out of a running sum of wheel turns.
int TakeNotches(int& sum, int delta) {
  sum += delta;
  const int notches = sum / kWheelNotch;
  sum -= notches * kWheelNotch;
  return notches;
}
}  // namespace

// The diagram's side of the shared listing panel: passes everything on while
// the panel shows this document, and nothing while it shows another one.
// Rows refer to objects: when objects are deleted, the rows go at once (the
// caller refills the panel), so no row outlives its object, also while the
// panel is hidden and not refilled.
// It is made before the diagram (which reports to it up to its destruction),
// so the window registers it as an observer once the diagram exists.
class TChildD::TListingMirror : public ListView, public TShemObserver {
 public:
  TListingMirror(TDocumentHost* host, const TShem* diagram) : host_(host), diagram_(diagram) {}
  void BeginUpdate() override {
    if (ListView* v = Target()) v->BeginUpdate();
  }
  void EndUpdate() override {
    if (ListView* v = Target()) v->EndUpdate();
  }
  void Clear() override {
    rows_ = false;
    if (ListView* v = Target()) v->Clear();
  }
  void Append(const std::string& caption, int imageIndex, const std::string& position,
              const std::string& size, TShemObj* obj) override {
    if (ListView* v = Target()) {
      rows_ = true;
      v->Append(caption, imageIndex, position, size, obj);
    }
  }
  bool Visible() const override {
    const ListView* v = Target();
    return v && v->Visible();
  }

 private:
  void ObjectsDeleted(const std::vector<TShemObj*>&) override {
    if (rows_) Clear();
  }
  void AllObjectsDeleted() override {
    if (rows_) Clear();
  }
  ListView* Target() const {
    return host_ && host_->ListingShows(diagram_) ? host_->ListingView() : nullptr;
  }
  TDocumentHost* host_;
  const TShem* diagram_;
  bool rows_ = false;  // rows of this diagram may be in the panel
};

// Lets go of the edited block when it leaves the diagram; its pending text
// goes with it.
class TChildD::TEditedBlockWatch : public TShemObserver {
 public:
  explicit TEditedBlockWatch(TChildD& doc) : doc_(doc) { doc_.Diagram.AddObserver(this); }
  ~TEditedBlockWatch() override { doc_.Diagram.RemoveObserver(this); }
  void ObjectsDeleted(const std::vector<TShemObj*>& gone) override {
    if (std::find(gone.begin(), gone.end(), doc_.EditedBlock) != gone.end())
      doc_.EditedBlock = nullptr;
  }
  void AllObjectsDeleted() override { doc_.EditedBlock = nullptr; }

 private:
  TChildD& doc_;
};

TChildD::TChildD(TDocumentHost* host, QWidget* parent)
    : QWidget(parent),
      listing_(std::make_unique<TListingMirror>(host, &Diagram)),
      host_(host),
      editedWatch_(std::make_unique<TEditedBlockWatch>(*this)) {
  SetTool(std::make_unique<TSelectTool>(*this));
  SetTool(std::make_unique<TEditTextTool>(*this));
  SetTool(std::make_unique<TLinkPointsTool>(*this));
  SetTool(std::make_unique<TLinkTool>(*this));
  SetTool(std::make_unique<TMoveDocumentTool>(*this));
  SetTool(std::make_unique<TCreateBlockTool>(*this));
  // FormCreate
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  ScrollBar1 = NewScrollBar(Qt::Horizontal, this);
  ScrollBar2 = NewScrollBar(Qt::Vertical, this);
  connect(ScrollBar1, &QScrollBar::valueChanged, this, &TChildD::ScrollBar1Scroll);
  connect(ScrollBar2, &QScrollBar::valueChanged, this, &TChildD::ScrollBar2Scroll);
  ScrollBar1->setAccessibleName(QStringLiteral("Horizontal scroll bar"));
  ScrollBar2->setAccessibleName(QStringLiteral("Vertical scroll bar"));
  TDiagramAccessible::Install();

  Memo1 = new QTextEdit(this);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setAcceptRichText(false);
  // Centred as the document's default, so that text set or typed later is
  // centred too (a paragraph alignment would go with the first new text).
  QTextOption centred = Memo1->document()->defaultTextOption();
  centred.setAlignment(Qt::AlignHCenter);
  Memo1->document()->setDefaultTextOption(centred);
  Memo1->hide();
  Memo1->setAccessibleName(QStringLiteral("Block text"));
  Memo1->installEventFilter(this);

  Diagram.UserBlocks = &State().UserBlocks;
  Diagram.SetListView(listing_.get());
  Diagram.AddObserver(listing_.get());
  SetFontFace(host_ ? host_->FontFace() : QString());
  SetColor(State().BackgroundColor);
  FormResize();
}

TChildD::~TChildD() {
  // FormDestroy: the selection goes before the objects it refers to.
  Selection.Clear();
  EditedBlock = nullptr;
  Diagram.RemoveObserver(listing_.get());
}

TEditorState& TChildD::State() const {
  static TEditorState standalone;  // for a window without a host
  return host_ ? host_->State() : standalone;
}

void TChildD::SetTool(std::unique_ptr<TEditorTool> tool) {
  if (!tool) return;
  const size_t slot = size_t(tool->Kind());
  if (dragTool_ == tools_[slot].get()) {
    dragTool_ = nullptr;
    MouseState = TMouseState::Idle;
  }
  tools_[slot] = std::move(tool);
}

TViewTransform TChildD::Transform() const { return {ViewTopLeft, Origin, Scale}; }

TPoint TChildD::ScreenToDiagram(TPoint p) const { return Transform().ScreenToDiagram(p); }
TPoint TChildD::DiagramToScreen(TPoint p) const { return Transform().DiagramToScreen(p); }

void TChildD::SetColor(QColor c) {
  color_ = c;
  QPalette pal = Memo1->palette();
  pal.setColor(QPalette::Base, c);
  pal.setColor(QPalette::Window, c);
  Memo1->setPalette(pal);
  Redraw();
}

void TChildD::SetFontFace(const QString& face) {
  if (!face.isEmpty()) font_.setFamily(face);
  const int size = FontSizeForScale(Scale);
  if (size > 0) font_.setPointSize(size);
  Redraw();
}

void TChildD::UpdateScrollRanges() {
  const QRect client = rect();
  ViewTopLeft = {client.left(), client.top()};
  ViewBottomRight = {ScrollBar2->x(), ScrollBar1->y()};
  const TPoint extent = ScalePoint(PointSub(ViewBottomRight, ViewTopLeft), 1.0 / Scale);
  // Each bar pulls its position into the new range by itself. That is not a
  // scroll by the user: Origin stays as it is (until the next scroll) and an
  // open in-place editor stays open, so the bars keep quiet meanwhile.
  {
    const QSignalBlocker quiet1(ScrollBar1), quiet2(ScrollBar2);
    ScrollBar1->setRange(0, std::max(0, 65535 - extent.X));
    ScrollBar2->setRange(0, std::max(0, 65535 - extent.Y));
  }
  const int size = FontSizeForScale(Scale);
  if (size > 0) font_.setPointSize(size);
}

void TChildD::FormResize() {
  const int w = width(), h = height();
  const int sbH = ScrollBar1->sizeHint().height();
  const int sbW = ScrollBar2->sizeHint().width();
  ScrollBar1->setGeometry(0, h - sbH, std::max(0, w - sbW), sbH);
  ScrollBar2->setGeometry(w - sbW, 0, sbW, std::max(0, h - sbH));
  UpdateScrollRanges();
  Redraw();
}

void TChildD::FormShow() {
  FormResize();
  if (host_) SetFontFace(host_->FontFace());
}

void TChildD::ScrollBar1Scroll(int pos) {
  Origin.X = pos;
  Memo1Exit();
  Redraw();
}

void TChildD::ScrollBar2Scroll(int pos) {
  Origin.Y = pos;
  Memo1Exit();
  Redraw();
}

void TChildD::ZoomAt(uint8_t scale, TPoint at) {
  const TPoint under = ScreenToDiagram(at);
  Memo1Exit();
  Scale = scale;
  UpdateScrollRanges();
  // The new origin puts `under` at `at` again: what ScreenToDiagram adds to
  // the origin at the new scale, taken off.
  const TPoint offset = TViewTransform{ViewTopLeft, {0, 0}, Scale}.ScreenToDiagram(at);
  {
    const QSignalBlocker quiet1(ScrollBar1), quiet2(ScrollBar2);
    ScrollBar1->setValue(under.X - offset.X);
    ScrollBar2->setValue(under.Y - offset.Y);
  }
  Origin = {ScrollBar1->value(), ScrollBar2->value()};
  Redraw();
}

void TChildD::wheelEvent(QWheelEvent* e) {
  const QPoint at = e->position().toPoint();
  // Only turns over the drawing area are the view's: a scroll bar at its end
  // lets the wheel go on to here, and so does the square between the bars.
  if (at.x() < ViewTopLeft.X || at.y() < ViewTopLeft.Y || at.x() >= ViewBottomRight.X ||
      at.y() >= ViewBottomRight.Y) {
    e->ignore();
    return;
  }
  e->accept();
  const QPoint delta = e->angleDelta();
  const int along = delta.y() != 0 ? delta.y() : delta.x();
  if (e->modifiers() & Qt::ControlModifier) {
    const int scale = SteppedScale(Scale, TakeNotches(wheelZoom_, along));
    if (scale != Scale) ZoomAt(uint8_t(scale), {at.x(), at.y()});
    return;
  }
  const bool sideways = e->modifiers() & Qt::ShiftModifier;
  // The sums count pixels times notches, so that fine wheels add up exactly;
  // one diagram unit is Scale pixels.
  const int perNotch = QApplication::wheelScrollLines() * kWheelLinePixels;
  auto scroll = [this, perNotch](QScrollBar* bar, int& sum, int turn) {
    if (turn == 0) return;
    sum += turn * perNotch;
    const int units = sum / (kWheelNotch * Scale);
    sum -= units * kWheelNotch * Scale;
    // Turning away from the user shows what lies above (or to the left).
    if (units != 0) bar->setValue(bar->value() - units);
  };
  scroll(ScrollBar1, wheelX_, sideways ? along : delta.x());
  scroll(ScrollBar2, wheelY_, sideways ? 0 : delta.y());
}

void TChildD::Render() {
  const QSize size = this->size();
  if (size.isEmpty()) {
    view_ = QImage();
    return;
  }
  if (view_.size() != size) view_ = QImage(size, QImage::Format_RGB32);
  QPainter p(&view_);
  PaintArea(p, QRect(QPoint(0, 0), size));
  // The square between the two scroll bars is theirs, not the diagram's.
  p.setClipping(false);
  p.fillRect(QRect(QPoint(ViewBottomRight.X, ViewBottomRight.Y),
                   QPoint(size.width() - 1, size.height() - 1)),
             palette().color(QPalette::Window));
}

QRect TChildD::ViewRect() const {
  return QRect(QPoint(ViewTopLeft.X, ViewTopLeft.Y),
               QPoint(ViewBottomRight.X - 1, ViewBottomRight.Y - 1));
}

void TChildD::PaintArea(QPainter& p, const QRect& area, int margin) {
  p.setFont(font_);
  TDiagramPainter painter(p, Transform(), color_, Diagram.UserBlocks);
  painter.FillBackground(area);
  const QRect clip = area & ViewRect();
  if (clip.isEmpty()) return;
  p.setClipRect(clip);
  if (ShowGrid && !DocumentDragging) painter.DrawGrid(ViewTopLeft, ViewBottomRight, Scale);
  const TPoint a = ScreenToDiagram({clip.left(), clip.top()});
  const TPoint b = ScreenToDiagram({clip.right() + 1, clip.bottom() + 1});
  const TRect touched{std::min(a.X, b.X) - margin, std::min(a.Y, b.Y) - margin,
                      std::max(a.X, b.X) + margin, std::max(a.Y, b.Y) + margin};
  painter.DrawObjects(Diagram, touched, [this](const TShemObj* o) { return IsSelected(o); });
}

void TChildD::RedrawBlockArea(const TShemObj* block) {
  if (view_.isNull() || !block || !block->IsBlock()) return;
  const Block& b = block->AsBlock()->Data;
  const auto pixels = [](TRect r) {
    NormalizeRect(r);
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
  };
  // The block with its handles, which reach 2 pixels beyond its corners, and
  // its text rectangle (a user block's may reach outside the block).
  QRect area = pixels(RectOfPoints(DiagramToScreen(b.TopLeft), DiagramToScreen(b.BottomRight)))
                   .adjusted(-3, -3, 3, 3);
  if (const std::optional<TRect> t = ScreenTextRect(b, Transform(), Diagram.UserBlocks))
    area |= pixels(*t);
  area &= ViewRect();
  if (area.isEmpty()) return;
  QPainter p(&view_);
  // Objects near the area may reach into it with handles or arrowheads (5
  // units long): they are drawn too, clipped to the area.
  PaintArea(p, area, 8);
  update(area);
}

void TChildD::Redraw() {
  Render();
  update();
}

void TChildD::DrawBlock(const TShemObj* block, bool selected) {
  if (view_.isNull() || !block || !block->IsBlock()) return;
  QPainter p(&view_);
  p.setFont(font_);
  TDiagramPainter(p, Transform(), color_, Diagram.UserBlocks)
      .DrawBlock(block->AsBlock()->Data, selected);
  update();
}

void TChildD::DrawLink(const TShemObj* link, bool selected) {
  if (view_.isNull() || !link || !link->IsLink()) return;
  QPainter p(&view_);
  TDiagramPainter(p, Transform(), color_, Diagram.UserBlocks).DrawLink(Diagram, link, selected);
  update();
}

void TChildD::SetFeedback(TDragFeedback feedback) {
  const QRegion dirty = feedback_.Region() + feedback.Region();
  feedback_ = std::move(feedback);
  if (!dirty.isEmpty()) update(dirty);
}

void TChildD::paintEvent(QPaintEvent* e) {
  if (view_.size() != size()) Render();
  QPainter p(this);
  p.setClipRegion(e->region());
  if (!view_.isNull()) p.drawImage(0, 0, view_);
  feedback_.Draw(p);
  // What is shown changed: assistive technology hears of it (when it listens).
  NotifyAccessibleChange(this);
}

void TChildD::ShowCursor(TCursor c) { setCursor(AppCursor(c)); }

void TChildD::ShowTextCursor() { setCursor(Qt::IBeamCursor); }

void TChildD::ShowStatus(int panel, TPoint p) {
  if (host_) host_->SetStatusPanel(panel, QString::fromStdString(PointToStr(p)));
}

TRect TChildD::ScreenRectToDiagram(TPoint a, TPoint b) const {
  TRect r = RectOfPoints(ScreenToDiagram(a), ScreenToDiagram(b));
  NormalizeRect(r);
  return r;
}

void TChildD::resizeEvent(QResizeEvent*) { FormResize(); }

void TChildD::showEvent(QShowEvent*) { FormShow(); }

void TChildD::UpdateHint(TPoint p) {
  const TShemObj* o = Diagram.ObjectAt(p);
  if (o && o->IsBlock())
    setToolTip(DiagramToQString(o->AsBlock()->Data.Text));
  else
    setToolTip(QString());
}

bool TChildD::FormCloseQuery() {
  if (!Modified) return true;
  const QMessageBox::StandardButton answer =
      Questions().Ask(this, QStringLiteral("Save changes into ") + Caption() + QStringLiteral("?"),
                      QString::fromUtf8(EditorCaption), QMessageBox::Question,
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  bool close = false;
  if (answer == QMessageBox::Yes) {
    if (host_) host_->SaveDocument(this);
    close = !Modified;
  } else if (answer == QMessageBox::No) {
    close = true;
  }
  if (!close) Redraw();
  return close;
}

void TChildD::closeEvent(QCloseEvent* e) {
  if (FormCloseQuery())
    e->accept();
  else
    e->ignore();
}

TMouseInput TChildD::Input(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                           int y) const {
  return {button, shift, {x, y}, ScreenToDiagram({x, y})};
}

void TChildD::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  // The window takes the focus, so an open in-place editor loses it and commits.
  setFocus(Qt::MouseFocusReason);
  // Any press ends a drag in progress; a press of another button ends it
  // without the work of its release.
  EndDrag();
  if (button != Qt::LeftButton) {
    DragStart = {x, y};
    return;
  }
  if (EditorShown()) Memo1Exit();
  TEditorTool& tool = Tool(State().CurrentTool);
  tool.MouseDown(Input(button, shift, x, y));
  if (MouseState != TMouseState::Idle) dragTool_ = &tool;
}

void TChildD::FormMouseMove(Qt::MouseButtons, Qt::KeyboardModifiers shift, int x, int y) {
  const TMouseInput in = Input(Qt::NoButton, shift, x, y);
  if (dragTool_) {
    dragTool_->DragMove(in);
  } else {
    DragStart = {x, y};
    UpdateHint(in.At);
    ShowStatus(0, in.At);
    ShowCursor(TCursor::Default);
    Tool(State().CurrentTool).IdleMove(in);
  }
  if (!rect().contains(x, y)) ShowCursor(TCursor::Default);
}

void TChildD::FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  if (host_) host_->SetStatusPanel(1, QString());
  TEditorTool* tool = dragTool_;
  dragTool_ = nullptr;
  if (tool) {
    // Releasing another button ends the drag without the release work.
    if (button == Qt::LeftButton)
      tool->MouseUp(Input(button, shift, x, y));
    else
      tool->CancelDrag();
  }
  MouseState = TMouseState::Idle;
}

void TChildD::keyPressEvent(QKeyEvent* e) {
  if (!FormKeyDown(e->key(), e->modifiers())) QWidget::keyPressEvent(e);
}

void TChildD::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  DragStart = {p.x(), p.y()};
  FormDblClick();
  // The second press of the double click follows, as the toolkit's default.
  QWidget::mouseDoubleClickEvent(e);
}

void TChildD::contextMenuEvent(QContextMenuEvent* e) {
  if (e->reason() == QContextMenuEvent::Mouse) DragStart = {e->pos().x(), e->pos().y()};
  if (host_) host_->ContextMenu(this, e->globalPos());
}

void TChildD::changeEvent(QEvent* e) {
  // Assistive technology and UI automation know the view by its caption.
  if (e->type() == QEvent::WindowTitleChange) setAccessibleName(windowTitle());
  QWidget::changeEvent(e);
}

void TChildD::EndDrag() {
  TEditorTool* tool = dragTool_;
  dragTool_ = nullptr;
  MouseState = TMouseState::Idle;
  if (tool) tool->CancelDrag();
}

bool TChildD::eventFilter(QObject* watched, QEvent* e) {
  // A menu or other popup opening takes the focus only for a moment: the
  // editor stays open, so that the Edit commands can act on its text.
  if (watched == Memo1 && e->type() == QEvent::FocusOut && !hidingEditor_ && EditorShown() &&
      static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
    Memo1Exit();
  if (watched == Memo1 && e->type() == QEvent::KeyPress) {
    // The window sees the editor's keys first: paging works while typing.
    const auto* k = static_cast<QKeyEvent*>(e);
    if (Memo1KeyDown(k->key(), k->modifiers())) return true;
    if (k->key() == Qt::Key_PageUp || k->key() == Qt::Key_PageDown)
      return FormKeyDown(k->key(), k->modifiers());
  }
  return QWidget::eventFilter(watched, e);
}

void TChildD::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseDown(e->button(), e->modifiers(), p.x(), p.y());
}

void TChildD::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseMove(e->buttons(), e->modifiers(), p.x(), p.y());
}

void TChildD::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  FormMouseUp(e->button(), e->modifiers(), p.x(), p.y());
}
