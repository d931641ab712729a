// The in-place editor centres whatever text it is given.
#include <QTextBlock>
#include <QTextEdit>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "guitestenv.h"

TEST(ChildDMemo, TextPutIntoTheEditorIsCentred) {
  TChildD doc(nullptr);
  doc.Memo1->setPlainText(QStringLiteral("first line\nsecond line"));
  auto expectCentred = [&doc] {
    doc.Memo1->document()->adjustSize();  // lays the blocks out
    int blocks = 0;
    for (QTextBlock b = doc.Memo1->document()->begin(); b.isValid(); b = b.next(), ++blocks)
      EXPECT_EQ(b.layout()->textOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter)
          << b.text().toStdString();
    return blocks;
  };
  EXPECT_EQ(expectCentred(), 2);
  doc.Memo1->clear();
  doc.Memo1->insertPlainText(QStringLiteral("typed"));
  EXPECT_EQ(expectCentred(), 1);
}
