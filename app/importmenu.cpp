#include "app/importmenu.h"

#include <dlfcn.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QtGlobal>

#include "app/pluginlist.h"

std::unique_ptr<TPlugInList> LoadImportPlugIns(const QString& programDir, QMenu* importMenu) {
  auto list = std::make_unique<TPlugInList>();
  // The program's own module: plug-ins find the exported LoadFile in it.
  static void* const programHandle = dlopen(nullptr, RTLD_NOW);
  const QString folder = QDir(programDir).absoluteFilePath(QStringLiteral("plugin"));
  std::vector<std::string> log;
  list->Load(QFile::encodeName(folder).toStdString(), programHandle, log);
  for (const std::string& line : log) qWarning("%s", line.c_str());
  if (importMenu) FillImportMenu(importMenu, *list);
  return list;
}

void FillImportMenu(QMenu* importMenu, TPlugInList& list) {
  importMenu->menuAction()->setEnabled(true);
  for (int i = 0; i < list.Count(); ++i) {
    const TPlugIn& p = list.Items()[size_t(i)];
    QAction* a = importMenu->addAction(QString::fromLocal8Bit(p.Name));
    const QString hint = QString::fromLocal8Bit(p.Hint);
    a->setStatusTip(hint);
    a->setToolTip(hint);
    a->setData(i);
    a->setObjectName(QStringLiteral("ImportPlugIn%1").arg(i));
    QObject::connect(a, &QAction::triggered, importMenu, [&list, i] { list.Import(i); });
  }
}
