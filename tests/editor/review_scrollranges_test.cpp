// Recomputing the scroll ranges (after a resize or a change of scale) leaves
// the origin and an open in-place editor alone, even when a scroll bar has to
// pull its position back into its new range.
#include <QScrollBar>
#include <QTextEdit>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "guitestenv.h"

TEST(ChildDScrollRanges, ClampingAPositionDoesNotMoveTheOriginOrCloseTheEditor) {
  TTestHost host;
  TChildD doc(&host);
  doc.resize(420, 300);
  doc.FormResize();
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect({65450, 65450, 65500, 65480});
  TShemObj* block = doc.Diagram.GetObj(doc.Diagram.Add(std::move(b)));

  // Far right and bottom at scale 8, the in-place editor open on a block.
  doc.Scale = 8;
  doc.UpdateScrollRanges();
  doc.ScrollBar1->setValue(doc.ScrollBar1->maximum());
  doc.ScrollBar2->setValue(doc.ScrollBar2->maximum());
  const TPoint far = doc.Origin;
  ASSERT_EQ(far, (TPoint{doc.ScrollBar1->maximum(), doc.ScrollBar2->maximum()}));
  doc.EditedBlock = block;
  doc.Memo1->show();

  // Back to scale 1: the view covers eight times as much, the bars' maxima
  // drop below the old positions and the bars pull them in.
  doc.Scale = 1;
  doc.UpdateScrollRanges();
  EXPECT_LT(doc.ScrollBar1->value(), far.X);
  EXPECT_LT(doc.ScrollBar2->value(), far.Y);
  EXPECT_EQ(doc.Origin, far);
  EXPECT_EQ(doc.EditedBlock, block);
  EXPECT_FALSE(doc.Memo1->isHidden());

  // A wider window shrinks the range again; still nothing moves.
  doc.resize(900, 600);
  doc.FormResize();
  EXPECT_EQ(doc.ScrollBar1->maximum(), 65535 - doc.ScrollBar2->x());
  EXPECT_EQ(doc.Origin, far);
  EXPECT_EQ(doc.EditedBlock, block);

  // The user's next scroll takes the bar's position as the origin.
  doc.ScrollBar1->setValue(doc.ScrollBar1->value() - 1);
  EXPECT_EQ(doc.Origin.X, doc.ScrollBar1->value());
  EXPECT_EQ(doc.EditedBlock, nullptr);
}
