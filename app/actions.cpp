#include "app/actions.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>

namespace {
using R = TEnableRule;

const TCommandRow kCommands[] = {
    // "&File"
    {TCommand::New, "New1", "&New", "Create a new file", "Ctrl+N", 0, TImageStrip::Standart, 0},
    {TCommand::Open, "Open1", "&Open", "Open an existing file", "Ctrl+O", 0, TImageStrip::Standart,
     1},
    {TCommand::Close, "Close1", "&Close", "Close current document", "Ctrl+F4", 0, TImageStrip::None,
     -1, R::AnyDocument},
    {TCommand::Save, "Save1", "&Save", "Save current document", "", 0, TImageStrip::Standart, 2,
     R::AnyDocument},
    {TCommand::SaveAs, "SaveAs1", "Save &as . . .", "Save current file as...", "", 0,
     TImageStrip::None, -1, R::AnyDocument},
    {TCommand::Options, "Options1", "Options", "Options of editor.", "", 0, TImageStrip::None, -1},
    {TCommand::Print, "Print1", "Print", "Print current document", "", 0, TImageStrip::Standart, 11,
     R::ActiveDocument},
    {TCommand::PrintPreview, "PrintPreview1", "Print preview",
     "Show the pages of current document as they will be printed", "", 0, TImageStrip::None, -1,
     R::ActiveDocument},
    {TCommand::PageSetup, "PageSetup1", "Page setup . . .",
     "Page orientation, and printing fitted to the page or one to one across pages", "", 0,
     TImageStrip::None, -1},
    {TCommand::ExportGraphic, "ExportGraphic1", "to graphic file",
     "Export current document to graphic file.", "", 0, TImageStrip::None, -1, R::AnyDocument},
    {TCommand::ExportPascal, "ExportPascal1", "to Pascal",
     "Export current document to procedure or function of Pascal", "", 0, TImageStrip::None, -1,
     R::AnyDocument},
    {TCommand::Exit, "Exit1", "E&xit", "Exit the application", "", 99},
    // "&Edit"
    {TCommand::Undo, "Undo1", "Undo", "Undo last operation", "Ctrl+Z", 0, TImageStrip::None, -1,
     R::CanUndo},
    {TCommand::Redo, "Redo1", "Redo", "Redo last operation", "Shift+Ctrl+Z", 0, TImageStrip::None,
     -1, R::CanRedo},
    {TCommand::Delete, "Delete1", "&Delete", "Delete selection.", "Shift+Del", 0,
     TImageStrip::Standart, 9, R::ObjectSelected},
    {TCommand::Cut, "Cut1", "Cu&t", "Cut selection to clipboard", "Ctrl+X", 0,
     TImageStrip::Standart, 3, R::BlockSelected},
    {TCommand::Copy, "Copy1", "&Copy", "Copy selection to clipboard", "Ctrl+C", 0,
     TImageStrip::Standart, 4, R::BlockSelected},
    {TCommand::Paste, "Paste1", "&Paste", "Paste selection to current document", "Ctrl+V", 0,
     TImageStrip::Standart, 5, R::Clipboard},
    {TCommand::SelectAll, "SelectAll1", "Se&lect All", "Select All object in current document",
     "Ctrl+A", 0, TImageStrip::None, -1, R::ActiveDocument},
    {TCommand::Find, "Find1", "&Find", "Find block with text", "Ctrl+F", 0, TImageStrip::None, -1,
     R::ActiveDocument},
    {TCommand::Replace, "Replace1", "&Replace", "Replace text in block of current document",
     "Ctrl+R", 0, TImageStrip::None, -1, R::ActiveDocument},
    {TCommand::JoinSquare, "JoinSquare1", "Join Square", "", "", 0, TImageStrip::None, -1,
     R::ActiveDocument},
    {TCommand::Duplicate, "Duplicate1", "Du&plicate", "Duplicate selection", "Ctrl+D", 0,
     TImageStrip::None, -1, R::BlockSelected},
    // "View"
    {TCommand::Zoom1, "x11", "x1", "", "", 1, TImageStrip::None, -1, R::ActiveDocument, true, true},
    {TCommand::Zoom2, "x21", "x2", "", "", 2, TImageStrip::None, -1, R::ActiveDocument, true},
    {TCommand::Zoom4, "x41", "x4", "", "", 4, TImageStrip::None, -1, R::ActiveDocument, true},
    {TCommand::Zoom8, "x81", "x8", "", "", 8, TImageStrip::None, -1, R::ActiveDocument, true},
    {TCommand::FullScreen, "Fullscreen1", "Full-screen preview", "Full-screen preview", "", 0,
     TImageStrip::Standart, 10, R::ActiveDocument},
    {TCommand::Grid, "Grid1", "Grid", "Show/Unshow grid", "", 0, TImageStrip::Standart, 12,
     R::Always, true},
    {TCommand::Listing, "Listing1", "Listing", "Show/Unshow list of object", "", 0,
     TImageStrip::Standart, 7, R::Always, true},
    {TCommand::StatusBar, "Statusbar1", "Statusbar", "Show/Unshow statusbar", "", 0,
     TImageStrip::None, -1, R::Always, true, true},
    {TCommand::ShowStandard, "Standard1", "Standard", "", "", 0, TImageStrip::None, -1, R::Always,
     true, true},
    {TCommand::ShowSpecial, "Special1", "Special", "", "", 0, TImageStrip::None, -1, R::Always,
     true},
    {TCommand::ShowAlign, "AlignmentPalette1", "Alignment Palette", "", "", 0, TImageStrip::None,
     -1, R::Always, true},
    {TCommand::ShowUserBlocks, "Userblocks1", "User blocks", "", "", 0, TImageStrip::None, -1,
     R::Always, true},
    {TCommand::UserBlocksList, "Userblockslist1", "User blocks list", "Show user blocks list", "",
     0, TImageStrip::None, -1, R::Always},
    // "&Window"
    {TCommand::Cascade, "Cascade1", "&Cascade", "Arrange windows to overlap", "", 0,
     TImageStrip::None, -1, R::AnyDocument},
    {TCommand::Tile, "Tile1", "&Tile", "Arrange windows without overlap", "", 0, TImageStrip::None,
     -1, R::AnyDocument},
    {TCommand::ArrangeIcons, "ArrangeIcons1", "&Arrange Icons",
     "Arrange window icons at bottom of main window", "", 0, TImageStrip::None, -1, R::AnyDocument},
    {TCommand::MinimizeAll, "MinimizeAll1", "&Minimize All", "Minimize all windows", "", 0,
     TImageStrip::None, -1, R::AnyDocument},
    // "&?"
    {TCommand::Contents, "Contents1", "&Contents", "View help contents", ""},
    {TCommand::About, "About1", "&About", "Information about program", "", 0, TImageStrip::None,
     -1},
    // Document context menu
    {TCommand::AlignToGrid, "AligntoGrid1", "Align to Grid", "Align selected to Grid", "", 0,
     TImageStrip::None, -1, R::BlockSelected},
    {TCommand::AlignDialog, "Align1", "Align", "Vertical and horizontal align ", "", 0,
     TImageStrip::None, -1, R::SeveralBlocks},
    {TCommand::SizeDialog, "Size1", "Size", "Resize multiple object", "", 0, TImageStrip::None, -1,
     R::SeveralBlocks},
    {TCommand::ContextCut, "Cut2", "Cut", "Cut selection to clipboard", "", 0, TImageStrip::None,
     -1, R::BlockSelected},
    {TCommand::ContextCopy, "Copy2", "Copy", "Copy selection to clipboard", "", 0,
     TImageStrip::None, -1, R::BlockSelected},
    {TCommand::ContextPaste, "Paste2", "Paste", "Paste selection to current document", "", 0,
     TImageStrip::None, -1, R::Clipboard},
    {TCommand::ContextDelete, "Delete2", "Delete", "Delete selection.", "Shift+Del", 0,
     TImageStrip::None, -1, R::BlockSelected},
    {TCommand::ContextDuplicate, "Duplicate2", "Duplicate", "Duplicate selection.", "Ctrl+D", 0,
     TImageStrip::None, -1, R::BlockSelected},
    {TCommand::ReplaceRectangle, "ReplaceRectangle1", "Rectangle",
     "Replase selected object to rectangle", "", 0},
    {TCommand::ReplaceEllipse, "ReplaceEllipse1", "Ellipse", "Replase selected object to ellipse",
     "", 1},
    {TCommand::ReplaceRhomb, "ReplaceRhomb1", "Rhomb", "Replase selected object to rhomb", "", 2},
    {TCommand::ReplaceParallelogram, "ReplaceParallelogram1", "Parallelogram",
     "Replase selected object to parallelogram", "", 3},
    {TCommand::ReplaceComment, "ReplaceCommentary1", "Commentary",
     "Replase selected object to commentary", "", 6},
    {TCommand::ReplaceDocument, "ReplaceDocument1", "Document",
     "Replase selected object to document", "", 7},
    {TCommand::ReplaceProcess, "ReplaceProcess1", "Process",
     "Replase selected object to predefined process", "", 8},
    {TCommand::ReplacePage, "ReplaceDivider1", "Divider", "Replase selected object to page divider",
     "", 9},
    {TCommand::InsertRectangle, "InsertRectangle1", "Rectangle", "Insert standard rectangle", "",
     0},
    {TCommand::InsertEllipse, "InsertEllipse1", "Ellipse", "Insert standard ellipse", "", 1},
    {TCommand::InsertRhomb, "InsertRhomb1", "Rhomb", "Insert standard rhomb", "", 2},
    {TCommand::InsertParallelogram, "InsertParallelogram1", "Parallelogram",
     "Insert standard parallelogram", "", 3},
    {TCommand::InsertText, "InsertText1", "Text", "Insert standard text", "", 5},
    {TCommand::InsertComment, "InsertCommentary1", "Commentary", "Insert standard commentary", "",
     6},
    {TCommand::InsertDocument, "InsertDocument1", "Document", "Insert standard document", "", 7},
    {TCommand::InsertProcess, "InsertProcess1", "Process", "Insert standard predefined process", "",
     8},
    {TCommand::InsertPage, "InsertDivider1", "Divider", "Insert standard page divider", "", 9},
    {TCommand::Properties, "Properties1", "Properties", "Properties of object", "", 0,
     TImageStrip::None, -1, R::OneObject},
    // Standard toolbar
    {TCommand::SaveButton, "SaveButton1", "", "Save current file", "", 0, TImageStrip::Standart, 2},
    {TCommand::PreviewButton, "PreviewButton1", "",
     "Display a full-screen priview of the block-diagram", "", 0, TImageStrip::Standart, 10},
    {TCommand::Scaling, "Scaling1", "", "Scaling", "", 0, TImageStrip::Standart, 6},
    {TCommand::TextLeft, "TextLeft1", "", "Align text into block to left.", "", 1,
     TImageStrip::Standart, 13},
    {TCommand::TextCenter, "TextCenter1", "", "Align text into block to center.", "", 0,
     TImageStrip::Standart, 14},
    {TCommand::TextRight, "TextRight1", "", "Align text into block to right.", "", 2,
     TImageStrip::Standart, 15},
    {TCommand::ListingButton, "ListingButton1", "", "Listing of object", "", 0,
     TImageStrip::Standart, 7, R::Always, true},
    // Special toolbar
    {TCommand::ToolSelect, "ToolSelect1", "", "Select objects", "", 0, TImageStrip::Special, 0,
     R::Always, true, true},
    {TCommand::ToolEditText, "ToolEditText1", "", "Edit text in objects", "", 1,
     TImageStrip::Special, 1, R::Always, true},
    {TCommand::ToolText, "ToolText1", "", "Create text block", "", 10, TImageStrip::Special, 2,
     R::Always, true},
    {TCommand::ToolRectangle, "ToolRectangle1", "", "Create rectangle", "", 5, TImageStrip::Special,
     3, R::Always, true},
    {TCommand::ToolEllipse, "ToolEllipse1", "", "Create ellipse", "", 6, TImageStrip::Special, 4,
     R::Always, true},
    {TCommand::ToolRhomb, "ToolRhomb1", "", "Create rhomb", "", 7, TImageStrip::Special, 5,
     R::Always, true},
    {TCommand::ToolParallelogram, "ToolParallelogram1", "", "Create parallelogram", "", 8,
     TImageStrip::Special, 6, R::Always, true},
    {TCommand::ToolDocument, "ToolDocument1", "", "Create document", "", 12, TImageStrip::Special,
     15, R::Always, true},
    {TCommand::ToolComment, "ToolComment1", "", "Create comment", "", 11, TImageStrip::Special, 14,
     R::Always, true},
    {TCommand::ToolProcess, "ToolProcess1", "", "Create predefined process", "", 13,
     TImageStrip::Special, 16, R::Always, true},
    {TCommand::ToolPage, "ToolPage1", "", "Create page divider.", "", 14, TImageStrip::Special, 17,
     R::Always, true},
    {TCommand::ToolLink, "ToolLink1", "", "Create link", "", 3, TImageStrip::Special, 7, R::Always,
     true},
    {TCommand::ToolLinkPoints, "ToolLinkPoints1", "", "Add delete point into link", "", 2,
     TImageStrip::Special, 11, R::Always, true},
    {TCommand::ToolMoveDocument, "ToolMoveDocument1", "", "Move document.", "", 4,
     TImageStrip::Special, 13, R::Always, true},
    // Align palette
    {TCommand::AlignLefts, "AlignLefts1", "", "Align left edges", "", 0, TImageStrip::Align, 0,
     R::Always},
    {TCommand::AlignHCenters, "AlignHCenters1", "", "Align horizontal centers", "", 0,
     TImageStrip::Align, 1, R::Always},
    {TCommand::AlignRights, "AlignRights1", "", "Align right edges", "", 0, TImageStrip::Align, 2,
     R::Always},
    {TCommand::SpaceHorizontally, "SpaceHorizontally1", "", "Space equally, horizontally", "", 0,
     TImageStrip::Align, 3, R::Always},
    {TCommand::AlignTops, "AlignTops1", "", "Align tops", "", 0, TImageStrip::Align, 4, R::Always},
    {TCommand::AlignVCenters, "AlignVCenters1", "", "Align vertical centers", "", 0,
     TImageStrip::Align, 5, R::Always},
    {TCommand::AlignBottoms, "AlignBottoms1", "", "Align bottoms", "", 0, TImageStrip::Align, 6,
     R::Always},
    {TCommand::SpaceVertically, "SpaceVertically1", "", "Space equally, vertically", "", 0,
     TImageStrip::Align, 7, R::Always},
};
static_assert(std::size(kCommands) == CommandCount, "one row per command");

const TMenuRow kMenus[] = {
    {TMenuId::File, "File1", "&File", "File related commands"},
    {TMenuId::Edit, "Edit1", "&Edit", "Delete,cut,copy,paste and duplicate selection."},
    {TMenuId::View, "View1", "View", ""},
    {TMenuId::Window, "Window1", "&Window", "Window related commands such as Tile and Cascade"},
    {TMenuId::Help, "Help1", "&?", ""},
    {TMenuId::Import, "Import1", "Import", "Import files. Use import plugins"},
    {TMenuId::Export, "Export1", "&Export", "Export current document to ..."},
    {TMenuId::Scale, "Scale1", "Scale", "Change scale in current document"},
    {TMenuId::Toolbars, "Toolbars1", "Toolbars", "Show/Unshow toolbars"},
    // The pop-up's caption is not shown; assistive technology reads it.
    {TMenuId::Context, "PopupMenu1", "Document menu", ""},
    {TMenuId::ReplaceTo, "Replaceto1", "Replace to", "Replase selected object to ...."},
    {TMenuId::ReplaceBlock, "ReplaceBlock1", "Block", "Replase selected object to block"},
    {TMenuId::ReplaceTemplates, "ReplaceTemplates1", "Templates",
     "Replase selected object to templates"},
    {TMenuId::Insert, "Insert1", "Insert ", ""},
    {TMenuId::InsertBlock, "InsertBlock1", "Block ", ""},
    {TMenuId::InsertTemplates, "InsertTemplates1", "Templates", "Insert templates"},
};
static_assert(std::size(kMenus) == MenuCount, "one row per menu");

const TToolbarRow kToolbars[] = {
    {TToolbarId::Standard, "StandardToolbar", "Standard toolbar", "Standart toolbar.",
     Qt::TopToolBarArea, false},
    {TToolbarId::Special, "SpecialToolbar", "Special tollbar", "Special toolbar",
     Qt::BottomToolBarArea, false},
    {TToolbarId::Align, "AlignToolbar", "AlignBar", "", Qt::LeftToolBarArea, true},
};
static_assert(std::size(kToolbars) == ToolbarCount, "one row per toolbar");

QString Text(const char* s) { return QString::fromUtf8(s); }
}  // namespace

std::span<const TCommandRow> CommandTable() { return kCommands; }
std::span<const TMenuRow> MenuTable() { return kMenus; }
std::span<const TToolbarRow> ToolbarTable() { return kToolbars; }

bool RuleHolds(TEnableRule rule, const TCommandContext& c) {
  switch (rule) {
    case R::Always:
      return true;
    case R::Never:
      return false;
    case R::AnyDocument:
      return c.Documents > 0;
    case R::ActiveDocument:
      return c.Active;
    case R::CanUndo:
      return c.Active && c.CanUndo;
    case R::CanRedo:
      return c.Active && c.CanRedo;
    case R::Clipboard:
      return c.Active && c.ClipboardObjects > 0;
    case R::BlockSelected:
      return c.Active && c.SelectedBlocks > 0;
    case R::ObjectSelected:
      return c.Active && c.SelectedObjects > 0;
    case R::SeveralBlocks:
      return c.Active && c.SelectedBlocks > 1;
    case R::OneBlock:
      return c.Active && c.SelectedBlocks == 1;
    case R::OneObject:
      return c.Active && c.SelectedObjects == 1;
  }
  return false;
}

QString AccessibleCaption(const char* caption, const char* hint) {
  QString name = Text(caption && *caption ? caption : hint);
  // "&&" stands for a literal "&"; a single "&" only marks the next letter.
  name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  name.remove(QLatin1Char('&'));
  name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return name;
}

TActionRegistry::TActionRegistry(QWidget* owner) : QObject(owner) {
  for (const TCommandRow& row : kCommands) {
    // An entry without a caption of its own (a toolbar button) shows its hint.
    auto* a = new QAction(Text(*row.Caption ? row.Caption : row.Hint), owner);
    a->setObjectName(Text(row.Name));
    a->setStatusTip(Text(row.Hint));
    if (*row.Hint) a->setToolTip(Text(row.Hint));
    if (*row.Shortcut) a->setShortcut(QKeySequence(Text(row.Shortcut), QKeySequence::PortableText));
    a->setData(row.Tag);
    a->setCheckable(row.Checkable);
    a->setChecked(row.Checked);
    actions_[size_t(row.Id)] = a;
  }
}

const TCommandRow& TActionRegistry::Row(TCommand id) const { return kCommands[size_t(id)]; }

TCommand TActionRegistry::CommandOf(const QAction* a) const {
  for (size_t i = 0; i < CommandCount; ++i)
    if (actions_[i] == a) return TCommand(i);
  return TCommand::Count;
}

QMenu* TActionRegistry::CreateMenu(TMenuId id, QMenuBar* bar) {
  QMenu*& menu = menus_[size_t(id)];
  if (menu) return menu;
  const TMenuRow& row = kMenus[size_t(id)];
  menu = bar->addMenu(Text(row.Caption));
  Describe(menu, row);
  return menu;
}

QMenu* TActionRegistry::CreateSubmenu(TMenuId id, QMenu* parent) {
  QMenu*& menu = menus_[size_t(id)];
  if (menu) return menu;
  menu = parent->addMenu(Text(kMenus[size_t(id)].Caption));
  Describe(menu, kMenus[size_t(id)]);
  return menu;
}

QMenu* TActionRegistry::CreatePopup(TMenuId id, QWidget* parent) {
  QMenu*& menu = menus_[size_t(id)];
  if (menu) return menu;
  menu = new QMenu(Text(kMenus[size_t(id)].Caption), parent);
  Describe(menu, kMenus[size_t(id)]);
  return menu;
}

void TActionRegistry::Describe(QMenu* menu, const TMenuRow& row) {
  menu->setObjectName(Text(row.Name));
  menu->menuAction()->setObjectName(Text(row.Name) + QStringLiteral("Item"));
  menu->setStatusTip(Text(row.Hint));
  menu->menuAction()->setStatusTip(Text(row.Hint));
  menu->setAccessibleName(AccessibleCaption(row.Caption, row.Hint));
}

QToolBar* TActionRegistry::CreateToolbar(TToolbarId id, QMainWindow* window) {
  QToolBar*& bar = toolbars_[size_t(id)];
  if (bar) return bar;
  const TToolbarRow& row = kToolbars[size_t(id)];
  bar = new QToolBar(Text(row.Caption), window);
  bar->setObjectName(Text(row.Name));
  bar->setIconSize(QSize(16, 16));
  bar->setToolTip(Text(row.Hint));
  window->addToolBar(row.Area, bar);
  bar->setHidden(row.Hidden);
  return bar;
}

void TActionRegistry::PlaceOnToolbar(QToolBar* bar, TCommand id) const {
  QAction* a = Action(id);
  bar->addAction(a);
  if (QWidget* button = bar->widgetForAction(a)) {
    const TCommandRow& row = Row(id);
    button->setObjectName(Text(row.Name) + QStringLiteral("Button"));
    button->setAccessibleName(AccessibleCaption(row.Caption, row.Hint));
    button->setAccessibleDescription(Text(row.Hint));
  }
}

void TActionRegistry::EnableByRule(const TCommandContext& c) const {
  for (const TCommandRow& row : kCommands) Action(row.Id)->setEnabled(RuleHolds(row.Rule, c));
}

void TActionRegistry::SetImages(TImageStrip strip, const QPixmap& cells) const {
  for (const TCommandRow& row : kCommands) {
    if (row.Strip != strip || row.Image < 0 || (row.Image + 1) * 16 > cells.width()) continue;
    Action(row.Id)->setIcon(QIcon(cells.copy(row.Image * 16, 0, 16, 16)));
  }
}
