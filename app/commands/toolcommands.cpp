#include "app/commands/toolcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include "app/actions.h"
#include "app/commands/filecommands.h"
#include "app/commands/viewcommands.h"
#include "app/mainform.h"
#include "editor/childd.h"

namespace {
constexpr TCommand kTools[] = {
    TCommand::ToolSelect,        TCommand::ToolEditText,     TCommand::ToolText,
    TCommand::ToolRectangle,     TCommand::ToolEllipse,      TCommand::ToolRhomb,
    TCommand::ToolParallelogram, TCommand::ToolDocument,     TCommand::ToolComment,
    TCommand::ToolProcess,       TCommand::ToolPage,         TCommand::ToolLink,
    TCommand::ToolLinkPoints,    TCommand::ToolMoveDocument,
};
}  // namespace

TToolCommands::TToolCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), actions_(actions) {
  for (TCommand id : kTools) {
    QAction* a = actions.Action(id);
    form.ToolGroup->addAction(a);
    QObject::connect(a, &QAction::triggered, &form, [this, a] { ToolClick(a->data().toInt()); });
  }
  for (TCommand id : {TCommand::TextLeft, TCommand::TextCenter, TCommand::TextRight}) {
    QAction* a = actions.Action(id);
    QObject::connect(a, &QAction::triggered, &form,
                     [this, a] { TextAlignClick(a->data().toInt()); });
  }
  QObject::connect(actions.Action(TCommand::SaveButton), &QAction::triggered, &form,
                   [this] { form_.FileCommands->Save1Click(); });
  QObject::connect(actions.Action(TCommand::PreviewButton), &QAction::triggered, &form,
                   [this] { form_.ViewCommands->Fullscreen1Click(); });
  // The listing button and the "Listing" item show the same state.
  QAction* listing = actions.Action(TCommand::Listing);
  QAction* button = actions.Action(TCommand::ListingButton);
  QObject::connect(listing, &QAction::toggled, button, &QAction::setChecked);
  QObject::connect(button, &QAction::triggered, &form, [listing](bool on) {
    if (listing->isChecked() != on) listing->trigger();
  });
}

void TToolCommands::ToolClick(int tag) { form_.AppState.ChooseToolByTag(tag); }

void TToolCommands::ToolChanged() {
  if (form_.AppState.CurrentTool == TTool::Select)
    actions_.Action(TCommand::ToolSelect)->setChecked(true);
}

void TToolCommands::TextAlignClick(int tag) {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  if (!d->EditorShown()) {
    d->SetTextAlignment(uint8_t(tag));
    return;
  }
  // While typing: the editor shows the alignment and the edited block keeps it.
  QTextOption opt = d->Memo1->document()->defaultTextOption();
  opt.setAlignment(tag == 1 ? Qt::AlignLeft : tag == 2 ? Qt::AlignRight : Qt::AlignHCenter);
  d->Memo1->document()->setDefaultTextOption(opt);
  if (d->EditedBlock && d->EditedBlock->IsBlock()) {
    d->EditedBlock->AsBlock()->Data.TextAlign = uint8_t(tag);
    d->Modified = true;
  }
}
