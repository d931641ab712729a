#include "app/commands/propertycommands.h"

#include <QAction>
#include <QApplication>

#include "app/actions.h"
#include "app/dialogs/blockprop.h"
#include "app/dialogs/linkpropform.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"

TPropertyCommands::TPropertyCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  LinkPropForm1 = new TLinkPropForm(&form);
  BlockProp1 = new TBlockProp(&form);
  QObject::connect(actions.Action(TCommand::Properties), &QAction::triggered, &form,
                   [this] { Properties1Click(); });
}

void TPropertyCommands::Properties1Click() {
  TChildD* d = form_.ActiveDocument();
  if (!d || d->Selection.Count() != 1) return;
  TShemObj* obj = d->Selection[0];
  if (d->EditorShown()) d->Memo1Exit();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (obj->IsLink())
    EditLink(*d, obj);
  else if (!obj->IsPointBlock())
    EditBlock(*d, obj);
  QApplication::restoreOverrideCursor();
}

void TPropertyCommands::EditLink(TChildD& d, TShemObj* link) {
  LinkPropForm1->SetLinkType(link->AsLink()->Data.LinkType);
  if (Questions().ShowModal(LinkPropForm1) != QDialog::Accepted) return;
  // The window may have lost the link while the dialog was up.
  if (!d.Diagram.Contains(link)) return;
  uint8_t& type = link->AsLink()->Data.LinkType;
  if (type != uint8_t(LinkPropForm1->LinkType())) {
    type = uint8_t(LinkPropForm1->LinkType());
    d.Modified = true;
  }
  d.Redraw();
}

void TPropertyCommands::EditBlock(TChildD& d, TShemObj* block) {
  BlockProp1->Data = block->AsBlock()->Data;
  if (Questions().ShowModal(BlockProp1) != QDialog::Accepted) return;
  if (!d.Diagram.Contains(block)) return;
  const Block& edited = BlockProp1->Data;
  Block& b = block->AsBlock()->Data;
  const bool same = b.Kind == edited.Kind && b.Text == edited.Text &&
                    b.TextAlign == edited.TextAlign && b.Filled == edited.Filled &&
                    b.Dotted == edited.Dotted && b.TopLeft == edited.TopLeft &&
                    b.BottomRight == edited.BottomRight;
  // The links move onto the new outline (or go, for free text) first.
  d.Diagram.ChangeKind(block, edited.Kind);
  b = edited;
  // An edit like any other: closing the window asks to save it.
  if (!same) d.Modified = true;
  d.FillListView();
  d.Redraw();
}
