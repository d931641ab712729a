#pragma once
// TUserBlockToolbar: the "UserBlocks" toolbar, one tool button per user block
// of the shared list, in the exclusive group of the tool buttons. It keeps the
// listing panel's icons of the user blocks (image 15 + n) in step with the
// buttons.

#include <QIcon>
#include <QList>
#include <QToolBar>

class QActionGroup;
class TUserBlock;
struct TEditorState;

class TUserBlockToolbar : public QToolBar {
  Q_OBJECT

 public:
  TUserBlockToolbar(TEditorState& state, QList<QIcon>& listingImages, QActionGroup* toolGroup,
                    QWidget* parent = nullptr);

  QList<QIcon> ToolbarImages;

  // Hides the toolbar, empties the user block list and loads it from file
  // when the file exists; leaves room for the five unused kind icons.
  void LoadUserBlocks(const QString& file);
  // Removes every button and the user block icons, then adds one button per
  // user block in list order.
  void RebuildUserBlockToolbar();
  void AddUserBlockButton(const TUserBlock& block, int index);

 private:
  TEditorState& state_;
  QList<QIcon>& listingImages_;
  QActionGroup* toolGroup_;
};
