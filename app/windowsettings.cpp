#include "app/windowsettings.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <algorithm>
#include <map>
#include <vector>

#include "app/actions.h"
#include "app/listingpanel.h"
#include "app/mainform.h"
#include "app/windowplacement.h"

namespace {
Qt::ToolBarArea AreaOfDock(int dock) {
  switch (dock) {
    case 1:
      return Qt::TopToolBarArea;
    case 2:
      return Qt::BottomToolBarArea;
    case 3:
      return Qt::LeftToolBarArea;
    case 4:
      return Qt::RightToolBarArea;
    default:
      return Qt::NoToolBarArea;
  }
}

int DockOfArea(Qt::ToolBarArea a) {
  switch (a) {
    case Qt::TopToolBarArea:
      return 1;
    case Qt::BottomToolBarArea:
      return 2;
    case Qt::LeftToolBarArea:
      return 3;
    case Qt::RightToolBarArea:
      return 4;
    default:
      return 0;
  }
}

bool Horizontal(Qt::ToolBarArea a) { return a == Qt::TopToolBarArea || a == Qt::BottomToolBarArea; }

QColor ColorFromStore(unsigned v) {
  return QColor(int(v & 255u), int((v >> 8) & 255u), int((v >> 16) & 255u));
}

using TToolbarSet = std::array<QToolBar*, 4>;  // Standard, Special, Align, User blocks

void RestoreToolbars(QMainWindow& window, const TToolbarSet& bars,
                     const std::array<TToolbarSettings, 4>& stored) {
  for (size_t i = 0; i < 4; ++i)
    if (stored[i].Visible) bars[i]->setVisible(*stored[i].Visible);
  // Placement: toolbars with a usable dock are put there, sorted by row and
  // position; the others stay where the window layout puts them.
  struct Place {
    QToolBar* tb;
    int row, pos;
  };
  std::map<int, std::vector<Place>> docked;
  for (size_t i = 0; i < 4; ++i) {
    const TToolbarSettings& t = stored[i];
    QToolBar* tb = bars[i];
    if (!t.Dock) continue;
    const QRect screen =
        (window.screen() ? window.screen() : QGuiApplication::primaryScreen())->virtualGeometry();
    if (*t.Dock == 0) {
      const QPoint at(t.Pos.value_or(0), t.Row.value_or(0));
      const QScreen* on = QGuiApplication::screenAt(at);
      if (!t.Row || !t.Pos || !on) continue;  // off-screen: ignored
      // Floating as the main window's own state restore does it: the toolbar
      // keeps its place in the layout (empty while it is a window) so it can
      // be docked again by dragging.
      tb->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
      // Starting on a screen is not enough: the whole toolbar stays on it.
      tb->move(FitOnScreens(QRect(at, tb->sizeHint()), {on->availableGeometry()}).topLeft());
      tb->setVisible(t.Visible.value_or(true));
      continue;
    }
    const int row = t.Row.value_or(0), pos = t.Pos.value_or(0);
    const int extent = Horizontal(AreaOfDock(*t.Dock)) ? screen.width() : screen.height();
    if (row < 0 || row > 16 || pos < 0 || pos > extent) continue;  // off-screen: ignored
    docked[*t.Dock].push_back({tb, row, pos});
  }
  for (auto& [dock, places] : docked) {
    // Toolbars placed by the layout keep their area: add the stored ones after
    // them, row by row.
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
      return a.row != b.row ? a.row < b.row : a.pos < b.pos;
    });
    int lastRow = -1;
    for (const Place& p : places) {
      const bool hidden = p.tb->isHidden();
      window.removeToolBar(p.tb);
      if (lastRow >= 0 && p.row != lastRow) window.addToolBarBreak(AreaOfDock(dock));
      window.addToolBar(AreaOfDock(dock), p.tb);
      p.tb->setHidden(hidden);
      lastRow = p.row;
    }
  }
}

std::array<TToolbarSettings, 4> ToolbarPlaces(const QMainWindow& window, const TToolbarSet& bars) {
  std::array<TToolbarSettings, 4> places;
  for (size_t i = 0; i < 4; ++i) {
    QToolBar* tb = bars[i];
    TToolbarSettings& t = places[i];
    t.Visible = !tb->isHidden();
    if (tb->isWindow()) {
      t.Dock = 0;
      t.Row = tb->y();
      t.Pos = tb->x();
      continue;
    }
    const Qt::ToolBarArea area = window.toolBarArea(tb);
    t.Dock = DockOfArea(area);
    // The row is the rank of the toolbar's line among the lines of its dock.
    auto line = [area](const QToolBar* b) { return Horizontal(area) ? b->y() : b->x(); };
    std::vector<int> lines;
    for (QToolBar* other : bars)
      if (!other->isWindow() && window.toolBarArea(other) == area && !other->isHidden())
        lines.push_back(line(other));
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    t.Row = int(std::lower_bound(lines.begin(), lines.end(), line(tb)) - lines.begin());
    t.Pos = Horizontal(area) ? tb->x() : tb->y();
  }
  return places;
}
}  // namespace

void ApplyWindowSettings(TMainForm& form, const TSettingsValues& v) {
  TEditorState& state = form.AppState;
  if (v.Path) state.LastDirectory = *v.Path;
  if (v.FullWind) {
    if (*v.FullWind) {
      form.setWindowState(form.windowState() | Qt::WindowMaximized);
    } else {
      QRect g = form.geometry();
      if (v.TWind) g.moveTop(*v.TWind);
      if (v.LWind) g.moveLeft(*v.LWind);
      if (v.HWind) g.setHeight(*v.HWind);
      if (v.WWind) g.setWidth(*v.WWind);
      // A screen that was there when the settings were written may be gone.
      QList<QRect> screens;
      for (const QScreen* s : QGuiApplication::screens()) screens.append(s->availableGeometry());
      g = FitOnScreens(g, screens);
      form.move(g.topLeft());
      form.resize(g.size());
    }
  }
  RestoreToolbars(form, form.Toolbars(), v.Toolbars);
  if (v.BackGround) state.BackgroundColor = ColorFromStore(*v.BackGround);
  if (v.ListEnable) {
    form.Actions->Action(TCommand::Listing)->setChecked(*v.ListEnable);
    form.ListingPanel->setVisible(*v.ListEnable);
  }
  if (v.GridEnable) form.Actions->Action(TCommand::Grid)->setChecked(*v.GridEnable);
  state.RecentFiles.append(v.Files);
  state.StandardBlockSizes = v.StandSize;
}

TSettingsValues CaptureWindowSettings(const TMainForm& form) {
  const TEditorState& state = form.AppState;
  TSettingsValues v;
  v.Path = state.LastDirectory;
  v.FullWind = form.isMaximized();
  v.TWind = form.y();
  v.LWind = form.x();
  v.HWind = form.height();
  v.WWind = form.width();
  v.Toolbars = ToolbarPlaces(form, form.Toolbars());
  const QColor bg = state.BackgroundColor;
  v.BackGround = ColorToStore(unsigned(bg.red()), unsigned(bg.green()), unsigned(bg.blue()));
  v.ListEnable = form.Actions->Action(TCommand::Listing)->isChecked();
  v.GridEnable = form.Actions->Action(TCommand::Grid)->isChecked();
  v.Files = state.RecentFiles.mid(0, MaxRecentFiles);
  v.StandSize = state.StandardBlockSizes;
  return v;
}
