// Start-up of the real program: two first editors started at the same moment
// end as one editor holding both files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QSysInfo>
#include <QTest>

#include "desktoptestutil.h"

namespace {
QStringList OpenLines(QProcess& p) {
  QStringList lines;
  for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
    if (l.startsWith("open: ")) lines << QString::fromLocal8Bit(l.mid(6));
  return lines;
}
}  // namespace

TEST(StartUp, TwoFirstEditorsStartedTogetherEndAsOneHoldingBothFiles) {
  QTemporaryDir root;
  const QString a = root.path() + "/a.fgd", b = root.path() + "/b.fgd";
  WriteDiagram(a, 1);
  WriteDiagram(b, 3);
  const QStringList expected = {a + " (1 objects)", b + " (3 objects)"};
  // A few rounds, each with folders of its own: the two starts race anew.
  for (int round = 0; round < 3; ++round) {
    QProcessEnvironment env = ChildEnvironment(root.path() + QString("/round%1").arg(round));
    env.insert("QUORVALIN_EXIT_AFTER_MS", "3000");
    QProcess first, second;
    first.setProcessEnvironment(env);
    second.setProcessEnvironment(env);
    first.start(QV_PROGRAM, {a});
    second.start(QV_PROGRAM, {b});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    QStringList one = OpenLines(first), other = OpenLines(second);
    if (one.isEmpty()) std::swap(one, other);
    one.sort();
    EXPECT_EQ(one, expected) << "round " << round;
    EXPECT_TRUE(other.isEmpty()) << "round " << round << ": a second editor ran with "
                                 << other.join(", ").toStdString();
  }
}

TEST(StartUp, ALockLeftByADeadEditorDoesNotStopTheNextStart) {
  QTemporaryDir root;
  const QString a = root.path() + "/a.fgd";
  WriteDiagram(a, 2);
  QProcessEnvironment env = ChildEnvironment(root.path());
  // The lock file of an editor that died: a process id that runs no editor.
  const QString lock =
      env.value("XDG_RUNTIME_DIR") + QString("/quorvalin-%1.socket.lock").arg(getuid());
  {
    QFile f(lock);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("999999999\nquorvalin\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  }
  env.insert("QUORVALIN_EXIT_AFTER_MS", "0");
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(QV_PROGRAM, {a});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_EQ(OpenLines(p), QStringList{a + " (2 objects)"});
  // The editor took the dead one's lock over and gave it up once it
  // listened; a lock it had only waited out would still be there.
  EXPECT_FALSE(QFile::exists(lock));
}
