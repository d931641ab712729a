#include "app/documentmenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/actions.h"
#include "app/commands/editcommands.h"
#include "app/mainform.h"
#include "editor/childd.h"

TDocumentMenu::TDocumentMenu(TMainForm& form, TActionRegistry& actions)
    : QObject(&form), form_(form), actions_(actions) {
  TActionRegistry& r = actions;
  auto add = [&r](QMenu* menu, std::initializer_list<TCommand> ids) {
    for (TCommand id : ids) menu->addAction(r.Action(id));
  };
  menu_ = r.CreatePopup(TMenuId::Context, &form);
  add(menu_, {TCommand::AlignToGrid, TCommand::AlignDialog, TCommand::SizeDialog});
  menu_->addSeparator();
  add(menu_, {TCommand::ContextCut, TCommand::ContextCopy, TCommand::ContextPaste,
              TCommand::ContextDelete});
  menu_->addSeparator();
  add(menu_, {TCommand::ContextDuplicate});
  replaceTo_ = r.CreateSubmenu(TMenuId::ReplaceTo, menu_);
  add(r.CreateSubmenu(TMenuId::ReplaceBlock, replaceTo_),
      {TCommand::ReplaceRectangle, TCommand::ReplaceEllipse, TCommand::ReplaceRhomb,
       TCommand::ReplaceParallelogram, TCommand::ReplaceComment, TCommand::ReplaceDocument,
       TCommand::ReplaceProcess, TCommand::ReplacePage});
  replaceTemplates_ = r.CreateSubmenu(TMenuId::ReplaceTemplates, replaceTo_);
  QMenu* insert = r.CreateSubmenu(TMenuId::Insert, menu_);
  add(r.CreateSubmenu(TMenuId::InsertBlock, insert),
      {TCommand::InsertRectangle, TCommand::InsertEllipse, TCommand::InsertRhomb,
       TCommand::InsertParallelogram, TCommand::InsertText, TCommand::InsertComment,
       TCommand::InsertDocument, TCommand::InsertProcess, TCommand::InsertPage});
  insertTemplates_ = r.CreateSubmenu(TMenuId::InsertTemplates, insert);
  menu_->addSeparator();
  add(menu_, {TCommand::Properties});

  // The clipboard entries run the commands of the "&Edit" menu.
  const std::pair<TCommand, void (TEditCommands::*)()> edits[] = {
      {TCommand::ContextCut, &TEditCommands::Cut1Click},
      {TCommand::ContextCopy, &TEditCommands::Copy1Click},
      {TCommand::ContextPaste, &TEditCommands::Paste1Click},
      {TCommand::ContextDelete, &TEditCommands::Delete1Click},
      {TCommand::ContextDuplicate, &TEditCommands::Duplicate1Click},
  };
  for (const auto& [id, handler] : edits)
    connect(r.Action(id), &QAction::triggered, this, [this, h = handler] {
      if (form_.EditCommands) (form_.EditCommands.get()->*h)();
    });
  connect(menu_, &QMenu::aboutToShow, this, [this] { UpdateItems(); });
}

void TDocumentMenu::UpdateItems() {
  TCommandContext c;
  c.Documents = int(form_.Documents().size());
  c.ClipboardObjects = form_.AppState.ClipboardDiagram->Count();
  if (TChildD* d = form_.ActiveDocument()) {
    // Leaving the editor keeps what was typed.
    if (d->EditorShown()) d->Memo1Exit();
    c.Active = true;
    c.SelectedBlocks = d->Selection.BlockCount();
    c.SelectedObjects = d->Selection.Count();
  }
  for (QAction* a : menu_->actions()) {
    const TCommand id = actions_.CommandOf(a);
    if (id != TCommand::Count) a->setEnabled(RuleHolds(actions_.Row(id).Rule, c));
  }
  replaceTo_->menuAction()->setEnabled(RuleHolds(TEnableRule::BlockSelected, c));
  // A templates submenu without entries has nothing to offer.
  replaceTemplates_->menuAction()->setEnabled(RuleHolds(TEnableRule::OneBlock, c) &&
                                              !replaceTemplates_->isEmpty());
  insertTemplates_->menuAction()->setEnabled(c.Active && !insertTemplates_->isEmpty());
}

void TDocumentMenu::Popup(TChildD* doc, QPoint global) {
  if (doc) {
    if (QMdiSubWindow* w = form_.SubWindowOf(doc)) form_.MdiArea->setActiveSubWindow(w);
  }
  menu_->popup(global);
}
