#pragma once
// Helpers of the main window tests: diagram files on disk, a clean store and
// a fixture with a program folder of its own.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "../editor/guitestenv.h"
#include "app/mainform.h"
#include "app/settings.h"
#include "model/shem.h"
#include "userblocks/userblocklist.h"

// Writes a diagram of `blocks` squares (the first with text) to path.
inline void WriteDiagram(const QString& path, int blocks = 2,
                         const TUserBlock* userBlock = nullptr) {
  TUserBlockList list;
  TShem d;
  d.UserBlocks = &list;
  for (int i = 0; i < blocks; ++i) {
    auto b = std::make_unique<TBlock>();
    b->Data.SetRect({10 + 100 * i, 10, 90 + 100 * i, 30});
    b->Data.Text = "block " + std::to_string(i);
    d.Add(std::move(b));
  }
  if (userBlock) {
    auto copy = std::make_unique<TUserBlock>(*userBlock);
    list.Add(std::move(copy));
    auto b = std::make_unique<TBlock>();
    b->Data.Kind = bkUserFirst;
    b->Data.SetRect({10, 100, 90, 140});
    d.Add(std::move(b));
  }
  std::string error;
  ASSERT_TRUE(d.SaveToFile(QFile::encodeName(path).toStdString(), &error)) << error;
}

inline std::unique_ptr<TUserBlock> MakeUserBlock(const std::string& name, uint32_t id1,
                                                 uint32_t id2) {
  auto b = std::make_unique<TUserBlock>();
  b->Name = name;
  b->Id1 = id1;
  b->Id2 = id2;
  for (TPercentPoint p : {TPercentPoint{0, 0}, TPercentPoint{100, 50}, TPercentPoint{0, 100}})
    b->AddPoint(p);
  b->SetEditRect(10, 10, 60, 90);
  b->ToolImage[2] = 0xFFFF;
  return b;
}

// The program's settings store, emptied.
inline void ClearStore() {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, SettingsOrganisation());
  s.clear();
  s.sync();
}

// A temporary program folder (for "UserBlock.blu" and the start directory),
// an empty settings store and no questions asked yet.
struct Fixture {
  QTemporaryDir dir;
  TScriptedQuestions& q = TGuiEnvironment::Questions;
  Fixture() {
    ClearStore();
    q.Log.clear();
    q.Answers.clear();
    q.ModalForms.clear();
    q.ModalScript = nullptr;
  }
  QString Path(const QString& name) const { return dir.path() + "/" + name; }
  QString Canonical(const QString& name) const { return QFileInfo(Path(name)).canonicalFilePath(); }
  TMainForm::TOptions Options() const {
    TMainForm::TOptions o;
    o.ProgramDir = dir.path();
    o.WriteAssociation = false;
    return o;
  }
};
