// The Standard, Special and Align toolbars: their buttons in order, their
// images, and the tools the buttons choose.
#include <QAction>
#include <QActionGroup>
#include <QToolBar>
#include <QToolButton>

#include "app/actions.h"
#include "app/commands/toolcommands.h"
#include "app/toolimages.h"
#include "app/userblocktoolbar.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
QStringList Hints(QToolBar* bar) {
  QStringList t;
  for (QAction* a : bar->actions()) {
    if (a->isSeparator())
      t << "-";
    else if (!a->statusTip().isEmpty())
      t << a->statusTip();
  }
  return t;
}

bool Transparent(const QPixmap& strip, int cell) {
  return strip.toImage().pixelColor(cell * 16, 0).alpha() == 0;
}

bool Drawn(const QPixmap& strip, int cell) {
  const QImage image = strip.toImage();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (image.pixelColor(cell * 16 + x, y).alpha() != 0) return true;
  return false;
}
}  // namespace

TEST(Toolbars, ButtonsInOrderWithTheirHints) {
  Fixture fx;
  TMainForm f(fx.Options());
  const QStringList standard = Hints(f.StandardToolbar);
  EXPECT_EQ(standard.mid(0, 4), (QStringList{"Create a new file", "Open an existing file",
                                             "Save current file", "Print current document"}));
  EXPECT_EQ(standard.mid(5, 4),
            (QStringList{"Delete selection.", "Cut selection to clipboard",
                         "Copy selection to clipboard", "Paste selection to current document"}));
  EXPECT_EQ(standard.mid(10, 3), (QStringList{"Display a full-screen priview of the block-diagram",
                                              "Show/Unshow grid", "Scaling"}));
  EXPECT_EQ(standard.last(), "Listing of object");
  EXPECT_EQ(Hints(f.AlignToolbar),
            (QStringList{"Align left edges", "Align horizontal centers", "Align right edges",
                         "Space equally, horizontally", "-", "Align tops", "Align vertical centers",
                         "Align bottoms", "Space equally, vertically"}));
  const QStringList special = Hints(f.SpecialToolbar);
  ASSERT_EQ(special.size(), 14);
  EXPECT_EQ(special.first(), "Select objects");
  EXPECT_EQ(special.last(), "Move document.");
  EXPECT_TRUE(f.Actions->Action(TCommand::ToolSelect)->isChecked());
  EXPECT_EQ(f.Actions->Action(TCommand::ToolDocument)->data().toInt(), 12);
  EXPECT_FALSE(f.Actions->Action(TCommand::ToolLink)->icon().isNull());
  EXPECT_EQ(f.Actions->Action(TCommand::TextLeft)->data().toInt(), 1);
  auto* scaling = qobject_cast<QToolButton*>(
      f.StandardToolbar->widgetForAction(f.Actions->Action(TCommand::Scaling)));
  ASSERT_NE(scaling, nullptr);
  EXPECT_EQ(scaling->width(), 36);
  EXPECT_NE(scaling->menu(), nullptr);
}

TEST(Toolbars, StripsHaveTransparentCellsWithAPictureInEachUsedOne) {
  const QPixmap standart = StandartStrip(), special = SpecialStrip(), align = AlignStrip();
  EXPECT_EQ(standart.width(), 16 * 16);
  EXPECT_EQ(special.width(), 18 * 16);
  EXPECT_EQ(align.width(), 8 * 16);
  for (const TCommandRow& row : CommandTable()) {
    const QPixmap* strip = row.Strip == TImageStrip::Standart  ? &standart
                           : row.Strip == TImageStrip::Special ? &special
                           : row.Strip == TImageStrip::Align   ? &align
                                                               : nullptr;
    if (!strip) continue;
    EXPECT_LT((row.Image + 1) * 16, strip->width() + 1) << row.Name;
    EXPECT_TRUE(Drawn(*strip, row.Image)) << row.Name;
  }
  for (int link = 7; link <= 12; ++link) EXPECT_TRUE(Drawn(special, link)) << link;
  EXPECT_TRUE(Transparent(special, 3));  // the corner of the rectangle's cell
}

TEST(Toolbars, ToolButtonsChooseTheToolAndReleaseTheUserBlocks) {
  Fixture fx;
  {
    TUserBlockList list;
    list.Add(MakeUserBlock("Triangle", 1, 2));
    ASSERT_TRUE(list.SaveToFile(QFile::encodeName(fx.Path("UserBlock.blu")).toStdString()));
  }
  TMainForm f(fx.Options());
  f.Actions->Action(TCommand::ToolEllipse)->trigger();
  EXPECT_EQ(f.AppState.CurrentTool, TTool::CreateBlock);
  EXPECT_EQ(f.AppState.NewBlockKind, 1);
  EXPECT_FALSE(f.Actions->Action(TCommand::ToolSelect)->isChecked());
  f.Actions->Action(TCommand::ToolLink)->trigger();
  EXPECT_EQ(f.AppState.CurrentTool, TTool::CreateLink);
  f.Actions->Action(TCommand::ToolLink)->trigger();  // a pressed tool stays pressed
  EXPECT_TRUE(f.Actions->Action(TCommand::ToolLink)->isChecked());

  QAction* user = f.UserBlocksToolbar->actions().value(0);
  ASSERT_NE(user, nullptr);
  user->trigger();
  EXPECT_EQ(f.AppState.NewBlockKind, 15);
  EXPECT_FALSE(f.Actions->Action(TCommand::ToolLink)->isChecked());
  f.Actions->Action(TCommand::ToolText)->trigger();
  EXPECT_FALSE(user->isChecked());
  EXPECT_EQ(f.AppState.NewBlockKind, 5);

  // A document that goes back to selecting presses "Select objects".
  TChildD* d = f.CreateDocument("doc");
  d->SwitchToSelect();
  EXPECT_TRUE(f.Actions->Action(TCommand::ToolSelect)->isChecked());
  EXPECT_FALSE(f.Actions->Action(TCommand::ToolText)->isChecked());
}
