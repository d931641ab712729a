// One editor per user: a second process hands its files to the first and ends.
#include "app/singleinstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>

#include "../editor/guitestenv.h"
#include "app/mainform.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
// Runs the program as a second instance in dir and waits (handling this
// process's events, where the first instance lives) until it ends.
struct SecondRun {
  int ExitCode = -1;
  bool Finished = false;
  bool ConfigWritten = true;
};

SecondRun RunSecond(const QString& dir, const QStringList& args) {
  QTemporaryDir config;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", qEnvironmentVariable("XDG_RUNTIME_DIR"));
  env.insert("XDG_CONFIG_HOME", config.path());
  env.insert("XDG_DATA_HOME", config.path());
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(dir);
  p.start(QStringLiteral(QV_PROGRAM), args);
  SecondRun r;
  if (!p.waitForStarted(10000)) return r;
  QElapsedTimer t;
  t.start();
  while (p.state() != QProcess::NotRunning && t.elapsed() < 60000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    p.waitForFinished(10);
  }
  if (p.state() != QProcess::NotRunning) {
    p.kill();
    p.waitForFinished(5000);
    return r;
  }
  r.Finished = p.exitStatus() == QProcess::NormalExit;
  r.ExitCode = p.exitCode();
  r.ConfigWritten =
      !QDir(config.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
  return r;
}

QStringList Titles(const TMainForm& f) {
  QStringList t;
  for (TChildD* d : f.Documents()) t.append(d->Caption());
  return t;
}
}  // namespace

TEST(SingleInstance, SecondProcessHandsOverItsFilesInOrderAndExits) {
  ClearStore();
  QTemporaryDir dir;
  for (const char* n : {"c.fgd", "a.fgd", "b.fgd"}) WriteDiagram(dir.path() + "/" + n);
  TMainForm::TOptions o;
  o.ProgramDir = dir.path();
  o.WriteAssociation = false;
  TMainForm form(o);
  TSingleInstance instance;
  int activations = 0;
  QObject::connect(&instance, &TSingleInstance::ActivateRequested, [&] { ++activations; });
  QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                   [&](const QString& f) { form.OpenDocument(f); });
  ASSERT_TRUE(instance.Listen());

  // Relative names are resolved in the second process's folder.
  const SecondRun r = RunSecond(dir.path(), {"c.fgd", "a.fgd", "b.fgd"});
  ASSERT_TRUE(r.Finished);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_FALSE(r.ConfigWritten);  // it never touched the settings
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(Titles(form),
            (QStringList{dir.path() + "/c.fgd", dir.path() + "/a.fgd", dir.path() + "/b.fgd"}));

  // Without arguments it only brings the first instance forward.
  const SecondRun again = RunSecond(dir.path(), {});
  ASSERT_TRUE(again.Finished);
  EXPECT_EQ(again.ExitCode, 0);
  EXPECT_EQ(activations, 2);
  EXPECT_EQ(form.Documents().size(), 3);
}

TEST(SingleInstance, StaleSocketIsReplacedButALiveListenerIsKept) {
  const QString name = TSingleInstance::ServerName();
  ASSERT_TRUE(name.startsWith(TGuiEnvironment::Home->path()));
  // A socket file left behind by a crashed instance: bound, then abandoned.
  {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    ASSERT_LT(size_t(path.size()), sizeof addr.sun_path);
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ::unlink(path.constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(name));
  }
  EXPECT_FALSE(TSingleInstance::HandOff({}));  // nobody answers there
  TSingleInstance first;
  ASSERT_TRUE(first.Listen());

  TSingleInstance second;
  EXPECT_FALSE(second.Listen());  // the first one is alive: its socket stays
  QLocalSocket probe;
  probe.connectToServer(name);
  EXPECT_TRUE(probe.waitForConnected(2000));
}

TEST(SingleInstance, OtherUsersCannotConnect) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  const QString runDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  // Let others reach the socket file itself.
  const QByteArray home = QFile::encodeName(TGuiEnvironment::Home->path());
  ::chmod(home.constData(), 0711);
  ::chmod(QFile::encodeName(runDir).constData(), 0711);
  // With no umask a plain socket would be open to everyone: the refusal must
  // come from the listener itself.
  const mode_t oldMask = ::umask(0);
  TSingleInstance server;
  const bool listening = server.Listen();
  ::umask(oldMask);
  ASSERT_TRUE(listening);
  const QByteArray path = QFile::encodeName(TSingleInstance::ServerName());
  const pid_t pid = fork();
  if (pid == 0) {
    // As "nobody": try to connect. Exit 0 when refused.
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    _exit(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ? 1 : 0);
  }
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ::chmod(QFile::encodeName(runDir).constData(), 0700);
  ::chmod(home.constData(), 0700);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // This user still gets through.
  QLocalSocket probe;
  probe.connectToServer(TSingleInstance::ServerName());
  EXPECT_TRUE(probe.waitForConnected(2000));
}
