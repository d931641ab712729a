// TChildD: the commands on the selection (delete, select all, duplicate,
// copy, paste, join rectangles, text alignment, scrolling to a block) and the
// single-step undo that exchanges the diagram with a snapshot.
#include <QScrollBar>
#include <QSignalBlocker>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "editor/selectionops.h"

int TChildD::SelectedBlockCount() const { return Selection.BlockCount(); }

TRect TChildD::SelectionBounds() const { return BlockBounds(Selection.Items()); }

void TChildD::SaveUndo() {
  HideEditor();
  Undo.Save(Diagram);
}

void TChildD::SwapUndo() {
  if (Undo.Empty()) return;
  HideEditor();
  EndDrag();
  // The swap replaces every object: the selection, the edited block (with its
  // pending text) and the listing let go of them as the diagram tells them.
  Undo.Swap(Diagram);
  Selection.Clear();
  EditedBlock = nullptr;
  Redraw();
}

void TChildD::DeleteSelection() {
  if (Selection.Empty()) return;
  HideEditor();
  EndDrag();
  Modified = true;
  SaveUndo();
  // An object may already have gone with an earlier one (a link with its
  // block, a Point with its polyline); the diagram answers for those.
  const std::vector<TShemObj*> doomed = Selection.Items();
  Selection.Clear();
  for (TShemObj* o : doomed)
    if (Diagram.Contains(o)) Diagram.Remove(o);
  FillListView();
  Redraw();
}

void TChildD::SelectAll() {
  std::vector<TShemObj*> all;
  all.reserve(size_t(Diagram.Count()));
  for (int i = 0; i < Diagram.Count(); ++i) all.push_back(Diagram.GetObj(i));
  Selection.Assign(all);
  Redraw();
}

void TChildD::PruneSelection() {
  std::vector<TShemObj*> objs = Selection.Items();
  PruneForCopy(Diagram, objs);
  Selection.Assign(objs);
}

void TChildD::DuplicateSelection() {
  if (SelectedBlockCount() == 0) return;
  if (EditorShown()) Memo1Exit();
  SwitchToSelect();
  PruneSelection();
  // The copies lie 10 units right and down, less where that would leave the
  // diagram's range.
  const TPoint offset = ClampShift(SelectionBounds(), {10, 10});
  const std::vector<TShemObj*> copies =
      CopyObjects(Diagram, Selection.Items(), offset, /*blocksFirst=*/true);
  std::vector<TShemObj*> made;
  for (TShemObj* c : copies)
    if (c) made.push_back(c);
  Selection.Assign(made);
  // The new objects are unsaved work: closing must ask.
  Modified = true;
  Redraw();
}

void TChildD::CopySelection() {
  if (SelectedBlockCount() == 0) return;
  TShem& clipboard = *State().ClipboardDiagram;
  clipboard.Clear();
  if (EditorShown()) Memo1Exit();
  SwitchToSelect();
  PruneSelection();
  std::vector<TShemObj*> objs = Selection.Items();
  OrderForCopy(objs);
  Selection.Assign(objs);
  CopyObjects(clipboard, objs, {10, 10}, /*blocksFirst=*/false);
}

void TChildD::PasteClipboard() {
  const TShem& clipboard = *State().ClipboardDiagram;
  if (clipboard.Count() == 0) return;
  Modified = true;
  SaveUndo();
  if (EditorShown()) Memo1Exit();
  SwitchToSelect();
  // The group's top-left corner lands 50 units right of and below the view's
  // top-left corner, or nearer where the diagram's range ends.
  const TRect r = clipboard.Bounds();
  const TPoint offset = ClampShift(r, PointSub(Origin, {r.Left - 50, r.Top - 50}));
  std::vector<TShemObj*> made;
  Diagram.InsertCopies(clipboard, offset, &made);
  Selection.Assign(made);
  Redraw();
}

void TChildD::JoinSquares() {
  Modified = true;
  SaveUndo();
  if (JoinSquareChains(Diagram) > 0) FillListView();
  Redraw();
}

void TChildD::SetTextAlignment(uint8_t value) {
  if (SelectedBlockCount() == 0) return;
  SaveUndo();
  if (EditorShown()) Memo1Exit();
  for (TShemObj* o : Selection)
    if (TBlock* b = o->AsBlock()) b->Data.TextAlign = value;
  // A changed alignment is saved with the file: closing must ask.
  Modified = true;
  Redraw();
}

void TChildD::ScrollToBlock(TShemObj* block) {
  if (!block || !block->IsBlock() || !Diagram.Contains(block)) return;
  if (EditorShown()) Memo1Exit();
  const Block& b = block->AsBlock()->Data;
  const TPoint m = MidPoint(b.TopLeft, b.BottomRight);
  const TPoint v = MidPoint(ViewTopLeft, ViewBottomRight);
  const TPoint o = PointSub(m, ScalePoint(PointSub(v, ViewTopLeft), 1.0 / Scale));
  {
    const QSignalBlocker quiet1(ScrollBar1), quiet2(ScrollBar2);
    ScrollBar1->setValue(std::max(0, o.X));
    ScrollBar2->setValue(std::max(0, o.Y));
  }
  // The bars keep their positions within their ranges; the view follows them.
  Origin = {ScrollBar1->value(), ScrollBar2->value()};
  Redraw();
}

void TChildD::SwitchToSelect() {
  State().CurrentTool = TTool::Select;
  if (host_) host_->ToolChanged();
}
