#include "app/commands/filecommands.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/actions.h"
#include "app/filenames.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"

namespace {
const char* const kFilter = "Block-diagram(*.fgd)|*.fgd|All Files|*.*";
}

TFileCommands::TFileCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), actions_(actions) {
  QObject::connect(actions.Action(TCommand::Open), &QAction::triggered, &form,
                   [this] { Open1Click(); });
  QObject::connect(actions.Action(TCommand::New), &QAction::triggered, &form,
                   [this] { New1Click(); });
  QObject::connect(actions.Action(TCommand::Close), &QAction::triggered, &form,
                   [this] { Close1Click(); });
  QObject::connect(actions.Action(TCommand::Save), &QAction::triggered, &form,
                   [this] { Save1Click(); });
  QObject::connect(actions.Action(TCommand::SaveAs), &QAction::triggered, &form,
                   [this] { SaveAs(form_.ActiveDocument()); });
  QObject::connect(actions.Action(TCommand::Exit), &QAction::triggered, &form, &QWidget::close);
  QMenu* file = actions.Menu(TMenuId::File);
  QObject::connect(file, &QMenu::aboutToShow, &form, [this] { FileItemClick(); });
  QObject::connect(file, &QMenu::triggered, &form, [this](QAction* a) {
    if (a->property("recent").toBool()) QuickOpenClick(a);
  });
}

void TFileCommands::New1Click() {
  const int count = int(form_.MdiArea->subWindowList().size()) + 1;
  form_.CreateDocument(form_.AppState.NewDocumentTitle + QString::number(count));
  form_.UpdateMenuItems();
}

void TFileCommands::Close1Click() {
  if (TChildD* d = form_.ActiveDocument()) form_.SubWindowOf(d)->close();
}

void TFileCommands::Save1Click() { SaveDocument(form_.ActiveDocument()); }

bool TFileCommands::SaveAs(TChildD* doc) {
  if (!doc) return false;
  const QString name = Questions().SaveFileName(&form_, QString(), form_.AppState.LastDirectory,
                                                DialogFilter(kFilter));
  if (name.isEmpty()) return false;
  return WriteDocument(doc, AbsoluteFileName(name));
}

void TFileCommands::Open1Click() {
  TEditorState& state = form_.AppState;
  const QStringList files =
      Questions().OpenFileNames(&form_, QString(), state.LastDirectory, DialogFilter(kFilter));
  if (files.isEmpty()) return;
  for (const QString& f : files) form_.OpenDocument(f);
  state.LastDirectory = QFileInfo(files.first()).absolutePath() + '/';
}

void TFileCommands::FileItemClick() {
  QMenu* file = actions_.Menu(TMenuId::File);
  QAction* exit = actions_.Action(TCommand::Exit);
  const QList<QAction*> items = file->actions();
  const qsizetype from = items.indexOf(form_.RecentSeparator), to = items.indexOf(exit);
  for (qsizetype i = from + 1; i >= 1 && i < to; ++i) {
    file->removeAction(items[i]);
    items[i]->deleteLater();
  }
  const QStringList& recent = form_.AppState.RecentFiles;
  if (recent.isEmpty()) return;
  for (int i = 0; i < recent.size() && i < MaxRecentFiles; ++i) {
    auto* a = new QAction(QStringLiteral("&%1: %2").arg(i + 1).arg(recent[i]), file);
    a->setProperty("recent", true);
    file->insertAction(exit, a);
  }
  auto* sep = new QAction(file);
  sep->setSeparator(true);
  file->insertAction(exit, sep);
}

void TFileCommands::QuickOpenClick(QAction* item) {
  const QString caption = item->text();
  const qsizetype blank = caption.indexOf(' ');
  const QString entry = blank < 0 ? QString() : caption.mid(blank + 1);
  const QString name = AbsoluteFileName(entry);
  QMdiSubWindow* activeBefore = form_.MdiArea->currentSubWindow();
  TChildD* doc = form_.CreateDocument(name);
  doc->FileName = name;
  if (QFileInfo(name).isFile() &&
      doc->Diagram.LoadFromFile(QFile::encodeName(name).toStdString())) {
    doc->Redraw();
    doc->Modified = false;
    AddRecentFile(name);
    form_.UpdateMenuItems();
    return;
  }
  form_.CloseRefused(doc, activeBefore);
  Questions().Ask(&form_, "Can not load file", QString::fromUtf8(EditorCaption),
                  QMessageBox::Warning, QMessageBox::Ok);
  RemoveRecentFile(entry);
}

bool TFileCommands::SaveDocument(TChildD* doc) {
  if (!doc) return false;
  if (doc->FileName.isEmpty()) return SaveAs(doc);
  return WriteDocument(doc, doc->FileName);
}

bool TFileCommands::WriteDocument(TChildD* doc, const QString& name) {
  std::string error;
  if (!doc->Diagram.SaveToFile(QFile::encodeName(name).toStdString(), &error)) {
    Questions().Ask(&form_, QString::fromLocal8Bit(error), QString::fromUtf8(EditorCaption),
                    QMessageBox::Warning, QMessageBox::Ok);
    return false;
  }
  doc->FileName = name;
  doc->setWindowTitle(name);
  doc->Modified = false;
  AddRecentFile(name);
  emit form_.DocumentSaved(doc);
  return true;
}

void TFileCommands::RemoveRecentFile(const QString& fileName) {
  const QString absolute = AbsoluteFileName(fileName);
  form_.AppState.RecentFiles.removeIf([&](const QString& entry) {
    return entry == fileName || AbsoluteFileName(entry) == absolute;
  });
}

void TFileCommands::AddRecentFile(const QString& fileName) {
  // Entries stored under another name of the same file (relative, through a
  // link) go; the list keeps the one absolute name.
  RemoveRecentFile(fileName);
  QStringList& recent = form_.AppState.RecentFiles;
  recent.prepend(AbsoluteFileName(fileName));
  while (recent.size() > MaxRecentFiles) recent.removeLast();
}
