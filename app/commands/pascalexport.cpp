#include "app/commands/pascalexport.h"

#include <QAction>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/diagramtext.h"
#include "editor/modalquestions.h"
#include "pascal/gui/expform.h"

TPascalExport::TPascalExport(TMainForm& form, TActionRegistry& actions) : form_(form) {
  ExpForm = new TExpForm(&form);
  ExpForm->setObjectName(QStringLiteral("ExpForm"));
  ExpForm->UserBlocks = &form.AppState.UserBlocks;
  ExpForm->SetMessageFunction([](QWidget* parent, const QString& text, const QString& caption) {
    Questions().Ask(parent, text, caption, QMessageBox::Warning, QMessageBox::Ok);
  });
  ExpForm->SetTextFunction(DiagramToQString);
  ExpForm->SetModalFunction([](QDialog& d) { Questions().ShowModal(&d); });
  QObject::connect(actions.Action(TCommand::ExportPascal), &QAction::triggered, &form,
                   [this] { ExportPascal1Click(); });
}

void TPascalExport::ExportPascal1Click() {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  // An open text edit goes into the block first, so that it is translated.
  if (d->EditorShown()) d->Memo1Exit();
  ExpForm->ShowDiagram(&d->Diagram);
}
