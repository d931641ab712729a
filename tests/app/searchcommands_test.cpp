// Find and Replace: the two modeless dialogs and their requests on the
// active document.
#include "app/commands/searchcommands.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextEdit>

#include "app/actions.h"
#include "app/dialogs/finddialog.h"
#include "app/dialogs/replacedialog.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
TShemObj* AddText(TChildD* d, const std::string& text, int kind = bkSquare) {
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = uint8_t(kind);
  b->Data.SetRect({10, 10 + 40 * d->Diagram.Count(), 90, 40 + 40 * d->Diagram.Count()});
  b->Data.Text = text;
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}

std::string TextOf(const TShemObj* o) { return o->AsBlock()->Data.Text; }

std::vector<TShemObj*> Selected(const TChildD* d) { return d->Selection.Items(); }

QStringList Messages(const TScriptedQuestions& q) {
  QStringList m;
  for (const auto& a : q.Log) m << a.Text;
  return m;
}
}  // namespace

TEST(Search, FindNextWalksForwardFromTheSelectionAndReportsTheEnd) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* first = AddText(d, "alpha");
  AddText(d, "beta");
  TShemObj* third = AddText(d, "ALPHA and beta");
  TSearchCommands& s = *f.SearchCommands;
  f.Actions->Action(TCommand::Find)->trigger();
  ASSERT_TRUE(s.FindDialog1->isVisible());
  s.FindDialog1->FindEdit->setText("Alpha");

  s.FindDialog1->FindNextButton->click();
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{first});
  s.FindDialog1->FindNextButton->click();
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{third});
  EXPECT_TRUE(fx.q.Log.empty());
  s.FindDialog1->FindNextButton->click();
  ASSERT_EQ(fx.q.Log.size(), 1u);
  EXPECT_EQ(fx.q.Log[0].Text, "Search string not found");
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Information);
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{third});  // unchanged when nothing is found

  // With match case only the exact spelling counts; the search starts
  // afresh when nothing is selected.
  d->Selection.Clear();
  s.FindDialog1->MatchCase->setChecked(true);
  s.FindDialog1->FindEdit->setText("ALPHA");
  s.FindDialog1->FindNextButton->click();
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{third});
  EXPECT_FALSE(d->Modified);
}

TEST(Search, FindNextFromTheReplaceDialogUsesItsOwnText) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  AddText(d, "alpha");
  TShemObj* beta = AddText(d, "beta");
  TSearchCommands& s = *f.SearchCommands;
  s.FindDialog1->FindEdit->setText("alpha");
  s.ReplaceDialog1->FindEdit->setText("BETA");
  s.ReplaceDialog1->MatchCase->setChecked(false);
  f.Actions->Action(TCommand::Replace)->trigger();
  s.ReplaceDialog1->FindNextButton->click();
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{beta});
  // Its own match-case option, too.
  d->Selection.Clear();
  s.ReplaceDialog1->MatchCase->setChecked(true);
  s.ReplaceDialog1->FindNextButton->click();
  EXPECT_TRUE(d->Selection.Empty());
  EXPECT_EQ(Messages(fx.q), QStringList{"Search string not found"});
}

TEST(Search, ReplacementsThatHoldTheSearchTextAreRefused) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* b = AddText(d, "A cat");
  TReplaceDialog& r = *f.SearchCommands->ReplaceDialog1;
  f.SearchCommands->Replace1Click();

  r.FindEdit->setText("a");
  r.ReplaceEdit->setText("ab");
  r.ReplaceButton->click();
  r.ReplaceAllButton->click();
  r.MatchCase->setChecked(false);
  r.FindEdit->setText("A");
  r.ReplaceEdit->setText("xa");
  r.ReplaceButton->click();
  EXPECT_EQ(Messages(fx.q), QStringList(3, "Possible cycling. Can not replased. "));
  EXPECT_EQ(fx.q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_EQ(fx.q.Log[0].Icon, QMessageBox::Information);
  EXPECT_EQ(TextOf(b), "A cat");
  EXPECT_FALSE(d->Modified);

  // With match case "A" does not lie in "xa": replaced.
  fx.q.Log.clear();
  r.MatchCase->setChecked(true);
  r.ReplaceButton->click();
  EXPECT_TRUE(fx.q.Log.empty());
  EXPECT_EQ(TextOf(b), "xa cat");
}

TEST(Search, ReplaceChangesTheNextBlockAndReplaceAllTheRest) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddText(d, "red sky");
  TShemObj* b = AddText(d, "no colour");
  TShemObj* c = AddText(d, "Red red");
  TShemObj* e = AddText(d, "redder", bkText);
  TReplaceDialog& r = *f.SearchCommands->ReplaceDialog1;
  r.FindEdit->setText("red");
  r.ReplaceEdit->setText("blue");

  d->Selection.Assign({a});
  r.ReplaceButton->click();
  EXPECT_EQ(TextOf(a), "red sky");  // the search starts after the selection
  EXPECT_EQ(TextOf(c), "blue blue");
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{c});
  EXPECT_TRUE(d->Modified);

  // Replace All from the first block on leaves the selection as it is.
  d->Modified = false;
  d->Selection.Assign({b});
  r.FindEdit->setText("RED");
  r.ReplaceAllButton->click();
  EXPECT_EQ(TextOf(a), "red sky");
  EXPECT_EQ(TextOf(e), "blueder");
  EXPECT_EQ(Selected(d), std::vector<TShemObj*>{b});
  EXPECT_TRUE(d->Modified);
  EXPECT_TRUE(fx.q.Log.empty());  // Replace All is quiet

  // Nothing left after the selection: Replace says so, Replace All stays quiet
  // and changes nothing.
  d->Modified = false;
  r.ReplaceAllButton->click();
  EXPECT_TRUE(fx.q.Log.empty());
  EXPECT_FALSE(d->Modified);
  r.ReplaceButton->click();
  EXPECT_EQ(Messages(fx.q), QStringList{"Search string not found"});
  EXPECT_FALSE(d->Modified);
}

TEST(Search, TextOpenInTheEditorIsSearchedAndKept) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddText(d, "old");
  d->BeginTextEdit(a);
  ASSERT_TRUE(d->EditorShown());
  d->Memo1->setPlainText("typed word");
  TReplaceDialog& r = *f.SearchCommands->ReplaceDialog1;
  r.FindEdit->setText("word");
  r.ReplaceEdit->setText("text");
  r.ReplaceAllButton->click();
  EXPECT_FALSE(d->EditorShown());
  EXPECT_EQ(TextOf(a), "typed text");
}

TEST(Search, OneDialogAtATimeAndNoneWithoutADocument) {
  Fixture fx;
  TMainForm f(fx.Options());
  TSearchCommands& s = *f.SearchCommands;
  // Without a document the commands are off and do nothing.
  EXPECT_FALSE(f.Actions->Action(TCommand::Find)->isEnabled());
  EXPECT_FALSE(f.Actions->Action(TCommand::Replace)->isEnabled());
  s.Find1Click();
  EXPECT_FALSE(s.FindDialog1->isVisible());

  TChildD* d = f.CreateDocument("doc");
  EXPECT_TRUE(f.Actions->Action(TCommand::Find)->isEnabled());
  EXPECT_TRUE(f.Actions->Action(TCommand::Replace)->isEnabled());
  s.Find1Click();
  EXPECT_TRUE(s.FindDialog1->isVisible());
  EXPECT_FALSE(s.FindDialog1->isModal());
  s.Replace1Click();
  EXPECT_TRUE(s.ReplaceDialog1->isVisible());
  EXPECT_FALSE(s.FindDialog1->isVisible());
  s.Find1Click();
  EXPECT_TRUE(s.FindDialog1->isVisible());
  EXPECT_FALSE(s.ReplaceDialog1->isVisible());

  // The buttons that need a search text wait for one.
  s.ReplaceDialog1->FindEdit->clear();
  EXPECT_FALSE(s.ReplaceDialog1->FindNextButton->isEnabled());
  EXPECT_FALSE(s.ReplaceDialog1->ReplaceButton->isEnabled());
  EXPECT_FALSE(s.ReplaceDialog1->ReplaceAllButton->isEnabled());
  s.ReplaceDialog1->FindEdit->setText("x");
  EXPECT_TRUE(s.ReplaceDialog1->ReplaceAllButton->isEnabled());

  // Closing the last document closes the dialog.
  f.SubWindowOf(d)->close();
  QCoreApplication::processEvents();
  f.UpdateMenuItems();
  EXPECT_FALSE(s.FindDialog1->isVisible());
  EXPECT_FALSE(s.ReplaceDialog1->isVisible());
}
