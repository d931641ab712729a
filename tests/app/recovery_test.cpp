// Recovery files: written for documents with unsaved changes, removed by
// saving or closing without saving, kept through a kill and a session end,
// and offered back at the next start.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

#include "app/commands/filecommands.h"
#include "app/recoveryfile.h"
#include "app/recoverykeeper.h"
#include "app/userfolders.h"
#include "desktoptestutil.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TRecoveryRecord ReadRecord(const QString& path) {
  TRecoveryRecord r;
  EXPECT_TRUE(DecodeRecovery(ReadAll(path), r)) << path.toStdString();
  return r;
}

// The block texts of the diagram in a recovery file.
std::vector<std::string> RecordTexts(const QString& path) {
  const TRecoveryRecord r = ReadRecord(path);
  TShem d;
  TMemoryStream s(std::vector<uint8_t>(r.Diagram.begin(), r.Diagram.end()));
  EXPECT_TRUE(d.LoadFromStream(s)) << path.toStdString();
  return BlockTexts(d);
}
}  // namespace

TEST(RecoveryFile, RoundTripAndRefusals) {
  const TRecoveryRecord r{QStringLiteral("/home/u/Схема 1.fgd"),
                          QStringLiteral("/home/u/Схема 1.fgd"),
                          QByteArray("FileQuorvalinEditorV2\0\n\n=x", 26)};
  TRecoveryRecord back;
  ASSERT_TRUE(DecodeRecovery(EncodeRecovery(r), back));
  EXPECT_EQ(back.Title, r.Title);
  EXPECT_EQ(back.FileName, r.FileName);
  EXPECT_EQ(back.Diagram, r.Diagram);  // blank lines and zero bytes in the diagram survive

  // A new document has a title and no file name; a title with a line break
  // cannot break the header.
  const TRecoveryRecord unnamed{QStringLiteral("NewDocument1\ntitle=x"), QString(), "d"};
  ASSERT_TRUE(DecodeRecovery(EncodeRecovery(unnamed), back));
  EXPECT_EQ(back.Title, unnamed.Title);
  EXPECT_TRUE(back.FileName.isEmpty());

  EXPECT_FALSE(DecodeRecovery("FileQuorvalinEditorV2....", back));
  EXPECT_FALSE(DecodeRecovery("QuorvalinRecovery1\ntitle=a\nfile=b", back));  // cut off
  EXPECT_FALSE(DecodeRecovery("QuorvalinRecovery1\nfile=b\n\nxx", back));     // no title

  EXPECT_EQ(RecoveryFileOwner(RecoveryFileName(4242, 7)), 4242);
  EXPECT_EQ(RecoveryFileOwner("/x/y/12-3.fgr"), 12);
  EXPECT_EQ(RecoveryFileOwner("12-3.fgd"), -1);
  EXPECT_EQ(RecoveryFileOwner("a12-3.fgr"), -1);
}

TEST(UserFolders, FollowTheXdgVariablesAndIgnoreRelativeOnes) {
  const QByteArray oldState = qgetenv("XDG_STATE_HOME"), oldData = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_STATE_HOME", "/srv/state");
  qputenv("XDG_DATA_HOME", "relative/data");  // not absolute: the default applies
  EXPECT_EQ(RecoveryFolder(), "/srv/state/quorvalin/recovery");
  EXPECT_EQ(UserBlockListFile(), QDir::homePath() + "/.local/share/quorvalin/UserBlock.blu");
  qunsetenv("XDG_STATE_HOME");
  EXPECT_EQ(UserStateFolder(), QDir::homePath() + "/.local/state/quorvalin");
  qputenv("XDG_STATE_HOME", oldState);
  qputenv("XDG_DATA_HOME", oldData);
}

TEST(UserFolders, TheUsersOwnBlockListWinsOverTheProgramFolders) {
  DesktopFixture fx;
  const QString own = UserBlockListFile();
  QFile::remove(own);
  EXPECT_EQ(UserBlockListToLoad(fx.dir.path()), fx.Path("UserBlock.blu"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(own).absolutePath()));
  TUserBlockList list;
  list.Add(MakeUserBlock("Own", 1, 2));
  ASSERT_TRUE(list.SaveToFile(QFile::encodeName(own).toStdString()));
  EXPECT_EQ(UserBlockListToLoad(fx.dir.path()), own);
  {
    TMainForm f(fx.Options());  // a read-only program folder has no list at all here
    EXPECT_EQ(f.AppState.UserBlocks.Count(), 1);
  }
  QFile::remove(own);
}

TEST(RecoveryKeeper, WritesOnlyDocumentsWithUnsavedChangesAndOnlyWhenTheyChanged) {
  DesktopFixture fx;
  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, fx.stateFolder);
  TChildD* clean = f.CreateDocument("NewDocument1");
  TChildD* dirty = f.CreateDocument("NewDocument2");
  AddSquare(*dirty, {10, 10, 90, 30}, "x := 1");
  ASSERT_TRUE(keeper.WriteAll());
  EXPECT_TRUE(keeper.FileOf(clean).isEmpty());
  const QString path = keeper.FileOf(dirty);
  ASSERT_EQ(fx.RecoveryFiles(), QStringList{QFileInfo(path).fileName()});
  const TRecoveryRecord r = ReadRecord(path);
  EXPECT_EQ(r.Title, "NewDocument2");
  EXPECT_TRUE(r.FileName.isEmpty());
  EXPECT_EQ(RecordTexts(path), std::vector<std::string>{"x := 1"});
  EXPECT_EQ((QFile::permissions(fx.stateFolder) & 0x0077).toInt(), 0);  // others cannot look in

  // Unchanged: the file is not written again; changed: it is.
  const QDateTime old = QFileInfo(path).lastModified().addSecs(-100);
  SetModificationTime(path, old);
  ASSERT_TRUE(keeper.WriteAll());
  EXPECT_EQ(QFileInfo(path).lastModified(), old);
  AddSquare(*dirty, {10, 50, 90, 70}, "y := 2");
  ASSERT_TRUE(keeper.WriteAll());
  EXPECT_EQ(RecordTexts(path), (std::vector<std::string>{"x := 1", "y := 2"}));
  // No temporary files are left beside it.
  EXPECT_EQ(QDir(fx.stateFolder).entryList(QDir::Files).size(), 1);
}

TEST(RecoveryKeeper, TheTimerWritesOnItsOwn) {
  DesktopFixture fx;
  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, fx.stateFolder, 50);
  TChildD* doc = f.CreateDocument("NewDocument1");
  AddSquare(*doc, {10, 10, 90, 30}, "a");
  EXPECT_TRUE(QTest::qWaitFor([&] { return fx.RecoveryFiles().size() == 1; }, 5000));
  doc->Modified = false;  // e.g. undone back to the saved state
  EXPECT_TRUE(QTest::qWaitFor([&] { return fx.RecoveryFiles().isEmpty(); }, 5000));
}

TEST(RecoveryKeeper, SavingOrClosingWithoutSavingRemovesTheFile) {
  DesktopFixture fx;
  WriteDiagram(fx.Path("a.fgd"));
  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, fx.stateFolder);
  TChildD* a = f.OpenDocument(fx.Path("a.fgd"));
  TChildD* b = f.CreateDocument("NewDocument2");
  ASSERT_TRUE(a && b);
  AddSquare(*a, {10, 50, 90, 70}, "more");
  AddSquare(*b, {10, 50, 90, 70}, "new");
  ASSERT_TRUE(keeper.WriteAll());
  ASSERT_EQ(fx.RecoveryFiles().size(), 2);
  const QString fileOfA = keeper.FileOf(a), fileOfB = keeper.FileOf(b);

  ASSERT_TRUE(f.SaveDocument(a));
  EXPECT_FALSE(QFile::exists(fileOfA));
  EXPECT_TRUE(QFile::exists(fileOfB));

  // The close question comes; "No" closes without saving.
  fx.questions.Answers = {QMessageBox::No};
  f.SubWindowOf(b)->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(f.Documents().size(), 1);
  EXPECT_FALSE(QFile::exists(fileOfB));
  EXPECT_TRUE(fx.RecoveryFiles().isEmpty());
}

// Asks like the scripted questions, noting which recovery files exist at the
// moment of each question.
class TWatchingQuestions : public TChoosingQuestions {
 public:
  QString Folder;
  QList<int> FilesWhenAsked;
  QMessageBox::StandardButton Ask(QWidget* p, const QString& text, const QString& caption,
                                  QMessageBox::Icon icon,
                                  QMessageBox::StandardButtons buttons) override {
    FilesWhenAsked << int(QDir(Folder).entryList({"*.fgr"}, QDir::Files).size());
    return TChoosingQuestions::Ask(p, text, caption, icon, buttons);
  }
};

TEST(RecoveryKeeper, TheCloseQuestionFindsTheWorkWrittenAlready) {
  DesktopFixture fx;
  TWatchingQuestions q;
  q.Folder = fx.stateFolder;
  SetQuestions(&q);
  {
    TMainForm f(fx.Options());
    TRecoveryKeeper keeper(f, fx.stateFolder);
    AddSquare(*f.CreateDocument("NewDocument1"), {10, 10, 90, 30}, "one");
    AddSquare(*f.CreateDocument("NewDocument2"), {10, 10, 90, 30}, "two");
    // The main window's close: both documents are written before the first
    // question; Cancel keeps the editor and the files.
    q.Answers = {QMessageBox::Cancel};
    EXPECT_FALSE(f.close());
    EXPECT_EQ(q.FilesWhenAsked, QList<int>{2});
    // A document window's own close question likewise.
    TChildD* third = f.CreateDocument("NewDocument3");
    AddSquare(*third, {10, 10, 90, 30}, "three");
    q.Answers = {QMessageBox::Cancel};
    f.SubWindowOf(third)->close();
    EXPECT_EQ(q.FilesWhenAsked.last(), 3);
    // Answering No everywhere ends the editor without the files.
    q.Answers = {QMessageBox::No, QMessageBox::No, QMessageBox::No};
    EXPECT_TRUE(f.close());
  }
  SetQuestions(&fx.questions);
  EXPECT_TRUE(fx.RecoveryFiles().isEmpty());
}

TEST(RecoveryKeeper, ASessionEndKeepsTheFilesWhenTheWindowsGo) {
  DesktopFixture fx;
  {
    TMainForm f(fx.Options());
    TRecoveryKeeper keeper(f, fx.stateFolder);
    AddSquare(*f.CreateDocument("NewDocument1"), {10, 10, 90, 30}, "kept");
    keeper.SessionEnding();
    EXPECT_EQ(fx.RecoveryFiles().size(), 1);
    qDeleteAll(f.MdiArea->subWindowList());
  }
  EXPECT_EQ(fx.RecoveryFiles().size(), 1);
}

TEST(RecoveryKeeper, OffersLeftFilesBackPerDocument) {
  DesktopFixture fx;
  WriteDiagram(fx.Path("a.fgd"));
  const QString a = fx.Canonical("a.fgd");
  // Files left by an editor that is gone (process id 0 never runs one), one
  // that is no recovery file, and one of this very process (a running editor).
  QDir().mkpath(fx.stateFolder);
  auto leave = [&](const QString& name, const QString& title, const QString& file,
                   const std::string& text) {
    TShem d;
    auto blk = std::make_unique<TBlock>();
    blk->Data.SetRect({10, 10, 90, 30});
    blk->Data.Text = text;
    d.Add(std::move(blk));
    TMemoryStream s;
    ASSERT_TRUE(d.SaveToStream(s));
    QFile out(fx.stateFolder + "/" + name);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(EncodeRecovery({title, file,
                              QByteArray(reinterpret_cast<const char*>(s.Bytes().data()),
                                         qsizetype(s.Bytes().size()))}));
  };
  leave("0-1.fgr", a, a, "recovered text");
  leave("0-2.fgr", "NewDocument4", "", "thrown away");
  leave("0-3.fgr", "NewDocument5", "", "asked again next time");
  leave(RecoveryFileName(QCoreApplication::applicationPid(), 99), "Mine", "", "running");
  {
    QFile junk(fx.stateFolder + "/0-4.fgr");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a recovery file");
  }

  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, fx.stateFolder);
  // The files are offered newest first; the order of these three is the
  // order of their times.
  const QDateTime t = QDateTime::currentDateTime();
  for (int i = 1; i <= 3; ++i)
    SetModificationTime(fx.stateFolder + QString("/0-%1.fgr").arg(i), t.addSecs(-i));
  fx.questions.Choices = {0, 1, -1};
  EXPECT_EQ(keeper.OfferRecovery(), 1);
  ASSERT_EQ(fx.questions.Chosen.size(), 3);
  EXPECT_TRUE(fx.questions.Chosen[0].contains(a));
  EXPECT_EQ(fx.questions.Buttons, (QStringList{"Recover", "Discard"}));

  ASSERT_EQ(f.Documents().size(), 1);
  TChildD* doc = f.Documents().first();
  EXPECT_EQ(doc->Caption(), a);
  EXPECT_EQ(doc->FileName, a);
  EXPECT_TRUE(doc->Modified);
  EXPECT_EQ(BlockTexts(doc->Diagram), std::vector<std::string>{"recovered text"});
  // The recovered document keeps its file (under this editor's name), the
  // discarded one is gone, the unanswered one, the junk and the running
  // editor's file stay.
  EXPECT_FALSE(QFile::exists(fx.stateFolder + "/0-1.fgr"));
  EXPECT_FALSE(QFile::exists(fx.stateFolder + "/0-2.fgr"));
  EXPECT_TRUE(QFile::exists(fx.stateFolder + "/0-3.fgr"));
  EXPECT_TRUE(QFile::exists(fx.stateFolder + "/0-4.fgr"));
  const QString kept = keeper.FileOf(doc);
  EXPECT_EQ(RecoveryFileOwner(kept), QCoreApplication::applicationPid());
  EXPECT_EQ(ReadRecord(kept).Title, a);

  // Saving the recovered document ends its recovery file.
  ASSERT_TRUE(f.SaveDocument(doc));
  EXPECT_FALSE(QFile::exists(kept));
  TShem saved;
  ASSERT_TRUE(saved.LoadFromFile(QFile::encodeName(a).toStdString()));
  EXPECT_EQ(BlockTexts(saved), std::vector<std::string>{"recovered text"});
}

// A child editor with one document of unsaved changes, its recovery file
// written; it prints "ready" and waits to be ended.
struct UnsavedChild {
  QTemporaryDir root;
  QProcess p;
  explicit UnsavedChild(const QString& fileName) {
    p.setProcessEnvironment(ChildEnvironment(root.path()));
    p.start(QV_DESKTOP_HELPER, {"unsaved", fileName});
  }
  bool Ready() {
    return p.waitForStarted(10000) &&
           QTest::qWaitFor([&] { return p.readAllStandardOutput().contains("ready"); }, 30000);
  }
  QString Folder() const { return root.path() + "/xdg_state_home/quorvalin/recovery"; }
};

TEST(RecoveryKeeper, WorkSurvivesAKillAndIsOfferedAtTheNextStart) {
  DesktopFixture fx;
  WriteDiagram(fx.Path("b.fgd"), 1);
  const QString b = fx.Canonical("b.fgd");
  UnsavedChild child(b);
  ASSERT_TRUE(child.Ready()) << child.p.readAllStandardError().toStdString();
  ::kill(pid_t(child.p.processId()), SIGKILL);
  ASSERT_TRUE(child.p.waitForFinished(10000));
  EXPECT_EQ(child.p.exitStatus(), QProcess::CrashExit);
  ASSERT_EQ(QDir(child.Folder()).entryList({"*.fgr"}).size(), 1);

  TMainForm f(fx.Options());
  TRecoveryKeeper keeper(f, child.Folder());
  fx.questions.Choices = {0};
  ASSERT_EQ(keeper.OfferRecovery(), 1);
  TChildD* doc = f.Documents().value(0);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->Caption(), b);
  EXPECT_EQ(doc->FileName, b);
  EXPECT_TRUE(doc->Modified);
  // The file's own block and the one the child added before it was killed.
  EXPECT_EQ(BlockTexts(doc->Diagram), (std::vector<std::string>{"block 0", "unsaved work"}));
  // The file on disk is as it was.
  TShem onDisk;
  ASSERT_TRUE(onDisk.LoadFromFile(QFile::encodeName(b).toStdString()));
  EXPECT_EQ(BlockTexts(onDisk), std::vector<std::string>{"block 0"});
}

TEST(RecoveryKeeper, TerminationKeepsTheWorkAndEndsTheEditorCleanly) {
  DesktopFixture fx;
  WriteDiagram(fx.Path("c.fgd"), 1);
  UnsavedChild child(fx.Canonical("c.fgd"));
  ASSERT_TRUE(child.Ready()) << child.p.readAllStandardError().toStdString();
  child.p.terminate();  // SIGTERM, as at the end of a session
  ASSERT_TRUE(child.p.waitForFinished(20000));
  EXPECT_EQ(child.p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.p.exitCode(), 0);
  const QStringList left = QDir(child.Folder()).entryList({"*.fgr"});
  ASSERT_EQ(left.size(), 1);
  EXPECT_EQ(ReadRecord(child.Folder() + "/" + left[0]).FileName, fx.Canonical("c.fgd"));
}
