#include "pascal/gui/edittext.h"

#include <algorithm>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// Splits at every CR LF, lone CR or lone LF, keeping a final empty part.
QStringList SplitKeepingLast(const QString& text) {
  QStringList out;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    out.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  out.append(text.mid(start));
  return out;
}
}  // namespace

bool TEditText::IsDelimiter(QChar c) {
  switch (c.unicode()) {
    case ' ':
    case '!':
    case '"':
    case '(':
    case ')':
    case ',':
    case '.':
    case ':':
    case ';':
      return true;
    default:
      return false;
  }
}

int TEditText::LeadingBlanks(const QString& s) {
  int n = 0;
  while (n < s.size() && s[n].unicode() <= 32) ++n;
  return n;
}

QStringList TEditText::SplitLines(const QString& text) {
  QStringList out = SplitKeepingLast(text);
  if (out.back().isEmpty()) out.removeLast();
  return out;
}

void TEditText::SetLines(QStringList lines) {
  lines_ = std::move(lines);
  selActive_ = false;
  SetCaretLine(caretLine_);
  Changed(1);
}

QString TEditText::Text() const { return lines_.join(kCrLf); }

QString TEditText::Line(int n) const {
  return n >= 1 && n <= LineCount() ? lines_[n - 1] : QString();
}

void TEditText::SetCaretLineText(const QString& s) {
  EnsureCaretLine();
  lines_[caretLine_ - 1] = s;
  Changed(caretLine_, caretLine_);
}

void TEditText::SetCaretCol(int col) { caretCol_ = std::max(0, col); }

void TEditText::SetCaretLine(int line) {
  caretLine_ = std::clamp(line, 1, std::max(1, LineCount()));
}

void TEditText::SetCaret(TTextPos p) {
  SetCaretCol(p.Col);
  SetCaretLine(p.Line);
}

void TEditText::StartSelection(TTextPos p) {
  selAnchor_ = selEnd_ = p;
  selActive_ = true;
}

void TEditText::ExtendSelection(TTextPos anchor, TTextPos end) {
  if (!selActive_) {
    selAnchor_ = anchor;
    selActive_ = true;
  }
  selEnd_ = end;
}

QString TEditText::SelectedText() const {
  if (!selActive_) return QString();
  const TTextPos s = SelStart(), e = SelStop();
  if (s.Line == e.Line) return Line(s.Line).mid(s.Col, e.Col - s.Col);
  QString out = Line(s.Line).mid(s.Col);
  for (int n = s.Line + 1; n < e.Line; ++n) out += kCrLf + Line(n);
  out += kCrLf + Line(e.Line).left(e.Col);
  return out;
}

void TEditText::DeleteSelection() {
  if (!selActive_) return;
  selActive_ = false;
  if (lines_.isEmpty()) return;
  TTextPos s = SelStart(), e = SelStop();
  s.Line = std::clamp(s.Line, 1, LineCount());
  e.Line = std::clamp(e.Line, 1, LineCount());
  if (s.Line == e.Line) {
    if (e.Col > s.Col) lines_[s.Line - 1].remove(s.Col, e.Col - s.Col);
    Changed(s.Line, s.Line);
  } else {
    lines_[s.Line - 1] = lines_[s.Line - 1].left(s.Col) + lines_[e.Line - 1].mid(e.Col);
    lines_.remove(s.Line, e.Line - s.Line);
    Changed(s.Line);
  }
  SetCaret(s);
}

void TEditText::InsertText(const QString& text) {
  DeleteSelection();
  EnsureCaretLine();
  PadCaretLine();
  const QStringList parts = SplitKeepingLast(text);
  QString& line = lines_[caretLine_ - 1];
  if (parts.size() == 1) {
    line.insert(caretCol_, text);
    caretCol_ += int(text.size());
    Changed(caretLine_, caretLine_);
    return;
  }
  const QString rest = line.mid(caretCol_);
  line = line.left(caretCol_) + parts.front();
  const int first = caretLine_;
  for (qsizetype i = 1; i < parts.size(); ++i) lines_.insert(first - 1 + i, parts[i]);
  caretLine_ = first + int(parts.size()) - 1;
  caretCol_ = int(parts.back().size());
  lines_[caretLine_ - 1] += rest;
  Changed(first);
}

void TEditText::SelectAll() {
  // The anchor is the start of the first line, so that the selected text
  // begins with that line and not with an empty one before it.
  selAnchor_ = {0, 1};
  const int last = std::max(1, LineCount());
  selEnd_ = {int(Line(last).size()), last};
  selActive_ = true;
}

void TEditText::TypeChar(QChar c) {
  DeleteSelection();
  EnsureCaretLine();
  PadCaretLine();
  QString& line = lines_[caretLine_ - 1];
  if (insertMode_ || caretCol_ >= line.size())
    line.insert(caretCol_, c);
  else
    line[caretCol_] = c;
  ++caretCol_;
  Changed(caretLine_, caretLine_);
}

void TEditText::Backspace() {
  if (selActive_) {
    DeleteSelection();
    return;
  }
  if (lines_.isEmpty()) return;
  const int L = caretLine_;
  QString& s = lines_[L - 1];
  if (s.isEmpty()) {
    if (caretCol_ == 0) {
      lines_.removeAt(L - 1);
      SetCaretLine(L);
      Changed(L);
    } else {
      caretCol_ = 0;
    }
    return;
  }
  if (caretCol_ > s.size()) {
    --caretCol_;
    return;
  }
  if (caretCol_ == 0) {
    if (L == 1) return;
    const int join = int(lines_[L - 2].size());
    lines_[L - 2] += s;
    lines_.removeAt(L - 1);
    caretLine_ = L - 1;
    caretCol_ = join;
    Changed(L - 1);
    return;
  }
  const int n = LeadingBlanks(s);
  if (s[caretCol_ - 1].unicode() > 32 || caretCol_ != n) {
    s.remove(caretCol_ - 1, 1);
    --caretCol_;
    Changed(L, L);
    return;
  }
  // At the end of the indentation: back to the indentation of the nearest
  // line above that is indented less (the first line is never looked at).
  int m = 0;
  for (int i = L - 1; i >= 2; --i) {
    m = LeadingBlanks(lines_[i - 1]);
    if (m < n) break;
  }
  if (m < n) {
    s.remove(0, n - m);
    caretCol_ = m;
    Changed(L, L);
  }
}

void TEditText::Enter() {
  if (selActive_) {
    DeleteSelection();
    return;
  }
  EnsureCaretLine();
  const int L = caretLine_;
  const QString s = lines_[L - 1];
  const int n = LeadingBlanks(s);
  if (s.isEmpty()) {
    int col = 0;
    for (int i = L; i >= 2; --i)
      if (!lines_[i - 1].isEmpty()) {
        col = LeadingBlanks(lines_[i - 1]);
        break;
      }
    lines_.insert(L - 1, QString());
    caretCol_ = col;
  } else if (caretCol_ >= s.size()) {
    lines_.insert(L, QString());
    caretCol_ = n;
  } else if (caretCol_ == 0 || n >= caretCol_) {
    // The whole line moves down; the caret keeps its column.
    lines_[L - 1].clear();
    lines_.insert(L, s);
  } else {
    lines_[L - 1] = s.left(caretCol_);
    lines_.insert(L, QString(n, u' ') + s.mid(caretCol_));
    caretCol_ = n;
  }
  caretLine_ = L + 1;
  Changed(L);
}

void TEditText::DeleteKey() {
  if (selActive_) {
    DeleteSelection();
    return;
  }
  if (lines_.isEmpty()) return;
  const int L = caretLine_;
  QString& s = lines_[L - 1];
  if (caretCol_ < s.size()) {
    s.remove(caretCol_, 1);
    Changed(L, L);
  } else if (L + 2 <= LineCount()) {
    PadCaretLine();
    s += lines_[L];
    lines_.removeAt(L);
    Changed(L);
  }
}

int TEditText::WordLeftCol() const {
  const QString s = Line(caretLine_);
  auto delimiterBefore = [&](int c) { return c > s.size() || IsDelimiter(s[c - 1]); };
  int c = caretCol_;
  while (c > 0 && delimiterBefore(c)) --c;
  while (c > 0 && !delimiterBefore(c)) --c;
  return c;
}

int TEditText::WordRightCol() const {
  const QString s = Line(caretLine_);
  int c = caretCol_;
  while (c < s.size() && IsDelimiter(s[c])) ++c;
  while (c < s.size() && !IsDelimiter(s[c])) ++c;
  return c;
}

TEditText::TChanged TEditText::TakeChanged() {
  const TChanged c = changed_;
  changed_ = {};
  return c;
}

void TEditText::Changed(int from, int to) {
  if (changed_.From == 0) {
    changed_ = {from, to};
  } else {
    changed_.From = std::min(changed_.From, from);
    changed_.To = std::max(changed_.To, to);
  }
}

void TEditText::EnsureCaretLine() {
  while (LineCount() < caretLine_) {
    lines_.append(QString());
    Changed(LineCount());
  }
}

void TEditText::PadCaretLine() {
  QString& s = lines_[caretLine_ - 1];
  if (s.size() < caretCol_) s += QString(caretCol_ - s.size(), u' ');
}
