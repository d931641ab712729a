#pragma once
// The settings store: "DiagramEditor" in the per-user QSettings (native
// format), with the groups "StandSize" and "Files". Reading checks every value:
// one of the wrong type or out of range counts as absent, so the built-in
// default stays.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "editor/editorstate.h"

class QSettings;

struct TToolbarSettings {
  std::optional<bool> Visible;
  std::optional<int> Dock;  // 0 floating, 1 top, 2 bottom, 3 left, 4 right
  std::optional<int> Row;   // docked: row in the dock; floating: top
  std::optional<int> Pos;   // docked: position in the row; floating: left
};

struct TSettingsValues {
  std::optional<QString> Path;
  std::optional<bool> FullWind;
  std::optional<int> TWind, LWind, HWind, WWind;
  // Standard, Special, Align palette, User blocks, by the prefixes below.
  std::array<TToolbarSettings, 4> Toolbars;
  std::optional<unsigned> BackGround;  // 0x00BBGGRR
  std::optional<bool> ListEnable;
  std::optional<bool> GridEnable;
  QStringList Files;  // at most five
  // Width and height of a new block of each standard kind.
  TBlockSizes StandSize;

  TSettingsValues();
};

// Stored value names of the four toolbars, in the order of Toolbars.
struct TToolbarValueNames {
  const char* Vis;
  const char* Dock;
  const char* Row;
  const char* Pos;
};
extern const TToolbarValueNames ToolbarValueNames[4];

// The organisation name under which QSettings keeps the program's store.
QString SettingsOrganisation();

TSettingsValues ReadSettingsStore(QSettings& s);
void WriteSettingsStore(QSettings& s, const TSettingsValues& v);

// Colours as the store keeps them (red in the low byte).
unsigned ColorToStore(unsigned r, unsigned g, unsigned b);
