#include "editor/tools/movedocumenttool.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/selectionops.h"

void TMoveDocumentTool::IdleMove(const TMouseInput&) { View().ShowCursor(TCursor::Hand); }

void TMoveDocumentTool::MouseDown(const TMouseInput& in) {
  TChildD& v = View();
  if (v.EditorShown()) v.Memo1Exit();
  v.ShowCursor(TCursor::HandClosed);
  v.DragStart = in.Pixel;
  v.MouseState = TMouseState::DraggingDocument;
  v.DocumentDragging = true;
}

void TMoveDocumentTool::DragMove(const TMouseInput& in) {
  TChildD& v = View();
  v.ShowCursor(TCursor::HandClosed);
  const auto step = [](int pos, int from, int to) {
    return std::min(std::max(0, pos + from - to), int(DiagramMax));
  };
  {
    // Both bars move first and the view is redrawn once.
    const QSignalBlocker quiet1(v.ScrollBar1), quiet2(v.ScrollBar2);
    v.ScrollBar1->setValue(step(v.ScrollBar1->value(), v.DragStart.X, in.Pixel.X));
    v.ScrollBar2->setValue(step(v.ScrollBar2->value(), v.DragStart.Y, in.Pixel.Y));
  }
  v.Origin = {v.ScrollBar1->value(), v.ScrollBar2->value()};
  v.DragStart = in.Pixel;
  v.Redraw();
}

void TMoveDocumentTool::MouseUp(const TMouseInput&) {
  TChildD& v = View();
  v.ShowCursor(TCursor::Hand);
  v.DocumentDragging = false;
  v.Redraw();
}

void TMoveDocumentTool::CancelDrag() {
  // The grid comes back with the view.
  View().DocumentDragging = false;
  View().Redraw();
}
