// The selection and the undo snapshot of a document: references into the
// diagram that are let go when the diagram deletes or replaces objects.
#include "editor/selection.h"

#include <gtest/gtest.h>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "editor/undosnapshot.h"
#include "guitestenv.h"
#include "model/shem.h"
#include "model/testdiagrams.h"

namespace {
// a -> b, and a polyline a -> p1 -> p2 -> c.
struct Chart {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20}, "a");
  TShemObj* b = AddBlock(d, bkSquare, {0, 100, 80, 120}, "b");
  TShemObj* c = AddBlock(d, bkSquare, {200, 100, 280, 120}, "c");
  TShemObj* ab = AddLink(d, a, b);
  TShemObj* p1 = AddPoint(d, {150, 10});
  TShemObj* p2 = AddPoint(d, {150, 110});
  TShemObj* s1 = AddLink(d, a, p1);
  TShemObj* s2 = AddLink(d, p1, p2);
  TShemObj* s3 = AddLink(d, p2, c);
};
}  // namespace

TEST(Selection, KeepsSelectionOrderOnceEachAndOnlyObjectsOfItsDiagram) {
  Chart ch;
  TSelection sel(ch.d);
  sel.Add(ch.b);
  sel.Add(ch.ab);
  sel.Add(ch.a);
  sel.Add(ch.b);  // already there
  sel.Add(nullptr);
  TShem other;
  sel.Add(AddBlock(other, bkSquare, {0, 0, 10, 10}));
  EXPECT_EQ(sel.Items(), (std::vector<TShemObj*>{ch.b, ch.ab, ch.a}));
  EXPECT_EQ(sel.BlockCount(), 2);
  EXPECT_TRUE(sel.Contains(ch.ab));
  sel.Remove(ch.ab);
  EXPECT_FALSE(sel.Contains(ch.ab));
  EXPECT_EQ(sel.Items(), (std::vector<TShemObj*>{ch.b, ch.a}));
  sel.Remove(ch.ab);  // not selected: nothing happens
  EXPECT_EQ(sel.Count(), 2);
}

TEST(Selection, ObjectsDeletedWithWhatTheyCarryLeaveTheSelection) {
  Chart ch;
  TSelection sel(ch.d);
  for (TShemObj* o : {ch.c, ch.s2, ch.b, ch.ab, ch.p1, ch.a}) sel.Add(o);
  // Deleting c takes the last segment, its Point and, through the Point, the
  // whole polyline up to a.
  ch.d.Remove(ch.c);
  EXPECT_EQ(sel.Items(), (std::vector<TShemObj*>{ch.b, ch.ab, ch.a}));
  EXPECT_TRUE(ch.d.CheckIntegrity());
  // Deleting b takes the link a -> b with it.
  ch.d.Remove(ch.b);
  EXPECT_EQ(sel.Items(), std::vector<TShemObj*>{ch.a});
  EXPECT_EQ(sel.BlockCount(), 1);
  // Objects that were never selected leave it alone.
  TShemObj* e = AddBlock(ch.d, bkEllipse, {0, 300, 80, 320});
  ch.d.Remove(e);
  EXPECT_EQ(sel.Count(), 1);
  ch.d.Clear();
  EXPECT_TRUE(sel.Empty());
}

TEST(Selection, AnObjectAddedAgainAfterItsDeletionIsANewMember) {
  Chart ch;
  TSelection sel(ch.d);
  sel.Add(ch.a);
  ch.d.Remove(ch.a);
  // A new block may reuse the freed address; it is not selected by accident.
  TShemObj* fresh = AddBlock(ch.d, bkSquare, {5, 5, 50, 50});
  EXPECT_FALSE(sel.Contains(fresh));
  sel.Add(fresh);
  EXPECT_EQ(sel.Items(), std::vector<TShemObj*>{fresh});
}

TEST(Selection, StopsWatchingWhenItGoesBeforeItsDiagram) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  {
    TSelection sel(d);
    sel.Add(a);
  }
  d.Remove(a);  // would tell a selection that no longer exists
  EXPECT_EQ(d.Count(), 0);
}

TEST(UndoSnapshot, UndoRedoUndoExchangesTheDiagramAndEmptiesTheSelection) {
  Chart ch;
  TSelection sel(ch.d);
  TUndoSnapshot undo;
  EXPECT_FALSE(undo.Swap(ch.d));  // nothing taken yet
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(ch.d.Count(), 9);

  undo.Save(ch.d);
  EXPECT_TRUE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());
  EXPECT_GT(undo.Size(), 0u);
  sel.Add(ch.b);
  ch.d.Remove(ch.b);  // the change to undo
  ASSERT_EQ(ch.d.Count(), 7);
  sel.Add(ch.a);

  ASSERT_TRUE(undo.Swap(ch.d));  // Undo
  EXPECT_EQ(ch.d.Count(), 9);
  EXPECT_TRUE(sel.Empty());  // its objects are gone with the old contents
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_TRUE(undo.CanRedo());
  EXPECT_EQ(ch.d.GetObj(1)->AsBlock()->Data.Text, "b");
  EXPECT_TRUE(ch.d.CheckIntegrity());

  ASSERT_TRUE(undo.Swap(ch.d));  // Redo
  EXPECT_EQ(ch.d.Count(), 7);
  EXPECT_TRUE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());

  ASSERT_TRUE(undo.Swap(ch.d));  // Undo again
  EXPECT_EQ(ch.d.Count(), 9);

  // A new snapshot ends the redo.
  undo.Save(ch.d);
  EXPECT_TRUE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());
}

TEST(UndoSnapshot, TheDocumentLetsGoOfItsEditedBlockWhenTheBlockGoes) {
  TTestHost host;
  TChildD doc(&host);
  TShemObj* a = AddBlock(doc.Diagram, bkSquare, {0, 0, 80, 20});
  TShemObj* b = AddBlock(doc.Diagram, bkSquare, {0, 50, 80, 70});
  doc.EditedBlock = a;
  doc.Diagram.Remove(b);
  EXPECT_EQ(doc.EditedBlock, a);
  doc.Diagram.Remove(a);
  EXPECT_EQ(doc.EditedBlock, nullptr);

  TShemObj* c = AddBlock(doc.Diagram, bkSquare, {0, 0, 80, 20});
  doc.Undo.Save(doc.Diagram);
  doc.EditedBlock = c;
  doc.Selection.Add(c);
  ASSERT_TRUE(doc.Undo.Swap(doc.Diagram));
  EXPECT_EQ(doc.EditedBlock, nullptr);
  EXPECT_TRUE(doc.Selection.Empty());
  EXPECT_TRUE(doc.CanRedo());
}
