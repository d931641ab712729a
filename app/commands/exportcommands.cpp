#include "app/commands/exportcommands.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"

TExportCommands::TExportCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  QObject::connect(actions.Action(TCommand::ExportGraphic), &QAction::triggered, &form,
                   [this] { ExportGraphic1Click(); });
}

void TExportCommands::BindLibrary() {
  std::string why;
  const QString dir = QFileInfo(form_.Options().ProgramDir).absoluteFilePath();
  bindingError_.clear();
  if (!binding_.Load(QFile::encodeName(dir).toStdString(), &why))
    bindingError_ = QString::fromLocal8Bit(why);
}

QList<TExportCommands::TChoice> TExportCommands::Choices() const {
  QList<TChoice> choices;
  for (const TExportBinding::TFormat& f : binding_.Formats())
    choices.append({QString::fromLocal8Bit(f.Description), QString::fromLocal8Bit(f.Extension),
                    TPictureKind::Library, f.Number});
  choices.append({"PNG-files (*.png)", ".png", TPictureKind::Png, 0});
  choices.append({"SVG-files (*.svg)", ".svg", TPictureKind::Svg, 0});
  choices.append({"PDF-files (*.pdf)", ".pdf", TPictureKind::Pdf, 0});
  return choices;
}

QStringList TExportCommands::NameFilters() const {
  QStringList filters;
  for (const TChoice& c : Choices()) filters << c.Filter;
  return filters;
}

void TExportCommands::ExportGraphic1Click() {
  TChildD* doc = form_.ActiveDocument();
  if (!doc) return;
  const QList<TChoice> choices = Choices();
  QFileDialog dialog(&form_, QStringLiteral("Export to graphic file"),
                     form_.AppState.LastDirectory);
  dialog.setObjectName(QStringLiteral("ExportDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(NameFilters());
  if (Questions().ShowModal(&dialog) != QDialog::Accepted) return;
  QString name = dialog.selectedFiles().value(0);
  const int index = int(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
  if (name.isEmpty() || index < 0) return;
  // The file type is the chosen filter's; a name typed without extension gets
  // it here (not from the dialog, whose default suffix would not follow a
  // filter chosen in code), so the dialog has not asked about that name.
  if (QFileInfo(name).suffix().isEmpty()) {
    name += choices[index].Extension;
    if (QFileInfo::exists(name) &&
        Questions().Ask(&form_,
                        QStringLiteral("%1 already exists.\nDo you want to replace it?")
                            .arg(QFileInfo(name).fileName()),
                        QStringLiteral("Export to graphic file"), QMessageBox::Warning,
                        QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
      return;
  }
  ExportDocument(doc, name, index);
}

bool TExportCommands::ExportDocument(TChildD* doc, QString fileName, int filterIndex) {
  const QList<TChoice> choices = Choices();
  if (!doc || filterIndex < 0 || filterIndex >= choices.size()) return false;
  const TChoice& choice = choices[filterIndex];
  if (QFileInfo(fileName).suffix().isEmpty()) fileName += choice.Extension;

  TPictureJob job;
  job.Diagram = &doc->Diagram;
  job.Scale = doc->Scale;
  job.Background = doc->Color();
  job.FontFace = doc->CanvasFont().family();
  job.FileName = fileName;
  job.Kind = choice.Kind;
  job.LibraryFormat = choice.LibraryFormat;
  const QString caption = QString::fromUtf8(EditorCaption);
  for (;;) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TExportResult r = ExportPicture(job, &binding_);
    QApplication::restoreOverrideCursor();
    if (r.Ok) {
      form_.AppState.LastDirectory = QFileInfo(fileName).absolutePath() + '/';
      return true;
    }
    if (r.TooLarge && r.LargestScale > 0 && r.LargestScale < job.Scale) {
      const QString offer = r.Message + QStringLiteral(" Export at scale x%1?").arg(r.LargestScale);
      if (Questions().Ask(&form_, offer, caption, QMessageBox::Warning,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
      job.Scale = r.LargestScale;
      continue;
    }
    Questions().Ask(&form_, r.Message, caption, QMessageBox::Warning, QMessageBox::Ok);
    return false;
  }
}
