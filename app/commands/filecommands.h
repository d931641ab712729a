#pragma once
// The commands of the "&File" menu: New, Open, Close, Save, Save as, the
// recent files and Exit.

#include <QString>

class QAction;
class TActionRegistry;
class TChildD;
class TMainForm;

class TFileCommands {
 public:
  TFileCommands(TMainForm& form, TActionRegistry& actions);

  // A new window titled NewDocumentTitle and the number of document windows.
  void New1Click();
  // The open dialog; every chosen file goes through OpenDocument.
  void Open1Click();
  // The File menu opens: the recent files are listed before "E&xit".
  void FileItemClick();
  // Closes the active window (its close question may ask to save).
  void Close1Click();
  void Save1Click();
  // Asks for a name, writes the diagram there and makes it the document's
  // name; false when nothing was written.
  bool SaveAs(TChildD* doc);
  // A recent file chosen from the menu.
  void QuickOpenClick(QAction* item);
  // Writes doc to its file (asking for a name when it has none); true when
  // the diagram was written.
  bool SaveDocument(TChildD* doc);
  // Writes doc to fileName through the atomic writer; on success the name
  // becomes the document's file name, caption and first recent file, and
  // Modified is cleared. A failure says why and leaves Modified as it was.
  bool WriteDocument(TChildD* doc, const QString& fileName);
  // Puts the file's absolute name first in the recent files, keeping at most
  // five; other names of the same file leave the list.
  void AddRecentFile(const QString& fileName);
  void RemoveRecentFile(const QString& fileName);

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
};
