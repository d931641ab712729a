#include "app/commands/printcommands.h"

#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include "app/actions.h"
#include "app/mainform.h"
#include "app/pagesetupform.h"
#include "editor/childd.h"
#include "editor/diagrampicture.h"
#include "editor/modalquestions.h"

TPrintCommands::TPrintCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  QObject::connect(actions.Action(TCommand::Print), &QAction::triggered, &form,
                   [this] { Print1Click(); });
  QObject::connect(actions.Action(TCommand::PrintPreview), &QAction::triggered, &form,
                   [this] { PrintPreview1Click(); });
  QObject::connect(actions.Action(TCommand::PageSetup), &QAction::triggered, &form,
                   [this] { PageSetup1Click(); });
}

TPrintJob TPrintCommands::JobFor(const TChildD* doc) const {
  TPrintJob job;
  job.Diagram = &doc->Diagram;
  job.Scale = doc->Scale;
  // Paper stays white (the job's default): the window's colour is for the
  // screen, and printing it would only spend ink.
  job.FontFace = doc->CanvasFont().family();
  job.Scaling = Scaling;
  return job;
}

void TPrintCommands::Print1Click() {
  TChildD* doc = form_.ActiveDocument();
  if (!doc) return;
  QPrintDialog dialog(printer_.get(), &form_);
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  if (Questions().ShowModal(&dialog) != QDialog::Accepted) return;
  PrintDocument(doc);
}

void TPrintCommands::PrintPreview1Click() {
  TChildD* doc = form_.ActiveDocument();
  if (!doc) return;
  QPrintPreviewDialog dialog(printer_.get(), &form_);
  dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
  const TPrintJob job = JobFor(doc);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [job](QPrinter* p) { PrintDiagram(*p, job); });
  Questions().ShowModal(&dialog);
}

void TPrintCommands::PageSetup1Click() {
  TPageSetupForm form(&form_);
  form.SetChoice(printer_->pageLayout().orientation(), Scaling);
  if (Questions().ShowModal(&form) != QDialog::Accepted) return;
  printer_->setPageOrientation(form.Orientation());
  Scaling = form.Scaling();
}

bool TPrintCommands::PrintDocument(TChildD* doc) {
  if (!doc) return false;
  const TPrintJob job = JobFor(doc);
  const TPictureFrame frame = PictureFrame(doc->Diagram, job.Scale);
  const TPrintLayout layout = PrintLayout(QSizeF(double(frame.Width), double(frame.Height)),
                                          printer_->pageRect(QPrinter::DevicePixel).size(),
                                          printer_->resolution(), job.Scaling);
  const QString caption = QString::fromUtf8(EditorCaption);
  const qint64 pages = qint64(layout.PagesAcross) * layout.PagesDown;
  if (pages > ManyPages &&
      Questions().Ask(&form_,
                      QStringLiteral("One to one, the diagram takes %1 pages (%2 across, %3 "
                                     "down). Print them all?")
                          .arg(pages)
                          .arg(layout.PagesAcross)
                          .arg(layout.PagesDown),
                      caption, QMessageBox::Question,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ok = PrintDiagram(*printer_, job);
  QApplication::restoreOverrideCursor();
  if (!ok)
    Questions().Ask(&form_, QStringLiteral("The printer could not print the diagram."), caption,
                    QMessageBox::Warning, QMessageBox::Ok);
  return ok;
}
