#include "app/templatemenus.h"

#include <QAction>
#include <QMenu>

#include "app/templatelist.h"

namespace {

// Index of the submenu entry of node captioned exactly `caption`, or -1. A
// template entry of the same caption is no folder and does not count.
int FolderIndex(const QMenu* node, const QString& caption) {
  const QList<QAction*> entries = node->actions();
  for (int k = 0; k < entries.size(); ++k)
    if (entries[k]->menu() && entries[k]->text() == caption) return k;
  return -1;
}

QMenu* AddFolder(QMenu* node, const QString& caption) {
  QMenu* sub = node->addMenu(caption);
  sub->menuAction()->setText(caption);
  return sub;
}

QAction* AddEntry(QMenu* node, const QString& caption, int tag,
                  const std::function<void(int)>& run) {
  QAction* a = node->addAction(caption);
  a->setData(tag);
  QObject::connect(a, &QAction::triggered, node, [run, tag] { run(tag); });
  return a;
}

}  // namespace

void BuildTemplateMenus(const TTemplateList& list, QMenu* replaceRoot, QMenu* insertRoot,
                        const std::function<void(int)>& onReplace,
                        const std::function<void(int)>& onInsert) {
  for (int i = 0; i < list.Count(); ++i) {
    const TTemplateList::TEntry& e = list.Items()[size_t(i)];
    QMenu* first = replaceRoot;
    QMenu* second = insertRoot;
    for (const std::string& folder : e.Folders) {
      const QString caption = QString::fromLocal8Bit(folder);
      const int k = FolderIndex(first, caption);
      QMenu* same = k >= 0 && k < second->actions().size() ? second->actions()[k]->menu() : nullptr;
      if (k >= 0 && same) {
        first = first->actions()[k]->menu();
        second = same;
      } else {
        first = AddFolder(first, caption);
        second = AddFolder(second, caption);
      }
    }
    const QString name = QString::fromLocal8Bit(e.Template.Name);
    AddEntry(first, name, i, onReplace);
    AddEntry(second, name, i, onInsert);
  }
  replaceRoot->menuAction()->setVisible(!list.Empty());
  insertRoot->menuAction()->setVisible(!list.Empty());
}
