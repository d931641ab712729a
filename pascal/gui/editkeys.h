#pragma once
// The keys of the code view: navigation with Shift selection, the editing
// keys, clipboard keys and typed characters.

class QKeyEvent;
class QString;
class TmCustomEdit;

class TEditKeys {
 public:
  // Handles a key of the key table; false for any other key.
  static bool KeyDown(TmCustomEdit& edit, QKeyEvent* e);
  // Types the printable characters of e unless the control is read-only;
  // false when e carries none.
  static bool TypeChars(TmCustomEdit& edit, QKeyEvent* e);
  // Types the characters of text from code 32 on, unless read-only.
  static void TypeText(TmCustomEdit& edit, const QString& text);
  // True for the keys the control takes before shortcuts and dialogs do.
  static bool WantsKey(const QKeyEvent* e);

 private:
  // The navigation keys; false for any other key.
  static bool Navigate(TmCustomEdit& edit, int key, bool ctrl, bool shift);
};
