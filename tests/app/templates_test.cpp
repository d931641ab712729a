// Templates: finding and naming them, the two menu trees, inserting one and
// replacing a block by one.
#include <QAction>
#include <QMenu>

#include "../editor/guitestenv.h"
#include "../model/testdiagrams.h"
#include "app/documentmenu.h"
#include "app/mainform.h"
#include "app/templatecommands.h"
#include "app/templatelist.h"
#include "app/templatemenus.h"
#include "app/templateops.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {

// Writes a template whose blocks cover the given rectangles, the first two
// joined by a link.
void WriteTemplate(const QString& path, const std::vector<TRect>& blocks) {
  QDir().mkpath(QFileInfo(path).path());
  TUserBlockList list;
  TShem d;
  d.UserBlocks = &list;
  std::vector<TShemObj*> made;
  for (const TRect& r : blocks) made.push_back(AddBlock(d, bkSquare, r, "t"));
  if (made.size() >= 2) AddLink(d, made[0], made[1]);
  std::string error;
  ASSERT_TRUE(d.SaveToFile(QFile::encodeName(path).toStdString(), &error)) << error;
}

// The captions of a menu, submenus as "Name[...]".
QString Tree(const QMenu* m) {
  QStringList parts;
  for (const QAction* a : m->actions())
    parts << (a->menu() ? a->text() + "[" + Tree(a->menu()) + "]" : a->text());
  return parts.join(",");
}

QList<int> Tags(const QMenu* m) {
  QList<int> tags;
  for (const QAction* a : m->actions())
    if (a->menu())
      tags += Tags(a->menu());
    else
      tags << a->data().toInt();
  return tags;
}

QAction* Find(const QMenu* m, const QString& path) {
  const QStringList parts = path.split('/');
  for (QAction* a : m->actions()) {
    if (a->text() != parts[0]) continue;
    if (parts.size() == 1) return a;
    if (a->menu()) return Find(a->menu(), parts.mid(1).join('/'));
  }
  return nullptr;
}

TRect RectOf(const TShemObj* o) { return o->AsBlock()->Data.Rect(); }

}  // namespace

TEST(TemplateList, NamesFoldersAndOrder) {
  QTemporaryDir dir;
  const QString t = dir.path() + "/template";
  WriteTemplate(t + "/A.fgd", {{0, 0, 10, 10}});
  WriteTemplate(t + "/Loops/C.fgd", {{0, 0, 10, 10}});
  WriteTemplate(t + "/Loops/B.fgd", {{0, 0, 10, 10}});
  WriteTemplate(t + "/Loops/Counted/For.FGD", {{0, 0, 10, 10}});
  WriteTemplate(t + "/notes.txt", {{0, 0, 10, 10}});
  TTemplateList list;
  list.Load(QFile::encodeName(t).toStdString());
  ASSERT_EQ(list.Count(), 4);
  const auto& e = list.Items();
  EXPECT_EQ(e[0].Template.Name, "A");
  EXPECT_TRUE(e[0].Folders.empty());
  EXPECT_EQ(e[0].Template.FileName, QFile::encodeName(t + "/A.fgd").toStdString());
  EXPECT_EQ(e[1].Template.Name, "B");
  EXPECT_EQ(e[2].Template.Name, "C");
  EXPECT_EQ(e[2].Folders, std::vector<std::string>{"Loops"});
  EXPECT_EQ(e[3].Template.Name, "For");
  EXPECT_EQ(e[3].Folders, (std::vector<std::string>{"Loops", "Counted"}));

  EXPECT_EQ(TTemplateList::NameOf("x.fgd.old"), "x");
  EXPECT_EQ(TTemplateList::NameOf("a.b.fgd"), "a.b");
  EXPECT_EQ(TTemplateList::NameOf("plain"), "plain");

  list.Load(QFile::encodeName(dir.path() + "/nothing").toStdString());
  EXPECT_TRUE(list.Empty());
}

TEST(TemplateMenus, BothTreesAreBuiltInStepAndRunTheirOwnCommand) {
  QTemporaryDir dir;
  const QString t = dir.path() + "/template";
  for (const char* f : {"A.fgd", "Loops/B.fgd", "Loops/C.fgd", "Loops/Counted/D.fgd",
                        "Branches/E.fgd", "Loops.fgd"})
    WriteTemplate(t + "/" + f, {{0, 0, 10, 10}});
  TTemplateList list;
  list.Load(QFile::encodeName(t).toStdString());
  QMenu replace, insert;
  QList<int> replaced, inserted;
  BuildTemplateMenus(
      list, &replace, &insert, [&](int i) { replaced << i; }, [&](int i) { inserted << i; });

  // A template named like a folder stays an entry of its own.
  const QString expected = "A,Loops,Branches[E],Loops[B,C,Counted[D]]";
  EXPECT_EQ(Tree(&replace), expected);
  EXPECT_EQ(Tree(&insert), expected);
  EXPECT_EQ(Tags(&replace), (QList<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Tags(&insert), Tags(&replace));
  EXPECT_TRUE(replace.menuAction()->isVisible());

  Find(&replace, "Loops/C")->trigger();
  Find(&insert, "Loops/Counted/D")->trigger();
  Find(&insert, "A")->trigger();
  EXPECT_EQ(replaced, QList<int>{4});
  EXPECT_EQ(inserted, (QList<int>{5, 0}));
}

TEST(TemplateMenus, FilesOfAFolderBeforeItsSubfolder) {
  QTemporaryDir dir;
  const QString t = dir.path() + "/template";
  for (const char* f : {"Loops/C.fgd", "Loops/B.fgd", "A.fgd"})
    WriteTemplate(t + "/" + f, {{0, 0, 10, 10}});
  TTemplateList list;
  list.Load(QFile::encodeName(t).toStdString());
  QMenu replace, insert;
  BuildTemplateMenus(
      list, &replace, &insert, [](int) {}, [](int) {});
  EXPECT_EQ(Tree(&replace), "A,Loops[B,C]");
  EXPECT_EQ(Tree(&insert), "A,Loops[B,C]");
}

TEST(TemplateMenus, WithoutTemplatesBothRootsAreHidden) {
  TTemplateList list;
  QMenu replace, insert;
  BuildTemplateMenus(
      list, &replace, &insert, [](int) {}, [](int) {});
  EXPECT_FALSE(replace.menuAction()->isVisible());
  EXPECT_FALSE(insert.menuAction()->isVisible());
}

TEST(TemplateOps, LoadedTemplateStartsAtTheOrigin) {
  QTemporaryDir dir;
  WriteTemplate(dir.path() + "/t.fgd", {{300, 200, 340, 220}, {310, 260, 420, 290}});
  TUserBlockList ub;
  TShem t;
  t.UserBlocks = &ub;
  ASSERT_TRUE(LoadTemplate(QFile::encodeName(dir.path() + "/t.fgd").toStdString(), t));
  ASSERT_EQ(t.Count(), 3);
  EXPECT_EQ(RectOf(t.GetObj(0)), (TRect{0, 0, 40, 20}));
  EXPECT_EQ(RectOf(t.GetObj(1)), (TRect{10, 60, 120, 90}));
  EXPECT_EQ(TemplateSize(t), (TPoint{120, 90}));
  EXPECT_TRUE(t.GetObj(2)->IsLink());

  TShem bad;
  bad.UserBlocks = &ub;
  std::string error;
  EXPECT_FALSE(
      LoadTemplate(QFile::encodeName(dir.path() + "/none.fgd").toStdString(), bad, &error));
}

// A 40 x 20 block at (100, 100) and its neighbours; the template is 120 x 60.
struct ReplaceScene {
  TUserBlockList ub;
  TShem doc, tmpl;
  TShemObj *b, *above, *left, *right, *below, *belowRight, *sameTop;
  ReplaceScene() {
    doc.UserBlocks = tmpl.UserBlocks = &ub;
    above = AddBlock(doc, bkSquare, {100, 20, 140, 40});
    b = AddBlock(doc, bkSquare, {100, 100, 140, 120}, "B");
    left = AddBlock(doc, bkSquare, {20, 100, 60, 120});
    right = AddBlock(doc, bkSquare, {200, 90, 240, 110});
    below = AddBlock(doc, bkSquare, {100, 200, 140, 220});
    belowRight = AddBlock(doc, bkSquare, {160, 101, 200, 121});
    sameTop = AddBlock(doc, bkSquare, {100, 100, 110, 105});
    // Already normalised: a top block, a lower one, a link between them.
    TShemObj* t1 = AddBlock(tmpl, bkRhomb, {20, 0, 100, 20}, "top");
    TShemObj* t2 = AddBlock(tmpl, bkSquare, {0, 40, 120, 60}, "bottom");
    AddLink(tmpl, t1, t2);
  }
};

TEST(TemplateOps, ReplacingMakesRoomByTheSizeDifference) {
  ReplaceScene s;
  const std::vector<TShemObj*> made = ReplaceBlockWithTemplate(s.doc, s.b, s.tmpl);
  ASSERT_EQ(made.size(), 3u);
  EXPECT_FALSE(s.doc.Contains(s.b));
  // Down by 60 - 20 = 40 when the top edge is below 100, right by 120 - 40 =
  // 80 when the left edge is right of 100.
  EXPECT_EQ(RectOf(s.above), (TRect{100, 20, 140, 40}));
  EXPECT_EQ(RectOf(s.left), (TRect{20, 100, 60, 120}));
  EXPECT_EQ(RectOf(s.right), (TRect{280, 90, 320, 110}));
  EXPECT_EQ(RectOf(s.below), (TRect{100, 240, 140, 260}));
  EXPECT_EQ(RectOf(s.belowRight), (TRect{240, 141, 280, 161}));
  EXPECT_EQ(RectOf(s.sameTop), (TRect{100, 100, 110, 105}));
  // The copies sit at B's old corner.
  EXPECT_EQ(RectOf(made[0]), (TRect{120, 100, 200, 120}));
  EXPECT_EQ(RectOf(made[1]), (TRect{100, 140, 220, 160}));
  EXPECT_EQ(made[2]->AsLink()->Data.Source.Get(), made[0]);
  EXPECT_TRUE(s.doc.CheckIntegrity());
}

TEST(TemplateOps, ReplacingWithASmallerTemplateMovesBlocksBack) {
  ReplaceScene s;
  TShem small;
  small.UserBlocks = &s.ub;
  AddBlock(small, bkSquare, {0, 0, 30, 8});
  ReplaceBlockWithTemplate(s.doc, s.b, small);
  EXPECT_EQ(RectOf(s.right), (TRect{190, 90, 230, 110}));
  EXPECT_EQ(RectOf(s.below), (TRect{100, 188, 140, 208}));
}

TEST(TemplateOps, LinkEndsGoToTheTopOrBottomBlockByTheHalfOfBTheyMeet) {
  ReplaceScene s;
  // Ends on B: its top middle, exactly its centre, just below the centre, its
  // bottom; one link from B to itself.
  TShemObj* fromAbove = AddLink(s.doc, s.above, s.b, PosCentre, {32767, 0});
  TShemObj* atCentre = AddLink(s.doc, s.left, s.b, PosCentre, PosCentre);
  TShemObj* lowHalf = AddLink(s.doc, s.b, s.right, {65535, 40000}, PosCentre);
  TShemObj* toBelow = AddLink(s.doc, s.b, s.below, {32767, 65535}, PosCentre);
  TShemObj* loop = AddLink(s.doc, s.b, s.b, {0, 0}, {0, 65535});
  const std::vector<TShemObj*> made = ReplaceBlockWithTemplate(s.doc, s.b, s.tmpl);
  TShemObj* top = made[0];
  TShemObj* bottom = made[1];
  auto& d1 = fromAbove->AsLink()->Data;
  EXPECT_EQ(d1.Source.Get(), s.above);
  EXPECT_EQ(d1.Target.Get(), top);
  EXPECT_EQ(d1.TargetPos, (TPoint{32767, 0}));  // the position is kept
  EXPECT_EQ(atCentre->AsLink()->Data.Target.Get(), top);
  EXPECT_EQ(lowHalf->AsLink()->Data.Source.Get(), bottom);
  EXPECT_EQ(lowHalf->AsLink()->Data.SourcePos, (TPoint{65535, 40000}));
  EXPECT_EQ(toBelow->AsLink()->Data.Source.Get(), bottom);
  EXPECT_EQ(toBelow->AsLink()->Data.Target.Get(), s.below);
  EXPECT_EQ(loop->AsLink()->Data.Source.Get(), top);
  EXPECT_EQ(loop->AsLink()->Data.Target.Get(), bottom);
  // Every link survives B's removal.
  for (TShemObj* l : {fromAbove, atCentre, lowHalf, toBelow, loop}) EXPECT_TRUE(s.doc.Contains(l));
  EXPECT_TRUE(s.doc.CheckIntegrity());
}

TEST(TemplateOps, TiesGoToTheFirstBlockFound) {
  ReplaceScene s;
  TShem flat;
  flat.UserBlocks = &s.ub;
  TShemObj* a = AddBlock(flat, bkSquare, {0, 0, 40, 20});
  AddBlock(flat, bkSquare, {50, 0, 90, 20});
  (void)a;
  TShemObj* up = AddLink(s.doc, s.above, s.b, PosCentre, {32767, 0});
  TShemObj* down = AddLink(s.doc, s.b, s.below, {32767, 65535}, PosCentre);
  const std::vector<TShemObj*> made = ReplaceBlockWithTemplate(s.doc, s.b, flat);
  EXPECT_EQ(up->AsLink()->Data.Target.Get(), made[0]);
  EXPECT_EQ(down->AsLink()->Data.Source.Get(), made[0]);
}

TEST(TemplateOps, TemplateWithoutBlocksChangesNothing) {
  ReplaceScene s;
  TShemObj* l = AddLink(s.doc, s.above, s.b);
  TShem empty;
  empty.UserBlocks = &s.ub;
  const int before = s.doc.Count();
  EXPECT_TRUE(ReplaceBlockWithTemplate(s.doc, s.b, empty).empty());
  EXPECT_EQ(s.doc.Count(), before);
  EXPECT_TRUE(s.doc.Contains(s.b));
  EXPECT_EQ(l->AsLink()->Data.Target.Get(), s.b);
  EXPECT_EQ(RectOf(s.right), (TRect{200, 90, 240, 110}));
}

// ---------------------------------------------------------------- in the window

namespace {
struct TemplateFixture : Fixture {
  TemplateFixture() {
    WriteTemplate(Path("template/Two.fgd"), {{300, 300, 340, 320}, {300, 360, 420, 380}});
    WriteTemplate(Path("template/Loops/Empty.fgd"), {});
    WriteDiagram(Path("doc.fgd"), 3);
  }
};
}  // namespace

TEST(TemplateCommands, WithoutTemplatesBothEntriesAreHidden) {
  Fixture fx;
  TMainForm f(fx.Options());
  EXPECT_FALSE(f.Templates->ReplaceMenu()->menuAction()->isVisible());
  EXPECT_FALSE(f.Templates->InsertMenu()->menuAction()->isVisible());
  EXPECT_EQ(f.Templates->InsertMenu()->title(), "Templates");
}

TEST(TemplateCommands, InsertPutsTheTemplateWhereTheMenuOpenedAndSelectsIt) {
  TemplateFixture fx;
  TMainForm f(fx.Options());
  EXPECT_TRUE(f.Templates->InsertMenu()->menuAction()->isVisible());
  // The trees hang in the document context menu.
  EXPECT_EQ(Find(f.DocumentMenu->Menu(), "Insert /Templates/Two")->data().toInt(), 0);
  EXPECT_EQ(Find(f.DocumentMenu->Menu(), "Replace to/Templates/Loops/Empty")->data().toInt(), 1);
  TChildD* d = f.OpenDocument(fx.Path("doc.fgd"));
  ASSERT_NE(d, nullptr);
  d->DragStart = {60, 40};
  const TPoint at = d->ScreenToDiagram(d->DragStart);
  Find(f.Templates->InsertMenu(), "Two")->trigger();
  ASSERT_EQ(d->Diagram.Count(), 3 + 3);
  EXPECT_EQ(RectOf(d->Diagram.GetObj(3)), (TRect{at.X, at.Y, at.X + 40, at.Y + 20}));
  EXPECT_EQ(RectOf(d->Diagram.GetObj(4)), (TRect{at.X, at.Y + 60, at.X + 120, at.Y + 80}));
  EXPECT_EQ(d->Selection.Count(), 3);
  EXPECT_TRUE(d->Selection.Contains(d->Diagram.GetObj(5)));
  EXPECT_TRUE(d->Modified);
  ASSERT_TRUE(d->CanUndo());
  d->SwapUndo();
  EXPECT_EQ(d->Diagram.Count(), 3);
}

TEST(TemplateCommands, InsertNearTheEndOfTheRangeStaysInside) {
  TemplateFixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.OpenDocument(fx.Path("doc.fgd"));
  ASSERT_NE(d, nullptr);
  d->Origin = {65500, 65500};
  d->DragStart = {10, 10};
  f.Templates->InsertTemplate(0);
  ASSERT_EQ(d->Diagram.Count(), 6);
  EXPECT_EQ(RectOf(d->Diagram.GetObj(4)).Right, 65535);
  EXPECT_EQ(RectOf(d->Diagram.GetObj(4)).Bottom, 65535);
}

TEST(TemplateCommands, ReplaceNeedsOneBlockAndRefusesATemplateWithoutBlocks) {
  TemplateFixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.OpenDocument(fx.Path("doc.fgd"));
  ASSERT_NE(d, nullptr);
  TShemObj* b = d->Diagram.GetObj(1);
  d->Selection.Assign({b});
  f.DocumentMenu->UpdateItems();
  EXPECT_TRUE(f.Templates->ReplaceMenu()->menuAction()->isEnabled());

  Find(f.Templates->ReplaceMenu(), "Loops/Empty")->trigger();
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Text, TemplateWithoutBlocksText);
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_EQ(d->Diagram.Count(), 3);
  EXPECT_TRUE(d->Diagram.Contains(b));
  EXPECT_FALSE(d->Modified);

  // Two blocks selected: not offered, and nothing happens when asked anyway.
  d->Selection.Assign({b, d->Diagram.GetObj(2)});
  f.DocumentMenu->UpdateItems();
  EXPECT_FALSE(f.Templates->ReplaceMenu()->menuAction()->isEnabled());
  f.Templates->ReplaceWithTemplate(0);
  EXPECT_EQ(d->Diagram.Count(), 3);

  d->Selection.Assign({b});
  const TRect old = RectOf(b);
  Find(f.Templates->ReplaceMenu(), "Two")->trigger();
  EXPECT_FALSE(d->Diagram.Contains(b));
  ASSERT_EQ(d->Diagram.Count(), 2 + 3);
  EXPECT_EQ(RectOf(d->Diagram.GetObj(2)).TopLeft(), old.TopLeft());
  EXPECT_TRUE(d->Modified);
  ASSERT_TRUE(d->CanUndo());
  d->SwapUndo();
  EXPECT_EQ(d->Diagram.Count(), 3);
  EXPECT_EQ(RectOf(d->Diagram.GetObj(1)), old);
}
