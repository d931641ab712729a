// The document commands of the "&File" menu that reach beyond the window:
// the Open dialog with several files and the Pascal window of "to Pascal".
#include <sys/stat.h>

#include <QAction>
#include <QMenu>

#include "app/actions.h"
#include "app/commands/filecommands.h"
#include "app/commands/pascalexport.h"
#include "app/filenames.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "editor/diagramtext.h"
#include "pascal/gui/customedit.h"
#include "pascal/gui/expform.h"
#include "pascal/pascaltest.h"

TEST(FileDialogs, PairedFiltersBecomeTheDialogsFilters) {
  EXPECT_EQ(DialogFilter("Block-diagram(*.fgd)|*.fgd|All Files|*.*"),
            "Block-diagram (*.fgd);;All Files (*)");
  EXPECT_EQ(DialogFilter("Pictures|*.bmp;*.gif| Text (old) |*.txt"),
            "Pictures (*.bmp *.gif);;Text (*.txt)");
  EXPECT_EQ(DialogFilter("Lonely description"), "");
}

TEST(FileDialogs, OpenLoadsEveryChosenFileInOrderAndRemembersTheFirstFolder) {
  Fixture fx;
  QDir(fx.dir.path()).mkpath("b/c");
  WriteDiagram(fx.Path("b/c/second.fgd"), 3);
  WriteDiagram(fx.Path("b/first.fgd"), 1);
  QFile junk(fx.Path("b/junk.fgd"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a diagram");
  junk.close();
  TMainForm f(fx.Options());
  const QString start = f.AppState.LastDirectory;

  // Cancelled: nothing opens and the folder stays.
  fx.q.OpenAnswer.clear();
  f.Actions->Action(TCommand::Open)->trigger();
  EXPECT_EQ(fx.q.LastDir, start);
  EXPECT_EQ(fx.q.LastFilter, "Block-diagram (*.fgd);;All Files (*)");
  EXPECT_TRUE(f.Documents().isEmpty());
  EXPECT_EQ(f.AppState.LastDirectory, start);

  fx.q.OpenAnswer = {fx.Path("b/c/second.fgd"), fx.Path("b/junk.fgd"), fx.Path("b/first.fgd")};
  f.Actions->Action(TCommand::Open)->trigger();
  const QList<TChildD*> docs = f.Documents();
  ASSERT_EQ(docs.size(), 2);  // the file without a diagram is dropped
  EXPECT_EQ(docs[0]->Caption(), fx.Canonical("b/c/second.fgd"));
  EXPECT_EQ(docs[0]->Diagram.Count(), 3);
  EXPECT_EQ(docs[1]->Caption(), fx.Canonical("b/first.fgd"));
  EXPECT_FALSE(docs[0]->Modified);
  EXPECT_EQ(f.ActiveDocument(), docs[1]);
  EXPECT_EQ(f.AppState.LastDirectory, QFileInfo(fx.Path("b/c")).absoluteFilePath() + "/");
  f.Actions->Action(TCommand::Open)->trigger();
  EXPECT_EQ(fx.q.LastDir, f.AppState.LastDirectory);  // the next dialog starts there
}

TEST(PascalExport, ToPascalShowsTheTranslationModallyWithItsMessagesAsQuestions) {
  Fixture fx;
  TMainForm f(fx.Options());
  QAction* toPascal = f.Actions->Action(TCommand::ExportPascal);
  QMenu* exportMenu = f.Actions->Menu(TMenuId::Export);
  EXPECT_FALSE(toPascal->isEnabled());
  EXPECT_FALSE(exportMenu->menuAction()->isEnabled());
  f.PascalExport->ExportPascal1Click();  // no document: nothing shows
  EXPECT_TRUE(fx.q.ModalForms.isEmpty());

  TChildD* d = f.CreateDocument("doc");
  EXPECT_TRUE(toPascal->isEnabled());
  EXPECT_TRUE(exportMenu->menuAction()->isEnabled());
  TShem& s = d->Diagram;
  TShemObj* begin = Box(s, bkEllipse, 0, "begin");
  TShemObj* say = Box(s, bkSquare, 1, QStringToDiagram("writeln('Привет')"));
  TShemObj* end = Box(s, bkEllipse, 2, "end");
  Flow(s, begin, say);
  Flow(s, say, end);

  QStringList shown;
  bool visible = false;
  fx.q.ModalScript = [&](QDialog* form) {
    visible = form->isVisible();
    shown = f.PascalExport->ExpForm->Memo1->Lines();
  };
  toPascal->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"ExpForm"});
  EXPECT_TRUE(visible);
  EXPECT_EQ(shown, (QStringList{"begin", "  writeln('Привет')", "end;"}));
  EXPECT_TRUE(fx.q.Log.empty());
  EXPECT_FALSE(d->Modified);

  // A diagram the translator refuses: its message is a question captioned
  // "Error" with an exclamation icon.
  TChildD* other = f.CreateDocument("other");
  Box(other->Diagram, bkEllipse, 0, "start");
  toPascal->trigger();
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Text, "Can not find \"begin\"");
  EXPECT_EQ(fx.q.Log[0].Caption, "Error");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Warning);
  EXPECT_EQ(fx.q.ModalForms.size(), 2);
}

TEST(FileDialogs, DevicesPipesAndFoldersAreRefusedWithAReasonWhenOpenedOrSavedTo) {
  Fixture fx;
  const QString fifo = fx.Path("pipe.fgd");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QDir(fx.dir.path()).mkdir("folder.fgd");
  TMainForm f(fx.Options());

  // Opening returns at once (nothing is read from the device or the pipe).
  for (const QString& name : {QString("/dev/zero"), fifo}) {
    fx.q.Log.clear();
    EXPECT_EQ(f.OpenDocument(name), nullptr) << name.toStdString();
    ASSERT_EQ(fx.q.Log.size(), 1u) << name.toStdString();
    EXPECT_TRUE(fx.q.Log[0].Text.contains("is not a regular file"))
        << fx.q.Log[0].Text.toStdString();
    EXPECT_TRUE(f.Documents().isEmpty());
  }

  // Saving there says why and the document stays modified and unnamed.
  f.FileCommands->New1Click();
  TChildD* d = f.ActiveDocument();
  Box(d->Diagram, bkSquare, 0, "kept");
  d->Modified = true;
  for (const QString& name : {fifo, fx.Path("folder.fgd"), QString("/dev/null")}) {
    fx.q.Log.clear();
    fx.q.SaveAnswer = name;
    f.Actions->Action(TCommand::SaveAs)->trigger();
    ASSERT_EQ(fx.q.Log.size(), 1u) << name.toStdString();
    EXPECT_TRUE(fx.q.Log[0].Text.contains("is not a regular file"))
        << fx.q.Log[0].Text.toStdString();
    EXPECT_TRUE(d->Modified);
    EXPECT_TRUE(d->FileName.isEmpty());
  }
  EXPECT_TRUE(QFileInfo(fifo).isReadable() && !QFileInfo(fifo).isFile());
  EXPECT_TRUE(QFileInfo(fx.Path("folder.fgd")).isDir());
  d->Modified = false;
}
