#include "pascal/gui/editkeys.h"

#include <QKeyEvent>
#include <algorithm>

#include "pascal/gui/customedit.h"

namespace {
constexpr Qt::KeyboardModifiers kModifierMask =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

Qt::KeyboardModifiers Mods(const QKeyEvent* e) { return e->modifiers() & kModifierMask; }

bool Typeable(QChar c) { return c.unicode() >= 32 && c.unicode() != 127; }

// Text that counts as typed: no Ctrl, Alt or Meta held, and at least one
// character from code 32 on.
bool CarriesTypedText(const QKeyEvent* e) {
  if (Mods(e) & ~Qt::ShiftModifier) return false;
  const QString t = e->text();
  return std::any_of(t.begin(), t.end(), Typeable);
}
}  // namespace

bool TEditKeys::WantsKey(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    default:
      return CarriesTypedText(e);
  }
}

bool TEditKeys::KeyDown(TmCustomEdit& edit, QKeyEvent* e) {
  TEditText& t = edit.text_;
  const int key = e->key();
  const Qt::KeyboardModifiers mods = Mods(e);
  const bool editKey = key == Qt::Key_Backspace || key == Qt::Key_Return || key == Qt::Key_Enter ||
                       key == Qt::Key_Delete;
  if (t.SelectionActive() && editKey) {
    edit.DeleteSelection();
    return true;
  }
  if (key == Qt::Key_Insert && mods == Qt::ControlModifier) {
    edit.CopyToClipboard();
    return true;
  }
  if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) {
    edit.PasteFromClipboard();
    return true;
  }
  if (Navigate(edit, key, mods & Qt::ControlModifier, mods & Qt::ShiftModifier)) return true;

  const QRect oldCaret = edit.CaretRect();
  const TTextPos c = t.Caret();
  switch (key) {
    case Qt::Key_Insert:
      t.ToggleInsertMode();
      return true;
    case Qt::Key_Delete:
      t.DeleteKey();
      break;
    case Qt::Key_Backspace: {
      const bool emptyLine = c.Line <= t.LineCount() && t.Line(c.Line).isEmpty();
      t.Backspace();
      if (emptyLine && c.Col > 0) edit.SetLeftChar(1);
      break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      t.Enter();
      if (t.Caret().Line > edit.view_.TopLine + edit.view_.LinesFit - 1)
        edit.SetTopLine(edit.view_.TopLine + 1);
      break;
    default:
      return false;
  }
  edit.RepaintChanged(oldCaret);
  return true;
}

bool TEditKeys::Navigate(TmCustomEdit& edit, int key, bool ctrl, bool shift) {
  TEditText& t = edit.text_;
  TCodeView& v = edit.view_;
  const TTextPos before = t.Caret();
  // Up and Down anchor a new selection within the line they leave.
  const TTextPos lineAnchor{std::min(before.Col, int(t.Line(before.Line).size())), before.Line};
  TTextPos anchor = before;
  switch (key) {
    case Qt::Key_Up:
      anchor = lineAnchor;
      t.SetCaretLine(before.Line - 1);
      if (t.Caret().Line <= v.TopLine) edit.SetTopLine(v.TopLine - 1);
      break;
    case Qt::Key_Down:
      anchor = lineAnchor;
      t.SetCaretLine(before.Line + 1);
      if (t.Caret().Line >= v.TopLine + edit.LinesInWindow() - 1) edit.SetTopLine(v.TopLine + 1);
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      // Paging leaves the selection as it is.
      const int step = key == Qt::Key_PageUp ? -edit.LinesInWindow() : edit.LinesInWindow();
      t.SetCaretLine(before.Line + step);
      edit.SetTopLine(v.TopLine + step);
      edit.RepaintAll();
      return true;
    }
    case Qt::Key_Home:
      t.SetCaretCol(0);
      if (ctrl) {
        t.SetCaretLine(1);
        edit.SetTopLine(1);
      }
      edit.ScrollToCaretColumn();
      break;
    case Qt::Key_End:
      if (ctrl) {
        t.SetCaret({0, t.LineCount()});
        edit.SetTopLine(t.Caret().Line);
      } else {
        t.SetCaretCol(int(t.Line(before.Line).size()));
      }
      edit.ScrollToCaretColumn();
      break;
    case Qt::Key_Left:
      if (before.Col == 0) {
        if (before.Line > 1) {
          t.SetCaret({int(t.Line(before.Line - 1).size()), before.Line - 1});
          if (t.Caret().Line < v.TopLine) edit.SetTopLine(t.Caret().Line);
        }
      } else {
        t.SetCaretCol(ctrl ? t.WordLeftCol() : before.Col - 1);
      }
      edit.ScrollToCaretColumn();
      break;
    case Qt::Key_Right:
      if (before.Col == t.Line(before.Line).size() + 1) {
        if (before.Line < t.LineCount()) {
          t.SetCaret({0, before.Line + 1});
          edit.SetLeftChar(1);
          if (t.Caret().Line > v.TopLine + v.LinesFit - 1) edit.SetTopLine(v.TopLine + 1);
        }
      } else {
        t.SetCaretCol(ctrl ? t.WordRightCol() : before.Col + 1);
      }
      edit.ScrollToCaretColumn();
      break;
    default:
      return false;
  }
  if (shift)
    t.ExtendSelection(anchor, t.Caret());
  else
    t.DropSelection();
  edit.RepaintAll();
  return true;
}

bool TEditKeys::TypeChars(TmCustomEdit& edit, QKeyEvent* e) {
  if (!CarriesTypedText(e)) return false;
  TypeText(edit, e->text());
  return true;
}

void TEditKeys::TypeText(TmCustomEdit& edit, const QString& text) {
  if (edit.readOnly_) return;
  TEditText& t = edit.text_;
  const QRect oldCaret = edit.CaretRect();
  for (QChar c : text) {
    if (!Typeable(c)) continue;
    t.TypeChar(c);
    if (t.Caret().Col - (edit.view_.LeftChar - 1) >= edit.CharsInWindow())
      edit.SetLeftChar(edit.view_.LeftChar + 25);
  }
  edit.RepaintChanged(oldCaret);
}
