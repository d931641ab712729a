#include "editor/editorstate.h"

TEditorState::TEditorState()
    : NewDocumentTitle(QStringLiteral("Block-diagram \u2116")),
      ClipboardDiagram(std::make_unique<TShem>()) {
  StandardBlockSizes.fill({DefaultBlockWidth, DefaultBlockHeight});
}

void TEditorState::ChooseToolByTag(int tag) {
  if (tag < 0) return;
  if (tag >= 5) NewBlockKind = uint8_t(tag - 5);
  CurrentTool = tag > 4 ? TTool::CreateBlock : TTool(tag);
}
