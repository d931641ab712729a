#include "pascal/gui/customedit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "pascal/gui/editkeys.h"

TmCustomEdit::TmCustomEdit(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::IBeamCursor);

  look_.Color = palette().color(QPalette::Base);
  look_.GutterColor = palette().color(QPalette::Button);
  TakeSystemColours();

  QFont f(QStringLiteral("Courier New"));
  f.setPointSize(10);
  if (!IsFixedPitch(f)) {
    // No Courier New here, not even by another name: the system's own
    // fixed-pitch face stands in.
    f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(10);
  }
  fixedFont_ = f;
  setFont(f);
  AdoptFont();
  resize(200, 150);
  SetScrollBars(TScrollStyle::Both);
  UpdateScrollBars();
}

// ---- text -----------------------------------------------------------------

void TmCustomEdit::SetLines(QStringList lines) {
  text_.SetLines(std::move(lines));
  text_.TakeChanged();
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::SetText(const QString& text) { SetLines(TEditText::SplitLines(text)); }

void TmCustomEdit::SetLineText(const QString& s) {
  const QRect oldCaret = CaretRect();
  text_.SetCaretLineText(s);
  RepaintChanged(oldCaret);
}

void TmCustomEdit::SetWords(const QStringList& words) {
  words_ = words;
  keywords_.Assign(words);
  RepaintAll();
}

// ---- properties -------------------------------------------------------------

void TmCustomEdit::SetColor(const QColor& c) {
  look_.Color = c;
  RepaintAll();
}

void TmCustomEdit::SetGutterColor(const QColor& c) {
  look_.GutterColor = c;
  RepaintAll();
}

void TmCustomEdit::SetGutterWidth(int w) {
  look_.GutterWidth = std::max(0, w);
  RepaintAll();
}

void TmCustomEdit::SetRightEdge(int col) {
  look_.RightEdge = col;
  RepaintAll();
}

void TmCustomEdit::SetLeftChar(int col) {
  col = std::clamp(col, 1, WidestColumn);
  if (col == view_.LeftChar) return;
  view_.LeftChar = col;
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::SetTopLine(int line) {
  line = std::clamp(line, 1, std::max(1, LineCount()));
  if (line == view_.TopLine) return;
  view_.TopLine = line;
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::SetScrollBars(TScrollStyle s) {
  scrollBars_ = s;
  const bool h = s == TScrollStyle::Horizontal || s == TScrollStyle::Both;
  const bool v = s == TScrollStyle::Vertical || s == TScrollStyle::Both;
  setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

int TmCustomEdit::LinesInWindow() const { return (height() - 4) / std::max(1, look_.LineHeight); }

int TmCustomEdit::CharsInWindow() const {
  const bool v = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
  return (width() - look_.GutterWidth - (v ? 18 : 4)) / std::max(1, look_.CharWidth);
}

// ---- caret and selection -----------------------------------------------------

void TmCustomEdit::SetCaretCol(int oneBasedCol) {
  const QRect old = CaretRect();
  text_.SetCaretCol(oneBasedCol - 1);
  RepaintChanged(old);
}

void TmCustomEdit::SetCaretLine(int line) {
  const QRect old = CaretRect();
  text_.SetCaretLine(line);
  RepaintChanged(old);
}

QRect TmCustomEdit::CaretRect() const {
  if (!caretOn_) return QRect();
  const TTextPos c = text_.Caret();
  const int lh = look_.LineHeight;
  const int x = TextOriginX() + c.Col * look_.CharWidth;
  const int row = (c.Line - view_.TopLine) * lh;
  if (x <= look_.GutterWidth || x >= width() - 2) return QRect();
  if (row < 0 || row + lh > viewport()->height()) return QRect();
  return QRect(x, row + 2, 2, lh - 2);
}

void TmCustomEdit::DeleteSelection() {
  text_.DeleteSelection();
  text_.TakeChanged();
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::CopyToClipboard() {
  if (!text_.SelectionActive()) return;
  QGuiApplication::clipboard()->setText(text_.SelectedText());
}

void TmCustomEdit::PasteFromClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return;
  text_.InsertText(data->text());
  text_.TakeChanged();
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::SelectAll() {
  text_.SelectAll();
  RepaintAll();
}

// ---- measuring and scrolling -----------------------------------------------------

bool TmCustomEdit::IsFixedPitch(const QFont& f) {
  // Every printable ASCII character as wide as the space. (The font's
  // overall maximum width also counts glyphs far outside what program text
  // uses, and is wider than the average even in many fixed-pitch faces.)
  const QFontMetricsF m(f);
  const qreal space = m.horizontalAdvance(QLatin1Char(' '));
  for (char c = '!'; c <= '~'; ++c)
    if (std::abs(m.horizontalAdvance(QLatin1Char(c)) - space) > 0.01) return false;
  return true;
}

void TmCustomEdit::AdoptFont() {
  QFont f = font();
  QFontMetrics m(f);
  if (!IsFixedPitch(f)) {
    // A proportional font: keep the fixed-pitch face, take size and style.
    QFont own = fixedFont_;
    if (f.pixelSize() > 0)
      own.setPixelSize(f.pixelSize());
    else
      own.setPointSizeF(f.pointSizeF());
    own.setWeight(f.weight());
    own.setItalic(f.italic());
    own.setUnderline(f.underline());
    own.setStrikeOut(f.strikeOut());
    f = own;
    adoptingFont_ = true;
    setFont(f);
    adoptingFont_ = false;
    m = QFontMetrics(f);
  } else {
    fixedFont_ = f;
  }
  look_.CharWidth = std::max(1, m.averageCharWidth());
  look_.LineHeight = std::max(1, m.height() + m.leading());
  look_.Ascent = m.ascent();
  // Glyph advances may be fractional; spacing them out to whole cells keeps
  // every character on the column grid that the caret and the mouse use.
  auto onGrid = [this](QFont g) {
    g.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    const qreal advance = QFontMetricsF(g).horizontalAdvance(QLatin1Char('x'));
    g.setLetterSpacing(QFont::AbsoluteSpacing, look_.CharWidth - advance);
    return g;
  };
  look_.Font = onGrid(f);
  QFont bold = f;
  bold.setBold(true);
  look_.BoldFont = onGrid(bold);
  UpdateFits();
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::TakeSystemColours() {
  const QPalette& pal = palette();
  look_.TextColor = pal.color(QPalette::Text);
  look_.Highlight = pal.color(QPalette::Highlight);
  look_.HighlightText = pal.color(QPalette::HighlightedText);
  look_.GutterLight = pal.color(QPalette::Light);
  look_.GutterShadow = pal.color(QPalette::Dark);
  look_.Window = pal.color(QPalette::Base);
}

void TmCustomEdit::UpdateFits() {
  view_.Client = viewport()->size();
  view_.LinesFit = std::max(0, (view_.Client.height() - 4) / look_.LineHeight);
  charsFit_ = std::max(0, (view_.Client.width() - 4) / look_.CharWidth);
}

void TmCustomEdit::UpdateScrollBars() {
  // Deleting lines may have left the top line below the last one.
  view_.TopLine = std::clamp(view_.TopLine, 1, std::max(1, LineCount()));
  syncingBars_ = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(1, std::max(1, LineCount()));
  v->setPageStep(std::max(1, view_.LinesFit));
  v->setSingleStep(1);
  v->setValue(view_.TopLine);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(1, WidestColumn);
  h->setPageStep(std::max(1, charsFit_));
  h->setSingleStep(1);
  h->setValue(view_.LeftChar);
  syncingBars_ = false;
}

void TmCustomEdit::scrollContentsBy(int, int) {
  if (syncingBars_) return;
  SetTopLine(verticalScrollBar()->value());
  SetLeftChar(horizontalScrollBar()->value());
}

void TmCustomEdit::ScrollToCaretColumn() {
  const int col = text_.Caret().Col;
  const int fit = std::max(1, CharsInWindow());
  if (col < view_.LeftChar - 1)
    SetLeftChar(col + 1);
  else if (col >= view_.LeftChar - 1 + fit)
    SetLeftChar(col - fit + 2);
}

// ---- painting -----------------------------------------------------------------

void TmCustomEdit::RepaintChanged(const QRect& oldCaret) {
  const TEditText::TChanged c = text_.TakeChanged();
  QRegion dirty = QRegion(oldCaret) + CaretRect();
  if (c.From != 0) {
    if (c.To == INT_MAX) UpdateScrollBars();
    const int lh = look_.LineHeight;
    const int top = std::max(0, (c.From - view_.TopLine) * lh);
    const int bottom = c.To == INT_MAX
                           ? viewport()->height()
                           : std::min(viewport()->height(), (c.To - view_.TopLine + 1) * lh);
    if (bottom > top) dirty += QRect(0, top, viewport()->width(), bottom - top);
  }
  if (!dirty.isEmpty()) viewport()->update(dirty);
}

void TmCustomEdit::paintEvent(QPaintEvent* e) {
  const qreal dpr = viewport()->devicePixelRatioF();
  const QSize size = viewport()->size() * dpr;
  if (buffer_.size() != size) {
    buffer_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    buffer_.setDevicePixelRatio(dpr);
  }
  // Everything asked for is painted again into the image, then copied to
  // the screen in one step; the caret is drawn over the copy.
  {
    QPainter p(&buffer_);
    p.setClipRegion(e->region());
    TCodePainter::Paint(p, e->rect(), text_, keywords_, look_, view_);
  }
  QPainter w(viewport());
  w.setClipRegion(e->region());
  w.drawImage(0, 0, buffer_);
  const QRect caret = CaretRect();
  if (!caret.isEmpty()) {
    w.setCompositionMode(QPainter::CompositionMode_Difference);
    w.fillRect(caret, Qt::white);
  }
}

void TmCustomEdit::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateFits();
  UpdateScrollBars();
  RepaintAll();
}

void TmCustomEdit::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::FontChange && !adoptingFont_) AdoptFont();
  if (e->type() == QEvent::PaletteChange) {
    TakeSystemColours();
    RepaintAll();
  }
}

// ---- input ---------------------------------------------------------------------

bool TmCustomEdit::event(QEvent* e) {
  // Inside dialogs the control takes the arrow keys and typed characters
  // itself, before any shortcut or default button sees them.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (TEditKeys::WantsKey(k)) {
      k->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

void TmCustomEdit::keyPressEvent(QKeyEvent* e) {
  emit KeyDown(e);
  if (TEditKeys::KeyDown(*this, e)) {
    e->accept();
    return;
  }
  if (TEditKeys::TypeChars(*this, e)) {
    e->accept();
    return;
  }
  e->ignore();
}

void TmCustomEdit::inputMethodEvent(QInputMethodEvent* e) {
  // Characters composed by an input method arrive here rather than as keys.
  TEditKeys::TypeText(*this, e->commitString());
  e->accept();
}

void TmCustomEdit::keyReleaseEvent(QKeyEvent* e) {
  emit KeyUp(e);
  QAbstractScrollArea::keyReleaseEvent(e);
}

TTextPos TmCustomEdit::PosAt(const QPoint& p) const {
  const int col = std::max(0, (p.x() - look_.GutterWidth) / look_.CharWidth + view_.LeftChar - 1);
  const int line =
      std::clamp(view_.TopLine + p.y() / look_.LineHeight, 1, std::max(1, LineCount()));
  return {col, line};
}

void TmCustomEdit::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  const TTextPos p = PosAt(e->position().toPoint());
  text_.SetCaret(p);
  if (e->button() == Qt::LeftButton) {
    text_.StartSelection(text_.Caret());
    dragging_ = true;
  }
  RepaintAll();
}

void TmCustomEdit::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  viewport()->setCursor(pt.x() <= look_.GutterWidth ? Qt::ArrowCursor : Qt::IBeamCursor);
  if (!dragging_) return;
  text_.SetCaret(PosAt(pt));
  text_.SetSelEnd(text_.Caret());
  RepaintAll();
}

void TmCustomEdit::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void TmCustomEdit::contextMenuEvent(QContextMenuEvent* e) {
  if (popup_) popup_->exec(e->globalPos());
}

void TmCustomEdit::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  caretOn_ = true;
  viewport()->update(CaretRect());
}

void TmCustomEdit::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update(CaretRect());
  caretOn_ = false;
}
