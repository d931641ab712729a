// The user block list window, opened from the main window's "User blocks
// list" command and driven through scripted dialogs.

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>
#include <functional>

#include "app/actions.h"
#include "app/commands/userblockcommands.h"
#include "app/dialogs/ublview.h"
#include "app/userblockfiles.h"
#include "app/userblocktoolbar.h"
#include "apptestutil.h"
#include "editor/childd.h"
#include "model/stream.h"

namespace {

// User block i of a test list: named "B<i>", key ids (100 + i, 7), and a tool
// image whose column i alone is black, so that every block's picture differs.
std::unique_ptr<TUserBlock> Numbered(int i) {
  auto b = MakeUserBlock("B" + std::to_string(i), uint32_t(100 + i), 7);
  b->ToolImage = {};
  b->ToolImage[size_t(i)] = 0xFFFF;
  return b;
}

void WriteBlu(const QString& path, std::initializer_list<int> numbers) {
  TUserBlockList list;
  for (int i : numbers) list.Add(Numbered(i));
  std::string error;
  ASSERT_TRUE(list.SaveToFile(QFile::encodeName(path).toStdString(), &error)) << error;
}

std::vector<std::string> NamesIn(const QString& bluFile) {
  TUserBlockList list;
  EXPECT_TRUE(list.LoadFromFile(QFile::encodeName(bluFile).toStdString()));
  std::vector<std::string> names;
  for (int n = 0; n < list.Count(); ++n) names.push_back(list.GetBlock(n)->Name);
  return names;
}

std::vector<std::string> NamesIn(const TUserBlockList& list) {
  std::vector<std::string> names;
  for (int n = 0; n < list.Count(); ++n) names.push_back(list.GetBlock(n)->Name);
  return names;
}

// The one column of a 16x16 picture that is black from top to bottom, or -1.
int BlackColumn(const QIcon& icon) {
  const QImage img = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
  int found = -1;
  for (int x = 0; x < 16; ++x) {
    bool black = true;
    for (int y = 0; y < 16; ++y) black = black && IsBlack(img, x, y) && qAlpha(img.pixel(x, y)) > 0;
    if (black) {
      if (found >= 0) return -2;  // more than one: not a picture of this test
      found = x;
    }
  }
  return found;
}

QStringList RowTexts(const TUBLView& v, int column) {
  QStringList out;
  for (int n = 0; n < v.ListView1->topLevelItemCount(); ++n)
    out << v.ListView1->topLevelItem(n)->text(column);
  return out;
}

void SelectRows(TUBLView& v, std::initializer_list<int> rows) {
  v.ListView1->clearSelection();
  for (int n : rows) v.ListView1->topLevelItem(n)->setSelected(true);
}

// A program folder with a "UserBlock.blu" of the numbered blocks, a per-user
// folder of its own, and the main window on both.
struct WindowFixture : Fixture {
  std::unique_ptr<TMainForm> form;
  explicit WindowFixture(std::initializer_list<int> numbers = {0, 1, 2}) {
    if (numbers.size() > 0) WriteBlu(Path("UserBlock.blu"), numbers);
    form = std::make_unique<TMainForm>(WindowOptions());
  }
  TMainForm::TOptions WindowOptions() const {
    TMainForm::TOptions o = Options();
    o.UserDataDir = Path("userdata");
    return o;
  }
  TUserBlockList& Blocks() { return form->AppState.UserBlocks; }
  TUBLView& View() { return *form->UserBlockCommands->UBLView; }
  // Opens the window through the menu command; the script drives it and
  // should close it.
  void Open(const std::function<void(TUBLView&)>& script) {
    q.ModalScript = [script](QDialog* d) { script(*static_cast<TUBLView*>(d)); };
    form->Actions->Action(TCommand::UserBlocksList)->trigger();
    q.ModalScript = nullptr;
  }
  QList<QAction*> Buttons() const { return form->UserBlocksToolbar->actions(); }
};

}  // namespace

TEST(UserBlockWindow, ShowsEveryUserBlockWithItsKeyAndImage) {
  WindowFixture fx;
  ASSERT_TRUE(fx.form->Actions->Action(TCommand::UserBlocksList)->isEnabled());
  bool shown = false;
  fx.Open([&](TUBLView& v) {
    shown = v.isVisible();
    EXPECT_EQ(v.windowTitle(), "List of user blocks");
    EXPECT_EQ(v.size(), QSize(264, 375));
    EXPECT_FALSE(v.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(v.ListView1->headerItem()->text(0), "Name");
    EXPECT_EQ(v.ListView1->headerItem()->text(1), "ID");
    EXPECT_EQ(v.ListView1->columnWidth(0), 100);
    EXPECT_EQ(v.ListView1->columnWidth(1), 150);
    EXPECT_EQ(v.ListView1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(v.ListView1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B1", "B2"}));
    EXPECT_EQ(RowTexts(v, 1),
              QStringList({"00000007-00000064", "00000007-00000065", "00000007-00000066"}));
    for (int n = 0; n < 3; ++n) EXPECT_EQ(BlackColumn(v.ListView1->topLevelItem(n)->icon(0)), n);
    // The pop-up menu, captions as the program shows them.
    QStringList entries;
    for (QAction* a : v.PopupMenu1->actions()) entries << a->text();
    EXPECT_EQ(entries, QStringList({"Import block", "Delete block", "Save list of block ",
                                    "Export blocks to binary file"}));
    EXPECT_EQ(v.Importblock1->actions().value(0)->text(), "from text file");
    EXPECT_EQ(v.Importblock1->actions().value(1)->text(), "from binary file");
    EXPECT_EQ(v.Deleteblock1->shortcut(), QKeySequence(Qt::Key_Delete));
    v.close();
  });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(fx.q.Log.empty());  // nothing changed, nothing asked
  EXPECT_EQ(fx.q.ModalForms, QStringList({"UBLView"}));

  // A second opening shows the list as it is then, not as it was.
  fx.Blocks().Add(Numbered(5));
  fx.Open([](TUBLView& v) {
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B1", "B2", "B5"}));
    v.close();
  });
}

TEST(UserBlockWindow, RefusesToDeleteWhileDocumentsAreOpen) {
  for (int documents : {1, 2}) {
    SCOPED_TRACE(documents);
    WindowFixture fx;
    for (int d = 0; d < documents; ++d) fx.form->CreateDocument(QStringLiteral("doc%1").arg(d));
    fx.Open([&](TUBLView& v) {
      SelectRows(v, {1});
      v.Deleteblock1->trigger();
      EXPECT_EQ(v.ListView1->topLevelItemCount(), 3);
      EXPECT_FALSE(v.Modified);
      v.close();
    });
    ASSERT_EQ(fx.q.Log.size(), 1u);
    EXPECT_EQ(fx.q.Log[0].Text, "Can not delete user blocks while blockdiagram open to edit");
    EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor");
    EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Information);
    EXPECT_EQ(fx.q.Log[0].Buttons, QMessageBox::Ok);
    EXPECT_EQ(NamesIn(fx.Blocks()), (std::vector<std::string>{"B0", "B1", "B2"}));
    EXPECT_EQ(fx.Buttons().size(), 3);
  }
}

TEST(UserBlockWindow, DeletingMovesTheLaterRowsUpAndKeepsEveryImage) {
  WindowFixture fx({0, 1, 2, 3});
  fx.Open([&](TUBLView& v) {
    // Without a selection the command does nothing.
    v.ListView1->clearSelection();
    v.Deleteblock1->trigger();
    EXPECT_EQ(v.ListView1->topLevelItemCount(), 4);
    EXPECT_FALSE(v.Modified);

    SelectRows(v, {1});
    v.Deleteblock1->trigger();
    EXPECT_TRUE(v.Modified);
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B2", "B3"}));
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(BlackColumn(v.ListView1->topLevelItem(n)->icon(0)), n == 0 ? 0 : n + 1) << n;
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  EXPECT_EQ(NamesIn(fx.Blocks()), (std::vector<std::string>{"B0", "B2", "B3"}));
  // Each remaining block shows its own picture in the listing (image 15 + n)
  // and on its button, and its button creates it.
  const QList<QAction*> buttons = fx.Buttons();
  ASSERT_EQ(buttons.size(), 3);
  ASSERT_EQ(fx.form->ListingImages.size(), bkUserFirst + 3);
  const int expected[] = {0, 2, 3};
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(BlackColumn(fx.form->ListingImages[bkUserFirst + n]), expected[n]);
    EXPECT_EQ(BlackColumn(buttons[n]->icon()), expected[n]);
    EXPECT_EQ(buttons[n]->toolTip(), QString::fromStdString(fx.Blocks().GetBlock(n)->Name));
    EXPECT_EQ(buttons[n]->data().toInt(), n + 20);
  }
  // The file keeps its old content: the user said No.
  EXPECT_EQ(NamesIn(fx.Path("UserBlock.blu")), (std::vector<std::string>{"B0", "B1", "B2", "B3"}));
}

TEST(UserBlockWindow, ThreeSelectedRowsDeleteOneAndExportThree) {
  WindowFixture fx({0, 1, 2, 3});
  fx.q.SaveAnswer = fx.Path("chosen");  // typed without an extension
  fx.Open([&](TUBLView& v) {
    SelectRows(v, {3, 1, 2});
    v.Exportblockstobinaryfile1->trigger();
    EXPECT_EQ(fx.q.LastFilter, "Binary files (*.blu);;All files (*.*)");
    EXPECT_EQ(fx.q.LastDir, fx.form->AppState.LastDirectory);
    EXPECT_FALSE(v.Modified);  // exporting changes nothing

    SelectRows(v, {3, 1, 2});
    v.Deleteblock1->trigger();
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B2", "B3"}));
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  EXPECT_FALSE(QFileInfo::exists(fx.Path("chosen")));
  EXPECT_EQ(NamesIn(fx.Path("chosen.blu")), (std::vector<std::string>{"B1", "B2", "B3"}));

  // Without a selection nothing is exported; a cancelled dialog writes nothing.
  fx.q.SaveAnswer = fx.Path("other.blu");
  fx.Open([&](TUBLView& v) {
    v.ListView1->clearSelection();
    v.Exportblockstobinaryfile1->trigger();
    fx.q.SaveAnswer.clear();
    SelectRows(v, {0});
    v.Exportblockstobinaryfile1->trigger();
    v.close();
  });
  EXPECT_FALSE(QFileInfo::exists(fx.Path("other.blu")));
}

TEST(UserBlockWindow, ClosingAsksOnlyAboutUnsavedChanges) {
  WindowFixture fx;
  // Saved, then closed: no question, and the file holds the list.
  bool closed = false;
  fx.Open([&](TUBLView& v) {
    SelectRows(v, {0});
    v.Deleteblock1->trigger();
    v.Savelistofblock1->trigger();
    EXPECT_FALSE(v.Modified);
    closed = v.close();
  });
  EXPECT_TRUE(closed);
  EXPECT_TRUE(fx.q.Log.empty());
  EXPECT_EQ(NamesIn(fx.Path("UserBlock.blu")), (std::vector<std::string>{"B1", "B2"}));

  // Modified: Cancel keeps the window open, Yes saves and closes.
  fx.Open([&](TUBLView& v) {
    EXPECT_FALSE(v.Modified);  // cleared by the command before showing
    SelectRows(v, {0});
    v.Deleteblock1->trigger();
    fx.q.Answers = {QMessageBox::Cancel};
    EXPECT_FALSE(v.close());
    EXPECT_TRUE(v.isVisible());
    fx.q.Answers = {QMessageBox::Yes};
    EXPECT_TRUE(v.close());
  });
  ASSERT_EQ(fx.q.Log.size(), 2u);
  EXPECT_EQ(fx.q.Log[0].Text, "List of users blocks was modified. Do you want to save change?");
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Information);
  EXPECT_EQ(fx.q.Log[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(NamesIn(fx.Path("UserBlock.blu")), (std::vector<std::string>{"B2"}));
  // The Esc key closes through the same question.
  fx.q.Log.clear();
  fx.Open([&](TUBLView& v) {
    SelectRows(v, {0});
    v.Deleteblock1->trigger();
    fx.q.Answers = {QMessageBox::No};
    v.reject();
    EXPECT_FALSE(v.isVisible());
  });
  EXPECT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.Blocks().Count(), 0);  // the change stays in the running program
  EXPECT_EQ(NamesIn(fx.Path("UserBlock.blu")), (std::vector<std::string>{"B2"}));
}

TEST(UserBlockWindow, ImportingTheSameBinaryFileTwiceAddsItsBlocksOnce) {
  WindowFixture fx({0});
  WriteBlu(fx.Path("more.blu"), {0, 4, 5});
  fx.q.OpenAnswer = {fx.Path("more.blu")};
  fx.Open([&](TUBLView& v) {
    v.frombinaryfile1->trigger();
    EXPECT_EQ(fx.q.LastFilter, "Binary files (*.blu);;All files (*.*)");
    EXPECT_EQ(fx.q.LastDir, fx.form->AppState.LastDirectory);
    v.frombinaryfile1->trigger();
    EXPECT_TRUE(v.Modified);
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B4", "B5"}));
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  EXPECT_EQ(NamesIn(fx.Blocks()), (std::vector<std::string>{"B0", "B4", "B5"}));
  ASSERT_EQ(fx.Buttons().size(), 3);
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(BlackColumn(fx.Buttons()[n]->icon()), n == 0 ? 0 : n + 3);
    EXPECT_EQ(BlackColumn(fx.form->ListingImages[bkUserFirst + n]), n == 0 ? 0 : n + 3);
  }

  // A file that cannot be read is reported and changes nothing.
  fx.q.Log.clear();
  fx.q.OpenAnswer = {fx.Path("missing.blu")};
  fx.Open([&](TUBLView& v) {
    v.frombinaryfile1->trigger();
    EXPECT_FALSE(v.Modified);
    v.close();
  });
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Critical);
  EXPECT_TRUE(fx.q.Log[0].Text.contains("missing.blu")) << fx.q.Log[0].Text.toStdString();
  EXPECT_EQ(fx.Blocks().Count(), 3);
}

namespace {
// A description with a tool image from a stand-in loader: column 9 black.
TUserBlockImportEnv FixedImportEnv() {
  TUserBlockImportEnv env;
  env.Clock = [] { return TImportClock{2026, 12, 8, 1, 2, 3, 0}; };
  env.Random = [](uint32_t) { return 0u; };
  env.LoadToolImage = [](const std::string&, TToolImageSource& image, std::string*) {
    image.Width = image.Height = 16;
    image.PixelRgb = [](int x, int) { return x == 9 ? 0x000000u : 0xFFFFFFu; };
    return true;
  };
  return env;
}

void WriteText(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}
}  // namespace

TEST(UserBlockWindow, ImportsATextDescriptionAsANewToolOrChangesNothing) {
  WindowFixture fx({0, 1});
  WriteText(fx.Path("arrow.txt"), "Arrow\n0,0; 100,50 ;0,100\n 10,10,60,90\narrow.bmp\n");
  WriteText(fx.Path("bad.txt"), "Bad\n0,0;100,50;0,100;\n10,10,60,90\nbad.bmp\n");
  fx.q.OpenAnswer = {fx.Path("bad.txt")};
  fx.Open([&](TUBLView& v) {
    v.ImportEnv = FixedImportEnv();
    v.fromtextfile1->trigger();
    EXPECT_EQ(fx.q.LastFilter, "Text files (*.txt);;All files (*.*)");
    EXPECT_EQ(fx.q.LastDir, fx.form->AppState.LastDirectory);
    EXPECT_FALSE(v.Modified);
    EXPECT_EQ(v.ListView1->topLevelItemCount(), 2);

    fx.q.OpenAnswer = {fx.Path("arrow.txt")};
    v.fromtextfile1->trigger();
    EXPECT_TRUE(v.Modified);
    EXPECT_EQ(RowTexts(v, 0), QStringList({"B0", "B1", "Arrow"}));
    EXPECT_EQ(RowTexts(v, 1).value(2),
              QString::fromStdString(
                  TUserBlock::KeyOf(UserBlockId1(TImportClock{2026, 12, 8, 1, 2, 3, 0}), 0)));
    EXPECT_EQ(BlackColumn(v.ListView1->topLevelItem(2)->icon(0)), 9);
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  ASSERT_GE(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Text, "'' is not a valid integer value");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Critical);
  ASSERT_EQ(fx.Buttons().size(), 3);
  EXPECT_EQ(BlackColumn(fx.Buttons()[2]->icon()), 9);
  EXPECT_EQ(fx.Buttons()[2]->toolTip(), "Arrow");
  EXPECT_EQ(BlackColumn(fx.form->ListingImages[bkUserFirst + 2]), 9);
}

TEST(UserBlockWindow, TheCreateBlockToolFollowsItsUserBlock) {
  WindowFixture fx({0, 1, 2});
  fx.Buttons()[2]->trigger();  // create user block B2
  ASSERT_EQ(fx.form->AppState.NewBlockKind, bkUserFirst + 2);
  fx.Open([&](TUBLView& v) {
    SelectRows(v, {0});
    v.Deleteblock1->trigger();
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  // B2 moved up to position 1: the tool creates it still, its button pressed.
  EXPECT_EQ(fx.form->AppState.CurrentTool, TTool::CreateBlock);
  EXPECT_EQ(fx.form->AppState.NewBlockKind, bkUserFirst + 1);
  EXPECT_TRUE(fx.Buttons()[1]->isChecked());

  fx.Open([&](TUBLView& v) {
    SelectRows(v, {1});
    v.Deleteblock1->trigger();
    fx.q.Answers = {QMessageBox::No};
    v.close();
  });
  // Its block is gone: the select tool takes over.
  EXPECT_EQ(fx.form->AppState.CurrentTool, TTool::Select);
  EXPECT_TRUE(fx.form->Actions->Action(TCommand::ToolSelect)->isChecked());
}

TEST(UserBlockWindow, SavingWhereTheProgramFolderIsNotWritableOffersTheUserFolder) {
  Fixture fx;
  // A program folder below a plain file cannot be written, not even by root.
  WriteText(fx.Path("plainfile"), "x");
  TMainForm::TOptions o = fx.Options();
  o.ProgramDir = fx.Path("plainfile/program");
  o.UserDataDir = fx.Path("userdata");
  const QString perUser = fx.Path("userdata/UserBlock.blu");
  {
    TMainForm form(o);
    form.AppState.UserBlocks.Add(Numbered(3));
    TUBLView& v = *form.UserBlockCommands->UBLView;
    // Declined: nothing written, the change still unsaved, the window open.
    fx.q.ModalScript = [&](QDialog*) {
      v.Modified = true;
      fx.q.Answers = {QMessageBox::Yes, QMessageBox::No};
      EXPECT_FALSE(v.close());
      EXPECT_TRUE(v.Modified);
      fx.q.Answers = {QMessageBox::Yes};  // to the offer this time
      v.Savelistofblock1->trigger();
      EXPECT_FALSE(v.Modified);
      EXPECT_TRUE(v.close());
    };
    form.Actions->Action(TCommand::UserBlocksList)->trigger();
    fx.q.ModalScript = nullptr;
  }
  ASSERT_EQ(fx.q.Log.size(), 3u);
  EXPECT_EQ(fx.q.Log[1].Buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_TRUE(fx.q.Log[1].Text.contains(QDir::toNativeSeparators(perUser)));
  EXPECT_EQ(NamesIn(perUser), (std::vector<std::string>{"B3"}));

  // The next start reads the user's list before the program's.
  o.ProgramDir = fx.Path("program");
  QDir().mkpath(o.ProgramDir);
  WriteBlu(fx.Path("program/UserBlock.blu"), {0, 1});
  {
    TMainForm form(o);
    EXPECT_EQ(NamesIn(form.AppState.UserBlocks), (std::vector<std::string>{"B3"}));
    // and saves where it read.
    form.AppState.UserBlocks.Add(Numbered(4));
    EXPECT_TRUE(form.UserBlockCommands->UBLView->Savelistofblock1Click());
  }
  EXPECT_EQ(NamesIn(perUser), (std::vector<std::string>{"B3", "B4"}));
  EXPECT_EQ(NamesIn(fx.Path("program/UserBlock.blu")), (std::vector<std::string>{"B0", "B1"}));
}
