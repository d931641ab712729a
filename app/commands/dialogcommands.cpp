#include "app/commands/dialogcommands.h"

#include <QAction>

#include "app/actions.h"
#include "app/dialogs/about.h"
#include "app/dialogs/optionsform.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"

TDialogCommands::TDialogCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  About1 = new TAbout(&form);
  OptionsForm1 = new TOptionsForm(form.AppState, &form);
  QObject::connect(actions.Action(TCommand::Options), &QAction::triggered, &form,
                   [this] { Options1Click(); });
  QObject::connect(actions.Action(TCommand::About), &QAction::triggered, &form,
                   [this] { About1Click(); });
}

void TDialogCommands::Options1Click() {
  if (Questions().ShowModal(OptionsForm1) != QDialog::Accepted) return;
  for (TChildD* d : form_.Documents()) d->SetColor(form_.AppState.BackgroundColor);
}

void TDialogCommands::About1Click() { Questions().ShowModal(About1); }
