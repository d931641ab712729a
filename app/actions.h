#pragma once
// The action registry: every command of the main window is one QAction,
// created once from the command table (caption with its "&", hint, shortcut,
// tag, image, objectName, accessible name) and found by its command id.
// Menus, toolbars and the context menu only place these actions; the command
// files connect their handlers to them; UpdateMenuItems enables them by the
// rule each row names.

#include <QObject>
#include <Qt>
#include <array>
#include <cstdint>
#include <span>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPixmap;
class QToolBar;
class QWidget;

// Command ids, grouped by where they first appear, in the order of the menu
// bar ("&File", "&Edit", "View", "&Window", "&?"), then the document context
// menu, then the buttons that are on toolbars only (tools, alignment). A new
// command is a new id in its group here and one row in the table of
// actions.cpp; the table's order follows the ids.
enum class TCommand : uint8_t {
  // "&File"
  New,
  Open,
  Close,
  Save,
  SaveAs,
  Options,
  Print,
  PrintPreview,
  PageSetup,
  ExportGraphic,
  ExportPascal,
  Exit,
  // "&Edit"
  Undo,
  Redo,
  Delete,
  Cut,
  Copy,
  Paste,
  SelectAll,
  Find,
  Replace,
  JoinSquare,
  Duplicate,
  // "View"
  Zoom1,
  Zoom2,
  Zoom4,
  Zoom8,
  FullScreen,
  Grid,
  Listing,
  StatusBar,
  ShowStandard,
  ShowSpecial,
  ShowAlign,
  ShowUserBlocks,
  UserBlocksList,
  // "&Window"
  Cascade,
  Tile,
  ArrangeIcons,
  MinimizeAll,
  // "&?"
  Contents,
  About,
  // The document context menu. Its clipboard entries have their own texts
  // and run the commands of the "&Edit" menu.
  AlignToGrid,
  AlignDialog,
  SizeDialog,
  ContextCut,
  ContextCopy,
  ContextPaste,
  ContextDelete,
  ContextDuplicate,
  // "Replace to" > "Block", tag = the new kind (there is no Text entry)
  ReplaceRectangle,
  ReplaceEllipse,
  ReplaceRhomb,
  ReplaceParallelogram,
  ReplaceComment,
  ReplaceDocument,
  ReplaceProcess,
  ReplacePage,
  // "Insert " > "Block ", tag = the kind of the new block
  InsertRectangle,
  InsertEllipse,
  InsertRhomb,
  InsertParallelogram,
  InsertText,
  InsertComment,
  InsertDocument,
  InsertProcess,
  InsertPage,
  Properties,
  // Buttons of the Standard toolbar without a menu entry of their own
  SaveButton,
  PreviewButton,
  Scaling,
  TextLeft,
  TextCenter,
  TextRight,
  ListingButton,
  // The tool buttons of the Special toolbar, one exclusive group
  ToolSelect,
  ToolEditText,
  ToolText,
  ToolRectangle,
  ToolEllipse,
  ToolRhomb,
  ToolParallelogram,
  ToolDocument,
  ToolComment,
  ToolProcess,
  ToolPage,
  ToolLink,
  ToolLinkPoints,
  ToolMoveDocument,
  // The Align palette
  AlignLefts,
  AlignHCenters,
  AlignRights,
  SpaceHorizontally,
  AlignTops,
  AlignVCenters,
  AlignBottoms,
  SpaceVertically,

  Count  // the number of commands, not a command
};
constexpr size_t CommandCount = size_t(TCommand::Count);

// The menus of the menu bar.
// The menus of the menu bar, then the submenus.
enum class TMenuId : uint8_t {
  File,
  Edit,
  View,
  Window,
  Help,
  Import,
  Export,
  Scale,
  Toolbars,
  // The document context menu and its submenus
  Context,
  ReplaceTo,
  ReplaceBlock,
  ReplaceTemplates,
  Insert,
  InsertBlock,
  InsertTemplates,
  Count
};
constexpr size_t MenuCount = size_t(TMenuId::Count);

// The fixed toolbars (the user block toolbar is built from the user blocks).
enum class TToolbarId : uint8_t { Standard, Special, Align, Count };
constexpr size_t ToolbarCount = size_t(TToolbarId::Count);

// When an action is enabled.
enum class TEnableRule : uint8_t {
  Always,
  Never,           // the command's operation is not part of this build yet
  AnyDocument,     // at least one document window exists
  ActiveDocument,  // a document window is active
  CanUndo,         // the active document offers Undo
  CanRedo,         // the active document offers Redo
  Clipboard,       // a document is active and the clipboard diagram is not empty
  BlockSelected,   // the active document's selection holds a block
  ObjectSelected,  // the active document's selection holds any object
  SeveralBlocks,   // the active document's selection holds two blocks or more
  OneBlock,        // the active document's selection holds exactly one block
  OneObject,       // the active document's selection is exactly one object
};

// What the rules look at.
struct TCommandContext {
  int Documents = 0;
  bool Active = false;
  bool CanUndo = false;
  bool CanRedo = false;
  int ClipboardObjects = 0;
  int SelectedBlocks = 0;
  int SelectedObjects = 0;
};
bool RuleHolds(TEnableRule rule, const TCommandContext& c);

// The image strips of the toolbar buttons (16 by 16 cells).
enum class TImageStrip : uint8_t { None, Standart, Special, Align };

struct TCommandRow {
  TCommand Id;
  const char* Name;      // objectName: the item's name in the system
  const char* Caption;   // "&" marks the underlined letter
  const char* Hint;      // status bar text, tooltip and accessible description
  const char* Shortcut;  // portable key text; "" for none
  int Tag = 0;
  TImageStrip Strip = TImageStrip::None;
  int Image = -1;  // cell in Strip; -1 for none
  TEnableRule Rule = TEnableRule::Always;
  bool Checkable = false;
  bool Checked = false;  // initially
};

struct TMenuRow {
  TMenuId Id;
  const char* Name;
  const char* Caption;
  const char* Hint;
};

struct TToolbarRow {
  TToolbarId Id;
  const char* Name;
  const char* Caption;
  const char* Hint;
  Qt::ToolBarArea Area;  // where it starts
  bool Hidden;           // at start
};

// The tables, one row per id in id order.
std::span<const TCommandRow> CommandTable();
std::span<const TMenuRow> MenuTable();
std::span<const TToolbarRow> ToolbarTable();

class TActionRegistry : public QObject {
  Q_OBJECT

 public:
  // Creates every action as a child of owner (where their shortcuts live).
  explicit TActionRegistry(QWidget* owner);

  QAction* Action(TCommand id) const { return actions_[size_t(id)]; }
  const TCommandRow& Row(TCommand id) const;
  // The command of an action of this registry, or Count.
  TCommand CommandOf(const QAction* a) const;

  // Creates a menu of the menu bar from its row (once; later calls return it).
  QMenu* CreateMenu(TMenuId id, QMenuBar* bar);
  // Creates a submenu inside parent from its row (once; later calls return it).
  QMenu* CreateSubmenu(TMenuId id, QMenu* parent);
  // Creates a pop-up menu owned by parent from its row (once; later calls
  // return it).
  QMenu* CreatePopup(TMenuId id, QWidget* parent);
  QMenu* Menu(TMenuId id) const { return menus_[size_t(id)]; }
  // Creates a toolbar of the window from its row (once; later calls return it).
  QToolBar* CreateToolbar(TToolbarId id, QMainWindow* window);
  QToolBar* Toolbar(TToolbarId id) const { return toolbars_[size_t(id)]; }
  // Puts the action on the toolbar; the button reads as its caption and hint.
  void PlaceOnToolbar(QToolBar* bar, TCommand id) const;

  // Enables every action whose rule holds and disables the others.
  void EnableByRule(const TCommandContext& c) const;
  // Gives every action of the strip its cell of cells (16 by 16, in a row).
  void SetImages(TImageStrip strip, const QPixmap& cells) const;

 private:
  static void Describe(QMenu* menu, const TMenuRow& row);

  std::array<QAction*, CommandCount> actions_{};
  std::array<QMenu*, MenuCount> menus_{};
  std::array<QToolBar*, ToolbarCount> toolbars_{};
};

// Assistive technology knows a control by its caption without the "&" (the
// hint when there is no caption) and describes it by its hint.
QString AccessibleCaption(const char* caption, const char* hint);
