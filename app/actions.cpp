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
    {TCommand::Open, "Open1", "&Open", "Open an existing file", "Ctrl+O", 0, TImageStrip::Standart,
     1},
    {TCommand::Exit, "Exit1", "E&xit", "Exit the application", "", 99},
    {TCommand::FullScreen, "Fullscreen1", "Full-screen preview", "Full-screen preview", "", 0,
     TImageStrip::Standart, 10, R::ActiveDocument},
    {TCommand::Grid, "Grid1", "Grid", "Show/Unshow grid", "", 0, TImageStrip::Standart, 12,
     R::Always, true},
    {TCommand::Listing, "Listing1", "Listing", "Show/Unshow list of object", "", 0,
     TImageStrip::Standart, 7, R::Always, true},
    {TCommand::Contents, "Contents1", "&Contents", "View help contents", ""},
};
static_assert(std::size(kCommands) == CommandCount, "one row per command");

const TMenuRow kMenus[] = {
    {TMenuId::File, "File1", "&File", "File related commands"},
    {TMenuId::View, "View1", "View", ""},
    {TMenuId::Help, "Help1", "&?", ""},
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
  menu->setObjectName(Text(row.Name));
  menu->menuAction()->setObjectName(Text(row.Name) + QStringLiteral("Item"));
  menu->setStatusTip(Text(row.Hint));
  menu->menuAction()->setStatusTip(Text(row.Hint));
  menu->setAccessibleName(AccessibleCaption(row.Caption, row.Hint));
  return menu;
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
