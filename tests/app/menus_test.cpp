// The menu bar of the main window: its entries, the enabling rules as the
// menus open, and the document commands of "&File", "&Edit", "View" and
// "&Window".
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>

#include "app/actions.h"
#include "app/commands/editcommands.h"
#include "app/commands/filecommands.h"
#include "app/commands/viewcommands.h"
#include "app/commands/windowcommands.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
// The entries of a menu: captions, "-" for a separator, submenus by title.
QStringList Entries(QMenu* menu) {
  QStringList t;
  for (QAction* a : menu->actions()) t << (a->isSeparator() ? QString("-") : a->text());
  return t;
}

TShemObj* AddBlock(TChildD* d, int x) {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect({x, 10, x + 60, 40});
  b->Data.Text = "text";
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}

TShemObj* AddLink(TChildD* d, TShemObj* from, TShemObj* to) {
  return d->Diagram.GetObj(
      d->Diagram.AddLink(std::make_unique<TLink>(0, PosCentre, PosCentre), from, to));
}

void Open(QMenu* menu) { emit menu->aboutToShow(); }
}  // namespace

TEST(MenuBar, MenusHoldTheirEntriesInOrderWithShortcutsAndHints) {
  Fixture fx;
  TMainForm f(fx.Options());
  QStringList titles;
  for (QAction* a : f.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "View", "&Window", "&?"}));

  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::File)),
            (QStringList{"&New", "&Open", "&Close", "&Save", "Save &as . . .", "-", "Options", "-",
                         "Print", "Print preview", "Page setup . . .", "-", "Import", "&Export",
                         "-", "E&xit"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Export)),
            (QStringList{"to graphic file", "to Pascal"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Edit)),
            (QStringList{"Undo", "Redo", "-", "&Delete", "Cu&t", "&Copy", "&Paste", "Se&lect All",
                         "-", "&Find", "&Replace", "-", "Join Square", "-", "Du&plicate"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::View)),
            (QStringList{"Scale", "Full-screen preview", "-", "Grid", "Listing", "Statusbar",
                         "Toolbars", "-", "User blocks list"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Scale)), (QStringList{"x1", "x2", "x4", "x8"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Toolbars)),
            (QStringList{"Standard", "Special", "Alignment Palette", "User blocks"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Window)),
            (QStringList{"&Cascade", "&Tile", "&Arrange Icons", "&Minimize All"}));
  EXPECT_EQ(Entries(f.Actions->Menu(TMenuId::Help)), (QStringList{"&Contents", "&About"}));

  const struct {
    TCommand id;
    QKeySequence key;
  } keys[] = {{TCommand::New, QKeySequence(Qt::CTRL | Qt::Key_N)},
              {TCommand::Close, QKeySequence(Qt::CTRL | Qt::Key_F4)},
              {TCommand::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
              {TCommand::Redo, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z)},
              {TCommand::Delete, QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
              {TCommand::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)},
              {TCommand::Replace, QKeySequence(Qt::CTRL | Qt::Key_R)},
              {TCommand::Duplicate, QKeySequence(Qt::CTRL | Qt::Key_D)},
              {TCommand::Save, QKeySequence()}};
  for (const auto& k : keys) EXPECT_EQ(f.Actions->Action(k.id)->shortcut(), k.key) << int(k.id);
  EXPECT_EQ(f.Actions->Action(TCommand::SaveAs)->statusTip(), "Save current file as...");
  EXPECT_EQ(f.Actions->Menu(TMenuId::Edit)->menuAction()->statusTip(),
            "Delete,cut,copy,paste and duplicate selection.");
  EXPECT_EQ(f.Actions->Action(TCommand::Zoom8)->data().toInt(), 8);
  EXPECT_TRUE(f.Actions->Action(TCommand::Zoom1)->isChecked());
  EXPECT_TRUE(f.Actions->Action(TCommand::StatusBar)->isChecked());
  EXPECT_TRUE(f.Actions->Action(TCommand::ShowStandard)->isChecked());
  // Commands that need a document wait for one.
  for (TCommand id : {TCommand::Find, TCommand::Replace})
    EXPECT_FALSE(f.Actions->Action(id)->isEnabled()) << int(id);
}

TEST(MenuBar, EditItemsFollowTheSelectionUndoAndClipboardAsTheMenuOpens) {
  Fixture fx;
  TMainForm f(fx.Options());
  QAction* del = f.Actions->Action(TCommand::Delete);
  QAction* cut = f.Actions->Action(TCommand::Cut);
  QAction* copy = f.Actions->Action(TCommand::Copy);
  QAction* dup = f.Actions->Action(TCommand::Duplicate);
  QAction* paste = f.Actions->Action(TCommand::Paste);
  QAction* undo = f.Actions->Action(TCommand::Undo);
  QMenu* edit = f.Actions->Menu(TMenuId::Edit);
  Open(edit);
  EXPECT_FALSE(f.Actions->Action(TCommand::SelectAll)->isEnabled());
  EXPECT_FALSE(f.Actions->Action(TCommand::Close)->isEnabled());

  TChildD* source = f.CreateDocument("source");
  TShemObj* a = AddBlock(source, 10);
  TShemObj* b = AddBlock(source, 200);
  TShemObj* link = AddLink(source, a, b);
  Open(edit);
  EXPECT_TRUE(f.Actions->Action(TCommand::SelectAll)->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Close)->isEnabled());
  EXPECT_FALSE(paste->isEnabled());  // nothing copied since the start
  EXPECT_FALSE(del->isEnabled());

  source->Selection.Assign({link});
  Open(edit);
  EXPECT_TRUE(del->isEnabled());
  EXPECT_FALSE(cut->isEnabled());
  EXPECT_FALSE(copy->isEnabled());
  EXPECT_FALSE(dup->isEnabled());

  source->Selection.Assign({a, link});
  Open(edit);
  EXPECT_TRUE(del->isEnabled());
  EXPECT_TRUE(cut->isEnabled());
  EXPECT_TRUE(copy->isEnabled());
  EXPECT_TRUE(dup->isEnabled());
  EXPECT_FALSE(undo->isEnabled());

  copy->trigger();
  f.SubWindowOf(source)->close();
  QCoreApplication::processEvents();
  TChildD* target = f.CreateDocument("target");
  Open(edit);
  EXPECT_TRUE(paste->isEnabled());  // the copy outlives its document
  paste->trigger();
  EXPECT_GT(target->Diagram.Count(), 0);
  EXPECT_TRUE(target->Modified);
  Open(edit);
  EXPECT_TRUE(undo->isEnabled());
  undo->trigger();
  EXPECT_EQ(target->Diagram.Count(), 0);

  // Closed, the menu leaves its shortcuts to the commands' own checks.
  emit edit->aboutToHide();
  EXPECT_TRUE(del->isEnabled());
  EXPECT_TRUE(cut->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Find)->isEnabled());
}

TEST(MenuBar, DeleteAndCutChangeTheDiagramWithUndo) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddBlock(d, 10);
  AddBlock(d, 200);
  d->Selection.Assign({a});
  f.EditCommands->Delete1Click();
  EXPECT_EQ(d->Diagram.Count(), 1);
  EXPECT_TRUE(d->Modified);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is gone again
  f.EditCommands->Undo1Click();
  EXPECT_EQ(d->Diagram.Count(), 2);
  f.EditCommands->Redo1Click();
  EXPECT_EQ(d->Diagram.Count(), 1);

  d->Selection.Assign({d->Diagram.GetObj(0)});
  f.EditCommands->Cut1Click();
  EXPECT_EQ(d->Diagram.Count(), 0);
  EXPECT_EQ(f.AppState.ClipboardDiagram->Count(), 1);
}

TEST(MenuBar, ClipboardCommandsActOnTheOpenTextEditor) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddBlock(d, 10);
  AddBlock(d, 200);
  d->Selection.Assign({a});
  d->CopySelection();
  const int copied = f.AppState.ClipboardDiagram->Count();
  d->BeginTextEdit(a);
  ASSERT_TRUE(d->EditorShown());
  d->Memo1->setPlainText("hello");
  d->Memo1->selectAll();
  f.EditCommands->Copy1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), "hello");
  f.EditCommands->Cut1Click();
  EXPECT_EQ(d->Memo1->toPlainText(), "");
  EXPECT_EQ(d->Diagram.Count(), 2);  // the diagram kept its blocks
  f.EditCommands->Paste1Click();
  f.EditCommands->Paste1Click();
  EXPECT_EQ(d->Memo1->toPlainText(), "hellohello");
  f.EditCommands->Undo1Click();
  EXPECT_EQ(d->Memo1->toPlainText(), "hello");
  EXPECT_EQ(d->Diagram.Count(), 2);
  EXPECT_EQ(f.AppState.ClipboardDiagram->Count(), copied);
}

TEST(MenuBar, NewCountsTheOpenWindows) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.FileCommands->New1Click();
  f.FileCommands->New1Click();
  f.FileCommands->New1Click();
  ASSERT_EQ(f.Documents().size(), 3);
  EXPECT_EQ(f.Documents()[0]->windowTitle(), "Block-diagram \u21161");
  EXPECT_EQ(f.Documents()[2]->windowTitle(), "Block-diagram \u21163");
  EXPECT_TRUE(f.Documents()[2]->FileName.isEmpty());
  f.MdiArea->setActiveSubWindow(f.SubWindowOf(f.Documents()[0]));
  f.FileCommands->Close1Click();
  QCoreApplication::processEvents();
  ASSERT_EQ(f.Documents().size(), 2);
  f.FileCommands->New1Click();
  EXPECT_EQ(f.Documents().last()->windowTitle(), "Block-diagram \u21163");  // titles may repeat
}

TEST(MenuBar, SaveAsWritesTheFileAndReopensIt) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.FileCommands->New1Click();
  TChildD* d = f.ActiveDocument();
  AddBlock(d, 10);
  AddBlock(d, 200);
  d->Modified = true;
  // Cancelled: nothing is written and the document stays modified.
  fx.q.SaveAnswer.clear();
  f.Actions->Action(TCommand::Save)->trigger();
  EXPECT_TRUE(d->Modified);

  const QString path = fx.Path("chart.fgd");
  fx.q.SaveAnswer = path;
  f.Actions->Action(TCommand::SaveAs)->trigger();
  EXPECT_FALSE(d->Modified);
  EXPECT_EQ(d->FileName, path);
  EXPECT_EQ(d->windowTitle(), path);
  EXPECT_EQ(f.AppState.RecentFiles.value(0), path);

  // Save then writes to that name without asking.
  AddBlock(d, 400);
  d->Modified = true;
  fx.q.SaveAnswer = fx.Path("elsewhere.fgd");
  f.Actions->Action(TCommand::Save)->trigger();
  EXPECT_FALSE(d->Modified);
  EXPECT_FALSE(QFile::exists(fx.Path("elsewhere.fgd")));

  f.SubWindowOf(d)->close();
  QCoreApplication::processEvents();
  TChildD* back = f.OpenDocument(path);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Diagram.Count(), 3);
  EXPECT_FALSE(back->Modified);

  // A save that cannot write says why and leaves the document modified.
  back->Modified = true;
  fx.q.Log.clear();
  fx.q.SaveAnswer = fx.Path("missing/folder/chart.fgd");
  f.FileCommands->SaveAs(back);
  EXPECT_TRUE(back->Modified);
  EXPECT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(back->FileName, path);
}

TEST(MenuBar, ZoomChecksItsScaleAndTheViewTogglesShowTheirBars) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  QMenu* scale = f.Actions->Menu(TMenuId::Scale);
  Open(scale);
  EXPECT_FALSE(f.Actions->Action(TCommand::Zoom8)->isEnabled());
  TChildD* d = f.CreateDocument("doc");
  f.Actions->Action(TCommand::Zoom8)->trigger();
  EXPECT_EQ(d->Scale, 8);
  d->Scale = 4;
  Open(scale);
  EXPECT_TRUE(f.Actions->Action(TCommand::Zoom4)->isChecked());
  EXPECT_FALSE(f.Actions->Action(TCommand::Zoom8)->isChecked());

  f.Actions->Action(TCommand::StatusBar)->trigger();
  EXPECT_FALSE(f.statusBar()->isVisible());
  f.Actions->Action(TCommand::ShowAlign)->trigger();
  EXPECT_TRUE(f.AlignToolbar->isVisible());
  f.StandardToolbar->hide();
  Open(f.Actions->Menu(TMenuId::Toolbars));
  EXPECT_FALSE(f.Actions->Action(TCommand::ShowStandard)->isChecked());
  EXPECT_TRUE(f.Actions->Action(TCommand::ShowSpecial)->isChecked());
}

TEST(MenuBar, WindowMenuListsTheDocumentsAndReachesEachOne) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  TChildD* first = f.CreateDocument("first");
  TChildD* second = f.CreateDocument("second");
  QMenu* window = f.Actions->Menu(TMenuId::Window);
  Open(window);
  QStringList entries = Entries(window);
  EXPECT_EQ(entries.mid(4), (QStringList{"-", "&1 first", "&2 second"}));
  EXPECT_FALSE(window->actions()[5]->isChecked());
  EXPECT_TRUE(window->actions()[6]->isChecked());
  Open(window);  // rebuilt, not appended
  EXPECT_EQ(Entries(window).size(), 7);

  f.Actions->Action(TCommand::MinimizeAll)->trigger();
  EXPECT_TRUE(f.SubWindowOf(first)->isMinimized());
  EXPECT_TRUE(f.SubWindowOf(second)->isMinimized());
  window->actions()[5]->trigger();
  EXPECT_EQ(f.ActiveDocument(), first);
  EXPECT_FALSE(f.SubWindowOf(first)->isMinimized());
}
