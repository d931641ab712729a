// The main window keeping its parts in step: the font list as the Standard
// toolbar changes dock, the listing panel's double click and keys, the Edit
// menu while a block's text is open in the editor, and
// toolbars restored from the settings staying on the screen.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include "app/actions.h"
#include "app/commands/editcommands.h"
#include "app/documentmenu.h"
#include "app/fontbox.h"
#include "app/listingpanel.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
TShemObj* AddBlock(TChildD* d, const TRect& r, const std::string& text = "text") {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Text = text;
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}

void MoveToolbar(TMainForm& f, QToolBar* bar, Qt::ToolBarArea area) {
  f.addToolBar(area, bar);
  bar->show();
  QApplication::processEvents();
}
}  // namespace

TEST(MainWindowSync, FontListTakesTheActiveDocumentsFaceWhenTheStandardToolbarChangesDock) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  {
    const QSignalBlocker block(f.FontBox);
    f.FontBox->clear();
    f.FontBox->addItems({"Alpha", "Beta", "Courier"});
  }
  TChildD* d = f.CreateDocument("doc");
  d->SetFontFace("Beta");
  f.FontBox->SelectFace("Alpha");
  ASSERT_EQ(f.FontBox->Face(), "Alpha");
  EXPECT_EQ(d->CanvasFont().family(), "Beta");  // selecting passes nothing on

  MoveToolbar(f, f.StandardToolbar, Qt::BottomToolBarArea);
  EXPECT_EQ(f.FontBox->Face(), "Beta");

  // Moving within its dock leaves the list alone.
  f.FontBox->SelectFace("Alpha");
  f.StandardToolbar->move(f.StandardToolbar->pos() + QPoint(3, 0));
  QApplication::processEvents();
  EXPECT_EQ(f.FontBox->Face(), "Alpha");

  // Without a document: "Courier".
  f.SubWindowOf(d)->close();
  QApplication::processEvents();
  MoveToolbar(f, f.StandardToolbar, Qt::LeftToolBarArea);
  EXPECT_EQ(f.FontBox->Face(), "Courier");

  // Undocked.
  f.FontBox->SelectFace("Alpha");
  f.StandardToolbar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  f.StandardToolbar->show();
  QApplication::processEvents();
  EXPECT_EQ(f.FontBox->Face(), "Courier");
}

TEST(MainWindowSync, ListingDoubleClickCentresTheBlockAndKeysGoToTheDocument) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.resize(800, 600);
  f.show();
  f.Actions->Action(TCommand::Listing)->trigger();
  TChildD* d = f.CreateDocument("doc");
  d->Scale = 1;
  TShemObj* near = AddBlock(d, {10, 10, 90, 30}, "near");
  TShemObj* far = AddBlock(d, {3000, 4000, 3080, 4020}, "far");
  d->UpdateScrollRanges();
  f.UpdateMenuItems();
  ASSERT_EQ(f.ListingPanel->topLevelItemCount(), 2);
  ASSERT_EQ(f.ListingPanel->ObjectOfRow(1), far);
  EXPECT_EQ(d->Origin, (TPoint{0, 0}));

  emit f.ListingPanel->itemDoubleClicked(f.ListingPanel->topLevelItem(1), 0);
  const TPoint c{3040 - d->Origin.X, 4010 - d->Origin.Y};
  EXPECT_NEAR(c.X, d->ViewBottomRight.X / 2, 2);
  EXPECT_NEAR(c.Y, d->ViewBottomRight.Y / 2, 2);

  // Keys: Ctrl+Right moves the selected block as in the document.
  d->Selection.Assign({near});
  const int left = near->AsBlock()->Data.Rect().Left;
  f.ListingPanel->setFocus();
  QTest::keyClick(f.ListingPanel, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_GT(near->AsBlock()->Data.Rect().Left, left);
  EXPECT_TRUE(d->Modified);

  // Without a document nothing happens, and nothing breaks.
  fx.q.Answers.push_back(QMessageBox::No);  // not saved
  f.SubWindowOf(d)->close();
  QApplication::processEvents();
  QTest::keyClick(f.ListingPanel, Qt::Key_PageDown);
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 0);
}

TEST(MainWindowSync, EditMenuReachesTheOpenEditorUntilAClickElsewhereCommitsIt) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  QApplication::setActiveWindow(&f);
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddBlock(d, {10, 10, 90, 30}, "old");
  AddBlock(d, {200, 10, 280, 30}, "other");
  d->Selection.Assign({a});
  d->BeginTextEdit(a);
  ASSERT_TRUE(d->EditorShown());
  QApplication::processEvents();
  d->Memo1->selectAll();
  d->Memo1->insertPlainText("typed words");  // as typed: undoable

  QMenu* edit = f.Actions->Menu(TMenuId::Edit);
  // Opening the menu takes the focus only for a moment: the editor stays.
  QFocusEvent popupOut(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(d->Memo1, &popupOut);
  ASSERT_TRUE(d->EditorShown());
  emit edit->aboutToShow();
  EXPECT_FALSE(f.Actions->Action(TCommand::Cut)->isEnabled());  // nothing selected in the text
  EXPECT_FALSE(f.Actions->Action(TCommand::Delete)->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Undo)->isEnabled());
  emit edit->aboutToHide();

  QTextCursor cursor = d->Memo1->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(6, QTextCursor::KeepAnchor);  // "typed "
  d->Memo1->setTextCursor(cursor);
  emit edit->aboutToShow();
  EXPECT_TRUE(f.Actions->Action(TCommand::Cut)->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Copy)->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Delete)->isEnabled());
  f.Actions->Action(TCommand::Copy)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "typed ");
  f.Actions->Action(TCommand::Delete)->trigger();
  emit edit->aboutToHide();
  EXPECT_EQ(d->Memo1->toPlainText(), "words");
  EXPECT_EQ(d->Diagram.Count(), 2);  // the blocks stay
  emit edit->aboutToShow();
  EXPECT_TRUE(f.Actions->Action(TCommand::Paste)->isEnabled());
  emit edit->aboutToHide();

  // Leaving the editor commits and gives the context menu back.
  // A right click on the document takes the focus: the text goes into the
  // block and the document's menu opens.
  QMenu* context = f.DocumentMenu->Menu();
  QTest::mouseClick(d, Qt::RightButton, {}, QPoint(150, 100));
  QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(150, 100),
                          d->mapToGlobal(QPoint(150, 100)));
  QApplication::sendEvent(d, &right);
  EXPECT_FALSE(d->EditorShown());
  EXPECT_EQ(a->AsBlock()->Data.Text, "words");
  EXPECT_TRUE(context->isVisible());
  context->close();
}

TEST(MainWindowSync, AToolbarRestoredFloatingAtTheScreensCornerLiesWholeOnTheScreen) {
  Fixture fx;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    s.setValue("StandDock", 0);
    s.setValue("StandRow", screen.bottom() - 2);
    s.setValue("StandPos", screen.right() - 2);
    s.setValue("StandVis", true);
    s.setValue("AlignDock", 1);  // docked far along its dock: left where it was
    s.setValue("AlignRow", 0);
    s.setValue("AlignPos", 30000);
  }
  TMainForm f(fx.Options());
  f.show();
  QApplication::processEvents();
  ASSERT_TRUE(f.StandardToolbar->isWindow());
  const QRect bar(f.StandardToolbar->pos(), f.StandardToolbar->sizeHint());
  EXPECT_TRUE(screen.contains(bar)) << bar.x() << "," << bar.y() << " " << bar.width();
  EXPECT_EQ(f.toolBarArea(f.AlignToolbar), Qt::LeftToolBarArea);
}
