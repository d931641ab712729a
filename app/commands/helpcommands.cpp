#include "app/commands/helpcommands.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/modalquestions.h"

THelpCommands::THelpCommands(TMainForm& form, TActionRegistry& actions)
    : OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }), form_(form) {
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
  if (file.isEmpty()) {
    const QString expected = QDir(form_.Options().ProgramDir).absoluteFilePath("manual/index.html");
    Questions().Ask(&form_, "The manual could not be found. It belongs in\n" + expected,
                    QString::fromUtf8(EditorCaption), QMessageBox::Warning, QMessageBox::Ok);
    return;
  }
  if (OpenUrl && OpenUrl(QUrl::fromLocalFile(file))) return;
  // No browser took it: say where it is, so that it can be opened by hand.
  const QMessageBox::StandardButton copy = Questions().Ask(
      &form_,
      "The manual could not be opened in a browser. It is the file\n" + file +
          "\n\nCopy this path to the clipboard?",
      QString::fromUtf8(EditorCaption), QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
  if (copy == QMessageBox::Yes) QGuiApplication::clipboard()->setText(file);
}
