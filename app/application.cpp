#include "app/application.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "app/focusreturn.h"
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

namespace {
// The options QApplication takes out of the command line for itself, those
// followed by a value first.
constexpr const char* kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "title",         "name"};
constexpr const char* kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool IsOneOf(const char* name, std::span<const char* const> list) {
  for (const char* n : list)
    if (std::strcmp(name, n) == 0) return true;
  return false;
}

// Qt's start-up ends the process when it cannot reach a display. Before the
// window system is needed the hand-off has been tried already, so here the
// editor cannot run: say so plainly and end with 1 instead of aborting.
QtMessageHandler g_previousHandler = nullptr;

void StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (g_previousHandler)
      g_previousHandler(type, context, message);
    else
      std::fprintf(stderr, "%s\n", qPrintable(message));
    return;
  }
  std::fprintf(stderr, "quorvalin: cannot open display\n%s\n", qPrintable(message));
  std::fflush(stderr);
  std::_Exit(1);
}
}  // namespace

QStringList FileArguments(int argc, char** argv) {
  QStringList files;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (a[0] == '-' && a[1] != '\0') {
      const char* name = a + (a[1] == '-' ? 2 : 1);
      const char* equals = std::strchr(name, '=');
      const std::string bare = equals ? std::string(name, equals) : std::string(name);
      if (IsOneOf(bare.c_str(), kQtValueOptions)) {
        if (!equals) ++i;  // its value is the next argument
        continue;
      }
      if (IsOneOf(bare.c_str(), kQtFlagOptions)) continue;
    }
    files << QString::fromLocal8Bit(a);
  }
  return files;
}

int RunQuorvalin(int argc, char** argv) {
  // A running editor takes the files and comes forward; this one ends
  // without a window and without touching the settings. This needs no
  // display, so it happens before the window system is opened: a start
  // without one still hands its files over.
  {
    QCoreApplication handOff(argc, argv);
    if (TSingleInstance::HandOff(FileArguments(argc, argv))) return 0;
  }

  g_previousHandler = qInstallMessageHandler(StartupMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(g_previousHandler);
  // The title comes first: message boxes and the settings use it.
  QApplication::setApplicationName(QStringLiteral("Block-diagram editor"));
  const QStringList files = QApplication::arguments().mid(1);

  // Asked again under the start lock: of editors started at the same moment
  // one becomes the editor, the others wait for it to listen and hand over
  // to it.
  TSingleInstance instance;
  if (instance.StartOrHandOff(files)) return 0;

  // The main window reads the settings and the user blocks as it is made.
  TMainForm form;
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, &form, &TMainForm::BringToFront);
  QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                   [&form](const QString& f) { form.OpenDocument(f); });
  instance.Listen();
  TFocusReturn focusReturn(&form);
  form.show();
  form.activateWindow();
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
