#include "app/application.h"

#include <QApplication>
#include <QStringList>

#include "app/mainform.h"
#include "app/singleinstance.h"

int RunQuorvalin(int argc, char** argv) {
  QApplication app(argc, argv);
  // 1. The application title.
  QApplication::setApplicationName(QStringLiteral("Block-diagram editor"));
  const QStringList files = QApplication::arguments().mid(1);

  // 2.-3. Another instance takes the files and comes forward; this one ends
  // without a window and without touching the settings.
  if (TSingleInstance::HandOff(files)) return 0;

  // 4. The main window (it reads the settings and the user blocks).
  TMainForm form;
  TSingleInstance instance;
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form, &TMainForm::BringToFront);
  QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                   [&form](const QString& f) { form.OpenDocument(f); });
  instance.Listen();
  form.show();

  // 5. The files of the command line, in order.
  for (const QString& f : files) form.OpenDocument(f);

  // 6.
  return app.exec();
}
