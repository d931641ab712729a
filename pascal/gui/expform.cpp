#include "pascal/gui/expform.h"

#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QShowEvent>
#include <QVBoxLayout>

#include "model/codepage.h"
#include "model/shem.h"
#include "model/stream.h"
#include "pascal/gui/customedit.h"
#include "pascal/pascaltranslator.h"

namespace {
QString DefaultText(const std::string& bytes) {
  const std::u32string u = DecodeCodepage(bytes, DefaultCodePage);
  return QString::fromUcs4(u.data(), qsizetype(u.size()));
}

void DefaultMessage(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
  box.exec();
}
}  // namespace

TExpForm::TExpForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ExpForm"));
  setWindowTitle(QStringLiteral("Pascal procedure (function) of block-diagram file"));
  resize(405, 375);

  Memo1 = new TmCustomEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  QFont f(QStringLiteral("Courier New"));
  f.setPixelSize(13);
  Memo1->setFont(f);
  Memo1->SetGutterWidth(0);
  Memo1->SetRightEdge(80);
  Memo1->SetReadOnly(true);
  Memo1->SetLines({QString()});
  Memo1->SetWords(PascalWords());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  auto item = [this](const char* name, const QString& caption, void (TExpForm::*slot)()) {
    QAction* a = PopupMenu1->addAction(caption);
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  Cut1 = item("Cut1", QStringLiteral("Cut"), &TExpForm::Cut1Click);
  Copy1 = item("Copy1", QStringLiteral("Copy"), &TExpForm::Copy1Click);
  Paste1 = item("Paste1", QStringLiteral("Paste"), &TExpForm::Paste1Click);
  Delete1 = item("Delete1", QStringLiteral("Delete"), &TExpForm::Delete1Click);
  PopupMenu1->addSeparator();
  SelectAll1 = item("SelectAll1", QStringLiteral("Select All"), &TExpForm::SelectAll1Click);
  // The keys a reader expects for taking the text away, beside the view's
  // own Ctrl+Insert: Ctrl+A selects all, Ctrl+C copies.
  for (QAction* a : {Copy1, SelectAll1}) {
    a->setShortcut(a == Copy1 ? QKeySequence::Copy : QKeySequence::SelectAll);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
  }
  Memo1->SetPopupMenu(PopupMenu1);

  FormCreate();
}

TExpForm::~TExpForm() = default;

const QStringList& TExpForm::PascalWords() {
  static const QStringList words = {"abstract",
                                    "and",
                                    "array",
                                    "as",
                                    "asm",
                                    "assembler",
                                    "automated",
                                    "begin",
                                    "case",
                                    "cdecl",
                                    "class",
                                    "const",
                                    "constructor",
                                    "default",
                                    "destructor",
                                    "dispid",
                                    "dispinterface",
                                    "div",
                                    "do",
                                    "downto",
                                    "dynamic",
                                    "else",
                                    "end",
                                    "except",
                                    "export",
                                    "exports",
                                    "far",
                                    "file",
                                    "finalization",
                                    "finally",
                                    "for",
                                    "forward",
                                    "function",
                                    "goto",
                                    "if",
                                    "implementation",
                                    "in",
                                    "index",
                                    "inherited",
                                    "initialization",
                                    "inline",
                                    "interface",
                                    "is",
                                    "label",
                                    "library",
                                    "message",
                                    "mod",
                                    "name",
                                    "near",
                                    "nil",
                                    "nodefault",
                                    "not",
                                    "object",
                                    "of",
                                    "or",
                                    "out",
                                    "override",
                                    "packed",
                                    "private",
                                    "procedure",
                                    "program",
                                    "property",
                                    "protected",
                                    "public",
                                    "published",
                                    "raise",
                                    "read",
                                    "readonly",
                                    "record",
                                    "register",
                                    "repeat",
                                    "resident",
                                    "resourcestring",
                                    "set",
                                    "shl",
                                    "shr",
                                    "stdcall",
                                    "stored",
                                    "string",
                                    "stringresource",
                                    "then",
                                    "threadvar",
                                    "to",
                                    "try",
                                    "type",
                                    "unit",
                                    "until",
                                    "uses",
                                    "var",
                                    "virtual",
                                    "while",
                                    "with",
                                    "write",
                                    "writeonly",
                                    "xor"};
  return words;
}

void TExpForm::FormCreate() { stream_ = std::make_unique<TMemoryStream>(); }

void TExpForm::ShowDiagram(const TShem* diagram) {
  if (!diagram) return;
  stream_->Clear();
  diagram->SaveToStream(*stream_);
  if (modal_)
    modal_(*this);
  else
    exec();
}

void TExpForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TExpForm::FormShow() {
  const TTextFunction toText = toText_ ? toText_ : DefaultText;
  stream_->Seek(0);
  const TPascalTranslation t = Translate(*stream_, UserBlocks);
  // Each message in the order raised; a message ends only its own pass.
  for (const std::string& message : t.Messages) {
    const QString caption = QStringLiteral("Error");
    if (message_)
      message_(this, toText(message), caption);
    else
      DefaultMessage(this, toText(message), caption);
  }
  if (!t.Emitted) return;
  QStringList lines;
  lines.reserve(qsizetype(t.Lines.size()));
  for (const std::string& line : t.Lines) lines.append(toText(line));
  Memo1->SetLines(std::move(lines));
  Memo1->SetTopLine(1);
  Memo1->SetLeftChar(1);
  Memo1->SetCaretLine(1);
  Memo1->SetCaretCol(1);
}

void TExpForm::Cut1Click() {
  Memo1->CopyToClipboard();
  Memo1->DeleteSelection();
}

void TExpForm::Copy1Click() { Memo1->CopyToClipboard(); }

void TExpForm::Paste1Click() { Memo1->PasteFromClipboard(); }

void TExpForm::Delete1Click() { Memo1->DeleteSelection(); }

void TExpForm::SelectAll1Click() { Memo1->SelectAll(); }
