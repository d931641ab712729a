// The settings store: types, ranges, defaults and the recent file list.
#include "app/settings.h"

#include <QSettings>

#include "../editor/guitestenv.h"

namespace {
struct Store {
  QTemporaryDir dir;
  QString path = dir.path() + "/store.conf";
  std::unique_ptr<QSettings> Open() {
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
  }
};
}  // namespace

TEST(Settings, EmptyStoreGivesNothingButDefaultBlockSizes) {
  Store st;
  const TSettingsValues v = ReadSettingsStore(*st.Open());
  EXPECT_FALSE(v.Path || v.FullWind || v.TWind || v.BackGround || v.ListEnable || v.GridEnable);
  for (const TToolbarSettings& t : v.Toolbars) EXPECT_FALSE(t.Visible || t.Dock || t.Row || t.Pos);
  EXPECT_TRUE(v.Files.isEmpty());
  for (auto [w, h] : v.StandSize) {
    EXPECT_EQ(w, 80);
    EXPECT_EQ(h, 20);
  }
}

TEST(Settings, RoundTripOfEveryValue) {
  Store st;
  TSettingsValues v;
  v.Path = "/home/u/diagrams/";
  v.FullWind = false;
  v.TWind = 12;
  v.LWind = -3;
  v.HWind = 400;
  v.WWind = 700;
  for (int i = 0; i < 4; ++i) v.Toolbars[size_t(i)] = {i % 2 == 0, i, i + 1, 10 * i};
  v.BackGround = ColorToStore(1, 2, 3);
  v.ListEnable = true;
  v.GridEnable = false;
  v.Files = {"/a.fgd", "/b c.fgd", QString::fromUtf8("/д.fgd")};
  for (int k = 0; k < 10; ++k) v.StandSize[size_t(k)] = {100 + k, 30 + k};
  WriteSettingsStore(*st.Open(), v);

  const TSettingsValues r = ReadSettingsStore(*st.Open());
  EXPECT_EQ(r.Path, v.Path);
  EXPECT_EQ(r.FullWind, v.FullWind);
  EXPECT_EQ(r.TWind, v.TWind);
  EXPECT_EQ(r.LWind, v.LWind);
  EXPECT_EQ(r.HWind, v.HWind);
  EXPECT_EQ(r.WWind, v.WWind);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(r.Toolbars[i].Visible, v.Toolbars[i].Visible);
    EXPECT_EQ(r.Toolbars[i].Dock, v.Toolbars[i].Dock);
    EXPECT_EQ(r.Toolbars[i].Row, v.Toolbars[i].Row);
    EXPECT_EQ(r.Toolbars[i].Pos, v.Toolbars[i].Pos);
  }
  EXPECT_EQ(r.BackGround, 0x030201u);  // red in the low byte
  EXPECT_EQ(r.ListEnable, true);
  EXPECT_EQ(r.GridEnable, false);
  EXPECT_EQ(r.Files, v.Files);
  EXPECT_EQ(r.StandSize, v.StandSize);

  // The value names are the store's documented ones.
  auto s = st.Open();
  EXPECT_EQ(s->value("StandSize/ParallelogramX").toInt(), 103);
  EXPECT_EQ(s->value("StandSize/PageY").toInt(), 39);
  EXPECT_EQ(s->value("UBDock").toInt(), 3);
  EXPECT_EQ(s->value("Files/1").toString(), "/a.fgd");
}

TEST(Settings, WrongTypesAndOutOfRangeValuesFallBackToDefaults) {
  Store st;
  {
    auto s = st.Open();
    s->setValue("FullWind", "perhaps");
    s->setValue("WWind", "wide");
    s->setValue("HWind", -5);
    s->setValue("StandDock", 7);
    s->setValue("SpecDock", "2");
    s->setValue("AlignVis", 3);
    s->setValue("BackGround", 0x1000000);
    s->setValue("ListEnable", "true");
    s->setValue("GridEnable", 1);
    s->setValue("StandSize/SquareX", "many");
    s->setValue("StandSize/SquareY", 0);
    s->setValue("StandSize/RhombX", 120);
    s->setValue("TWind", 99999);
  }
  const TSettingsValues v = ReadSettingsStore(*st.Open());
  EXPECT_FALSE(v.FullWind);
  EXPECT_FALSE(v.WWind);
  EXPECT_FALSE(v.HWind);
  EXPECT_FALSE(v.TWind);
  EXPECT_FALSE(v.Toolbars[0].Dock);  // 7 is no dock
  EXPECT_EQ(v.Toolbars[1].Dock, 2);
  EXPECT_FALSE(v.Toolbars[2].Visible);
  EXPECT_FALSE(v.BackGround);
  EXPECT_EQ(v.ListEnable, true);
  EXPECT_EQ(v.GridEnable, true);
  EXPECT_EQ(v.StandSize[0], (std::pair{80, 20}));
  EXPECT_EQ(v.StandSize[2], (std::pair{120, 20}));
}

TEST(Settings, SixRecentFilesGiveFiveAndWritingLeavesExactlyOneToFive) {
  Store st;
  {
    auto s = st.Open();
    for (int i = 1; i <= 6; ++i)
      s->setValue(QString("Files/%1").arg(i), QString("/f%1.fgd").arg(i));
    s->setValue("Files/zz", "/stale.fgd");
  }
  TSettingsValues v = ReadSettingsStore(*st.Open());
  EXPECT_EQ(v.Files, (QStringList{"/f1.fgd", "/f2.fgd", "/f3.fgd", "/f4.fgd", "/f5.fgd"}));
  v.Files.append("/f9.fgd");  // more than five in memory: only five are written
  WriteSettingsStore(*st.Open(), v);
  auto s = st.Open();
  s->beginGroup("Files");
  EXPECT_EQ(s->childKeys(), (QStringList{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(s->value("5").toString(), "/f5.fgd");
}
