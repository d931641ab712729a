#pragma once
// TMainForm: the main window, a multiple-document frame titled
// "Block-diagram editor". It owns the document windows and the state shared by
// all of them (tool, colours, block sizes, recent files, the clipboard diagram,
// the user block list and its images), the toolbars, the listing panel and the
// status bar, and reads the settings at creation and writes them at exit.

#include <QCursor>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "editor/documenthost.h"
#include "userblocks/userblocklist.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QToolBar;
class QUrl;
class TChildD;
class TListingPanel;
class TShem;
class TUserBlock;

class TMainForm : public QMainWindow, public TDocumentHost {
  Q_OBJECT

 public:
  struct TOptions {
    // Folder of "UserBlock.blu" and the default LastDirectory; empty means the
    // program's own folder.
    QString ProgramDir;
    // Write the per-user file type association at start.
    bool WriteAssociation = true;
  };
  explicit TMainForm(const TOptions& options);
  TMainForm() : TMainForm(TOptions{}) {}
  ~TMainForm() override;

  // The main window of this process (null before it exists and after it is gone).
  static TMainForm* Instance();

  // --- application-wide state
  uint8_t CurrentTool = 0;
  uint8_t NewBlockKind = 0;
  QColor BackgroundColor{192, 192, 192};
  std::array<std::pair<int, int>, 10> StandardBlockSizes;
  QString LastDirectory;
  QStringList RecentFiles;
  QString NewDocumentTitle;
  std::unique_ptr<TShem> ClipboardDiagram;
  TUserBlockList UserBlocks;
  QList<QIcon> ListingImages;
  QList<QIcon> ToolbarImages;

  // --- controls
  QMdiArea* MdiArea;
  QSplitter* Splitter;
  TListingPanel* ListingPanel;
  QToolBar* StandardToolbar;
  QToolBar* SpecialToolbar;
  QToolBar* AlignToolbar;
  QToolBar* UserBlocksToolbar;
  QActionGroup* ToolGroup;  // the exclusive group of the tool buttons
  QComboBox* FontBox;
  std::array<QLabel*, 2> StatusPanels;
  bool StatusSimple = true;
  QMenu* FileMenu;
  QAction* Open1;
  QAction* RecentSeparator;  // the separator before the recent files
  QAction* Exit1;
  QAction* Grid1;
  QAction* Listing1;
  QAction* Contents1;

  // The cursor table: numbers 1 to 11 (0 is the default arrow).
  const QCursor& CursorOf(int number) const;
  static const char* const CursorNames[12];

  // --- operations
  // Activates the window titled with the file's absolute, canonical name
  // (exact case) or opens the file in a new one under that name; returns the
  // window, or null when the file did not load.
  TChildD* OpenDocument(const QString& fileName);
  TChildD* CreateDocument(const QString& title);
  // The active document ("current" also while the application is inactive).
  TChildD* ActiveDocument() const;
  // Document windows in the order they were created.
  QList<TChildD*> Documents() const;
  QMdiSubWindow* SubWindowOf(const TChildD* doc) const;
  void LoadUserBlocks();
  void RebuildUserBlockToolbar();
  void AddUserBlockButton(const TUserBlock& block, int index);
  void ReadSettings();
  void WriteSettings();
  void UpdateMenuItems();
  void FileItemClick();
  void QuickOpenClick(QAction* item);
  void Open1Click();
  void Contents1Click();
  // Where the bundled manual lies; empty when it cannot be found.
  QString HelpFile() const;
  // Hands a URL to the desktop (a browser for the manual); false when nothing
  // took it. Tests put their own in.
  std::function<bool(const QUrl&)> OpenUrl;
  // Brings the window to the front (and out of minimised state).
  void BringToFront();
  void SetStatusSimple(bool simple);
  // Puts the file's absolute name first in RecentFiles; other names of the
  // same file leave the list.
  void AddRecentFile(const QString& fileName);
  void RemoveRecentFile(const QString& fileName);

  // --- TDocumentHost
  TUserBlockList* UserBlockList() override { return &UserBlocks; }
  ListView* ListingView() override;
  bool ListingShows(const TShem* diagram) const override;
  QString FontFace() const override;
  QColor GetBackgroundColor() const override { return BackgroundColor; }
  int GetCurrentTool() const override { return CurrentTool; }
  int GetNewBlockKind() const override { return NewBlockKind; }
  bool SaveDocument(TChildD* doc) override;
  void SetStatusPanel(int index, const QString& text) override;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void CreateMenus();
  void CreateToolbars();
  void CreateStatusBar();
  void FillFontList();
  void LoadCursors();
  void MakeListingImages();
  void ApplyToolbarSettings();
  // The Special and User blocks toolbars show exactly while documents are open.
  void UpdateToolbarVisibility();
  // Closes the window of a file that did not load and gives the activation
  // back to the window that had it before.
  void CloseRefused(TChildD* doc, QMdiSubWindow* activeBefore);
  std::array<QToolBar*, 4> Toolbars() const;

  TOptions options_;
  std::array<QCursor, 12> cursors_;
  bool settingsRead_ = false;
};

// Runs OpenDocument on the main window (the program's exported LoadFile).
void MainFormLoadFile(const char* fileName);
