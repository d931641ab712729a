#include "app/commands/userblockcommands.h"

#include <QAction>

#include "app/actions.h"
#include "app/mainform.h"
#include "app/userblocktoolbar.h"
#include "editor/modalquestions.h"
#include "model/shemobj.h"

TUserBlockCommands::TUserBlockCommands(TMainForm& form, TActionRegistry& actions)
    : UBLView(new TUBLView(*this, &form)), form_(form) {
  QObject::connect(actions.Action(TCommand::UserBlocksList), &QAction::triggered, &form,
                   [this] { Userblockslist1Click(); });
}

void TUserBlockCommands::Userblockslist1Click() {
  // The create-block tool may be on a user block; the window can move or
  // delete it, so the tool is followed by the block's key.
  chosenKey_.clear();
  const TEditorState& state = form_.AppState;
  if (state.CurrentTool == TTool::CreateBlock && IsUserKind(state.NewBlockKind))
    if (const TUserBlock* b = state.UserBlocks.GetBlock(state.NewBlockKind - bkUserFirst))
      chosenKey_ = b->KeyText();
  UBLView->Modified = false;
  Questions().ShowModal(UBLView);
  form_.UpdateMenuItems();
}

TUserBlockList& TUserBlockCommands::Blocks() { return form_.AppState.UserBlocks; }

int TUserBlockCommands::DocumentCount() const { return int(form_.Documents().size()); }

QString TUserBlockCommands::LastDirectory() const { return form_.AppState.LastDirectory; }

QString TUserBlockCommands::ProgramDir() const { return form_.Options().ProgramDir; }

QString TUserBlockCommands::UserDataDir() const { return form_.Options().UserDataDir; }

void TUserBlockCommands::AddUserBlockButton(const TUserBlock& block, int index) {
  form_.UserBlocksToolbar->AddUserBlockButton(block, index);
}

void TUserBlockCommands::RebuildUserBlockToolbar() {
  form_.UserBlocksToolbar->RebuildUserBlockToolbar();
  if (chosenKey_.empty()) return;
  // The buttons are new: the chosen block's button is pressed again at the
  // block's present position; when the block is gone, the select tool takes
  // over rather than a tool that would create some other block.
  TEditorState& state = form_.AppState;
  const int at = state.UserBlocks.IndexOfKey(chosenKey_);
  if (at >= 0 && at + bkUserFirst <= 255) {
    state.ChooseToolByTag(at + 20);
    if (QAction* button = form_.UserBlocksToolbar->actions().value(at)) button->setChecked(true);
  } else {
    chosenKey_.clear();
    state.ChooseToolByTag(int(TTool::Select));
    form_.ToolChanged();
  }
}
