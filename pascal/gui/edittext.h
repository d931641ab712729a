#pragma once
// The text of the code view with its caret and stream selection, and the
// editing operations of its keys, typing and clipboard exchange. No painting
// and no scrolling here: the control reads which lines changed and keeps the
// caret in view itself.

#include <QString>
#include <QStringList>
#include <climits>

// A place in the text: Col character cells before it on its line (0 is before
// the first character; it may lie beyond the end of the line), Line counted
// from 1.
struct TTextPos {
  int Col = -1;
  int Line = -1;
  friend bool operator==(const TTextPos&, const TTextPos&) = default;
  friend bool operator<(const TTextPos& a, const TTextPos& b) {
    return a.Line != b.Line ? a.Line < b.Line : a.Col < b.Col;
  }
};

class TEditText {
 public:
  // The nine characters that end words: space ! " ( ) , . : ;
  static bool IsDelimiter(QChar c);
  // Characters of code 32 or less at the start of s.
  static int LeadingBlanks(const QString& s);
  // Splits at CR LF, lone CR or lone LF; a final line break adds no line.
  static QStringList SplitLines(const QString& text);

  const QStringList& Lines() const { return lines_; }
  // Replaces the whole text; the caret and selection are kept within it.
  void SetLines(QStringList lines);
  // Lines joined with CR LF.
  QString Text() const;
  int LineCount() const { return int(lines_.size()); }
  // Line n (from 1), empty when there is none.
  QString Line(int n) const;
  // Replaces the caret line (appending it when the text has no lines).
  void SetCaretLineText(const QString& s);

  TTextPos Caret() const { return {caretCol_, caretLine_}; }
  // Column from 0 upwards (below 0 gives 0); line clamped to 1..line count.
  void SetCaretCol(int col);
  void SetCaretLine(int line);
  void SetCaret(TTextPos p);

  bool InsertMode() const { return insertMode_; }
  void ToggleInsertMode() { insertMode_ = !insertMode_; }

  bool SelectionActive() const { return selActive_; }
  TTextPos SelAnchor() const { return selAnchor_; }
  TTextPos SelEnd() const { return selEnd_; }
  // Starts a selection at p (anchor and end) and makes it active.
  void StartSelection(TTextPos p);
  // Makes a selection active from anchor (when none is) and moves its end.
  void ExtendSelection(TTextPos anchor, TTextPos end);
  void SetSelEnd(TTextPos end) { selEnd_ = end; }
  void DropSelection() { selActive_ = false; }
  // The earlier and the later of anchor and end.
  TTextPos SelStart() const { return selAnchor_ < selEnd_ ? selAnchor_ : selEnd_; }
  TTextPos SelStop() const { return selAnchor_ < selEnd_ ? selEnd_ : selAnchor_; }

  QString SelectedText() const;
  void DeleteSelection();
  // Inserts text at the caret (a selection is deleted first); line breaks in
  // it split the caret line. The caret ends behind the inserted text.
  void InsertText(const QString& text);
  void SelectAll();

  // One typed character (the caller filters control characters and the
  // read-only state).
  void TypeChar(QChar c);
  void Backspace();
  void Enter();
  void DeleteKey();

  // Ctrl+Left and Ctrl+Right: the column of the previous word start and the
  // column just after the next word, on the caret line.
  int WordLeftCol() const;
  int WordRightCol() const;

  // Lines changed since the last call, from..to (to is INT_MAX when lines
  // were inserted or deleted, so everything below moved); from is 0 when
  // nothing changed. Reading clears the record.
  struct TChanged {
    int From = 0, To = 0;
  };
  TChanged TakeChanged();

 private:
  void Changed(int from, int to = INT_MAX);
  void EnsureCaretLine();
  void PadCaretLine();

  QStringList lines_;
  int caretCol_ = 0, caretLine_ = 1;
  bool insertMode_ = true;
  bool selActive_ = false;
  TTextPos selAnchor_, selEnd_;
  TChanged changed_;
};
