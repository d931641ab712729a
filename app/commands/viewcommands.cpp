#include "app/commands/viewcommands.h"

#include <QAction>
#include <QApplication>

#include "app/actions.h"
#include "app/listingpanel.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/fullviewform.h"
#include "editor/modalquestions.h"

TViewCommands::TViewCommands(TMainForm& form, TActionRegistry& actions)
    : FullViewForm(new TFullViewForm(&form)), form_(form) {
  QObject::connect(actions.Action(TCommand::FullScreen), &QAction::triggered, &form,
                   [this] { Fullscreen1Click(); });
  QObject::connect(actions.Action(TCommand::Grid), &QAction::triggered, &form,
                   [this](bool on) { Grid1Click(on); });
  QObject::connect(actions.Action(TCommand::Listing), &QAction::triggered, &form,
                   [this](bool on) { Listing1Click(on); });
}

void TViewCommands::Fullscreen1Click() {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  // The closed hand stands for the whole screen until the preview is up; the
  // preview then shows its own cursors.
  QApplication::setOverrideCursor(AppCursor(TCursor::HandClosed));
  bool waiting = true;
  auto release = [&waiting] {
    if (!waiting) return;
    waiting = false;
    QApplication::restoreOverrideCursor();
  };
  const QMetaObject::Connection opened =
      QObject::connect(FullViewForm, &TFullViewForm::Opened, FullViewForm, release);
  FullViewForm->PreviewDocument = d;
  Questions().ShowModal(FullViewForm);
  QObject::disconnect(opened);
  FullViewForm->PreviewDocument = nullptr;  // the document may close from now on
  release();
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
