#include "editor/tools/createblocktool.h"

#include "editor/childd.h"

uint8_t TCreateBlockTool::BlockKind() const { return View().State().NewBlockKind; }
