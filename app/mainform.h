#pragma once
// TMainForm: the main window, a multiple-document frame titled
// "Block-diagram editor". It owns the document windows and the state shared by
// all of them, holds the toolbars, the listing panel and the status bar, and
// reads the settings at creation and writes them at exit. The commands live
// in app/commands/, one file per menu; the actions in the registry.

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <array>
#include <memory>

#include "editor/documenthost.h"
#include "editor/editorstate.h"

class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QSplitter;
class QToolBar;
class TActionRegistry;
class TArrangeCommands;
class TChildD;
class TDialogCommands;
class TDocumentMenu;
class TEditCommands;
class TExportCommands;
class TFileCommands;
class TFontBox;
class THelpCommands;
class TPascalExport;
class TListingPanel;
class TPropertyCommands;
class TSearchCommands;
class TPlugInList;
class TTemplateCommands;
class TPrintCommands;
class TMainStatusBar;
class TUserBlockCommands;
class TUserBlockToolbar;
class TToolCommands;
class TViewCommands;
class TWindowCommands;

class TMainForm : public QMainWindow, public TDocumentHost {
  Q_OBJECT

 public:
  struct TOptions {
    // Folder of "UserBlock.blu" and the default LastDirectory; empty means the
    // program's own folder.
    QString ProgramDir;
    // The user's own data folder, where "UserBlock.blu" may be saved when the
    // program's folder is not writable; empty means the standard one.
    QString UserDataDir;
    // Write the per-user file type association at start.
    bool WriteAssociation = true;
  };
  explicit TMainForm(const TOptions& options);
  TMainForm() : TMainForm(TOptions{}) {}
  ~TMainForm() override;

  // The main window of this process (null before it exists and after it is gone).
  static TMainForm* Instance();
  const TOptions& Options() const { return options_; }

  TEditorState AppState;
  QList<QIcon> ListingImages;  // kind k has image k, user block n image 15 + n

  // --- controls
  TActionRegistry* Actions;
  QMdiArea* MdiArea;
  QSplitter* Splitter;
  TListingPanel* ListingPanel;
  QToolBar* StandardToolbar;
  QToolBar* SpecialToolbar;
  QToolBar* AlignToolbar;
  TUserBlockToolbar* UserBlocksToolbar;
  QActionGroup* ToolGroup;  // the exclusive group of the tool buttons
  TFontBox* FontBox;
  TMainStatusBar* StatusBar;
  QAction* RecentSeparator;  // the separator before the recent files

  // --- commands, by menu
  std::unique_ptr<TFileCommands> FileCommands;
  std::unique_ptr<TViewCommands> ViewCommands;
  std::unique_ptr<THelpCommands> HelpCommands;
  std::unique_ptr<TEditCommands> EditCommands;
  std::unique_ptr<TWindowCommands> WindowCommands;
  std::unique_ptr<TToolCommands> ToolCommands;
  std::unique_ptr<TUserBlockCommands> UserBlockCommands;
  std::unique_ptr<TSearchCommands> SearchCommands;
  std::unique_ptr<TDialogCommands> DialogCommands;
  std::unique_ptr<TPropertyCommands> PropertyCommands;
  std::unique_ptr<TPascalExport> PascalExport;
  std::unique_ptr<TExportCommands> ExportCommands;
  std::unique_ptr<TPrintCommands> PrintCommands;
  std::unique_ptr<TArrangeCommands> ArrangeCommands;
  TDocumentMenu* DocumentMenu;  // the context menu of the document windows

  // --- extensions found beside the program at start
  std::unique_ptr<TPlugInList> PlugIns;  // File > Import
  // The "Templates" submenus of the document context menu and their commands.
  std::unique_ptr<TTemplateCommands> Templates;

  // --- documents
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
  // Closes the window of a file that did not load and gives the activation
  // back to the window that had it before.
  void CloseRefused(TChildD* doc, QMdiSubWindow* activeBefore);

  void ReadSettings();
  void WriteSettings();
  // Follows the active window: enables the actions by their rules, shows the
  // tool toolbars while documents exist and points the listing at the active one.
  void UpdateMenuItems();
  // The Special and User blocks toolbars show exactly while documents are open.
  void UpdateToolbarVisibility();
  // Brings the window to the front (and out of minimised state).
  void BringToFront();
  // Standard, Special, Align palette and User blocks, the order of the settings.
  std::array<QToolBar*, 4> Toolbars() const;

  // --- TDocumentHost
  TEditorState& State() override { return AppState; }
  ListView* ListingView() override;
  bool ListingShows(const TShem* diagram) const override;
  QString FontFace() const override;
  bool SaveDocument(TChildD* doc) override;
  void SetStatusPanel(int index, const QString& text) override;
  void ToolChanged() override;
  void ContextMenu(TChildD* doc, QPoint global) override;

 signals:
  // A document was written to its file and has no unsaved changes now.
  void DocumentSaved(TChildD* doc);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void CreateMenus();
  void CreateToolbars();
  void CreateScaleButton();

  TOptions options_;
  bool settingsRead_ = false;
};

// Runs OpenDocument on the main window (the program's exported LoadFile).
void MainFormLoadFile(const char* fileName);
