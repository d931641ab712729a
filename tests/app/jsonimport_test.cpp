// The JSON import plug-in that ships with the editor, and the templates that
// ship with it: both as built into bin/.
#include <dlfcn.h>

#include <QAction>
#include <QMenu>

#include "../editor/guitestenv.h"
#include "app/actions.h"
#include "app/mainform.h"
#include "app/pluginlist.h"
#include "app/templatelist.h"
#include "app/templateops.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {

const QString BinDir = QStringLiteral(QV_BIN_DIR);

// The shipped plug-in, loaded as the editor loads it.
struct JsonPlugIn {
  void* handle = dlopen(QFile::encodeName(BinDir + "/plugin/jsonimport.so").constData(),
                        RTLD_NOW | RTLD_LOCAL);
  ~JsonPlugIn() {
    if (handle) dlclose(handle);
  }
  template <typename F>
  F Entry(const char* name) const {
    return reinterpret_cast<F>(dlsym(handle, name));
  }
  // Converts and opens file; the reason on failure, empty on success.
  std::string Import(const QString& file) const {
    char error[512] = "";
    const int ok = Entry<int (*)(const char*, char*, int)>("ImportJsonFile")(
        QFile::encodeName(file).constData(), error, int(sizeof error));
    return ok ? std::string() : (error[0] ? std::string(error) : std::string("failed"));
  }
};

void PutText(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

const QByteArray TwoBlocks =
    R"({"format":"quorvalin-diagram","objects":[
 {"type":"block","kind":1,"text":"begin","rect":[200,10,280,30]},
 {"type":"block","kind":0,"text":"x := 1","rect":[180,45,300,75]},
 {"type":"link","linktype":1,"source":0,"target":1,"sourcepos":[32767,65535],"targetpos":[32767,0]}
]})";

}  // namespace

TEST(JsonImportPlugIn, IsFoundBesideTheProgramAndOpensTheDiagramItMakes) {
  Fixture fx;
  QDir().mkpath(fx.Path("plugin"));
  ASSERT_TRUE(QFile::copy(BinDir + "/plugin/jsonimport.so", fx.Path("plugin/jsonimport.so")));
  PutText(fx.Path("made.json"), TwoBlocks);
  TMainForm f(fx.Options());
  const QList<QAction*> entries = f.Actions->Menu(TMenuId::Import)->actions();
  ASSERT_EQ(entries.size(), 1);
  EXPECT_EQ(entries[0]->text(), "Diagram from JSON...");
  EXPECT_FALSE(entries[0]->statusTip().isEmpty());

  // The entry runs a file dialog; the conversion behind it is called here.
  auto import = reinterpret_cast<int (*)(const char*, char*, int)>(
      dlsym(f.PlugIns->Items()[0].Handle, "ImportJsonFile"));
  ASSERT_NE(import, nullptr);
  char error[256] = "";
  ASSERT_EQ(import(QFile::encodeName(fx.Path("made.json")).constData(), error, 256), 1) << error;
  ASSERT_EQ(f.Documents().size(), 1);
  TChildD* d = f.Documents()[0];
  EXPECT_EQ(d->Caption(), fx.Canonical("made.fgd"));
  ASSERT_EQ(d->Diagram.Count(), 3);
  EXPECT_EQ(d->Diagram.GetObj(1)->AsBlock()->Data.Text, "x := 1");
  EXPECT_EQ(d->Diagram.GetObj(1)->AsBlock()->Data.Rect(), (TRect{180, 45, 300, 75}));
  EXPECT_EQ(d->Diagram.GetObj(2)->AsLink()->Data.Target.Get(), d->Diagram.GetObj(1));
  EXPECT_FALSE(d->Modified);
}

TEST(JsonImportPlugIn, NeverOverwritesAFileAndRefusesWhatIsNoDiagram) {
  Fixture fx;
  JsonPlugIn p;
  ASSERT_NE(p.handle, nullptr) << dlerror();
  p.Entry<void (*)(void*)>("Init")(dlopen(nullptr, RTLD_NOW));
  TMainForm f(fx.Options());
  PutText(fx.Path("a.JSON"), TwoBlocks);
  WriteDiagram(fx.Path("a.fgd"), 5);  // the user's own file of that name
  PutText(fx.Path("a (2).fgd"), "something else");
  EXPECT_EQ(p.Import(fx.Path("a.JSON")), "");
  ASSERT_EQ(f.Documents().size(), 1);
  EXPECT_EQ(f.Documents()[0]->Caption(), fx.Canonical("a (3).fgd"));
  TShem again;
  TUserBlockList ub;
  again.UserBlocks = &ub;
  ASSERT_TRUE(again.LoadFromFile(QFile::encodeName(fx.Path("a.fgd")).toStdString()));
  EXPECT_EQ(again.Count(), 5);

  PutText(fx.Path("broken.json"), R"({"format":"quorvalin-diagram","objects":[)");
  PutText(fx.Path("other.json"), R"({"format":"something else","objects":[]})");
  PutText(fx.Path("badlink.json"), R"({"format":"quorvalin-diagram","objects":[
 {"type":"link","linktype":1,"source":0,"target":0,"sourcepos":[0,0],"targetpos":[0,0]}]})");
  for (const char* bad : {"broken.json", "other.json", "badlink.json", "missing.json"}) {
    EXPECT_NE(p.Import(fx.Path(bad)), "") << bad;
    EXPECT_FALSE(QFileInfo::exists(fx.Path(QString(bad).replace(".json", ".fgd")))) << bad;
  }
  EXPECT_EQ(f.Documents().size(), 1);
}

TEST(ShippedTemplates, EachLoadsWithOneEntryBlockOnTopAndOneExitBlockAtTheBottom) {
  TTemplateList list;
  list.Load(QFile::encodeName(BinDir + "/template").toStdString());
  ASSERT_GE(list.Count(), 8);
  QStringList folders;
  for (const TTemplateList::TEntry& e : list.Items()) {
    SCOPED_TRACE(e.Template.FileName);
    if (!e.Folders.empty()) folders << QString::fromStdString(e.Folders[0]);
    TUserBlockList ub;
    TShem t;
    t.UserBlocks = &ub;
    ASSERT_TRUE(LoadTemplate(e.Template.FileName, t));
    ASSERT_TRUE(HasBlocks(t));
    EXPECT_TRUE(t.CheckIntegrity());
    EXPECT_EQ(t.Bounds().TopLeft(), (TPoint{0, 0}));
    // Replacing a block sends its incoming links to the top-most block and
    // its outgoing ones to the bottom-most: neither may tie with another.
    const TRect b = t.Bounds();
    int onTop = 0, atBottom = 0;
    for (int i = 0; i < t.Count(); ++i) {
      if (const TBlock* blk = t.GetObj(i)->AsBlock()) {
        onTop += blk->Data.TopLeft.Y == b.Top;
        atBottom += blk->Data.BottomRight.Y == b.Bottom;
      }
    }
    EXPECT_EQ(onTop, 1);
    EXPECT_EQ(atBottom, 1);
  }
  folders.removeDuplicates();
  EXPECT_EQ(folders, (QStringList{"Decisions", "Input and output", "Loops"}));
}
