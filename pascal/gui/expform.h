#pragma once
// TExpForm, "Pascal procedure (function) of block-diagram file": shows the
// Pascal translation of a diagram in a read-only code view, Memo1, from which
// the user copies it.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class TMemoryStream;
class TShem;
class TUserBlockList;
class TmCustomEdit;

class TExpForm : public QDialog {
  Q_OBJECT
 public:
  explicit TExpForm(QWidget* parent = nullptr);
  ~TExpForm() override;

  TmCustomEdit* Memo1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Cut1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Paste1 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* SelectAll1 = nullptr;

  // The 95 Pascal reserved words that Memo1 draws in bold.
  static const QStringList& PascalWords();

  // The diagram to translate, as the diagram writer wrote it.
  TMemoryStream& Stream() { return *stream_; }
  // The application's user block list, so that diagrams holding user blocks
  // load (not owned; may be null).
  TUserBlockList* UserBlocks = nullptr;

  // Shows one translator message: a message box with the given caption
  // ("Error"), an exclamation icon and an OK button. The program passes its
  // question interface here; without one a plain message box is shown.
  using TMessageFunction =
      std::function<void(QWidget* parent, const QString& text, const QString& caption)>;
  void SetMessageFunction(TMessageFunction f) { message_ = std::move(f); }
  // Turns diagram text (8-bit, in the diagram code page) into the view's
  // text; the program passes its one conversion. Without one the default
  // code page is used.
  using TTextFunction = std::function<QString(const std::string&)>;
  void SetTextFunction(TTextFunction f) { toText_ = std::move(f); }
  // Runs the window modally; exec() unless replaced.
  using TModalFunction = std::function<void(QDialog&)>;
  void SetModalFunction(TModalFunction f) { modal_ = std::move(f); }

  // The "to Pascal" command: nothing without a diagram; otherwise the stream
  // is cleared, the diagram written into it, and the window shown modally.
  void ShowDiagram(const TShem* diagram);

  // The translation of the stream into Memo1, run on every show. Messages
  // go out one by one as they are raised. A successful translation
  // replaces Memo1's lines and puts the view back to its first line and
  // column; after a failed one Memo1 keeps the lines it had.
  void FormShow();

 protected:
  void showEvent(QShowEvent* e) override;

 private slots:
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void SelectAll1Click();

 private:
  void FormCreate();

  std::unique_ptr<TMemoryStream> stream_;
  TMessageFunction message_;
  TTextFunction toText_;
  TModalFunction modal_;
};
