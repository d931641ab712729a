#include "app/commands/editcommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/childd.h"

TEditCommands::TEditCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), actions_(actions) {
  const std::pair<TCommand, void (TEditCommands::*)()> handlers[] = {
      {TCommand::Undo, &TEditCommands::Undo1Click},
      {TCommand::Redo, &TEditCommands::Redo1Click},
      {TCommand::Delete, &TEditCommands::Delete1Click},
      {TCommand::Cut, &TEditCommands::Cut1Click},
      {TCommand::Copy, &TEditCommands::Copy1Click},
      {TCommand::Paste, &TEditCommands::Paste1Click},
      {TCommand::SelectAll, &TEditCommands::SelectAll1Click},
      {TCommand::JoinSquare, &TEditCommands::JoinSquare1Click},
      {TCommand::Duplicate, &TEditCommands::Duplicate1Click},
  };
  for (const auto& [id, handler] : handlers)
    QObject::connect(actions.Action(id), &QAction::triggered, &form,
                     [this, h = handler] { (this->*h)(); });
  // The items follow the selection, undo and clipboard while the menu is
  // open; otherwise their shortcuts and buttons work whenever a document is
  // active and the commands check the rest themselves.
  QMenu* edit = actions.Menu(TMenuId::Edit);
  QObject::connect(edit, &QMenu::aboutToShow, &form, [this] {
    menuOpen_ = true;
    form_.UpdateMenuItems();
    FollowEditor();
  });
  QObject::connect(edit, &QMenu::aboutToHide, &form, [this] {
    menuOpen_ = false;
    ReleaseItems();
  });
}

void TEditCommands::ReleaseItems() {
  if (menuOpen_) return;
  const bool active = Active() != nullptr;
  for (QAction* a : actions_.Menu(TMenuId::Edit)->actions()) {
    const TCommand id = actions_.CommandOf(a);
    if (id != TCommand::Count && actions_.Row(id).Rule != TEnableRule::Never) a->setEnabled(active);
  }
}

void TEditCommands::FollowEditor() {
  TChildD* d = Active();
  if (!d || !d->EditorShown()) return;
  const bool selected = d->Memo1->textCursor().hasSelection();
  actions_.Action(TCommand::Undo)->setEnabled(d->Memo1->document()->isUndoAvailable());
  actions_.Action(TCommand::Cut)->setEnabled(selected);
  actions_.Action(TCommand::Copy)->setEnabled(selected);
  actions_.Action(TCommand::Delete)->setEnabled(selected);
  actions_.Action(TCommand::Paste)->setEnabled(d->Memo1->canPaste());
}

TChildD* TEditCommands::Active() const { return form_.ActiveDocument(); }

void TEditCommands::Undo1Click() {
  TChildD* d = Active();
  if (!d) return;
  if (d->EditorShown()) {
    d->Memo1->undo();
    return;
  }
  if (d->CanUndo()) d->SwapUndo();
  form_.UpdateMenuItems();
}

void TEditCommands::Redo1Click() {
  TChildD* d = Active();
  if (!d || !d->CanRedo()) return;
  d->SwapUndo();
  form_.UpdateMenuItems();
}

void TEditCommands::Delete1Click() {
  TChildD* d = Active();
  if (!d) return;
  if (d->EditorShown()) {  // the typed text, never the blocks under it
    d->Memo1->textCursor().removeSelectedText();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  d->DeleteSelection();
  QApplication::restoreOverrideCursor();
  form_.UpdateMenuItems();
}

void TEditCommands::Cut1Click() {
  TChildD* d = Active();
  if (!d) return;
  if (d->EditorShown()) {
    d->Memo1->cut();
    return;
  }
  d->CopySelection();
  d->DeleteSelection();
  form_.UpdateMenuItems();
}

void TEditCommands::Copy1Click() {
  TChildD* d = Active();
  if (!d) return;
  if (d->EditorShown()) {
    d->Memo1->copy();
    return;
  }
  d->CopySelection();
  form_.UpdateMenuItems();
}

void TEditCommands::Paste1Click() {
  TChildD* d = Active();
  if (!d) return;
  if (d->EditorShown()) {
    d->Memo1->paste();
    return;
  }
  d->PasteClipboard();
  form_.UpdateMenuItems();
}

void TEditCommands::SelectAll1Click() {
  if (TChildD* d = Active()) d->SelectAll();
  form_.UpdateMenuItems();
}

void TEditCommands::JoinSquare1Click() {
  if (TChildD* d = Active()) d->JoinSquares();
  form_.UpdateMenuItems();
}

void TEditCommands::Duplicate1Click() {
  if (TChildD* d = Active()) d->DuplicateSelection();
  form_.UpdateMenuItems();
}
