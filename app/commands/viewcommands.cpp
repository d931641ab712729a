#include "app/commands/viewcommands.h"

#include <QAction>

#include "app/actions.h"
#include "app/listingpanel.h"
#include "app/mainform.h"
#include "editor/childd.h"

TViewCommands::TViewCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  QObject::connect(actions.Action(TCommand::Grid), &QAction::triggered, &form,
                   [this](bool on) { Grid1Click(on); });
  QObject::connect(actions.Action(TCommand::Listing), &QAction::triggered, &form,
                   [this](bool on) { Listing1Click(on); });
}

void TViewCommands::Grid1Click(bool on) {
  if (TChildD* d = form_.ActiveDocument()) {
    d->ShowGrid = on;
    d->Redraw();
  }
}

void TViewCommands::Listing1Click(bool on) {
  form_.ListingPanel->setVisible(on);
  form_.UpdateMenuItems();
}
