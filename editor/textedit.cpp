// TChildD: opening and closing the in-place text editor, Memo1.
#include <QTextEdit>
#include <QTextOption>
#include <algorithm>

#include "editor/childd.h"
#include "editor/diagramtext.h"

void TChildD::BeginTextEdit(TShemObj* block) {
  if (!block || !block->IsBlock() || !Diagram.Contains(block)) return;
  EditedBlock = block;
  const Block& b = block->AsBlock()->Data;
  TRect r;
  if (const std::optional<TRect> tr = ScreenTextRect(b, Transform(), Diagram.UserBlocks)) {
    r = *tr;
  } else {  // a kind without a text rectangle: the block's own
    r = RectOfPoints(DiagramToScreen(b.TopLeft), DiagramToScreen(b.BottomRight));
    NormalizeRect(r);
  }
  // The editor never reaches under the scroll bars.
  Memo1->setGeometry(r.Left, r.Top, std::max(0, std::min(r.Right, ViewBottomRight.X) - r.Left),
                     std::max(0, std::min(r.Bottom, ViewBottomRight.Y) - r.Top));
  if (b.TextAlign <= 2) {
    QTextOption opt = Memo1->document()->defaultTextOption();
    opt.setAlignment(b.TextAlign == 1   ? Qt::AlignLeft
                     : b.TextAlign == 2 ? Qt::AlignRight
                                        : Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(opt);
  }
  QString text = DiagramToQString(b.Text);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  Memo1->clear();
  Memo1->setPlainText(text);
  Memo1->setFont(font_);
  Memo1->show();
  Memo1->setFocus(Qt::OtherFocusReason);
}

void TChildD::Memo1Exit() {
  if (EditedBlock && EditedBlock->IsBlock()) {
    QString text = Memo1->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    std::string& blockText = EditedBlock->AsBlock()->Data.Text;
    const std::string typed = QStringToDiagram(text);
    // Typed text is unsaved work: closing must ask.
    if (typed != blockText) Modified = true;
    blockText = typed;
    // Painted afresh, not over the old text, which would show through.
    RedrawBlockArea(EditedBlock);
  }
  EditedBlock = nullptr;
  HideEditor();
}

bool TChildD::EditorShown() const { return !Memo1->isHidden(); }

void TChildD::HideEditor() {
  if (!EditorShown()) return;
  const bool hadFocus = Memo1->hasFocus();
  hidingEditor_ = true;
  Memo1->hide();
  hidingEditor_ = false;
  if (hadFocus) setFocus(Qt::OtherFocusReason);
}
