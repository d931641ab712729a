#include "app/commands/searchcommands.h"

#include <QAction>
#include <QLineEdit>

#include "app/actions.h"
#include "app/dialogs/finddialog.h"
#include "app/dialogs/replacedialog.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/diagramtext.h"
#include "editor/modalquestions.h"
#include "model/textsearch.h"

namespace {
// Where a search starts: after the first selected object of any type, or at
// the start of the diagram.
TShemObj* SearchStart(const TChildD& d) { return d.Selection.Empty() ? nullptr : d.Selection[0]; }

TTextSearch RequestOf(const TReplaceDialog& r) {
  return {QStringToDiagram(r.FindText()), QStringToDiagram(r.ReplaceText()), r.CaseSensitive()};
}

void Tell(TMainForm& form, const char* text) {
  Questions().Ask(&form, QString::fromUtf8(text), QString::fromUtf8(EditorCaption),
                  QMessageBox::Information, QMessageBox::Ok);
}
}  // namespace

TSearchCommands::TSearchCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  FindDialog1 = new TFindDialog(&form);
  ReplaceDialog1 = new TReplaceDialog(&form);
  QObject::connect(actions.Action(TCommand::Find), &QAction::triggered, &form,
                   [this] { Find1Click(); });
  QObject::connect(actions.Action(TCommand::Replace), &QAction::triggered, &form,
                   [this] { Replace1Click(); });
  QObject::connect(FindDialog1, &TFindDialog::FindNextRequested, &form,
                   [this] { FindNext(*FindDialog1); });
  QObject::connect(ReplaceDialog1, &TFindDialog::FindNextRequested, &form,
                   [this] { FindNext(*ReplaceDialog1); });
  QObject::connect(ReplaceDialog1, &TReplaceDialog::ReplaceRequested, &form,
                   [this] { ReplaceNext(); });
  QObject::connect(ReplaceDialog1, &TReplaceDialog::ReplaceAllRequested, &form,
                   [this] { ReplaceAll(); });
}

// The dialogs are children of the main window, which deletes them.
TSearchCommands::~TSearchCommands() = default;

TChildD* TSearchCommands::Active() const {
  TChildD* d = form_.ActiveDocument();
  // Text still open in the in-place editor is part of what is searched.
  if (d && d->EditorShown()) d->Memo1Exit();
  return d;
}

void TSearchCommands::Changed(TChildD& d) const {
  // Replaced text is an edit like any other: closing the window asks to save it.
  d.Modified = true;
  d.FillListView();
}

void TSearchCommands::Find1Click() {
  if (!Active()) return;
  ReplaceDialog1->close();
  FindDialog1->show();
  FindDialog1->raise();
  FindDialog1->activateWindow();
  FindDialog1->FindEdit->setFocus();
}

void TSearchCommands::Replace1Click() {
  if (!Active()) return;
  ReplaceDialog1->show();
  ReplaceDialog1->raise();
  ReplaceDialog1->activateWindow();
  ReplaceDialog1->FindEdit->setFocus();
  FindDialog1->close();
}

void TSearchCommands::CloseDialogs() {
  FindDialog1->close();
  ReplaceDialog1->close();
}

void TSearchCommands::NotFound() const { Tell(form_, "Search string not found"); }

void TSearchCommands::FindNext(const TFindDialog& from) {
  TChildD* d = Active();
  if (!d) return;
  TShemObj* found =
      d->Diagram.FindText(SearchStart(*d), QStringToDiagram(from.FindText()), from.CaseSensitive());
  if (!found) {
    NotFound();
    return;
  }
  d->ScrollToBlock(found);
  d->Selection.Assign({found});
  d->Redraw();
}

bool TSearchCommands::ReplacementAllowed() const {
  const TTextSearch s = RequestOf(*ReplaceDialog1);
  if (!ReplacementWouldCycle(s.What, s.With, s.MatchCase)) return true;
  Tell(form_, "Possible cycling. Can not replased. ");
  return false;
}

void TSearchCommands::ReplaceNext() {
  TChildD* d = Active();
  if (!d || !ReplacementAllowed()) return;
  const TTextSearch s = RequestOf(*ReplaceDialog1);
  TShemObj* r = d->Diagram.ReplaceText(SearchStart(*d), s.What, s.MatchCase, s.With);
  if (!r) {
    NotFound();
    return;
  }
  Changed(*d);
  d->ScrollToBlock(r);
  d->Selection.Assign({r});
  d->Redraw();
}

void TSearchCommands::ReplaceAll() {
  TChildD* d = Active();
  if (!d || !ReplacementAllowed()) return;
  if (ReplaceAllText(d->Diagram, SearchStart(*d), RequestOf(*ReplaceDialog1)) > 0) Changed(*d);
  d->Redraw();
}
