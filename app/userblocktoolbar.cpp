#include "app/userblocktoolbar.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileInfo>

#include "app/icons.h"
#include "editor/diagramtext.h"
#include "editor/editorstate.h"
#include "model/userblock.h"

TUserBlockToolbar::TUserBlockToolbar(TEditorState& state, QList<QIcon>& listingImages,
                                     QActionGroup* toolGroup, QWidget* parent)
    : QToolBar(QStringLiteral("UserBlocks"), parent),
      state_(state),
      listingImages_(listingImages),
      toolGroup_(toolGroup) {
  setObjectName(QStringLiteral("UserBlocksToolbar"));
  setIconSize(QSize(16, 16));
}

void TUserBlockToolbar::LoadUserBlocks(const QString& file) {
  hide();
  state_.UserBlocks.Clear();
  if (QFileInfo(file).isFile())
    state_.UserBlocks.LoadFromFile(QFile::encodeName(file).toStdString());
  while (listingImages_.size() < bkUserFirst) listingImages_.append(QIcon());
  RebuildUserBlockToolbar();
}

void TUserBlockToolbar::RebuildUserBlockToolbar() {
  for (QAction* a : actions()) {
    removeAction(a);
    toolGroup_->removeAction(a);
    delete a;
  }
  while (listingImages_.size() > bkUserFirst) listingImages_.removeLast();
  ToolbarImages.clear();
  for (int n = 0; n < state_.UserBlocks.Count(); ++n)
    AddUserBlockButton(*state_.UserBlocks.GetBlock(n), n);
}

void TUserBlockToolbar::AddUserBlockButton(const TUserBlock& block, int index) {
  const QIcon icon = UserBlockIcon(block);
  listingImages_.append(icon);
  ToolbarImages.append(icon);
  const QString name = DiagramToQString(block.Name);
  // A block without a name is still announced, by its key.
  const QString spoken = name.isEmpty() ? QString::fromStdString(block.KeyText()) : name;
  auto* a = new QAction(icon, spoken, this);
  a->setObjectName(QStringLiteral("UserBlock%1").arg(index));
  a->setToolTip(name);
  a->setStatusTip(name);
  a->setCheckable(true);
  a->setData(index + 20);
  toolGroup_->addAction(a);
  addAction(a);
  if (QWidget* button = widgetForAction(a)) {
    button->setAccessibleName(spoken);
    button->setAccessibleDescription(name);
  }
  connect(a, &QAction::triggered, this, [this, index] { state_.ChooseToolByTag(index + 20); });
}
