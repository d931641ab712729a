// A stand-in editor for the desktop tests, run as a child process:
//   qv_desktop_helper unsaved FILE
// opens FILE in a main window with a recovery keeper on the per-user state
// folder (XDG_STATE_HOME), adds a block "unsaved work" without saving, writes
// the recovery files, prints "ready" and runs until it is killed or told to
// end (then it keeps the work, as the editor does).
#include <QApplication>
#include <cstdio>

#include "app/application.h"
#include "app/mainform.h"
#include "app/recoverykeeper.h"
#include "app/terminationwatch.h"
#include "app/userfolders.h"
#include "editor/childd.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() != 3 || args[1] != "unsaved") {
    std::fprintf(stderr, "usage: qv_desktop_helper unsaved FILE\n");
    return 2;
  }
  TMainForm::TOptions options;
  options.WriteAssociation = false;
  TMainForm form(options);
  TRecoveryKeeper keeper(form, RecoveryFolder());
  TTerminationWatch watch;
  KeepWorkOnTermination(watch, keeper);
  TChildD* doc = form.OpenDocument(args[2]);
  if (!doc) return 1;
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect({10, 100, 90, 120});
  b->Data.Text = "unsaved work";
  doc->Diagram.Add(std::move(b));
  doc->Modified = true;
  if (!keeper.WriteAll()) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  return app.exec();
}
