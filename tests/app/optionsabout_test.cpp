// The options dialog with its working copies and the Options command; the
// About box's version line.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

#include "app/actions.h"
#include "app/commands/dialogcommands.h"
#include "app/dialogs/about.h"
#include "app/dialogs/optionsform.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
// The text field inside a spin box.
QLineEdit* Field(QSpinBox* box) { return box->findChild<QLineEdit*>(); }

void Type(QSpinBox* box, const QString& text) {
  Field(box)->setText(text);
  box->interpretText();
}

TBlockSizes Numbered() {
  TBlockSizes s;
  for (size_t k = 0; k < s.size(); ++k) s[k] = {30 + int(k), 11 + int(k)};
  return s;
}
}  // namespace

TEST(OptionsForm, ListEntriesStandForKindsWithoutTheLinkPoint) {
  const int kinds[] = {0, 1, 2, 3, 5, 6, 7, 8, 9};
  for (int e = 0; e < 9; ++e) EXPECT_EQ(TOptionsForm::KindOfEntry(e), kinds[e]) << e;

  TEditorState state;
  state.StandardBlockSizes = Numbered();
  TOptionsForm f(state);
  EXPECT_EQ(f.ComboBox1->count(), 9);
  f.ComboBox1->setCurrentIndex(3);
  f.FormShow();  // every show starts at the first entry
  EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
  EXPECT_EQ(f.SpinEdit1->value(), 30);
  EXPECT_EQ(f.SpinEdit2->value(), 11);

  // "Text" shows and edits kind 5.
  f.ComboBox1->setCurrentIndex(f.ComboBox1->findText("Text"));
  EXPECT_EQ(f.SpinEdit1->value(), 35);
  EXPECT_EQ(f.SpinEdit2->value(), 16);
  Type(f.SpinEdit1, "120");
  f.SpinEditExit();
  EXPECT_EQ(f.Sizes[5], (std::pair{120, 16}));
  EXPECT_EQ(f.Sizes[4], (std::pair{34, 15}));  // the link point's entry is untouched

  // "Page divider" edits kind 9; an emptied box becomes 20.
  f.ComboBox1->setCurrentIndex(f.ComboBox1->findText("Page divider"));
  EXPECT_EQ(f.SpinEdit1->value(), 39);
  Field(f.SpinEdit2)->clear();
  f.SpinEditExit();
  EXPECT_EQ(f.SpinEdit2->value(), 20);
  EXPECT_EQ(f.Sizes[9], (std::pair{39, 20}));
  // A value under the limit is raised to it before it is kept (the box does
  // not take digits past its upper limit at all).
  Field(f.SpinEdit2)->setText("5");
  f.SpinEditExit();
  EXPECT_EQ(f.SpinEdit2->value(), 10);
  EXPECT_EQ(f.Sizes[9], (std::pair{39, 10}));
  // Nothing reached the state yet.
  EXPECT_EQ(state.StandardBlockSizes, Numbered());
}

TEST(OptionsForm, CancelKeepsTheOldValuesAndOkTakesTheNew) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.AppState.StandardBlockSizes = Numbered();
  f.AppState.BackgroundColor = QColor(192, 192, 192);
  TChildD* d = f.CreateDocument("doc");
  TOptionsForm& o = *f.DialogCommands->OptionsForm1;
  o.ChooseColor = [](QWidget*, QColor) { return std::optional<QColor>(QColor(10, 200, 30)); };

  // Sizes and colour changed, then Cancel.
  fx.q.ModalScript = [&o](QDialog*) {
    Type(o.SpinEdit1, "100");
    o.SpinEditExit();
    o.Panel1->click();
    EXPECT_EQ(o.Color, QColor(10, 200, 30));
    o.CancelButton->click();
  };
  f.Actions->Action(TCommand::Options)->trigger();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"OptionsForm"});
  EXPECT_EQ(f.AppState.StandardBlockSizes, Numbered());
  EXPECT_EQ(f.AppState.BackgroundColor, QColor(192, 192, 192));
  EXPECT_EQ(d->Color(), QColor(192, 192, 192));

  // The same with OK: the state takes both, every document the colour.
  TChildD* other = f.CreateDocument("other");
  fx.q.ModalScript = [&o](QDialog*) {
    EXPECT_EQ(o.SpinEdit1->value(), 30);  // the working copy started afresh
    Type(o.SpinEdit1, "100");
    o.SpinEditExit();
    o.Panel1->click();
    o.OKButton->click();
  };
  f.DialogCommands->Options1Click();
  EXPECT_EQ(f.AppState.StandardBlockSizes[0], (std::pair{100, 11}));
  EXPECT_EQ(f.AppState.BackgroundColor, QColor(10, 200, 30));
  EXPECT_EQ(d->Color(), QColor(10, 200, 30));
  EXPECT_EQ(other->Color(), QColor(10, 200, 30));
  EXPECT_EQ(d->Memo1->palette().color(QPalette::Base), QColor(10, 200, 30));

  // A colour dialog that is cancelled changes nothing.
  o.ChooseColor = [](QWidget*, QColor) { return std::optional<QColor>(); };
  fx.q.ModalScript = [&o](QDialog*) {
    o.Panel1->click();
    o.OKButton->click();
  };
  f.DialogCommands->Options1Click();
  EXPECT_EQ(f.AppState.BackgroundColor, QColor(10, 200, 30));
}

TEST(OptionsForm, TheRealColourDialogIsAskedThroughTheQuestions) {
  Fixture fx;
  TEditorState state;
  TOptionsForm f(state);
  f.FormShow();
  const QColor before = f.Color;
  f.Panel1Click();  // the scripted questions cancel it
  EXPECT_EQ(fx.q.ModalForms.size(), 1);
  EXPECT_EQ(f.Color, before);
}

TEST(About, VersionLineCarriesTheBuildVersion) {
  EXPECT_EQ(CompleteVersionLabel("Version:", "3.0.0.2"), "Version: 3.0.0.2");
  EXPECT_EQ(CompleteVersionLabel("Version: 1.0", "2.0"), "Version: 2.0");
  EXPECT_EQ(CompleteVersionLabel("Version", "2.0"), "Version");
  EXPECT_EQ(ProgramVersion(), QV_PROJECT_VERSION);

  Fixture fx;
  TMainForm f(fx.Options());
  EXPECT_TRUE(f.Actions->Action(TCommand::About)->isEnabled());
  f.Actions->Action(TCommand::About)->trigger();
  f.Actions->Action(TCommand::About)->trigger();  // shown twice, completed once
  EXPECT_EQ(fx.q.ModalForms, QStringList({"About", "About"}));
  TAbout& a = *f.DialogCommands->About1;
  EXPECT_EQ(a.windowTitle(), "About ... ");
  EXPECT_EQ(a.Version->text(), QString("Version: ") + QV_PROJECT_VERSION);
  EXPECT_TRUE(a.ProductName->font().bold());
}
