// Saving onto a disk that is full (a small tmpfs filled up, where the test may
// mount one) or a file size limit (an injected write failure) fails with a
// message and keeps the previous file whole; the document keeps its unsaved
// changes and its recovery file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <functional>

#include "app/recoverykeeper.h"
#include "desktoptestutil.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Opens path, adds enough blocks that the new file is much larger than the
// old one, saves, and checks that the save failed and changed nothing.
// arm makes writing fail, restore lets it succeed again.
void ExpectFailedSaveKeepsTheOldFile(DesktopFixture& fx, const QString& path,
                                     const std::function<void()>& arm,
                                     const std::function<void()>& restore) {
  const QByteArray before = ReadAll(path);
  ASSERT_FALSE(before.isEmpty());
  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, fx.stateFolder);
  TChildD* doc = f.OpenDocument(path);
  ASSERT_TRUE(doc);
  for (int i = 0; i < 400; ++i)
    AddSquare(*doc, {10, 40 + 30 * i, 300, 60 + 30 * i}, std::string(120, char('a' + i % 26)));
  ASSERT_TRUE(keeper.WriteAll());
  fx.questions.Log.clear();
  fx.questions.Answers = {QMessageBox::Ok};
  arm();
  const bool saved = f.SaveDocument(doc);
  restore();
  EXPECT_FALSE(saved);
  ASSERT_EQ(fx.questions.Log.size(), 1u);
  EXPECT_EQ(fx.questions.Log[0].Icon, QMessageBox::Warning);
  EXPECT_TRUE(fx.questions.Log[0].Text.contains(path)) << fx.questions.Log[0].Text.toStdString();
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_TRUE(doc->Modified);
  EXPECT_FALSE(keeper.FileOf(doc).isEmpty());
  EXPECT_TRUE(QFile::exists(keeper.FileOf(doc)));
  // Nothing half-written is left beside the file.
  const QStringList beside = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
  for (const QString& name : beside)
    EXPECT_FALSE(name.startsWith(QFileInfo(path).fileName() + ".")) << name.toStdString();
  // With room again the same document saves.
  EXPECT_TRUE(f.SaveDocument(doc));
  EXPECT_FALSE(doc->Modified);
  TShem back;
  ASSERT_TRUE(back.LoadFromFile(QFile::encodeName(path).toStdString()));
  EXPECT_EQ(back.Count(), 402);
}
}  // namespace

TEST(SaveFailure, AFullFileSystemKeepsTheOldFile) {
  DesktopFixture fx;
  const QString mnt = fx.Path("small");
  QDir().mkpath(mnt);
  if (::mount("tmpfs", QFile::encodeName(mnt).constData(), "tmpfs", 0, "size=128k") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here; the injected failure below stands in";
  const QString path = mnt + "/full.fgd";
  WriteDiagram(path, 2);
  // Fill the rest of the file system.
  const QString filler = mnt + "/filler";
  {
    QFile f(filler);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray chunk(4096, 'x');
    while (f.write(chunk) == chunk.size() && f.flush()) {
    }
  }
  ExpectFailedSaveKeepsTheOldFile(
      fx, path, [] {}, [&] { QFile::remove(filler); });
  ::umount2(QFile::encodeName(mnt).constData(), MNT_DETACH);
}

TEST(SaveFailure, AnInjectedWriteFailureKeepsTheOldFile) {
  DesktopFixture fx;
  const QString path = fx.Path("limited.fgd");
  WriteDiagram(path, 2);
  // Writes past 16 KiB fail (EFBIG) for this process until the limit goes.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = 16 * 1024;
  auto restore = [&] {
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
  };
  // Armed only for the save: the recovery file is larger than the limit too.
  ExpectFailedSaveKeepsTheOldFile(
      fx, path, [&] { ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0); }, restore);
}
