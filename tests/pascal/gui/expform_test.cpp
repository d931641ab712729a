// The Pascal export window: how it is built, the "to Pascal" entry that
// fills its stream and shows it, the translation on showing, its messages
// and its popup commands.
#include "pascal/gui/expform.h"

#include <QClipboard>
#include <QMenu>
#include <QTest>

#include "codeviewtest.h"
#include "model/stream.h"
#include "pascaltest.h"

namespace {
// A window whose modal run and messages are recorded instead of shown.
struct TFormProbe {
  TExpForm Form;
  int Shows = 0;
  QImage Shown;  // Memo1 as painted while the window was up
  struct Message {
    QString Text, Caption;
  };
  std::vector<Message> Messages;

  TFormProbe() {
    Form.SetModalFunction([this](QDialog& d) {
      d.show();
      QApplication::processEvents();
      Shown = Rendered(*Form.Memo1);
      ++Shows;
      d.hide();
    });
    Form.SetMessageFunction([this](QWidget* parent, const QString& text, const QString& caption) {
      EXPECT_EQ(parent, &Form);
      Messages.push_back({text, caption});
    });
  }
};

// The first worked example: a while loop.
void WhileExample(TShem& d) {
  TShemObj* begin = Box(d, bkEllipse, 0, "begin");
  TShemObj* s1 = Box(d, bkSquare, 1, "a := 1");
  TShemObj* r = Box(d, bkRhomb, 2, "a < 10");
  TShemObj* body = Box(d, bkSquare, 3, "a := a + 1", 1);
  TShemObj* end = Box(d, bkEllipse, 4, "end");
  Flow(d, begin, s1);
  Flow(d, s1, r);
  Flow(d, r, body, kRight, kTop);
  Flow(d, r, end);
  Flow(d, body, r, kLeft, kRight);
  YesAt(d, {168, 104});
}

TEST(ExpForm, BuiltAsTheWindowDescribes) {
  TExpForm form;
  EXPECT_EQ(form.windowTitle(), "Pascal procedure (function) of block-diagram file");
  EXPECT_EQ(form.size(), QSize(405, 375));
  TmCustomEdit* m = form.Memo1;
  EXPECT_EQ(m->GutterWidth(), 0);
  EXPECT_EQ(m->RightEdge(), 80);
  EXPECT_TRUE(m->ReadOnly());
  EXPECT_EQ(m->Lines(), QStringList{""});
  EXPECT_EQ(m->font().pixelSize(), 13);
  EXPECT_TRUE(FixedPitch(m->font()));

  const QStringList& w = m->Words();
  ASSERT_EQ(w.size(), 95);
  EXPECT_EQ(w.first(), "abstract");
  EXPECT_EQ(w[7], "begin");
  EXPECT_EQ(w[47], "name");
  EXPECT_EQ(w.last(), "xor");
  EXPECT_EQ(QSet<QString>(w.begin(), w.end()).size(), 95);

  EXPECT_EQ(m->PopupMenu(), form.PopupMenu1);
  QStringList items;
  for (QAction* a : form.PopupMenu1->actions()) items << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(items, (QStringList{"Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
}

TEST(ExpForm, ToPascalShowsTheWhileExampleWithBoldKeywords) {
  TFormProbe p;
  p.Form.ShowDiagram(nullptr);  // no active document: nothing happens
  EXPECT_EQ(p.Shows, 0);

  TShem d;
  WhileExample(d);
  p.Form.ShowDiagram(&d);
  ASSERT_EQ(p.Shows, 1);
  EXPECT_TRUE(p.Messages.empty());
  EXPECT_EQ(p.Form.Memo1->Lines(), (QStringList{"begin", "  a := 1;", "  while a < 10 do",
                                                "  begin", "    a := a + 1", "  end;", "end;"}));
  // The stream holds the diagram as the writer wrote it.
  TShem copy;
  p.Form.Stream().Seek(0);
  ASSERT_TRUE(copy.LoadFromStream(p.Form.Stream()));
  EXPECT_EQ(copy.Count(), d.Count());

  // Keywords are bold: against the same view painted without keywords they
  // carry more ink, and everything else carries the same.
  TmCustomEdit& m = *p.Form.Memo1;
  const QImage& bold = p.Shown;
  m.SetWords({});
  const QImage plain = Rendered(m);
  EXPECT_GT(InkInCells(bold, m, 1, 0, 5), InkInCells(plain, m, 1, 0, 5) + 10);     // begin
  EXPECT_GT(InkInCells(bold, m, 3, 2, 7), InkInCells(plain, m, 3, 2, 7) + 10);     // while
  EXPECT_GT(InkInCells(bold, m, 3, 15, 17), InkInCells(plain, m, 3, 15, 17) + 4);  // do
  EXPECT_GT(InkInCells(bold, m, 7, 0, 3), InkInCells(plain, m, 7, 0, 3) + 5);      // end
  EXPECT_EQ(InkInCells(bold, m, 3, 7, 15), InkInCells(plain, m, 3, 7, 15));        // " a < 10 "
  EXPECT_EQ(InkInCells(bold, m, 2, 0, 12), InkInCells(plain, m, 2, 0, 12));        // a := 1;
  EXPECT_GT(InkInCells(plain, m, 2, 0, 12), 0);
}

TEST(ExpForm, ToPascalShowsTheRepeatExample) {
  TFormProbe p;
  TShem d;
  TShemObj* begin = Box(d, bkEllipse, 0, "begin");
  TShemObj* s = Box(d, bkSquare, 1, "x := x + 1");
  TShemObj* r = Box(d, bkRhomb, 2, "x < 5");
  TShemObj* end = Box(d, bkEllipse, 3, "end");
  Flow(d, begin, s);
  Flow(d, s, r);
  Flow(d, r, s, kRight, kRight);
  Flow(d, r, end);
  YesAt(d, {168, 104});
  p.Form.ShowDiagram(&d);
  EXPECT_TRUE(p.Messages.empty());
  EXPECT_EQ(p.Form.Memo1->Lines(),
            (QStringList{"begin", "  repeat", "    x := x + 1", "  until not(x < 5);", "end;"}));
  TmCustomEdit& m = *p.Form.Memo1;
  const QImage& bold = p.Shown;
  m.SetWords({});
  const QImage plain = Rendered(m);
  EXPECT_GT(InkInCells(bold, m, 2, 2, 8), InkInCells(plain, m, 2, 2, 8) + 10);   // repeat
  EXPECT_GT(InkInCells(bold, m, 4, 2, 7), InkInCells(plain, m, 4, 2, 7) + 10);   // until
  EXPECT_GT(InkInCells(bold, m, 4, 8, 11), InkInCells(plain, m, 4, 8, 11) + 5);  // not(
}

TEST(ExpForm, MessagesAreCaptionedErrorAndKeepTheLines) {
  TFormProbe p;
  TShem good;
  WhileExample(good);
  p.Form.ShowDiagram(&good);
  const QStringList translated = p.Form.Memo1->Lines();
  p.Form.Memo1->SetTopLine(3);

  TShem noBegin;
  Box(noBegin, bkEllipse, 0, "start");
  p.Form.ShowDiagram(&noBegin);
  EXPECT_EQ(p.Shows, 2);
  ASSERT_EQ(p.Messages.size(), 1u);
  EXPECT_EQ(p.Messages[0].Text, "Can not find \"begin\"");
  EXPECT_EQ(p.Messages[0].Caption, "Error");
  EXPECT_EQ(p.Form.Memo1->Lines(), translated);
  EXPECT_EQ(p.Form.Memo1->TopLine(), 3);

  // Several messages in one show, in the order raised.
  p.Messages.clear();
  TShem twoLinks;
  TShemObj* b = Box(twoLinks, bkEllipse, 0, "Begin");
  TShemObj* s = Box(twoLinks, bkSquare, 1, "x := 1");
  Flow(twoLinks, b, s);
  Flow(twoLinks, b, Box(twoLinks, bkEllipse, 2, "end"));
  p.Form.ShowDiagram(&twoLinks);
  ASSERT_EQ(p.Messages.size(), 2u);
  EXPECT_EQ(p.Messages[0].Text, "No outgoing link");
  EXPECT_EQ(p.Messages[1].Text, "\"begin\" have more than 1 outgoing link");
  EXPECT_EQ(p.Form.Memo1->Lines(), translated);

  // A successful translation replaces the lines and starts at the top.
  p.Form.ShowDiagram(&good);
  EXPECT_EQ(p.Form.Memo1->TopLine(), 1);
  EXPECT_EQ(p.Form.Memo1->Caret(), (TTextPos{0, 1}));
}

TEST(ExpForm, PopupCommandsActOnTheReadOnlyView) {
  TExpForm form;
  TmCustomEdit& m = *form.Memo1;
  m.SetText("begin\r\n  x := 1;\r\nend;");
  form.SelectAll1->trigger();
  form.Copy1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "begin\r\n  x := 1;\r\nend;");
  form.Cut1->trigger();
  EXPECT_EQ(m.Text(), "");
  form.Paste1->trigger();
  EXPECT_EQ(m.Text(), "begin\r\n  x := 1;\r\nend;");
  EXPECT_EQ(m.Caret(), (TTextPos{4, 3}));
  form.SelectAll1->trigger();
  form.Delete1->trigger();
  EXPECT_EQ(m.Text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "begin\r\n  x := 1;\r\nend;");
  EXPECT_TRUE(m.ReadOnly());
}

TEST(ExpForm, CtrlAAndCtrlCCopyTheWholeText) {
  TExpForm form;
  // Showing translates the (empty) stream; its message is not shown.
  form.SetMessageFunction([](QWidget*, const QString&, const QString&) {});
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  TmCustomEdit& m = *form.Memo1;
  m.SetText("begin\r\n  y := 2;\r\nend;");
  QGuiApplication::clipboard()->setText("before");
  m.setFocus();
  QTest::keyClick(&m, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&m, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "begin\r\n  y := 2;\r\nend;");
  EXPECT_EQ(m.Text(), "begin\r\n  y := 2;\r\nend;");  // read-only: keys change nothing
}
}  // namespace
