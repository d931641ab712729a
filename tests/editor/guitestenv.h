#pragma once
// Shared set-up of the window tests: one QApplication on the offscreen
// platform, settings and per-user data in a temporary folder, modal
// questions answered by script, and a main window stand-in for documents.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "editor/modalquestions.h"

// Every question is recorded; answers are taken from the queue (Cancel when it
// runs dry, so that a forgotten answer shows up as a failed expectation rather
// than a hang).
class TScriptedQuestions : public TModalQuestions {
 public:
  struct Asked {
    QString Text, Caption;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
  };
  std::deque<QMessageBox::StandardButton> Answers;
  std::vector<Asked> Log;
  QStringList OpenAnswer;
  QString SaveAnswer;

  QMessageBox::StandardButton Ask(QWidget*, const QString& text, const QString& caption,
                                  QMessageBox::Icon icon,
                                  QMessageBox::StandardButtons buttons) override {
    Log.push_back({text, caption, icon, buttons});
    if (Answers.empty()) return QMessageBox::Cancel;
    const auto a = Answers.front();
    Answers.pop_front();
    return a;
  }
  // The folder and filter of the last file dialog.
  QString DialogDir, DialogFilter;
  QStringList OpenFileNames(QWidget*, const QString&, const QString& dir,
                            const QString& filter) override {
    DialogDir = dir;
    DialogFilter = filter;
    return OpenAnswer;
  }
  QString SaveFileName(QWidget*, const QString&, const QString& dir,
                       const QString& filter) override {
    DialogDir = dir;
    DialogFilter = filter;
    return SaveAnswer;
  }

  // Modal forms are shown without a modal loop and handed to the script, which
  // drives them; one still open afterwards is cancelled.
  std::function<void(QDialog*)> ModalScript;
  QStringList ModalForms;  // object names, in the order shown
  int ShowModal(QDialog* form) override {
    ModalForms << form->objectName();
    form->setResult(QDialog::Rejected);
    form->show();
    if (ModalScript) ModalScript(form);
    if (form->isVisible()) form->reject();
    return form->result();
  }
};

// What a document window gets from its main window, kept in the open: the
// shared state, the status bar panels and the Save command's outcome.
class TTestHost : public TDocumentHost {
 public:
  TEditorState state;
  QString Panels[2];
  bool SaveSucceeds = true;
  int Saves = 0;
  TEditorState& State() override { return state; }
  ListView* ListingView() override { return nullptr; }
  bool ListingShows(const TShem*) const override { return false; }
  QString FontFace() const override { return QString(); }
  bool SaveDocument(TChildD* doc) override {
    ++Saves;
    if (SaveSucceeds) doc->Modified = false;
    return SaveSucceeds;
  }
  void SetStatusPanel(int i, const QString& t) override { Panels[i] = t; }
};

class TGuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Home = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", (Home->path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (Home->path() + "/data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (Home->path() + "/run").toUtf8());
    QDir().mkpath(Home->path() + "/run");
    QFile::setPermissions(Home->path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    static int argc = 1;
    static char name[] = "guitest";
    static char* argv[] = {name, nullptr};
    App = std::make_unique<QApplication>(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Home->path() + "/config");
    SetQuestions(&Questions);
  }
  void TearDown() override {
    SetQuestions(nullptr);
    App.reset();
    Home.reset();
  }
  static inline std::unique_ptr<QTemporaryDir> Home;
  static inline std::unique_ptr<QApplication> App;
  static inline TScriptedQuestions Questions;
};

// Registers the environment once per test program.
inline TGuiEnvironment* const g_guiEnvironment =
    static_cast<TGuiEnvironment*>(::testing::AddGlobalTestEnvironment(new TGuiEnvironment));

inline bool IsBlack(const QImage& img, int x, int y) {
  return img.valid(x, y) && (img.pixel(x, y) & 0xFFFFFFu) == 0;
}

// Dark enough to be ink: text is drawn smoothed, so its pixels are grey too.
inline bool IsInk(const QImage& img, int x, int y) {
  return img.valid(x, y) && qGray(img.pixel(x, y)) < 128;
}
