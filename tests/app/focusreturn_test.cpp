// After a dialog closes the keyboard goes back to the window it came from,
// also where no window manager hands it on (the platform here has none).
#include "app/focusreturn.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace {
void Settle() { QTest::qWait(20); }

struct Windows {
  QWidget main;
  TFocusReturn focusReturn{&main};
  Windows() {
    main.show();
    main.activateWindow();
    Settle();
  }
};
}  // namespace

TEST(FocusReturn, AClosedDialogGivesTheKeyboardBackToItsOwnerOrTheMainWindow) {
  Windows w;
  QWidget second;
  second.show();
  QDialog owned(&second);
  owned.show();
  owned.activateWindow();
  Settle();
  ASSERT_EQ(QApplication::activeWindow(), &owned);
  owned.hide();
  Settle();
  EXPECT_EQ(QApplication::activeWindow(), &second);

  // A dialog without an owner: the main window.
  QDialog lone;
  lone.show();
  lone.activateWindow();
  Settle();
  lone.hide();
  Settle();
  EXPECT_EQ(QApplication::activeWindow(), &w.main);
}

TEST(FocusReturn, AWindowThatTookTheKeyboardKeepsItAndAnOpenModalDialogGetsIt) {
  Windows w;
  // A dialog left open behind another window closes: the keyboard stays.
  QDialog d(&w.main);
  d.show();
  QWidget other;
  other.show();
  other.activateWindow();
  Settle();
  ASSERT_EQ(QApplication::activeWindow(), &other);
  d.hide();
  Settle();
  EXPECT_EQ(QApplication::activeWindow(), &other);

  // A message over a modal dialog: closing the message returns to the dialog.
  QDialog modal(&w.main);
  modal.setModal(true);
  modal.show();
  QDialog message(&w.main);
  message.show();
  message.activateWindow();
  Settle();
  message.hide();
  Settle();
  EXPECT_EQ(QApplication::activeWindow(), &modal);
}
