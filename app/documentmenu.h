#pragma once
// The context menu of every document window: arrange commands, the clipboard,
// "Replace to" and "Insert " with their block and template submenus, and
// "Properties". Its entries are actions of the registry; when it opens, the
// in-place editor of the active document is hidden and the entries are
// enabled by the selection of that document. The commands connect to the
// actions themselves (arrange commands, the "&Edit" commands for the clipboard
// entries, the property dialogs for TCommand::Properties).

#include <QObject>
#include <QPoint>

class QMenu;
class TActionRegistry;
class TChildD;
class TMainForm;

class TDocumentMenu : public QObject {
  Q_OBJECT

 public:
  TDocumentMenu(TMainForm& form, TActionRegistry& actions);

  QMenu* Menu() const { return menu_; }
  // The two "Templates" submenus ("Replace to" and "Insert "), which the
  // template host fills; an empty one stays disabled.
  QMenu* ReplaceTemplates() const { return replaceTemplates_; }
  QMenu* InsertTemplates() const { return insertTemplates_; }

  // Opens the menu at the global point for doc (made the active window).
  void Popup(TChildD* doc, QPoint global);
  // What opening does before the menu shows: the active document's editor
  // is hidden and every entry follows its rule.
  void UpdateItems();

 private:
  TMainForm& form_;
  TActionRegistry& actions_;
  QMenu* menu_ = nullptr;
  QMenu* replaceTo_ = nullptr;
  QMenu* replaceTemplates_ = nullptr;
  QMenu* insertTemplates_ = nullptr;
};
