#include "app/application.h"

#include <QApplication>
#include <QStringList>

#include "app/mainform.h"
#include "app/recoverykeeper.h"
#include "app/singleinstance.h"
#include "app/startcheck.h"
#include "app/terminationwatch.h"
#include "app/userfolders.h"

void KeepWorkOnTermination(TTerminationWatch& watch, TRecoveryKeeper& keeper) {
  QObject::connect(&watch, &TTerminationWatch::TerminationRequested, &keeper, [&keeper] {
    keeper.SessionEnding();
    QApplication::exit(0);
  });
}

int RunQuorvalin(int argc, char** argv) {
  QApplication app(argc, argv);
  // The title comes first: message boxes and the settings use it.
  QApplication::setApplicationName(QStringLiteral("Block-diagram editor"));
  const QStringList files = QApplication::arguments().mid(1);

  // A running editor takes the files and comes forward; this one ends
  // without a window and without touching the settings. Of editors started
  // at the same moment one becomes the editor, the others wait for it to
  // listen and hand over to it.
  TSingleInstance instance;
  if (instance.StartOrHandOff(files)) return 0;

  // The main window reads the settings and the user blocks as it is made.
  TMainForm form;
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form, &TMainForm::BringToFront);
  QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                   [&form](const QString& f) { form.OpenDocument(f); });
  instance.Listen();
  form.show();
  ArmStartCheck(form);

  // The files of the command line open in the order given, then the work
  // that an editor which did not end normally left unsaved.
  for (const QString& f : files) form.OpenDocument(f);
  TRecoveryKeeper recovery(form, RecoveryFolder());
  recovery.OfferRecovery();
  TTerminationWatch termination;
  KeepWorkOnTermination(termination, recovery);

  return app.exec();
}
