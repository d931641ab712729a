#pragma once
// TUBLView: the "List of user blocks" window. It lists the application's user
// blocks with their tool images and, through its pop-up menu, imports blocks
// from a text description or a ".blu" file, deletes one, saves the whole list
// as the program's "UserBlock.blu" and exports a selection to another file.
// Changes act on the shared list at once; closing asks whether to save them.

#include <QDialog>
#include <QList>
#include <QString>

#include "model/userblockimport.h"

class QAction;
class QMenu;
class QTreeWidget;
class TUserBlock;
class TUserBlockList;

// What the window needs from the main window.
class TUserBlockHost {
 public:
  virtual ~TUserBlockHost() = default;
  virtual TUserBlockList& Blocks() = 0;
  // Number of open document windows; deleting is refused while there are any.
  virtual int DocumentCount() const = 0;
  // The folder in which the open dialogs start.
  virtual QString LastDirectory() const = 0;
  // Where "Save list of block " writes and where the start-up reads.
  virtual QString ProgramDir() const = 0;
  virtual QString UserDataDir() const = 0;
  virtual void AddUserBlockButton(const TUserBlock& block, int index) = 0;
  virtual void RebuildUserBlockToolbar() = 0;
};

class TUBLView : public QDialog {
  Q_OBJECT

 public:
  explicit TUBLView(TUserBlockHost& host, QWidget* parent = nullptr);

  // Set by every change to the list; cleared by saving and by the main window
  // before it opens the window.
  bool Modified = false;
  // Clock, random numbers and bitmap reader of "from text file"; empty
  // members use the real ones.
  TUserBlockImportEnv ImportEnv;

  // --- controls
  QTreeWidget* ListView1;
  QMenu* PopupMenu1;
  QMenu* Importblock1;
  QAction* fromtextfile1;
  QAction* frombinaryfile1;
  QAction* Deleteblock1;
  QAction* Savelistofblock1;
  QAction* Exportblockstobinaryfile1;

  // Refills the rows and images from the list, in list order.
  void FillList();
  // List positions of the selected rows, ascending.
  QList<int> SelectedIndexes() const;

  void fromtextfile1Click();
  void frombinaryfile1Click();
  void Deleteblock1Click();
  // Writes the list; returns false (Modified stays set) when it could not.
  bool Savelistofblock1Click();
  void Exportblockstobinaryfile1Click();

  // Whether the window may close now: asks about unsaved changes.
  bool FormCloseQuery();

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool SaveListTo(const QString& fileName, QString* error) const;
  void ShowError(const QString& text);

  TUserBlockHost& host_;
};
