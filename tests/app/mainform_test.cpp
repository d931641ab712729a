// The main window: opening documents, recent files, user blocks, settings at
// start and exit, cursors and the file type association.
#include "app/mainform.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

#include "../editor/guitestenv.h"
#include "app/actions.h"
#include "app/commands/filecommands.h"
#include "app/commands/helpcommands.h"
#include "app/fileassociation.h"
#include "app/listingpanel.h"
#include "app/mainstatusbar.h"
#include "app/userblocktoolbar.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "editor/cursors.h"

namespace {
QStringList Titles(const TMainForm& f) {
  QStringList t;
  for (TChildD* d : f.Documents()) t.append(d->Caption());
  return t;
}

QStringList RecentEntries(TMainForm& f) {
  f.FileCommands->FileItemClick();
  QStringList t;
  const QList<QAction*> items = f.Actions->Menu(TMenuId::File)->actions();
  const qsizetype exit = items.indexOf(f.Actions->Action(TCommand::Exit));
  for (qsizetype i = items.indexOf(f.RecentSeparator) + 1; i < exit; ++i)
    t.append(items[i]->isSeparator() ? QString("-") : items[i]->text());
  return t;
}
}  // namespace

TEST(MainForm, StartsWithTheDocumentedState) {
  Fixture fx;
  TMainForm f(fx.Options());
  EXPECT_EQ(f.windowTitle(), "Block-diagram editor");
  EXPECT_EQ(f.size(), QSize(630, 377));
  EXPECT_EQ(f.AppState.CurrentTool, TTool::Select);
  EXPECT_EQ(f.AppState.NewBlockKind, 0);
  EXPECT_EQ(f.AppState.BackgroundColor, QColor(192, 192, 192));
  EXPECT_EQ(f.AppState.NewDocumentTitle, QString::fromUtf8("Block-diagram №"));
  EXPECT_EQ(f.AppState.LastDirectory, QDir(fx.dir.path()).absolutePath() + "/");
  EXPECT_EQ(f.AppState.ClipboardDiagram->Count(), 0);
  EXPECT_TRUE(f.ListingPanel->isHidden());
  EXPECT_EQ(f.ListingImages.size(), 15);  // ten kind icons and five empty slots
  EXPECT_TRUE(f.ListingImages[14].isNull());
  EXPECT_FALSE(f.ListingImages[0].isNull());
  EXPECT_EQ(f.AppState.UserBlocks.Count(), 0);
  EXPECT_TRUE(f.UserBlocksToolbar->isHidden());
  EXPECT_EQ(f.SpecialToolbar->windowTitle(), "Special tollbar");
  EXPECT_EQ(f.toolBarArea(f.AlignToolbar), Qt::LeftToolBarArea);
  EXPECT_EQ(f.toolBarArea(f.UserBlocksToolbar), Qt::BottomToolBarArea);
  EXPECT_EQ(f.StatusBar->StatusPanels[0]->width(), 80);
  EXPECT_EQ(f.Splitter->handleWidth(), 3);
  for (int n = 1; n <= 11; ++n) {
    EXPECT_FALSE(QPixmap(QString(":/cursors/") + CursorName(TCursor(n))).isNull()) << n;
    EXPECT_FALSE(AppCursor(TCursor(n)).pixmap().isNull()) << n;
  }
  EXPECT_TRUE(AppCursor(TCursor::Default).pixmap().isNull());
}

TEST(MainForm, OpenDocumentActivatesAnExactTitleMatchAndLoadsOtherwise) {
  Fixture fx;
  const QString a = fx.Path("Alpha.fgd");
  WriteDiagram(a, 3);
  TMainForm f(fx.Options());
  TChildD* first = f.OpenDocument(a);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Caption(), a);
  EXPECT_EQ(first->FileName, a);
  EXPECT_FALSE(first->Modified);
  EXPECT_EQ(first->Diagram.Count(), 3);
  EXPECT_EQ(f.AppState.RecentFiles, QStringList{a});

  // A second window on another file, then the first name again: no new window.
  const QString b = fx.Path("beta.fgd");
  WriteDiagram(b, 1);
  f.OpenDocument(b);
  EXPECT_EQ(f.ActiveDocument()->Caption(), b);
  EXPECT_EQ(f.OpenDocument(a), first);
  EXPECT_EQ(f.Documents().size(), 2);
  EXPECT_EQ(f.ActiveDocument(), first);

  // The same path in other letters is another title: a second window.
  const QString upper = fx.Path("ALPHA.fgd");
  WriteDiagram(upper, 5);
  TChildD* other = f.OpenDocument(upper);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, first);
  EXPECT_EQ(Titles(f), (QStringList{a, b, upper}));
  EXPECT_TRUE(fx.q.Log.empty());
}

TEST(MainForm, RefusedFilesCloseTheirWindowQuietlyUnreadableOnesAreReported) {
  Fixture fx;
  TMainForm f(fx.Options());
  const QString junk = fx.Path("junk.fgd");
  {
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("FileSomethingElse!!!2 and more");
  }
  EXPECT_EQ(f.OpenDocument(junk), nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.Documents().isEmpty());
  EXPECT_TRUE(fx.q.Log.empty());

  EXPECT_EQ(f.OpenDocument(fx.Path("missing.fgd")), nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.Documents().isEmpty());
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_FALSE(fx.q.Log[0].Text.isEmpty());
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_TRUE(f.AppState.RecentFiles.isEmpty());
}

TEST(MainForm, RecentFilesMenuAndQuickOpen) {
  Fixture fx;
  TMainForm f(fx.Options());
  EXPECT_TRUE(RecentEntries(f).isEmpty());
  const QString a = fx.Path("a.fgd"), gone = fx.Path("gone.fgd");
  WriteDiagram(a);
  f.AppState.RecentFiles = {a, gone};
  EXPECT_EQ(RecentEntries(f), (QStringList{"&1: " + a, "&2: " + gone, "-"}));
  // Opening the menu again rebuilds the entries instead of adding more.
  EXPECT_EQ(RecentEntries(f), (QStringList{"&1: " + a, "&2: " + gone, "-"}));

  const QList<QAction*> items = f.Actions->Menu(TMenuId::File)->actions();
  QAction* first = items[items.indexOf(f.RecentSeparator) + 1];
  QAction* second = items[items.indexOf(f.RecentSeparator) + 2];
  f.FileCommands->QuickOpenClick(first);
  ASSERT_EQ(f.Documents().size(), 1);
  EXPECT_EQ(f.Documents()[0]->FileName, a);
  EXPECT_EQ(f.Documents()[0]->Diagram.Count(), 2);
  // Quick open does not look for a window that shows the file already.
  f.FileCommands->QuickOpenClick(first);
  EXPECT_EQ(f.Documents().size(), 2);

  f.FileCommands->QuickOpenClick(second);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.Documents().size(), 2);
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Text, "Can not load file");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Warning);
  EXPECT_EQ(f.AppState.RecentFiles, QStringList{a});
  EXPECT_EQ(RecentEntries(f), (QStringList{"&1: " + a, "-"}));
}

TEST(MainForm, UserBlocksBesideTheProgramMakeToolbarButtonsAndListingImages) {
  Fixture fx;
  {
    TUserBlockList list;
    list.Add(MakeUserBlock("Triangle", 1, 2));
    list.Add(MakeUserBlock("Arrow", 3, 4));
    ASSERT_TRUE(list.SaveToFile(QFile::encodeName(fx.Path("UserBlock.blu")).toStdString()));
  }
  TMainForm f(fx.Options());
  ASSERT_EQ(f.AppState.UserBlocks.Count(), 2);
  const QList<QAction*> buttons = f.UserBlocksToolbar->actions();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_EQ(buttons[1]->toolTip(), "Arrow");
  EXPECT_EQ(buttons[1]->data().toInt(), 21);
  EXPECT_EQ(buttons[1]->actionGroup(), f.ToolGroup);
  EXPECT_EQ(f.ListingImages.size(), 17);
  EXPECT_EQ(f.UserBlocksToolbar->ToolbarImages.size(), 2);
  buttons[1]->trigger();
  EXPECT_EQ(f.AppState.CurrentTool, TTool::CreateBlock);
  EXPECT_EQ(f.AppState.NewBlockKind, 16);
  EXPECT_TRUE(buttons[1]->isChecked());

  // The toolbar shows only while a document is open.
  EXPECT_TRUE(f.UserBlocksToolbar->isHidden());
  const QString file = fx.Path("d.fgd");
  WriteDiagram(file);
  f.OpenDocument(file);
  EXPECT_FALSE(f.UserBlocksToolbar->isHidden());

  // Deleting one and rebuilding leaves every remaining block its own image.
  f.AppState.UserBlocks.Delete(0);
  f.UserBlocksToolbar->RebuildUserBlockToolbar();
  EXPECT_EQ(f.UserBlocksToolbar->actions().size(), 1);
  EXPECT_EQ(f.UserBlocksToolbar->actions()[0]->toolTip(), "Arrow");
  EXPECT_EQ(f.UserBlocksToolbar->actions()[0]->data().toInt(), 20);
  EXPECT_EQ(f.ListingImages.size(), 16);
}

TEST(MainForm, AFileWithItsOwnUserBlocksRebuildsTheToolbar) {
  Fixture fx;
  const std::unique_ptr<TUserBlock> ub = MakeUserBlock("Flag", 9, 9);
  const QString file = fx.Path("own.fgd");
  WriteDiagram(file, 1, ub.get());
  TMainForm f(fx.Options());
  ASSERT_EQ(f.AppState.UserBlocks.Count(), 0);
  ASSERT_NE(f.OpenDocument(file), nullptr);
  EXPECT_EQ(f.AppState.UserBlocks.Count(), 1);
  ASSERT_EQ(f.UserBlocksToolbar->actions().size(), 1);
  EXPECT_EQ(f.UserBlocksToolbar->actions()[0]->toolTip(), "Flag");
  EXPECT_EQ(f.ListingImages.size(), 16);
}

TEST(MainForm, ListingPanelFollowsTheActiveDocument) {
  Fixture fx;
  const QString a = fx.Path("a.fgd"), b = fx.Path("b.fgd");
  WriteDiagram(a, 3);
  WriteDiagram(b, 1);
  TMainForm f(fx.Options());
  f.Actions->Action(TCommand::Listing)->trigger();
  EXPECT_FALSE(f.ListingPanel->isHidden());
  f.OpenDocument(a);
  ASSERT_EQ(f.ListingPanel->topLevelItemCount(), 3);
  EXPECT_EQ(f.ListingPanel->topLevelItem(0)->text(0), "block 0");
  EXPECT_EQ(f.ListingPanel->topLevelItem(1)->text(1), "(110, 10)");
  EXPECT_EQ(f.ListingPanel->topLevelItem(1)->text(2), "(80, 20)");
  f.OpenDocument(b);
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 1);
  f.MdiArea->setActiveSubWindow(f.SubWindowOf(f.Documents()[0]));
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 3);

  // A document in the background that changes or goes away leaves the rows
  // of the active one alone.
  TChildD* background = f.Documents()[1];
  background->Diagram.LoadFromFile(QFile::encodeName(a).toStdString());
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 3);
  background->Diagram.Clear();
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 3);
  delete f.SubWindowOf(background);
  EXPECT_EQ(f.ListingPanel->topLevelItemCount(), 3);
  EXPECT_EQ(f.ListingPanel->ObjectOfRow(2), f.Documents()[0]->Diagram.GetObj(2));
}

TEST(MainForm, SettingsAreReadAtStartAndWrittenAtExit) {
  Fixture fx;
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    // FullWind absent: the stored geometry is not applied.
    s.setValue("TWind", 5);
    s.setValue("LWind", 6);
    s.setValue("HWind", 300);
    s.setValue("WWind", 500);
    s.setValue("StandDock", 7);  // no such dock: the toolbar stays where it is
    s.setValue("SpecDock", 1);
    s.setValue("SpecRow", 1);
    s.setValue("SpecPos", 0);
    s.setValue("BackGround", int(ColorToStore(255, 255, 224)));
    s.setValue("ListEnable", true);
    s.setValue("GridEnable", true);
    s.setValue("Path", "/srv/diagrams/");
    for (int i = 1; i <= 6; ++i) s.setValue(QString("Files/%1").arg(i), QString("/f%1.fgd").arg(i));
    s.setValue("StandSize/EllipseX", 120);
    s.setValue("StandSize/EllipseY", 60);
  }
  {
    TMainForm f(fx.Options());
    EXPECT_EQ(f.size(), QSize(630, 377));
    EXPECT_EQ(f.toolBarArea(f.StandardToolbar), Qt::TopToolBarArea);
    EXPECT_EQ(f.toolBarArea(f.SpecialToolbar), Qt::TopToolBarArea);
    EXPECT_EQ(f.AppState.BackgroundColor, QColor(255, 255, 224));
    EXPECT_FALSE(f.ListingPanel->isHidden());
    EXPECT_TRUE(f.Actions->Action(TCommand::Listing)->isChecked());
    EXPECT_TRUE(f.Actions->Action(TCommand::Grid)->isChecked());
    EXPECT_EQ(f.AppState.LastDirectory, "/srv/diagrams/");
    EXPECT_EQ(f.AppState.RecentFiles.size(), 5);
    EXPECT_EQ(f.AppState.StandardBlockSizes[1], (std::pair{120, 60}));
    EXPECT_EQ(f.AppState.StandardBlockSizes[0], (std::pair{80, 20}));
    // A new document takes the colour and the grid switch.
    const QString file = fx.Path("g.fgd");
    WriteDiagram(file);
    TChildD* d = f.OpenDocument(file);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->ShowGrid);
    EXPECT_EQ(d->Color(), QColor(255, 255, 224));
    f.AppState.BackgroundColor = QColor(1, 2, 3);
    f.Actions->Action(TCommand::Grid)->setChecked(false);
  }
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  EXPECT_EQ(s.value("FullWind").toString(), "false");
  EXPECT_EQ(s.value("WWind").toInt(), 630);
  EXPECT_EQ(s.value("StandDock").toInt(), 1);
  EXPECT_EQ(s.value("SpecDock").toInt(), 1);
  EXPECT_EQ(s.value("BackGround").toInt(), 0x030201);
  EXPECT_EQ(s.value("GridEnable").toString(), "false");
  EXPECT_EQ(s.value("ListEnable").toString(), "true");
  s.beginGroup("Files");
  const QStringList keys = s.childKeys();
  EXPECT_EQ(keys, (QStringList{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(s.value("1").toString(), fx.Path("g.fgd"));  // the opened file comes first
  s.endGroup();
  EXPECT_EQ(s.value("StandSize/EllipseX").toInt(), 120);
  EXPECT_EQ(s.value("StandSize/PageY").toInt(), 20);
}

TEST(MainForm, StoredGeometryIsAppliedWhenNotMaximised) {
  Fixture fx;
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    s.setValue("FullWind", false);
    s.setValue("HWind", 333);
    s.setValue("WWind", 555);
  }
  TMainForm f(fx.Options());
  EXPECT_EQ(f.size(), QSize(555, 333));
}

TEST(MainForm, ClosingAsksEveryModifiedDocumentAndCancelKeepsRunning) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* a = f.CreateDocument("one");
  TChildD* b = f.CreateDocument("two");
  a->Modified = true;
  b->Modified = true;
  fx.q.Answers = {QMessageBox::No, QMessageBox::Cancel};
  EXPECT_FALSE(f.close());
  ASSERT_EQ(fx.q.Log.size(), 2u);
  EXPECT_EQ(fx.q.Log[0].Text, "Save changes into one?");
  EXPECT_EQ(fx.q.Log[1].Text, "Save changes into two?");
  EXPECT_EQ(f.Documents().size(), 2);
  fx.q.Answers = {QMessageBox::No, QMessageBox::No};
  EXPECT_TRUE(f.close());
}

TEST(MainForm, LoadFileOpensInTheMainWindow) {
  Fixture fx;
  const QString a = fx.Path("via-load-file.fgd");
  WriteDiagram(a);
  TMainForm f(fx.Options());
  MainFormLoadFile(QFile::encodeName(a).constData());
  EXPECT_EQ(Titles(f), QStringList{a});
  MainFormLoadFile(nullptr);
  EXPECT_EQ(f.Documents().size(), 1);
}

TEST(FileAssociation, WritesTheMimeTypeAndDesktopEntryForTheUser) {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  ASSERT_TRUE(data.startsWith(TGuiEnvironment::Home->path()));
  ASSERT_TRUE(WriteFileAssociation("/opt/q v/quorvalin"));
  QFile mime(data + "/mime/packages/quorvalin-diagram.xml");
  ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
  const QByteArray m = mime.readAll();
  EXPECT_TRUE(m.contains("type=\"application/x-quorvalin-diagram\""));
  EXPECT_TRUE(m.contains("pattern=\"*.fgd\""));
  EXPECT_TRUE(m.contains("Block diagram file"));
  QFile desktop(data + "/applications/quorvalin.desktop");
  ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
  const QByteArray d = desktop.readAll();
  EXPECT_TRUE(d.contains("Exec=\"/opt/q v/quorvalin\" %F\n"));
  EXPECT_TRUE(d.contains("MimeType=application/x-quorvalin-diagram;"));
  EXPECT_TRUE(WriteFileAssociation("/opt/q v/quorvalin"));  // again: unchanged, still fine
}

TEST(MainForm, ToolbarPlacementRoundTripAndOffScreenPositionsAreIgnored) {
  Fixture fx;
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
    s.setValue("SpecDock", 0);  // floating at (60, 50)
    s.setValue("SpecRow", 50);
    s.setValue("SpecPos", 60);
    s.setValue("AlignDock", 4);
    s.setValue("AlignVis", true);
    s.setValue("UBDock", 0);  // floating far outside every screen: ignored
    s.setValue("UBRow", -40000 + 8000);
    s.setValue("UBPos", 30000);
  }
  {
    TMainForm f(fx.Options());
    EXPECT_TRUE(f.SpecialToolbar->isWindow());
    EXPECT_EQ(f.SpecialToolbar->pos(), QPoint(60, 50));
    EXPECT_EQ(f.toolBarArea(f.AlignToolbar), Qt::RightToolBarArea);
    EXPECT_FALSE(f.AlignToolbar->isHidden());
    EXPECT_FALSE(f.UserBlocksToolbar->isWindow());
    EXPECT_EQ(f.toolBarArea(f.UserBlocksToolbar), Qt::BottomToolBarArea);
  }
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  EXPECT_EQ(s.value("SpecDock").toInt(), 0);
  EXPECT_EQ(s.value("SpecRow").toInt(), 50);
  EXPECT_EQ(s.value("SpecPos").toInt(), 60);
  EXPECT_EQ(s.value("AlignDock").toInt(), 4);
  EXPECT_EQ(s.value("AlignVis").toString(), "true");
  EXPECT_EQ(s.value("UBDock").toInt(), 2);
  EXPECT_EQ(s.value("StandDock").toInt(), 1);
}

TEST(MainForm, ListingSplitterIsShownExactlyWithThePanel) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  EXPECT_TRUE(f.Splitter->handle(1)->isHidden());
  f.Actions->Action(TCommand::Listing)->trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.ListingPanel->isVisible());
  EXPECT_FALSE(f.Splitter->handle(1)->isHidden());
  EXPECT_EQ(f.ListingPanel->columnCount(), 3);
  EXPECT_EQ(f.ListingPanel->headerItem()->text(2), "Size");
  f.Actions->Action(TCommand::Listing)->trigger();
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.Splitter->handle(1)->isHidden());
}

TEST(MainForm, StatusBarShowsPanelsForDocumentsAndHintsOverTheListing) {
  Fixture fx;
  TMainForm f(fx.Options());
  EXPECT_TRUE(f.StatusBar->StatusSimple);
  TChildD* d = f.CreateDocument("x");
  d->FormMouseMove(Qt::NoButton, Qt::NoModifier, 10, 6);
  EXPECT_FALSE(f.StatusBar->StatusSimple);
  EXPECT_EQ(f.StatusBar->StatusPanels[0]->text(), "(5, 3)");
  EXPECT_FALSE(f.StatusBar->StatusPanels[0]->isHidden());
  emit f.ListingPanel->MouseEntered();
  EXPECT_TRUE(f.StatusBar->StatusSimple);
  EXPECT_TRUE(f.StatusBar->StatusPanels[0]->isHidden());

  // A real mouse move over the shown document reaches the same handler.
  f.show();
  QCoreApplication::processEvents();
  QTest::mouseMove(d, QPoint(30, 14));
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.StatusBar->StatusSimple);
  EXPECT_EQ(f.StatusBar->StatusPanels[0]->text(), "(15, 7)");
}

TEST(MainForm, ClosingADocumentWindowAsksAndCancelKeepsIt) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  d->Modified = true;
  fx.q.Answers = {QMessageBox::Cancel};
  EXPECT_FALSE(f.SubWindowOf(d)->close());
  QCoreApplication::processEvents();
  ASSERT_EQ(f.Documents().size(), 1);
  fx.q.Answers = {QMessageBox::No};
  EXPECT_TRUE(f.SubWindowOf(d)->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.Documents().isEmpty());
}

TEST(MainForm, TheManualIsFound) {
  Fixture fx;
  TMainForm f(fx.Options());
  // The manual is looked for beside the program and where QUORVALIN_MANUAL
  // points; the test program lies elsewhere.
  EXPECT_TRUE(f.HelpCommands->HelpFile().isEmpty());
  qputenv("QUORVALIN_MANUAL", QV_MANUAL);
  const QString help = f.HelpCommands->HelpFile();
  qunsetenv("QUORVALIN_MANUAL");
  ASSERT_FALSE(help.isEmpty());
  EXPECT_TRUE(help.endsWith("/index.html"));
  QFile file(help);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("Block-diagram editor"));
}
