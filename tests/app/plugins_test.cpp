// Import plug-ins: which libraries of the plugin folder are bound, in which
// order, what is called, the File > Import entries and unloading.
#include <dlfcn.h>

#include <QAction>
#include <QMenu>

#include "../editor/guitestenv.h"
#include "app/actions.h"
#include "app/importmenu.h"
#include "app/mainform.h"
#include "app/pluginlist.h"
#include "apptestutil.h"
#include "editor/childd.h"

// The editor's exported LoadFile, as the test plug-ins find it in this
// program.
extern "C" __attribute__((visibility("default"))) void LoadFile(const char* fileName) {
  MainFormLoadFile(fileName);
}

namespace {

const QString TestPlugins = QStringLiteral(QV_TEST_PLUGIN_DIR);

// Copies the test plug-in `variant` into folder under the name `as`.
void PutPlugIn(const QString& folder, const QString& variant, const QString& as) {
  QDir().mkpath(folder);
  ASSERT_TRUE(QFile::copy(TestPlugins + "/qv_testplugin_" + variant + ".so", folder + "/" + as))
      << variant.toStdString();
}

void PutFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

bool IsLoaded(const QString& path) {
  void* h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

template <typename F>
F Entry(const TPlugIn& p, const char* name) {
  return reinterpret_cast<F>(dlsym(p.Handle, name));
}

}  // namespace

TEST(PlugInList, BindsGoodLibrariesInFolderOrderAndSkipsTheOthersWithALogLine) {
  QTemporaryDir dir;
  const QString folder = dir.path() + "/plugin";
  PutPlugIn(folder, "good", "a.so");
  PutPlugIn(folder, "nohint", "b.so");
  PutFile(folder + "/c.so", "this is no library");
  PutPlugIn(folder, "second", "d.so.old");
  PutPlugIn(folder, "good", "readme.txt");
  PutPlugIn(folder + "/more", "good", "e.so");

  // The handle through which a plug-in finds LoadFile (this program's own).
  void* const program = dlopen(nullptr, RTLD_NOW);
  std::vector<std::string> log;
  TPlugInList list;
  list.Load(QFile::encodeName(folder).toStdString(), program, log);

  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items()[0].Name, "Test import");
  EXPECT_EQ(list.Items()[0].Hint, "Test import hint");
  EXPECT_EQ(list.Items()[1].Name, "Second import");
  EXPECT_EQ(list.Items()[1].Hint, "Second import hint");
  EXPECT_EQ(list.Items()[2].Name, "Test import");  // more/e.so, after the folder's own files
  for (const TPlugIn& p : list.Items()) {
    // Init ran once, with the handle the program gave.
    EXPECT_EQ(Entry<int (*)()>(p, "TestPluginInits")(), 1);
    EXPECT_EQ(Entry<void* (*)()>(p, "TestPluginProgram")(), program);
    EXPECT_EQ(Entry<int (*)()>(p, "TestPluginImports")(), 0);
  }

  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find("/b.so"), std::string::npos);
  EXPECT_NE(log[0].find("GetHint"), std::string::npos);
  EXPECT_NE(log[1].find("/c.so"), std::string::npos);
  // The skipped ones are not kept loaded.
  EXPECT_FALSE(IsLoaded(folder + "/b.so"));
  EXPECT_TRUE(IsLoaded(folder + "/a.so"));

  // Choosing an entry calls that plug-in's ImportFiles, and only that one's.
  EXPECT_TRUE(list.Import(1));
  EXPECT_EQ(Entry<int (*)()>(list.Items()[1], "TestPluginImports")(), 1);
  EXPECT_EQ(Entry<int (*)()>(list.Items()[0], "TestPluginImports")(), 0);
  EXPECT_FALSE(list.Import(3));
  EXPECT_FALSE(list.Import(-1));

  list.Unload();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(IsLoaded(folder + "/a.so"));
  EXPECT_FALSE(IsLoaded(folder + "/d.so.old"));
}

TEST(PlugInList, MissingFolderGivesNoPlugInAndNoComplaint) {
  QTemporaryDir dir;
  std::vector<std::string> log;
  TPlugInList list;
  list.Load(QFile::encodeName(dir.path() + "/plugin").toStdString(), nullptr, log);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(log.empty());
}

TEST(ImportMenu, WithoutPlugInsTheSubmenuStaysEnabledAndEmpty) {
  Fixture fx;
  // A library elsewhere (here: the program folder itself) is not looked at.
  PutPlugIn(fx.dir.path(), "good", "beside.so");
  TMainForm f(fx.Options());
  QMenu* import = f.Actions->Menu(TMenuId::Import);
  EXPECT_EQ(import->title(), "Import");
  EXPECT_TRUE(import->menuAction()->isEnabled());
  EXPECT_TRUE(import->menuAction()->isVisible());
  EXPECT_TRUE(import->actions().isEmpty());
  EXPECT_EQ(f.PlugIns->Count(), 0);
}

TEST(ImportMenu, EntryOpensTheFileThroughLoadFileAndTheLibraryGoesWithTheWindow) {
  Fixture fx;
  const QString folder = fx.Path("plugin");
  PutPlugIn(folder, "good", "one.so");
  PutPlugIn(folder, "nohint", "two.so");
  PutPlugIn(folder, "second", "three.so");
  WriteDiagram(fx.Path("in.fgd"), 3);
  {
    TMainForm f(fx.Options());
    QMenu* import = f.Actions->Menu(TMenuId::Import);
    const QList<QAction*> entries = import->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), "Test import");
    EXPECT_EQ(entries[0]->statusTip(), "Test import hint");
    EXPECT_EQ(entries[0]->data().toInt(), 0);
    EXPECT_EQ(entries[1]->text(), "Second import");
    EXPECT_EQ(entries[1]->statusTip(), "Second import hint");
    EXPECT_EQ(entries[1]->data().toInt(), 1);

    const TPlugIn& second = f.PlugIns->Items()[1];
    Entry<void (*)(const char*)>(
        second, "TestPluginSetFile")(QFile::encodeName(fx.Path("in.fgd")).constData());
    EXPECT_TRUE(f.Documents().isEmpty());
    entries[1]->trigger();
    ASSERT_EQ(f.Documents().size(), 1);
    EXPECT_EQ(f.Documents()[0]->Caption(), fx.Canonical("in.fgd"));
    EXPECT_EQ(f.Documents()[0]->Diagram.Count(), 3);
    EXPECT_EQ(Entry<int (*)()>(f.PlugIns->Items()[0], "TestPluginImports")(), 0);
    EXPECT_TRUE(IsLoaded(folder + "/three.so"));
  }
  EXPECT_FALSE(IsLoaded(folder + "/one.so"));
  EXPECT_FALSE(IsLoaded(folder + "/three.so"));
}
