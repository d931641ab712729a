#include "app/commands/helpcommands.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/modalquestions.h"

THelpCommands::THelpCommands(TMainForm& form, TActionRegistry& actions) : form_(form) {
  QObject::connect(actions.Action(TCommand::Contents), &QAction::triggered, &form,
                   [this] { Contents1Click(); });
}

QString THelpCommands::HelpFile() const {
  const QString dir = form_.Options().ProgramDir;
  QStringList candidates = {dir + "/manual/index.html",
                            dir + "/../share/doc/quorvalin/manual/index.html"};
  const QString named = qEnvironmentVariable("QUORVALIN_MANUAL");
  if (!named.isEmpty()) candidates.prepend(named + "/index.html");
  for (const QString& c : candidates)
    if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
  return QString();
}

void THelpCommands::Contents1Click() {
  const QString file = HelpFile();
  if (file.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
    Questions().Ask(&form_, "The manual could not be opened", QString::fromUtf8(EditorCaption),
                    QMessageBox::Warning, QMessageBox::Ok);
}
