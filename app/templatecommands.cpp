#include "app/templatecommands.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include "app/mainform.h"
#include "app/templatemenus.h"
#include "app/templateops.h"
#include "app/userblocktoolbar.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"
#include "editor/selectionops.h"

namespace {

void Warn(QWidget* parent, const QString& text) {
  Questions().Ask(parent, text, QString::fromUtf8(EditorCaption), QMessageBox::Warning,
                  QMessageBox::Ok);
}

}  // namespace

TTemplateCommands::TTemplateCommands(TMainForm& form, QMenu* replaceMenu, QMenu* insertMenu)
    : form_(form), replaceMenu_(replaceMenu), insertMenu_(insertMenu) {}

TTemplateCommands::~TTemplateCommands() {
  // The entries call back into this object: they go with it.
  replaceMenu_->clear();
  insertMenu_->clear();
}

void TTemplateCommands::Load(const QString& programDir) {
  const QString folder = QDir(programDir).absoluteFilePath(QStringLiteral("template"));
  list_.Load(QFile::encodeName(folder).toStdString());
  BuildTemplateMenus(
      list_, replaceMenu_, insertMenu_, [this](int i) { ReplaceWithTemplate(i); },
      [this](int i) { InsertTemplate(i); });
}

namespace {

// Loads template file into tmpl with the application's user blocks; a file
// that brings user blocks of its own extends the toolbar. False (after the
// message) when the file is no diagram.
bool LoadForDocument(TMainForm& form, const std::string& file, TShem& tmpl) {
  tmpl.UserBlocks = &form.AppState.UserBlocks;
  const int userBlocksBefore = form.AppState.UserBlocks.Count();
  std::string error;
  const bool ok = LoadTemplate(file, tmpl, &error);
  if (form.AppState.UserBlocks.Count() > userBlocksBefore)
    form.UserBlocksToolbar->RebuildUserBlockToolbar();
  if (!ok) Warn(&form, QStringLiteral("Can not load file"));
  return ok;
}

}  // namespace

void TTemplateCommands::InsertTemplate(int i) {
  TChildD* d = form_.ActiveDocument();
  if (!d || i < 0 || i >= list_.Count()) return;
  if (d->EditorShown()) d->Memo1Exit();
  d->SaveUndo();
  TShem tmpl;
  if (!LoadForDocument(form_, list_.Items()[size_t(i)].Template.FileName, tmpl)) return;
  // Where the context menu was opened, moved back as far as needed to keep
  // the copies inside the diagram's 0..65535 range.
  const TPoint at = d->ScreenToDiagram(d->DragStart);
  const TPoint offset = ClampShift(tmpl.Bounds(), at);
  d->Selection.Clear();
  std::vector<TShemObj*> made;
  d->Diagram.InsertCopies(tmpl, offset, &made);
  d->Selection.Assign(made);
  // The document changed: closing it must ask about saving.
  d->Modified = true;
  d->Redraw();
  form_.UpdateMenuItems();
}

void TTemplateCommands::ReplaceWithTemplate(int i) {
  TChildD* d = form_.ActiveDocument();
  if (!d || i < 0 || i >= list_.Count() || d->Selection.BlockCount() != 1) return;
  TShemObj* b = nullptr;
  for (TShemObj* o : d->Selection)
    if (o->IsBlock()) {
      b = o;
      break;
    }
  TShem tmpl;
  if (!LoadForDocument(form_, list_.Items()[size_t(i)].Template.FileName, tmpl)) return;
  if (!HasBlocks(tmpl)) {
    Warn(&form_, QString::fromLatin1(TemplateWithoutBlocksText));
    return;
  }
  if (d->EditorShown()) d->Memo1Exit();
  // Replacing moves and removes the user's blocks: it can be undone, and
  // closing the document asks about saving.
  d->SaveUndo();
  ReplaceBlockWithTemplate(d->Diagram, b, tmpl);
  d->Modified = true;
  d->Redraw();
  form_.UpdateMenuItems();
}
