#include "app/application.h"

#include <QApplication>
#include <QStringList>

#include "app/mainform.h"
#include "app/singleinstance.h"

int RunQuorvalin(int argc, char** argv) {
  QApplication app(argc, argv);
  // The title comes first: message boxes and the settings use it.
  QApplication::setApplicationName(QStringLiteral("Block-diagram editor"));
  const QStringList files = QApplication::arguments().mid(1);

  // A running editor takes the files and comes forward; this one ends
  // without a window and without touching the settings.
  if (TSingleInstance::HandOff(files)) return 0;

  // The main window reads the settings and the user blocks as it is made.
  TMainForm form;
  TSingleInstance instance;
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form, &TMainForm::BringToFront);
  QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                   [&form](const QString& f) { form.OpenDocument(f); });
  instance.Listen();
  form.show();

  // The files of the command line open in the order given.
  for (const QString& f : files) form.OpenDocument(f);

  return app.exec();
}
