// The Align and Size dialogs: their groups and items, the choices reset at
// every show, the Size boxes' key filter and the switch to "Width:" or
// "Height:" when a box takes the focus.
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/dialogs/alignf.h"
#include "app/dialogs/radiogroup.h"
#include "app/dialogs/sizef.h"
#include "apptestutil.h"

namespace {
QStringList Items(const TRadioGroup* g) {
  QStringList t;
  for (int i = 0; i < g->Count(); ++i) t << g->Item(i)->text();
  return t;
}

void Focus(QWidget* w) {
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(w, &in);
}
}  // namespace

TEST(AlignDialog, GroupsStartAtNoChangeEveryTimeItShows) {
  Fixture fx;
  TAlignF f;
  EXPECT_EQ(f.windowTitle(), "Align");
  EXPECT_EQ(f.size(), QSize(322, 175));
  EXPECT_EQ(f.RadioGroup1->title(), "Horizontal:");
  EXPECT_EQ(f.RadioGroup2->title(), "Vertical:");
  EXPECT_EQ(Items(f.RadioGroup1),
            (QStringList{"No change", "Left sides", "Centers", "Right sides", "Space equally"}));
  EXPECT_EQ(Items(f.RadioGroup2),
            (QStringList{"No change", "Tops", "Centers", "Bottoms", "Space equally"}));
  EXPECT_EQ(f.Button1->text(), "OK");
  EXPECT_EQ(f.Button2->text(), "Cancel");

  fx.q.ModalScript = [&f](QDialog*) {
    f.RadioGroup1->Item(2)->click();
    f.RadioGroup2->Item(3)->click();
    f.Button1->click();
  };
  EXPECT_EQ(Questions().ShowModal(&f), QDialog::Accepted);
  EXPECT_EQ(f.RadioGroup1->ItemIndex(), 2);
  EXPECT_EQ(f.RadioGroup2->ItemIndex(), 3);

  int seen[2] = {-1, -1};
  fx.q.ModalScript = [&](QDialog*) {
    seen[0] = f.RadioGroup1->ItemIndex();
    seen[1] = f.RadioGroup2->ItemIndex();
    f.Button2->click();
  };
  EXPECT_EQ(Questions().ShowModal(&f), QDialog::Rejected);
  EXPECT_EQ(seen[0], 0);
  EXPECT_EQ(seen[1], 0);
}

TEST(SizeDialog, ResetsOnShowAndAFocusedBoxChoosesItsValueItem) {
  Fixture fx;
  TSizeF f;
  EXPECT_EQ(f.windowTitle(), "Size");
  EXPECT_EQ(f.size(), QSize(384, 151));
  EXPECT_EQ(f.RadioGroup1->title(), "Width");
  EXPECT_EQ(f.RadioGroup2->title(), "Height");
  EXPECT_EQ(Items(f.RadioGroup1),
            (QStringList{"Not change", "Grow to largest", "Shrink to smallest", "Width:"}));
  EXPECT_EQ(Items(f.RadioGroup2),
            (QStringList{"Not change", "Grow to largest", "Shrink to smallest", "Height:"}));

  fx.q.ModalScript = [&f](QDialog*) {
    Focus(f.Edit1);
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), 3) << "before anything is typed";
    EXPECT_EQ(f.RadioGroup2->ItemIndex(), 0);
    QTest::keyClicks(f.Edit1, "42");
    Focus(f.Edit2);
    EXPECT_EQ(f.RadioGroup2->ItemIndex(), 3);
    QTest::keyClicks(f.Edit2, "7");
    f.Button1->click();
  };
  EXPECT_EQ(Questions().ShowModal(&f), QDialog::Accepted);
  EXPECT_EQ(f.Edit1->text(), "42");
  EXPECT_EQ(f.Edit2->text(), "7");

  fx.q.ModalScript = [&f](QDialog*) {
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(f.RadioGroup2->ItemIndex(), 0);
    EXPECT_TRUE(f.Edit1->text().isEmpty());
    EXPECT_TRUE(f.Edit2->text().isEmpty());
  };
  EXPECT_EQ(Questions().ShowModal(&f), QDialog::Rejected);
}

TEST(SizeDialog, BoxesTakeAtMostSixDigitsAndOnlyTheirKeys) {
  Fixture fx;
  TSizeF f;
  f.show();
  QLineEdit* box = f.Edit2;
  QTest::keyClicks(box, "1a2-b3 .");
  EXPECT_EQ(box->text(), "123") << "letters and signs are dropped";
  QTest::keyClicks(box, "4567");
  EXPECT_EQ(box->text(), "123456") << "a seventh digit is refused";
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "12345");
  QTest::keyClick(box, Qt::Key_Home);
  EXPECT_EQ(box->cursorPosition(), 0);
  QTest::keyClick(box, Qt::Key_End);  // swallowed
  EXPECT_EQ(box->cursorPosition(), 0);
  QTest::keyClick(box, Qt::Key_Right);
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->text(), "1345");
  QTest::keyClick(box, Qt::Key_Left);
  QTest::keyClick(box, Qt::Key_Down);                    // swallowed
  QTest::keyClick(box, Qt::Key_F5);                      // swallowed
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);  // no select-all either
  QTest::keyClicks(box, "9");
  EXPECT_EQ(box->text(), "91345");
  // The handlers' rules on their own, for both boxes.
  EXPECT_TRUE(f.Edit1KeyDown(Qt::Key_End));
  EXPECT_TRUE(f.Edit1KeyDown(Qt::Key_Up));
  EXPECT_FALSE(f.Edit1KeyDown(Qt::Key_Return));
  EXPECT_FALSE(f.Edit1KeyPress(f.Edit1, QChar('0')));
  EXPECT_TRUE(f.Edit1KeyPress(f.Edit1, QChar('x')));
  f.Edit1->setText("12345");
  EXPECT_FALSE(f.Edit1KeyPress(f.Edit1, QChar('6')));
  f.Edit1->setText("123456");
  EXPECT_TRUE(f.Edit1KeyPress(f.Edit1, QChar('7')));
  EXPECT_FALSE(f.Edit1KeyPress(f.Edit1, QChar('\b')));
}
