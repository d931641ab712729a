#pragma once
// The template commands of the document context menu: the "Templates"
// submenus under "Replace to" and "Insert " filled at start from the
// "template" folder beside the program, and the two commands their entries
// run on the active document.

#include <QObject>
#include <QString>

#include "app/templatelist.h"

class QMenu;
class TMainForm;

// The message when the chosen template holds nothing to replace a block with.
inline const char* const TemplateWithoutBlocksText =
    "The template has no blocks to put in place of the selected block.";

class TTemplateCommands : public QObject {
  Q_OBJECT

 public:
  // Fills replaceMenu and insertMenu (not owned; emptied again when this
  // object goes, as their entries call back into it).
  TTemplateCommands(TMainForm& form, QMenu* replaceMenu, QMenu* insertMenu);
  ~TTemplateCommands() override;

  // Finds the templates under programDir/template and fills both submenus;
  // hides them when there is none.
  void Load(const QString& programDir);

  // "Replace to" > "Templates" and "Insert " > "Templates".
  QMenu* ReplaceMenu() const { return replaceMenu_; }
  QMenu* InsertMenu() const { return insertMenu_; }
  const TTemplateList& List() const { return list_; }

  // Inserts template i into the active document where the context menu was
  // opened (its DragStart); the copies become the selection.
  void InsertTemplate(int i);
  // Replaces the one selected block of the active document by template i,
  // making room for it and moving the block's links onto it. A template
  // without blocks is refused with a message and nothing changes.
  void ReplaceWithTemplate(int i);

 private:
  TMainForm& form_;
  TTemplateList list_;
  QMenu* replaceMenu_;
  QMenu* insertMenu_;
};
