#pragma once
// TmCustomEdit: a small editor control for program text. Lines in a
// fixed-pitch font, a gutter strip, keywords in bold, a guide line at the
// right-edge column, a caret, a stream selection, keyboard and mouse
// navigation, auto-indenting line breaks and clipboard exchange. It paints
// itself completely, through an off-screen image.

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QStringList>

#include "pascal/gui/codepainter.h"
#include "pascal/gui/edittext.h"

class QMenu;

class TmCustomEdit : public QAbstractScrollArea {
  Q_OBJECT
 public:
  enum class TScrollStyle { None, Horizontal, Vertical, Both };
  static constexpr int WidestColumn = 1024;

  explicit TmCustomEdit(QWidget* parent = nullptr);

  // The text, one entry per line; any change refreshes the scroll bars and
  // repaints.
  const QStringList& Lines() const { return text_.Lines(); }
  void SetLines(QStringList lines);
  // Lines joined with CR LF; setting splits at line breaks.
  QString Text() const { return text_.Text(); }
  void SetText(const QString& text);
  void ClearLines() { SetLines({}); }
  int LineCount() const { return text_.LineCount(); }
  QString LineText() const { return text_.Line(text_.Caret().Line); }
  void SetLineText(const QString& s);

  // Keywords, drawn bold wherever a word's lower-case form is among them.
  const QStringList& Words() const { return words_; }
  void SetWords(const QStringList& words);

  QColor Color() const { return look_.Color; }
  void SetColor(const QColor& c);
  QColor GutterColor() const { return look_.GutterColor; }
  void SetGutterColor(const QColor& c);
  int GutterWidth() const { return look_.GutterWidth; }
  void SetGutterWidth(int w);
  int RightEdge() const { return look_.RightEdge; }
  void SetRightEdge(int col);
  int LeftChar() const { return view_.LeftChar; }
  void SetLeftChar(int col);  // clamped to 1..1024
  int TopLine() const { return view_.TopLine; }
  void SetTopLine(int line);  // clamped to 1..line count
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s);
  // (control height - 4) div line height.
  int LinesInWindow() const;
  // (control width - gutter - 4) div character width, or - 18 with a
  // vertical scroll bar.
  int CharsInWindow() const;

  // The caret: column from 0 (a 1-based argument here, 0 or less gives the
  // first column) and line from 1 (clamped to the lines).
  void SetCaretCol(int oneBasedCol);
  void SetCaretLine(int line);
  TTextPos Caret() const { return text_.Caret(); }
  bool InsertMode() const { return text_.InsertMode(); }

  bool SelectionActive() const { return text_.SelectionActive(); }
  TTextPos SelAnchor() const { return text_.SelAnchor(); }
  TTextPos SelEnd() const { return text_.SelEnd(); }
  QString SelectedText() const { return text_.SelectedText(); }
  void DeleteSelection();
  void CopyToClipboard();
  void PasteFromClipboard();
  void SelectAll();

  // True when every printable ASCII character of f has the same width.
  static bool IsFixedPitch(const QFont& f);

  // Measurements of the current font, and where text and caret go.
  int CharWidth() const { return look_.CharWidth; }
  int LineHeight() const { return look_.LineHeight; }
  int TextOriginX() const { return TCodeView::TextOrigin(look_, view_.LeftChar); }
  // The caret rectangle in the client area, empty while it is hidden.
  QRect CaretRect() const;

  // Shown on a right click, as the control's popup menu (not owned).
  void SetPopupMenu(QMenu* menu) { popup_ = menu; }
  QMenu* PopupMenu() const { return popup_; }

 signals:
  // The user's key handlers; KeyDown runs before the control's own keys.
  void KeyDown(QKeyEvent* e);
  void KeyUp(QKeyEvent* e);

 protected:
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  friend class TEditKeys;

  void AdoptFont();
  // The text, selection and gutter edge colours of the palette; the control
  // and gutter colours are properties of their own.
  void TakeSystemColours();
  void UpdateFits();
  void UpdateScrollBars();
  // Repaints what the last edit changed (only the changed lines when no line
  // moved, else everything from the first changed line down) and the caret's
  // old and new places.
  void RepaintChanged(const QRect& oldCaret);
  void RepaintAll() { viewport()->update(); }
  TTextPos PosAt(const QPoint& p) const;
  // Horizontal scrolling that brings the caret column into the window.
  void ScrollToCaretColumn();

  TEditText text_;
  QStringList words_;
  TKeywords keywords_;
  TCodeLook look_;
  TCodeView view_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = TScrollStyle::Both;
  int charsFit_ = 0;
  bool dragging_ = false;
  bool caretOn_ = false;
  bool adoptingFont_ = false;
  bool syncingBars_ = false;
  QMenu* popup_ = nullptr;
  QFont fixedFont_;  // kept when a proportional font is assigned
  QImage buffer_;
};
