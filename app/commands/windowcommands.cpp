#include "app/commands/windowcommands.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/actions.h"
#include "app/mainform.h"
#include "editor/childd.h"

TWindowCommands::TWindowCommands(TMainForm& form, TActionRegistry& actions)
    : form_(form), actions_(actions) {
  QObject::connect(actions.Action(TCommand::Cascade), &QAction::triggered, &form,
                   [this] { Cascade1Click(); });
  QObject::connect(actions.Action(TCommand::Tile), &QAction::triggered, &form,
                   [this] { Tile1Click(); });
  QObject::connect(actions.Action(TCommand::ArrangeIcons), &QAction::triggered, &form,
                   [this] { ArrangeIcons1Click(); });
  QObject::connect(actions.Action(TCommand::MinimizeAll), &QAction::triggered, &form,
                   [this] { MinimizeAll1Click(); });
  QObject::connect(actions.Menu(TMenuId::Window), &QMenu::aboutToShow, &form,
                   [this] { WindowItemClick(); });
}

void TWindowCommands::Cascade1Click() { form_.MdiArea->cascadeSubWindows(); }

void TWindowCommands::Tile1Click() { form_.MdiArea->tileSubWindows(); }

void TWindowCommands::ArrangeIcons1Click() {
  QMdiArea* area = form_.MdiArea;
  int x = 0;
  for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    const QSize size = w->size();
    if (x > 0 && x + size.width() > area->viewport()->width()) x = 0;
    w->move(x, area->viewport()->height() - size.height());
    x += size.width();
  }
}

void TWindowCommands::MinimizeAll1Click() {
  const QList<QMdiSubWindow*> windows = form_.MdiArea->subWindowList(QMdiArea::CreationOrder);
  for (qsizetype i = windows.size() - 1; i >= 0; --i) windows[i]->showMinimized();
}

void TWindowCommands::WindowItemClick() {
  QMenu* menu = actions_.Menu(TMenuId::Window);
  // Everything after the four commands is the previous list.
  const QList<QAction*> items = menu->actions();
  const qsizetype last = items.indexOf(actions_.Action(TCommand::MinimizeAll));
  for (qsizetype i = last + 1; i < items.size(); ++i) {
    menu->removeAction(items[i]);
    items[i]->deleteLater();
  }
  const QList<QMdiSubWindow*> windows = form_.MdiArea->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  menu->addSeparator();
  QMdiSubWindow* active = form_.MdiArea->currentSubWindow();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* w = windows[i];
    QAction* a =
        menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->widget()->windowTitle()));
    a->setCheckable(true);
    a->setChecked(w == active);
    QObject::connect(a, &QAction::triggered, &form_, [this, w] {
      // The window may have closed while the menu was open.
      if (!form_.MdiArea->subWindowList().contains(w)) return;
      if (w->isMinimized()) w->showNormal();
      form_.MdiArea->setActiveSubWindow(w);
    });
  }
}
