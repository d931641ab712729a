#pragma once
// The commands of the "&File" menu: Open, the recent files, Save (for the
// close question) and Exit.

#include <QString>

class QAction;
class TActionRegistry;
class TChildD;
class TMainForm;

class TFileCommands {
 public:
  TFileCommands(TMainForm& form, TActionRegistry& actions);

  // The open dialog; every chosen file goes through OpenDocument.
  void Open1Click();
  // The File menu opens: the recent files are listed before "E&xit".
  void FileItemClick();
  // A recent file chosen from the menu.
  void QuickOpenClick(QAction* item);
  // Writes doc to its file (asking for a name when it has none); true when
  // the diagram was written.
  bool SaveDocument(TChildD* doc);
  // Puts the file's absolute name first in the recent files, keeping at most
  // five; other names of the same file leave the list.
  void AddRecentFile(const QString& fileName);
  void RemoveRecentFile(const QString& fileName);

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
};
