// The context menu of the document windows: its entries, submenus, hints and
// shortcuts, the rule that enables them as it opens, and the clipboard
// entries that run the "&Edit" commands.
#include "app/documentmenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTextEdit>

#include "app/actions.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
QStringList Entries(QMenu* menu) {
  QStringList t;
  for (QAction* a : menu->actions()) t << (a->isSeparator() ? QString("-") : a->text());
  return t;
}

TShemObj* AddBlock(TChildD* d, int x, uint8_t kind = bkSquare) {
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = kind;
  b->Data.SetRect({x, 10, x + 60, 40});
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}

TShemObj* AddLink(TChildD* d, TShemObj* from, TShemObj* to) {
  return d->Diagram.GetObj(
      d->Diagram.AddLink(std::make_unique<TLink>(0, PosCentre, PosCentre), from, to));
}

QMenu* Sub(QMenu* menu, const QString& title) {
  for (QAction* a : menu->actions())
    if (a->menu() && a->text() == title) return a->menu();
  return nullptr;
}

// Enabled entries of the menu and its submenus, by caption path.
QStringList Enabled(QMenu* menu, const QString& prefix = {}) {
  QStringList on;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isEnabled()) continue;
    on << prefix + a->text();
    if (a->menu()) on << Enabled(a->menu(), prefix + a->text() + ">");
  }
  return on;
}
}  // namespace

TEST(DocumentMenu, HoldsItsEntriesSubmenusHintsAndShortcuts) {
  Fixture fx;
  TMainForm f(fx.Options());
  QMenu* m = f.DocumentMenu->Menu();
  EXPECT_EQ(Entries(m),
            (QStringList{"Align to Grid", "Align", "Size", "-", "Cut", "Copy", "Paste", "Delete",
                         "-", "Duplicate", "Replace to", "Insert ", "-", "Properties"}));
  QMenu* replace = Sub(m, "Replace to");
  QMenu* insert = Sub(m, "Insert ");
  ASSERT_TRUE(replace && insert);
  EXPECT_EQ(Entries(replace), (QStringList{"Block", "Templates"}));
  EXPECT_EQ(Entries(insert), (QStringList{"Block ", "Templates"}));
  EXPECT_EQ(replace->menuAction()->statusTip(), "Replase selected object to ....");
  EXPECT_EQ(Sub(replace, "Block")->menuAction()->statusTip(), "Replase selected object to block");
  EXPECT_EQ(f.DocumentMenu->ReplaceTemplates()->menuAction()->statusTip(),
            "Replase selected object to templates");
  EXPECT_EQ(f.DocumentMenu->InsertTemplates()->menuAction()->statusTip(), "Insert templates");
  EXPECT_TRUE(f.DocumentMenu->ReplaceTemplates()->isEmpty());
  EXPECT_EQ(Sub(replace, "Templates"), f.DocumentMenu->ReplaceTemplates());
  EXPECT_EQ(Sub(insert, "Templates"), f.DocumentMenu->InsertTemplates());

  // Captions, tags (the kind) and hints of the two block submenus.
  QStringList replaced, inserted;
  for (QAction* a : Sub(replace, "Block")->actions())
    replaced << QString("%1 %2 %3").arg(a->text()).arg(a->data().toInt()).arg(a->statusTip());
  for (QAction* a : Sub(insert, "Block ")->actions())
    inserted << QString("%1 %2 %3").arg(a->text()).arg(a->data().toInt()).arg(a->statusTip());
  EXPECT_EQ(replaced, (QStringList{"Rectangle 0 Replase selected object to rectangle",
                                   "Ellipse 1 Replase selected object to ellipse",
                                   "Rhomb 2 Replase selected object to rhomb",
                                   "Parallelogram 3 Replase selected object to parallelogram",
                                   "Commentary 6 Replase selected object to commentary",
                                   "Document 7 Replase selected object to document",
                                   "Process 8 Replase selected object to predefined process",
                                   "Divider 9 Replase selected object to page divider"}));
  EXPECT_EQ(
      inserted,
      (QStringList{"Rectangle 0 Insert standard rectangle", "Ellipse 1 Insert standard ellipse",
                   "Rhomb 2 Insert standard rhomb", "Parallelogram 3 Insert standard parallelogram",
                   "Text 5 Insert standard text", "Commentary 6 Insert standard commentary",
                   "Document 7 Insert standard document",
                   "Process 8 Insert standard predefined process",
                   "Divider 9 Insert standard page divider"}));

  QStringList hints;
  for (QAction* a : m->actions())
    if (!a->isSeparator() && !a->menu()) hints << a->statusTip();
  EXPECT_EQ(hints,
            (QStringList{"Align selected to Grid", "Vertical and horizontal align ",
                         "Resize multiple object", "Cut selection to clipboard",
                         "Copy selection to clipboard", "Paste selection to current document",
                         "Delete selection.", "Duplicate selection.", "Properties of object"}));
  const TActionRegistry& r = *f.Actions;
  EXPECT_EQ(r.Action(TCommand::ContextDelete)->shortcut(),
            QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  EXPECT_EQ(r.Action(TCommand::ContextDuplicate)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
  EXPECT_TRUE(r.Action(TCommand::ContextCut)->shortcut().isEmpty());
  EXPECT_TRUE(r.Action(TCommand::ContextPaste)->shortcut().isEmpty());
}

TEST(DocumentMenu, OpeningEnablesEntriesByTheSelection) {
  Fixture fx;
  TMainForm f(fx.Options());
  QMenu* m = f.DocumentMenu->Menu();
  // No document: everything but the block inserts is off.
  f.DocumentMenu->UpdateItems();
  EXPECT_EQ(Enabled(m), (QStringList{"Insert ", "Insert >Block ", "Insert >Block >Rectangle",
                                     "Insert >Block >Ellipse", "Insert >Block >Rhomb",
                                     "Insert >Block >Parallelogram", "Insert >Block >Text",
                                     "Insert >Block >Commentary", "Insert >Block >Document",
                                     "Insert >Block >Process", "Insert >Block >Divider"}));
  const QStringList inserts = Enabled(m);

  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddBlock(d, 10);
  TShemObj* b = AddBlock(d, 100);
  TShemObj* l = AddLink(d, a, b);
  f.DocumentMenu->UpdateItems();
  EXPECT_EQ(Enabled(m), inserts) << "nothing selected, empty clipboard";

  d->Selection.Assign({l});  // one object, no block
  f.DocumentMenu->UpdateItems();
  EXPECT_EQ(Enabled(m), inserts + QStringList{"Properties"});

  d->Selection.Assign({a});
  f.DocumentMenu->UpdateItems();
  const QStringList one{"Align to Grid",   "Cut", "Copy", "Delete", "Duplicate", "Replace to",
                        "Replace to>Block"};
  QStringList want = one;
  for (QAction* k : Sub(Sub(m, "Replace to"), "Block")->actions())
    want << "Replace to>Block>" + k->text();
  want << inserts << "Properties";
  EXPECT_EQ(Enabled(m), want);

  // Two blocks and a link; something on the clipboard.
  d->Selection.Assign({a, l, b});
  f.AppState.ClipboardDiagram->Add(std::make_unique<TBlock>());
  f.DocumentMenu->UpdateItems();
  QStringList several = Enabled(m);
  for (const char* e : {"Align", "Size", "Paste", "Align to Grid", "Replace to>Block>Divider"})
    EXPECT_TRUE(several.contains(e)) << e;
  EXPECT_FALSE(several.contains("Properties"));

  // Template submenus take part only once they hold entries; a loaded template list also shows
  // them (without templates they stay hidden, and a hidden action is never enabled).
  for (QMenu* t : {f.DocumentMenu->ReplaceTemplates(), f.DocumentMenu->InsertTemplates()}) {
    t->addAction("t");
    t->menuAction()->setVisible(true);
  }
  f.DocumentMenu->UpdateItems();
  EXPECT_FALSE(Enabled(m).contains("Replace to>Templates")) << "two blocks";
  EXPECT_TRUE(Enabled(m).contains("Insert >Templates"));
  d->Selection.Assign({b});
  f.DocumentMenu->UpdateItems();
  EXPECT_TRUE(Enabled(m).contains("Replace to>Templates"));
}

TEST(DocumentMenu, RightClickOpensItWithTheEditorHiddenAndClipboardEntriesWork) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddBlock(d, 10);
  d->Selection.Assign({a});
  d->BeginTextEdit(a);
  ASSERT_TRUE(d->EditorShown());
  d->Memo1->setPlainText("typed");

  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(33, 44), d->mapToGlobal(QPoint(33, 44)));
  QApplication::sendEvent(d, &e);
  EXPECT_TRUE(f.DocumentMenu->Menu()->isVisible());
  EXPECT_FALSE(d->EditorShown());
  EXPECT_EQ(a->AsBlock()->Data.Text, "typed") << "leaving the editor keeps the text";
  EXPECT_EQ(d->DragStart, (TPoint{33, 44})) << "inserts go where the menu was asked for";
  f.DocumentMenu->Menu()->hide();

  // Each entry as chosen from the menu opened anew.
  auto choose = [&f](TCommand id) {
    f.DocumentMenu->UpdateItems();
    f.Actions->Action(id)->trigger();
  };
  choose(TCommand::ContextCopy);
  EXPECT_EQ(f.AppState.ClipboardDiagram->Count(), 1);
  choose(TCommand::ContextDuplicate);
  EXPECT_EQ(d->Diagram.Count(), 2);
  choose(TCommand::ContextPaste);
  EXPECT_EQ(d->Diagram.Count(), 3);
  choose(TCommand::ContextCut);  // the pasted copy
  EXPECT_EQ(d->Diagram.Count(), 2);
  d->Selection.Assign({d->Diagram.GetObj(0)});
  choose(TCommand::ContextDelete);
  EXPECT_EQ(d->Diagram.Count(), 1);
}
