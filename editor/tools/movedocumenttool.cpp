#include "editor/tools/movedocumenttool.h"

#include "editor/childd.h"
#include "editor/cursors.h"

void TMoveDocumentTool::IdleMove(const TMouseInput&) { View().setCursor(AppCursor(TCursor::Hand)); }
