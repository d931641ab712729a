// The action registry: one action per command from the table, enabled by the
// rules, and every control of the main window reachable by its name through
// assistive technology.
#include "app/actions.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <set>

#include "../editor/guitestenv.h"
#include "app/commands/filecommands.h"
#include "app/documentmenu.h"
#include "app/fontbox.h"
#include "app/mainform.h"
#include "app/userblocktoolbar.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
QString NameOf(QObject* o) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  return i ? i->text(QAccessible::Name) : QString();
}
}  // namespace

TEST(ActionRegistry, OneActionPerCommandWithItsRowsTextsAndNames) {
  QWidget owner;
  TActionRegistry reg(&owner);
  std::set<int> ids;
  std::set<QString> names;
  for (size_t i = 0; i < CommandTable().size(); ++i) {
    const TCommandRow& row = CommandTable()[i];
    EXPECT_EQ(size_t(row.Id), i) << row.Name;  // rows in id order, so every id once
    ids.insert(int(row.Id));
    QAction* a = reg.Action(row.Id);
    ASSERT_NE(a, nullptr) << row.Name;
    EXPECT_EQ(reg.CommandOf(a), row.Id);
    EXPECT_FALSE(a->objectName().isEmpty());
    EXPECT_TRUE(names.insert(a->objectName()).second) << "name used twice: " << row.Name;
    EXPECT_FALSE(AccessibleCaption(row.Caption, row.Hint).isEmpty()) << row.Name;
    EXPECT_EQ(a->statusTip(), QString::fromUtf8(row.Hint));
    EXPECT_EQ(a->data().toInt(), row.Tag);
  }
  EXPECT_EQ(ids.size(), CommandCount);

  QAction* open = reg.Action(TCommand::Open);
  EXPECT_EQ(open->text(), "&Open");
  EXPECT_EQ(open->statusTip(), "Open an existing file");
  EXPECT_EQ(open->toolTip(), "Open an existing file");
  EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(reg.Action(TCommand::Exit)->text(), "E&xit");
  EXPECT_EQ(reg.Action(TCommand::Exit)->data().toInt(), 99);
  EXPECT_TRUE(reg.Action(TCommand::Grid)->isCheckable());
  EXPECT_FALSE(reg.Action(TCommand::Grid)->isChecked());
  EXPECT_EQ(reg.CommandOf(nullptr), TCommand::Count);
  EXPECT_EQ(AccessibleCaption("Save &as . . .", ""), "Save as . . .");
  EXPECT_EQ(AccessibleCaption("", "Create link"), "Create link");
  EXPECT_EQ(AccessibleCaption("A && B", ""), "A & B");
}

TEST(ActionRegistry, RulesFollowDocumentsSelectionUndoAndClipboard) {
  TCommandContext none;
  EXPECT_TRUE(RuleHolds(TEnableRule::Always, none));
  for (TEnableRule r : {TEnableRule::AnyDocument, TEnableRule::ActiveDocument, TEnableRule::CanUndo,
                        TEnableRule::CanRedo, TEnableRule::Clipboard, TEnableRule::BlockSelected,
                        TEnableRule::ObjectSelected})
    EXPECT_FALSE(RuleHolds(r, none)) << int(r);

  // A document window that is not active (the application is elsewhere).
  TCommandContext inactive;
  inactive.Documents = 1;
  inactive.ClipboardObjects = 3;
  EXPECT_TRUE(RuleHolds(TEnableRule::AnyDocument, inactive));
  EXPECT_FALSE(RuleHolds(TEnableRule::Clipboard, inactive));

  // Only a link selected: Delete yes, Cut/Copy/Duplicate no.
  TCommandContext link;
  link.Documents = 1;
  link.Active = true;
  link.SelectedObjects = 1;
  EXPECT_TRUE(RuleHolds(TEnableRule::ObjectSelected, link));
  EXPECT_FALSE(RuleHolds(TEnableRule::BlockSelected, link));
  EXPECT_FALSE(RuleHolds(TEnableRule::Clipboard, link));
  link.SelectedBlocks = 1;
  link.SelectedObjects = 2;
  link.CanRedo = true;
  link.ClipboardObjects = 1;
  EXPECT_TRUE(RuleHolds(TEnableRule::BlockSelected, link));
  EXPECT_TRUE(RuleHolds(TEnableRule::Clipboard, link));
  EXPECT_TRUE(RuleHolds(TEnableRule::CanRedo, link));
  EXPECT_FALSE(RuleHolds(TEnableRule::CanUndo, link));
}

TEST(ActionRegistry, ImageStripsGiveTheirCellsToTheirActions) {
  QWidget owner;
  TActionRegistry reg(&owner);
  QPixmap strip(16 * 16, 16);
  strip.fill(Qt::white);
  {
    QPainter p(&strip);
    p.fillRect(16 * 1, 0, 16, 16, Qt::red);    // Open
    p.fillRect(16 * 12, 0, 16, 16, Qt::blue);  // Grid
  }
  reg.SetImages(TImageStrip::Special, strip);  // not theirs
  EXPECT_TRUE(reg.Action(TCommand::Open)->icon().isNull());
  reg.SetImages(TImageStrip::Standart, strip);
  EXPECT_EQ(reg.Action(TCommand::Open)->icon().pixmap(16, 16).toImage().pixelColor(8, 8),
            QColor(Qt::red));
  EXPECT_EQ(reg.Action(TCommand::Grid)->icon().pixmap(16, 16).toImage().pixelColor(8, 8),
            QColor(Qt::blue));
  EXPECT_TRUE(reg.Action(TCommand::Exit)->icon().isNull());
}

TEST(ActionRegistry, ToolbarButtonsReadAsTheirCommand) {
  QMainWindow window;
  TActionRegistry reg(&window);
  auto* bar = window.addToolBar("bar");
  reg.PlaceOnToolbar(bar, TCommand::Listing);
  QWidget* button = bar->widgetForAction(reg.Action(TCommand::Listing));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->objectName(), "Listing1Button");
  EXPECT_EQ(NameOf(button), "Listing");
  EXPECT_EQ(button->accessibleDescription(), "Show/Unshow list of object");
}

TEST(MainWindowAccessibility, EveryMenuItemToolbarButtonAndTheDocumentViewHasAName) {
  Fixture fx;
  {
    TUserBlockList list;
    list.Add(MakeUserBlock("Triangle", 1, 2));
    list.Add(MakeUserBlock("", 3, 4));  // no name of its own
    ASSERT_TRUE(list.SaveToFile(QFile::encodeName(fx.Path("UserBlock.blu")).toStdString()));
  }
  TMainForm f(fx.Options());
  TChildD* doc = f.CreateDocument("Block-diagram \u21161");
  f.show();

  int items = 0;
  std::function<void(QMenu*)> walk = [&](QMenu* menu) {
    EXPECT_FALSE(NameOf(menu->menuAction()).isEmpty() && menu->title().isEmpty());
    QAccessibleInterface* m = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(m, nullptr);
    for (int i = 0; i < m->childCount(); ++i) {
      QAction* a = menu->actions().value(i);
      if (!a || a->isSeparator()) continue;
      ++items;
      EXPECT_FALSE(m->child(i)->text(QAccessible::Name).isEmpty()) << a->objectName().toStdString();
      if (a->menu()) walk(a->menu());
    }
  };
  for (QAction* top : f.menuBar()->actions()) {
    ASSERT_NE(top->menu(), nullptr);
    EXPECT_FALSE(top->menu()->accessibleName().isEmpty());
    walk(top->menu());
  }
  walk(f.DocumentMenu->Menu());
  EXPECT_FALSE(f.DocumentMenu->Menu()->accessibleName().isEmpty());
  EXPECT_GT(items, 0);
  // Every command is reachable from a menu, the context menu or a toolbar.
  std::set<TCommand> placed;
  std::function<void(QMenu*)> collect = [&](QMenu* menu) {
    for (QAction* a : menu->actions()) {
      placed.insert(f.Actions->CommandOf(a));
      if (a->menu()) collect(a->menu());
    }
  };
  for (QAction* top : f.menuBar()->actions()) collect(top->menu());
  collect(f.DocumentMenu->Menu());

  int buttons = 0;
  for (QToolBar* bar : f.findChildren<QToolBar*>()) {
    for (QAction* a : bar->actions()) {
      QWidget* w = bar->widgetForAction(a);
      if (!w || a->isSeparator()) continue;
      ++buttons;
      placed.insert(f.Actions->CommandOf(a));
      EXPECT_FALSE(NameOf(w).isEmpty())
          << bar->objectName().toStdString() << " " << a->objectName().toStdString();
    }
  }
  EXPECT_GE(buttons, 3);  // the font box and two user blocks at least
  placed.erase(TCommand::Count);
  EXPECT_EQ(placed.size(), CommandCount);
  EXPECT_EQ(NameOf(f.UserBlocksToolbar->widgetForAction(f.UserBlocksToolbar->actions()[0])),
            "Triangle");
  EXPECT_EQ(NameOf(f.FontBox), "Select font to all object");

  // Every action the registry made has what a screen reader and UI automation need.
  for (size_t i = 0; i < CommandCount; ++i) {
    QAction* a = f.Actions->Action(TCommand(i));
    EXPECT_FALSE(a->objectName().isEmpty());
    EXPECT_FALSE(a->text().isEmpty());
  }
  EXPECT_EQ(NameOf(doc), QString::fromUtf8("Block-diagram \u21161"));
  doc->setWindowTitle("/tmp/renamed.fgd");
  EXPECT_EQ(NameOf(doc), "/tmp/renamed.fgd");
}

TEST(FileCommands, RecentFilesKeepFiveWithTheLatestFirstAndNoRepeats) {
  Fixture fx;
  TMainForm f(fx.Options());
  for (const char* name : {"/a", "/b", "/c", "/d", "/e", "/f"}) f.FileCommands->AddRecentFile(name);
  EXPECT_EQ(f.AppState.RecentFiles, (QStringList{"/f", "/e", "/d", "/c", "/b"}));
  f.FileCommands->AddRecentFile("/c");
  EXPECT_EQ(f.AppState.RecentFiles, (QStringList{"/c", "/f", "/e", "/d", "/b"}));
}
