// Opening documents: one name per file whatever way it is given, where new
// document windows appear, which window is active after a refused file, and
// where a restored main window goes.
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>

#include "../editor/guitestenv.h"
#include "app/actions.h"
#include "app/commands/filecommands.h"
#include "app/mainform.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
// Runs in another current folder and goes back to the old one afterwards.
struct CurrentFolder {
  QString old = QDir::currentPath();
  explicit CurrentFolder(const QString& dir) { QDir::setCurrent(dir); }
  ~CurrentFolder() { QDir::setCurrent(old); }
};

QStringList Titles(const TMainForm& f) {
  QStringList t;
  for (TChildD* d : f.Documents()) t.append(d->Caption());
  return t;
}

// The sub-window rectangles in the document area's own coordinates.
QList<QRect> SubWindowRects(const TMainForm& f) {
  QList<QRect> r;
  for (QMdiSubWindow* w : f.MdiArea->subWindowList(QMdiArea::CreationOrder))
    r.append(w->geometry());
  return r;
}
}  // namespace

TEST(OpeningFiles, RelativeAbsoluteAndLinkedNamesOfOneFileShareOneWindowAndOneRecentEntry) {
  Fixture fx;
  QDir(fx.dir.path()).mkdir("examples");
  const QString file = fx.Path("examples/loop.fgd");
  WriteDiagram(file, 2);
  const QString canonical = QFileInfo(file).canonicalFilePath();
  ASSERT_TRUE(QFile::link(fx.Path("examples"), fx.Path("linked")));
  TMainForm f(fx.Options());

  TChildD* doc = nullptr;
  {
    CurrentFolder here(fx.dir.path());
    doc = f.OpenDocument("examples/loop.fgd");
  }
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->Caption(), canonical);
  EXPECT_EQ(doc->FileName, canonical);
  // From another folder the same file by its absolute name, through a link
  // and with ".." in it: the window that shows it already comes forward.
  {
    CurrentFolder elsewhere(QDir::rootPath());
    EXPECT_EQ(f.OpenDocument(file), doc);
    EXPECT_EQ(f.OpenDocument(fx.Path("linked/loop.fgd")), doc);
    EXPECT_EQ(f.OpenDocument(fx.Path("examples/../examples/loop.fgd")), doc);
    MainFormLoadFile(QFile::encodeName(fx.Path("linked/./loop.fgd")).constData());
  }
  EXPECT_EQ(Titles(f), QStringList{canonical});
  EXPECT_EQ(f.AppState.RecentFiles, QStringList{canonical});

  // The Open dialog's names go the same way, and so do recent entries.
  fx.q.OpenAnswer = {fx.Path("linked/loop.fgd")};
  f.FileCommands->Open1Click();
  EXPECT_EQ(Titles(f), QStringList{canonical});
  f.AppState.RecentFiles = {fx.Path("linked/loop.fgd")};
  f.FileCommands->FileItemClick();
  const QList<QAction*> items = f.Actions->Menu(TMenuId::File)->actions();
  f.FileCommands->QuickOpenClick(items[items.indexOf(f.RecentSeparator) + 1]);
  ASSERT_EQ(f.Documents().size(), 2);  // quick open does not look for an open window
  EXPECT_EQ(f.Documents()[1]->Caption(), canonical);
  EXPECT_EQ(f.Documents()[1]->FileName, canonical);
  EXPECT_EQ(f.AppState.RecentFiles, QStringList{canonical});

  // A new document saved under a relative name keeps the absolute one.
  TChildD* fresh = f.CreateDocument("new");
  fx.q.SaveAnswer = "saved.fgd";
  {
    CurrentFolder here(fx.Path("linked"));
    ASSERT_TRUE(f.SaveDocument(fresh));
  }
  EXPECT_EQ(fresh->FileName, QFileInfo(fx.Path("examples/saved.fgd")).canonicalFilePath());
  EXPECT_EQ(fresh->Caption(), fresh->FileName);
  EXPECT_TRUE(fx.q.Log.empty());
}

TEST(OpeningFiles, ARelativeRecentEntryGivesWayToTheAbsoluteNameOfItsFile) {
  Fixture fx;
  const QString file = fx.Path("old.fgd");
  WriteDiagram(file);
  TMainForm f(fx.Options());
  // An entry stored by an earlier version while it ran in the file's folder.
  CurrentFolder here(fx.dir.path());
  f.AppState.RecentFiles = {"old.fgd", "/elsewhere/other.fgd"};
  ASSERT_NE(f.OpenDocument(file), nullptr);
  EXPECT_EQ(f.AppState.RecentFiles, (QStringList{fx.Canonical("old.fgd"), "/elsewhere/other.fgd"}));
}

TEST(OpeningFiles, NewWindowsCascadeFullyInsideTheDocumentArea) {
  Fixture fx;
  WriteDiagram(fx.Path("a.fgd"));
  for (const QSize size : {QSize(630, 377), QSize(1600, 1000)}) {
    SCOPED_TRACE(size.width());
    TMainForm f(fx.Options());
    f.resize(size);
    f.show();
    QCoreApplication::processEvents();
    f.OpenDocument(fx.Path("a.fgd"));
    for (int i = 0; i < 6; ++i) f.CreateDocument(QString("doc %1").arg(i));
    QCoreApplication::processEvents();
    const QRect area = f.MdiArea->viewport()->rect();
    ASSERT_GT(area.width(), 200);
    const QList<QRect> rects = SubWindowRects(f);
    ASSERT_EQ(rects.size(), 7);
    for (const QRect& r : rects) {
      EXPECT_TRUE(area.contains(r))
          << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
      // Big enough to work in: two thirds of the area at least.
      EXPECT_GE(3 * r.width(), 2 * area.width());
      EXPECT_GE(3 * r.height(), 2 * area.height());
    }
    // The first one at the top-left, the next one a step down and right, so
    // that the title bar of each one stays visible.
    EXPECT_EQ(rects[0].topLeft(), QPoint(0, 0));
    const QPoint step = rects[1].topLeft() - rects[0].topLeft();
    EXPECT_GT(step.x(), 10);
    EXPECT_EQ(step.x(), step.y());
    EXPECT_EQ(rects[1].size(), rects[0].size());
  }
}

TEST(OpeningFiles, ARefusedFileGivesTheActivationBackToTheWindowActiveBefore) {
  Fixture fx;
  WriteDiagram(fx.Path("a.fgd"));
  WriteDiagram(fx.Path("b.fgd"));
  WriteDiagram(fx.Path("c.fgd"));
  const QString junk = fx.Path("notes.txt");
  {
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("just some text, no diagram at all");
  }
  TMainForm f(fx.Options());
  f.show();
  TChildD* a = f.OpenDocument(fx.Path("a.fgd"));
  TChildD* b = f.OpenDocument(fx.Path("b.fgd"));
  f.OpenDocument(fx.Path("c.fgd"));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  for (TChildD* before : {a, b}) {
    f.MdiArea->setActiveSubWindow(f.SubWindowOf(before));
    ASSERT_EQ(f.ActiveDocument(), before);
    EXPECT_EQ(f.OpenDocument(junk), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.Documents().size(), 3);
    EXPECT_EQ(f.ActiveDocument(), before);
  }
  // The same for a recent entry that does not load.
  f.AppState.RecentFiles = {junk};
  f.FileCommands->FileItemClick();
  const QList<QAction*> items = f.Actions->Menu(TMenuId::File)->actions();
  f.FileCommands->QuickOpenClick(items[items.indexOf(f.RecentSeparator) + 1]);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.ActiveDocument(), b);
  EXPECT_EQ(f.Documents().size(), 3);
}

TEST(OpeningFiles, ARestoredMainWindowLiesOnAScreen) {
  Fixture fx;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    s.setValue("FullWind", false);
    s.setValue("LWind", screen.right() + 4000);
    s.setValue("TWind", screen.bottom() + 3000);
    s.setValue("WWind", 500);
    s.setValue("HWind", 300);
  }
  {
    TMainForm f(fx.Options());
    EXPECT_TRUE(screen.contains(QRect(f.pos(), f.size())))
        << f.x() << "," << f.y() << " " << f.width() << "x" << f.height();
    EXPECT_EQ(f.size(), QSize(500, 300));
  }
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    s.setValue("LWind", screen.left() + 10);
    s.setValue("TWind", screen.top() + 20);
    s.setValue("WWind", screen.width() * 3);
    s.setValue("HWind", 300);
  }
  TMainForm f(fx.Options());
  EXPECT_EQ(QRect(f.pos(), f.size()), QRect(screen.left(), screen.top() + 20, screen.width(), 300));
}
