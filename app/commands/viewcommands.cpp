#include "app/commands/viewcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "app/actions.h"
#include "app/listingpanel.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/fullviewform.h"
#include "editor/modalquestions.h"

TViewCommands::TViewCommands(TMainForm& form, TActionRegistry& actions)
    : FullViewForm(new TFullViewForm(&form)), form_(form), actions_(actions) {
  auto* scales = new QActionGroup(&form);  // one scale is checked at a time
  for (TCommand id : {TCommand::Zoom1, TCommand::Zoom2, TCommand::Zoom4, TCommand::Zoom8}) {
    QAction* a = actions.Action(id);
    scales->addAction(a);
    QObject::connect(a, &QAction::triggered, &form, [this, a] { ZoomClick(a->data().toInt()); });
  }
  QObject::connect(actions.Action(TCommand::StatusBar), &QAction::triggered, &form,
                   [this](bool on) { form_.statusBar()->setVisible(on); });
  const std::pair<TCommand, int> toolbars[] = {{TCommand::ShowStandard, 0},
                                               {TCommand::ShowSpecial, 1},
                                               {TCommand::ShowAlign, 2},
                                               {TCommand::ShowUserBlocks, 3}};
  for (const auto& [id, index] : toolbars)
    QObject::connect(actions.Action(id), &QAction::triggered, &form,
                     [this, i = index](bool on) { form_.Toolbars()[size_t(i)]->setVisible(on); });
  QObject::connect(actions.Menu(TMenuId::View), &QMenu::aboutToShow, &form,
                   [this] { ViewItemClick(); });
  QObject::connect(actions.Menu(TMenuId::Scale), &QMenu::aboutToShow, &form,
                   [this] { ScaleItemClick(); });
  QObject::connect(actions.Menu(TMenuId::Toolbars), &QMenu::aboutToShow, &form,
                   [this] { ToolbarsItemClick(); });
  QObject::connect(actions.Action(TCommand::FullScreen), &QAction::triggered, &form,
                   [this] { Fullscreen1Click(); });
  QObject::connect(actions.Action(TCommand::Grid), &QAction::triggered, &form,
                   [this](bool on) { Grid1Click(on); });
  QObject::connect(actions.Action(TCommand::Listing), &QAction::triggered, &form,
                   [this](bool on) { Listing1Click(on); });
  TListingPanel* panel = form.ListingPanel;
  QObject::connect(
      panel, &QTreeWidget::itemDoubleClicked, &form,
      [this, panel](QTreeWidgetItem* item) { ListingDblClick(panel->indexOfTopLevelItem(item)); });
  QObject::connect(panel, &TListingPanel::KeyPressed, &form,
                   [this](int key, Qt::KeyboardModifiers m) { ListingKeyDown(key, m); });
}

void TViewCommands::ListingDblClick(int row) {
  // Only a block of the active diagram, which is the one the panel shows.
  TChildD* d = form_.ActiveDocument();
  if (!d || !form_.ListingShows(&d->Diagram)) return;
  TShemObj* o = form_.ListingPanel->ObjectOfRow(row);
  if (!o || !o->IsBlock()) return;
  d->ScrollToBlock(o);
}

void TViewCommands::ListingKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (TChildD* d = form_.ActiveDocument()) d->FormKeyDown(key, modifiers);
}

void TViewCommands::ZoomClick(int scale) {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  d->Scale = uint8_t(scale);
  d->UpdateScrollRanges();
  d->Redraw();
}

void TViewCommands::ViewItemClick() {
  form_.UpdateMenuItems();
  if (TChildD* d = form_.ActiveDocument()) actions_.Action(TCommand::Grid)->setChecked(d->ShowGrid);
}

void TViewCommands::ScaleItemClick() {
  TChildD* d = form_.ActiveDocument();
  if (d && d->EditorShown()) d->Memo1Exit();
  for (TCommand id : {TCommand::Zoom1, TCommand::Zoom2, TCommand::Zoom4, TCommand::Zoom8}) {
    QAction* a = actions_.Action(id);
    a->setEnabled(d != nullptr);
    if (d) a->setChecked(a->data().toInt() == d->Scale);
  }
}

void TViewCommands::ToolbarsItemClick() {
  const TCommand ids[] = {TCommand::ShowStandard, TCommand::ShowSpecial, TCommand::ShowAlign,
                          TCommand::ShowUserBlocks};
  const auto bars = form_.Toolbars();
  for (size_t i = 0; i < bars.size(); ++i)
    actions_.Action(ids[i])->setChecked(bars[i]->isVisible());
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
