// One editor per user: a second process hands its files to the first and ends.
#include "app/singleinstance.h"

#include <malloc.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTimer>
#include <functional>

#include "../editor/guitestenv.h"
#include "app/application.h"
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
  QString Errors;  // what it wrote to stderr
};

// env: variables to set (an empty value removes the variable).
SecondRun RunSecond(const QString& dir, const QStringList& args,
                    const QList<std::pair<QString, QString>>& changes = {}) {
  QTemporaryDir config;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", qEnvironmentVariable("XDG_RUNTIME_DIR"));
  env.insert("XDG_CONFIG_HOME", config.path());
  env.insert("XDG_DATA_HOME", config.path());
  for (const auto& [name, value] : changes) {
    if (value.isEmpty())
      env.remove(name);
    else
      env.insert(name, value);
  }
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
  // The first instance answers before it opens a file: let it carry out what
  // it was handed.
  QCoreApplication::processEvents();
  r.Finished = p.exitStatus() == QProcess::NormalExit;
  r.ExitCode = p.exitCode();
  r.Errors = QString::fromLocal8Bit(p.readAllStandardError());
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

TEST(SingleInstance, WithoutADisplayASecondStartStillHandsOverAndALoneOneEndsCleanly) {
  ClearStore();
  QTemporaryDir dir;
  WriteDiagram(dir.path() + "/a.fgd");
  const QList<std::pair<QString, QString>> noDisplay = {
      {"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
  {
    TMainForm::TOptions o;
    o.ProgramDir = dir.path();
    o.WriteAssociation = false;
    TMainForm form(o);
    TSingleInstance instance;
    QObject::connect(&instance, &TSingleInstance::FileReceived, &form,
                     [&](const QString& f) { form.OpenDocument(f); });
    ASSERT_TRUE(instance.Listen());
    const SecondRun r = RunSecond(dir.path(), {"-platform", "xcb", "a.fgd"}, noDisplay);
    ASSERT_TRUE(r.Finished) << r.Errors.toStdString();
    EXPECT_EQ(r.ExitCode, 0) << r.Errors.toStdString();
    EXPECT_EQ(Titles(form), QStringList{dir.path() + "/a.fgd"});
  }
  // No editor runs: it says why and ends with 1, not with a crash.
  QTemporaryDir otherRun;
  auto alone = noDisplay;
  alone.append({"XDG_RUNTIME_DIR", otherRun.path()});
  const SecondRun r = RunSecond(dir.path(), {"a.fgd"}, alone);
  ASSERT_TRUE(r.Finished) << r.Errors.toStdString();
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_TRUE(r.Errors.contains("cannot open display")) << r.Errors.toStdString();
  EXPECT_FALSE(r.ConfigWritten);
}

TEST(SingleInstance, FileArgumentsLeaveOutQtsOwnOptions) {
  const char* argv[] = {"quorvalin",      "-platform", "offscreen", "a.fgd",
                        "--style=fusion", "-reverse",  "-",         "-x.fgd",
                        "b.fgd",          "--display", ":1"};
  EXPECT_EQ(FileArguments(int(std::size(argv)), const_cast<char**>(argv)),
            (QStringList{"a.fgd", "-", "-x.fgd", "b.fgd"}));
  const char* none[] = {"quorvalin"};
  EXPECT_TRUE(FileArguments(1, const_cast<char**>(none)).isEmpty());
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

namespace {
// Runs an event loop of its own, as a modal dialog does, until done() holds
// or ms milliseconds have passed; returns done().
bool RunNestedLoop(const std::function<bool()>& done, int ms) {
  QEventLoop loop;
  QElapsedTimer t;
  t.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done() || t.elapsed() >= ms) loop.quit();
  });
  poll.start(5);
  loop.exec();
  return done();
}

// Message boxes that stay open in their own event loop while `WhileShown`
// runs, as a person reading them would keep them; answered with OK.
class TOpenDialogQuestions : public TScriptedQuestions {
 public:
  std::function<void()> WhileShown;
  int Depth = 0;
  QMessageBox::StandardButton Ask(QWidget*, const QString& text, const QString& caption,
                                  QMessageBox::Icon icon,
                                  QMessageBox::StandardButtons buttons) override {
    Log.push_back({text, caption, icon, buttons});
    ++Depth;
    if (WhileShown && Depth == 1) WhileShown();
    --Depth;
    return QMessageBox::Ok;
  }
};

// Puts questions in place for one test and restores the shared script after.
struct TQuestionsInUse {
  explicit TQuestionsInUse(TModalQuestions* q) { SetQuestions(q); }
  ~TQuestionsInUse() { SetQuestions(&TGuiEnvironment::Questions); }
};

// Freed memory is overwritten while a hand-off test runs, so that an object
// used after it was deleted fails at once instead of by chance.
struct TPoisonFreedMemory {
  TPoisonFreedMemory() { mallopt(M_PERTURB, 0xA5); }
  ~TPoisonFreedMemory() { mallopt(M_PERTURB, 0); }
};

// One hand-off message as the program frames it: a 32-bit big-endian length
// and the UTF-8 file name.
QByteArray Frame(const QByteArray& payload) {
  const quint32 n = quint32(payload.size());
  QByteArray head(4, '\0');
  for (int i = 0; i < 4; ++i) head[i] = char(n >> (24 - 8 * i));
  return head + payload;
}

// A second instance started in dir, running until it ends or is killed.
void StartSecond(QProcess& p, const QString& dir, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", dir + "/second-config");
  env.insert("XDG_DATA_HOME", dir + "/second-config");
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(dir);
  p.start(QStringLiteral(QV_PROGRAM), args);
}

// The first instance as the program wires it, for the hand-off tests.
struct TFirstInstance {
  explicit TFirstInstance(const QString& programDir) : Form(Options(programDir)) {
    QObject::connect(&Instance, &TSingleInstance::FileReceived, &Form,
                     [this](const QString& f) { Form.OpenDocument(f); });
    QObject::connect(&Instance, &TSingleInstance::ActivateRequested, &Form,
                     &TMainForm::BringToFront);
  }
  static TMainForm::TOptions Options(const QString& programDir) {
    TMainForm::TOptions o;
    o.ProgramDir = programDir;
    o.WriteAssociation = false;
    return o;
  }
  TMainForm Form;
  TSingleInstance Instance;
};
}  // namespace

TEST(SingleInstance, SenderIsAnsweredWhileAMessageIsShownAndMayDieThen) {
  TPoisonFreedMemory poison;
  ClearStore();
  QTemporaryDir dir;
  WriteDiagram(dir.path() + "/a.fgd");
  TFirstInstance first(dir.path());
  ASSERT_TRUE(first.Instance.Listen());
  TOpenDialogQuestions questions;
  TQuestionsInUse use(&questions);

  // "Cannot open" for the missing file stays up until the sender has ended:
  // it must get its answers meanwhile and not wait for the dialog.
  QProcess second;
  bool endedWhileShown = false;
  questions.WhileShown = [&] {
    endedWhileShown = RunNestedLoop([&] { return second.state() == QProcess::NotRunning; }, 15000);
    if (!endedWhileShown) second.kill();  // it dies while the message is up
    RunNestedLoop([] { return false; }, 300);
  };
  StartSecond(second, dir.path(), {"missing.fgd", "a.fgd"});
  RunNestedLoop(
      [&] { return second.state() == QProcess::NotRunning && first.Form.Documents().size() == 1; },
      30000);
  EXPECT_TRUE(endedWhileShown);
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  ASSERT_EQ(questions.Log.size(), 1u);
  EXPECT_TRUE(questions.Log[0].Text.contains("missing.fgd")) << questions.Log[0].Text.toStdString();
  // The file after the missing one opens once the message is closed.
  EXPECT_EQ(Titles(first.Form), QStringList{dir.path() + "/a.fgd"});
}

TEST(SingleInstance, SecondProcessesKilledAtAnyMomentLeaveTheEditorServing) {
  TPoisonFreedMemory poison;
  ClearStore();
  QTemporaryDir dir;
  QStringList args;
  for (int i = 0; i < 12; ++i) {
    const QString name = QStringLiteral("f%1.fgd").arg(i);
    if (i % 3 != 2) WriteDiagram(dir.path() + "/" + name);  // every third one is missing
    args.append(name);
  }
  TFirstInstance first(dir.path());
  ASSERT_TRUE(first.Instance.Listen());
  TOpenDialogQuestions questions;
  TQuestionsInUse use(&questions);
  QProcess* running = nullptr;
  // The second instance dies while a message about one of its files is up.
  questions.WhileShown = [&] {
    if (running && running->state() != QProcess::NotRunning) running->kill();
    RunNestedLoop([] { return false; }, 100);
  };
  for (int round = 0; round < 10; ++round) {
    QProcess second;
    running = &second;
    StartSecond(second, dir.path(), args);
    RunNestedLoop([&] { return second.state() == QProcess::NotRunning; }, 40 * round);
    second.kill();
    RunNestedLoop([&] { return second.state() == QProcess::NotRunning; }, 10000);
    running = nullptr;
  }
  RunNestedLoop([] { return false; }, 300);
  EXPECT_FALSE(questions.Log.empty()) << "no second instance lived to hand over a missing file";
  for (const QString& t : Titles(first.Form))
    EXPECT_TRUE(t.startsWith(dir.path() + "/f")) << t.toStdString();

  // The editor still takes a hand-off from a process that runs to its end.
  WriteDiagram(dir.path() + "/last.fgd");
  const SecondRun r = RunSecond(dir.path(), {"last.fgd"});
  ASSERT_TRUE(r.Finished);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_TRUE(Titles(first.Form).contains(dir.path() + "/last.fgd"));
}

TEST(SingleInstance, PartialMalformedAndVanishingMessagesWhileAMessageIsShown) {
  TPoisonFreedMemory poison;
  ClearStore();
  QTemporaryDir dir;
  for (const char* n : {"a.fgd", "b.fgd", "c.fgd", "d.fgd"}) WriteDiagram(dir.path() + "/" + n);
  const QByteArray base = QFile::encodeName(dir.path()) + "/";
  TFirstInstance first(dir.path());
  ASSERT_TRUE(first.Instance.Listen());
  TOpenDialogQuestions questions;
  TQuestionsInUse use(&questions);
  const QString server = TSingleInstance::ServerName();
  auto connected = [&](QLocalSocket& s) {
    s.connectToServer(server);
    return s.waitForConnected(2000);
  };

  QLocalSocket sender;
  bool answeredFirst = false, garbageDropped = false, slowAnswered = false;
  QByteArray refusals, slowAnswer;
  qsizetype openedWhileShown = -1;
  questions.WhileShown = [&] {
    // The sender of the missing file has its answer already, and leaves.
    answeredFirst = RunNestedLoop([&] { return sender.bytesAvailable() > 0; }, 10000);
    sender.abort();

    // Half a length, then gone.
    QLocalSocket partial;
    ASSERT_TRUE(connected(partial));
    partial.write(QByteArray("\0\0", 2));
    partial.flush();
    RunNestedLoop([] { return false; }, 50);
    partial.abort();

    // Not a message at all: the length it spells is absurd, so it is dropped.
    QLocalSocket garbage;
    ASSERT_TRUE(connected(garbage));
    garbage.write("GET / HTTP/1.0\r\n\r\n");
    garbage.flush();
    garbageDropped =
        RunNestedLoop([&] { return garbage.state() == QLocalSocket::UnconnectedState; }, 10000);

    // Well framed but no file name: relative, with a zero byte, not UTF-8.
    QLocalSocket bad;
    ASSERT_TRUE(connected(bad));
    bad.write(Frame("relative.fgd") + Frame(base + QByteArray("x\0y.fgd", 7)) +
              Frame(base + "\xff\xfe.fgd"));
    bad.flush();
    RunNestedLoop([&] { return bad.bytesAvailable() >= 3; }, 10000);
    refusals = bad.readAll();

    // A slow sender: one byte at a time.
    QLocalSocket slow;
    ASSERT_TRUE(connected(slow));
    for (char c : Frame(base + "a.fgd")) {
      slow.write(&c, 1);
      slow.flush();
      RunNestedLoop([] { return false; }, 10);
    }
    slowAnswered = RunNestedLoop([&] { return slow.bytesAvailable() > 0; }, 10000);
    slowAnswer = slow.readAll();

    // Two messages, and gone before the answers.
    QLocalSocket hasty;
    ASSERT_TRUE(connected(hasty));
    hasty.write(Frame(base + "b.fgd") + Frame(base + "c.fgd"));
    hasty.flush();
    RunNestedLoop([&] { return hasty.bytesToWrite() == 0; }, 10000);
    hasty.abort();

    // And one that connects and leaves without a word.
    QLocalSocket silent;
    ASSERT_TRUE(connected(silent));
    silent.abort();

    RunNestedLoop([] { return false; }, 300);
    openedWhileShown = first.Form.Documents().size();
  };

  ASSERT_TRUE(connected(sender));
  sender.write(Frame(base + "missing.fgd"));
  sender.flush();
  RunNestedLoop([&] { return !questions.Log.empty() && first.Form.Documents().size() >= 3; },
                10000);

  EXPECT_TRUE(answeredFirst);
  EXPECT_TRUE(garbageDropped);
  EXPECT_EQ(refusals, QByteArray(3, TSingleInstance::kRefused));
  EXPECT_TRUE(slowAnswered);
  EXPECT_EQ(slowAnswer, QByteArray(1, TSingleInstance::kAccepted));
  // Files open one after the other once the message is closed, in order.
  EXPECT_EQ(openedWhileShown, 0);
  ASSERT_EQ(questions.Log.size(), 1u);
  EXPECT_TRUE(questions.Log[0].Text.contains("missing.fgd"));
  EXPECT_EQ(Titles(first.Form),
            (QStringList{dir.path() + "/a.fgd", dir.path() + "/b.fgd", dir.path() + "/c.fgd"}));

  // Still serving a real second instance.
  const SecondRun r = RunSecond(dir.path(), {"d.fgd"});
  ASSERT_TRUE(r.Finished);
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(Titles(first.Form).size(), 4);
}

TEST(SingleInstance, SecondStartOpensTheFilesItselfWhenTheEditorDiesMidHandOff) {
  QTemporaryDir dir;
  for (const char* n : {"a.fgd", "b.fgd"}) WriteDiagram(dir.path() + "/" + n);
  // A running editor that answers the first message and dies on the second.
  const QString name = TSingleInstance::ServerName();
  QLocalServer::removeServer(name);
  QLocalServer dying;
  dying.setSocketOptions(QLocalServer::UserAccessOption);
  ASSERT_TRUE(dying.listen(name));
  QByteArray received;
  QObject::connect(&dying, &QLocalServer::newConnection, [&] {
    QLocalSocket* s = dying.nextPendingConnection();
    QObject::connect(s, &QLocalSocket::readyRead, s, [&, s] {
      received += s->readAll();
      if (received == Frame({})) {
        s->putChar(TSingleInstance::kAccepted);
      } else if (received.size() > Frame({}).size()) {
        dying.close();
        s->abort();
      }
    });
  });

  QProcess second;
  StartSecond(second, dir.path(), {"a.fgd", "b.fgd"});
  // It takes over: an editor of its own that listens in the dead one's place.
  QLocalSocket probe;
  bool listening = false;
  RunNestedLoop(
      [&] {
        if (second.state() == QProcess::NotRunning) return true;
        if (dying.isListening()) return false;
        probe.connectToServer(name);
        listening = probe.waitForConnected(100);
        return listening;
      },
      20000);
  EXPECT_TRUE(received.startsWith(Frame({}))) << "the hand-off had begun";
  EXPECT_EQ(second.state(), QProcess::Running) << "it ended, leaving the files unopened";
  EXPECT_TRUE(listening);
  second.kill();
  second.waitForFinished(5000);
}
