#pragma once
// Helpers of the desktop tests (recovery, start-up, accessibility): questions
// that also answer the "Recover"/"Discard" choice, a fixture with its own
// state folder, documents with unsaved changes and child processes.

#include <QProcess>
#include <QProcessEnvironment>
#include <deque>

#include "apptestutil.h"
#include "editor/childd.h"

class TChoosingQuestions : public TScriptedQuestions {
 public:
  std::deque<int> Choices;  // indices of the buttons to press; -1 closes the box
  QStringList Chosen;       // the texts asked, in order
  QStringList Buttons;      // the buttons of the last choice
  int Choose(QWidget*, const QString& text, const QString&, QMessageBox::Icon,
             const QStringList& buttons) override {
    Chosen << text;
    Buttons = buttons;
    if (Choices.empty()) return -1;
    const int c = Choices.front();
    Choices.pop_front();
    return c;
  }
};

// A program folder, a state folder for recovery files and the questions above.
struct DesktopFixture : Fixture {
  TChoosingQuestions questions;
  QString stateFolder;
  DesktopFixture() : stateFolder(dir.path() + "/state/recovery") { SetQuestions(&questions); }
  ~DesktopFixture() { SetQuestions(&TGuiEnvironment::Questions); }
  QStringList RecoveryFiles() const {
    return QDir(stateFolder).entryList({"*.fgr"}, QDir::Files, QDir::Name);
  }
};

// A square with the given text, appended to the document's diagram; the
// document then has unsaved changes.
inline TShemObj* AddSquare(TChildD& doc, TRect r, const std::string& text) {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Text = text;
  TShemObj* o = doc.Diagram.GetObj(doc.Diagram.Add(std::move(b)));
  doc.Modified = true;
  return o;
}

// The texts of a diagram's blocks, in order.
inline std::vector<std::string> BlockTexts(const TShem& d) {
  std::vector<std::string> out;
  for (int i = 0; i < d.Count(); ++i)
    if (d.GetObj(i)->IsBlock()) out.push_back(d.GetObj(i)->AsBlock()->Data.Text);
  return out;
}

// Sets a file's modification time (the file stays as it is).
inline void SetModificationTime(const QString& path, const QDateTime& t) {
  QFile f(path);
  if (f.open(QIODevice::ReadWrite | QIODevice::Append))
    f.setFileTime(t, QFileDevice::FileModificationTime);
}

// The environment of a child editor: offscreen, its own runtime, config,
// data and state folders under root.
inline QProcessEnvironment ChildEnvironment(const QString& root) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  for (const char* v : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
    const QString folder = root + "/" + QString::fromLatin1(v).toLower();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(v, folder);
  }
  return env;
}
