#include "app/commands/arrangecommands.h"

#include <QAction>
#include <QLineEdit>

#include "app/actions.h"
#include "app/dialogs/alignf.h"
#include "app/dialogs/radiogroup.h"
#include "app/dialogs/sizef.h"
#include "app/mainform.h"
#include "editor/childd.h"
#include "editor/modalquestions.h"

namespace {
// The Align palette: horizontal and vertical mode of each button.
struct TPaletteButton {
  TCommand Id;
  TAlignMode Horizontal, Vertical;
};
constexpr TPaletteButton kPalette[] = {
    {TCommand::AlignLefts, TAlignMode::Starts, TAlignMode::NoChange},
    {TCommand::AlignHCenters, TAlignMode::Centers, TAlignMode::NoChange},
    {TCommand::AlignRights, TAlignMode::Ends, TAlignMode::NoChange},
    {TCommand::SpaceHorizontally, TAlignMode::SpaceEqually, TAlignMode::NoChange},
    {TCommand::AlignTops, TAlignMode::NoChange, TAlignMode::Starts},
    {TCommand::AlignVCenters, TAlignMode::NoChange, TAlignMode::Centers},
    {TCommand::AlignBottoms, TAlignMode::NoChange, TAlignMode::Ends},
    {TCommand::SpaceVertically, TAlignMode::NoChange, TAlignMode::SpaceEqually},
};

constexpr TCommand kReplace[] = {
    TCommand::ReplaceRectangle,     TCommand::ReplaceEllipse, TCommand::ReplaceRhomb,
    TCommand::ReplaceParallelogram, TCommand::ReplaceComment, TCommand::ReplaceDocument,
    TCommand::ReplaceProcess,       TCommand::ReplacePage,
};
constexpr TCommand kInsert[] = {
    TCommand::InsertRectangle,     TCommand::InsertEllipse, TCommand::InsertRhomb,
    TCommand::InsertParallelogram, TCommand::InsertText,    TCommand::InsertComment,
    TCommand::InsertDocument,      TCommand::InsertProcess, TCommand::InsertPage,
};

// The rectangles of blocks, to tell whether a command changed anything.
std::vector<TRect> Rects(const std::vector<Block*>& blocks) {
  std::vector<TRect> r;
  r.reserve(blocks.size());
  for (const Block* b : blocks) r.push_back(b->Rect());
  return r;
}
}  // namespace

TArrangeCommands::TArrangeCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), alignF_(new TAlignF(&form)), sizeF_(new TSizeF(&form)) {
  auto on = [&](TCommand id, auto handler) {
    QObject::connect(actions.Action(id), &QAction::triggered, &form, handler);
  };
  for (const TPaletteButton& b : kPalette)
    on(b.Id, [this, b] { AlignSelection(b.Horizontal, b.Vertical); });
  on(TCommand::AlignToGrid, [this] { AligntoGrid1Click(); });
  on(TCommand::AlignDialog, [this] { Align1Click(); });
  on(TCommand::SizeDialog, [this] { Size1Click(); });
  // The tag of each entry is the kind.
  for (TCommand id : kReplace) on(id, [this, k = actions.Row(id).Tag] { ReplaceToBlock(k); });
  for (TCommand id : kInsert) on(id, [this, k = actions.Row(id).Tag] { InsertBlock(k); });
}

TArrangeCommands::~TArrangeCommands() = default;

std::vector<Block*> TArrangeCommands::SelectedBlocks(TChildD& d, bool withPoints) {
  std::vector<Block*> blocks;
  for (TShemObj* o : d.Selection)
    if (TBlock* b = o->AsBlock(); b && (withPoints || b->Data.Kind != bkPoint))
      blocks.push_back(&b->Data);
  return blocks;
}

void TArrangeCommands::AlignSelection(TAlignMode horizontal, TAlignMode vertical) {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  d->SaveUndo();
  const std::vector<Block*> blocks = SelectedBlocks(*d, true);
  if (blocks.empty()) return;
  const std::vector<TRect> before = Rects(blocks);
  AlignBlocks(blocks, horizontal, vertical);
  // Moved blocks are unsaved work: closing must ask.
  if (Rects(blocks) != before) d->Modified = true;
  d->Redraw();
}

void TArrangeCommands::AligntoGrid1Click() {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  d->SaveUndo();
  const std::vector<Block*> blocks = SelectedBlocks(*d, true);
  const std::vector<TRect> before = Rects(blocks);
  AlignBlocksToGrid(blocks);
  if (Rects(blocks) != before) d->Modified = true;
  d->Redraw();
}

void TArrangeCommands::Align1Click() {
  if (!form_.ActiveDocument()) return;
  if (Questions().ShowModal(alignF_) != QDialog::Accepted) return;
  AlignSelection(TAlignMode(alignF_->RadioGroup1->ItemIndex()),
                 TAlignMode(alignF_->RadioGroup2->ItemIndex()));
}

bool TArrangeCommands::ReadSizeBox(const QString& text, TSizeChoice& choice) {
  if (text.isEmpty()) return true;  // no value: the axis stays as it is
  bool ok = false;
  const qlonglong v = text.toLongLong(&ok);
  if (!ok) {
    Questions().Ask(&form_, QStringLiteral("'%1' is not a valid integer value").arg(text),
                    QString::fromUtf8(EditorCaption), QMessageBox::Warning, QMessageBox::Ok);
    return false;
  }
  choice.Value = v;
  return true;
}

void TArrangeCommands::Size1Click() {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  if (Questions().ShowModal(sizeF_) != QDialog::Accepted) return;
  const std::vector<Block*> blocks = SelectedBlocks(*d, false);
  const std::vector<TRect> before = Rects(blocks);
  // Widths first: a bad width box stops before the heights.
  TSizeChoice width{TSizeMode(sizeF_->RadioGroup1->ItemIndex())};
  bool ok = width.Mode != TSizeMode::Value || ReadSizeBox(sizeF_->Edit1->text(), width);
  if (ok) {
    SizeBlocks(blocks, width, {});
    TSizeChoice height{TSizeMode(sizeF_->RadioGroup2->ItemIndex())};
    if (height.Mode != TSizeMode::Value || ReadSizeBox(sizeF_->Edit2->text(), height))
      SizeBlocks(blocks, {}, height);
  }
  if (Rects(blocks) != before) d->Modified = true;
  d->Redraw();
}

void TArrangeCommands::ReplaceToBlock(int kind) {
  TChildD* d = form_.ActiveDocument();
  if (!d) return;
  bool changed = false;
  // A copy: the kind change may delete links that are selected.
  const std::vector<TShemObj*> selected = d->Selection.Items();
  for (TShemObj* o : selected) {
    const TBlock* b = d->Diagram.Contains(o) ? o->AsBlock() : nullptr;
    if (!b || b->Data.Kind == bkPoint) continue;
    changed = changed || b->Data.Kind != kind;
    d->Diagram.ChangeKind(o, kind);
  }
  if (changed) {
    d->Modified = true;
    d->FillListView();  // the rows show the kinds
  }
  d->Redraw();
}

void TArrangeCommands::InsertBlock(int kind) {
  TChildD* d = form_.ActiveDocument();
  if (!d || kind < 0 || kind >= int(form_.AppState.StandardBlockSizes.size())) return;
  // Text typed into another block is kept before the new block takes the editor.
  if (d->EditedBlock) d->Memo1Exit();
  d->Modified = true;
  d->SaveUndo();
  const auto [w, h] = form_.AppState.StandardBlockSizes[size_t(kind)];
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = uint8_t(kind);
  b->Data.SetRect(InsertedBlockRect(d->ScreenToDiagram(d->DragStart), w, h));
  TShemObj* block = d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
  d->Selection.Assign({block});
  d->Redraw();
  d->EditedBlock = block;
  d->BeginTextEdit(block);
  d->SwitchToSelect();
  d->Redraw();
}
