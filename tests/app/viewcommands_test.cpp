// The "View" menu's full-screen preview command on the main window.
#include "app/commands/viewcommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include "app/actions.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/fullviewform.h"

TEST(ViewCommands, FullScreenPreviewShowsTheActiveDocumentAndLeavesItPannedAndZoomed) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  QAction* preview = f.Actions->Action(TCommand::FullScreen);
  EXPECT_EQ(preview->text(), "Full-screen preview");
  EXPECT_EQ(preview->statusTip(), "Full-screen preview");
  EXPECT_EQ(f.Actions->Menu(TMenuId::View)->actions().value(1), preview);
  EXPECT_TRUE(f.Actions->Menu(TMenuId::View)->actions().value(2)->isSeparator());
  EXPECT_FALSE(preview->isEnabled());
  // Without a document nothing opens.
  f.ViewCommands->Fullscreen1Click();
  EXPECT_TRUE(fx.q.ModalForms.isEmpty());

  TChildD* first = f.CreateDocument("Block-diagram \u21161");
  TChildD* second = f.CreateDocument("Block-diagram \u21162");
  f.UpdateMenuItems();
  ASSERT_EQ(f.ActiveDocument(), second);
  EXPECT_TRUE(preview->isEnabled());
  second->ScrollBar1->setValue(100);
  second->ScrollBar2->setValue(40);

  TFullViewForm* form = f.ViewCommands->FullViewForm;
  // While the preview opens the closed hand stands for the whole screen.
  bool closedHandWhileOpening = false;
  QObject::connect(form, &TFullViewForm::Opened, form, [&] {
    const QCursor* c = QApplication::overrideCursor();
    closedHandWhileOpening = c && *c == AppCursor(TCursor::HandClosed);
  });
  fx.q.ModalScript = [&](QDialog* shown) {
    ASSERT_EQ(shown, form);
    EXPECT_EQ(form->PreviewDocument, second);
    EXPECT_EQ(form->PreviewArea, (TRect{100, 40, 500, 340}));
    // Once it is on the screen, the preview's own hand.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    for (int i = 0; i < 250 && QApplication::overrideCursor(); ++i) QTest::qWait(20);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->cursor(), AppCursor(TCursor::Hand));
    form->FormMouseDown(300, 300);
    form->FormMouseMove(250, 280);
    form->FormMouseUp();
    form->x41->trigger();
    QTest::keyClick(form, Qt::Key_Escape);
  };
  preview->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"FullViewForm"});
  EXPECT_TRUE(closedHandWhileOpening);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->PreviewDocument, nullptr);
  EXPECT_EQ(second->Origin, (TPoint{150, 60}));
  EXPECT_EQ(second->Scale, 4);
  EXPECT_EQ(second->CanvasFont().pointSize(), 20);
  EXPECT_EQ(first->Origin, (TPoint{0, 0}));
  EXPECT_EQ(first->Scale, 2);
}
